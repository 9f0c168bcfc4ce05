#pragma once

// Filling a text of the texts table. Such texts are data, never printf formats: the number
// replaces the text's first "%d" and every other character stays as it is.

#include <string>

// The text with its first "%d" replaced by the number, cut to at most limit characters.
std::wstring formatWithNumber(const std::wstring& text, int number, size_t limit = 200);

// The text with its first "%d" replaced by the number and its first "%ls" by the word (either
// may be missing, in any order), cut to at most limit characters.
std::wstring formatWithNumberAndText(const std::wstring& text, int number, const std::wstring& word,
                                     size_t limit = 200);

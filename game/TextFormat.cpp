#include "game/TextFormat.h"

std::wstring formatWithNumber(const std::wstring& text, int number, size_t limit)
{
    std::wstring result = text;
    size_t at = result.find(L"%d");
    if (at != std::wstring::npos)
        result.replace(at, 2, std::to_wstring(number));
    if (result.size() > limit)
        result.resize(limit);
    return result;
}

std::wstring formatWithNumberAndText(const std::wstring& text, int number, const std::wstring& word, size_t limit)
{
    std::wstring result = text;
    const size_t numberAt = result.find(L"%d");
    const size_t wordAt = result.find(L"%ls");
    // The later place first, so the earlier one keeps its position.
    const bool wordFirst = wordAt != std::wstring::npos && (numberAt == std::wstring::npos || wordAt > numberAt);
    if (wordFirst)
        result.replace(wordAt, 3, word);
    if (numberAt != std::wstring::npos)
        result.replace(numberAt, 2, std::to_wstring(number));
    if (!wordFirst && wordAt != std::wstring::npos)
        result.replace(wordAt, 3, word);
    if (result.size() > limit)
        result.resize(limit);
    return result;
}

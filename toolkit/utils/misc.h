#pragma once

// Text and file helpers every reader and writer of the game's text files stands on.
// Wide strings decoded from UTF-8 hold UTF-16 code units (a character above U+FFFF is
// its surrogate pair). Narrow strings are bytes; paths are narrow.
//
// Index: line files - case folding and conversion - splitting - directories - display modes

#include <string>
#include <utility>
#include <vector>

// ---- line files

// The lines of a UTF-8 file, split at LF; a BOM and one CR before each LF are dropped, a final
// LF gives no empty last line. A missing or empty file gives no lines, silently. Invalid UTF-8
// is reported on standard error with the file's name and decoded as U+FFFD.
std::vector<std::wstring> loadDatFile(const std::string& path);
// loadDatFile for files the game cannot run without: no lines stops the program with
// "no dat file loaded!" after printing the path.
std::vector<std::wstring> loadDatFileRequired(const std::string& path);
// One line's UTF-8 bytes as UTF-16 units, one trailing CR removed, the first `drop` units
// dropped. Invalid bytes become U+FFFD.
std::wstring utf8ToWide(const std::string& bytes, size_t drop = 0);
// A screen layout file: byte lines cut at the first CR or LF, empty ones skipped, each byte
// widened (no UTF-8 decoding). A missing file stops the program.
std::vector<std::wstring> readTextLines(const std::string& path);
// Writes a BOM and the lines as UTF-8, LF between lines and none after the last. The file is
// written beside the target and renamed over it, so a failure never leaves a half-written file.
// On failure prints "Could not open <path>" to standard output and returns false.
bool writeUtf8Lines(const std::string& path, const std::vector<std::wstring>& lines);

// ---- case folding and narrow/wide conversion

// Copies with exactly A-Z folded to a-z; every other character is unchanged.
std::wstring toLowerWide(const std::wstring& text);
std::string toLowerString(const std::string& text);
// Each byte taken as a signed 8-bit value (0xE9 gives -23); wideToString keeps the low 8 bits,
// so a narrow string survives the round trip.
std::wstring stringToWide(const std::string& text);
std::string wideToString(const std::wstring& text);

// ---- splitting

// Maximal runs of characters not in delimiters; no empty tokens. The flag must be 0 (the only
// form callers use) and changes nothing.
std::vector<std::wstring> splitWide(const std::wstring& text, const std::wstring& delimiters, int flag = 0);
std::vector<std::string> splitNarrow(const std::string& text, const std::string& delimiters, int flag = 0);

// ---- directories

// Entry names of folder (given with its trailing "/") matching the wildcard pattern, in natural
// order (digit runs compared as numbers, so "profile2.txt" comes before "profile10.txt").
// A missing folder gives no names.
std::vector<std::wstring> listDirectory(const std::string& folder, const std::string& pattern);
// Natural order of two names: digit runs by value, other characters without regard to case.
bool naturalLess(const std::wstring& a, const std::wstring& b);

// ---- display modes

typedef std::vector<std::pair<int, int>> DisplayModeList;

// One mode as the display reports it.
struct DisplayModeInfo {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    bool safe = true;
    bool stretched = false;
};

// Full-screen modes of the current depth that the display shows unscaled, without duplicates
// and without those below 800x600 in both directions, and the index of the current mode.
// When the current mode is not among them it is added and the list sorted by (width, height).
DisplayModeList& filterDisplayModes(const std::vector<DisplayModeInfo>& available,
                                    const DisplayModeInfo& currentMode, DisplayModeList& modes, int& current);
// filterDisplayModes on the display's modes from SDL, in ascending order; initialises SDL's
// video part when it is not yet up.
DisplayModeList& listDisplayModes(DisplayModeList& modes, int& current);

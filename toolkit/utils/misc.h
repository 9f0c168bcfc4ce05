#pragma once

// Text and file helpers every reader and writer of the game's text files stands on.
// Wide strings decoded from UTF-8 hold UTF-16 code units (a character above U+FFFF is
// its surrogate pair). Narrow strings are bytes; paths are narrow.
//
// Index: vectors - line files - case folding and conversion - splitting - directories - display modes

#include <string>
#include <utility>
#include <vector>

// ---- vectors

// Three floats, passed by value (positions, directions, angles).
struct float3 {
    float x, y, z;
    float3() : x(0), y(0), z(0) {}
    float3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
};

// Four floats: a rectangle (x, y, w, h), a colour (r, g, b, a), a transform or a plane (a, b, c, d).
struct float4 {
    float x, y, z, w;
    float4() : x(0), y(0), z(0), w(0) {}
    float4(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}
};

// ---- line files

// The lines of a UTF-8 file, split at LF; a BOM and one CR before each LF are dropped, a final
// LF gives no empty last line. A missing or empty file gives no lines, silently. Invalid UTF-8
// is reported on standard error with the file's name and decoded as U+FFFD, and so is a file
// without a BOM that ends inside a line (a data file cut off).
// With faults, also what the lines cannot show, for readers that count it as damage.
struct LineFileFaults {
    unsigned notUtf8 = 0;       // lines whose bytes were not UTF-8 (now U+FFFD)
    unsigned firstNotUtf8 = 0;  // the first of them, counted from 1
    bool unreadable = false;    // opened but not read to its end (a folder, a read error)
};
std::vector<std::wstring> loadDatFile(const std::string& path, LineFileFaults* faults = nullptr);
// loadDatFile for files the game cannot run without: no lines stops the program with
// "no dat file loaded!" after printing the path.
std::vector<std::wstring> loadDatFileRequired(const std::string& path);
// One line's UTF-8 bytes as UTF-16 units, one trailing CR removed, the first `drop` units
// dropped. Invalid bytes become U+FFFD.
std::wstring utf8ToWide(const std::string& bytes, size_t drop = 0);
// A screen layout file: byte lines cut at the first CR or LF, empty ones skipped, each byte
// widened (no UTF-8 decoding). A missing file stops the program; one that ends inside a line
// is reported as cut off.
std::vector<std::wstring> readTextLines(const std::string& path);
// Writes a BOM and the lines as UTF-8, LF between lines and none after the last. The file is
// written beside the target and renamed over it, so a failure never leaves a half-written file.
// The temporary file reaches the disk before the rename and the folder after it, so a power loss
// also leaves the old or the new file. On failure prints "Could not open <path>" to standard
// output, tells the kind of failure in failure (when given) and returns false.
// Nothing standing at the temporary name is written through; a folder there, or anything put
// there meanwhile, is the failure Occupied.
enum class WriteFailure { None, Open, Write, Rename, Occupied };
bool writeUtf8Lines(const std::string& path, const std::vector<std::wstring>& lines,
                    WriteFailure* failure = nullptr);
// A new, empty file at path, open for writing: anything but a folder standing there (a link,
// a file cut short by an earlier run) is removed first and the file is made exclusively, so no
// write ever goes through a link. The descriptor, or -1 (errno set; a folder there gives EEXIST,
// a file there that may not be removed the removal's failure).
int createFreshFile(const std::string& path);
// Writes all the bytes, flushes them to the disk and closes the file; false when any step
// failed, errno telling the first failure.
bool writeSyncAndClose(int file, const std::string& bytes);
// Flushes the folder holding path, so that names made or removed in it reach the disk; false
// (errno set) when it could not be.
bool syncFolderOf(const std::string& path);

// UTF-16 units (a valid pair, or a lone unit) as UTF-8 bytes; anything that is no character
// (a lone surrogate, a negative value) becomes U+FFFD and sets *invalid when given.
std::string wideToUtf8(const std::wstring& text, bool* invalid = nullptr);

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

// ---- vector helpers of the game camera

float3 crossProduct(float3 a, float3 b);
// v scaled to length 1; the zero vector stays zero.
float3 normalize(float3 v);
// Squared distance of point from plane (a, b, c, d), signed by the side; 0 on the plane.
float planeSide(float4 plane, float3 point);
// The part of point perpendicular to normal.
float3 planeGeometry(float3 point, float3 normal);
// Direction from eye through a screen point (x 0..1 left to right, y 0..1 top to bottom) to the
// plane through target perpendicular to the view; not normalised. fov is vertical, in degrees.
float3 cameraRay(float x, float y, float3 eye, float3 target, float3 up, float fov, float aspect);

#include "toolkit/utils/misc.h"

#include "core/Assert.h"
#include "core/platform.h"
#include "core/sdl_layer.h"

#include <SDL.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utf8.h>

#include <cerrno>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>

// Index: line files - case folding and conversion - splitting - directories - display modes - vectors

// ---- line files

namespace {

const wchar_t kReplacement = 0xFFFD;

bool isHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

} // namespace

std::wstring utf8ToWide(const std::string& bytes, size_t drop)
{
    std::string valid;
    valid.reserve(bytes.size());
    utf8::replace_invalid(bytes.begin(), bytes.end(), std::back_inserter(valid), kReplacement);
    std::u16string units;
    utf8::utf8to16(valid.begin(), valid.end(), std::back_inserter(units));
    std::wstring out(units.begin(), units.end());
    if (!out.empty() && out.back() == 13)
        out.pop_back();
    if (drop >= out.size())
        return std::wstring();
    return out.substr(drop);
}

std::vector<std::wstring> loadDatFile(const std::string& path, LineFileFaults* faults)
{
    std::vector<std::wstring> lines;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return lines;
    std::string bytes;
    unsigned lineNumber = 0;
    bool written = false;  // starts with a byte-order mark, as every file the game writes
    while (std::getline(in, bytes)) {
        ++lineNumber;
        size_t drop = 0;
        if (lineNumber == 1 && bytes.size() > 2 && static_cast<unsigned char>(bytes[0]) == 0xEF &&
            static_cast<unsigned char>(bytes[1]) == 0xBB && static_cast<unsigned char>(bytes[2]) == 0xBF)
            drop = 1;
        if (lineNumber == 1)
            written = drop == 1;
        if (utf8::find_invalid(bytes.begin(), bytes.end()) != bytes.end()) {
            std::fprintf(stderr, "to chyba nie jest UTF8: %s, line %u: bad bytes replaced with U+FFFD\n",
                         path.c_str(), lineNumber);
            if (faults && faults->notUtf8++ == 0)
                faults->firstNotUtf8 = lineNumber;
        }
        lines.push_back(utf8ToWide(bytes, drop));
        if (in.eof()) {
            // Files the game writes (writeUtf8Lines) start with a byte-order mark and end
            // without a line end; every data file it ships ends with one. A data file that
            // stops inside a line was cut off.
            if (!written)
                std::fprintf(stderr, "Warning: %s ends inside line %u; the file may be cut off\n",
                             path.c_str(), lineNumber);
            break;
        }
    }
    if (in.bad()) {
        std::fprintf(stderr, "Warning: %s could not be read to its end\n", path.c_str());
        if (faults)
            faults->unreadable = true;
    }
    return lines;
}

std::vector<std::wstring> loadDatFileRequired(const std::string& path)
{
    std::vector<std::wstring> lines = loadDatFile(path);
    if (lines.empty())
        std::fprintf(stderr, "no dat file loaded! %s\n", path.c_str());
    PP_ASSERT_MSG(!lines.empty(), "no dat file loaded!");
    return lines;
}

std::vector<std::wstring> readTextLines(const std::string& path)
{
    std::vector<std::wstring> lines;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        std::fprintf(stderr, "Can't open layout file %s\n", path.c_str());
    PP_ASSERT_MSG(file != nullptr, "can't open layout file");

    // One buffer per call; a longer line comes in pieces of 99,999 bytes.
    const int kBufferSize = 100000;
    std::unique_ptr<char[]> buffer(new char[kBufferSize]);
    while (std::fgets(buffer.get(), kBufferSize, file)) {
        if (buffer[0] == '\0')
            break;
        const size_t length = std::strcspn(buffer.get(), "\r\n");
        if (buffer[length] == '\0' && std::feof(file))
            std::fprintf(stderr, "Warning: %s ends inside a line; the file may be cut off\n", path.c_str());
        if (length == 0)
            continue;
        lines.push_back(stringToWide(std::string(buffer.get(), length)));
    }
    std::fclose(file);
    return lines;
}

std::string wideToUtf8(const std::wstring& text, bool* invalid)
{
    std::string bytes;
    bytes.reserve(text.size());
    auto out = std::back_inserter(bytes);
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        uint32_t cp;
        if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            cp = 0x10000 + ((static_cast<uint32_t>(c) - 0xD800) << 10) + (static_cast<uint32_t>(text[i + 1]) - 0xDC00);
            ++i;
        } else if (c < 0 || c > 0x10FFFF || isHighSurrogate(c) || isLowSurrogate(c)) {
            cp = static_cast<uint32_t>(kReplacement);
            if (invalid)
                *invalid = true;
        } else {
            cp = static_cast<uint32_t>(c);
        }
        out = utf8::unchecked::append(cp, out);
    }
    return bytes;
}

bool writeUtf8Lines(const std::string& path, const std::vector<std::wstring>& lines, WriteFailure* failure)
{
    WriteFailure ignored;
    WriteFailure& kind = failure ? *failure : ignored;
    kind = WriteFailure::None;
    std::string bytes = "\xEF\xBB\xBF";
    bool invalid = false;
    for (size_t l = 0; l < lines.size(); ++l) {
        bytes += wideToUtf8(lines[l], &invalid);
        if (l + 1 < lines.size())
            bytes.push_back('\n');
    }
    if (invalid)
        std::fprintf(stderr, "Warning: text that is not valid UTF-16 written to %s as U+FFFD\n", path.c_str());

    const std::string temporary = path + ".tmp";
    const int file = createFreshFile(temporary);
    if (file < 0) {
        kind = errno == EEXIST ? WriteFailure::Occupied : WriteFailure::Open;
        std::printf("Could not open %s\n", path.c_str());
        return false;
    }
    const bool written = writeSyncAndClose(file, bytes);
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        kind = written ? WriteFailure::Rename : WriteFailure::Write;
        std::remove(temporary.c_str());
        std::printf("Could not open %s\n", path.c_str());
        return false;
    }
    // The rename itself reaches the disk with the folder.
    syncFolderOf(path);
    return true;
}

int createFreshFile(const std::string& path)
{
    struct stat st;
    // A leftover that cannot be removed (a folder turned read-only) fails by that cause, not as
    // something standing in the way.
    if (::lstat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode) && ::unlink(path.c_str()) != 0 && errno != ENOENT)
        return -1;
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
}

bool writeSyncAndClose(int file, const std::string& bytes)
{
    int error = 0;
    for (size_t done = 0; !error && done < bytes.size();) {
        const ssize_t n = ::write(file, bytes.data() + done, bytes.size() - done);
        if (n > 0)
            done += static_cast<size_t>(n);
        else if (n == 0 || errno != EINTR)
            error = n == 0 ? ENOSPC : errno;
    }
    if (!error && ::fsync(file) != 0)
        error = errno;
    if (::close(file) != 0 && !error)
        error = errno;
    errno = error;
    return error == 0;
}

bool syncFolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return false;
    const int error = ::fsync(dir) == 0 ? 0 : errno;
    ::close(dir);
    errno = error;
    return error == 0;
}

// ---- case folding and narrow/wide conversion

std::wstring toLowerWide(const std::wstring& text)
{
    std::wstring out = text;
    for (wchar_t& c : out)
        if (c >= L'A' && c <= L'Z')
            c = c - L'A' + L'a';
    return out;
}

std::string toLowerString(const std::string& text)
{
    std::string out = text;
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = c - 'A' + 'a';
    return out;
}

std::wstring stringToWide(const std::string& text)
{
    std::wstring out(text.size(), L'\0');
    for (size_t i = 0; i < text.size(); ++i)
        out[i] = static_cast<wchar_t>(static_cast<signed char>(text[i]));
    return out;
}

std::string wideToString(const std::wstring& text)
{
    std::string out(text.size(), '\0');
    for (size_t i = 0; i < text.size(); ++i)
        out[i] = static_cast<char>(static_cast<uint32_t>(text[i]) & 0xFF);
    return out;
}

// ---- splitting

namespace {

template <class String>
std::vector<String> split(const String& text, const String& delimiters)
{
    std::vector<String> tokens;
    size_t start = text.find_first_not_of(delimiters);
    while (start != String::npos) {
        const size_t end = text.find_first_of(delimiters, start);
        tokens.push_back(text.substr(start, end == String::npos ? String::npos : end - start));
        if (end == String::npos)
            break;
        start = text.find_first_not_of(delimiters, end);
    }
    return tokens;
}

} // namespace

std::vector<std::wstring> splitWide(const std::wstring& text, const std::wstring& delimiters, int)
{
    return split(text, delimiters);
}

std::vector<std::string> splitNarrow(const std::string& text, const std::string& delimiters, int)
{
    return split(text, delimiters);
}

// ---- directories

namespace {

bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// -1, 0 or 1 as a compares to b in natural order, ignoring case and leading zeros.
int naturalCompare(const std::wstring& a, const std::wstring& b)
{
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            size_t ie = i, je = j;
            while (ie < a.size() && isDigit(a[ie]))
                ++ie;
            while (je < b.size() && isDigit(b[je]))
                ++je;
            size_t is = i, js = j;
            while (is + 1 < ie && a[is] == L'0')
                ++is;
            while (js + 1 < je && b[js] == L'0')
                ++js;
            if (ie - is != je - js)
                return ie - is < je - js ? -1 : 1;
            for (; is < ie; ++is, ++js)
                if (a[is] != b[js])
                    return a[is] < b[js] ? -1 : 1;
            i = ie;
            j = je;
            continue;
        }
        wchar_t ca = a[i], cb = b[j];
        if (ca >= L'A' && ca <= L'Z')
            ca += L'a' - L'A';
        if (cb >= L'A' && cb <= L'Z')
            cb += L'a' - L'A';
        if (ca != cb)
            return ca < cb ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

} // namespace

bool naturalLess(const std::wstring& a, const std::wstring& b)
{
    const int order = naturalCompare(a, b);
    if (order != 0)
        return order < 0;
    return a < b; // names equal but for case or leading zeros: still one fixed order
}

std::vector<std::wstring> listDirectory(const std::string& folder, const std::string& pattern)
{
    std::vector<std::wstring> names;
    std::string name;
    FindHandle* handle = FindFirst((folder + pattern).c_str(), name);
    if (handle) {
        do
            names.push_back(stringToWide(name));
        while (FindNext(handle, name));
    }
    FindClose(handle);
    std::sort(names.begin(), names.end(), naturalLess);
    return names;
}

// ---- display modes

DisplayModeList& filterDisplayModes(const std::vector<DisplayModeInfo>& available,
                                    const DisplayModeInfo& currentMode, DisplayModeList& modes, int& current)
{
    modes.clear();
    for (const DisplayModeInfo& mode : available) {
        if (mode.bitsPerPixel != currentMode.bitsPerPixel || !mode.safe || mode.stretched)
            continue;
        const std::pair<int, int> size(mode.width, mode.height);
        if (std::find(modes.begin(), modes.end(), size) != modes.end())
            continue;
        if (mode.width < 800 && mode.height < 600)
            continue;
        modes.push_back(size);
    }
    const std::pair<int, int> currentSize(currentMode.width, currentMode.height);
    current = -1;
    auto found = std::find(modes.begin(), modes.end(), currentSize);
    if (found == modes.end()) {
        modes.push_back(currentSize);
        std::sort(modes.begin(), modes.end());
        found = std::find(modes.begin(), modes.end(), currentSize);
    }
    current = static_cast<int>(found - modes.begin());
    return modes;
}

// SDL lists the full-screen modes of the current pixel format; each counts as safe and not
// stretched. "Any size" or no list at all leaves only the current mode.
DisplayModeList& listDisplayModes(DisplayModeList& modes, int& current)
{
    if (start_sdl_video() != 0)
        std::fprintf(stderr, "Warning: can't list display modes: %s\n", SDL_GetError());

    DisplayModeInfo currentMode;
    std::vector<DisplayModeInfo> available;
    if (const SDL_VideoInfo* info = SDL_GetVideoInfo()) {
        currentMode.width = info->current_w;
        currentMode.height = info->current_h;
        currentMode.bitsPerPixel = info->vfmt ? info->vfmt->BitsPerPixel : 0;
        SDL_Rect** rects = SDL_ListModes(nullptr, SDL_FULLSCREEN | SDL_OPENGL);
        if (rects && rects != reinterpret_cast<SDL_Rect**>(-1)) {
            for (int i = 0; rects[i]; ++i) {
                DisplayModeInfo mode;
                mode.width = rects[i]->w;
                mode.height = rects[i]->h;
                mode.bitsPerPixel = currentMode.bitsPerPixel;
                available.push_back(mode);
            }
        }
    }
    std::sort(available.begin(), available.end(), [](const DisplayModeInfo& a, const DisplayModeInfo& b) {
        return a.width != b.width ? a.width < b.width : a.height < b.height;
    });
    return filterDisplayModes(available, currentMode, modes, current);
}

// ---- vectors

namespace {
const double kPi = 3.14159265358979323846;
}

float3 crossProduct(float3 a, float3 b)
{
    return float3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

float3 normalize(float3 v)
{
    if (v.x == 0.0f && v.y == 0.0f && v.z == 0.0f)
        return v;
    const float scale = static_cast<float>(1.0 / std::sqrt(static_cast<double>(v.x * v.x + v.y * v.y + v.z * v.z)));
    return float3(v.x * scale, v.y * scale, v.z * scale);
}

float planeSide(float4 plane, float3 point)
{
    const float s = plane.x * point.x + plane.y * point.y + plane.z * point.z + plane.w;
    const float normal = plane.x * plane.x + plane.y * plane.y + plane.z * plane.z;
    if (normal == 0.0f)
        return 0.0f; // no plane: every point counts as on it
    const float sign = s > 0.0f ? 1.0f : (s < 0.0f ? -1.0f : 0.0f);
    return sign * s * s / normal;
}

float3 planeGeometry(float3 point, float3 normal)
{
    const float s = planeSide(float4(normal.x, normal.y, normal.z, 0.0f), point);
    const float3 n = normalize(normal);
    const float sign = s > 0.0f ? 1.0f : (s < 0.0f ? -1.0f : 0.0f);
    const float d = sign * std::sqrt(std::fabs(s));
    return float3(point.x - d * n.x, point.y - d * n.y, point.z - d * n.z);
}

float3 cameraRay(float x, float y, float3 eye, float3 target, float3 up, float fov, float aspect)
{
    const float3 d(target.x - eye.x, target.y - eye.y, target.z - eye.z);
    const float length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    const float h = 2.0f * std::tan(fov * static_cast<float>(kPi) / 360.0f) * length;
    const float w = h * aspect;
    const float3 upOnPlane = planeGeometry(up, d);
    const float3 u = normalize(upOnPlane);
    const float3 l = normalize(crossProduct(upOnPlane, d));
    const float sx = (0.5f - x) * w;
    const float sy = (0.5f - y) * h;
    return float3(d.x + sx * l.x + sy * u.x, d.y + sx * l.y + sy * u.y, d.z + sx * l.z + sy * u.z);
}

#include "core/platform.h"

#include <cctype>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>
#include <vector>

int quitRequested = 0;

// ---- clocks and sleep

int get_time_ms()
{
    timeval tv;
    gettimeofday(&tv, nullptr);
    // Computed wide and cut to 32 bits: the same wrapped value without signed overflow.
    const uint64_t ms = static_cast<uint64_t>(tv.tv_sec) * 1000u + static_cast<uint64_t>(tv.tv_usec) / 1000u;
    return static_cast<int32_t>(static_cast<uint32_t>(ms));
}

int64_t get_time_us()
{
    timeval tv;
    gettimeofday(&tv, nullptr);
    return static_cast<int64_t>(tv.tv_sec) * 1000000 + tv.tv_usec;
}

namespace {

int steppedClockStep = 0;
int steppedClockNow = 0;

} // namespace

int game_time_ms()
{
    return steppedClockStep > 0 ? steppedClockNow : get_time_ms();
}

// The stepped clock goes on from the wall clock's reading, so no reading jumps back.
void set_stepped_clock(int stepMs)
{
    if (stepMs > 0 && steppedClockStep <= 0)
        steppedClockNow = get_time_ms();
    steppedClockStep = stepMs > 0 ? stepMs : 0;
}

void advance_game_clock()
{
    if (steppedClockStep > 0)
        steppedClockNow = time_add_ms(steppedClockNow, steppedClockStep);
}

void sleep_ms(int ms)
{
    if (ms > 0)
        usleep(static_cast<useconds_t>(ms) * 1000u);
}

// ---- files

int64_t file_size(const char* path)
{
    struct stat st;
    if (stat(path, &st) != 0)
        return 0;
    return static_cast<int64_t>(st.st_size);
}

bool file_exists(const char* path)
{
    struct stat st;
    return stat(path, &st) == 0;
}

std::string get_exe_dir()
{
    // The link's length is unknown in advance: grow the buffer until the whole text fits.
    std::vector<char> buffer(1000);
    for (;;) {
        const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0)
            return ".";
        if (static_cast<size_t>(n) < buffer.size()) {
            std::string path(buffer.data(), static_cast<size_t>(n));
            const size_t slash = path.rfind('/');
            if (slash == std::string::npos)
                return ".";
            return path.substr(0, slash);
        }
        buffer.resize(buffer.size() * 2);
    }
}

// ---- wildcard match

namespace {

inline int fold(char c)
{
    return std::tolower(static_cast<unsigned char>(c));
}

} // namespace

// The pattern is walked segment by segment (text between "*"s). The first segment is anchored
// at the start of the name unless the pattern begins with "*"; later segments float and take
// their leftmost place; the last segment after a "*" must end exactly at the name's end.
int FindMatch(const char* pattern, const char* name)
{
    const char* p = pattern;
    const char* n = name;
    for (;;) {
        bool floating = false;
        if (*p == '*') {
            while (*p == '*')
                ++p;
            floating = true;
        }
        if (*p == '\0')
            return (*n == '\0' || floating) ? 1 : 0;

        const size_t segment = std::strcspn(p, "*");
        for (;;) {
            bool differs = false;
            for (size_t i = 0; i < segment; ++i) {
                if (n[i] == '\0')
                    return 0;
                if (p[i] != '?' && fold(p[i]) != fold(n[i])) {
                    differs = true;
                    break;
                }
            }
            if (differs) {
                if (!floating)
                    return 0;
                ++n;
                continue;
            }
            if (p[segment] == '*') {
                p += segment;
                n += segment;
                break;
            }
            if (n[segment] == '\0')
                return 1;
            if (!floating)
                return 0;
            ++n;
        }
    }
}

// ---- directory search

struct FindHandle {
    DIR* dir;
    std::string pattern;
};

namespace {

bool nextMatch(FindHandle* handle, std::string& name)
{
    while (dirent* entry = readdir(handle->dir)) {
        if (FindMatch(handle->pattern.c_str(), entry->d_name)) {
            name = entry->d_name;
            return true;
        }
    }
    return false;
}

} // namespace

FindHandle* FindFirst(const char* pattern, std::string& name)
{
    const std::string path = pattern;
    const size_t separator = path.find_last_of("/\\");
    std::string folder = ".";
    std::string namePattern = path;
    if (separator != std::string::npos) {
        folder = path.substr(0, separator);
        // "/name" names the root folder, not an empty one.
        if (folder.empty() && path[separator] == '/')
            folder = "/";
        namePattern = path.substr(separator + 1);
    }
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return nullptr;
    FindHandle* handle = new FindHandle{dir, namePattern};
    if (nextMatch(handle, name))
        return handle;
    FindClose(handle);
    return nullptr;
}

int FindNext(FindHandle* handle, std::string& name)
{
    if (!handle)
        return 0;
    return nextMatch(handle, name) ? 1 : 0;
}

void FindClose(FindHandle* handle)
{
    if (!handle)
        return;
    closedir(handle->dir);
    delete handle;
}

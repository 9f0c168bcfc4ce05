#pragma once

// The operating-system layer: clocks, sleep, file tests, the executable's folder and a
// directory search with wildcards. The thread class lives in core/macosx/threads.h.

#include <cstdint>
#include <string>

// 0 at start; the credits screen sets it to 1 and the main loop ends after that pass. A
// program-wide flag of the platform layer, so the screen that ends the game needs no more.
extern int quitRequested;

// Wall clock in milliseconds; 32 bits, so it wraps. Compare two readings with time_diff_ms.
int get_time_ms();
// Wall clock in microseconds, 64 bits.
int64_t get_time_us();
// later - earlier in milliseconds, correct across the 32-bit wrap of get_time_ms.
inline int time_diff_ms(int later, int earlier)
{
    return static_cast<int32_t>(static_cast<uint32_t>(later) - static_cast<uint32_t>(earlier));
}
// t + ms on the wrapping 32-bit clock.
inline int time_add_ms(int t, int ms)
{
    return static_cast<int32_t>(static_cast<uint32_t>(t) + static_cast<uint32_t>(ms));
}

void sleep_ms(int ms);

// The game's clock, read by the main loop (its logic steps and so every timer, fade and count
// of the game) and by the input pump: the wall clock (get_time_ms), or, once a step is set, a
// clock that moves only by that step at each advance_game_clock, which the main loop calls once
// a pass. Stepped, a run plays the same on a quick machine and on a busy one (the tests drive
// the game so); 0 goes back to the wall clock.
int game_time_ms();
void set_stepped_clock(int stepMs);
void advance_game_clock();

// Size in bytes, 0 when the file cannot be examined.
int64_t file_size(const char* path);
bool file_exists(const char* path);

// Folder of the running executable (no trailing "/"); "." when it cannot be found.
std::string get_exe_dir();

// ---- directory search with wildcards ("?" one character, "*" any run), case-insensitive

struct FindHandle;

// Opens the folder named before the pattern's last "/" or "\" (or "."), stores the first
// matching entry name in name and returns the search; null when the folder cannot be
// opened or nothing matches (then nothing stays open).
FindHandle* FindFirst(const char* pattern, std::string& name);
// 1 with the next matching name, 0 at the end (or for a null handle).
int FindNext(FindHandle* handle, std::string& name);
// Closes the search; a null handle is allowed.
void FindClose(FindHandle* handle);
// 1 when name matches the wildcard pattern.
int FindMatch(const char* pattern, const char* name);

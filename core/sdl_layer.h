#pragma once

// The SDL layer: SDL events become fixed-size input records in the program's own queue,
// key codes are translated between Windows virtual-key codes (used everywhere in the
// program) and SDL keys, and the window's mode, title, cursor and the pointer's mapping
// onto the centred 4:3 canvas are kept here.
//
// Index: input records and queue - key tables - layer state - operations

#include <SDL/SDL.h>

#include <cstdint>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

class Device;

// ---- input records and queue

// Record codes (field 0). Fields 1..8 depend on the code:
//   0/1 button pressed/released: time, x, y (pixels), button (1 left, 2 right, 4 middle),
//       canvas x, canvas y (floats)
//   2   pointer moved: time, x, y, relative x, relative y (floats), held mask (1/2/4),
//       canvas x, canvas y (floats)
//   3   wheel notch: time, 0, +120 up / -120 down, -, canvas x, canvas y
//   100/101 key pressed/released: time, virtual-key code
//   102 character typed: time, UTF-16 unit
//   200 window close requested: time
//   201 window resized: time, width, height
enum {
    EV_BUTTON_DOWN = 0,
    EV_BUTTON_UP = 1,
    EV_MOTION = 2,
    EV_WHEEL = 3,
    EV_KEY_DOWN = 100,
    EV_KEY_UP = 101,
    EV_CHAR = 102,
    EV_CLOSE = 200,
    EV_RESIZE = 201,
};

// One input record: nine 32-bit fields; a field holds an int or a float by code.
struct event {
    int32_t field[9] = {};

    int code() const { return field[0]; }
    int time() const { return field[1]; }
    int getInt(int i) const { return field[i]; }
    float getFloat(int i) const
    {
        float value;
        std::memcpy(&value, &field[i], sizeof value);
        return value;
    }
    void setInt(int i, int value) { field[i] = value; }
    void setFloat(int i, float value) { std::memcpy(&field[i], &value, sizeof value); }
};

// The queue: one writer (the pump), one reader (ControlMngr), both on the main thread.
struct EventQueue {
    std::vector<event> records;
    int readIndex = 0;
};

extern EventQueue eventQueue;

// ---- key tables

const int kVirtualKeyCount = 256;
const int kSdlKeyCount = SDLK_LAST;

extern int vkToSdl[kVirtualKeyCount];   // virtual-key code -> SDL key, 0 when unmapped
extern int sdlToVk[kSdlKeyCount];       // SDL key -> virtual-key code, 0 when unmapped

// ---- layer state

// Held by the pump and by the render device around its SDL and window-system calls.
extern std::mutex sdlMutex;

extern std::wstring windowTitle;

struct InputState {
    int zoomAccumulator = 0;      // ms of Page Up held minus ms of Page Down held
    float pointerScale = 1.0f;    // screen width / (screen height x pixel aspect)
    int windowMode = 2;           // 0 full screen, 1 window, 2 resizable window
    int windowWidth = 1024;
    int windowHeight = 768;
    Uint32 videoFlags = 0;        // flags a resize re-applies: those of the current window
    int screenWidth = 1024;
    int screenHeight = 768;
    float pixelAspect = 1.3333f;  // aspect of the 2D canvas
    const Uint8* keyState = nullptr;  // SDL's key state, taken at each pump
    int lastPumpTime = 0;
    bool pumped = false;          // the zoom clock starts at the first pump
};

extern InputState inputState;

// The clock the pump reads (game_time_ms); tests put a clock of their own here.
extern int (*inputClock)();

// ---- operations

// Starts SDL's video part once, for the window and the display modes alike, with the keyboard
// read as it arrives (sdl_video.cpp); 0, or -1 with SDL's error when there is no video.
int start_sdl_video();
// Under AddressSanitizer, keeps every library loaded now in memory until the process ends; call
// it before SDL's video part stops. Stopping unloads the OpenGL driver, and the leak check at exit
// would report what the driver keeps as leaks of an unknown module, which no suppression can name.
// Does nothing in other builds.
void keep_libraries_loaded();
// Translates SDL's pending events into records; clear drops the records nobody took.
void pump_events(int clear);
void push_event(const event& record);
// Copies the next unread record out: 1, or 0 when none is left.
int pop_event(event& out);
// Copies the next unread record out without taking it: 1, or 0 when none is left.
int peek_event(event& out);
void clear_events();

// 1 while the key is held; 16, 17 and 18 are Shift, Ctrl and Alt on either side.
int is_key_down(int code);
// The zoom accumulator (Page Up positive, Page Down negative), then reset to 0.
float get_wheel_delta();

void show_cursor(int show);
// A zero width, height or aspect keeps the stored one; recomputes pointerScale.
void set_screen_aspect(int width, int height, float pixelAspect);
// Negative width: full screen; negative height in a window: a plain (not resizable) window.
void set_window_mode(int width, int height);
void set_window_title(const std::wstring& title);
void resize_video(Device* device, int width, int height);

// The device of the current render, or null; the renderer sets it when it becomes current.
void set_render_device(Device* device);

// Canvas coordinates of a window pixel: fractions of the centred 4:3 canvas.
float canvas_x(int x);
float canvas_y(int y);

#include "core/sdl_layer.h"

#include "core/platform.h"
#include "render/device.h"

#include <algorithm>
#include <cstdio>

// Index: state - key tables - queue - pump - keys and zoom - window and pointer

// ---- state

EventQueue eventQueue;
int vkToSdl[kVirtualKeyCount];
int sdlToVk[kSdlKeyCount];
std::mutex sdlMutex;
std::wstring windowTitle;
InputState inputState;
int (*inputClock)() = game_time_ms;

namespace {

const Uint32 kReappliedFlags = SDL_OPENGL | SDL_RESIZABLE | SDL_FULLSCREEN | SDL_NOFRAME;

Device* renderDevice = nullptr;

// SDL key of a virtual-key code, 0 for a code outside the table.
int vk_to_sdl(int code)
{
    return code >= 0 && code < kVirtualKeyCount ? vkToSdl[code] : 0;
}

// Virtual-key code of an SDL key, 0 for a key outside the table.
int sdl_to_vk(int key)
{
    return key >= 0 && key < kSdlKeyCount ? sdlToVk[key] : 0;
}

int key_held(int sdlKey)
{
    return sdlKey > 0 && sdlKey < kSdlKeyCount && inputState.keyState[sdlKey] ? 1 : 0;
}

// ---- key tables

void build_key_tables()
{
    struct Pair {
        int vk;
        int sdl;
    };
    static const Pair pairs[] = {
        {3, SDLK_BREAK},         {8, SDLK_BACKSPACE},    {9, SDLK_TAB},
        {12, SDLK_CLEAR},        {13, SDLK_RETURN},      {17, SDLK_LCTRL},
        {19, SDLK_PAUSE},        {20, SDLK_CAPSLOCK},    {27, SDLK_ESCAPE},
        {32, SDLK_SPACE},        {33, SDLK_PAGEUP},      {34, SDLK_PAGEDOWN},
        {35, SDLK_END},          {36, SDLK_HOME},        {37, SDLK_LEFT},
        {38, SDLK_UP},           {39, SDLK_RIGHT},       {40, SDLK_DOWN},
        {42, SDLK_PRINT},        {44, SDLK_PRINT},       {45, SDLK_INSERT},
        {46, SDLK_DELETE},       {47, SDLK_HELP},        {91, SDLK_LSUPER},
        {92, SDLK_RSUPER},       {93, SDLK_MENU},        {106, SDLK_KP_MULTIPLY},
        {107, SDLK_KP_PLUS},     {109, SDLK_KP_MINUS},   {110, SDLK_KP_PERIOD},
        {111, SDLK_KP_DIVIDE},   {144, SDLK_NUMLOCK},    {145, SDLK_SCROLLOCK},
        {160, SDLK_LSHIFT},      {161, SDLK_RSHIFT},     {162, SDLK_LCTRL},
        {163, SDLK_RCTRL},       {164, SDLK_LALT},       {165, SDLK_RALT},
        {186, SDLK_SEMICOLON},   {187, SDLK_EQUALS},     {188, SDLK_COMMA},
        {189, SDLK_MINUS},       {190, SDLK_PERIOD},     {191, SDLK_SLASH},
        {192, SDLK_BACKQUOTE},   {219, SDLK_LEFTBRACKET}, {220, SDLK_BACKSLASH},
        {221, SDLK_RIGHTBRACKET}, {222, SDLK_QUOTE},     {223, SDLK_BACKQUOTE},
        {226, SDLK_LESS},
    };
    std::memset(vkToSdl, 0, sizeof vkToSdl);
    for (const Pair& p : pairs)
        vkToSdl[p.vk] = p.sdl;
    for (int i = 0; i <= 9; ++i) {
        vkToSdl[48 + i] = SDLK_0 + i;
        vkToSdl[96 + i] = SDLK_KP0 + i;
    }
    for (int i = 0; i < 26; ++i)
        vkToSdl[65 + i] = SDLK_a + i;
    for (int i = 0; i < 15; ++i)
        vkToSdl[112 + i] = SDLK_F1 + i;

    // The inverse: where two codes give one key the higher code wins, and every
    // unmapped code writes entry 0 (so key 0 gives 254).
    std::memset(sdlToVk, 0, sizeof sdlToVk);
    for (int k = 0; k <= 254; ++k)
        sdlToVk[vkToSdl[k]] = k;
}

struct KeyTablesBuilder {
    KeyTablesBuilder() { build_key_tables(); }
} keyTablesBuilder;

// ---- pump helpers

void push_pointer_record(int code, int time, int x, int y, int button)
{
    event e;
    e.setInt(0, code);
    e.setInt(1, time);
    e.setInt(2, x);
    e.setInt(3, y);
    e.setInt(4, button);
    e.setFloat(5, canvas_x(x));
    e.setFloat(6, canvas_y(y));
    push_event(e);
}

void push_wheel_record(int time, int x, int y, int delta)
{
    event e;
    e.setInt(0, EV_WHEEL);
    e.setInt(1, time);
    e.setInt(2, 0);
    e.setInt(3, delta);
    e.setFloat(5, canvas_x(x));
    e.setFloat(6, canvas_y(y));
    push_event(e);
}

void push_simple_record(int code, int time, int a = 0, int b = 0)
{
    event e;
    e.setInt(0, code);
    e.setInt(1, time);
    e.setInt(2, a);
    e.setInt(3, b);
    push_event(e);
}

// SDL's button numbers 1 (left), 2 (middle), 3 (right) become 1, 4 and 2.
int button_code(int sdlButton)
{
    switch (sdlButton) {
    case SDL_BUTTON_LEFT: return 1;
    case SDL_BUTTON_MIDDLE: return 4;
    case SDL_BUTTON_RIGHT: return 2;
    default: return 0;
    }
}

int held_mask(Uint8 state)
{
    int mask = 0;
    if (state & SDL_BUTTON(SDL_BUTTON_LEFT))
        mask |= 1;
    if (state & SDL_BUTTON(SDL_BUTTON_MIDDLE))
        mask |= 4;
    if (state & SDL_BUTTON(SDL_BUTTON_RIGHT))
        mask |= 2;
    return mask;
}

// The size a window asked for takes: the screens' 4:3 canvas is centred in the window at its
// full height, so a window narrower than 4:3 would cut off the canvas's sides (the panels'
// close buttons among them). Such a window keeps its width and takes the height that makes it
// 4:3.
void fit_window_size(int& width, int& height)
{
    if (width > 0 && height > 0 && width * 3 < height * 4)
        height = std::max(1, width * 3 / 4);
}

void translate(const SDL_Event& ev, int time, Device* device)
{
    switch (ev.type) {
    case SDL_KEYDOWN: {
        push_simple_record(EV_KEY_DOWN, time, sdl_to_vk(ev.key.keysym.sym));
        int ch = ev.key.keysym.unicode;
        if (ch == 127)
            ch = 8;
        if (ch != 0)
            push_simple_record(EV_CHAR, time, ch);
        break;
    }
    case SDL_KEYUP:
        push_simple_record(EV_KEY_UP, time, sdl_to_vk(ev.key.keysym.sym));
        break;
    case SDL_MOUSEBUTTONDOWN: {
        const SDL_MouseButtonEvent& b = ev.button;
        if (b.button == SDL_BUTTON_WHEELUP)
            push_wheel_record(time, b.x, b.y, 120);
        else if (b.button == SDL_BUTTON_WHEELDOWN)
            push_wheel_record(time, b.x, b.y, -120);
        else if (int code = button_code(b.button))
            push_pointer_record(EV_BUTTON_DOWN, time, b.x, b.y, code);
        break;
    }
    case SDL_MOUSEBUTTONUP:
        if (int code = button_code(ev.button.button))
            push_pointer_record(EV_BUTTON_UP, time, ev.button.x, ev.button.y, code);
        break;
    case SDL_MOUSEMOTION: {
        const SDL_MouseMotionEvent& m = ev.motion;
        event e;
        e.setInt(0, EV_MOTION);
        e.setInt(1, time);
        e.setInt(2, m.x);
        e.setInt(3, m.y);
        e.setFloat(4, float(m.xrel));
        e.setFloat(5, float(m.yrel));
        e.setInt(6, held_mask(m.state));
        e.setFloat(7, canvas_x(m.x));
        e.setFloat(8, canvas_y(m.y));
        push_event(e);
        break;
    }
    case SDL_QUIT:
        push_simple_record(EV_CLOSE, time);
        break;
    case SDL_VIDEORESIZE: {
        int width = ev.resize.w;
        int height = ev.resize.h;
        fit_window_size(width, height);
        push_simple_record(EV_RESIZE, time, width, height);
        if (device)
            resize_video(device, width, height);
        set_screen_aspect(width, height, 0.0f);
        break;
    }
    default:
        break;
    }
}

} // namespace

// ---- queue

void push_event(const event& record)
{
    std::vector<event>& records = eventQueue.records;
    // Move the unread records to the front once the reader is well past the middle,
    // so the queue does not grow while a reader keeps up.
    if (eventQueue.readIndex * 2 > int(records.size()) + 5) {
        records.erase(records.begin(), records.begin() + eventQueue.readIndex);
        eventQueue.readIndex = 0;
    }
    records.push_back(record);
}

int pop_event(event& out)
{
    if (eventQueue.readIndex >= int(eventQueue.records.size()))
        return 0;
    out = eventQueue.records[eventQueue.readIndex++];
    return 1;
}

int peek_event(event& out)
{
    if (eventQueue.readIndex >= int(eventQueue.records.size()))
        return 0;
    out = eventQueue.records[eventQueue.readIndex];
    return 1;
}

void clear_events()
{
    eventQueue.records.clear();
    eventQueue.readIndex = 0;
}

// ---- pump

void pump_events(int clear)
{
    std::lock_guard<std::mutex> lock(sdlMutex);
    if (clear)
        clear_events();

    Device* device = renderDevice;
    inputState.keyState = SDL_GetKeyState(nullptr);

    // Page Up and Page Down held feed the zoom with the milliseconds since the last pump.
    // The clock starts at the first pump, so nothing is counted from before it.
    int now = inputClock();
    if (inputState.pumped) {
        int elapsed = time_diff_ms(now, inputState.lastPumpTime);
        if (key_held(SDLK_PAGEUP))
            inputState.zoomAccumulator += elapsed;
        if (key_held(SDLK_PAGEDOWN))
            inputState.zoomAccumulator -= elapsed;
    }
    inputState.lastPumpTime = now;
    inputState.pumped = true;

    int time = inputClock();
    SDL_Event ev;
    while (SDL_PollEvent(&ev))
        translate(ev, time, device);
}

// ---- keys and zoom

int is_key_down(int code)
{
    if (!inputState.keyState)
        return 0;
    switch (code) {
    case 16: return key_held(SDLK_LSHIFT) | key_held(SDLK_RSHIFT);
    case 17: return key_held(SDLK_LCTRL) | key_held(SDLK_RCTRL);
    case 18: return key_held(SDLK_LALT) | key_held(SDLK_RALT);
    default: return key_held(vk_to_sdl(code));
    }
}

float get_wheel_delta()
{
    float delta = float(inputState.zoomAccumulator);
    inputState.zoomAccumulator = 0;
    return delta;
}

// ---- window and pointer

void show_cursor(int show)
{
    SDL_ShowCursor(show);
    SDL_WM_GrabInput(show ? SDL_GRAB_OFF : SDL_GRAB_ON);
}

void set_screen_aspect(int width, int height, float pixelAspect)
{
    if (width != 0)
        inputState.screenWidth = width;
    if (height != 0)
        inputState.screenHeight = height;
    if (pixelAspect != 0.0f)
        inputState.pixelAspect = pixelAspect;
    inputState.pointerScale =
        float(inputState.screenWidth) / (float(inputState.screenHeight) * inputState.pixelAspect);
}

void set_window_mode(int width, int height)
{
    int mode = width < 0 ? 0 : 2;
    if (mode == 2 && height < 0)
        mode = 1;
    inputState.windowMode = mode;
    inputState.windowWidth = width < 0 ? -width : width;
    inputState.windowHeight = height < 0 ? -height : height;
    if (Device* device = renderDevice) {
        device->SetVideoMode(mode, &inputState.windowWidth, &inputState.windowHeight,
                             windowTitle);
    }
}

void set_window_title(const std::wstring& title)
{
    windowTitle = title;
    if (Device* device = renderDevice) {
        device->SetVideoMode(inputState.windowMode, &inputState.windowWidth,
                             &inputState.windowHeight, windowTitle);
    }
}

// Re-applies the flags the device opened the window with (OpenGL, resizable), so the
// GL context survives the resize.
void resize_video(Device* device, int width, int height)
{
    if (SDL_Surface* screen = SDL_GetVideoSurface())
        inputState.videoFlags = screen->flags & kReappliedFlags;
    if (!SDL_SetVideoMode(width, height, 0, inputState.videoFlags))
        std::fprintf(stderr, "Warning: can't resize the window to %dx%d: %s\n", width, height,
                     SDL_GetError());
    SDL_Event ev;
    while (SDL_PollEvent(&ev)) {
    }
    device->Viewport(0, 0, width, height);
}

void set_render_device(Device* device)
{
    renderDevice = device;
}

float canvas_x(int x)
{
    return (float(x) / float(inputState.screenWidth) - 0.5f) * inputState.pointerScale + 0.5f;
}

float canvas_y(int y)
{
    return float(y) / float(inputState.screenHeight);
}

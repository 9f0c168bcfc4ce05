#include "core/ControlMngr.h"
#include "core/sdl_layer.h"

#include "fixtures/RecordingDevice.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

int fakeNow = 0;
int fake_clock()
{
    return fakeNow;
}

// SDL's video part on the dummy driver (events can be pushed), a fresh layer state and a
// clock the test sets.
class SdlLayer : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    }

    void SetUp() override
    {
        SDL_Event ev;
        while (SDL_PollEvent(&ev)) {
        }
        clear_events();
        inputState = InputState();
        windowTitle.clear();
        set_render_device(nullptr);
        fakeNow = 50000;
        inputClock = fake_clock;
        keys = SDL_GetKeyState(nullptr);
        std::fill(keys, keys + SDLK_LAST, 0);
    }

    void TearDown() override
    {
        std::fill(keys, keys + SDLK_LAST, 0);
        set_render_device(nullptr);
    }

    static void push_sdl(SDL_Event ev) { ASSERT_EQ(SDL_PushEvent(&ev), 0); }

    static void key_down(SDLKey key, Uint16 unicode)
    {
        SDL_Event ev = {};
        ev.type = SDL_KEYDOWN;
        ev.key.keysym.sym = key;
        ev.key.keysym.unicode = unicode;
        push_sdl(ev);
    }

    static void button(Uint8 type, Uint8 which, Uint16 x, Uint16 y)
    {
        SDL_Event ev = {};
        ev.type = type;
        ev.button.button = which;
        ev.button.x = x;
        ev.button.y = y;
        push_sdl(ev);
    }

    // Everything the pump put in the queue.
    static std::vector<event> drain()
    {
        std::vector<event> out;
        event e;
        while (pop_event(e))
            out.push_back(e);
        return out;
    }

    Uint8* keys = nullptr;
};

TEST(KeyTables, MapVirtualKeysToSdlAndBackWithTheHigherCodeWinning)
{
    EXPECT_EQ(vkToSdl[65], SDLK_a);
    EXPECT_EQ(vkToSdl[90], SDLK_z);
    EXPECT_EQ(vkToSdl[27], SDLK_ESCAPE);
    EXPECT_EQ(vkToSdl[33], SDLK_PAGEUP);
    EXPECT_EQ(vkToSdl[48], SDLK_0);
    EXPECT_EQ(vkToSdl[105], SDLK_KP9);
    EXPECT_EQ(vkToSdl[126], SDLK_F15);
    EXPECT_EQ(vkToSdl[226], SDLK_LESS);
    EXPECT_EQ(vkToSdl[16], 0);   // Shift and Alt have no entry
    EXPECT_EQ(vkToSdl[18], 0);

    EXPECT_EQ(sdlToVk[SDLK_a], 65);
    EXPECT_EQ(sdlToVk[SDLK_LCTRL], 162);
    EXPECT_EQ(sdlToVk[SDLK_PRINT], 44);
    EXPECT_EQ(sdlToVk[SDLK_BACKQUOTE], 223);
    EXPECT_EQ(sdlToVk[0], 254);
    EXPECT_EQ(sdlToVk[SDLK_WORLD_5], 0);
}

TEST_F(SdlLayer, KeysBecomeKeyAndCharacterRecords)
{
    key_down(SDLK_a, 'a');
    key_down(SDLK_BACKSPACE, 127);
    key_down(SDLK_LSHIFT, 0);
    SDL_Event up = {};
    up.type = SDL_KEYUP;
    up.key.keysym.sym = SDLK_a;
    push_sdl(up);
    pump_events(1);

    std::vector<event> r = drain();
    ASSERT_EQ(r.size(), 6u);
    EXPECT_EQ(r[0].code(), EV_KEY_DOWN);
    EXPECT_EQ(r[0].getInt(2), 65);
    EXPECT_EQ(r[1].code(), EV_CHAR);
    EXPECT_EQ(r[1].getInt(2), 97);
    EXPECT_EQ(r[2].getInt(2), 8);   // Backspace
    EXPECT_EQ(r[3].code(), EV_CHAR);
    EXPECT_EQ(r[3].getInt(2), 8);   // DEL typed becomes backspace
    EXPECT_EQ(r[4].code(), EV_KEY_DOWN);   // no character for Shift
    EXPECT_EQ(r[4].getInt(2), 160);
    EXPECT_EQ(r[5].code(), EV_KEY_UP);
    EXPECT_EQ(r[5].getInt(2), 65);
    for (const event& e : r)
        EXPECT_EQ(e.time(), 50000);
}

TEST_F(SdlLayer, ButtonsWheelMotionAndCloseBecomePointerRecords)
{
    set_screen_aspect(1280, 800, 1.3333334f);
    button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 640, 400);
    button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 640, 400);
    button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 0, 200);
    button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_WHEELUP, 10, 20);
    button(SDL_MOUSEBUTTONUP, SDL_BUTTON_WHEELUP, 10, 20);
    button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_WHEELDOWN, 10, 20);
    button(SDL_MOUSEBUTTONDOWN, 6, 10, 20);
    SDL_Event motion = {};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 1280;
    motion.motion.y = 800;
    motion.motion.xrel = -3;
    motion.motion.yrel = 4;
    motion.motion.state = SDL_BUTTON(SDL_BUTTON_LEFT) | SDL_BUTTON(SDL_BUTTON_RIGHT);
    push_sdl(motion);
    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    push_sdl(quit);
    SDL_Event other = {};
    other.type = SDL_ACTIVEEVENT;
    push_sdl(other);
    pump_events(1);

    std::vector<event> r = drain();
    ASSERT_EQ(r.size(), 7u);
    EXPECT_EQ(r[0].code(), EV_BUTTON_DOWN);
    EXPECT_EQ(r[0].getInt(4), 2);   // right
    EXPECT_FLOAT_EQ(r[0].getFloat(5), 0.5f);
    EXPECT_FLOAT_EQ(r[0].getFloat(6), 0.5f);
    EXPECT_EQ(r[1].code(), EV_BUTTON_UP);
    EXPECT_EQ(r[1].getInt(4), 2);
    EXPECT_EQ(r[2].getInt(4), 4);   // middle
    EXPECT_NEAR(r[2].getFloat(5), -0.1f, 1e-5f);
    EXPECT_EQ(r[3].code(), EV_WHEEL);   // wheel up; its release pushes nothing
    EXPECT_EQ(r[3].getInt(2), 0);
    EXPECT_EQ(r[3].getInt(3), 120);
    EXPECT_EQ(r[4].code(), EV_WHEEL);
    EXPECT_EQ(r[4].getInt(3), -120);
    EXPECT_EQ(r[5].code(), EV_MOTION);
    EXPECT_EQ(r[5].getInt(2), 1280);
    EXPECT_FLOAT_EQ(r[5].getFloat(4), -3.0f);
    EXPECT_FLOAT_EQ(r[5].getFloat(5), 4.0f);
    EXPECT_EQ(r[5].getInt(6), 1 | 2);
    EXPECT_NEAR(r[5].getFloat(7), 1.1f, 1e-5f);
    EXPECT_FLOAT_EQ(r[5].getFloat(8), 1.0f);
    EXPECT_EQ(r[6].code(), EV_CLOSE);
}

TEST_F(SdlLayer, PointerScaleMapsTheCentredCanvas)
{
    EXPECT_FLOAT_EQ(inputState.pointerScale, 1.0f);
    EXPECT_FLOAT_EQ(inputState.pixelAspect, 1.3333f);
    set_screen_aspect(1280, 800, 4.0f / 3.0f);
    EXPECT_FLOAT_EQ(inputState.pointerScale, 1.2f);
    EXPECT_FLOAT_EQ(canvas_x(640), 0.5f);
    EXPECT_NEAR(canvas_x(0), -0.1f, 1e-6f);
    EXPECT_FLOAT_EQ(canvas_y(200), 0.25f);

    set_screen_aspect(0, 0, 0.0f);   // zeros keep the stored values
    EXPECT_EQ(inputState.screenWidth, 1280);
    EXPECT_FLOAT_EQ(inputState.pointerScale, 1.2f);
    set_screen_aspect(1024, 768, 0.0f);
    EXPECT_NEAR(inputState.pointerScale, 1.0f, 1e-6f);
}

TEST_F(SdlLayer, QueueCompactsBehindTheReaderAndPumpDropsUntakenRecords)
{
    for (int i = 0; i < 10; ++i) {
        event e;
        e.setInt(0, i);
        push_event(e);
    }
    event e;
    for (int i = 0; i < 8; ++i)
        ASSERT_EQ(pop_event(e), 1);
    event last;
    last.setInt(0, 10);
    push_event(last);   // 8 x 2 > 10 + 5: the two unread records move to the front
    EXPECT_EQ(eventQueue.readIndex, 0);
    ASSERT_EQ(eventQueue.records.size(), 3u);
    std::vector<event> rest = drain();
    ASSERT_EQ(rest.size(), 3u);
    EXPECT_EQ(rest[0].code(), 8);
    EXPECT_EQ(rest[2].code(), 10);
    EXPECT_EQ(pop_event(e), 0);

    push_event(e);
    pump_events(1);
    EXPECT_EQ(pop_event(e), 0);
}

TEST_F(SdlLayer, PageKeysFeedTheZoomFromTheFirstPumpOn)
{
    EXPECT_EQ(is_key_down(27), 0);   // before the first pump
    keys[SDLK_PAGEUP] = 1;
    pump_events(1);   // the clock starts here: nothing from before is counted
    EXPECT_EQ(get_wheel_delta(), 0.0f);
    fakeNow += 250;
    pump_events(1);
    EXPECT_EQ(get_wheel_delta(), 250.0f);
    EXPECT_EQ(get_wheel_delta(), 0.0f);

    keys[SDLK_PAGEDOWN] = 1;   // both held cancel
    fakeNow += 100;
    pump_events(1);
    EXPECT_EQ(get_wheel_delta(), 0.0f);
    keys[SDLK_PAGEUP] = 0;
    fakeNow += 40;
    pump_events(1);
    EXPECT_EQ(get_wheel_delta(), -40.0f);

    // Across the wrap of the 32-bit clock.
    keys[SDLK_PAGEDOWN] = 0;
    keys[SDLK_PAGEUP] = 1;
    fakeNow = 0x7FFFFFF0;
    pump_events(1);
    get_wheel_delta();
    fakeNow = int(0x80000010u);
    pump_events(1);
    EXPECT_EQ(get_wheel_delta(), 32.0f);
}

TEST_F(SdlLayer, HeldKeysIncludeEitherSideOfModifiersAndIgnoreBadCodes)
{
    pump_events(1);
    keys[SDLK_ESCAPE] = 1;
    keys[SDLK_RSHIFT] = 1;
    keys[SDLK_RCTRL] = 1;
    keys[SDLK_LALT] = 1;
    EXPECT_EQ(is_key_down(27), 1);
    EXPECT_EQ(is_key_down(16), 1);
    EXPECT_EQ(is_key_down(17), 1);
    EXPECT_EQ(is_key_down(18), 1);
    EXPECT_EQ(is_key_down(160), 0);   // left Shift
    EXPECT_EQ(is_key_down(161), 1);
    EXPECT_EQ(is_key_down(65), 0);
    EXPECT_EQ(is_key_down(300), 0);
    EXPECT_EQ(is_key_down(-1), 0);
    EXPECT_EQ(is_key_down(0), 0);   // no key: SDL key 0 is never held
}

TEST_F(SdlLayer, WindowModeAndTitleGoThroughTheRenderDevice)
{
    set_window_mode(-800, -600);   // no device yet: only stored
    EXPECT_EQ(inputState.windowMode, 0);
    EXPECT_EQ(inputState.windowWidth, 800);
    EXPECT_EQ(inputState.windowHeight, 600);

    RecordingDevice device;
    set_render_device(&device);
    set_window_title(L"Pet Park");
    RecordedCall call = device.find("SetVideoMode");
    EXPECT_EQ(call.i, (std::vector<long long>{0, 800, 600}));
    EXPECT_EQ(call.name, "Pet Park");

    set_window_mode(1024, -768);
    EXPECT_EQ(device.find("SetVideoMode").i, (std::vector<long long>{1, 1024, 768}));
    set_window_mode(1280, 720);
    EXPECT_EQ(device.find("SetVideoMode").i, (std::vector<long long>{2, 1280, 720}));
    EXPECT_EQ(device.find("SetVideoMode").name, "Pet Park");
    EXPECT_EQ(inputState.windowMode, 2);
}

TEST_F(SdlLayer, ResizeRecordsTheSizeAndResetsTheViewport)
{
    // Without a device only the screen size changes.
    SDL_Event resize = {};
    resize.type = SDL_VIDEORESIZE;
    resize.resize.w = 1600;
    resize.resize.h = 900;
    push_sdl(resize);
    pump_events(1);
    std::vector<event> r = drain();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].code(), EV_RESIZE);
    EXPECT_EQ(r[0].getInt(2), 1600);
    EXPECT_EQ(r[0].getInt(3), 900);
    EXPECT_EQ(inputState.screenWidth, 1600);
    EXPECT_NEAR(inputState.pointerScale, 1600.0f / (900.0f * 1.3333f), 1e-5f);

    ASSERT_NE(SDL_SetVideoMode(640, 480, 0, SDL_RESIZABLE), nullptr) << SDL_GetError();
    RecordingDevice device;
    set_render_device(&device);
    resize.resize.w = 800;
    resize.resize.h = 600;
    push_sdl(resize);
    pump_events(1);
    EXPECT_EQ(device.find("Viewport").i, (std::vector<long long>{0, 0, 800, 600}));
    EXPECT_EQ(SDL_GetVideoSurface()->w, 800);
    EXPECT_EQ(inputState.screenHeight, 600);
    drain();

    // Narrower than the 4:3 canvas, which would lose its sides: the width kept, the height
    // made 4:3, and the canvas spans the window.
    resize.resize.w = 640;
    resize.resize.h = 800;
    push_sdl(resize);
    pump_events(1);
    r = drain();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].getInt(2), 640);
    EXPECT_EQ(r[0].getInt(3), 480);
    EXPECT_EQ(device.find("Viewport").i, (std::vector<long long>{0, 0, 640, 480}));
    EXPECT_EQ(SDL_GetVideoSurface()->h, 480);
    EXPECT_EQ(inputState.screenHeight, 480);
    EXPECT_NEAR(canvas_x(0), 0.0f, 0.001f);
    EXPECT_NEAR(canvas_x(640), 1.0f, 0.001f);
}

TEST_F(SdlLayer, PumpedInputReachesTheDevicesAndCloseSetsTheSystemFlag)
{
    ControlMngr input;
    input.clearStep();
    set_screen_aspect(800, 600, 1.3333f);
    key_down(SDLK_LEFT, 0);
    key_down(SDLK_g, 'g');
    button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 400, 300);
    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    push_sdl(quit);
    pump_events(1);
    input.update();

    const sDevice* keyboard = input.mKeyboardDevices.front();
    EXPECT_EQ(keyboard->isHeld(37), 1);
    EXPECT_EQ(keyboard->data[kKeyboardCharWord].i, 103);
    EXPECT_EQ(input.isPointerDown(), 1);
    EXPECT_EQ(input.mSystemDevice->data[kSystemCloseWord].i, 1);
}

// What the logic steps see of one frame's input: one update and one clear per step.
struct StepView {
    int down;
    float x;
    int typed;
};

std::vector<StepView> runSteps(ControlMngr& input, int steps)
{
    std::vector<StepView> seen;
    for (int i = 0; i < steps; ++i) {
        input.update();
        seen.push_back({input.isPointerDown(), input.getPointer(-1).x,
                        input.mKeyboardDevices.front()->data[kKeyboardCharWord].i});
        input.clearStep();
    }
    return seen;
}

TEST_F(SdlLayer, AClickOrKeysWithinOneFrameAreSeenStepByStep)
{
    ControlMngr input;
    input.clearStep();
    set_screen_aspect(800, 600, 4.0f / 3.0f);
    auto move = [](Uint16 x, Uint16 y) {
        SDL_Event ev = {};
        ev.type = SDL_MOUSEMOTION;
        ev.motion.x = x;
        ev.motion.y = y;
        push_sdl(ev);
    };
    // A tap at (200, 300) and a move away, all in one pump.
    move(200, 300);
    button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 200, 300);
    button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 200, 300);
    move(600, 300);
    pump_events(1);

    std::vector<StepView> seen = runSteps(input, 3);
    EXPECT_EQ(seen[0].down, 1);
    EXPECT_FLOAT_EQ(seen[0].x, 0.25f);
    EXPECT_EQ(seen[1].down, 0) << "released in the next step";
    EXPECT_FLOAT_EQ(seen[1].x, 0.25f) << "where it was released";
    EXPECT_FLOAT_EQ(seen[2].x, 0.75f) << "then the move away";

    // "abc" typed 30 ms apart, all three keys down and up within one frame.
    for (SDLKey key : {SDLK_a, SDLK_b, SDLK_c}) {
        key_down(key, static_cast<Uint16>('a' + (key - SDLK_a)));
        SDL_Event up = {};
        up.type = SDL_KEYUP;
        up.key.keysym.sym = key;
        push_sdl(up);
    }
    pump_events(1);
    std::wstring typed;
    for (const StepView& step : runSteps(input, 8))
        if (step.typed != -1)
            typed += static_cast<wchar_t>(step.typed);
    EXPECT_EQ(typed, L"abc");
}

} // namespace

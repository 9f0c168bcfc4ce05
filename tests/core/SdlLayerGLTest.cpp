#include "core/sdl_layer.h"

#include "fixtures/RecordingDevice.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

// After gtest: X11 defines names (None, Bool) that gtest uses.
#include <SDL/SDL_syswm.h>
#include <X11/XKBlib.h>
#include <X11/keysym.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace {

// A real OpenGL window opened as the game's windowed mode (OpenGL + resizable), SDL started as
// the game starts it.
class SdlWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(start_sdl_video(), 0) << SDL_GetError();
        SDL_EnableUNICODE(1);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        ASSERT_NE(SDL_SetVideoMode(640, 480, 0, SDL_OPENGL | SDL_RESIZABLE), nullptr)
            << SDL_GetError();
        clear_events();
        inputState = InputState();
        set_render_device(&device);
    }

    void TearDown() override
    {
        set_render_device(nullptr);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    RecordingDevice device;
};

TEST_F(SdlWindow, ResizeKeepsTheOpenGLContextAndTheWindowFlags)
{
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const unsigned char pixel[4] = {255, 0, 0, 255};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    ASSERT_EQ(glIsTexture(texture), GL_TRUE);

    SDL_Event resize = {};
    resize.type = SDL_VIDEORESIZE;
    resize.resize.w = 800;
    resize.resize.h = 600;
    ASSERT_EQ(SDL_PushEvent(&resize), 0);
    pump_events(1);

    SDL_Surface* screen = SDL_GetVideoSurface();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->w, 800);
    EXPECT_EQ(screen->h, 600);
    EXPECT_TRUE(screen->flags & SDL_OPENGL);
    EXPECT_TRUE(screen->flags & SDL_RESIZABLE);
    EXPECT_EQ(inputState.videoFlags & (SDL_OPENGL | SDL_RESIZABLE), Uint32(SDL_OPENGL | SDL_RESIZABLE));
    EXPECT_EQ(glIsTexture(texture), GL_TRUE);   // the same context survived
    EXPECT_EQ(device.find("Viewport").i, (std::vector<long long>{0, 0, 800, 600}));
    // The window may grow under the pointer (moved by other windows on a shared display):
    // pointer records may come before the resize.
    event e;
    do {
        ASSERT_EQ(pop_event(e), 1);
    } while (e.code() == EV_MOTION);
    EXPECT_EQ(e.code(), EV_RESIZE);
}

TEST_F(SdlWindow, HiddenCursorGrabsTheInput)
{
    show_cursor(0);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), 0);
    EXPECT_EQ(SDL_WM_GrabInput(SDL_GRAB_QUERY), SDL_GRAB_ON);
    show_cursor(1);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), 1);
    EXPECT_EQ(SDL_WM_GrabInput(SDL_GRAB_QUERY), SDL_GRAB_OFF);
}

// How many events of the mask SDL holds, waiting up to two seconds for n of them; the test
// itself never pumps, so only SDL's own reading can bring them.
int awaitSdlEvents(Uint32 mask, int n)
{
    SDL_Event seen[32];
    int count = 0;
    for (int ms = 0; ms < 2000; ++ms) {
        count = SDL_PeepEvents(seen, 32, SDL_PEEKEVENT, mask);
        if (count >= n)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return count;
}

// A character the keyboard lacks, typed as xdotool types it: mapped to a spare key for the
// press, the map restored before the game's next frame, the key released; and the same again.
TEST_F(SdlWindow, ACharacterTypedThroughASpareKeyIsTakenEveryTime)
{
    Display* d = XOpenDisplay(nullptr);
    ASSERT_NE(d, nullptr);
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    ASSERT_EQ(SDL_GetWMInfo(&info), 1);
    XSetInputFocus(d, info.info.x11.wmwindow, RevertToParent, CurrentTime);
    int first = 0, last = 0, perKey = 0;
    XDisplayKeycodes(d, &first, &last);
    KeySym* map = XGetKeyboardMapping(d, static_cast<KeyCode>(first), last - first + 1, &perKey);
    int spare = 0;
    for (int k = last; k >= first && spare == 0; --k) {
        bool unused = true;
        for (int i = 0; i < perKey; ++i)
            unused = unused && map[(k - first) * perKey + i] == NoSymbol;
        if (unused)
            spare = k;
    }
    XFree(map);
    ASSERT_NE(spare, 0);
    // The focus moves before the keys: the window may lose and regain it. SDL has read that once
    // it has read a close request sent after it (taken off again).
    XEvent marker = {};
    marker.xclient.type = ClientMessage;
    marker.xclient.window = info.info.x11.wmwindow;
    marker.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    marker.xclient.format = 32;
    marker.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    XSendEvent(d, info.info.x11.wmwindow, False, NoEventMask, &marker);
    XSync(d, False);
    ASSERT_EQ(awaitSdlEvents(SDL_QUITMASK, 1), 1);
    SDL_Event quit;
    SDL_PeepEvents(&quit, 1, SDL_GETEVENT, SDL_QUITMASK);

    KeySym udiaeresis = XK_udiaeresis;
    KeySym none = NoSymbol;
    for (int n = 1; n <= 2; ++n) {
        XChangeKeyboardMapping(d, spare, 1, &udiaeresis, 1);
        XSync(d, False);
        XTestFakeKeyEvent(d, spare, True, CurrentTime);
        XSync(d, False);
        EXPECT_EQ(awaitSdlEvents(SDL_KEYDOWNMASK, n), n);
        XChangeKeyboardMapping(d, spare, 1, &none, 1);
        XSync(d, False);
        XTestFakeKeyEvent(d, spare, False, CurrentTime);
        XSync(d, False);
        EXPECT_EQ(awaitSdlEvents(SDL_KEYUPMASK, n), n);
    }
    XCloseDisplay(d);

    pump_events(1);
    std::vector<int> typed;
    event e;
    while (pop_event(e))
        if (e.code() == EV_CHAR)
            typed.push_back(e.getInt(2));
    EXPECT_EQ(typed, (std::vector<int>{0xFC, 0xFC}));
}

} // namespace

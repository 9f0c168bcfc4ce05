#include "core/sdl_layer.h"

#include "fixtures/RecordingDevice.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace {

// A real OpenGL window opened as the game's windowed mode (OpenGL + resizable).
class SdlWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
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

} // namespace

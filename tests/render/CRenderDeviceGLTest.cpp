// The facade's choice of device: the programmable one by default, the fixed-function one with
// "NOARB" or when the programmable one cannot work (no ARB fragment programs). Each case opens
// its own window, so each runs in a child process. Without an X display the engine stops with
// a message instead of crashing.

#include "core/sdl_layer.h"
#include "render/CRender.h"
#include "render/device_gl_arb.h"
#include "render/device_gl_fixed.h"
#include "render/render.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Exit code 10 for the programmable device, 20 for the fixed-function one.
void openAndReport(const char* options)
{
    inputState.windowMode = 2;
    inputState.windowWidth = 320;
    inputState.windowHeight = 240;
    CRender engine(options, "");
    Device* device = CRender::current()->getDevice();
    // A frame runs on it.
    CRender::begin(nullptr, 0, 1.3333f);
    CRender::end(7);
    if (dynamic_cast<Device_GL_fixed*>(device))
        std::_Exit(20);
    if (dynamic_cast<Device_GL_arb*>(device))
        std::_Exit(10);
    std::_Exit(1);
}

class CRenderDevice : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(CRenderDevice, TheGameOptionsBuildTheProgrammableDevice)
{
    EXPECT_EXIT(openAndReport("DISABLE_FBO NO_VSYNC NO_SLEEP"), ::testing::ExitedWithCode(10),
                "");
}

TEST_F(CRenderDevice, NoArbAnywhereBuildsTheFixedFunctionDevice)
{
    EXPECT_EXIT(openAndReport("DISABLE_FBO xNOARBx"), ::testing::ExitedWithCode(20), "");
}

TEST_F(CRenderDevice, WithoutFragmentProgramsTheFixedFunctionDeviceTakesOver)
{
    EXPECT_EXIT(
        {
            setenv("MESA_EXTENSION_OVERRIDE", "-GL_ARB_fragment_program", 1);
            openAndReport("DISABLE_FBO");
        },
        ::testing::ExitedWithCode(20), "");
}

TEST_F(CRenderDevice, WithoutADisplayTheEngineStopsWithAMessage)
{
    EXPECT_EXIT(
        {
            unsetenv("DISPLAY");
            setenv("SDL_VIDEODRIVER", "x11", 1);
            openAndReport("");
        },
        ::testing::ExitedWithCode(1),
        "Can't start SDL video: .*\n(.|\n)*the OpenGL device can't be initialised");
}

}  // namespace

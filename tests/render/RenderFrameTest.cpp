// The frame renderer's begin and end against the recording device: the fixed pass order,
// presenting and clearing by the flags, aspects, and the started/not-started assertions.

#include "fixtures/HeadlessEngine.h"
#include "core/sdl_layer.h"
#include "render/CRender.h"
#include "render/image.h"
#include "render/render.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

class RenderFrame : public ::testing::Test {
protected:
    void SetUp() override { engine.device.clear(); }

    // The operations of the log that show the pass order.
    std::vector<std::string> passOps()
    {
        std::vector<std::string> out;
        for (const RecordedCall& c : engine.device.calls()) {
            if (c.op == "SetTarget" || c.op == "SetMatrix" || c.op == "DrawFromMemory" ||
                c.op == "Present" || c.op == "Clear")
                out.push_back(c.op);
        }
        return out;
    }

    HeadlessEngine engine;
};

TEST_F(RenderFrame, EndRunsTargetThen3DThen2DThenPresentThenClear)
{
    ::Image image;
    ASSERT_TRUE(image.create(2, 4, 4, nullptr));
    engine.device.clear();
    CRender::begin(nullptr, 0.0f, 1.3333f);
    const float white[4] = {1, 1, 1, 1};
    image.draw(0, 0, 1, 1, white, 1);
    CRender::end(7);
    std::vector<std::string> expected = {"SetTarget", "SetMatrix", "SetMatrix", "DrawFromMemory",
                                         "Present", "Clear"};
    EXPECT_EQ(passOps(), expected);
    RecordedCall clear = engine.device.find("Clear");
    EXPECT_EQ(clear.i, (std::vector<long long>{1, 1}));
    EXPECT_EQ(clear.f, (std::vector<float>{0, 0, 0}));
    // The 2D projection is the second matrix: the canvas's own aspect fills a 4:3 window.
    std::vector<RecordedCall> matrices = engine.device.calls("SetMatrix");
    ASSERT_EQ(matrices.size(), 2u);
    float s = 1.3333f / (1024.0f / 768.0f);
    EXPECT_FLOAT_EQ(matrices[1].f[0], 2 * s);
    EXPECT_FLOAT_EQ(matrices[1].f[3], -s);
    EXPECT_FLOAT_EQ(matrices[1].f[5], -2);
    EXPECT_FLOAT_EQ(matrices[1].f[7], 1);
    EXPECT_EQ(image.inUse, 0);
}

TEST_F(RenderFrame, FlagsChooseClearingAndPresenting)
{
    CRender::begin(nullptr, 0.0f, 1.3333f);
    CRender::end(0);
    EXPECT_EQ(engine.device.count("Present"), 0);
    EXPECT_EQ(engine.device.find("Clear").i, (std::vector<long long>{0, 0}));

    engine.device.clear();
    CRender::begin(nullptr, 0.0f, 1.3333f);
    CRender::end(4);
    EXPECT_EQ(engine.device.count("Present"), 1);
    EXPECT_EQ(engine.device.find("Clear").i, (std::vector<long long>{0, 0}));

    engine.device.clear();
    CRender::begin(nullptr, 0.0f, 1.3333f);
    CRender::end(2);
    EXPECT_EQ(engine.device.count("Present"), 0);
    EXPECT_EQ(engine.device.find("Clear").i, (std::vector<long long>{0, 1}));
}

TEST_F(RenderFrame, AspectZeroTakesTheWindowsOrTheTargets)
{
    engine.device.setScreenSize(1280, 720);
    engine.render.begin(nullptr, 0.0f, 1.3333f);
    EXPECT_FLOAT_EQ(engine.render.get_aspect(), 1280.0f / 720.0f);
    engine.render.end(true, true, true);

    ::Image target;
    ASSERT_TRUE(target.create_target(200, 100));
    engine.device.clear();
    engine.render.begin(&target, 0.0f, 1.0f);
    EXPECT_FLOAT_EQ(engine.render.get_aspect(), 2.0f);
    engine.render.end(true, true, true);
    // Frames drawn into an image are never presented; the target is set for the passes.
    EXPECT_EQ(engine.device.count("Present"), 0);
    EXPECT_EQ(engine.device.find("SetTarget").i[0], engine.device.idOf(target.target));
}

TEST_F(RenderFrame, BeginHandsTheCanvasAspectToThePointer)
{
    inputState.screenWidth = 1280;
    inputState.screenHeight = 720;
    CRender::begin(nullptr, 0.0f, 1.3333f);
    CRender::end(7);
    EXPECT_FLOAT_EQ(inputState.pixelAspect, 1.3333f);
    EXPECT_FLOAT_EQ(inputState.pointerScale, 1280.0f / (720.0f * 1.3333f));
}

TEST_F(RenderFrame, TheFrameAllocatorIsEmptiedByEnd)
{
    CRender::begin(nullptr, 0.0f, 1.3333f);
    void* first = engine.render.allocator().alloc(100, 16);
    ASSERT_NE(first, nullptr);
    CRender::end(7);
    // Nothing queued refers to the frame's memory after end; a new frame allocates afresh.
    CRender::begin(nullptr, 0.0f, 1.3333f);
    EXPECT_NE(engine.render.allocator().alloc(100, 16), nullptr);
    CRender::end(7);
}

TEST_F(RenderFrame, NoCurrentRendererMeansFacadeCallsDoNothing)
{
    Render::set_current(nullptr);
    CRender::begin(nullptr, 0.0f, 1.3333f);
    CRender::end(7);
    EXPECT_EQ(engine.device.count("Clear"), 0);
    EXPECT_EQ(CRender::current(), nullptr);
    Render::set_current(&engine.render);
}

using RenderFrameDeathTest = RenderFrame;

TEST_F(RenderFrameDeathTest, EndWithoutBeginAndASecondBeginStop)
{
    EXPECT_DEATH(engine.render.end(true, true, true), "failed assertion `was_render_started\\(\\)'");
    EXPECT_DEATH(
        {
            engine.render.begin(nullptr, 0, 1.3333f);
            engine.render.begin(nullptr, 0, 1.3333f);
        },
        "failed assertion `!was_render_started\\(\\)'");
    float3 eye(0, -10, 5), at(0, 0, 0), up(0, 0, 1);
    EXPECT_DEATH(engine.render.set_camera(eye, at, up, 45, 0), "was_render_started");
}

TEST_F(RenderFrameDeathTest, ATargetImageWithoutRenderTargetStops)
{
    ::Image plain;
    ASSERT_TRUE(plain.create(2, 4, 4, nullptr));
    EXPECT_DEATH(engine.render.begin(&plain, 0, 1), "currentTarget != NULL");
}

TEST_F(RenderFrame, CameraLooksAlongMinusZOfItsView)
{
    CRender::begin(nullptr, 0.0f, 1.3333f);
    CRender::set_camera(&engine.render, float3(0, -10, 0), float3(0, 0, 0), float3(0, 0, 1), 90,
                        1.0f);
    CRender::end(7);
    std::vector<RecordedCall> matrices = engine.device.calls("SetMatrix");
    ASSERT_EQ(matrices.size(), 2u);
    const std::vector<float>& m = matrices[0].f;
    // f = 1 / tan(45 degrees) = 1; near 0.1, far about 6000.
    EXPECT_NEAR(m[0], 1.0f, 1e-5);
    EXPECT_NEAR(m[5], 1.0f, 1e-5);
    EXPECT_FLOAT_EQ(m[10], -1.0000334f);
    EXPECT_FLOAT_EQ(m[11], -0.20000666f);
    EXPECT_FLOAT_EQ(m[14], -1);
    // View rows: side (1,0,0), up (0,0,1), -forward (0,-1,0); the eye goes to the origin.
    const float* v = &m[16];
    EXPECT_NEAR(v[0], 1, 1e-6);
    EXPECT_NEAR(v[6], 1, 1e-6);
    EXPECT_NEAR(v[9], -1, 1e-6);
    EXPECT_NEAR(v[11], -10, 1e-5);
    // A NaN eye leaves the camera unchanged.
    engine.device.clear();
    CRender::begin(nullptr, 0.0f, 1.3333f);
    CRender::set_camera(&engine.render, float3(NAN, 0, 0), float3(0, 0, 0), float3(0, 0, 1), 30,
                        1.0f);
    CRender::end(7);
    EXPECT_EQ(engine.device.calls("SetMatrix")[0].f, matrices[0].f);
}

}  // namespace

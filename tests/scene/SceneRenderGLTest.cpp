// A scene written by the scene builder, loaded and drawn by the renderer on the OpenGL device:
// its lit box shows the material's colour where the camera sees it, a see-through plane in
// front blends over it, and a layer switched off takes the box out of the picture.

#include "fixtures/GLTestWindow.h"
#include "fixtures/TempDir.h"
#include "render/object.h"
#include "render/render.h"
#include "scenelib/SceneBuilder.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace scenelib;

namespace {

class SceneRenderGL : public testing::Test {
protected:
    void SetUp() override
    {
        render.init(gl_test_device());
        previous = Render::current();
        Render::set_current(&render);
        // A red box on layer 0 lit by a light beside the camera; a half see-through white
        // plane on layer 1 in front of its left half.
        SceneBuilder b;
        MaterialDesc red("red", float3(1, 0, 0));
        red.specular = float3(0, 0, 0);
        b.addMesh("box", withMaterial(box(2, 2, 2), b.addMaterial(red)));
        MaterialDesc glass("glass NO_LIGHT", float3(1, 1, 1), 0.5f);
        b.addMesh("glass", withMaterial(transformed(plane(1, 4), rotationX(1.5707963f)),
                                        b.addMaterial(glass)),
                  0, Track{translation(float3(-1, -2, 0))}, 1);
        b.addLight(LightDesc("lamp !amb=0 !dif=1 !spc=0 !glo=0", float3(0, -6, 0)));
        ASSERT_TRUE(b.save(dir.file("box.3dn")));
        testing::internal::CaptureStdout();
        object.load(dir.file("box.3dn").c_str());
        testing::internal::GetCapturedStdout();
        ASSERT_TRUE(object.is_loaded());
    }
    void TearDown() override
    {
        object.unload();
        Render::set_current(previous);
    }

    // One frame from (0, -10, 0) looking along +y, left in the back buffer.
    void frame(const char* mask)
    {
        render.begin(nullptr, 0, 1.3333f);
        render.set_camera(float3(0, -10, 0), float3(0, 0, 0), float3(0, 0, 1), 45, 0);
        const float4 white(1, 1, 1, 1);
        object.draw(nullptr, 0, nullptr, 0, mask, nullptr, 0, &white);
        render.end(false, false, false);
        // The next frame starts from black.
        colourLeft = read_pixel(104, 128);
        colourRight = read_pixel(150, 128);
        colourCorner = read_pixel(4, 4);
        render.begin(nullptr, 0, 1.3333f);
        render.end(true, true, false);
    }

    TempDir dir;
    Render render{""};
    Render* previous = nullptr;
    Object object;
    Rgba colourLeft{}, colourRight{}, colourCorner{};
};

TEST_F(SceneRenderGL, TheLitBoxShowsItsColourAndTheGlassBlendsOverIt)
{
    frame(nullptr);
    // The face towards the camera and the light: red, about as bright as the light allows.
    EXPECT_GT(colourRight.r, 120) << colourRight.r;
    EXPECT_LT(colourRight.g, 10);
    EXPECT_LT(colourRight.b, 10);
    // Half white over it on the left.
    EXPECT_NEAR(colourLeft.r, 128 + colourRight.r / 2, 16) << colourLeft.r;
    EXPECT_NEAR(colourLeft.g, 128, 16) << colourLeft.g;
    EXPECT_NEAR(colourLeft.b, 128, 16) << colourLeft.b;
    EXPECT_TRUE(near_rgba(Rgba{colourCorner.r, colourCorner.g, colourCorner.b, 0}, 0, 0, 0, 0, 3));
}

TEST_F(SceneRenderGL, ALayerSwitchedOffLeavesItsMeshOut)
{
    // Layer 0 (the box and the light) off: only the glass, over black.
    frame("0");
    EXPECT_LT(colourRight.r, 5);
    EXPECT_NEAR(colourLeft.r, 128, 16);
    EXPECT_NEAR(colourLeft.g, 128, 16);
    EXPECT_EQ(object.in_use, 0);
}

}  // namespace

// The renderer's 3D side on the real OpenGL device (Mesa's software renderer under Xvfb):
// hand-filled coloured squares drawn lit, unlit, see-through and with a shadow-casting light,
// probed at a few pixels of the 256 x 256 test window.

#include "fixtures/GLTestWindow.h"
#include "fixtures/HandScene.h"
#include "render/device_gl_fixed.h"
#include "render/image.h"
#include "render/render.h"

#include <gtest/gtest.h>

namespace {

// Lights far away, so that the light falls alike on every vertex (lighting is per vertex).
const float kNoDecay[4] = {1, 0, 0, 1000};

// The window may have no alpha channel: colours only.
bool nearRgb(const Rgba& got, int r, int g, int b, int tolerance)
{
    return near_rgba(Rgba{got.r, got.g, got.b, 0}, r, g, b, 0, tolerance);
}

// A renderer of its own on the program's one window; framebuffer objects on, for the shadow map.
Render& engine()
{
    static Render* render = [] {
        Render* r = new Render("");
        r->init(gl_test_device());
        return r;
    }();
    return *render;
}

class Render3DGL : public ::testing::Test {
protected:
    void SetUp() override
    {
        Render::set_current(&engine());
        engine().begin(nullptr, 0, 1.3333f);
        engine().end(true, true, false);
    }
    void TearDown() override { Render::set_current(nullptr); }

    // A frame with the camera at (0, -10, 0) looking along +y, z up; the squares drawn, then
    // the passes run without presenting or clearing, so the back buffer holds the frame.
    void frame(HandScene& scene)
    {
        engine().begin(nullptr, 0, 1.3333f);
        engine().set_camera(float3(0, -10, 0), float3(0, 0, 0), float3(0, 0, 1), 60, 0);
        float4x3 world = identity4x3();
        float4 colour(1, 1, 1, 1);
        scene.object.draw(&world, 0, nullptr, 0, nullptr, nullptr, 0, &colour);
        engine().end(false, false, false);
    }
    Rgba centre() { return read_pixel(128, 128); }
};

TEST_F(Render3DGL, ALightInFrontShowsTheMaterialsColour)
{
    HandScene scene(gl_test_device());
    int red = scene.material("red", float3(1, 0, 0));
    scene.quad(red, float3(0, 0, 0), 3);
    scene.light(float3(0, -100, 0), float3(1, 1, 1), 0, 1, 0, 0, kNoDecay);
    frame(scene);
    EXPECT_TRUE(nearRgb(centre(), 255, 0, 0, 12)) << centre().r << " " << centre().g;
    // Outside the square the clear colour stays.
    EXPECT_TRUE(nearRgb(read_pixel(5, 5), 0, 0, 0, 3));
    EXPECT_EQ(scene.object.in_use, 0);
}

TEST_F(Render3DGL, ALightFromTheSideLightsLess)
{
    HandScene scene(gl_test_device());
    int white = scene.material("white", float3(1, 1, 1));
    scene.quad(white, float3(0, 0, 0), 3);
    // 60 degrees off the square's normal: half the light.
    scene.light(float3(86.60254f, -50, 0), float3(1, 1, 1), 0, 1, 0, 0, kNoDecay);
    frame(scene);
    Rgba c = centre();
    EXPECT_NEAR(c.r, 128, 16);
    EXPECT_NEAR(c.g, 128, 16);
}

TEST_F(Render3DGL, AnUnlitMaterialShowsItsOwnColour)
{
    HandScene scene(gl_test_device());
    int sky = scene.material("sky NO_LIGHT", float3(0.2f, 0.4f, 0.8f), 1, true);
    scene.quad(sky, float3(0, 0, 0), 3);
    // A light that would change it, were the material lit.
    scene.light(float3(0, -5, 0), float3(1, 0, 0), 1, 1, 0, 0, kNoDecay);
    frame(scene);
    EXPECT_TRUE(nearRgb(centre(), 51, 102, 204, 8))
        << centre().r << " " << centre().g << " " << centre().b;
}

TEST_F(Render3DGL, ASeeThroughSquareBlendsOverTheOneBehind)
{
    HandScene scene(gl_test_device());
    int red = scene.material("red NO_LIGHT", float3(1, 0, 0), 1, true);
    int glass = scene.material("glass NO_LIGHT", float3(0, 0, 1), 0.5f, true);
    scene.quad(glass, float3(0, 0, 0), 2);
    scene.quad(red, float3(0, 5, 0), 6);
    frame(scene);
    EXPECT_TRUE(nearRgb(centre(), 128, 0, 128, 16))
        << centre().r << " " << centre().g << " " << centre().b;
}

TEST_F(Render3DGL, ACutOutTexelLeavesWhatIsBehindVisible)
{
    // A texture green and fully transparent on the left, red and opaque on the right, on a
    // square in front of a blue one.
    unsigned char px[8 * 8 * 4];
    for (int i = 0; i < 64; ++i) {
        px[i * 4] = i % 8 < 4 ? 0 : 255;
        px[i * 4 + 1] = i % 8 < 4 ? 255 : 0;
        px[i * 4 + 2] = 0;
        px[i * 4 + 3] = i % 8 < 4 ? 0 : 255;
    }
    texture_t_opaque* tex = gl_test_device()->CreateTexture(2, 8, 8, px, 1, nullptr);
    for (int marked = 0; marked < 2; ++marked) {
        HandScene scene(gl_test_device());
        const int cut = scene.material("leaves NO_LIGHT", float3(1, 1, 1), 1, true);
        scene.set_map(cut, Object::slot_diffuse, scene.texture(tex));
        if (marked)
            scene.object.materials[size_t(cut)].transparency[0] = 1;
        const int blue = scene.material("blue NO_LIGHT", float3(0, 0, 1), 1, true);
        scene.quad(cut, float3(0, 0, 0), 2);
        scene.quad(blue, float3(0, 5, 0), 6);
        SetUp();  // a cleared frame
        frame(scene);
        const Rgba left = read_pixel(100, 128), right = read_pixel(156, 128);
        EXPECT_TRUE(nearRgb(right, 255, 0, 0, 12)) << right.r << " " << right.g << " " << right.b;
        if (marked)
            EXPECT_TRUE(nearRgb(left, 0, 0, 255, 12)) << left.r << " " << left.g << " " << left.b;
        else
            EXPECT_TRUE(nearRgb(left, 0, 255, 0, 12)) << "opaque draws every texel";
    }
    gl_test_device()->ReleaseTexture(tex);
}

TEST_F(Render3DGL, AShadowCastingLightLeavesTheFrameIntact)
{
    HandScene scene(gl_test_device());
    int green = scene.material("green", float3(0, 1, 0));
    scene.quad(green, float3(0, 0, 0), 3);
    // Looking along its -z axis, turned to face the square from the camera's side.
    int light = scene.light(float3(0, -100, 0), float3(1, 1, 1), 0, 1, 0, 0, kNoDecay, true);
    float4x3& m = scene.object.nodes[size_t(light)].matrices[0];
    m.m[1][1] = 0;
    m.m[1][2] = -1;
    m.m[2][1] = 1;
    m.m[2][2] = 0;
    frame(scene);
    EXPECT_TRUE(nearRgb(centre(), 0, 255, 0, 12)) << centre().r << " " << centre().g;
    EXPECT_TRUE(nearRgb(read_pixel(5, 5), 0, 0, 0, 3));
    // The next frame draws the same.
    frame(scene);
    EXPECT_TRUE(nearRgb(centre(), 0, 255, 0, 12));
}

TEST_F(Render3DGL, TheFixedFunctionDeviceLightsAlike)
{
    // A second device on the window, with its own GL state; it draws into an image, since
    // only the first device knows the window's size. The image's first frame is seen: a new
    // target starts cleared.
    Device_GL_fixed fixed("");
    ASSERT_TRUE(fixed.Init());
    fixed.InitStates();
    Render render("NOARB");
    render.init(&fixed);
    Render::set_current(&render);
    {
        ::Image target;
        ASSERT_TRUE(target.create_target(64, 64));
        HandScene scene(&fixed);
        int red = scene.material("red", float3(1, 0, 0));
        scene.quad(red, float3(0, 0, 0), 3);
        scene.light(float3(0, -100, 0), float3(1, 1, 1), 0, 1, 0, 0, kNoDecay);
        render.begin(&target, 0, 1.3333f);
        render.set_camera(float3(0, -10, 0), float3(0, 0, 0), float3(0, 0, 1), 60, 0);
        float4x3 world = identity4x3();
        float4 colour(1, 1, 1, 1);
        scene.object.draw(&world, 0, nullptr, 0, nullptr, nullptr, 0, &colour);
        // No clear after the passes: it would clear the image just drawn.
        render.end(false, false, false);
        const unsigned centre = target.get_pixel(32, 32);
        EXPECT_NEAR(int(centre & 0xff), 255, 12) << std::hex << centre;
        EXPECT_LE(int((centre >> 8) & 0xff), 12) << std::hex << centre;
        EXPECT_EQ(target.get_pixel(1, 1) & 0xffffffu, 0u);
    }
    Render::set_current(&engine());
    // The programmable device's state for the tests after this one.
    gl_test_device()->InitStates();
}

}  // namespace

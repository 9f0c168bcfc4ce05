// Images and text drawn through CRender on the real OpenGL device (Mesa's software renderer
// under Xvfb): pixels land where the centred 4:3 canvas puts them, images read back and save,
// and the generated fonts measure and draw.

#include "core/sdl_layer.h"
#include "fixtures/GLTestWindow.h"
#include "fixtures/PngWriter.h"
#include "fixtures/TempDir.h"
#include "render/CRender.h"
#include "render/device.h"
#include "render/font.h"
#include "render/image.h"
#include "render/render.h"

#include <GL/gl.h>
#include <IL/il.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace {

// The renderer on the program's one window, made current for these tests.
Render& engine()
{
    static Render* render = [] {
        Render* r = new Render("DISABLE_FBO NO_VSYNC NO_SLEEP");
        r->init(gl_test_device());
        return r;
    }();
    return *render;
}

Device* device()
{
    return engine().getDevice();
}

// Resizes the window; the back buffer takes the new size once a frame is presented.
void setWindow(int width, int height)
{
    int w = width, h = height;
    device()->SetVideoMode(Device::vm_window, &w, &h, L"Pet Park tests");
    device()->Present();
}

struct Pixel {
    int r, g, b;
};

// The back buffer's pixel at window column x, row y counted from the top.
Pixel probe(int x, int y)
{
    int width = 0, height = 0;
    device()->GetTargetSize(nullptr, &width, &height);
    unsigned char p[4] = {};
    glReadBuffer(GL_BACK);
    glReadPixels(x, height - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return Pixel{p[0], p[1], p[2]};
}

bool near(Pixel p, int r, int g, int b, int tolerance = 8)
{
    return std::abs(p.r - r) <= tolerance && std::abs(p.g - g) <= tolerance &&
           std::abs(p.b - b) <= tolerance;
}

// An image of one colour made from pixels.
void solid(CRender::Image& image, int w, int h, uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255)
{
    std::vector<uint8_t> px(size_t(w) * h * 4);
    for (size_t k = 0; k < px.size(); k += 4) {
        px[k] = r;
        px[k + 1] = g;
        px[k + 2] = b;
        px[k + 3] = a;
    }
    ASSERT_TRUE(image.engine()->create(2, w, h, px.data()));
}

// Draws the frame's queue and keeps the result in the back buffer (no present, no clear).
void finishWithoutClearing()
{
    CRender::end(0);
}

class RenderGL : public ::testing::Test {
protected:
    void SetUp() override
    {
        Render::set_current(&engine());
        setWindow(1024, 768);
        // A cleared frame to start from.
        CRender::begin(nullptr, 0, 1.3333f);
        CRender::end(3);
    }
    void TearDown() override
    {
        // The other tests of this program use the window at its first size.
        setWindow(256, 256);
        Render::set_current(nullptr);
    }
};

TEST_F(RenderGL, AnEmptyFrameIsBlack)
{
    CRender::begin(nullptr, 0, 1.3333f);
    CRender::end(4);
    CRender::begin(nullptr, 0, 1.3333f);
    finishWithoutClearing();
    EXPECT_TRUE(near(probe(512, 384), 0, 0, 0));
    EXPECT_TRUE(near(probe(3, 3), 0, 0, 0));
}

TEST_F(RenderGL, AnImageLandsOnItsRectangleInA43Window)
{
    CRender::Image red;
    solid(red, 8, 8, 255, 0, 0);
    CRender::begin(nullptr, 0, 1.3333f);
    red.draw(0.25f, 0.25f, 0.5f, 0.5f, 1, 1, 1, 1, 1);
    finishWithoutClearing();
    // The canvas covers the whole 4:3 window: the rectangle is pixels 256..768 x 192..576.
    EXPECT_TRUE(near(probe(512, 384), 255, 0, 0));
    EXPECT_TRUE(near(probe(260, 196), 255, 0, 0));
    EXPECT_TRUE(near(probe(764, 572), 255, 0, 0));
    EXPECT_TRUE(near(probe(250, 384), 0, 0, 0));
    EXPECT_TRUE(near(probe(774, 384), 0, 0, 0));
    EXPECT_TRUE(near(probe(512, 186), 0, 0, 0));
    EXPECT_TRUE(near(probe(512, 582), 0, 0, 0));
}

TEST_F(RenderGL, TheCanvasIsCentredInAWiderWindow)
{
    setWindow(1280, 720);
    CRender::begin(nullptr, 0, 1.3333f);
    CRender::end(3);
    CRender::Image white;
    solid(white, 4, 4, 255, 255, 255);
    CRender::begin(nullptr, 0, 1.3333f);
    white.draw(0, 0, 1, 1, 1, 1, 1, 1, 1);
    finishWithoutClearing();
    // 720 * 1.3333 = 960 pixels wide, from 160 to 1120.
    EXPECT_TRUE(near(probe(150, 360), 0, 0, 0));
    EXPECT_TRUE(near(probe(170, 360), 255, 255, 255));
    EXPECT_TRUE(near(probe(640, 10), 255, 255, 255));
    EXPECT_TRUE(near(probe(1110, 710), 255, 255, 255));
    EXPECT_TRUE(near(probe(1130, 360), 0, 0, 0));
    // The pointer maps onto the same canvas.
    EXPECT_NEAR(canvas_x(640), 0.5f, 1e-3);
    EXPECT_NEAR(canvas_x(160), 0.0f, 2e-3);

    // Text from the canvas's left edge starts at window column 160 and keeps its width.
    CRender::begin(nullptr, 0, 1.3333f);
    CRender::end(3);
    CRender::Font font;
    ASSERT_TRUE(font.load(std::string(PETPARK_APP_DIR) + "/Resources/data/fonts/sans_48.png"));
    CRender::begin(nullptr, 0, 1.3333f);
    float width = font.draw(L"HHH", 0, 0.5f, 0.1f, 1, 0, 1, 1, 1, 1, 1);
    finishWithoutClearing();
    int firstLit = -1, lastLit = -1;
    for (int px = 0; px < 1280; ++px) {
        Pixel p = probe(px, 396);
        if (p.r > 128) {
            if (firstLit < 0)
                firstLit = px;
            lastLit = px;
        }
    }
    EXPECT_GE(firstLit, 160);
    EXPECT_LT(firstLit, 160 + 20);
    EXPECT_LE(lastLit, 160 + int(width * 960) + 1);
    EXPECT_GT(lastLit, 160 + int(width * 960) - 20);
    font.destroy();
}

TEST_F(RenderGL, ColourAndBlendsMixWithTheFrame)
{
    CRender::Image white;
    solid(white, 4, 4, 255, 255, 255);
    CRender::begin(nullptr, 0, 1.3333f);
    white.draw(0, 0, 0.5f, 1, 0, 0, 1, 1, 1);       // blue, opaque
    white.draw(0, 0, 0.5f, 1, 1, 0, 0, 0.5f, 1);    // half red over it
    white.draw(0.5f, 0, 0.5f, 1, 0, 0.5f, 0, 1, 2); // green added on black
    finishWithoutClearing();
    EXPECT_TRUE(near(probe(200, 384), 128, 0, 128, 12));
    EXPECT_TRUE(near(probe(800, 384), 0, 128, 0, 12));
}

TEST_F(RenderGL, TextIsDrawnInsideTheBoxItMeasures)
{
    CRender::Font font;
    ASSERT_TRUE(font.load(std::string(PETPARK_APP_DIR) + "/Resources/data/fonts/sans_48.png"));
    float x = 0.1f, y = 0.4f, size = 0.125f;  // glyphs 96 pixels tall
    float width = font.draw(L"MWM", x, y, size, 1, 0, 1, 1, 1, 1, 0);
    ASSERT_GT(width, 0.2f);
    CRender::begin(nullptr, 0, 1.3333f);
    EXPECT_FLOAT_EQ(font.draw(L"MWM", x, y, size, 1, 0, 1, 1, 1, 1, 1), width);
    finishWithoutClearing();
    int left = int(x * 1024), right = int((x + width) * 1024);
    int top = int(y * 768), bottom = int((y + size) * 768);
    int inside = 0, outside = 0;
    for (int px = left - 40; px < right + 40; px += 2)
        for (int py = top - 40; py < bottom + 40; py += 2) {
            Pixel p = probe(px, py);
            bool lit = p.r > 128 && p.g > 128 && p.b > 128;
            if (px >= left - 1 && px <= right + 1 && py >= top - 1 && py <= bottom + 1)
                inside += lit;
            else
                outside += lit;
        }
    EXPECT_GT(inside, 200);
    EXPECT_EQ(outside, 0);
    // The middle of the first stem of "M" is white.
    bool stem = false;
    for (int px = left; px < left + 20; ++px)
        stem = stem || near(probe(px, (top + bottom) / 2), 255, 255, 255, 40);
    EXPECT_TRUE(stem);
    font.destroy();
}

TEST_F(RenderGL, ImagesReadBackAndSave)
{
    TempDir dir;
    // A 100 x 30 picture: left half red, right half opaque blue, written as a PNG.
    std::vector<uint8_t> px(100 * 30 * 4);
    for (int yy = 0; yy < 30; ++yy)
        for (int xx = 0; xx < 100; ++xx) {
            uint8_t* p = &px[(size_t(yy) * 100 + xx) * 4];
            p[0] = xx < 50 ? 255 : 0;
            p[2] = xx < 50 ? 0 : 255;
            p[1] = 0;
            p[3] = 255;
        }
    ILuint id = ilGenImage();
    ilBindImage(id);
    ilTexImage(100, 30, 1, 4, IL_RGBA, IL_UNSIGNED_BYTE, px.data());
    ilEnable(IL_FILE_OVERWRITE);
    ASSERT_TRUE(ilSave(IL_PNG, dir.file("pic.png").c_str()));
    ilDeleteImage(id);

    // Through the image library: padded to 128 x 32 with the picture at the lower left.
    ::Image padded;
    int w = 0, h = 0;
    ASSERT_TRUE(padded.load_il(dir.file("pic.png"), &w, &h));
    EXPECT_EQ(w, 100);
    EXPECT_EQ(h, 30);
    int tw = 0, th = 0;
    padded.get_size(&tw, &th);
    EXPECT_EQ(tw, 128);
    EXPECT_EQ(th, 32);
    EXPECT_EQ(padded.get_pixel(0, 0), 0xff0000ffu);
    EXPECT_EQ(padded.get_pixel(99, 29), 0xffff0000u);
    EXPECT_EQ(padded.get_alpha(0, 31), 0);
    EXPECT_EQ(padded.get_alpha(110, 0), 0);
    EXPECT_EQ(padded.get_alpha(0, 0), 255);
    EXPECT_EQ(padded.get_alpha(99, 29), 255);

    // Saved whole and reloaded, the texels come back.
    ASSERT_TRUE(padded.save(dir.file("saved.png").c_str(), 0, 0, "PNG"));
    CRender::Image again;
    ASSERT_TRUE(again.load(dir.file("saved.png")));
    again.get_size(&tw, &th);
    EXPECT_EQ(tw, 128);
    EXPECT_EQ(th, 32);
    EXPECT_EQ(again.get_pixel(0, 0), 0xff0000ffu);
    EXPECT_EQ(again.get_pixel(99, 29), 0xffff0000u);
    EXPECT_EQ(again.get_alpha(0, 31), 0);

    // Saving the top-left 100 x 2 texels keeps the top rows: transparent.
    ASSERT_TRUE(padded.save(dir.file("top.png").c_str(), 100, 2, "PNG"));
    id = ilGenImage();
    ilBindImage(id);
    ASSERT_TRUE(ilLoadImage(dir.file("top.png").c_str()));
    EXPECT_EQ(ilGetInteger(IL_IMAGE_WIDTH), 100);
    EXPECT_EQ(ilGetInteger(IL_IMAGE_HEIGHT), 2);
    ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE);
    EXPECT_EQ(ilGetData()[3], 0);
    ilDeleteImage(id);
}

TEST_F(RenderGL, ThePictureLoaderKeepsRowsBottomUp)
{
    TempDir dir;
    // 4 x 2 with the origin at the lower left: bottom row green, top row red.
    uint8_t px[4 * 2 * 4] = {};
    for (int xx = 0; xx < 4; ++xx) {
        px[xx * 4 + 1] = 255;
        px[xx * 4 + 3] = 255;
        px[16 + xx * 4 + 0] = 255;
        px[16 + xx * 4 + 3] = 255;
    }
    ILuint id = ilGenImage();
    ilBindImage(id);
    ilTexImage(4, 2, 1, 4, IL_RGBA, IL_UNSIGNED_BYTE, px);
    ilRegisterOrigin(IL_ORIGIN_LOWER_LEFT);
    ilEnable(IL_FILE_OVERWRITE);
    ASSERT_TRUE(ilSave(IL_PNG, dir.file("rows.png").c_str()));
    ilDeleteImage(id);
    CRender::Image image;
    ASSERT_TRUE(image.load(dir.file("rows.png")));
    EXPECT_EQ(image.get_pixel(0, 0), 0xff00ff00u);
    EXPECT_EQ(image.get_pixel(0, 1), 0xff0000ffu);
    // Drawn, the top row shows at the top; the half-texel inset blends the rows in between.
    CRender::begin(nullptr, 0, 1.3333f);
    image.draw(0, 0, 1, 1, 1, 1, 1, 1, 1);
    finishWithoutClearing();
    EXPECT_TRUE(near(probe(512, 3), 255, 0, 0));
    EXPECT_TRUE(near(probe(512, 764), 0, 255, 0));
    EXPECT_TRUE(near(probe(512, 384), 128, 128, 0));
}

}  // namespace

namespace {

TEST_F(RenderGL, AFailedRefillLeavesTheImageEmpty)
{
    ::Image image;
    const uint8_t px[4 * 4 * 4] = {};
    ASSERT_TRUE(image.create(2, 4, 4, px));
    // The device frees the texture it was given when the format is refused: the image must
    // not keep it (releasing it again would free it twice).
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(image.create(5, 4, 4, px));
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("unsupported data format 5"),
              std::string::npos);
    EXPECT_FALSE(image.is_loaded());
    int w = -1, h = -1;
    image.get_size(&w, &h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
    image.release();
    // And it can be made again.
    ASSERT_TRUE(image.create(2, 4, 4, px));
}

}  // namespace

namespace {

// The image library keeps one bound image for the whole process: a texture decoded on the
// loader thread while the main thread saves and reloads images must not pick up the other
// thread's picture.
TEST_F(RenderGL, ImageLibraryWorkOfTwoThreadsDoesNotMix)
{
    TempDir dir;
    std::vector<unsigned char> red(64 * 64 * 4);
    for (size_t k = 0; k < red.size(); k += 4) {
        red[k] = 255;
        red[k + 3] = 255;
    }
    const std::vector<unsigned char> png = make_png(64, 64, red.data());
    CRender::Image blue;
    solid(blue, 32, 32, 0, 0, 255);

    const int kLoads = 25;
    std::vector<texture_t_opaque*> loaded;
    std::atomic<bool> done{false};
    ::testing::internal::CaptureStdout();
    std::thread loader([&] {
        for (int i = 0; i < kLoads; ++i)
            loaded.push_back(device()->LoadTexture(png.data(), int(png.size()), 1));
        done = true;
    });
    int rounds = 0;
    bool blueKept = true;
    while (!done) {
        device()->Clear(0, 0, 0, true, true);  // serves the loader's uploads
        const std::string path = dir.file("blue" + std::to_string(rounds % 2) + ".png");
        ::Image back;
        if (!blue.save(path.c_str(), 0, 0, "PNG") || !back.load_il(path, nullptr, nullptr) ||
            back.get_pixel(5, 5) != 0xffff0000u)
            blueKept = false;
        ++rounds;
    }
    loader.join();
    ::testing::internal::GetCapturedStdout();
    EXPECT_TRUE(blueKept);
    ASSERT_EQ(int(loaded.size()), kLoads);
    std::vector<unsigned char> px(64 * 64 * 4);
    for (texture_t_opaque* t : loaded) {
        ASSERT_NE(t, nullptr);
        int w = 0, h = 0;
        device()->GetTextureInfo(t, &w, &h, nullptr);
        ASSERT_EQ(w, 64);
        ASSERT_EQ(h, 64);
        device()->GetTexturePixels(t, px.data());
        EXPECT_EQ(px[0], 255);
        EXPECT_EQ(px[2], 0);
        EXPECT_EQ(px[64 * 64 * 4 - 4], 255);
        device()->ReleaseTexture(t);
    }
}

}  // namespace

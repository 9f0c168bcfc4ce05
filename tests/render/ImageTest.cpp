// Images against the recording device: the whole-file reader, the ".flags" descriptor, the
// texture coordinates of partial and transformed draws, the read-back cache and release.

#include "fixtures/HeadlessEngine.h"
#include "fixtures/TempDir.h"
#include "render/CRender.h"
#include "render/image.h"
#include "render/render.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

const float kWhite[4] = {1, 1, 1, 1};

// The first bytes of a PNG of the given size: enough for the recording device's LoadTexture.
std::string pngHeader(int w, int h)
{
    std::string s("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
    for (int v : {w, h})
        for (int shift = 24; shift >= 0; shift -= 8)
            s.push_back(char((v >> shift) & 0xff));
    s += std::string(8, '\0');
    return s;
}

class ImageTest : public ::testing::Test {
protected:
    HeadlessEngine engine;
    TempDir dir;
};

TEST_F(ImageTest, LoadFileVReadsWholeFilesAndWarnsOnBadPaths)
{
    std::vector<unsigned char> bytes = {9};
    std::string path = dir.write("data.bin", std::string("a\0b", 3));
    ASSERT_TRUE(LoadFileV(path.c_str(), bytes));
    EXPECT_EQ(bytes, (std::vector<unsigned char>{'a', 0, 'b'}));

    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(LoadFileV("", bytes));
    EXPECT_FALSE(LoadFileV(dir.file("missing").c_str(), bytes));
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "Warning: opening null filename\nWarning: can't open " + dir.file("missing") +
                       "\n");
    EXPECT_EQ(bytes.size(), 3u);
}

TEST_F(ImageTest, TheFlagsDescriptorDropsTheHalfTexelInset)
{
    std::string plain = dir.write("a.png", pngHeader(64, 16));
    std::string flagged = dir.write("b.png", pngHeader(64, 16));
    dir.write("b.flags", "1\n");
    ::Image p, f;
    ASSERT_TRUE(p.load(plain));
    ASSERT_TRUE(f.load(flagged));
    EXPECT_FLOAT_EQ(p.halfTexelX, 0.5f / 64);
    EXPECT_FLOAT_EQ(p.halfTexelY, 0.5f / 16);
    EXPECT_EQ(p.flags, 0);
    EXPECT_EQ(f.flags, 1);
    EXPECT_EQ(f.halfTexelX, 0.0f);
    EXPECT_EQ(f.halfTexelY, 0.0f);
    EXPECT_EQ(p.name, plain);
    // Loaded with one level.
    EXPECT_EQ(engine.device.find("LoadTexture").i[1], 1);
}

TEST_F(ImageTest, ADotInAFolderNameIsNoDescriptor)
{
    ASSERT_EQ(system(("mkdir -p " + dir.file("x.v2")).c_str()), 0);
    dir.write("x.v2/pic", pngHeader(8, 8));
    dir.write("x.flags", "1");
    ::Image image;
    ASSERT_TRUE(image.load(dir.file("x.v2/pic")));
    EXPECT_EQ(image.flags, 0);
}

TEST_F(ImageTest, MissingOrUndecodableFilesLeaveTheImageUnloaded)
{
    ::Image image;
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(image.load(dir.file("none.png")));
    ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(image.is_loaded());
    engine.device.failLoads(true);
    EXPECT_FALSE(image.load(dir.write("c.png", pngHeader(4, 4))));
    EXPECT_FALSE(image.is_loaded());
}

TEST_F(ImageTest, DrawPartAndDrawTransformedCarryTheirTextureCoordinates)
{
    ::Image image;
    ASSERT_TRUE(image.create(2, 32, 16, nullptr));
    float a = 0.5f / 32, b = 0.5f / 16;
    engine.render.begin(nullptr, 0, 1.3333f);
    image.draw_part(0.1f, 0.1f, 0.2f, 0.2f, 0.25f, 0.5f, 0.5f, 0.25f, kWhite, 1);
    ::Image other;
    ASSERT_TRUE(other.create(2, 32, 16, nullptr));
    const float corners[16] = {0, 0, 0, 0, 1, 0, 1, 0, 1, 1, 1, 1, 0, 1, 0, 1};
    other.draw_transformed(corners, kWhite, 1);
    engine.device.clear();
    engine.render.end(true, true, true);
    std::vector<RecordedCall> d = engine.device.calls("DrawFromMemory");
    ASSERT_EQ(d.size(), 2u);
    std::vector<float> part = {0.25f + a, 0.5f + b,         0.25f + a,        0.75f - b,
                               0.75f - a, 0.75f - b,        0.75f - a,        0.5f + b};
    for (size_t k = 0; k < part.size(); ++k)
        EXPECT_FLOAT_EQ(d[0].streams[1][k], part[k]) << k;
    std::vector<float> transformed = {a, b, 1 - a, b, 1 - a, 1 - b, a, 1 - b};
    for (size_t k = 0; k < transformed.size(); ++k)
        EXPECT_FLOAT_EQ(d[1].streams[1][k], transformed[k]) << k;
    EXPECT_EQ(d[1].streams[0], (std::vector<float>{0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0}));
}

TEST_F(ImageTest, TheReadBackCacheKeepsFiveImagesAndReplacesTheOldest)
{
    std::vector<std::unique_ptr<::Image>> images;
    for (int k = 0; k < 6; ++k) {
        images.emplace_back(new ::Image);
        ASSERT_TRUE(images.back()->create(2, 8, 8, nullptr));
    }
    engine.device.clear();
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(images[k]->get_alpha(1, 2), 0);
    EXPECT_EQ(engine.device.count("GetTexturePixels"), 5);
    for (int k = 0; k < 5; ++k)
        images[k]->get_alpha(7, 7);
    EXPECT_EQ(engine.device.count("GetTexturePixels"), 5);
    // The sixth takes the oldest slot, which is the first image's.
    images[5]->get_alpha(0, 0);
    EXPECT_EQ(engine.device.count("GetTexturePixels"), 6);
    for (int k = 1; k < 6; ++k)
        images[k]->get_alpha(0, 0);
    EXPECT_EQ(engine.device.count("GetTexturePixels"), 6);
    images[0]->get_alpha(0, 0);
    EXPECT_EQ(engine.device.count("GetTexturePixels"), 7);
    // A frame rendered into an image drops its copy.
    images[0]->forget_readback();
    images[0]->get_alpha(0, 0);
    EXPECT_EQ(engine.device.count("GetTexturePixels"), 8);
    // A whole pixel is read from the texture each time, beside the cached alpha.
    images[0]->get_pixel(0, 0);
    images[0]->get_pixel(0, 0);
    EXPECT_EQ(engine.device.count("GetTexturePixels"), 10);
}

// The cache keeps only the alpha: every texel's cached alpha is the alpha byte of the texture,
// for images that take turns in the cache and after a copy was dropped.
TEST_F(ImageTest, CachedAlphaAnswersAsTheTexturesPixels)
{
    const int w = 16, h = 8;
    std::vector<std::unique_ptr<::Image>> images;
    for (int k = 0; k < 7; ++k) {
        std::vector<unsigned char> rgba(size_t(w) * h * 4);
        for (size_t i = 0; i < rgba.size(); ++i)
            rgba[i] = static_cast<unsigned char>(i * 7 + k * 31 + (i % 4 == 3 ? i / 4 : 0));
        images.emplace_back(new ::Image);
        ASSERT_TRUE(images.back()->create(2, w, h, rgba.data()));
    }
    for (int round = 0; round < 2; ++round) {
        for (auto& image : images)
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; x += 3) {
                    const unsigned pixel = image->get_pixel(x, y);
                    ASSERT_EQ(image->get_alpha(x, y), int(pixel >> 24)) << x << "," << y;
                    ASSERT_EQ(image->get_alpha(w - 1 - x, h - 1 - y), int(image->get_pixel(w - 1 - x, h - 1 - y) >> 24));
                }
        images[3]->forget_readback();
    }
}

TEST_F(ImageTest, ReadingAnUnloadedImageGivesZero)
{
    ::Image image;
    EXPECT_EQ(image.get_pixel(3, 3), 0u);
    int w = 7, h = 7;
    image.get_size(&w, &h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
}

TEST_F(ImageTest, ReleaseWaitsForQueuedDrawsAndFreesTheTexture)
{
    ::Image image;
    ASSERT_TRUE(image.create(2, 8, 8, nullptr));
    EXPECT_EQ(engine.device.liveTextures(), 1);
    engine.render.begin(nullptr, 0, 1.3333f);
    image.draw(0, 0, 1, 1, kWhite, 1);
    EXPECT_EQ(image.inUse, 1);
    std::thread releaser([&] { image.release(); });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_TRUE(image.is_loaded());  // still waiting for the frame
    engine.render.end(true, true, true);
    releaser.join();
    EXPECT_FALSE(image.is_loaded());
    EXPECT_EQ(engine.device.liveTextures(), 0);
}

TEST_F(ImageTest, RenderTargetsReleaseTheirTexturesWithTheFramebuffer)
{
    ::Image target;
    ASSERT_TRUE(target.create_target(64, 32));
    EXPECT_EQ(engine.device.liveTargets(), 1);
    EXPECT_EQ(engine.device.liveTextures(), 2);
    EXPECT_EQ(engine.device.textureFormat(target.texture), 256);
    EXPECT_EQ(engine.device.textureFormat(target.depth), 130);
    target.release();
    EXPECT_EQ(engine.device.liveTargets(), 0);
    EXPECT_EQ(engine.device.liveTextures(), 0);

    engine.device.failFramebuffers(true);
    EXPECT_FALSE(target.create_target(64, 32));
    EXPECT_FALSE(target.is_loaded());
    EXPECT_EQ(engine.device.liveTextures(), 0);
}

TEST_F(ImageTest, FacadeImagesLoadDrawAndMeasure)
{
    CRender::Image image;
    EXPECT_FALSE(image.is_loaded());
    ASSERT_TRUE(image.load(dir.write("d.png", pngHeader(100, 30))));
    int w = 0, h = 0;
    image.get_size(&w, &h);
    EXPECT_EQ(w, 128);
    EXPECT_EQ(h, 32);
    CRender::begin(nullptr, 0, 1.3333f);
    image.draw(0, 0, 1, 1, 1, 1, 1, 1, 1);
    image.draw_part(0, 0, 1, 1, 0, 0, 0.5f, 0.5f, 1, 1, 1, 1, 1);
    engine.device.clear();
    CRender::end(7);
    EXPECT_EQ(engine.device.count("DrawFromMemory"), 1);  // one run of two quads
    image.release();
    EXPECT_FALSE(image.is_loaded());
}

using ImageDeathTest = ImageTest;

TEST_F(ImageDeathTest, PixelsOutsideTheTextureAndDoubleLoadsStop)
{
    ::Image image;
    ASSERT_TRUE(image.create(2, 8, 4, nullptr));
    EXPECT_DEATH(image.get_pixel(8, 0), "x >= 0 && y >= 0 && x < W && y < H");
    EXPECT_DEATH(image.get_alpha(0, -1), "x >= 0 && y >= 0 && x < W && y < H");
    EXPECT_DEATH(image.load(dir.write("e.png", pngHeader(4, 4))), "!is_loaded\\(\\)");
}

}  // namespace

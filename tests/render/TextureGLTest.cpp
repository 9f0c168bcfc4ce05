#include "fixtures/GLTestWindow.h"
#include "fixtures/PngWriter.h"

#include "render/device_gl_fixed.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

// A w x h picture, top half red, bottom half blue, rows top first.
std::vector<unsigned char> redOverBlue(int w, int h)
{
    std::vector<unsigned char> px(size_t(w) * size_t(h) * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            unsigned char* p = &px[(size_t(y) * size_t(w) + size_t(x)) * 4];
            const bool top = y < h / 2;
            p[0] = top ? 255 : 0;
            p[1] = 0;
            p[2] = top ? 0 : 255;
            p[3] = 255;
        }
    return px;
}

// The same picture as an uncompressed 32-bit DDS (BGRA bytes, rows top first).
std::vector<unsigned char> ddsOf(int w, int h, const std::vector<unsigned char>& rgba)
{
    return make_dds32(w, h, rgba.data());
}

std::vector<unsigned char> pixelsOf(Device_GL* dev, texture_t_opaque* t)
{
    int w = 0, h = 0;
    dev->GetTextureInfo(t, &w, &h, nullptr);
    std::vector<unsigned char> out(size_t(w) * size_t(h) * 4);
    dev->GetTexturePixels(t, out.data());
    return out;
}

TEST(Textures, EveryFormatOfTheTableMakesATexture)
{
    Device_GL* dev = gl_test_device();
    for (int format : {1, 2, 3, 4, 256, 129, 130}) {
        texture_t_opaque* t = dev->CreateTexture(format, 16, 8, nullptr, 1, nullptr);
        ASSERT_NE(t, nullptr) << format;
        int w = 0, h = 0, d = 0;
        dev->GetTextureInfo(t, &w, &h, &d);
        EXPECT_EQ(w, 16);
        EXPECT_EQ(h, 8);
        EXPECT_EQ(d, 1);
        dev->ReleaseTexture(t);
    }
    CaptureStderr();
    EXPECT_EQ(dev->CreateTexture(5, 4, 4, nullptr, 1, nullptr), nullptr);
    EXPECT_NE(GetCapturedStderr().find("Warning: unsupported data format 5\n"), std::string::npos);
    dev->ReleaseTexture(nullptr);
    int w = 7;
    dev->GetTextureInfo(nullptr, &w, nullptr, nullptr);
    EXPECT_EQ(w, 0);
}

TEST(Textures, PixelsOfOddWidthsAndBgrOrderReadBack)
{
    Device_GL* dev = gl_test_device();
    // 3 x 2 RGB: rows of 9 bytes, not a multiple of 4.
    const unsigned char rgb[18] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    texture_t_opaque* t = dev->CreateTexture(1, 3, 2, rgb, 1, nullptr);
    std::vector<unsigned char> back = pixelsOf(dev, t);
    EXPECT_EQ(back[4 * 3 + 0], 10);  // first pixel of the second row
    EXPECT_EQ(back[4 * 5 + 2], 18);
    // The same record refilled from BGRA pixels.
    const unsigned char bgra[4] = {30, 20, 10, 40};
    EXPECT_EQ(dev->CreateTexture(4, 1, 1, bgra, 0, t), t);
    back = pixelsOf(dev, t);
    EXPECT_EQ(back[0], 10);
    EXPECT_EQ(back[2], 30);
    EXPECT_EQ(back[3], 40);
    dev->ReleaseTexture(t);
}

TEST(Textures, ImageFilesAreRaisedToPowersOfTwo)
{
    Device_GL* dev = gl_test_device();
    std::vector<unsigned char> px = redOverBlue(100, 60);
    std::vector<unsigned char> png = make_png(100, 60, px.data());
    current_texture_name = "odd.png";
    CaptureStderr();
    CaptureStdout();
    texture_t_opaque* t = dev->LoadTexture(png.data(), int(png.size()), 1);
    std::string out = GetCapturedStdout();
    std::string err = GetCapturedStderr();
    current_texture_name = "<unknown>";
    ASSERT_NE(t, nullptr);
    int w = 0, h = 0;
    dev->GetTextureInfo(t, &w, &h, nullptr);
    EXPECT_EQ(w, 128);
    EXPECT_EQ(h, 64);
    EXPECT_NE(err.find("odd.png SCALED 100x60 -> 128x64\n"), std::string::npos);
    EXPECT_NE(out.find("DevIL "), std::string::npos);
    EXPECT_NE(out.find(" odd.png\n"), std::string::npos);
    dev->ReleaseTexture(t);

    px = redOverBlue(64, 64);
    png = make_png(64, 64, px.data());
    CaptureStderr();
    CaptureStdout();
    t = dev->LoadTexture(png.data(), int(png.size()), 0);
    GetCapturedStdout();
    EXPECT_EQ(GetCapturedStderr().find("SCALED"), std::string::npos);
    ASSERT_NE(t, nullptr);
    dev->ReleaseTexture(t);

    const char junk[] = "not a picture at all";
    CaptureStdout();
    CaptureStderr();
    EXPECT_EQ(dev->LoadTexture(junk, int(sizeof junk), 1), nullptr);
    GetCapturedStderr();
    GetCapturedStdout();
}

TEST(Textures, PngAndDdsOfOnePictureReadBackAlike)
{
    Device_GL* dev = gl_test_device();
    std::vector<unsigned char> px = redOverBlue(4, 4);
    std::vector<unsigned char> png = make_png(4, 4, px.data());
    std::vector<unsigned char> dds = ddsOf(4, 4, px);
    CaptureStdout();
    texture_t_opaque* fromPng = dev->LoadTexture(png.data(), int(png.size()), 1);
    texture_t_opaque* fromDds = dev->LoadTexture(dds.data(), int(dds.size()), 1);
    std::string out = GetCapturedStdout();
    ASSERT_NE(fromPng, nullptr);
    ASSERT_NE(fromDds, nullptr);
    EXPECT_NE(out.find("DDS "), std::string::npos);
    EXPECT_EQ(static_cast<Device_GL::texture_record*>(fromDds)->flipped, 1);
    EXPECT_EQ(static_cast<Device_GL::texture_record*>(fromPng)->flipped, 0);

    // GL keeps the PNG bottom row first; the DDS is stored top first and read back reversed,
    // so both give the picture's bottom (blue) row first.
    std::vector<unsigned char> a = pixelsOf(dev, fromPng);
    std::vector<unsigned char> b = pixelsOf(dev, fromDds);
    EXPECT_EQ(a[0], 0);
    EXPECT_EQ(a[2], 255);
    EXPECT_EQ(a[4 * 15 + 0], 255);
    EXPECT_EQ(a, b);
    dev->ReleaseTexture(fromPng);
    dev->ReleaseTexture(fromDds);
}

// A 24-bit BGR DDS of w x h with the given number of levels, every byte of every level
// distinct enough to show a shifted row; the levels' pixels (BGR, rows tight) come back in out.
std::vector<unsigned char> bgrDds(int w, int h, int levels,
                                  std::vector<std::vector<unsigned char>>& out)
{
    std::vector<unsigned char> file(128, 0);
    auto put = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            file[at + size_t(i)] = uint8_t(v >> (8 * i));
    };
    std::memcpy(file.data(), "DDS ", 4);
    put(4, 124);
    put(12, uint32_t(h));
    put(16, uint32_t(w));
    put(28, uint32_t(levels));
    put(4 + 18 * 4, 32);
    put(4 + 19 * 4, 0x40);
    put(4 + 21 * 4, 24);
    for (int level = 0; level < levels; ++level) {
        std::vector<unsigned char> px;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w * 3; ++x)
                px.push_back(uint8_t(40 * level + 29 * y + 5 * x + 1));
        file.insert(file.end(), px.begin(), px.end());
        out.push_back(px);
        w = std::max(w / 2, 1);
        h = std::max(h / 2, 1);
    }
    return file;
}

TEST(Textures, UncompressedBgrDdsLevelsOfOddRowLengthsUploadExactly)
{
    Device_GL* dev = gl_test_device();
    // The image library's GL binding leaves a tight unpack alignment behind.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const struct {
        int w, h, levels;
    } files[] = {{3, 3, 1}, {5, 3, 1}, {12, 10, 4}};
    for (const auto& f : files) {
        std::vector<std::vector<unsigned char>> levels;
        std::vector<unsigned char> dds = bgrDds(f.w, f.h, f.levels, levels);
        CaptureStdout();
        texture_t_opaque* t = dev->LoadTexture(dds.data(), int(dds.size()), f.levels == 1);
        GetCapturedStdout();
        ASSERT_NE(t, nullptr) << f.w << "x" << f.h;
        GLint unpack = 0;
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpack);
        EXPECT_EQ(unpack, 1) << "the upload restores the alignment it found";
        glBindTexture(GL_TEXTURE_2D, static_cast<Device_GL::texture_record*>(t)->texture);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        int w = f.w, h = f.h;
        for (int level = 0; level < f.levels; ++level) {
            std::vector<unsigned char> got(size_t(w * h * 3), 0);
            glGetTexImage(GL_TEXTURE_2D, level, GL_BGR, GL_UNSIGNED_BYTE, got.data());
            EXPECT_EQ(got, levels[size_t(level)]) << f.w << "x" << f.h << " level " << level;
            w = std::max(w / 2, 1);
            h = std::max(h / 2, 1);
        }
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glBindTexture(GL_TEXTURE_2D, 0);
        dev->ReleaseTexture(t);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

TEST(Textures, VolumeDdsFilesAreRefused)
{
    Device_GL* dev = gl_test_device();
    std::vector<std::vector<unsigned char>> levels;
    std::vector<unsigned char> dds = bgrDds(4, 4, 1, levels);
    dds[4 + 5 * 4] = 2;       // depth
    dds[4 + 27 * 4 + 2] = 0x20;  // caps2: volume
    dds.insert(dds.end(), levels[0].begin(), levels[0].end());
    CaptureStderr();
    CaptureStdout();
    texture_t_opaque* t = dev->LoadTexture(dds.data(), int(dds.size()), 1);
    GetCapturedStdout();
    const std::string err = GetCapturedStderr();
    EXPECT_NE(err.find("volume"), std::string::npos) << err;
    // The image library does not read it either: no texture without an image.
    EXPECT_EQ(t, nullptr);
    dev->ReleaseTexture(t);
}

TEST(Textures, CompressedAndCubeMapDds)
{
    Device_GL* dev = gl_test_device();
    if (!GLEW_EXT_texture_compression_s3tc)
        GTEST_SKIP() << "no S3TC";
    // One DXT1 block: colour 0 pure red (565), every index 0.
    std::vector<unsigned char> dds(128, 0);
    std::memcpy(dds.data(), "DDS ", 4);
    dds[4] = 124;
    dds[12] = 4;  // height
    dds[16] = 4;  // width
    dds[4 + 18 * 4] = 32;
    dds[4 + 19 * 4] = 0x4;
    std::memcpy(&dds[4 + 20 * 4], "DXT1", 4);
    const unsigned char block[8] = {0x00, 0xF8, 0x00, 0x00, 0, 0, 0, 0};
    dds.insert(dds.end(), block, block + 8);
    CaptureStdout();
    texture_t_opaque* t = dev->LoadTexture(dds.data(), int(dds.size()), 0);
    GetCapturedStdout();
    ASSERT_NE(t, nullptr);
    std::vector<unsigned char> px = pixelsOf(dev, t);
    EXPECT_EQ(px[0], 255);
    EXPECT_EQ(px[1], 0);
    EXPECT_EQ(px[2], 0);
    dev->ReleaseTexture(t);

    std::vector<unsigned char> cube = dds;
    cube.resize(128);
    cube[4 + 27 * 4 + 1] = 0xfe;  // caps2: cube map with all faces
    for (int face = 0; face < 6; ++face)
        cube.insert(cube.end(), block, block + 8);
    CaptureStdout();
    t = dev->LoadTexture(cube.data(), int(cube.size()), 0);
    GetCapturedStdout();
    ASSERT_NE(t, nullptr);
    int w = 0, h = 0, d = 0;
    dev->GetTextureInfo(t, &w, &h, &d);
    EXPECT_EQ(w, -1);
    EXPECT_EQ(d, -1);
    dev->ReleaseTexture(t);
}

TEST(Textures, DamagedDdsFilesLoadNothingAndNeverCrash)
{
    Device_GL* dev = gl_test_device();
    std::vector<unsigned char> px = redOverBlue(16, 16);
    std::vector<unsigned char> good = ddsOf(16, 16, px);
    good[28] = 5;  // claims 5 mip levels the file does not hold
    srand(99);
    int loaded = 0;
    CaptureStderr();
    CaptureStdout();
    for (int round = 0; round < 60; ++round) {
        std::vector<unsigned char> file = good;
        file.resize(4 + size_t(rand()) % (file.size() - 4));
        for (int k = 0; k < 2; ++k)
            file[4 + size_t(rand()) % std::min<size_t>(file.size() - 4, 124)] = uint8_t(rand());
        texture_t_opaque* t = dev->LoadTexture(file.data(), int(file.size()), 0);
        if (t)
            ++loaded;
        dev->ReleaseTexture(t);
    }
    GetCapturedStdout();
    GetCapturedStderr();
    EXPECT_EQ(loaded, 0);
}

// The image library would read past the end of a PNG cut inside a chunk for ever; every cut
// is refused before it, with the file named, as is a file it cannot decode.
TEST(Textures, CutOffOrJunkPicturesLoadNothingAndAreNamed)
{
    Device_GL* dev = gl_test_device();
    std::vector<unsigned char> px = redOverBlue(40, 40);
    std::vector<unsigned char> png = make_png(40, 40, px.data());
    current_texture_name = "cut.png";
    for (size_t cut = 8; cut < png.size(); cut += 37) {
        CaptureStderr();
        texture_t_opaque* t = dev->LoadTexture(png.data(), int(cut), 1);
        const std::string err = GetCapturedStderr();
        EXPECT_EQ(t, nullptr) << "cut at " << cut;
        EXPECT_NE(err.find("picture cut.png is damaged"), std::string::npos) << err;
        dev->ReleaseTexture(t);
    }
    std::vector<unsigned char> junk(300, 0x5A);
    CaptureStderr();
    EXPECT_EQ(dev->LoadTexture(junk.data(), int(junk.size()), 1), nullptr);
    EXPECT_NE(GetCapturedStderr().find("Warning: can't decode picture cut.png"), std::string::npos);
    current_texture_name = "<unknown>";
}

TEST(Textures, LoadedOnAWorkerThreadThroughTasks)
{
    Device_GL* dev = gl_test_device();
    std::vector<unsigned char> px = redOverBlue(8, 8);
    std::vector<unsigned char> png = make_png(8, 8, px.data());
    std::atomic<bool> done{false};
    texture_t_opaque* t = nullptr;
    CaptureStdout();
    // Each thread names its own load: the worker's name never shows in this thread's.
    current_texture_name = "main.png";
    std::thread worker([&] {
        current_texture_name = "worker.png";
        t = dev->LoadTexture(png.data(), int(png.size()), 0);
        done = true;
    });
    while (!done)
        dev->Clear(0, 0, 0, true, true);
    worker.join();
    EXPECT_STREQ(current_texture_name, "main.png");
    current_texture_name = "<unknown>";
    const std::string out = GetCapturedStdout();
    EXPECT_NE(out.find("worker.png"), std::string::npos) << out;
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(pixelsOf(dev, t)[2], 255);  // bottom row blue
    dev->ReleaseTexture(t);
}

TEST(RenderTargets, ColourAndDepthTargetRendersAndReadsBack)
{
    Device_GL* dev = gl_test_device();
    texture_t_opaque* colour[4] = {dev->CreateTexture(256, 64, 32, nullptr, 1, nullptr)};
    texture_t_opaque* depth = dev->CreateTexture(130, 64, 32, nullptr, 1, nullptr);
    CaptureStdout();
    target_t_opaque* fb = dev->CreateFramebuffer(64, 32, colour, depth);
    std::string out = GetCapturedStdout();
    ASSERT_NE(fb, nullptr);
    EXPECT_NE(out.find("Creating FBO 64 x 32\n"), std::string::npos);
    EXPECT_NE(out.find("Color[0] 64 x 32\n"), std::string::npos);
    EXPECT_NE(out.find("DepthRB 64 x 32\n"), std::string::npos);
    EXPECT_EQ(dev->GetFramebufferTexture(fb, Device::fb_color0), colour[0]);
    EXPECT_EQ(dev->GetFramebufferTexture(fb, Device::fb_depth), depth);
    EXPECT_EQ(dev->GetFramebufferTexture(fb, Device::fb_color1), nullptr);

    dev->SetTarget(fb);
    int w = 0, h = 0;
    dev->GetTargetSize(fb, &w, &h);
    EXPECT_EQ(w, 64);
    EXPECT_EQ(h, 32);
    dev->Clear(0, 0, 1, true, true);
    dev->SetTarget(nullptr);
    dev->Clear(0, 1, 0, true, true);
    std::vector<unsigned char> px = pixelsOf(dev, colour[0]);
    EXPECT_EQ(px[0], 0);
    EXPECT_EQ(px[2], 255);
    EXPECT_TRUE(near_rgba(read_pixel(5, 5), 0, 255, 0, 255));

    dev->ReleaseFramebuffer(fb);
    dev->ReleaseFramebuffer(nullptr);
    dev->ReleaseTexture(colour[0]);
    dev->ReleaseTexture(depth);
}

TEST(RenderTargets, DepthOnlyTargets)
{
    Device_GL* dev = gl_test_device();
    texture_t_opaque* rb = dev->CreateTexture(130, 32, 32, nullptr, 1, nullptr);
    CaptureStdout();
    target_t_opaque* fb = dev->CreateFramebuffer(32, 32, nullptr, rb);
    std::string out = GetCapturedStdout();
    EXPECT_NE(out.find("DepthRB 32 x 32\n"), std::string::npos);
    EXPECT_NE(fb, nullptr);
    dev->ReleaseFramebuffer(fb);

    texture_t_opaque* none[4] = {};
    texture_t_opaque* shadow = dev->CreateTexture(129, 32, 32, nullptr, 1, nullptr);
    CaptureStdout();
    fb = dev->CreateFramebuffer(32, 32, none, shadow);
    out = GetCapturedStdout();
    EXPECT_NE(out.find("Depth 32 x 32\n"), std::string::npos);
    ASSERT_NE(fb, nullptr);
    dev->SetTarget(fb);
    dev->Clear(0, 0, 0, false, true);
    dev->SetTarget(nullptr);
    dev->ReleaseFramebuffer(fb);
    dev->ReleaseTexture(shadow);
    dev->ReleaseTexture(rb);
}

TEST(RenderTargets, NoTargetsWithoutFramebufferObjects)
{
    gl_test_device();
    Device_GL_fixed dev("DISABLE_FBO NO_VSYNC NO_SLEEP");
    EXPECT_EQ(dev.use_fbo, 0);
    texture_t_opaque* shadow = dev.CreateTexture(129, 32, 32, nullptr, 1, nullptr);
    // A shadow target would otherwise draw into the window's own depth buffer.
    EXPECT_EQ(dev.CreateFramebuffer(32, 32, nullptr, shadow), nullptr);
    dev.ReleaseTexture(shadow);
}

// Grey pictures are stored as luminance (with alpha when not opaque); what is read back is the
// picture as given, in all four channels, and a screen copy into one keeps its colours.
TEST(Textures, GreyPicturesReadBackAsGivenAndTakeColourCopies)
{
    Device_GL* dev = gl_test_device();
    // 8 x 4 grey with alpha, rows top first; a PNG file goes through the image library.
    std::vector<unsigned char> px(8 * 4 * 4);
    for (size_t i = 0; i < 32; ++i) {
        px[i * 4] = px[i * 4 + 1] = px[i * 4 + 2] = static_cast<unsigned char>(i * 8 + 3);
        px[i * 4 + 3] = static_cast<unsigned char>(255 - i * 5);
    }
    std::vector<unsigned char> png = make_png(8, 4, px.data());
    CaptureStdout();
    texture_t_opaque* t = dev->LoadTexture(png.data(), int(png.size()), 1);
    GetCapturedStdout();
    ASSERT_NE(t, nullptr);
    std::vector<unsigned char> back = pixelsOf(dev, t);
    for (int y = 0; y < 4; ++y)  // read back bottom row first
        for (int k = 0; k < 8 * 4; ++k)
            ASSERT_EQ(back[size_t(y) * 32 + size_t(k)], px[size_t(3 - y) * 32 + size_t(k)]) << y << " " << k;
    dev->ReleaseTexture(t);

    // Opaque grey from RGB pixels, with mipmaps; then the record refilled in colour.
    const unsigned char rgb[12] = {9, 9, 9, 200, 200, 200, 0, 0, 0, 77, 77, 77};
    t = dev->CreateTexture(1, 2, 2, rgb, 0, nullptr);
    back = pixelsOf(dev, t);
    EXPECT_EQ(std::vector<unsigned char>(back.begin(), back.begin() + 8),
              (std::vector<unsigned char>{9, 9, 9, 255, 200, 200, 200, 255}));
    EXPECT_EQ(back[12], 77);
    EXPECT_EQ(back[14], 77);
    const unsigned char colour[4] = {10, 20, 30, 40};
    EXPECT_EQ(dev->CreateTexture(2, 1, 1, colour, 1, t), t);
    EXPECT_EQ(pixelsOf(dev, t), (std::vector<unsigned char>{10, 20, 30, 40}));
    dev->ReleaseTexture(t);

    // A red screen copied into a texture that was grey.
    std::vector<unsigned char> grey(64 * 64 * 4, 128);
    t = dev->CreateTexture(2, 64, 64, grey.data(), 1, nullptr);
    dev->SetTarget(nullptr);
    dev->Clear(1, 0, 0, true, true);
    dev->ReadBackTexture(t, 0, 0, 32, 32, false, nullptr);
    back = pixelsOf(dev, t);
    EXPECT_EQ(back[0], 255);
    EXPECT_EQ(back[1], 0);
    EXPECT_EQ(back[2], 0);
    EXPECT_EQ(back[size_t(63 * 64 + 63) * 4 + 1], 128) << "outside the copy the texture keeps its picture";
    dev->ReleaseTexture(t);
}

TEST(RenderTargets, ScreenCopiesIntoATexture)
{
    Device_GL* dev = gl_test_device();
    dev->SetTarget(nullptr);
    dev->Clear(1, 0, 0, true, true);
    texture_t_opaque* t = dev->CreateTexture(256, 256, 256, nullptr, 1, nullptr);
    Device::image_bounds bounds;
    dev->ReadBackTexture(t, 0, 0, 128, 64, false, &bounds);
    EXPECT_FLOAT_EQ(bounds.v[0], 0.0f);
    EXPECT_FLOAT_EQ(bounds.v[1], 0.5f);
    EXPECT_FLOAT_EQ(bounds.v[2], 0.25f);
    EXPECT_FLOAT_EQ(bounds.v[3], 0.0f);
    std::vector<unsigned char> px = pixelsOf(dev, t);
    EXPECT_EQ(px[0], 255);
    dev->ReleaseTexture(t);
}

TEST(Textures, AnisotropyFromTheOptions)
{
    gl_test_device();
    if (!GLEW_EXT_texture_filter_anisotropic)
        GTEST_SKIP() << "no anisotropic filtering";
    const unsigned char px[16 * 16 * 4] = {};
    for (const char* options : {"ANISO=8", "ANISO=0"}) {
        Device_GL_fixed dev(options);
        texture_t_opaque* t = dev.CreateTexture(2, 16, 16, px, 0, nullptr);
        glBindTexture(GL_TEXTURE_2D, static_cast<Device_GL::texture_record*>(t)->texture);
        float aniso = 0;
        glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, &aniso);
        glBindTexture(GL_TEXTURE_2D, 0);
        EXPECT_FLOAT_EQ(aniso, options[6] == '8' ? 8.0f : 1.0f) << options;
        dev.ReleaseTexture(t);
    }
}

TEST(Textures, SoftwareRasterizersFilterWithoutAnisotropy)
{
    EXPECT_TRUE(isSoftwareRasterizer("llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_TRUE(isSoftwareRasterizer("softpipe"));
    EXPECT_TRUE(isSoftwareRasterizer("Software Rasterizer"));
    EXPECT_FALSE(isSoftwareRasterizer("AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49)"));
    EXPECT_FALSE(isSoftwareRasterizer(nullptr));

    gl_test_device();
    if (!GLEW_EXT_texture_filter_anisotropic)
        GTEST_SKIP() << "no anisotropic filtering";
    ASSERT_TRUE(isSoftwareRasterizer(reinterpret_cast<const char*>(glGetString(GL_RENDERER))))
        << "the window tests run on Mesa's software renderer";
    // Asked for 8 in the options, the device on this renderer gives mipmapped textures none.
    Device_GL_fixed dev("ANISO=8");
    ASSERT_TRUE(dev.Init());
    const unsigned char px[16 * 16 * 4] = {};
    texture_t_opaque* t = dev.CreateTexture(2, 16, 16, px, 0, nullptr);
    glBindTexture(GL_TEXTURE_2D, static_cast<Device_GL::texture_record*>(t)->texture);
    float aniso = 0;
    glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, &aniso);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_FLOAT_EQ(aniso, 1.0f);
    dev.ReleaseTexture(t);
    gl_test_device()->InitStates();
}

} // namespace

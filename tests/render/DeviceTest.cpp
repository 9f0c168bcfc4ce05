#include "fixtures/RecordingDevice.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

vbuffer_t_opaque* makeIndices(RecordingDevice& dev, const void* data, int bytes)
{
    vbuffer_t_opaque* ib = dev.CreateIndexBuffer(bytes, false);
    std::memcpy(dev.LockIndexBuffer(ib, Device::lck_writediscard), data, size_t(bytes));
    dev.UnlockIndexBuffer(ib);
    dev.clear();
    return ib;
}

TEST(DeviceReadIndices, WidensNarrowIndicesAndCopiesWideOnes)
{
    RecordingDevice dev;
    const uint8_t i8[] = {9, 200, 3, 4, 5, 255};
    const uint16_t i16[] = {1, 60000, 2, 3, 4, 5};
    const int32_t i32[] = {7, 8, 9, 100000, 11, 12};
    int out[6] = {};

    EXPECT_EQ(dev.ReadIndices(Device::tri_list, makeIndices(dev, i8, 6), 8, 1, 3, out), 1);
    EXPECT_EQ(out[0], 200);
    EXPECT_EQ(out[2], 4);
    EXPECT_EQ(dev.ReadIndices(Device::tri_list, makeIndices(dev, i16, 12), 16, 0, 6, out), 2);
    EXPECT_EQ(out[1], 60000);
    EXPECT_EQ(out[5], 5);
    EXPECT_EQ(dev.ReadIndices(Device::tri_list, makeIndices(dev, i32, 24), 32, 3, 3, out), 1);
    EXPECT_EQ(out[0], 100000);
    EXPECT_EQ(out[2], 12);
    // Each read is one read-only lock and its unlock.
    EXPECT_EQ(dev.count("LockIndexBuffer"), 1);
    EXPECT_EQ(dev.find("LockIndexBuffer").i[1], Device::lck_readonly);
    EXPECT_EQ(dev.count("UnlockIndexBuffer"), 1);
}

TEST(DeviceReadIndices, CountsTrianglesWithoutLockingWhenNothingIsRead)
{
    RecordingDevice dev;
    const int32_t i32[] = {0, 1, 2, 2, 3, 0, 4};
    vbuffer_t_opaque* ib = makeIndices(dev, i32, sizeof i32);
    int out[7] = {-1, -1, -1, -1, -1, -1, -1};

    EXPECT_EQ(dev.ReadIndices(Device::tri_list, ib, 32, 0, 7, nullptr), 2);
    EXPECT_EQ(dev.ReadIndices(0, ib, 32, 0, 6, out), 0);
    EXPECT_EQ(dev.ReadIndices(2, ib, 32, 0, 6, out), 0);
    EXPECT_EQ(out[0], -1);
    EXPECT_EQ(dev.count("LockIndexBuffer"), 0);
}

TEST(DeviceBase, SinglePixelReadIsNotOffered)
{
    RecordingDevice dev;
    texture_t_opaque* t = dev.CreateTexture(2, 4, 4, nullptr, 1, nullptr);
    EXPECT_EQ(dev.GetTexturePixel(t, 1, 1), 0);
    EXPECT_EQ(dev.getFeatures() & Device::feature_pixel_read, 0);
}

// The recording device is the stand-in for every headless renderer test: check the few
// behaviours those tests build on.
TEST(RecordingDevice, NamesGetStableHandlesAndUnknownNamesGetNull)
{
    RecordingDevice dev;
    dev.forgetParameter("WSeyepos");
    parameter_t_opaque* diffuse = dev.GetParameter("diffuse");
    EXPECT_NE(diffuse, nullptr);
    EXPECT_EQ(dev.GetParameter("diffuse"), diffuse);
    EXPECT_EQ(dev.GetParameter("WSeyepos"), nullptr);
    EXPECT_EQ(dev.nameOf(diffuse), "diffuse");

    dev.setPasses("main2d_mul2", 2);
    technique_t_opaque* mul2 = dev.GetTechnique(0, "main2d_mul2");
    int first = dev.GetFirstPass(mul2);
    int second = dev.GetNextPass(first);
    EXPECT_NE(first, 0);
    EXPECT_NE(second, 0);
    EXPECT_EQ(dev.GetNextPass(second), 0);
    EXPECT_EQ(dev.GetNextPass(dev.GetFirstPass(dev.GetTechnique(0, "main2d"))), 0);

    texture_t_opaque* tex = dev.CreateTexture(2, 8, 8, nullptr, 1, nullptr);
    dev.SetParamTexture(diffuse, tex);
    EXPECT_EQ(dev.boundTexture("diffuse"), tex);
    EXPECT_EQ(dev.find("SetParamTexture").name, "diffuse");
}

TEST(RecordingDevice, DrawFromMemoryKeepsIndicesAndVertexValues)
{
    RecordingDevice dev;
    const float verts[4][5] = {{0, 1, 0, 0.1f, 0.9f},
                               {0, 0, 0, 0.1f, 0.1f},
                               {1, 0, 0, 0.9f, 0.1f},
                               {1, 1, 0, 0.9f, 0.9f}};
    const int32_t idx[] = {0, 1, 2, 2, 3, 0};
    Device::vertex_element el[2] = {
        {nullptr, uintptr_t(&verts[0][0]), 20, Device::vt_float, 3, Device::vu_position, 0},
        {nullptr, uintptr_t(&verts[0][3]), 20, Device::vt_float, 2, Device::vu_texcoord, 0},
    };
    dev.DrawFromMemory(Device::tri_list, idx, 32, 0, 6, el, 2, 0, 4);

    RecordedCall c = dev.find("DrawFromMemory");
    ASSERT_EQ(c.indices.size(), 6u);
    ASSERT_EQ(c.streams.size(), 2u);
    ASSERT_EQ(c.streams[1].size(), 8u);
    EXPECT_FLOAT_EQ(c.streams[1][4], 0.9f);
    ASSERT_EQ(c.streams[0].size(), 12u);
    EXPECT_FLOAT_EQ(c.streams[0][1], 1.0f);  // vertex 0 y
    EXPECT_FLOAT_EQ(c.streams[0][9], 1.0f);  // vertex 3 x
    EXPECT_FLOAT_EQ(c.streams[0][11], 0.0f); // vertex 3 z
}

TEST(RecordingDevice, CreatedPixelsReadBackAsRgba)
{
    RecordingDevice dev;
    const unsigned char bgr[6] = {1, 2, 3, 4, 5, 6};
    texture_t_opaque* t = dev.CreateTexture(3, 2, 1, bgr, 1, nullptr);
    unsigned char out[8] = {};
    dev.GetTexturePixels(t, out);
    EXPECT_EQ(out[0], 3);
    EXPECT_EQ(out[2], 1);
    EXPECT_EQ(out[3], 255);
    EXPECT_EQ(out[4], 6);
}

TEST(RecordingDevice, ReleasedObjectsAreCountedAndTargetsKnowTheirSize)
{
    RecordingDevice dev;
    texture_t_opaque* colour[4] = {dev.CreateTexture(256, 128, 64, nullptr, 1, nullptr)};
    target_t_opaque* fb = dev.CreateFramebuffer(128, 64, colour, nullptr);
    int w = 0, h = 0;
    dev.GetTargetSize(fb, &w, &h);
    EXPECT_EQ(w, 128);
    EXPECT_EQ(h, 64);
    dev.GetTargetSize(nullptr, &w, &h);
    EXPECT_EQ(w, 1024);
    EXPECT_FLOAT_EQ(dev.GetAspect(), 1024.0f / 768.0f);
    EXPECT_EQ(dev.GetFramebufferTexture(fb, Device::fb_color0), colour[0]);

    EXPECT_EQ(dev.liveTextures(), 1);
    dev.ReleaseFramebuffer(fb);
    dev.ReleaseTexture(colour[0]);
    dev.ReleaseTexture(nullptr);
    EXPECT_EQ(dev.liveTextures(), 0);
    EXPECT_EQ(dev.liveTargets(), 0);
}

} // namespace

#include "render/device_gl.h"

namespace {

// p' = M p for a 4x3 matrix (rows of four, translation in the fourth column).
void apply(const float* m, const float* p, float* out)
{
    for (int r = 0; r < 3; ++r)
        out[r] = m[r * 4] * p[0] + m[r * 4 + 1] * p[1] + m[r * 4 + 2] * p[2] + m[r * 4 + 3];
}

TEST(AffineInverse, UndoesRotationScaleAndTranslation)
{
    const float c = 0.6f, s = 0.8f;
    const float m[12] = {2 * c, -2 * s, 0, 5, 2 * s, 2 * c, 0, -3, 0, 0, 0.5f, 7};
    float inv[12];
    invert_matrix4x3(inv, m);
    const float p[3] = {1.5f, -2.0f, 4.0f};
    float q[3], back[3];
    apply(m, p, q);
    apply(inv, q, back);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(back[i], p[i], 1e-5f);
    // The translation is part of the inverse (not dropped).
    const float origin[3] = {5, -3, 7};
    apply(inv, origin, back);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(back[i], 0.0f, 1e-5f);
}

} // namespace

#include "render/device_gl_fixed.h"

namespace {

// Headless tests run on SDL's dummy video driver, which has no OpenGL: the window cannot
// open, and the device must say so instead of carrying on without a GL context.
TEST(DeviceGLWithoutWindow, AFailedVideoModeIsReportedAndInitFails)
{
    Device_GL_fixed device("");
    int w = 320, h = 240;
    ::testing::internal::CaptureStderr();
    device.SetVideoMode(Device::vm_window, &w, &h, L"No window");
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Can't set video mode 320x240"), std::string::npos) << err;
    EXPECT_EQ(device.width, -1);
    EXPECT_EQ(device.height, -1);
    EXPECT_FALSE(device.Init());
}

} // namespace

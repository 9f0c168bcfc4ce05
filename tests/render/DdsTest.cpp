#include "render/nv_dds.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct DdsSpec {
    int width = 4, height = 4, depth = 0, mips = 0;
    uint32_t pfFlags = 0x4;
    std::string fourcc = "DXT1";
    int bits = 0;
    uint32_t caps2 = 0;
};

void put32(std::vector<unsigned char>& out, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out[at + size_t(i)] = uint8_t(v >> (8 * i));
}

// Header only; the caller appends the surface data.
std::vector<unsigned char> header(const DdsSpec& s)
{
    std::vector<unsigned char> out(128, 0);
    std::memcpy(out.data(), "DDS ", 4);
    put32(out, 4, 124);
    put32(out, 8, 0x1007);
    put32(out, 12, uint32_t(s.height));
    put32(out, 16, uint32_t(s.width));
    put32(out, 24, uint32_t(s.depth));
    put32(out, 28, uint32_t(s.mips));
    put32(out, 4 + 18 * 4, 32);
    put32(out, 4 + 19 * 4, s.pfFlags);
    if (s.fourcc.size() == 4)
        std::memcpy(&out[4 + 20 * 4], s.fourcc.data(), 4);
    put32(out, 4 + 21 * 4, uint32_t(s.bits));
    put32(out, 4 + 27 * 4, s.caps2);
    return out;
}

std::vector<unsigned char> withData(std::vector<unsigned char> h, size_t bytes, uint8_t fill = 7)
{
    h.resize(h.size() + bytes, fill);
    return h;
}

TEST(DdsSizes, CompressedLevelsCountWholeBlocks)
{
    EXPECT_EQ(nv_dds::CDDSImage::size_dxtc(5, 5, GL_COMPRESSED_RGBA_S3TC_DXT1_EXT), 32);
    EXPECT_EQ(nv_dds::CDDSImage::size_dxtc(1, 1, GL_COMPRESSED_RGBA_S3TC_DXT5_EXT), 16);
    EXPECT_EQ(nv_dds::CDDSImage::size_rgb(3, 2, 3), 18);
}

TEST(DdsLoad, CompressedImageWithItsMipChain)
{
    DdsSpec s;
    s.width = 8;
    s.height = 4;
    s.mips = 4;
    s.fourcc = "DXT5";
    // 8x4: 2 blocks, 4x2: 1, 2x1: 1, 1x1: 1 -> 5 blocks of 16 bytes.
    std::vector<unsigned char> file = withData(header(s), 80);
    nv_dds::CDDSImage img;
    ASSERT_TRUE(img.load(file.data(), file.size()));
    EXPECT_TRUE(img.is_compressed());
    EXPECT_EQ(img.get_components(), 4);
    EXPECT_EQ(img.get_format(), GLenum(GL_COMPRESSED_RGBA_S3TC_DXT5_EXT));
    EXPECT_EQ(img.get_size(), 32);
    ASSERT_EQ(img.get_num_mipmaps(), 3);
    EXPECT_EQ(img.get_image(0).get_mipmap(2).width, 1);
    EXPECT_EQ(img.get_image(0).get_mipmap(2).size, 16);
}

TEST(DdsLoad, MipCountOfZeroOrOneGivesTheBaseLevelOnly)
{
    for (int mips : {0, 1}) {
        DdsSpec s;
        s.mips = mips;
        std::vector<unsigned char> file = withData(header(s), 8);
        nv_dds::CDDSImage img;
        ASSERT_TRUE(img.load(file.data(), file.size()));
        EXPECT_EQ(img.get_num_mipmaps(), 0);
    }
}

TEST(DdsLoad, MipChainStopsAtOneByOne)
{
    DdsSpec s;
    s.width = 2;
    s.height = 2;
    s.mips = 9;  // a lying count: only 2 levels exist
    std::vector<unsigned char> file = withData(header(s), 16 + 100);
    nv_dds::CDDSImage img;
    ASSERT_TRUE(img.load(file.data(), file.size()));
    EXPECT_EQ(img.get_num_mipmaps(), 1);
}

TEST(DdsLoad, UncompressedRowsArePaddedToFourBytes)
{
    DdsSpec s;
    s.width = 3;
    s.height = 2;
    s.pfFlags = 0x40;
    s.fourcc = "";
    s.bits = 24;
    s.mips = 2;  // 3x2 then 1x1
    std::vector<unsigned char> file = header(s);
    for (int i = 0; i < 18 + 3; ++i)
        file.push_back(uint8_t(i));
    nv_dds::CDDSImage img;
    ASSERT_TRUE(img.load(file.data(), file.size()));
    EXPECT_EQ(img.get_format(), GLenum(GL_BGR_EXT));
    EXPECT_EQ(img.get_size(), 24);
    const unsigned char* px = img.get_pixels();
    EXPECT_EQ(px[8], 8);
    EXPECT_EQ(px[12], 9);  // second row starts at 12
    const nv_dds::CSurface& mip = img.get_image(0).get_mipmap(0);
    EXPECT_EQ(mip.size, 4);
    EXPECT_EQ(mip.pixels[0], 18);
}

TEST(DdsLoad, BgraWithAndWithoutAlphaFlag)
{
    for (uint32_t flags : {0x41u, 0x40u}) {
        DdsSpec s;
        s.pfFlags = flags;
        s.fourcc = "";
        s.bits = 32;
        std::vector<unsigned char> file = withData(header(s), 64);
        nv_dds::CDDSImage img;
        ASSERT_TRUE(img.load(file.data(), file.size()));
        EXPECT_EQ(img.get_format(), GLenum(GL_BGRA_EXT));
        EXPECT_EQ(img.get_size(), 64);
    }
}

TEST(DdsLoad, CubeMapHasSixFacesEachWithItsChain)
{
    DdsSpec s;
    s.mips = 3;
    s.caps2 = 0x200 | 0xfc00;
    std::vector<unsigned char> file = header(s);
    for (int face = 0; face < 6; ++face) {
        file.insert(file.end(), 8, uint8_t(face));      // 4x4
        file.insert(file.end(), 8, uint8_t(face + 10)); // 2x2
        file.insert(file.end(), 8, uint8_t(face + 20)); // 1x1
    }
    nv_dds::CDDSImage img;
    ASSERT_TRUE(img.load(file.data(), file.size()));
    EXPECT_TRUE(img.is_cubemap());
    ASSERT_EQ(img.get_num_images(), 6);
    for (int face = 0; face < 6; ++face) {
        EXPECT_EQ(img.get_pixels(face)[0], face);
        ASSERT_EQ(img.get_num_mipmaps(face), 2);
        EXPECT_EQ(img.get_image(face).get_mipmap(1).pixels[0], face + 20);
    }
}

TEST(DdsLoad, RefusesWhatItDoesNotRead)
{
    nv_dds::CDDSImage img;
    std::vector<unsigned char> shortFile(127, 0);
    std::memcpy(shortFile.data(), "DDS ", 4);
    EXPECT_FALSE(img.load(shortFile.data(), shortFile.size()));

    DdsSpec good;
    std::vector<unsigned char> file = withData(header(good), 8);
    file[0] = 'X';
    EXPECT_FALSE(img.load(file.data(), file.size()));

    DdsSpec dxt2;
    dxt2.fourcc = "DXT2";
    file = withData(header(dxt2), 16);
    EXPECT_FALSE(img.load(file.data(), file.size()));

    DdsSpec rgb42;
    rgb42.pfFlags = 0x42;
    rgb42.fourcc = "";
    rgb42.bits = 32;
    file = withData(header(rgb42), 64);
    EXPECT_FALSE(img.load(file.data(), file.size()));

    DdsSpec rgb16;
    rgb16.pfFlags = 0x40;
    rgb16.fourcc = "";
    rgb16.bits = 16;
    file = withData(header(rgb16), 32);
    EXPECT_FALSE(img.load(file.data(), file.size()));
    EXPECT_FALSE(img.is_valid());
}

TEST(DdsLoad, TruncatedOrLyingFilesAreRefusedWithAWarning)
{
    nv_dds::CDDSImage img;
    DdsSpec s;
    s.width = 64;
    s.height = 64;
    s.mips = 7;
    std::vector<unsigned char> file = withData(header(s), 2048 + 512 + 128 + 32 + 8 + 8 + 8);
    ASSERT_TRUE(img.load(file.data(), file.size()));
    file.pop_back();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(img.load(file.data(), file.size()));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Warning"), std::string::npos);

    // Absurd sizes are refused before anything is allocated.
    DdsSpec huge;
    huge.width = 1 << 30;
    huge.height = 1 << 30;
    file = withData(header(huge), 64);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(img.load(file.data(), file.size()));
    testing::internal::GetCapturedStderr();

    DdsSpec zero;
    zero.width = 0;
    file = withData(header(zero), 64);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(img.load(file.data(), file.size()));
    testing::internal::GetCapturedStderr();

    DdsSpec volume;
    volume.depth = 100000;
    volume.caps2 = 0x200000;
    file = withData(header(volume), 64);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(img.load(file.data(), file.size()));
    testing::internal::GetCapturedStderr();
}

TEST(DdsLoad, RandomlyDamagedFilesNeverReadOutOfBounds)
{
    // Under AddressSanitizer any read past a buffer fails this test.
    srand(1234);
    const DdsSpec kinds[] = {
        {16, 16, 0, 5, 0x4, "DXT1", 0, 0},   {16, 8, 0, 5, 0x4, "DXT3", 0, 0x200},
        {7, 5, 0, 3, 0x40, "", 24, 0},       {8, 8, 4, 4, 0x41, "", 32, 0x200000},
    };
    testing::internal::CaptureStderr();
    for (const DdsSpec& kind : kinds) {
        std::vector<unsigned char> base = withData(header(kind), 6000);
        for (int round = 0; round < 300; ++round) {
            std::vector<unsigned char> file = base;
            file.resize(size_t(rand()) % file.size());
            for (int k = 0; k < 3 && file.size() > 4; ++k)
                file[4 + size_t(rand()) % std::min<size_t>(file.size() - 4, 124)] =
                    uint8_t(rand());
            nv_dds::CDDSImage img;
            if (img.load(file.data(), file.size())) {
                for (int i = 0; i < img.get_num_images(); ++i) {
                    const nv_dds::CTexture& t = img.get_image(i);
                    volatile unsigned char sum = 0;
                    for (int b = 0; b < t.size; ++b)
                        sum = sum + t.pixels[b];
                    for (int m = 0; m < t.get_num_mipmaps(); ++m)
                        for (int b = 0; b < t.get_mipmap(m).size; ++b)
                            sum = sum + t.get_mipmap(m).pixels[b];
                }
            }
        }
    }
    testing::internal::GetCapturedStderr();
}

} // namespace

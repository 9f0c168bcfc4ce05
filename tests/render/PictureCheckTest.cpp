// The look at a PNG's structure before the image library gets it: whole files pass, other
// formats pass, a damaged PNG is refused with the file named.

#include "render/picture_check.h"

#include "fixtures/PngWriter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

std::vector<unsigned char> smallPng(int w, int h)
{
    std::vector<unsigned char> rgba(size_t(w) * size_t(h) * 4, 200);
    return make_png(w, h, rgba.data());
}

// Whether the bytes pass, and the warning given.
bool check(const std::vector<unsigned char>& bytes, std::string* err = nullptr)
{
    CaptureStderr();
    const bool ok = picture_structure_ok(bytes.data(), bytes.size(), "pics/x.png");
    const std::string text = GetCapturedStderr();
    if (err)
        *err = text;
    return ok;
}

void putBigEndian(std::vector<unsigned char>& bytes, size_t at, uint32_t v)
{
    for (int k = 0; k < 4; ++k)
        bytes[at + size_t(k)] = uint8_t(v >> (24 - 8 * k));
}

// Sets the CRC of the chunk whose length field is at `at` (the PNG's CRC-32 over type and data).
void fixCrc(std::vector<unsigned char>& bytes, size_t at)
{
    const uint32_t length = uint32_t(bytes[at]) << 24 | uint32_t(bytes[at + 1]) << 16 |
                            uint32_t(bytes[at + 2]) << 8 | bytes[at + 3];
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t k = at + 4; k < at + 8 + length; ++k) {
        crc ^= bytes[k];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    putBigEndian(bytes, at + 8 + length, crc ^ 0xFFFFFFFFu);
}

TEST(PictureCheck, WholePngsAndOtherFormatsPass)
{
    std::string err;
    EXPECT_TRUE(check(smallPng(5, 3), &err));
    EXPECT_EQ(err, "");
    EXPECT_TRUE(check({'D', 'D', 'S', ' ', 1, 2, 3}));
    EXPECT_TRUE(check({0x89, 'P', 'N'}));  // too short to be a PNG: the library decides
}

TEST(PictureCheck, DamagedPngsAreRefusedAndNamed)
{
    const std::vector<unsigned char> good = smallPng(6, 4);
    std::string err;

    EXPECT_FALSE(check({}, &err));
    EXPECT_NE(err.find("pics/x.png"), std::string::npos) << err;

    for (size_t cut = 8; cut < good.size(); ++cut) {
        EXPECT_FALSE(check(std::vector<unsigned char>(good.begin(), good.begin() + long(cut)), &err))
            << "cut at " << cut;
        EXPECT_NE(err.find("Warning: picture pics/x.png is damaged"), std::string::npos) << err;
    }

    std::vector<unsigned char> flipped = good;
    flipped[good.size() / 2] ^= 0x10;  // inside the picture data: its CRC no longer matches
    EXPECT_FALSE(check(flipped, &err));
    EXPECT_NE(err.find("CRC"), std::string::npos) << err;

    // A length that runs far past the end (the image library would wait for it for ever).
    std::vector<unsigned char> long_chunk = good;
    putBigEndian(long_chunk, 33, 0x7FFFFFF0u);
    EXPECT_FALSE(check(long_chunk));

    // A header claiming a picture too large to decode: refused before memory is asked for.
    std::vector<unsigned char> huge = smallPng(1, 1);
    putBigEndian(huge, 16, kMaxPictureSide + 1);
    fixCrc(huge, 8);
    EXPECT_FALSE(check(huge, &err));
    EXPECT_NE(err.find("too large"), std::string::npos) << err;
    putBigEndian(huge, 16, kMaxPictureSide);
    fixCrc(huge, 8);
    EXPECT_TRUE(check(huge));
}

} // namespace

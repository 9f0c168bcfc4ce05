// Bitmap fonts: cutting the strip, packing the atlas, reading charsets, and loading, measuring
// and queueing text of the generated DejaVu fonts against the recording device.

#include "fixtures/HeadlessEngine.h"
#include "fixtures/TempDir.h"
#include "render/CRender.h"
#include "render/font.h"
#include "render/render.h"

#include <IL/il.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace {

const float kWhite[4] = {1, 1, 1, 1};

// A picture 10 high and 20 wide, marker (255, 0, 255, 255) at (0, 0) and in the separator
// columns; glyph pixels are white with some alpha.
std::vector<uint8_t> strip(int width, int height, const std::vector<int>& separators)
{
    std::vector<uint8_t> rgba(size_t(width) * height * 4, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &rgba[(size_t(y) * width + x) * 4];
            p[0] = p[1] = p[2] = 255;
            p[3] = uint8_t((x * 7 + y) & 0x7f);
        }
    const uint8_t marker[4] = {255, 0, 255, 255};
    for (int column : separators)
        for (int y = 0; y < height; ++y)
            std::copy(marker, marker + 4, &rgba[(size_t(y) * width + column) * 4]);
    std::copy(marker, marker + 4, &rgba[0]);
    return rgba;
}

TEST(FontCutting, SeparatorsCutBoxesAndPackingFindsTheSmallestSquare)
{
    std::vector<uint8_t> rgba = strip(20, 10, {5, 9});
    std::vector<miniglyph> boxes = font_cut(rgba, 20, 10);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].width, 5);
    EXPECT_EQ(boxes[1].width, 3);
    EXPECT_EQ(boxes[2].width, 10);
    EXPECT_EQ(boxes[2].column, 10);
    // The marker pixel itself is cleared.
    EXPECT_EQ(rgba[3], 0);
    EXPECT_EQ(font_pack(boxes, 10), 32);
    EXPECT_EQ(boxes[0].x, 2);
    EXPECT_EQ(boxes[1].x, 11);
    EXPECT_EQ(boxes[2].x, 18);
    EXPECT_EQ(boxes[2].y, 2);
    EXPECT_FLOAT_EQ(boxes[2].u, 18.0f / 32);
    EXPECT_FLOAT_EQ(boxes[2].w, 10.0f / 32);

    std::vector<uint8_t> atlas = font_atlas(rgba, 20, 10, boxes, 32);
    // Glyph 2's first column (picture column 10) at atlas (18, 2..11); padding stays clear.
    for (int y = 0; y < 10; ++y)
        EXPECT_EQ(atlas[((size_t(2 + y) * 32) + 18) * 4 + 3], rgba[(size_t(y) * 20 + 10) * 4 + 3]);
    EXPECT_EQ(atlas[(size_t(1) * 32 + 18) * 4 + 3], 0);
    EXPECT_EQ(atlas[(size_t(12) * 32 + 18) * 4 + 3], 0);

    // One row of 10 + 4 pixels: a texture 32 wide needs 16 rows, and its atlas holds the same
    // texels in them.
    EXPECT_EQ(font_atlas_height(boxes, 10, 32), 16);
    std::vector<uint8_t> low = font_atlas(rgba, 20, 10, boxes, 32, 16);
    ASSERT_EQ(low.size(), size_t(32) * 16 * 4);
    EXPECT_TRUE(std::equal(low.begin(), low.end(), atlas.begin()));
}

TEST(FontCutting, AdjacentSeparatorsMakeAnEmptyBoxAndAnyMarkerPixelCuts)
{
    std::vector<uint8_t> rgba = strip(12, 4, {3, 4});
    const uint8_t marker[4] = {255, 0, 255, 255};
    std::copy(marker, marker + 4, &rgba[(size_t(2) * 12 + 8) * 4]);  // one pixel in column 8
    std::vector<miniglyph> boxes = font_cut(rgba, 12, 4);
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].width, 3);
    EXPECT_EQ(boxes[1].width, 0);
    EXPECT_EQ(boxes[2].width, 3);
    EXPECT_EQ(boxes[3].width, 3);
}

TEST(FontCutting, ABoxWiderThanAnyTextureDoesNotFit)
{
    std::vector<miniglyph> boxes(1);
    boxes[0].width = 1 << 15;
    EXPECT_EQ(font_pack(boxes, 8), 0);
    std::vector<miniglyph> many(3);
    for (miniglyph& box : many)
        box.width = 60;
    // Cells of 64 take a whole row of 64 each: three rows of 12 fit; 32 is too narrow.
    EXPECT_EQ(font_pack(many, 8), 64);
    EXPECT_EQ(many[2].y, 2 * 12 + 2);
    // Three rows of 12 need 36: 64 high, never more than the width.
    EXPECT_EQ(font_atlas_height(many, 8, 64), 64);
    EXPECT_EQ(font_atlas_height(many, 8, 32), 32);
}

class FontCharset : public ::testing::Test {
protected:
    std::string pictureWithCharset(const std::string& bytes)
    {
        dir.write("f.ch", bytes);
        return dir.file("f.png");
    }
    TempDir dir;
};

TEST_F(FontCharset, Utf16LittleEndianIsReadAfterItsMark)
{
    std::vector<wchar_t> chars = font_charset(pictureWithCharset(std::string("\xff\xfe" "A\0\x05\x01", 6)));
    EXPECT_EQ(chars, (std::vector<wchar_t>{L'A', 0x105}));
    // An odd last byte is dropped.
    chars = font_charset(pictureWithCharset(std::string("\xff\xfe" "A\0B", 5)));
    EXPECT_EQ(chars, (std::vector<wchar_t>{L'A'}));
}

TEST_F(FontCharset, Utf8IsRefusedAndShortOrMissingFilesKeepTheDefault)
{
    std::vector<wchar_t> defaults = font_default_charset();
    ASSERT_EQ(defaults.size(), 107u);
    EXPECT_EQ(defaults[52], 0x118);  // the Polish letters follow the Latin ones
    EXPECT_EQ(defaults[87], L'"');
    EXPECT_EQ(defaults[106], L' ');

    ::testing::internal::CaptureStderr();
    EXPECT_EQ(font_charset(pictureWithCharset("\xef\xbb\xbf" "abc")), defaults);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "UTF-8 charset files not supported\n");
    EXPECT_EQ(font_charset(pictureWithCharset("ab")), defaults);
    EXPECT_EQ(font_charset(dir.file("none.png")), defaults);
    EXPECT_EQ(font_charset(dir.file("noextension")), defaults);
}

TEST_F(FontCharset, DamagedFilesAreNamed)
{
    const std::string named = dir.file("f.ch");
    for (const std::string& bytes : {std::string("ab"), std::string("ab\0\x01z", 5)}) {
        ::testing::internal::CaptureStderr();
        font_charset(pictureWithCharset(bytes));
        EXPECT_NE(::testing::internal::GetCapturedStderr().find("Warning: charset " + named), std::string::npos)
            << bytes;
    }
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(font_charset(pictureWithCharset("ab\x01")).size(), 3u);  // kept as it is
    ::testing::internal::GetCapturedStderr();
}

TEST_F(FontCharset, OtherFilesAreOneCharacterPerByte)
{
    std::setlocale(LC_CTYPE, "C");
    std::vector<wchar_t> chars = font_charset(pictureWithCharset("x,.\xe9"));
    ASSERT_EQ(chars.size(), 4u);
    EXPECT_EQ(chars[0], L'x');
    EXPECT_EQ(chars[1], L',');
    EXPECT_EQ(chars[3], wchar_t(0xe9));
}

// The generated fonts loaded on the recording device.
class FontLoaded : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ilInit(); }

    void SetUp() override
    {
        ::testing::internal::CaptureStdout();
        ASSERT_TRUE(font.load(std::string(PETPARK_APP_DIR) + "/Resources/data/fonts/sans_32.png"));
        loadOutput = ::testing::internal::GetCapturedStdout();
        engine.device.clear();
    }

    HeadlessEngine engine;
    ::Font font;
    std::string loadOutput;
};

TEST_F(FontLoaded, TheGeneratedFontHasTheWholeCharset)
{
    EXPECT_NE(loadOutput.find("Loading font "), std::string::npos);
    EXPECT_FLOAT_EQ(font.widthFactor, 1.0f);
    int size = 0, rows = 0;
    font.get_size(&size, &rows);
    EXPECT_LE(rows, size);
    EXPECT_FLOAT_EQ(font.lineHeight, 32.0f / float(rows));
    EXPECT_FLOAT_EQ(font.texelAspect, float(size) / float(rows));
    for (wchar_t c : std::wstring(L"Az09 ,.;'/\\\"\u0105\u0119\u0142\u017c\u0179\u00e9"))
        EXPECT_GT(font.draw(std::wstring(1, c).c_str(), 0, 0, 0.1f, 1, 1.3333f, kWhite, 1, 0), 0)
            << int(c);
    // Glyphs are sorted by code for the binary search.
    for (size_t k = 1; k < font.glyphs.size(); ++k)
        EXPECT_LE(font.glyphs[k - 1].code, font.glyphs[k].code);
}

TEST_F(FontLoaded, MeasuringQueuesNothingAndMissingCharactersAddNothing)
{
    float ab = font.draw(L"AB", 0, 0, 0.05f, 1, 0, kWhite, 1, 0);
    float a = font.draw(L"A", 0, 0, 0.05f, 1, 0, kWhite, 1, 0);
    EXPECT_GT(a, 0);
    EXPECT_GT(ab, a);
    EXPECT_FLOAT_EQ(font.draw(L"A\u4e00B", 0, 0, 0.05f, 1, 0, kWhite, 1, 0), ab);
    EXPECT_EQ(font.inUse, 0);
    // Twice the height or width scale, twice the width; twice the aspect, half.
    EXPECT_FLOAT_EQ(font.draw(L"AB", 0, 0, 0.1f, 1, 0, kWhite, 1, 0), 2 * ab);
    EXPECT_FLOAT_EQ(font.draw(L"AB", 0, 0, 0.05f, 2, 0, kWhite, 1, 0), 2 * ab);
    EXPECT_FLOAT_EQ(font.draw(L"AB", 0, 0, 0.05f, 1, 2 * 1.3333f, kWhite, 1, 0), ab / 2);
    // A glyph keeps its pixel proportions: its advance over its height is its box's.
    float boxWidth = 0;
    for (const ::Font::glyph& g : font.glyphs)
        if (g.code == L'A')
            boxWidth = g.w * font.texelAspect / font.lineHeight * 32;
    EXPECT_NEAR(a / 0.05f * 1.3333f, boxWidth / 32, 1e-4);
}

TEST_F(FontLoaded, DrawingQueuesOneItemOfOneQuadPerCharacter)
{
    engine.render.begin(nullptr, 0, 1.3333f);
    float width = font.draw(L"Hi!", 0.25f, 0.5f, 0.1f, 1, 0, kWhite, 1, 1);
    EXPECT_EQ(font.inUse, 1);
    float empty = font.draw(L"", 0.25f, 0.5f, 0.1f, 1, 0, kWhite, 1, 1);
    EXPECT_EQ(empty, 0.0f);
    engine.render.end(true, true, true);
    EXPECT_EQ(font.inUse, 0);
    std::vector<RecordedCall> d = engine.device.calls("DrawFromMemory");
    // Both items share font and blend: one batch, three quads (the empty text adds none).
    ASSERT_EQ(d.size(), 1u);
    EXPECT_EQ(d[0].i[2], 18);
    const std::vector<float>& pos = d[0].streams[0];
    EXPECT_FLOAT_EQ(pos[0], 0.25f);
    EXPECT_FLOAT_EQ(pos[1], 0.5f);
    EXPECT_FLOAT_EQ(pos[2 * 12 + 2 * 3], 0.25f + width);  // the last quad's right edge
    EXPECT_FLOAT_EQ(pos[2 * 12 + 2 * 3 + 1], 0.6f);
    const std::vector<float>& uv = d[0].streams[1];
    EXPECT_FLOAT_EQ(uv[5] - uv[1], font.lineHeight);  // top to bottom of the first quad
}

TEST_F(FontLoaded, MultibyteTextIsConvertedFirst)
{
    std::setlocale(LC_CTYPE, "C.UTF-8");
    float wide = font.draw(L"Zo\u0142w", 0, 0, 0.05f, 1, 0, kWhite, 1, 0);
    float narrow = font.draw("Zo\xc5\x82w", 0, 0, 0.05f, 1, 0, kWhite, 1, 0);
    EXPECT_FLOAT_EQ(narrow, wide);
    EXPECT_EQ(font.draw("\xff\xfe", 0, 0, 0.05f, 1, 0, kWhite, 1, 0), 0.0f);
    std::setlocale(LC_CTYPE, "C");
}

TEST_F(FontLoaded, FacadeFontsLoadMeasureAndDestroy)
{
    CRender::Font facade;
    EXPECT_FALSE(facade.is_loaded());
    EXPECT_EQ(facade.draw(L"abc", 0, 0, 0.05f, 1, 0, 1, 1, 1, 1, 0), 0.0f);
    ::testing::internal::CaptureStdout();
    ASSERT_TRUE(facade.load(std::string(PETPARK_APP_DIR) + "/Resources/data/fonts/sans_32.png"));
    ::testing::internal::GetCapturedStdout();
    EXPECT_TRUE(facade.is_loaded());
    EXPECT_FLOAT_EQ(facade.draw(L"abc", 0, 0, 0.05f, 1, 0, 1, 1, 1, 1, 0),
                    font.draw(L"abc", 0, 0, 0.05f, 1, 0, kWhite, 1, 0));
    facade.destroy();
    EXPECT_FALSE(facade.is_loaded());
}

// A charset of another length than the picture's glyphs shifts every letter: named.
// A charset shorter than the picture's glyphs names both files and pairs the first glyphs only:
// the last ones are left without characters.
TEST(FontFailures, AShortCharsetIsNamedAndLeavesTheLastGlyphsWithoutCharacters)
{
    ilInit();
    HeadlessEngine engine;
    TempDir dir;
    std::ifstream in(std::string(PETPARK_APP_DIR) + "/Resources/data/fonts/sans_32.png", std::ios::binary);
    dir.write("f.png", std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    dir.write("f.ch", "abc");
    ::Font font;
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(font.load(dir.file("f.png")));
    const std::string err = ::testing::internal::GetCapturedStderr();
    ::testing::internal::GetCapturedStdout();
    EXPECT_NE(err.find("Warning: charset " + dir.file("f.ch") + " gives 3 characters"), std::string::npos) << err;
    EXPECT_NE(err.find("glyphs of " + dir.file("f.png")), std::string::npos) << err;
    const float abc = font.draw(L"abc", 0, 0, 0.05f, 1, 0, kWhite, 1, 0);
    EXPECT_GT(abc, 0.0f);
    EXPECT_FLOAT_EQ(font.draw(L"abcd", 0, 0, 0.05f, 1, 0, kWhite, 1, 0), abc);
}

TEST(FontFailures, PicturesThatAreMissingOrNotRgbaLeaveTheFontUnloaded)
{
    ilInit();
    HeadlessEngine engine;
    TempDir dir;
    ::Font font;
    ::testing::internal::CaptureStdout();
    EXPECT_FALSE(font.load(dir.file("none.png")));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Loading font " + dir.file("none.png") + "\n");
    EXPECT_FALSE(font.is_loaded());

    // An RGB picture: 3 bytes a pixel.
    ILuint id = ilGenImage();
    ilBindImage(id);
    std::vector<uint8_t> rgb(8 * 4 * 3, 200);
    ilTexImage(8, 4, 1, 3, IL_RGB, IL_UNSIGNED_BYTE, rgb.data());
    ilEnable(IL_FILE_OVERWRITE);
    ASSERT_TRUE(ilSave(IL_PNG, dir.file("rgb.png").c_str()));
    ilDeleteImage(id);
    ::testing::internal::CaptureStdout();
    EXPECT_FALSE(font.load(dir.file("rgb.png")));
    ::testing::internal::GetCapturedStdout();
    EXPECT_FALSE(font.is_loaded());
    EXPECT_EQ(font.draw(L"x", 0, 0, 0.1f, 1, 0, kWhite, 1, 1), 0.0f);
}

}  // namespace

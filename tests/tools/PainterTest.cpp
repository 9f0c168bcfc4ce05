// The picture tool's painter: exact-area coverage at shape edges and at the canvas border,
// unions, cuts and glyph counters, transforms and paints in design units, soft shadows, the
// greyed look and the PNG round trip.

#include "fixtures/TempDir.h"
#include "mkpictures/Canvas.h"
#include "mkpictures/TextPath.h"

#include <gtest/gtest.h>

#include <IL/il.h>

#include <cmath>
#include <limits>

namespace {

const Color kRed{1, 0, 0, 1};

// Alpha of a pixel, 0..255.
int alphaAt(const std::vector<uint8_t>& rgba, int width, int x, int y)
{
    return rgba[(size_t(y) * width + x) * 4 + 3];
}

double totalAlpha(const std::vector<uint8_t>& rgba)
{
    double sum = 0;
    for (size_t k = 3; k < rgba.size(); k += 4)
        sum += rgba[k] / 255.0;
    return sum;
}

TEST(PainterCoverage, EdgesCoverTheirExactAreaAndCurvesTheirTrueArea)
{
    Canvas c(16, 16);
    // x from 2.25 to 5.75: a quarter of columns 2 and 5, all of 3 and 4.
    c.fill(rect(2.25f, 4, 3.5f, 8), kRed);
    std::vector<uint8_t> p = c.rgba();
    EXPECT_EQ(alphaAt(p, 16, 1, 8), 0);
    EXPECT_NEAR(alphaAt(p, 16, 2, 8), 191, 1);
    EXPECT_EQ(alphaAt(p, 16, 3, 8), 255);
    EXPECT_EQ(alphaAt(p, 16, 4, 8), 255);
    EXPECT_NEAR(alphaAt(p, 16, 5, 8), 191, 1);
    EXPECT_EQ(alphaAt(p, 16, 6, 8), 0);
    EXPECT_EQ(alphaAt(p, 16, 3, 3), 0);
    EXPECT_EQ(alphaAt(p, 16, 3, 12), 0);

    Canvas disc(64, 64);
    disc.fill(circle(31.3f, 30.7f, 20), kRed);
    EXPECT_NEAR(totalAlpha(disc.rgba()), 3.14159265 * 400, 3.14159265 * 400 * 0.005);
    // A triangle whose edges cross pixels at every slope.
    Canvas tri(64, 64);
    tri.fill(polygon({{3.3f, 5.1f}, {60.2f, 20.7f}, {17.9f, 58.4f}}), kRed);
    double area = 0.5 * std::fabs((60.2 - 3.3) * (58.4 - 5.1) - (17.9 - 3.3) * (20.7 - 5.1));
    EXPECT_NEAR(totalAlpha(tri.rgba()), area, area * 0.003);
}

TEST(PainterCoverage, ShapesReachingPastTheBorderCoverOnlyTheirPartInside)
{
    Canvas c(32, 32);
    c.fill(rect(-50, 2, 60.5f, 4), kRed);   // from the far left to x = 10.5
    c.fill(rect(28, 10, 100, 4), kRed);     // from x = 28 to far right
    c.fill(rect(4, -20, 4, 22), kRed);      // from far above to y = 2
    c.fill(circle(16, 200, 5), kRed);       // wholly below
    std::vector<uint8_t> p = c.rgba();
    EXPECT_EQ(alphaAt(p, 32, 0, 3), 255);
    EXPECT_EQ(alphaAt(p, 32, 9, 3), 255);
    EXPECT_NEAR(alphaAt(p, 32, 10, 3), 128, 1);
    EXPECT_EQ(alphaAt(p, 32, 11, 3), 0);
    EXPECT_EQ(alphaAt(p, 32, 27, 12), 0);
    EXPECT_EQ(alphaAt(p, 32, 31, 12), 255);
    EXPECT_EQ(alphaAt(p, 32, 5, 0), 255);
    EXPECT_EQ(alphaAt(p, 32, 5, 1), 255);
    EXPECT_EQ(alphaAt(p, 32, 5, 2), 255);  // the first rectangle starts here
    EXPECT_EQ(alphaAt(p, 32, 5, 8), 0);
    EXPECT_NEAR(totalAlpha(p), 10.5 * 4 + 4 * 4 + 4 * 2, 0.05);
}

TEST(PainterCoverage, UnionsDoNotDoubleCutsRemoveAndGlyphsKeepTheirCounters)
{
    // Overlapping shapes cover the overlap once, whatever their winding.
    Canvas c(32, 32);
    Path both = rect(4, 4, 12, 12) + polygon({{26, 10}, {26, 22}, {10, 22}, {10, 10}});
    c.fill(both, Color{0, 0, 1, 0.5f});
    std::vector<uint8_t> p = c.rgba();
    EXPECT_NEAR(alphaAt(p, 32, 12, 12), 128, 1);
    EXPECT_NEAR(alphaAt(p, 32, 6, 6), 128, 1);

    Canvas ring(32, 32);
    ring.fill(circle(16, 16, 12) - circle(16, 16, 6), kRed);
    std::vector<uint8_t> r = ring.rgba();
    EXPECT_EQ(alphaAt(r, 32, 16, 16), 0);
    EXPECT_EQ(alphaAt(r, 32, 16, 7), 255);
    EXPECT_NEAR(totalAlpha(r), 3.14159265 * (144 - 36), 3);

    TextPath font;
    ASSERT_TRUE(font.open("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"));
    Canvas o(64, 64);
    o.fill(font.text("O", 40, 32, 52), kRed);
    std::vector<uint8_t> g = o.rgba();
    EXPECT_EQ(alphaAt(g, 64, 32, 32), 0);    // the counter
    EXPECT_GT(alphaAt(g, 64, 32, 14), 200);  // the bowl's top
    // Capitals are as high as asked, standing on the baseline.
    int top = 64, bottom = 0;
    for (int y = 0; y < 64; ++y)
        if (alphaAt(g, 64, 32, y) > 128) {
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    EXPECT_NEAR(bottom - top + 1, 41, 2);  // the O overshoots a little
    EXPECT_NEAR(bottom, 52, 1);
}

TEST(PainterCoverage, AShapeWithAPointThatIsNotANumberIsLeftOut)
{
    Canvas c(16, 16);
    float nan = std::numeric_limits<float>::quiet_NaN();
    testing::internal::CaptureStderr();
    c.fill(polygon({{2, 2}, {nan, 4}, {12, 14}}) + rect(0, 0, 4, 4), kRed);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("not a number"), std::string::npos);
    EXPECT_NEAR(totalAlpha(c.rgba()), 16, 0.01);
}

TEST(PainterDrawing, TransformsPaintsClipsAndShadowsWorkInDesignUnits)
{
    // Designed on 8 units, drawn on 32 pixels: a gradient across the design's width.
    Canvas c(32, 32);
    c.set_transform(Affine::scale(4, 4));
    c.fill(rect(0, 0, 8, 8), linear({0, 0}, {8, 0}, {{0, Color{0, 0, 0, 1}}, {1, Color{1, 1, 1, 1}}}));
    std::vector<uint8_t> p = c.rgba();
    EXPECT_NEAR(p[(16 * 32 + 0) * 4], 2, 2);
    EXPECT_NEAR(p[(16 * 32 + 16) * 4], 130, 3);
    EXPECT_NEAR(p[(16 * 32 + 31) * 4], 253, 2);

    Canvas clipped(32, 32);
    clipped.push_clip(rect(0, 0, 16, 32));
    clipped.fill(rect(0, 0, 32, 32), kRed);
    clipped.pop_clip();
    clipped.fill(rect(0, 28, 32, 4), kRed);
    std::vector<uint8_t> q = clipped.rgba();
    EXPECT_EQ(alphaAt(q, 32, 8, 8), 255);
    EXPECT_EQ(alphaAt(q, 32, 24, 8), 0);
    EXPECT_EQ(alphaAt(q, 32, 24, 30), 255);

    // A shadow keeps roughly the shape's area, offset and spread out.
    Canvas s(64, 64);
    s.shadow(rect(20, 20, 16, 16), 4, 0, 6, Color{0, 0, 0, 1});
    std::vector<uint8_t> r = s.rgba();
    EXPECT_NEAR(totalAlpha(r), 256, 256 * 0.05);
    EXPECT_GT(alphaAt(r, 64, 32, 28), 200);
    EXPECT_GT(alphaAt(r, 64, 42, 28), 0);
    EXPECT_LT(alphaAt(r, 64, 42, 28), 128);
    EXPECT_EQ(alphaAt(r, 64, 10, 28), 0);
}

TEST(PainterOutput, GreyedPicturesKeepTheirAlphaAndPngsComeBackExactly)
{
    Canvas c(8, 4);
    c.fill(rect(0, 0, 4, 4), Color{1, 0.5f, 0, 0.6f});
    c.fill(rect(4, 0, 4, 2), Color{0, 0.2f, 1, 1});
    std::vector<uint8_t> rgba = c.rgba();
    std::vector<uint8_t> grey = greyed(rgba);
    for (size_t k = 0; k < rgba.size(); k += 4) {
        EXPECT_EQ(grey[k], grey[k + 1]);
        EXPECT_EQ(grey[k + 1], grey[k + 2]);
        EXPECT_EQ(grey[k + 3], rgba[k + 3]);
    }
    EXPECT_NE(greyed(rgba)[0], greyed(rgba)[(4 * 0 + 4) * 4]);  // different colours stay apart

    TempDir dir;
    std::string path = dir.file("picture.png");
    ilInit();
    ASSERT_TRUE(save_png(path, 8, 4, rgba));
    ILuint id = ilGenImage();
    ilBindImage(id);
    ASSERT_TRUE(ilLoadImage(path.c_str()));
    ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE);
    ASSERT_EQ(ilGetInteger(IL_IMAGE_WIDTH), 8);
    ASSERT_EQ(ilGetInteger(IL_IMAGE_HEIGHT), 4);
    const ILubyte* data = ilGetData();
    bool upperLeft = ilGetInteger(IL_IMAGE_ORIGIN) == IL_ORIGIN_UPPER_LEFT;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            for (int ch = 0; ch < 4; ++ch) {
                int row = upperLeft ? y : 3 - y;
                ASSERT_EQ(data[(row * 8 + x) * 4 + ch], rgba[(y * 8 + x) * 4 + ch]) << x << "," << y;
            }
    ilDeleteImage(id);
    EXPECT_FALSE(save_png(dir.file("missing/folder/picture.png"), 8, 4, rgba));
}

}  // namespace

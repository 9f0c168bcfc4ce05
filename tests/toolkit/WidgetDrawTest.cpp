// What the image handles and the labels queue, drawn on the recording device: clipping and texture
// shares of images, and the line breaking and placement of labels with a test font whose glyph
// advances are known.

#include "DrawnQuads.h"
#include "WidgetTestData.h"
#include "fixtures/HeadlessEngine.h"
#include "fixtures/PngWriter.h"
#include "render/CRender.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/widgets/Container.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <IL/il.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace {

constexpr float kAspect2D = 1.3333f;

// ---- image handles

class ImageDraw : public ::testing::Test {
protected:
    ImageDraw()
    {
        std::vector<unsigned char> rgba(64 * 32 * 4, 255);
        write_png(dir.file("pic.png"), 64, 32, rgba.data());
        dir.write("pic.flags", "1");  // no half-texel inset: texture coordinates stay exact
        EXPECT_TRUE(picture.load(dir.file("pic.png")));
        engine.device.clear();
        engine.render.begin(nullptr, 0.0f, kAspect2D);
    }
    std::vector<DrawnQuad> finish()
    {
        engine.render.end(true, true, true);
        return drawnQuads(engine.device);
    }

    TempDir dir;
    HeadlessEngine engine;
    CRender::Image picture;
};

TEST_F(ImageDraw, APictureHalfOutsideTheClipDrawsItsLeftHalf)
{
    MyImage image("", 0.2f, 0.2f, 0.2f, 0.1f, 0.2f, 0.2f, 0.2f, 0.1f);
    image.setImage(&picture);
    image.setClipRect(0.0f, 0.0f, 0.3f, 1.0f);
    image.draw(1, 1, 1, 1, 0, 0, 1, 1);
    std::vector<DrawnQuad> quads = finish();
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_NEAR(quads[0].x0, 0.2f, 1e-6);
    EXPECT_NEAR(quads[0].x1, 0.3f, 1e-6);
    EXPECT_NEAR(quads[0].u0, 0.0f, 1e-6);
    EXPECT_NEAR(quads[0].u1, 0.5f, 1e-6);
    EXPECT_NEAR(quads[0].v0, 0.0f, 1e-6);
    EXPECT_NEAR(quads[0].v1, 1.0f, 1e-6);
}

TEST_F(ImageDraw, APaddedPictureUsesItsShareOfTheTextureFromTheTop)
{
    // Layer 100 x 60 pixels of a 1000 x 500 canvas, padded to 128 x 64.
    MyImage image("", 0.1f, 0.4f, 0.1f, 0.12f, 0.1f, 0.4f, 0.128f, 0.128f);
    image.setImage(&picture);
    image.draw(1, 1, 1, 1, 0, 0, 1, 1);
    std::vector<DrawnQuad> quads = finish();
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_NEAR(quads[0].u1, 100.0f / 128, 1e-5);
    EXPECT_NEAR(quads[0].v0, 1.0f - 0.12f / 0.128f, 1e-5);
    EXPECT_NEAR(quads[0].v1, 1.0f, 1e-5);
}

TEST_F(ImageDraw, OffsetScaleAndATopCutMoveTheDestination)
{
    MyImage image("", 0.2f, 0.2f, 0.2f, 0.2f, 0.2f, 0.2f, 0.2f, 0.2f);
    image.setImage(&picture);
    image.setClipRect(0.0f, 0.35f, 1.0f, 1.0f);
    image.draw(1, 1, 1, 1, 0.1f, 0.05f, 2.0f, 1.0f);
    std::vector<DrawnQuad> quads = finish();
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_NEAR(quads[0].x0, 0.3f, 1e-6);
    EXPECT_NEAR(quads[0].x1, 0.7f, 1e-6);
    EXPECT_NEAR(quads[0].y0, 0.35f, 1e-6);
    EXPECT_NEAR(quads[0].y1, 0.45f, 1e-6);
    EXPECT_NEAR(quads[0].v0, 0.0f, 1e-5);  // the lower half of the picture: v counts from the bottom
    EXPECT_NEAR(quads[0].v1, 0.5f, 1e-5);
}

TEST_F(ImageDraw, NothingIsDrawnOutsideTheClipOrForAnEmptyTextureShare)
{
    MyImage outside("", 0.5f, 0.5f, 0.1f, 0.1f, 0.5f, 0.5f, 0.1f, 0.1f);
    outside.setImage(&picture);
    outside.setClipRect(0.0f, 0.0f, 0.5f, 0.5f);
    outside.draw(1, 1, 1, 1, 0, 0, 1, 1);
    MyImage flat("", 0.1f, 0.1f, 0.1f, 0.1f, 0.1f, 0.1f, 0.0f, 0.1f);
    flat.setImage(&picture);
    flat.draw(1, 1, 1, 1, 0, 0, 1, 1);
    MyImage empty("", 0.1f, 0.1f, 0.1f, 0.1f, 0.1f, 0.1f, 0.1f, 0.1f);
    empty.load();
    EXPECT_TRUE(empty.isLoaded());
    empty.draw(1, 1, 1, 1, 0, 0, 1, 1);
    empty.unload();
    EXPECT_TRUE(finish().empty());
}

TEST(ImageRects, TheDrawRectFollowsTheLayerRect)
{
    MyImage image("", 0.1f, 0.1f, 0.1f, 0.1f, 0.1f, 0.1f, 0.128f, 0.128f);
    image.setRect(0.2f, 0.3f, 0.2f, 0.1f);
    EXPECT_FLOAT_EQ(image.getDrawRect().x, 0.2f);
    EXPECT_FLOAT_EQ(image.getDrawRect().y, 0.3f);
    EXPECT_FLOAT_EQ(image.getDrawRect().z, 0.256f);
    EXPECT_FLOAT_EQ(image.getDrawRect().w, 0.128f);
    image.setPosition(0.0f, 0.0f);
    EXPECT_FLOAT_EQ(image.getDrawRect().x, 0.0f);
    EXPECT_FLOAT_EQ(image.getDrawRect().z, 0.256f);
    MyImage flat("", 0.1f, 0.1f, 0.0f, 0.0f, 0.1f, 0.1f, 0.0f, 0.0f);
    flat.setRect(0.1f, 0.1f, 0.3f, 0.2f);  // no ratio from a zero size: the new size
    EXPECT_FLOAT_EQ(flat.getDrawRect().z, 0.3f);
    EXPECT_FLOAT_EQ(flat.getDrawRect().w, 0.2f);
}

// ---- loading through the background loader

class ScreenLoading : public ::testing::Test {
protected:
    ScreenLoading() : home(std::filesystem::current_path())
    {
        std::vector<unsigned char> rgba(8 * 8 * 4, 200);
        write_png(dir.file("bg.png"), 8, 8, rgba.data());
    }
    ~ScreenLoading() override { std::filesystem::current_path(home); }
    std::filesystem::path home;
    TempDir dir;
    HeadlessEngine engine;
};

TEST_F(ScreenLoading, ACanvasLoadsThroughTheLoaderOnce)
{
    Container screen;
    screen.mChildren.push_back(new WidgetCanvas(dir.file("bg.png"), L"canvas_bg", float4(0, 0, 1, 1),
                                                float4(0, 0, 1, 1)));
    EXPECT_FALSE(screen.isLoaded());
    screen.load();
    for (int i = 0; i < 500 && !screen.isLoaded(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(screen.isLoaded());
    screen.unload();
    EXPECT_FALSE(screen.isLoaded());
}

// A picture that cannot load ends its load as failed: the screen stops waiting for it (it
// draws nothing there) and the file is named.
TEST_F(ScreenLoading, AnEmptyPictureIsNamedAndTheScreenGoesOn)
{
    dir.write("empty.png", "");
    Container screen;
    screen.mChildren.push_back(new WidgetCanvas(dir.file("bg.png"), L"canvas_bg", float4(0, 0, 1, 1),
                                                float4(0, 0, 1, 1)));
    screen.mChildren.push_back(new WidgetCanvas(dir.file("empty.png"), L"canvas_hole", float4(0, 0, 1, 1),
                                                float4(0, 0, 1, 1)));
    ::testing::internal::CaptureStderr();
    screen.load();
    for (int i = 0; i < 500 && !screen.isLoaded(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(screen.isLoaded());
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("picture " + dir.file("empty.png") + " is empty"), std::string::npos) << err;
    EXPECT_FALSE(screen.mChildren[1]->getImages()[0]->getImage()->is_loaded());
    screen.unload();
}

TEST_F(ScreenLoading, AMissingPictureStopsWithItsPath)
{
    WidgetCanvas canvas(dir.file("absent.png"), L"canvas_bg", float4(0, 0, 1, 1), float4(0, 0, 1, 1));
    EXPECT_DEATH(canvas.load(), "absent.png(.|\n)*towarzyszu ladujesz nieistniejacy plik");
}

// ---- labels

// Test font "data/fonts/test": glyphs a (3 px), b (6 px), blank (3 px) and W (12 px), 12 px high.
void writeTestFont(const TempDir& dir)
{
    const int widths[4] = {3, 6, 3, 12};
    const int height = 12, width = 3 + 1 + 6 + 1 + 3 + 1 + 12;
    std::vector<unsigned char> rgba(width * height * 4, 255);
    int column = 0;
    for (int g = 0; g < 3; ++g) {
        column += widths[g];
        for (int y = 0; y < height; ++y) {
            unsigned char* p = &rgba[(y * width + column) * 4];
            p[0] = 255, p[1] = 0, p[2] = 255, p[3] = 255;
        }
        ++column;
    }
    rgba[0] = 255, rgba[1] = 0, rgba[2] = 255, rgba[3] = 255;
    std::filesystem::create_directories(dir.file("data/fonts"));
    write_png(dir.file("data/fonts/test.png"), width, height, rgba.data());
    dir.write("data/fonts/test.ch", std::string("\xFF\xFE" "a\0b\0 \0W\0", 10));
}

class LabelLayout : public ::testing::Test {
protected:
    LabelLayout() : home(std::filesystem::current_path())
    {
        writeTestFont(dir);
        std::filesystem::create_directories(dir.file("data/dat"));
        dir.write("data/dat/fonts.dat",
                  "fonts/test 0.1 1.0 1.0 l u 255 255 255\n"
                  "fonts/test 0.1 1.0 1.0 c c 255 0 0\n"
                  "fonts/test 0.1 1.0 1.0 r d 0 255 0\n"
                  "fonts/test 0.1 1.0 1.2 l u 255 255 255\n");
        std::filesystem::current_path(dir.path());
        engine.render.begin(nullptr, 0.0f, kAspect2D);
        styles()->load();
        loadTestTexts(dir);
        engine.device.clear();
    }
    ~LabelLayout() override
    {
        if (engine.render.was_render_started())
            engine.render.end(true, true, true);
        // The loaded fonts go while their device lives; the styles that stay name absent fonts.
        loadTestStyles(dir);
        std::filesystem::current_path(home);
    }
    // The image library is started by the real device's Init; fonts load through it.
    static void SetUpTestSuite() { ilInit(); }
    static FontStylesMgr* styles() { return Singleton<FontStylesMgr>::get(); }
    CRender::Font* font() { return styles()->getFont(styles()->getStyle(1)); }
    // Width of a text in style 1 (size 0.1): one pixel of the font is 0.1 / (12 * aspect).
    float width(const std::wstring& text) { return measureTextWidth(0.1f, 1.0f, 1.0f, font(), text); }
    float px(float pixels) { return pixels * 0.1f / (12 * kAspect2D); }
    // The glyph quads drawn in this frame.
    std::vector<DrawnQuad> glyphs()
    {
        engine.render.end(true, true, true);
        return drawnQuads(engine.device);
    }

    std::filesystem::path home;
    TempDir dir;
    HeadlessEngine engine;
};

TEST_F(LabelLayout, TheFontMeasuresItsGlyphs)
{
    ASSERT_TRUE(font()->is_loaded());
    EXPECT_NEAR(width(L"a"), px(3), 1e-6);
    EXPECT_NEAR(width(L"ab W"), px(24), 1e-6);
    EXPECT_NEAR(width(L"a?"), px(3), 1e-6);  // a missing character adds nothing
    EXPECT_NEAR(measureTextWidth(0.1f, 1.0f, 1.2f, font(), L"ab"), px(9) * 1.2f, 1e-6);
}

TEST_F(LabelLayout, GreedyBreakingKeepsAnExactFitAndNeverCutsAWord)
{
    WidgetLabel label(L"label_title_1", 0.1f, 0.2f, width(L"ab ab"), 0.3f);
    label.setText(L"ab ab ab", 0, 1);
    EXPECT_EQ(label.getLines(), std::vector<std::wstring>());
    EXPECT_EQ(label.getLineCount(), 2);
    EXPECT_EQ(label.getLines(), std::vector<std::wstring>({L"ab ab", L"ab"}));
    label.setText(L"  ab   ab  ", 0, 1);
    EXPECT_EQ(label.getLineCount(), 1);
    EXPECT_EQ(label.getLines(), std::vector<std::wstring>({L"ab ab"}));
    label.setText(L"bbbbbbbb ab", 0, 1);
    EXPECT_EQ(label.getLineCount(), 2);
    EXPECT_EQ(label.getLines(), std::vector<std::wstring>({L"bbbbbbbb", L"ab"}));
    EXPECT_EQ(splitTextToLinesAlt(0.1f, 1.0f, 1.0f, width(L"ab a"), font(), L"ab ab ab"),
              std::vector<std::wstring>({L"ab", L"ab", L"ab"}));
}

TEST_F(LabelLayout, TheLayoutIsRedoneOnlyWhenSomethingChanged)
{
    WidgetLabel label(L"label_title_1", 0.1f, 0.2f, width(L"ab ab"), 0.3f);
    label.setText(L"ab ab ab", 0, 1);
    EXPECT_EQ(label.getLineCount(), 2);
    label.getImages()[0]->setRect(0.1f, 0.2f, width(L"ab ab ab"), 0.3f);
    EXPECT_EQ(label.getLineCount(), 1);  // a wider box lays out again
    label.setTransform(0, 0, 1, 0.5f);  // half the size: the same words fit
    EXPECT_EQ(label.getLineCount(), 1);
}

TEST_F(LabelLayout, LeftTopLinesStartAtTheBoxCorner)
{
    WidgetLabel label(L"label_title_1", 0.1f, 0.2f, width(L"ab ab"), 0.3f);
    label.setText(L"ab ab ab", 0, 1);
    label.setVisible(1);
    label.draw();
    std::vector<DrawnQuad> quads = glyphs();
    ASSERT_EQ(quads.size(), 7u);  // a, b, blank, a, b on the first line; a, b on the second
    EXPECT_NEAR(quads[0].x0, 0.1f, 1e-6);
    EXPECT_NEAR(quads[0].y0, 0.2f, 1e-6);
    EXPECT_NEAR(quads[0].y1 - quads[0].y0, 0.1f, 1e-6);
    EXPECT_NEAR(quads[5].x0, 0.1f, 1e-6);
    EXPECT_NEAR(quads[5].y0, 0.3f, 1e-6);  // the line step is the style size
}

TEST_F(LabelLayout, CentredAndRightAlignedLinesArePlacedByTheirWidth)
{
    float boxWidth = width(L"ab ab") + 0.05f;
    WidgetLabel centred(L"label_title_2", 0.1f, 0.2f, boxWidth, 0.3f);
    centred.setText(L"ab", 0, 1);
    centred.setVisible(1);
    centred.draw();
    WidgetLabel right(L"label_title_3", 0.1f, 0.2f, boxWidth, 0.3f);
    right.setText(L"ab ab ab", 0, 1);
    right.setVisible(1);
    right.setOffset(0.01f, 0.02f);
    right.draw();
    std::vector<DrawnQuad> quads = glyphs();
    ASSERT_EQ(quads.size(), 2u + 7u);
    EXPECT_NEAR(quads[0].x0, 0.1f + boxWidth * 0.5f - width(L"ab") * 0.5f, 1e-6);
    EXPECT_NEAR(quads[0].y0, 0.2f + 0.3f * 0.5f - 0.1f * 0.5f, 1e-6);
    // Right and bottom: the first line sits on the box's bottom, the second runs below it.
    EXPECT_NEAR(quads[2].x0, 0.1f + boxWidth - width(L"ab ab") + 0.01f, 1e-6);
    EXPECT_NEAR(quads[2].y0, 0.2f + 0.3f - 0.1f + 0.02f, 1e-6);
    EXPECT_NEAR(quads[7].x0, 0.1f + boxWidth - width(L"ab") + 0.01f, 1e-6);
    EXPECT_NEAR(quads[7].y0, 0.2f + 0.3f + 0.02f, 1e-6);
}

TEST_F(LabelLayout, AnAdvanceFactorSpacesTheCharacters)
{
    WidgetLabel label(L"label_title_4", 0.1f, 0.2f, 1.0f, 0.3f);
    label.setText(L"ab", 0, 0);
    label.setVisible(1);
    label.draw();
    std::vector<DrawnQuad> quads = glyphs();
    ASSERT_EQ(quads.size(), 2u);
    EXPECT_NEAR(quads[1].x0 - quads[0].x0, px(3) * 1.2f, 1e-6);
}

TEST_F(LabelLayout, ATransparentLabelDrawsNoTextAndAnInvisibleOneNothing)
{
    WidgetLabel label(L"label_title_1", 0.1f, 0.2f, 1.0f, 0.3f);
    label.setText(L"ab", 0, 1);
    label.setVisible(1);
    label.setColor(1, 1, 1, 0);
    label.draw();
    label.setColor(1, 1, 1, 1);
    label.setVisible(0);
    label.draw();
    EXPECT_TRUE(glyphs().empty());
}

TEST_F(LabelLayout, WithoutWrapALongTextRunsPastTheBox)
{
    WidgetLabel label(L"label_title_1", 0.1f, 0.2f, width(L"ab"), 0.3f);
    label.setText(L"ab ab ab", 0, 0);
    label.setVisible(1);
    label.draw();
    std::vector<DrawnQuad> quads = glyphs();
    ASSERT_EQ(quads.size(), 8u);
    EXPECT_NEAR(quads[7].y0, 0.2f, 1e-6);
    EXPECT_GT(quads[7].x1, 0.1f + width(L"ab"));
}

} // namespace

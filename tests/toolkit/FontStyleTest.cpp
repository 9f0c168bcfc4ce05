#include "toolkit/utils/FontStyle.h"

#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

// Reads a styles file written into a temporary folder (its fonts do not exist there).
struct StylesFile : public ::testing::Test {
    void load(const std::string& text)
    {
        path = dir.write("fonts.dat", text);
        styles.load(path);
    }
    TempDir dir;
    std::string path;
    FontStylesMgr styles;
};

TEST_F(StylesFile, NineTokensAndACommentMakeOneStyle)
{
    load("\xEF\xBB\xBF" "fonts/sans_24 0.03125 1.0 1.2 C d 0 128 255 // 1 body text\n");
    ASSERT_EQ(styles.styleCount(), 1);
    const FontStylesMgr::FontStyle& style = styles.getStyle(1);
    EXPECT_EQ(style.mFontPath, "data/fonts/sans_24.png");
    EXPECT_FLOAT_EQ(style.mSize, 0.03125f);
    EXPECT_FLOAT_EQ(style.mWidthFactor, 1.0f);
    EXPECT_FLOAT_EQ(style.mAdvanceFactor, 1.2f);
    EXPECT_EQ(style.mHAlign, FontStylesMgr::kAlignCentre);
    EXPECT_EQ(style.mVAlign, FontStylesMgr::kAlignBottom);
    EXPECT_FLOAT_EQ(style.mColor.x, 0.0f);
    EXPECT_NEAR(style.mColor.y, 0.50196f, 1e-5);
    EXPECT_FLOAT_EQ(style.mColor.z, 1.0f);
    EXPECT_FLOAT_EQ(style.mColor.w, 1.0f);
}

TEST_F(StylesFile, StylesAreNumberedFromOneAndShareTheirFonts)
{
    load("fonts/sans_24 0.03 1 1 l u 1 1 1\n"
         "fonts/bold_32   0.04  1 1  r   c 2 2 2\n"
         "fonts/sans_24 0.05 1 1 c d 3 3 3\n");
    ASSERT_EQ(styles.styleCount(), 3);
    EXPECT_FALSE(styles.hasStyle(0));
    EXPECT_FALSE(styles.hasStyle(4));
    EXPECT_FLOAT_EQ(styles.getStyle(1).mSize, 0.03f);
    EXPECT_EQ(styles.getStyle(2).mHAlign, FontStylesMgr::kAlignRight);
    EXPECT_EQ(styles.getStyle(2).mVAlign, FontStylesMgr::kAlignMiddle);
    EXPECT_EQ(styles.mFonts.size(), 2u);
    EXPECT_EQ(styles.getFont(styles.getStyle(1)), styles.getFont(styles.getStyle(3)));
    EXPECT_NE(styles.getFont(styles.getStyle(1)), styles.getFont(styles.getStyle(2)));
    EXPECT_NE(styles.getFont(styles.getStyle(1)), nullptr);
}

TEST_F(StylesFile, LoadingAgainReplacesBothTables)
{
    load("fonts/a 0.03 1 1 l u 1 1 1\nfonts/b 0.03 1 1 l u 1 1 1\n");
    load("fonts/c 0.03 1 1 l u 1 1 1\n");
    EXPECT_EQ(styles.styleCount(), 1);
    EXPECT_EQ(styles.mFonts.size(), 1u);
}

TEST_F(StylesFile, TraceGoesOutNarrowOneTokenPerLine)
{
    testing::internal::CaptureStdout();
    load("fonts/sans 0.03 1 1 l u 1 1 1 // zażółć\n");
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("fonts/sans \n0.03 \n"), std::string::npos);
    EXPECT_NE(out.find("za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 \n"), std::string::npos);
}

// ---- fatal cases

struct StylesFileDeathTest : public StylesFile {};

TEST_F(StylesFileDeathTest, ATenthTokenThatIsNoCommentStops)
{
    EXPECT_DEATH(load("fonts/sans 0.03 1 1 l u 1 1 1 extra\n"), "line 1: w czcionce brakuje parametrow");
}

TEST_F(StylesFileDeathTest, EmptyAndCommentOnlyLinesStop)
{
    EXPECT_DEATH(load("fonts/sans 0.03 1 1 l u 1 1 1\n\nfonts/sans 0.03 1 1 l u 1 1 1\n"),
                 "line 2: w czcionce brakuje parametrow");
    EXPECT_DEATH(load("// all styles\n"), "line 1: w czcionce brakuje parametrow");
}

TEST_F(StylesFileDeathTest, AWordForAnAlignmentStops)
{
    EXPECT_DEATH(load("fonts/sans 0.03 1 1 left u 1 1 1\n"), "line 1: alignment 'left'");
    EXPECT_DEATH(load("fonts/sans 0.03 1 1 l x 1 1 1\n"), "line 1: alignment 'x'");
}

TEST_F(StylesFileDeathTest, ANonNumberStopsNamingTheLine)
{
    EXPECT_DEATH(load("fonts/sans 0.03 1 1 l u 1 1 1\nfonts/sans big 1 1 l u 1 1 1\n"),
                 "fonts.dat line 2: 'big' is not a number");
    EXPECT_DEATH(load("fonts/sans 0.03 1 1 l u 1 1 0.5\n"), "line 1: '0.5' is not a number");
}

TEST_F(StylesFileDeathTest, AMissingOrEmptyFileStops)
{
    EXPECT_DEATH(styles.load(dir.file("absent.dat")), "no dat file loaded!");
    EXPECT_DEATH(load(""), "no dat file loaded!");
}

} // namespace

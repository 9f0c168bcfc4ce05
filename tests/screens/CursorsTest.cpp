#include "ScreenLayouts.h"
#include "ScreenTestSupport.h"

#include "park/GameCamera.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <gtest/gtest.h>

using namespace screens;

namespace {

constexpr float kBand = 0.3750094f;

class CursorsTest : public testing::Test {
protected:
    void SetUp() override
    {
        bindLayouts();
        hideAll();
        camera = parkCamera();
        camera->mScrollDirection = 0;
        cursors->setStateAll("game", 2, 0);
        cursors->update();
        cursors->update();
        menu->mCurrentMenu = L"nomenu";
        border = camera->getScrollBorder();
    }
    void TearDown() override
    {
        hideAll();
        cursors->hoverFlag = 0;
        cursors->cursorKind = 0;
        menu->mCurrentMenu = L"nomenu";
    }

    Cursors* cursors = Singleton<Cursors>::get();
    MenuManager* menu = Singleton<MenuManager>::get();
    GameCamera* camera = nullptr;
    float border = 0.0f;
};

TEST(CursorZones, CornersWinOverEdgesAndTheFoldButtonFreezesTheBottom)
{
    const float b = 0.05f;
    const float r = 4.0f / 3.0f;
    const float left = b + 0.5f - kBand * r;
    const float right = 0.5f + kBand * r - b;
    const struct {
        float x, y;
        int kind, direction;
    } cases[] = {
        {left - 0.01f, 0.01f, 6, 5},  {left - 0.01f, 0.99f, 7, 6}, {right + 0.01f, 0.01f, 8, 7},
        {right + 0.01f, 0.99f, 9, 8}, {left - 0.01f, 0.5f, 2, 1},  {right + 0.01f, 0.5f, 3, 2},
        {0.5f, 0.01f, 4, 3},          {0.5f, 0.99f, 5, 4},         {0.5f, 0.5f, 0, 0},
        {left, 0.5f, 0, 0},           {0.5f, b, 0, 0},
    };
    for (const auto& c : cases) {
        int kind = -1, direction = -1;
        EXPECT_TRUE(Cursors::zone(c.x, c.y, b, r, false, kind, direction));
        EXPECT_EQ(kind, c.kind) << c.x << " " << c.y;
        EXPECT_EQ(direction, c.direction) << c.x << " " << c.y;
    }
    int kind = 3, direction = 2;
    EXPECT_FALSE(Cursors::zone(0.5f, 0.99f, b, r, true, kind, direction));
    EXPECT_EQ(kind, 3);
    EXPECT_EQ(direction, 2);
    // The corners of the bottom band still win over the fold button.
    EXPECT_TRUE(Cursors::zone(left - 0.01f, 0.99f, b, r, true, kind, direction));
    EXPECT_EQ(kind, 7);
    // A wider screen moves the side bands out.
    EXPECT_TRUE(Cursors::zone(left - 0.01f, 0.5f, b, 1.6f, false, kind, direction));
    EXPECT_EQ(kind, 0);
    EXPECT_TRUE(Cursors::zone(0.5f - kBand * 1.6f + b - 0.01f, 0.5f, b, 1.6f, false, kind, direction));
    EXPECT_EQ(kind, 2);
}

TEST_F(CursorsTest, TheCameraScrollsOnlyWithNoMenuOpen)
{
    ASSERT_GT(border, 0.0f);
    pointAt(0.5f - kBand * (4.0f / 3.0f) + 0.5f * border, 0.5f * border);
    for (const wchar_t* word : {L"nomenu", L"popupend", L"scrollpopupend", L"returnfromoptions"}) {
        camera->mScrollDirection = 0;
        menu->mCurrentMenu = word;
        cursors->update();
        EXPECT_EQ(cursors->cursorKind, 6) << word;
        EXPECT_EQ(camera->mScrollDirection, 5) << word;
    }
    for (const wchar_t* word : {L"options", L"exit", L"finances", L"mainmenustart", L"popupstart"}) {
        menu->mCurrentMenu = L"nomenu";
        cursors->update();
        menu->mCurrentMenu = word;
        cursors->update();
        EXPECT_EQ(cursors->cursorKind, 0) << word;
        EXPECT_EQ(camera->mScrollDirection, 0) << word;
    }
}

TEST_F(CursorsTest, HotSpotsAreTheHelpersCentresOnPicturesMovedToTheOrigin)
{
    // The normal arrow: its hot spot helper is 2 x 2 pixels at (2, 2) within the picture.
    const CursorImage* arrow = cursors->cursorImages[0];
    EXPECT_EQ(arrow->widget, cursors->mWidget4);
    const float4 spot = cursors->mHelper4->getRect();
    const float4 picture = cursors->mWidget4->getRect();
    EXPECT_FLOAT_EQ(arrow->hotspotX, spot.x + 0.5f * spot.z - picture.x);
    EXPECT_FLOAT_EQ(arrow->hotspotY, spot.y + 0.5f * spot.w - picture.y);
    EXPECT_NEAR(arrow->hotspotX, 3.0f / 1024.0f, 1e-6f);
    EXPECT_NEAR(arrow->hotspotY, 3.0f / 768.0f, 1e-6f);
    for (const CursorImage* record : cursors->cursorImages) {
        EXPECT_FLOAT_EQ(record->widget->getImages()[0]->getRect().x, 0.0f);
        EXPECT_FLOAT_EQ(record->widget->getImages()[0]->getRect().y, 0.0f);
    }
    EXPECT_EQ(cursors->cursorImages[1]->widget, cursors->mWidget6);
    EXPECT_EQ(cursors->cursorImages[3]->widget, cursors->mWidget7);
    EXPECT_EQ(cursors->cursorImages[10]->widget, cursors->mWidget1);
}

TEST_F(CursorsTest, TheHoverHintShowsOnlyBesideTheNormalArrow)
{
    pointAt(0.5f, 0.4f);
    cursors->hoverFlag = 1;
    cursors->hoverText = L"Kennel";
    cursors->mWidget5->setText(L"", 0, 1);
    cursors->cursorKind = 2;
    cursors->draw();
    EXPECT_EQ(cursors->mWidget5->getText(0), L"");
    cursors->cursorKind = 0;
    cursors->draw();
    EXPECT_EQ(cursors->mWidget5->getText(0), L"Kennel");
    const float4 at = cursors->mWidget5->getImages()[0]->getRect();
    EXPECT_FLOAT_EQ(at.x, 0.5f - 0.04f);
    EXPECT_FLOAT_EQ(at.y, 0.4f + 0.06f);

    // The showing clears the hint text.
    hideNow(cursors);
    cursors->setStateAll("game", 2, 250);
    EXPECT_EQ(cursors->hoverText, L"");
}

} // namespace

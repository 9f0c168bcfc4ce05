#include "ScreenLayouts.h"
#include "ScreenTestSupport.h"

#include "source_menu/Button.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <gtest/gtest.h>

using namespace screens;

namespace {

// Presses the pointer over the button in one update of the screen and releases it in the next.
void click(Button* button, Container* screen)
{
    const float4 picture = Singleton<ButtonBar>::get()->getIconImage(button->kind, 0)->getRect();
    pointAt(button->x + 0.5f * picture.z, button->y, 1);
    screen->update();
    pointAt(button->x + 0.5f * picture.z, button->y, 0);
    screen->update();
    pointAt(-1.0f, -1.0f);
}

class PopupTest : public testing::Test {
protected:
    void SetUp() override
    {
        bindLayouts();
        hideAll();
        menu->mCurrentMenu = L"nomenu";
        pointAt(-1.0f, -1.0f);
    }
    void TearDown() override
    {
        hideAll();
        screensDevice().setScreenSize(1024, 768);
    }

    void open(int buttons, int* result, int variant = 0)
    {
        popup->setTitle(L"Title");
        popup->setText(L"Text");
        popup->setResult(result);
        popup->setMode(buttons, variant);
        menu->runCommand(L"popupstart");
    }
    void showFully()
    {
        for (int i = 0; i < 30; ++i)
            popup->update();
        ASSERT_EQ(showState(popup), kShowShown);
    }

    Popup* popup = Singleton<Popup>::get();
    MenuManager* menu = Singleton<MenuManager>::get();
};

TEST_F(PopupTest, OkWritesOneAndEndsThePopupWithOnePopupSound)
{
    int answer = -1;
    SoundLog sounds;
    open(1, &answer);
    showFully();
    click(popup->okButton, popup);
    sounds.stop();
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(menu->currentMenu(), L"popupend");
    EXPECT_EQ(showState(popup), kShowDisappearing);
    EXPECT_EQ(sounds.count("popup"), 1);
    EXPECT_EQ(sounds.count("click"), 1);
}

TEST_F(PopupTest, CancelWritesZero)
{
    int answer = -1;
    open(1, &answer);
    showFully();
    click(popup->cancelButton, popup);
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(menu->currentMenu(), L"popupend");
}

TEST_F(PopupTest, OkOnlyNoticeHasNoCancel)
{
    int answer = -1;
    open(0, &answer);
    showFully();
    click(popup->cancelButton, popup);
    EXPECT_EQ(answer, -1);
    EXPECT_EQ(showState(popup), kShowShown);
    click(popup->okButton, popup);
    EXPECT_EQ(answer, 1);
}

TEST_F(PopupTest, ANoticeWithoutResultOnlyCloses)
{
    open(1, nullptr);
    showFully();
    click(popup->okButton, popup);
    EXPECT_EQ(menu->currentMenu(), L"popupend");
}

TEST_F(PopupTest, ClicksDuringTheAppearanceAreIgnored)
{
    int answer = -1;
    open(1, &answer);
    click(popup->okButton, popup);
    click(popup->okButton, popup);
    EXPECT_EQ(answer, -1);
    EXPECT_EQ(menu->currentMenu(), L"popupstart");
    showFully();
    click(popup->okButton, popup);
    EXPECT_EQ(answer, 1);
}

TEST_F(PopupTest, OpenerFieldsShowInTheLabelsAndTheModePicksArtAndFrame)
{
    int answer = 0;
    open(0, &answer, 1);
    EXPECT_EQ(popup->mWidget6->getText(0), L"Title");
    EXPECT_EQ(popup->mWidget7->getText(0), L"Text");
    popup->draw();
    EXPECT_TRUE(popup->mWidget5->isVisible());
    EXPECT_FALSE(popup->mWidget2->isVisible());
    EXPECT_FALSE(popup->mWidget0->isVisible());
    EXPECT_TRUE(popup->mWidget1->isVisible());
    EXPECT_FALSE(popup->mWidget3->isVisible());
    EXPECT_FALSE(popup->mWidget4->isVisible());

    popup->setMode(1, 0);
    popup->draw();
    EXPECT_FALSE(popup->mWidget5->isVisible());
    EXPECT_TRUE(popup->mWidget2->isVisible());
    EXPECT_TRUE(popup->mWidget0->isVisible());
    EXPECT_FALSE(popup->mWidget1->isVisible());

    // Neither variant: no frame; neither button count: no art.
    popup->setMode(2, 2);
    popup->draw();
    EXPECT_FALSE(popup->mWidget0->isVisible());
    EXPECT_FALSE(popup->mWidget1->isVisible());
    EXPECT_FALSE(popup->mWidget2->isVisible());
    EXPECT_FALSE(popup->mWidget5->isVisible());
}

TEST_F(PopupTest, TheBackdropSpansTheCentreBandAtEveryAspect)
{
    screensDevice().setScreenSize(1280, 800);
    popup->drawBackdrop(0.4f);
    const float4 band = popup->mWidget3->getImages()[0]->getRect();
    EXPECT_FLOAT_EQ(band.x, 0.5f - 0.3750094f * 1.6f);
    EXPECT_FLOAT_EQ(band.z, 2.0f * 0.3750094f * 1.6f);
    EXPECT_FLOAT_EQ(band.y, 0.0f);
    EXPECT_FLOAT_EQ(band.w, 1.0f);
}

} // namespace

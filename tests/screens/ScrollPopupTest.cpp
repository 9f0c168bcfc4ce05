#include "ScreenLayouts.h"
#include "ScreenTestSupport.h"

#include "fixtures/TempDir.h"
#include "source_menu/Button.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/widgets/WidgetButton.h"
#include "toolkit/widgets/WidgetCheckbox.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <gtest/gtest.h>

using namespace screens;

namespace {

// An opener that counts the resets the popup's Ok runs.
class Opener : public Container {
public:
    void reset() override { ++resets; }
    int resets = 0;
};

void click(Button* button, Container* screen)
{
    const float4 picture = Singleton<ButtonBar>::get()->getIconImage(button->kind, 0)->getRect();
    pointAt(button->x + 0.5f * picture.z, button->y, 1);
    screen->update();
    pointAt(button->x + 0.5f * picture.z, button->y, 0);
    screen->update();
    pointAt(-1.0f, -1.0f);
}

class ScrollPopupTest : public testing::Test {
protected:
    void SetUp() override
    {
        bindLayouts();
        textsManager.load(texts.write("texts.dat", "currency coins\n"));
        hideAll();
        menu->mCurrentMenu = L"tickets";
        pointAt(-1.0f, -1.0f);
    }
    void TearDown() override { hideAll(); }

    // The opener's protocol, then the popup shown fully.
    void open(int mode)
    {
        popup->mode = mode;
        popup->setTitle(L"How much?");
        popup->setCaller(&opener);
        popup->setResult(&answer);
        menu->runCommand(L"scrollpopupstart");
        for (int i = 0; i < 30; ++i)
            popup->update();
        ASSERT_EQ(showState(popup), kShowShown);
    }

    TempDir texts;
    ScrollPopup* popup = Singleton<ScrollPopup>::get();
    MenuManager* menu = Singleton<MenuManager>::get();
    Opener opener;
    int answer = -1;
};

TEST_F(ScrollPopupTest, TheSliderWritesItsValueAndRefreshesTheOpener)
{
    popup->setRange(0, 0, 25000);
    open(0);
    EXPECT_EQ(popup->mWidget1->getText(0), L"How much?");
    EXPECT_FLOAT_EQ(popup->mWidget20->getOffset().first, 0.0f);
    click(popup->okButton, popup);
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(opener.resets, 1);
    EXPECT_EQ(menu->currentMenu(), L"nomenu");

    hideAll();
    open(0);
    SoundLog sounds;
    popup->onWidget22(2, 3);
    sounds.stop();
    EXPECT_EQ(sounds.count("click"), 1);
    EXPECT_FLOAT_EQ(popup->mWidget20->getOffset().first, (popup->travelRight - popup->travelLeft) * 0.075f);
    popup->update();
    EXPECT_EQ(popup->mWidget3->getText(0), L"1875");
    click(popup->okButton, popup);
    EXPECT_EQ(answer, 1875);
}

TEST_F(ScrollPopupTest, APercentStartsTheKnobOnTheRangeToAHundred)
{
    popup->setPercent(0.5f);
    open(0);
    click(popup->okButton, popup);
    EXPECT_EQ(answer, 50);
}

TEST_F(ScrollPopupTest, StepsStopAtTheEndsWithTheWrongClick)
{
    popup->setPercent(0.05f);
    open(0);
    SoundLog sounds;
    popup->onWidget21(2, 3);
    EXPECT_FLOAT_EQ(popup->position, 0.0f);
    popup->onWidget21(2, 3);
    popup->setPercent(0.95f);
    popup->reset();
    popup->onWidget22(2, 3);
    EXPECT_FLOAT_EQ(popup->position, 1.0f);
    EXPECT_FLOAT_EQ(popup->mWidget20->getOffset().first, popup->travelRight - popup->travelLeft);
    // Only a release over a step button moves the knob.
    popup->onWidget22(3, 2);
    sounds.stop();
    EXPECT_EQ(sounds.count("wrong_click"), 3);
    EXPECT_EQ(sounds.count("click"), 0);
}

TEST_F(ScrollPopupTest, DraggingCentresTheKnobOnThePointerWithinItsTravel)
{
    popup->setRange(0, 0, 100);
    open(0);
    const float knobWidth = popup->mWidget20->getImages()[0]->getRect().z;
    const float travel = popup->travelRight - popup->travelLeft;
    pointAt(popup->travelLeft + 0.25f * travel + 0.5f * knobWidth, 0.5f, 1);
    popup->onWidget20(1, 2);
    EXPECT_EQ(popup->dragging, 1);
    EXPECT_NEAR(popup->position, 0.25f, 1e-5f);
    // Off the knob and past the end: the drag goes on, held at the end.
    pointAt(0.99f, 0.1f, 1);
    popup->onWidget20(0, 0);
    EXPECT_FLOAT_EQ(popup->position, 1.0f);
    EXPECT_FLOAT_EQ(popup->mWidget20->getOffset().first, travel);
    pointAt(0.0f, 0.1f, 0);
    popup->onWidget20(0, 0);
    EXPECT_EQ(popup->dragging, 0);
    EXPECT_FLOAT_EQ(popup->position, 1.0f);
}

TEST_F(ScrollPopupTest, PresetsWriteTheTickedValue)
{
    popup->setPresets(0, 5, 10, 15, 20, 10);
    EXPECT_EQ(popup->selected, 2);
    open(1);
    popup->draw();
    EXPECT_EQ(popup->mCheckboxes0[2]->getValue(), 1);
    EXPECT_EQ(popup->mCheckboxes0[0]->getValue(), 0);
    EXPECT_FALSE(popup->mWidget20->isVisible());
    EXPECT_TRUE(popup->mLabels1[3]->isVisible());
    EXPECT_EQ(popup->mLabels1[3]->getText(0), L"15 coins");
    // The slider's buttons do nothing in a preset mode.
    popup->onWidget22(2, 3);
    EXPECT_FLOAT_EQ(popup->position, popup->startFraction);
    popup->onWidget19(2, 3);
    EXPECT_EQ(popup->selected, 4);
    click(popup->okButton, popup);
    EXPECT_EQ(answer, 20);

    // Mode 2 shows no amounts; the last equal preset is the one ticked.
    popup->setPresets(1, 1, 3, 4, 5, 1);
    EXPECT_EQ(popup->selected, 1);
    hideAll();
    open(2);
    popup->draw();
    EXPECT_FALSE(popup->mLabels1[0]->isVisible());
    EXPECT_TRUE(popup->mLabels0[0]->isVisible());
    click(popup->okButton, popup);
    EXPECT_EQ(answer, 1);
}

TEST_F(ScrollPopupTest, TicksDoNothingOnTheSlider)
{
    popup->selected = 0;
    popup->setRange(5, 0, 10);
    open(0);
    popup->onWidget17(2, 3);
    EXPECT_EQ(popup->selected, 0);
    popup->draw();
    EXPECT_FALSE(popup->mCheckboxes0[0]->isVisible());
    EXPECT_TRUE(popup->mWidget20->isVisible());
}

TEST_F(ScrollPopupTest, CancelLeavesTheAnswerAndTheOpener)
{
    popup->setRange(10, 0, 100);
    open(0);
    click(popup->cancelButton, popup);
    EXPECT_EQ(answer, -1);
    EXPECT_EQ(opener.resets, 0);
    EXPECT_EQ(menu->currentMenu(), L"nomenu");
}

TEST_F(ScrollPopupTest, AnEmptyRangeGivesItsOnlyValue)
{
    popup->setRange(0, 0, 0);
    open(0);
    EXPECT_FLOAT_EQ(popup->position, 0.0f);
    popup->onWidget22(2, 3);
    click(popup->okButton, popup);
    EXPECT_EQ(answer, 0);

    // An opener that set neither result nor caller only closes the popup.
    hideAll();
    popup->mode = 0;
    popup->setResult(nullptr);
    popup->setCaller(nullptr);
    menu->runCommand(L"scrollpopupstart");
    for (int i = 0; i < 30; ++i)
        popup->update();
    click(popup->okButton, popup);
    EXPECT_EQ(menu->currentMenu(), L"nomenu");
}

TEST_F(ScrollPopupTest, ButtonsPressedDuringTheAppearanceDoNothing)
{
    popup->setRange(0, 0, 10);
    popup->mode = 0;
    popup->setResult(&answer);
    popup->setCaller(&opener);
    menu->runCommand(L"scrollpopupstart");
    click(popup->okButton, popup);
    EXPECT_EQ(answer, -1);
    EXPECT_EQ(menu->currentMenu(), L"scrollpopupstart");
}

} // namespace

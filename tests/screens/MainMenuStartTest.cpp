// The main menu: its showing loads the current profile's park, its buttons send their words
// only once it is fully shown and not while the options or the quit question lie over it, and
// without a current profile there is nothing to play.

#include "MainMenuTestSupport.h"

#include "game/CashAccount.h"
#include "game/GlobalSettings.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <gtest/gtest.h>

using namespace menus;

namespace {

class MainMenu : public MenuTest {
protected:
    void SetUp() override
    {
        MenuTest::SetUp();
        start = Singleton<MainMenuStart>::get();
    }
    MainMenuStart* start = nullptr;
};

TEST_F(MainMenu, ShowingLoadsTheCurrentProfilesPark)
{
    makeProfiles(2);
    storage->mGlobalSettings->mCashAccount->mCash = 4321;
    ASSERT_TRUE(saveProfile(profilePath(2), L"Bea", L"avatar2.png", 1, 0, -1, 0, 0, 0));
    storage->mCurrentProfile = 1;
    storage->mGlobalSettings->mCashAccount->mCash = 0;
    showFully(start);
    ASSERT_NE(start->profile, nullptr);
    EXPECT_EQ(start->profile->mName, L"Bea");
    EXPECT_EQ(start->mWidget2->getText(0), L"Bea");
    EXPECT_EQ(storage->mGlobalSettings->mCashAccount->mCash, 4321);
}

TEST_F(MainMenu, ButtonsActOnlyWhenFullyShown)
{
    makeProfiles(1);
    storage->mCurrentProfile = 0;
    start->setStateAll("game", kShowShown, 250);
    // The first update of the appearance makes the whole screen visible again.
    start->mWidget1->setVisible(0);
    click(start, start->buttons[2]);
    EXPECT_EQ(start->mWidget1->isVisible(), 1);
    EXPECT_EQ(menu->currentMenu(), L"nomenu");

    showFully(start);
    click(start, start->buttons[2]);
    EXPECT_EQ(menu->currentMenu(), L"options");
    // With the options over the menu, its buttons do nothing.
    click(start, start->buttons[3]);
    EXPECT_EQ(menu->currentMenu(), L"options");
    menu->runCommand(L"returnfromoptions");
    screens::hideNow(screens::of<MenuOptions>());  // gone: the quit question is not refused over it any more
    click(start, start->buttons[3]);
    EXPECT_EQ(menu->currentMenu(), L"exit");
    click(start, start->buttons[1]);
    EXPECT_EQ(menu->currentMenu(), L"exit");
}

// The screens stepped as the main loop steps them (the popup after the menu), with "Change
// profile" right under the notice's Ok.
TEST_F(MainMenu, TheClickOnANoticesOkChangesNothingUnderIt)
{
    makeProfiles(1);
    storage->mCurrentProfile = 0;
    showFully(start);
    Popup* popup = Singleton<Popup>::get();
    const std::vector<Container*> screens = {start, popup};
    auto step = [&](float x, float y, int down) {
        point(x, y, down);
        updateScreens(screens);
    };
    storage->mPlayerNotices.clear();
    storage->tellPlayer(L"parkdamaged", L"parkdamagedmessage", "data/game/Profiles/profile1.txt.damaged");
    for (int i = 0; i < 30; ++i)
        step(-1.0f, -1.0f, 0);
    ASSERT_EQ(screens::showState(popup), kShowShown);
    const std::pair<float, float> ok = centreOf(popup->okButton);
    Button* under = start->buttons[1];
    const std::pair<float, float> place(under->x, under->y);
    const float4 picture = Singleton<ButtonBar>::get()->getIconImage(under->kind, 0)->getRect();
    under->x = ok.first - 0.5f * picture.z;
    under->y = ok.second;

    step(ok.first, ok.second, 1);
    step(ok.first, ok.second, 0);
    EXPECT_EQ(screens::showState(popup), kShowDisappearing);
    step(ok.first, ok.second, 0);
    EXPECT_EQ(menu->currentMenu(), L"popupend");
    EXPECT_EQ(screens::showState(start), kShowShown);
    EXPECT_EQ(screens::showState(screens::of<MainMenuChooseProfile>()), kShowHidden);

    // Once the notice has gone the button takes its clicks again.
    for (int i = 0; i < 30; ++i)
        step(-1.0f, -1.0f, 0);
    step(ok.first, ok.second, 1);
    step(ok.first, ok.second, 0);
    EXPECT_EQ(menu->currentMenu(), L"chooseprofile");
    under->x = place.first;
    under->y = place.second;
}

// The quit question opened while the options fade out: the press held on the menu before it
// clicks nothing once the question has gone, though the question's Cancel lies over the button.
TEST_F(MainMenu, APressHeldWhenTheQuitQuestionOpensOverTheFadingOptionsClicksNothing)
{
    makeProfiles(1);
    storage->mCurrentProfile = 0;
    showFully(start);
    MenuOptions* options = Singleton<MenuOptions>::get();
    Popup* popup = Singleton<Popup>::get();
    const std::vector<Container*> screens = {Singleton<MenuDateBar>::get(), start, options, popup};
    auto step = [&](std::pair<float, float> at, int down) {
        point(at.first, at.second, down);
        updateScreens(screens);
    };
    menu->runCommand(L"options");
    for (int i = 0; i < 30; ++i)
        step({-1.0f, -1.0f}, 0);
    step(centreOf(options->cancelButton), 1);
    step(centreOf(options->cancelButton), 0);
    ASSERT_EQ(screens::showState(options), kShowDisappearing);

    Button* under = start->buttons[1];
    step(centreOf(under), 1);
    menu->runCommand(L"exit");
    ASSERT_EQ(screens::showState(popup), kShowAppearing);
    step(centreOf(under), 0);
    for (int i = 0; i < 30; ++i)
        step({-1.0f, -1.0f}, 0);
    const std::pair<float, float> cancel = centreOf(popup->cancelButton);
    const std::pair<float, float> place(under->x, under->y);
    under->x += cancel.first - centreOf(under).first;
    under->y = cancel.second;
    step(cancel, 1);
    step(cancel, 0);
    for (int i = 0; i < 30; ++i)
        step(cancel, 0);
    under->x = place.first;
    under->y = place.second;
    EXPECT_EQ(screens::showState(popup), kShowHidden);
    EXPECT_EQ(screens::showState(start), kShowShown);
    EXPECT_EQ(screens::showState(screens::of<MainMenuChooseProfile>()), kShowHidden);
}

TEST_F(MainMenu, EachButtonSendsItsWord)
{
    makeProfiles(1);
    storage->mCurrentProfile = 0;
    showFully(start);
    click(start, start->buttons[1]);
    EXPECT_EQ(menu->currentMenu(), L"chooseprofile");
    EXPECT_EQ(screens::showState(start), kShowDisappearing);

    showFully(start);
    click(start, start->buttons[0]);
    EXPECT_EQ(menu->currentMenu(), L"nomenu");
    EXPECT_EQ(screens::showState(screens::of<MenuIngame>()), kShowAppearing);
    EXPECT_EQ(screens::showState(start), kShowDisappearing);
}

TEST_F(MainMenu, WithoutACurrentProfileNothingCanBePlayed)
{
    showFully(start);
    EXPECT_EQ(start->profile, nullptr);
    EXPECT_EQ(start->mWidget2->getText(0), L"");
    click(start, start->buttons[0]);
    EXPECT_EQ(menu->currentMenu(), L"nomenu");
    EXPECT_EQ(screens::showState(start), kShowShown);
    click(start, start->buttons[1]);
    EXPECT_EQ(menu->currentMenu(), L"createprofile");
}

} // namespace

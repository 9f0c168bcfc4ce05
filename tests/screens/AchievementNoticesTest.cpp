// The HUD's achievement notices: the queue of which five show, their timers and blinking, and
// a click that pays the reward, opens the congratulations and removes that notice.

#include "HudTestSupport.h"

#include "game/MonthBalance.h"

#include <cmath>

using namespace hud;

namespace {

class Notices : public HudTest {
protected:
    void SetUp() override
    {
        HudTest::SetUp();
        for (int i = 0; i < 6; ++i) {
            DataAchievement* achievement = new DataAchievement("data/game/Achievements/a1.txt");
            storage->retire(achievement);
            achievement->mName = L"Goal " + std::to_wstring(i);
            achievement->mReward = 100 * (i + 1);
            achievement->mCongratulations = L"Congratulations " + std::to_wstring(i);
            storage->achievementReached(achievement);
        }
        MenuIngame::noticeBlinkPhase = 0.0f;
    }

    // A release over the notice button of queue position p (widgets 26, 25, 24, 23, 27).
    int releaseNotice(int position)
    {
        return soundsPlayed("click", [&] {
            switch (position) {
            case 0: hudScreen->onWidget26(2, kLayerReleased); break;
            case 1: hudScreen->onWidget25(2, kLayerReleased); break;
            case 2: hudScreen->onWidget24(2, kLayerReleased); break;
            case 3: hudScreen->onWidget23(2, kLayerReleased); break;
            default: hudScreen->onWidget27(2, kLayerReleased); break;
            }
        });
    }

    // The popup the click opened, closed again: the HUD stands while it is open.
    void closePopup()
    {
        screens::hideNow(screens::of<Popup>());
        Singleton<MenuDateBar>::get()->checkModal();
        ASSERT_EQ(Singleton<MenuDateBar>::get()->modal, 0);
    }

    std::wstring nameAt(size_t position) { return hudScreen->mNotices[position]->item->mName; }
};

TEST_F(Notices, OnlyTheFirstFiveAgeAndTheSixthMovesUpWithItsOwnTimer)
{
    ASSERT_EQ(hudScreen->mNotices.size(), 6u);
    for (int i = 0; i < 10; ++i)
        hudScreen->update();
    for (size_t i = 0; i < 5; ++i)
        EXPECT_NEAR(hudScreen->mNotices[i]->timer, 0.24f, 1e-5);
    EXPECT_EQ(hudScreen->mNotices[5]->timer, 0.0f);
    EXPECT_NEAR(MenuIngame::noticeBlinkPhase, 0.25f, 1e-5);

    releaseNotice(0);
    closePopup();
    ASSERT_EQ(hudScreen->mNotices.size(), 5u);
    EXPECT_EQ(nameAt(4), L"Goal 5");
    EXPECT_EQ(hudScreen->mNotices[4]->timer, 0.0f);
    hudScreen->update();
    EXPECT_NEAR(hudScreen->mNotices[4]->timer, 0.024f, 1e-6);
}

TEST_F(Notices, AClickPaysTheRewardShowsTheTextAndRemovesThatNotice)
{
    const int before = cash()->mCash;
    EXPECT_EQ(releaseNotice(2), 1);
    EXPECT_EQ(cash()->mCash, before + 300);
    EXPECT_EQ(storage->mBalanceThisMonth->mValues[t_Other], 300);
    EXPECT_EQ(storage->mStatThisMonth->mValues[t_Other], 1);
    Popup* popup = Singleton<Popup>::get();
    EXPECT_EQ(popup->title, L"Well done!");
    EXPECT_EQ(popup->text, L"Congratulations 2");
    EXPECT_EQ(popup->buttons, 0);
    EXPECT_EQ(popup->result, nullptr);
    EXPECT_EQ(Singleton<MenuManager>::get()->currentMenu(), L"popupstart");
    ASSERT_EQ(hudScreen->mNotices.size(), 5u);
    EXPECT_EQ(nameAt(1), L"Goal 1");
    EXPECT_EQ(nameAt(2), L"Goal 3");
}

TEST_F(Notices, AClickOnAnEmptyPlaceDoesNothingAndIsSilent)
{
    while (hudScreen->mNotices.size() > 2)
        hudScreen->removeAchievementNotice(hudScreen->mNotices.size() - 1);
    const int before = cash()->mCash;
    EXPECT_EQ(releaseNotice(3), 0);
    EXPECT_EQ(cash()->mCash, before);
    EXPECT_EQ(hudScreen->mNotices.size(), 2u);
}

TEST_F(Notices, TwoAchievementsOfOneNameKeepTheirOwnNotices)
{
    hudScreen->mNotices[1]->item->mName = nameAt(0);
    releaseNotice(1);
    ASSERT_EQ(hudScreen->mNotices.size(), 5u);
    EXPECT_EQ(hudScreen->mNotices[0]->item->mCongratulations, L"Congratulations 0");
    EXPECT_EQ(hudScreen->mNotices[1]->item->mCongratulations, L"Congratulations 2");
}

TEST_F(Notices, ABlinkNeedsAnOldNoticeALateRunAndNoPointerOverIt)
{
    Achievement* entry = hudScreen->mNotices[0];
    WidgetButton* button = hudScreen->mButtons2[0];
    // A phase past 2 pi with sin(2 phase) > 0: the hidden half of a period.
    const float hiddenPhase = 6.5f;
    ASSERT_GT(std::sin(2.0 * hiddenPhase), 0.0);

    MenuIngame::noticeBlinkPhase = hiddenPhase;
    entry->timer = 1.56f;
    hudScreen->drawAchievementNotice(entry, 0, button);
    EXPECT_EQ(button->getColor().w, 1.0f);

    entry->timer = 1.58f;
    hudScreen->drawAchievementNotice(entry, 0, button);
    EXPECT_EQ(button->getColor().w, 0.0f);
    EXPECT_TRUE(button->isVisible());

    button->setLayerState(kLayerOver);
    hudScreen->drawAchievementNotice(entry, 0, button);
    EXPECT_EQ(button->getColor().w, 1.0f);
    button->setLayerState(kLayerNormal);

    MenuIngame::noticeBlinkPhase = 6.0f;   // before 2 pi
    hudScreen->drawAchievementNotice(entry, 0, button);
    EXPECT_EQ(button->getColor().w, 1.0f);

    MenuIngame::noticeBlinkPhase = hiddenPhase;
    entry->state = 1;
    hudScreen->drawAchievementNotice(entry, 0, button);
    EXPECT_EQ(button->getColor().w, 1.0f);
}

TEST_F(Notices, TheTimersStandWhileTheGameIsPaused)
{
    Singleton<MenuDateBar>::get()->paused = 1;
    hudScreen->update();
    Singleton<MenuDateBar>::get()->paused = 0;
    EXPECT_EQ(hudScreen->mNotices[0]->timer, 0.0f);
    EXPECT_EQ(MenuIngame::noticeBlinkPhase, 0.0f);
}

TEST_F(Notices, OnlyTheQueuedOnesAreDrawnAndShowingTheHudAgainKeepsTheQueue)
{
    while (hudScreen->mNotices.size() > 2)
        hudScreen->removeAchievementNotice(hudScreen->mNotices.size() - 1);
    hudScreen->draw();
    EXPECT_TRUE(hudScreen->mButtons2[1]->isVisible());
    EXPECT_FALSE(hudScreen->mButtons2[2]->isVisible());
    screens::hideNow(hudScreen);
    hudScreen->setStateAll("game", kShowShown, 250);
    screens::settle();
    EXPECT_EQ(hudScreen->mNotices.size(), 2u);
    hudScreen->draw();
    EXPECT_TRUE(hudScreen->mButtons2[0]->isVisible());
    EXPECT_FALSE(hudScreen->mButtons2[4]->isVisible());
}

} // namespace

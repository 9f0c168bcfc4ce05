#include "ParkTestData.h"

#include "game/CashAccount.h"
#include "game/GameDate.h"
#include "render/render.h"
#include "toolkit/utils/FontStyle.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <gtest/gtest.h>

namespace {

// The HUD's cash label, in a font style of its own.
WidgetLabel& hudLabel()
{
    static WidgetLabel* label = [] {
        TempDir dir;
        // The style's font needs no engine: it is left unloaded, so the label draws no glyphs.
        Render* engine = Render::current();
        Render::set_current(nullptr);
        Singleton<FontStylesMgr>::get()->load(dir.write("fonts.dat", "fonts/none 0.03 1.0 1.0 l u 255 255 255\n"));
        Render::set_current(engine);
        return new WidgetLabel(L"label_0_1", 0.1f, 0.02f, 0.2f, 0.05f);
    }();
    return *label;
}

class Cash : public testing::Test {
protected:
    void SetUp() override
    {
        data.writeDefault();
        storage = ParkTestData::load();
        account = storage->mGlobalSettings->mCashAccount;
        account->setLabel(&label);
        menu = Singleton<MenuManager>::get();
        popup = Singleton<Popup>::get();
    }
    void TearDown() override { account->setLabel(nullptr); }

    ParkTestData data;
    WidgetLabel& label = hudLabel();
    DataStorage* storage = nullptr;
    CashAccount* account = nullptr;
    MenuManager* menu = nullptr;
    Popup* popup = nullptr;
};

TEST_F(Cash, TransactionsFloatUpAsSignedAmounts)
{
    account->addCash(0);
    EXPECT_EQ(account->mCash, 1000);
    EXPECT_TRUE(account->mAmounts.empty());
    account->addCash(250);
    account->addCash(-250);
    EXPECT_EQ(account->mCash, 1000);
    ASSERT_EQ(account->mAmounts.size(), 2u);
    EXPECT_EQ(CashAccount::amountText(250), L"+250");
    EXPECT_EQ(CashAccount::amountText(-250), L"-250");
    EXPECT_EQ(label.isVisible(), 0);

    // Each booking rises at once as an amount of its own, of the same sign too.
    account->addCash(-30);
    ASSERT_EQ(account->mAmounts.size(), 3u);
    EXPECT_EQ(account->mAmounts[2]->mAge, 0);
}

TEST_F(Cash, NegativeBalanceCountsDownToGameOver)
{
    ASSERT_EQ(storage->mGlobalSettings->mDaysToGameOver, 3);
    account->mCash = -5;
    account->update();
    EXPECT_EQ(account->mCountdownState, CashAccount::kCountdown);
    EXPECT_EQ(account->mDaysLeft, 3);
    EXPECT_EQ(popup->title, L"Out of money");
    // The number goes into the text's own "%d"; the rest of the text stays as written.
    EXPECT_EQ(popup->text, L"Pay within 3 days! 100%");
    EXPECT_EQ(popup->result, nullptr);
    EXPECT_EQ(popup->variant, 1);
    EXPECT_EQ(menu->mCurrentMenu, L"popupstart");
    menu->mCurrentMenu = L"nomenu";

    for (int day = 1; day <= 3; ++day) {
        account->newDay();
        account->update();
        EXPECT_EQ(account->mCountdownState, CashAccount::kCountdown) << day;
    }
    EXPECT_EQ(account->mDaysLeft, 0);
    EXPECT_EQ(menu->mCurrentMenu, L"nomenu");
    account->newDay();
    account->update();
    EXPECT_EQ(account->mCountdownState, CashAccount::kGameOverShown);
    EXPECT_EQ(popup->title, L"Game over");
    EXPECT_EQ(popup->text, L"Closed.");
    EXPECT_EQ(popup->result, &account->mGameOverAnswer);
    EXPECT_EQ(menu->mCurrentMenu, L"popupstart");

    // The player confirms: the game is over.
    *popup->result = 1;
    account->update();
    EXPECT_EQ(menu->mCurrentMenu, L"gameover");
    EXPECT_EQ(account->mCountdownState, CashAccount::kNoCountdown);
    EXPECT_EQ(account->mDaysLeft, 0);
    EXPECT_EQ(account->mGameOverAnswer, 0);
}

TEST_F(Cash, OnlyAPositiveBalanceCancelsTheCountdown)
{
    account->mCash = -10;
    account->update();
    account->newDay();
    account->mCash = 0;
    account->update();
    EXPECT_EQ(account->mCountdownState, CashAccount::kCountdown);
    account->mCash = 1;
    account->update();
    EXPECT_EQ(account->mCountdownState, CashAccount::kNoCountdown);
    EXPECT_EQ(account->mDaysLeft, 2);
    // Below zero again: a new countdown with the full days and a new warning.
    menu->mCurrentMenu = L"nomenu";
    account->mCash = -1;
    account->update();
    EXPECT_EQ(account->mDaysLeft, 3);
    EXPECT_EQ(menu->mCurrentMenu, L"popupstart");
}

TEST_F(Cash, TheDayRulesDriveTheWatch)
{
    // Game speed 1000: a day per 101 steps; three days of grace, game over on the fourth.
    account->mCash = -100;
    int steps = 0;
    while (account->mCountdownState != CashAccount::kGameOverShown && steps < 1000) {
        storage->update();
        ++steps;
    }
    EXPECT_EQ(steps, 4 * 101);
}

TEST_F(Cash, NothingIsWatchedWithoutTheHudLabel)
{
    account->setLabel(nullptr);
    account->mCash = -100;
    account->addCash(5);
    account->update();
    EXPECT_EQ(account->mCountdownState, CashAccount::kNoCountdown);
    EXPECT_EQ(account->mAmounts[0]->mAge, 0);
}

TEST_F(Cash, AmountsFadeInHoldAndFadeOutBeforeTheyGo)
{
    account->addCash(40);
    OneCash* amount = account->mAmounts[0];
    account->draw();
    EXPECT_EQ(amount->mAlpha, 0.0f);
    for (int step = 0; step < 25; ++step)
        account->update();
    account->draw();
    EXPECT_NEAR(amount->mAlpha, 0.70710678f, 1e-6); // half way up the sine: sin(pi / 4) at 250 ms
    for (int step = 0; step < 110; ++step)
        account->update();
    account->draw();
    EXPECT_EQ(amount->mAlpha, 1.0f);
    EXPECT_EQ(label.isVisible(), 0);
    // Past 1599 ms each drawn frame takes 1/85 away; the amount goes once it is invisible
    // and older than two seconds.
    for (int step = 0; step < 30; ++step)
        account->update();
    for (int frame = 0; frame < 84; ++frame)
        account->draw();
    EXPECT_GT(amount->mAlpha, 0.0f);
    account->draw();
    account->draw();
    EXPECT_LT(amount->mAlpha, 0.0f);
    ASSERT_EQ(account->mAmounts.size(), 1u);
    amount->mAge = 1990;
    account->update();
    EXPECT_EQ(account->mAmounts.size(), 1u);
    account->update();
    EXPECT_TRUE(account->mAmounts.empty());
}

} // namespace

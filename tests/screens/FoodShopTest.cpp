// The food shop: each purchase books cash, store and this month's records; a purchase the park
// cannot pay or store is ignored after its click sound and changes nothing; one click buys at most
// once; the panel's texts; the close button; and the tutorial's food step up to its end.

#include "HudTestSupport.h"

#include "game/DataFood.h"
#include "game/MonthBalance.h"
#include "source_menu/MenuBuyFood.h"

#include <array>

using namespace hud;

namespace {

// What a purchase touches.
struct Books {
    int cash;
    int store;
    std::array<int, MonthBalance::kWords> balance;
    std::array<int, MonthBalance::kWords> counts;
    int foodBought;

    bool operator==(const Books& o) const
    {
        return cash == o.cash && store == o.store && balance == o.balance && counts == o.counts &&
               foodBought == o.foodBought;
    }
};

class FoodShop : public HudTest {
protected:
    void SetUp() override
    {
        HudTest::SetUp();
        textsManager.load(std::string(PETPARK_APP_DIR) + "/Resources/data/dat/texts.dat");
        bound<Popup>("Popup");
        bound<Tutorial>("Tutorial");
        shop = bound<MenuBuyFood>("MenuBuyFood");
        // A cheap small pack for everyone, a larger one with a store, the largest with store and vet.
        const int costs[3] = {100, 420, 800};
        const int amounts[3] = {30, 100, 150};
        const wchar_t* requirements[3] = {L"0", L"b:OtherStore.txt", L"b:OtherStore.txt+b:OtherVet.txt"};
        for (int i = 0; i < 3; ++i) {
            storage->mFoods[i]->mCost = costs[i];
            storage->mFoods[i]->mFood = amounts[i];
            storage->mFoods[i]->mRequirements = requirements[i];
        }
        storage->mGlobalSettings->mFoodStored = 10;
        storage->mGlobalSettings->mFoodStoredMax = 60;
        *storage->mBalanceThisMonth = MonthBalance();
        *storage->mStatThisMonth = MonthBalance();
        tutorial()->foodBought = 0;
    }

    Tutorial* tutorial() { return Singleton<Tutorial>::get(); }
    int store() { return storage->mGlobalSettings->mFoodStored; }

    Books books()
    {
        Books b{cash()->mCash, store(), {}, {}, tutorial()->foodBought};
        for (int w = 0; w < MonthBalance::kWords; ++w) {
            b.balance[w] = storage->mBalanceThisMonth->mValues[w];
            b.counts[w] = storage->mStatThisMonth->mValues[w];
        }
        return b;
    }

    // Opened as the fold's button opens it, and stepped until fully shown.
    void open()
    {
        Singleton<MenuManager>::get()->runCommand(L"buyfood");
        for (int k = 0; k < 30; ++k)
            shop->update();
        ASSERT_EQ(screens::showState(shop), kShowShown);
    }

    void pointAt(int i, int down)
    {
        const float4 picture = Singleton<ButtonBar>::get()->getIconImage(shop->mBuyButtons[i]->kind, 0)->getRect();
        point(shop->mBuyButtons[i]->x + 0.5f * picture.z, shop->mBuyButtons[i]->y, down);
    }

    void buy(int i)
    {
        clickButton(shop->mBuyButtons[i], 0.0f, [this] { shop->update(); });
        shop->update();
    }

    static void closePopup()
    {
        Singleton<MenuManager>::get()->runCommand(L"popupend");
        screens::hideNow(Singleton<Popup>::get());
        Singleton<MenuDateBar>::get()->checkModal();
    }

    // A click on food i that buys nothing: the button's "click" alone, no message, no booking.
    void refusedSilently(int i)
    {
        const Books before = books();
        testing::internal::CaptureStdout();
        buy(i);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "Warning: no sound effect named click\n");
        EXPECT_FALSE(Singleton<Popup>::get()->isVisible());
        EXPECT_TRUE(books() == before);
    }

    MenuBuyFood* shop = nullptr;
};

TEST_F(FoodShop, EachFoodBooksItsCostTheStoreAndTheMonthRecords)
{
    addBuilding("OtherStore.txt");   // room for 300 and the second food
    addBuilding("OtherVet.txt");     // the third food
    open();
    EXPECT_EQ(storage->foodStoreCapacity(), 300);
    cash()->mCash = 5000;
    int cashLeft = 5000;
    int stored = 10;
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(shop->mAllowed[i], 1) << i;
        const Books before = books();
        EXPECT_EQ(soundsPlayed("click", [&] { buy(i); }), 1);
        const DataFood* food = storage->mFoods[i];
        cashLeft -= food->mCost;
        stored += food->mFood;
        Books expected = before;
        expected.cash = cashLeft;
        expected.store = stored;
        expected.balance[t_PetsFood] -= food->mCost;
        expected.counts[t_PetsFood] += 1;
        expected.foodBought = 1;
        EXPECT_TRUE(books() == expected) << "food " << i;
        EXPECT_FALSE(Singleton<Popup>::get()->isVisible());
    }
    // A second purchase of the same food books in full again; the panel stays open.
    storage->mGlobalSettings->mFoodStored = 0;
    buy(0);
    buy(0);
    EXPECT_EQ(store(), 60);
    EXPECT_EQ(storage->mStatThisMonth->mValues[t_PetsFood], 5);
    EXPECT_EQ(storage->mBalanceThisMonth->mValues[t_PetsFood], -(100 + 420 + 800 + 200));
    EXPECT_EQ(screens::showState(shop), kShowShown);

    // The fold shows the new store.
    MenuIngameFold1* fold = Singleton<MenuIngameFold1>::get();
    fold->setStateAll("game", kShowShown, 0);
    screens::settle(2);
    fold->draw();
    EXPECT_EQ(fold->mWidget8->getText(0), L"Food portions in store : 60");
}

TEST_F(FoodShop, APurchaseTheParkCannotPayOrStoreIsIgnoredAfterItsClickSound)
{
    open();
    EXPECT_EQ(storage->foodStoreCapacity(), 60);
    // Too little cash.
    cash()->mCash = 99;
    refusedSilently(0);
    // Cash exactly the cost buys and leaves nothing.
    cash()->mCash = 100;
    buy(0);
    EXPECT_EQ(cash()->mCash, 0);
    EXPECT_EQ(store(), 40);

    // Filling the store exactly to its capacity buys; one portion more is refused.
    cash()->mCash = 1000;
    storage->mGlobalSettings->mFoodStored = 30;
    buy(0);
    EXPECT_EQ(store(), 60);
    storage->mGlobalSettings->mFoodStored = 31;
    refusedSilently(0);

    // A food whose requirements are not met shows no button; a click on its place only sounds.
    storage->mGlobalSettings->mFoodStored = 0;
    ASSERT_EQ(shop->mAllowed[1], 0);
    refusedSilently(1);

    // A broken food of no amount is no purchase.
    storage->mFoods[0]->mFood = 0;
    refusedSilently(0);
}

TEST_F(FoodShop, OneClickBuysOnceAndNothingIsBoughtWhileAppearingOrBehindAPopupOrTheOptions)
{
    cash()->mCash = 10000;
    storage->mGlobalSettings->mFoodStoredMax = 1000;
    // A press held over many steps, then released: one purchase.
    open();
    pointAt(0, 1);
    for (int k = 0; k < 20; ++k)
        shop->update();
    pointAt(0, 0);
    for (int k = 0; k < 20; ++k)
        shop->update();
    EXPECT_EQ(store(), 40);
    // A double click is two clicks: two purchases, each booked once.
    buy(0);
    buy(0);
    EXPECT_EQ(store(), 100);
    EXPECT_EQ(storage->mStatThisMonth->mValues[t_PetsFood], 3);

    // A press the panel saw before it closed completes no click when it shows again with the
    // pointer resting on the button.
    pointAt(0, 1);
    shop->update();
    Singleton<MenuManager>::get()->closeAllPanels();
    screens::hideNow(shop);
    pointAt(0, 0);
    open();
    EXPECT_EQ(store(), 100);

    // While the panel appears a click is not taken.
    Singleton<MenuManager>::get()->closeAllPanels();
    screens::hideNow(shop);
    Singleton<MenuManager>::get()->runCommand(L"buyfood");
    buy(0);
    EXPECT_EQ(screens::showState(shop), kShowAppearing);
    EXPECT_EQ(store(), 100);

    // Escape asks the quit question over the panel, as over every panel: the panel stays and
    // takes no click while the question is open.
    for (int k = 0; k < 30; ++k)
        shop->update();
    Singleton<MenuManager>::get()->runCommand(L"exit");
    ASSERT_TRUE(Singleton<Popup>::get()->isVisible());
    ASSERT_EQ(Singleton<MenuDateBar>::get()->modal, 1);
    buy(0);
    EXPECT_EQ(store(), 100);
    EXPECT_EQ(screens::showState(shop), kShowShown);
    closePopup();
    buy(0);
    EXPECT_EQ(store(), 130);

    // A press the panel saw when a popup came over it, released under the popup, clicks nothing:
    // the release of the popup's own button where it lies over Buy buys nothing once it has gone.
    // So for the quit question and a notice the game opens by itself. The player's own click
    // after it buys once.
    for (const bool notice : {false, true}) {
        pointAt(1, 1);
        shop->update();
        if (notice) {
            storage->tellPlayer(L"homeless", L"homelessmessage", "data/game/Profiles/profile1.txt", 1);
            Popup::showPlayerNotice();
        } else {
            Singleton<MenuManager>::get()->runCommand(L"exit");
        }
        ASSERT_EQ(Singleton<MenuDateBar>::get()->modal, 1);
        pointAt(1, 0);
        shop->update();
        pointAt(0, 1);
        shop->update();
        closePopup();
        pointAt(0, 0);
        shop->update();
        EXPECT_EQ(store(), 130) << (notice ? "notice" : "quit question");
    }
    buy(0);
    EXPECT_EQ(store(), 160);

    // So are the options, opened from the park over the panel: their buttons lie over its own.
    Singleton<MenuManager>::get()->runCommand(L"options");
    ASSERT_EQ(Singleton<MenuDateBar>::get()->modal, 1);
    buy(0);
    EXPECT_EQ(store(), 160);
    EXPECT_EQ(screens::showState(shop), kShowShown);
}

TEST_F(FoodShop, TheCardsShowPriceOrRequirementsAndTheStoreAndTheCloseButtonClosesAll)
{
    open();
    shop->draw();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(shop->mLabels2[i]->getText(0), storage->mFoods[i]->mName);
    EXPECT_EQ(shop->mLabels0[0]->getText(0), L"Price: 100 coins");
    EXPECT_FLOAT_EQ(shop->mLabels0[0]->getColor().y, 1.0f);
    EXPECT_FALSE(shop->mLabels3[0]->isVisible());
    // The unmet food: what it requires in red under its heading.
    EXPECT_EQ(shop->mLabels0[1]->getText(0), shop->mRequirementTexts[1]);
    EXPECT_FALSE(shop->mRequirementTexts[1].empty());
    EXPECT_FLOAT_EQ(shop->mLabels0[1]->getColor().y, 0.0f);
    EXPECT_TRUE(shop->mLabels3[1]->isVisible());
    EXPECT_EQ(shop->mLabels3[1]->getText(0), L"Required:");
    EXPECT_EQ(shop->mWidget14->getText(0), L"Food portions in store : 10");
    EXPECT_EQ(shop->mWidget15->mWrap, 0);
    EXPECT_EQ(shop->mBuyButtons[0]->text, L"Buy");

    // Requirements are taken again at the next show.
    addBuilding("OtherStore.txt");
    EXPECT_EQ(shop->mAllowed[1], 0);

    shop->onWidget1(kLayerOver, kLayerClick);
    EXPECT_EQ(Singleton<MenuManager>::get()->currentMenu(), L"buyfood");
    EXPECT_EQ(soundsPlayed("exit", [&] { shop->onWidget1(kLayerClick, kLayerReleased); }), 1);
    EXPECT_EQ(Singleton<MenuManager>::get()->currentMenu(), L"nomenu");
    EXPECT_EQ(screens::showState(shop), kShowDisappearing);
    screens::hideNow(shop);
    open();
    EXPECT_EQ(shop->mAllowed[1], 1);
    EXPECT_EQ(storage->foodStoreCapacity(), 300);
}

// The shipped tutorial from its "Hungry guests" step: the fold's pointer on the Buy food button,
// the food step passed by a purchase, and every later step up to the end.
TEST_F(FoodShop, TheTutorialPassesItsFoodStepAndReachesItsEnd)
{
    DataProfile* profile = new DataProfile("data/game/Profiles/profile1.txt");
    profile->mTutorial = 1;
    storage->mProfiles.push_back(profile);
    storage->mCurrentProfile = 0;
    Tutorial* guide = tutorial();
    const std::vector<TutMessage*> saved = guide->messages;
    guide->messages = readTutorialMessages(std::string(PETPARK_SOURCE_DIR) + "/data/game/tutorial.txt");
    guide->step = 11;
    auto shown = [](Container* screen, bool on) { screen->setStateDirect(on ? kShowShown : kShowHidden); };
    auto closeMessage = [guide] { screens::hideNow(guide); };

    MenuIngameFold1* fold = Singleton<MenuIngameFold1>::get();
    shown(fold, true);
    guide->checkTriggers();
    EXPECT_EQ(guide->step, 12);
    EXPECT_EQ(guide->mWidget13->getText(0), guide->messages[11]->title);
    // The pointer stands over the fold's Buy food button.
    ASSERT_EQ(guide->pointerTarget, 6);
    const float4 arrow = guide->mCanvases0[6]->getImages()[0]->getRect();
    const float4 button = Singleton<ButtonBar>::get()->getIconImage(fold->mFoodButton->kind, 0)->getRect();
    const float tipX = arrow.x + 0.5f * arrow.z;
    EXPECT_GT(tipX, fold->mFoodButton->x);
    EXPECT_LT(tipX, fold->mFoodButton->x + button.z);
    EXPECT_NEAR(arrow.y + arrow.w, fold->mFoodButton->y - 0.5f * button.w, 0.02f);
    closeMessage();

    // The food step waits for a purchase.
    guide->checkTriggers();
    EXPECT_EQ(guide->step, 12);
    open();
    buy(0);
    ASSERT_EQ(guide->foodBought, 1);
    guide->checkTriggers();
    EXPECT_EQ(guide->step, 13);
    EXPECT_EQ(guide->mWidget13->getText(0), guide->messages[12]->title);
    closeMessage();
    Singleton<MenuManager>::get()->closeAllPanels();
    shown(fold, false);

    shown(Singleton<MenuIngameFold2>::get(), true);
    guide->checkTriggers();
    EXPECT_EQ(guide->step, 14);
    closeMessage();
    shown(Singleton<MenuTickets>::get(), true);
    guide->checkTriggers();
    EXPECT_EQ(guide->step, 15);
    closeMessage();
    guide->priceChanged = 1;
    guide->checkTriggers();
    EXPECT_EQ(guide->step, 16);
    EXPECT_EQ(guide->mWidget13->getText(0), guide->messages[15]->title);
    closeMessage();
    shown(Singleton<MenuPetsShow>::get(), true);
    guide->checkTriggers();
    EXPECT_EQ(guide->step, 17);
    guide->checkTriggers();
    EXPECT_EQ(guide->pointerTarget, -1);
    EXPECT_EQ(screens::showState(guide), kShowHidden);

    for (TutMessage* message : guide->messages)
        delete message;
    guide->messages = saved;
    guide->step = 0;
    guide->pointerTarget = -1;
    guide->priceChanged = 0;
    storage->retire(profile);
    storage->mProfiles.clear();
    storage->mCurrentProfile = -1;
}

} // namespace

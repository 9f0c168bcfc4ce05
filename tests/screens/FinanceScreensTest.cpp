// The finance frame over the shipped layouts and park data: the tab strip's 500 ms rule and
// fades, the frame swapping its screens and opening on the commanded tab, the close button;
// the bank's loan, repayment and promotions through the popups, held to what the bank allows;
// the tickets screen's prices through the presets, reaching the park's income the next day.

#include "ScreenLayouts.h"
#include "ScreenTestSupport.h"

#include "fixtures/TempDir.h"

#include "game/CashAccount.h"
#include "game/DataBuilding.h"
#include "game/DataStorage.h"
#include "game/GameDate.h"
#include "game/GlobalSettings.h"
#include "game/MonthBalance.h"
#include "game/Promotion.h"
#include "park/PublicManager.h"
#include "source_menu/Button.h"
#include "source_menu/TextTable.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>
#include <string>

using namespace screens;

namespace {

const std::string kResources = std::string(PETPARK_APP_DIR) + "/Resources";

template <class T>
T* bound(const char* name)
{
    T* screen = Singleton<T>::get();
    if (screen->mChildren.empty())
        screen->init(layout(name).c_str());
    return screen;
}

std::wstring text(const wchar_t* key)
{
    return textsManager.get(key);
}

class Finance : public testing::Test {
protected:
    void SetUp() override
    {
        // The flow's screens bound as the other screen tests bind them (fonts without glyphs),
        // then the game's own folder for the park data.
        bindLayouts();
        oldFolder = std::filesystem::current_path();
        std::filesystem::current_path(kResources);
        textsManager.load("data/dat/texts.dat");
        std::srand(1);
        storage = Singleton<DataStorage>::get();
        storage->mCurrentProfile = -1;
        loadGameData(storage, "data/game/");
        settings = storage->mGlobalSettings;
        cash = settings->mCashAccount;
        parkCamera();
        frame = bound<MenuOrange>("MenuOrange");
        strip = bound<MenuOrangeFolds>("MenuOrangeFolds");
        tickets = bound<MenuTickets>("MenuTickets");
        bank = bound<MenuBank>("MenuBank");
        bound<MenuStatistics>("MenuStatistics");
        bound<MenuAchievements>("MenuAchievements");
        bound<MenuRanking>("MenuRanking");
        hideAll();
        bar->modal = 0;
        bar->paused = 0;
        frame->setTab(kTabTickets);
        strip->setTab(kTabTickets);
        strip->takeTabChanged();
        menu->mCurrentMenu = L"nomenu";
        pointAt(-1.0f, -1.0f);
    }
    void TearDown() override
    {
        hideAll();
        bar->modal = 0;
        bar->paused = 0;
        pointAt(-1.0f, -1.0f);
        std::filesystem::current_path(oldFolder);
    }

    // One 10 ms logic step of the finance screens and the popups, the date bar's modal flag
    // recomputed first as its update does.
    void tick(int times = 1)
    {
        for (int t = 0; t < times; ++t) {
            bar->checkModal();
            for (Container* screen : {of<Popup>(), of<ScrollPopup>(), of<MenuOrange>(), of<MenuOrangeFolds>(),
                                      of<MenuTickets>(), of<MenuBank>(), of<MenuStatistics>(),
                                      of<MenuAchievements>(), of<MenuRanking>()})
                screen->update();
        }
    }

    // A press and release over a code-made button, each held for one step.
    void click(Button* button)
    {
        const float4 picture = Singleton<ButtonBar>::get()->getIconImage(button->kind, 0)->getRect();
        pointAt(button->x + 0.5f * picture.z, button->y, 1);
        tick();
        pointAt(button->x + 0.5f * picture.z, button->y, 0);
        tick();
        pointAt(-1.0f, -1.0f);
    }

    // Opens the frame on a tab as the router does and lets everything appear.
    void open(const wchar_t* command)
    {
        menu->runCommand(command);
        tick(30);
    }

    // The value-choice popup, fully shown, answered with Ok (its slider at the share given, in
    // slider mode), then closed.
    void answerScrollPopup(float share = -1.0f)
    {
        ScrollPopup* popup = Singleton<ScrollPopup>::get();
        ASSERT_EQ(showState(popup), kShowShown);
        if (share >= 0.0f)
            popup->position = share;
        click(popup->okButton);
        tick(30);
        ASSERT_EQ(showState(popup), kShowHidden);
    }

    std::filesystem::path oldFolder;
    DataStorage* storage = nullptr;
    GlobalSettings* settings = nullptr;
    CashAccount* cash = nullptr;
    MenuOrange* frame = nullptr;
    MenuOrangeFolds* strip = nullptr;
    MenuTickets* tickets = nullptr;
    MenuBank* bank = nullptr;
    MenuDateBar* bar = Singleton<MenuDateBar>::get();
    MenuManager* menu = Singleton<MenuManager>::get();
};

// ---- the frame and its tabs

TEST_F(Finance, ATabSwitchWaitsHalfASecondAndShowsTheNewScreenOnceTheOldIsHidden)
{
    open(L"finances");
    ASSERT_EQ(showState(tickets), kShowShown);
    EXPECT_EQ(showState(bank), kShowHidden);

    // 300 ms after the strip has fully shown: too early.
    tick(25);
    SoundLog sounds;
    strip->onWidget1(2, 3);
    EXPECT_EQ(strip->getTab(), kTabTickets);
    tick(22);                                   // over 500 ms
    strip->onWidget0(2, 3);                     // the selected tab: nothing
    strip->onWidget1(2, 3);
    EXPECT_EQ(strip->getTab(), kTabBank);
    strip->onWidget2(2, 3);                     // within 500 ms of the accepted click
    sounds.stop();
    EXPECT_EQ(strip->getTab(), kTabBank);
    EXPECT_EQ(sounds.count("click"), 1);

    // The frame takes the change, hides the tickets, and shows the bank only once they are gone.
    tick();
    EXPECT_EQ(showState(tickets), kShowDisappearing);
    EXPECT_EQ(showState(bank), kShowHidden);
    int steps = 1;
    while (showState(tickets) != kShowHidden && steps < 100) {
        EXPECT_EQ(showState(bank), kShowHidden);
        tick();
        ++steps;
    }
    tick();
    EXPECT_EQ(showState(bank), kShowAppearing);
    EXPECT_EQ(frame->switchTimer, 10);
    tick(30);
    EXPECT_EQ(showState(bank), kShowShown);
    for (Container* other : {of<MenuTickets>(), of<MenuStatistics>(), of<MenuAchievements>(), of<MenuRanking>()})
        EXPECT_EQ(showState(other), kShowHidden);

    // A switch of the strip while the frame still waits after a swap is taken only after 500 ms.
    tick(10);
    strip->onWidget3(2, 3);
    ASSERT_EQ(strip->getTab(), kTabAchievements);
    EXPECT_LE(frame->switchTimer, 500);
    tick();
    EXPECT_EQ(showState(bank), kShowShown) << "the frame still waits";
    tick(30);
    EXPECT_NE(showState(bank), kShowShown);
    tick(80);
    EXPECT_EQ(showState(of<MenuAchievements>()), kShowShown);
}

TEST_F(Finance, TheFrameOpensOnTheTabTheCommandAskedForAndFinancesKeepsIt)
{
    open(L"bank");
    EXPECT_EQ(strip->getTab(), kTabBank);
    EXPECT_EQ(showState(bank), kShowShown);
    EXPECT_EQ(showState(tickets), kShowHidden);

    // "finances" again while the frame is open under another menu word (the options closed
    // over it leave "returnfromoptions") hides every panel but the frame: the frame brings its
    // screen back.
    tick(30);
    menu->mCurrentMenu = L"returnfromoptions";
    menu->runCommand(L"finances");
    EXPECT_EQ(showState(bank), kShowDisappearing);
    tick(60);
    EXPECT_EQ(showState(bank), kShowShown);

    // The player moves to the statistics, closes, and opens the finances again: the bank.
    tick(50);
    strip->onWidget2(2, 3);
    tick(100);
    EXPECT_EQ(showState(of<MenuStatistics>()), kShowShown);
    menu->closeAllPanels();
    tick(30);
    open(L"finances");
    EXPECT_EQ(strip->getTab(), kTabBank);
    EXPECT_EQ(showState(bank), kShowShown);
    EXPECT_EQ(showState(of<MenuStatistics>()), kShowHidden);

    menu->closeAllPanels();
    tick(30);
    open(L"ranking");
    EXPECT_EQ(showState(of<MenuRanking>()), kShowShown);
    menu->closeAllPanels();
    tick(30);
    open(L"statistics");
    EXPECT_EQ(showState(of<MenuStatistics>()), kShowShown);
    menu->closeAllPanels();
    tick(30);
    open(L"tickets");
    EXPECT_EQ(showState(tickets), kShowShown);
}

TEST_F(Finance, TabsFadeTowardsTheirStateAndTheRankingTabCanBeSwitchedOff)
{
    open(L"finances");
    tick(60);
    EXPECT_FLOAT_EQ(strip->tabAlpha[kTabTickets], 1.0f);
    for (int tab = kTabBank; tab <= kTabRanking; ++tab)
        EXPECT_FLOAT_EQ(strip->tabAlpha[tab], 0.25f) << tab;

    // The tab just left fades to a quarter, the new one brightens (the hover is tried in the
    // window test, where the tabs' pictures can be pointed at).
    strip->onWidget1(2, 3);
    ASSERT_EQ(strip->getTab(), kTabBank);
    strip->update();
    EXPECT_NEAR(strip->tabAlpha[kTabTickets], 1.0f - 0.014f, 1e-6);
    EXPECT_NEAR(strip->tabAlpha[kTabBank], 0.25f + 0.014f, 1e-6);
    tick(60);
    EXPECT_FLOAT_EQ(strip->tabAlpha[kTabTickets], 0.25f);
    EXPECT_FLOAT_EQ(strip->tabAlpha[kTabBank], 1.0f);
    strip->draw();
    EXPECT_FLOAT_EQ(strip->mWidget1->getColor().w, 1.0f);
    EXPECT_FLOAT_EQ(strip->mWidget0->getColor().w, 0.25f);

    // With four tabs the ranking tab does not react.
    strip->setTabCount(4);
    SoundLog sounds;
    strip->onWidget4(2, 3);
    sounds.stop();
    EXPECT_EQ(strip->getTab(), kTabBank);
    EXPECT_EQ(sounds.count("click"), 0);
}

TEST_F(Finance, NothingMovesWhileAPopupIsOpenOrTheGameIsPaused)
{
    open(L"finances");
    const int frameTimer = frame->switchTimer;
    const int stripTimer = strip->switchTimer;
    bar->paused = 1;
    frame->update();
    strip->update();
    EXPECT_EQ(frame->switchTimer, frameTimer);
    EXPECT_EQ(strip->switchTimer, stripTimer);
    bar->paused = 0;
    bar->modal = 1;
    frame->update();
    strip->update();
    EXPECT_EQ(frame->switchTimer, frameTimer);
    EXPECT_EQ(strip->switchTimer, stripTimer);
    bar->modal = 0;
}

TEST_F(Finance, TheCloseButtonClosesEveryPanelAndGivesTheParkBackItsClicks)
{
    open(L"finances");
    EXPECT_TRUE(menu->isAnyPanelOpen());
    SoundLog sounds;
    tickets->onWidget0(2, 3);
    sounds.stop();
    EXPECT_EQ(sounds.count("exit"), 1);
    EXPECT_EQ(menu->currentMenu(), L"nomenu");
    tick(30);
    for (Container* screen : {of<MenuOrange>(), of<MenuOrangeFolds>(), of<MenuTickets>()})
        EXPECT_EQ(showState(screen), kShowHidden) << screen->name;
    EXPECT_FALSE(menu->isAnyPanelOpen());
}

// ---- the bank

TEST_F(Finance, ALoanIsTakenAndRepaidWithTheCashAndNothingBooked)
{
    cash->mCash = 12000;
    cash->mLoan = 0;
    const MonthBalance before = *storage->mBalanceThisMonth;
    const MonthBalance countsBefore = *storage->mStatThisMonth;
    open(L"bank");

    click(bank->borrowButton);
    ScrollPopup* popup = Singleton<ScrollPopup>::get();
    ASSERT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->mode, 0);
    EXPECT_EQ(popup->title, text(L"howmuchborrow"));
    EXPECT_EQ(popup->min, 0);
    EXPECT_EQ(popup->max, 25000);
    EXPECT_FLOAT_EQ(popup->startFraction, 0.0f);
    tick(30);
    answerScrollPopup(0.4f);
    EXPECT_EQ(cash->mCash, 22000);
    EXPECT_EQ(cash->mLoan, 12000);
    EXPECT_EQ(bank->mWidget17->getText(0), L"22000 " + text(L"currency"));
    EXPECT_EQ(bank->mWidget18->getText(0), L"12000 " + text(L"currency"));

    // One loan at a time: Borrow does nothing now (nor, with no cash, the Repay that takes its
    // place). Repay offers the smaller of cash and loan.
    cash->mCash = 0;
    click(bank->borrowButton);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(cash->mLoan, 12000);
    cash->mCash = 5000;
    bank->draw();
    EXPECT_EQ(bank->repayButton->text, text(L"Repay") + L" (5000)");
    cash->mCash = 22000;
    click(bank->repayButton);
    ASSERT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->title, text(L"howmuchrepay"));
    EXPECT_EQ(popup->max, 12000);
    EXPECT_FLOAT_EQ(popup->startFraction, 1.0f);
    tick(30);
    answerScrollPopup();
    EXPECT_EQ(cash->mCash, 10000);
    EXPECT_EQ(cash->mLoan, 0);

    // Neither the loan nor its repayment is a booking of the month.
    for (int w = 0; w < MonthBalance::kWords; ++w) {
        EXPECT_EQ(storage->mBalanceThisMonth->mValues[w], before.mValues[w]) << w;
        EXPECT_EQ(storage->mStatThisMonth->mValues[w], countsBefore.mValues[w]) << w;
    }
    // Repaid to 0: Borrow is offered again.
    click(bank->borrowButton);
    EXPECT_TRUE(popup->isVisible());
}

TEST_F(Finance, BankAnswersAreHeldToWhatTheBankAllows)
{
    open(L"bank");
    cash->mCash = 1000;
    cash->mLoan = 0;
    // A loan answer above the most one loan can be is held at the most.
    bank->borrowAmount = 40000;
    tick();
    EXPECT_EQ(cash->mCash, 26000);
    EXPECT_EQ(cash->mLoan, 30000);
    // A second loan while one is outstanding is refused.
    bank->borrowAmount = 100;
    tick();
    EXPECT_EQ(cash->mCash, 26000);
    EXPECT_EQ(cash->mLoan, 30000);
    EXPECT_EQ(bank->borrowAmount, 0);
    // A repayment beyond the cash or the loan pays only what both allow.
    cash->mCash = 500;
    bank->repayAmount = 2000;
    tick();
    EXPECT_EQ(cash->mCash, 0);
    EXPECT_EQ(cash->mLoan, 29500);
    cash->mCash = 40000;
    bank->repayAmount = 35000;
    tick();
    EXPECT_EQ(cash->mCash, 10500);
    EXPECT_EQ(cash->mLoan, 0);
    // Borrowing 3 owes 3.6, truncated.
    bank->borrowAmount = 3;
    tick();
    EXPECT_EQ(cash->mLoan, 3);

    // No cash to repay with, or cash below 0: the Repay button opens nothing.
    ScrollPopup* popup = Singleton<ScrollPopup>::get();
    cash->mCash = 0;
    click(bank->repayButton);
    EXPECT_FALSE(popup->isVisible());
    cash->mCash = -50;
    click(bank->repayButton);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(cash->mLoan, 3);
    EXPECT_EQ(cash->mCash, -50);
}

TEST_F(Finance, AClickWhileAPopupIsOpenOrThePauseIsOnChangesNothing)
{
    cash->mCash = 50000;
    cash->mLoan = 0;
    open(L"bank");
    bar->paused = 1;
    click(bank->borrowButton);
    click(bank->promotionButtons[0]);
    bar->paused = 0;
    EXPECT_FALSE(Singleton<ScrollPopup>::get()->isVisible());
    EXPECT_FALSE(Singleton<Popup>::get()->isVisible());

    // A press the bank saw when the quit question came over it, released under the question: its
    // Cancel, released over Borrow, asks for no loan once the question has gone.
    const float4 picture = Singleton<ButtonBar>::get()->getIconImage(bank->borrowButton->kind, 0)->getRect();
    pointAt(bank->borrowButton->x + 0.5f * picture.z, bank->borrowButton->y, 1);
    tick();
    menu->runCommand(L"exit");
    pointAt(-1.0f, -1.0f);
    tick(30);
    click(Singleton<Popup>::get()->cancelButton);
    pointAt(bank->borrowButton->x + 0.5f * picture.z, bank->borrowButton->y, 0);
    tick(30);
    EXPECT_FALSE(Singleton<Popup>::get()->isVisible());
    EXPECT_FALSE(Singleton<ScrollPopup>::get()->isVisible());

    // The loan question is open: a click on a promotion does nothing, and the answer is taken
    // only once the popup has gone.
    click(bank->borrowButton);
    ASSERT_TRUE(Singleton<ScrollPopup>::get()->isVisible());
    tick(30);
    click(bank->promotionButtons[0]);
    EXPECT_FALSE(Singleton<Popup>::get()->isVisible());
    EXPECT_EQ(settings->mActivePromotion, -1);
    Singleton<ScrollPopup>::get()->position = 0.2f;
    click(Singleton<ScrollPopup>::get()->okButton);
    EXPECT_EQ(bank->borrowAmount, 5000);
    EXPECT_EQ(cash->mLoan, 0) << "not before the popup has closed";
    tick(30);
    EXPECT_EQ(cash->mLoan, 6000);
    EXPECT_EQ(cash->mCash, 55000);
}

TEST_F(Finance, APromotionIsBoughtRunsItsDaysAndEnds)
{
    ASSERT_GE(storage->mPromotions.size(), 3u);
    Promotion* first = storage->mPromotions[0];
    cash->mCash = first->mCost - 1;
    open(L"bank");
    EXPECT_EQ(bank->mWidget5->getText(0), first->mName);
    EXPECT_EQ(bank->promotionButtons[0]->text, std::to_wstring(first->mCost));

    // Not affordable: no question.
    click(bank->promotionButtons[0]);
    EXPECT_FALSE(Singleton<Popup>::get()->isVisible());

    // Affordable, answered with Cancel: nothing.
    cash->mCash = first->mCost;
    click(bank->promotionButtons[0]);
    Popup* popup = Singleton<Popup>::get();
    ASSERT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->title, text(L"promotioninformation"));
    EXPECT_EQ(popup->text, first->mDescription);
    tick(30);
    click(popup->cancelButton);
    tick(30);
    EXPECT_EQ(settings->mActivePromotion, -1);
    EXPECT_EQ(cash->mCash, first->mCost);

    // Ok: charged and booked, the buttons give way to the running promotion's text.
    const int money = storage->mBalanceThisMonth->mValues[t_ParkPromotion];
    const int count = storage->mStatThisMonth->mValues[t_ParkPromotion];
    click(bank->promotionButtons[0]);
    tick(30);
    click(popup->okButton);
    tick(30);
    EXPECT_EQ(settings->mActivePromotion, 1);
    EXPECT_EQ(cash->mCash, 0);
    EXPECT_EQ(storage->mBalanceThisMonth->mValues[t_ParkPromotion], money - first->mCost);
    EXPECT_EQ(storage->mStatThisMonth->mValues[t_ParkPromotion], count + 1);
    bank->draw();
    EXPECT_FALSE(bank->mWidget5->isVisible());
    EXPECT_EQ(bank->mWidget4->getText(0), first->mDescriptionWhenUsed);
    // The table shows the booking in this month's promotion row.
    const std::vector<std::wstring>& keys = bank->moneyTable->columns[0];
    const size_t row = std::find(keys.begin(), keys.end(), L"t_ParkPromotion") - keys.begin();
    ASSERT_LT(row, keys.size());
    EXPECT_EQ(bank->moneyTable->columns[2][row], std::to_wstring(money - first->mCost));

    // A second promotion cannot start while one runs.
    cash->mCash = 100000;
    click(bank->promotionButtons[1]);
    EXPECT_FALSE(popup->isVisible());

    // The park's days count it down; on its last day the buttons come back.
    for (int day = 1; day < first->mDuration; ++day)
        storage->newDay();
    EXPECT_EQ(settings->mActivePromotion, 1);
    storage->newDay();
    EXPECT_EQ(settings->mActivePromotion, -1);
    bank->draw();
    EXPECT_TRUE(bank->mWidget5->isVisible());
    EXPECT_FALSE(bank->mWidget4->isVisible());
}

TEST_F(Finance, WithFewerThanThreePromotionsTheMissingOnesAreNotOffered)
{
    while (storage->mPromotions.size() > 2) {
        storage->retire(storage->mPromotions.back());
        storage->mPromotions.pop_back();
    }
    cash->mCash = 100000;
    open(L"bank");
    bank->draw();
    EXPECT_TRUE(bank->mWidget6->isVisible());
    EXPECT_FALSE(bank->mWidget7->isVisible());
    click(bank->promotionButtons[2]);
    tick(30);
    EXPECT_FALSE(Singleton<Popup>::get()->isVisible());
    // An answer naming a promotion the park does not have buys nothing.
    bank->promotionChoice = 3;
    bank->promotionAnswer = 1;
    tick();
    EXPECT_EQ(settings->mActivePromotion, -1);
    EXPECT_EQ(cash->mCash, 100000);
}

TEST_F(Finance, TextsOfTheTextsTableAreNeverFormats)
{
    TempDir folder;
    textsManager.load(folder.write("texts.dat", "currency %s%n coins\nRepay Pay back %d%%\nBorrow %ls\n"));
    cash->mCash = 700;
    cash->mLoan = 900;
    open(L"bank");
    bank->draw();
    EXPECT_EQ(bank->mWidget17->getText(0), L"700 %s%n coins");
    EXPECT_EQ(bank->repayButton->text, L"Pay back %d%% (700)");
}

TEST_F(Finance, TheReportHasTwentyRowsAndItsTotalCountsEveryWord)
{
    for (int w = 0; w < MonthBalance::kWords; ++w) {
        storage->mBalanceLastMonth->mValues[w] = w + 1;
        storage->mBalanceThisMonth->mValues[w] = -(w + 1);
    }
    open(L"bank");
    const TextTable& table = *bank->moneyTable;
    ASSERT_EQ(table.rowCount(), 20);
    EXPECT_EQ(table.columns[0][0], L"t_NewBuildings");
    EXPECT_EQ(table.columns[1][0], L"1");
    EXPECT_EQ(table.columns[0][4], L"");
    EXPECT_EQ(table.columns[1][4], L"0");
    EXPECT_EQ(table.columns[2][4], L"0");
    EXPECT_EQ(table.columns[0][17], L"t_Other");
    EXPECT_EQ(table.columns[2][17], L"-14");
    EXPECT_EQ(table.columns[0][19], L"t_Total");
    EXPECT_EQ(table.columns[1][19], L"105");   // 1 + ... + 14, word 11 included
    EXPECT_EQ(table.columns[2][19], L"-105");
    for (const std::wstring& key : table.columns[0]) {
        if (key.empty())
            continue;
        EXPECT_NE(text(key.c_str()), L"missing text") << std::string(key.begin(), key.end());
    }
}

// ---- the tickets screen

TEST_F(Finance, RestaurantAndHotelPricesAreOfferedOnlyWithTheirBuildings)
{
    std::vector<DataBuilding*> park = storage->mParkBuildings;
    storage->mParkBuildings.erase(std::remove_if(storage->mParkBuildings.begin(), storage->mParkBuildings.end(),
                                                 [](DataBuilding* b) {
                                                     return b->hasFileName("OtherRestaurant.txt")
                                                            || b->hasFileName("OtherHotel.txt");
                                                 }),
                                  storage->mParkBuildings.end());
    open(L"tickets");
    const TextTable& table = *tickets->priceTable;
    ASSERT_EQ(table.rowCount(), 12);
    EXPECT_FLOAT_EQ(table.rowHeight, 0.03f);
    const int restaurantRows[4] = {3, 4, 6, 7};
    for (int row : restaurantRows)
        EXPECT_EQ(table.columns[1][row], L"-") << row;
    EXPECT_EQ(table.columns[0][3], L"t_RestaurantSales");
    for (int separator : {2, 5, 8, 10})
        EXPECT_EQ(table.columns[0][separator] + table.columns[1][separator], L"0") << separator;
    EXPECT_EQ(table.columns[1][9], L"-");
    EXPECT_EQ(table.columns[1][11], std::to_wstring(settings->mCarParkingTicketPrice));
    for (int i : {2, 3, 4, 5, 6})
        EXPECT_FALSE(MenuTickets::isOffered(i)) << i;
    click(tickets->changeButtons[2]);
    EXPECT_FALSE(Singleton<ScrollPopup>::get()->isVisible());

    for (DataBuilding* building : storage->mBuildingDefinitions)
        if (building->hasFileName("OtherRestaurant.txt"))
            storage->mParkBuildings.push_back(building);
    tickets->reset();
    EXPECT_EQ(tickets->priceTable->columns[1][3], std::to_wstring(settings->mDinnerPrice));
    EXPECT_EQ(tickets->priceTable->columns[1][7], std::to_wstring(settings->mSaltInFood));
    EXPECT_EQ(tickets->priceTable->columns[1][9], L"-");
    EXPECT_TRUE(MenuTickets::isOffered(5));

    // Salt: presets without amounts, the current amount ticked.
    click(tickets->changeButtons[5]);
    ScrollPopup* popup = Singleton<ScrollPopup>::get();
    ASSERT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->mode, 2);
    const ScrollValues& salt = settings->mScrollValues.at(L"Salt");
    EXPECT_EQ(popup->presets[popup->selected], settings->mSaltInFood);
    EXPECT_EQ(popup->presets[4], salt.mPresets[4]);
    EXPECT_EQ(popup->max, 10);
    storage->mParkBuildings = park;
}

TEST_F(Finance, AnItemWithoutPresetsIsNotOfferedAndTold)
{
    for (DataBuilding* building : storage->mBuildingDefinitions)
        if (building->hasFileName("OtherRestaurant.txt") || building->hasFileName("OtherHotel.txt"))
            storage->mParkBuildings.push_back(building);
    settings->mScrollValues.erase(L"Drinks");
    settings->mScrollValues[L"Hotel"].mPresets[2] = -5;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(MenuTickets::isOffered(3));
    EXPECT_FALSE(MenuTickets::isOffered(6));
    EXPECT_FALSE(MenuTickets::isOffered(3));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Drinks has no [scroll values]"), std::string::npos) << out;
    EXPECT_NE(out.find("Hotel has a preset below 0"), std::string::npos) << out;
    EXPECT_EQ(out.find("Drinks"), out.rfind("Drinks")) << "told once";
}

TEST_F(Finance, APriceChangeRenewsTheOffersOnceAndReachesTheIncomeTheNextDay)
{
    PublicManager* visitors = Singleton<PublicManager>::get();
    std::vector<int> parking(24);
    std::iota(parking.begin(), parking.end(), 1);
    visitors->mParkingPlaces = {parking, parking, parking};
    visitors->mVisitors = 20;

    open(L"tickets");
    Tutorial* tutorial = Singleton<Tutorial>::get();
    tutorial->priceChanged = 0;
    const std::vector<DataAnimal*> offers = storage->mAnimalsForSale;

    // The accommodation popup: the same preset again renews nothing, but the tutorial counts it.
    click(tickets->changeButtons[0]);
    EXPECT_EQ(tutorial->priceChanged, 1);
    ScrollPopup* popup = Singleton<ScrollPopup>::get();
    EXPECT_EQ(popup->mode, 1);
    EXPECT_EQ(popup->title, text(L"GetTicketsTitle"));
    EXPECT_EQ(popup->presets[popup->selected], settings->mAccommodationTicketPrice);
    tick(30);
    answerScrollPopup();
    tick(2);
    EXPECT_EQ(storage->mAnimalsForSale, offers);

    // Another preset: the offers are made again, once.
    click(tickets->changeButtons[0]);
    tick(30);
    popup->selected = (popup->selected + 1) % 5;
    const int stay = popup->presets[popup->selected];
    answerScrollPopup();
    EXPECT_EQ(settings->mAccommodationTicketPrice, stay);
    tick();
    const std::vector<DataAnimal*> renewed = storage->mAnimalsForSale;
    EXPECT_NE(renewed, offers);
    tick(5);
    EXPECT_EQ(storage->mAnimalsForSale, renewed);
    EXPECT_EQ(tickets->priceTable->columns[1][0], std::to_wstring(stay));

    // The parking ticket at its highest preset: the next day's car park pays that price.
    click(tickets->changeButtons[7]);
    tick(30);
    popup->selected = 4;
    answerScrollPopup();
    const int price = settings->mScrollValues.at(L"CarTicket").mPresets[4];
    EXPECT_EQ(settings->mCarParkingTicketPrice, price);
    EXPECT_EQ(tickets->priceTable->columns[1][11], std::to_wstring(price));
    const int booked = storage->mBalanceThisMonth->mValues[t_ParkTicketsSale];
    const int cashBefore = cash->mCash;
    storage->newDay();
    const int cars = static_cast<int>(visitors->mCars.size());
    ASSERT_GT(cars, 0);
    EXPECT_EQ(storage->mBalanceThisMonth->mValues[t_ParkTicketsSale] - booked, cars * price);
    EXPECT_GE(cash->mCash - cashBefore, cars * price);
    // The day's step refilled the bank's report, shown or not: its parking row has the income.
    ASSERT_EQ(bank->moneyTable->columns[0][13], L"t_ParkTicketsSale");
    EXPECT_EQ(bank->moneyTable->columns[2][13],
              std::to_wstring(storage->mBalanceThisMonth->mValues[t_ParkTicketsSale]));
}

} // namespace

// The park rules on their own: this program links the rules' library and nothing above it. A
// recording implementation of ParkEvents stands in for the screens and the park view, and the
// tests assert on what the rules told them and in which order: the cash watch's popups and the
// game over, the order of a game day, the loader's effects, places and figures, feeding and the
// vet, achievements, and what a saved game hands over and takes back; and the park's money.

#include "fixtures/HeadlessEngine.h"
#include "fixtures/TempDir.h"

#include "game/CashAccount.h"
#include "game/DataAchievement.h"
#include "game/DataAnimal.h"
#include "game/DataBuilding.h"
#include "game/DataFood.h"
#include "game/DataStorage.h"
#include "game/GameDate.h"
#include "game/GlobalSettings.h"
#include "game/MonthBalance.h"
#include "game/ParkEvents.h"
#include "game/Profiles.h"
#include "game/Promotion.h"
#include "render/external/bg_loader.h"
#include "render/render.h"
#include "toolkit/utils/FontStyle.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/utils/misc.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

// What the screens and the park view were told, one line per event, and the figures made.
// Figures are records of this test: the rules keep them as opaque AnimalAvatar pointers.
class RecordingEvents : public ParkEvents {
public:
    struct Figure {
        std::wstring species;
        std::string place;
        int index;
        int variant;
        std::wstring animation;
    };

    std::vector<std::wstring> log;
    std::vector<std::unique_ptr<Figure>> figures;
    WidgetLabel* label = nullptr;
    int visitors = 0;
    bool busy = false;
    int* lastResult = nullptr;
    TutorialProgress tutorial;
    std::vector<float> walkers;
    std::vector<DataAchievement*> waiting;

    static Figure* figureOf(const AnimalAvatar* figure)
    {
        return reinterpret_cast<Figure*>(const_cast<AnimalAvatar*>(figure));
    }
    // The events of one kind, in order.
    std::vector<std::wstring> named(const std::wstring& prefix) const
    {
        std::vector<std::wstring> found;
        for (const std::wstring& line : log)
            if (line.compare(0, prefix.size(), prefix) == 0)
                found.push_back(line);
        return found;
    }

    void showPopup(int buttons, int variant, const std::wstring& title, const std::wstring& text,
                   int* result) override
    {
        log.push_back(L"popup " + std::to_wstring(buttons) + L" " + std::to_wstring(variant) + L" " + title + L": " +
                      text);
        lastResult = result;
    }
    void endGame() override { log.push_back(L"gameover"); }
    void queueAchievementNotice(DataAchievement* achievement) override { log.push_back(L"notice " + achievement->mName); }
    void refillFinanceScreens() override { log.push_back(L"finance"); }
    void refillPetScreens() override { log.push_back(L"pets"); }
    void rebuildOfferCards() override { log.push_back(L"offers"); }
    void showRanking() override { log.push_back(L"ranking"); }
    WidgetLabel* cashLabel() override { return label; }
    void dropNotices() override { log.push_back(L"notices cleared"); }
    std::vector<DataAchievement*> waitingNotices() const override { return waiting; }
    TutorialProgress tutorialProgress() const override { return tutorial; }
    void restoreTutorial(const TutorialProgress& progress) override
    {
        log.push_back(L"tutorial " + std::to_wstring(progress.step) + L" " + std::to_wstring(progress.pointerTarget) +
                      L" " + std::to_wstring(progress.buildingBought) + std::to_wstring(progress.petAccepted) +
                      std::to_wstring(progress.foodBought));
    }
    bool cameraBusy() const override { return busy; }
    void resetCamera() override { log.push_back(L"camera reset"); }
    void renewCamera() override { log.push_back(L"camera renewed"); }
    void setAnimalPlaces(CRender::Object* scene) override
    {
        log.push_back(scene ? L"animal places" : L"animal places missing");
    }
    AnimalAvatar* makeAnimalFigure(const std::wstring& species, const std::string& placeName, int placeIndex,
                                   int variant, const std::wstring& animation) override
    {
        figures.push_back(std::make_unique<Figure>(Figure{species, placeName, placeIndex, variant, animation}));
        log.push_back(L"figure " + species + L" " + std::wstring(placeName.begin(), placeName.end()) + L" " +
                      std::to_wstring(placeIndex) + L" " + animation);
        return reinterpret_cast<AnimalAvatar*>(figures.back().get());
    }
    std::string figurePlaceName(const AnimalAvatar* figure) const override { return figureOf(figure)->place; }
    int figurePlaceIndex(const AnimalAvatar* figure) const override { return figureOf(figure)->index; }
    std::wstring figureAnimation(const AnimalAvatar* figure) const override { return figureOf(figure)->animation; }
    void playFigureOnce(AnimalAvatar* figure, const std::wstring& animation) override
    {
        log.push_back(L"plays " + animation);
    }
    void runVisitorsDay() override { log.push_back(L"visitors"); }
    int visitorCount() const override { return visitors; }
    void reloadVisitors() override { log.push_back(L"visitors reloaded"); }
    void clearWalkers() override { log.push_back(L"walkers cleared"); }
    std::vector<float> walkerProgress() const override { return walkers; }
    bool restoreWalker(float progress) override
    {
        log.push_back(L"walker " + std::to_wstring(progress));
        return true;
    }
    void placeCars() override { log.push_back(L"cars"); }
    void clearEffects() override { log.push_back(L"effects cleared"); }
    void addEffect(const std::wstring& name, const std::string& path) override
    {
        log.push_back(L"effect " + name + L" " + std::wstring(path.begin(), path.end()));
    }
};

// A label for the cash figure in a font style of its own (its font is left unloaded).
WidgetLabel* cashLabel()
{
    static WidgetLabel* label = [] {
        TempDir dir;
        Render* engine = Render::current();
        Render::set_current(nullptr);
        Singleton<FontStylesMgr>::get()->load(dir.write("fonts.dat", "fonts/none 0.03 1.0 1.0 l u 255 255 255\n"));
        Render::set_current(engine);
        return new WidgetLabel(L"label_0_1", 0.1f, 0.02f, 0.2f, 0.05f);
    }();
    return label;
}

// The shipped game data in the application folder, played with the recording events.
class RulesTellTheScreens : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        engine = new HeadlessEngine();
        texts = new TempDir();
        textsManager.load(texts->write("texts.dat", "GetLoan Out of money\n"
                                                    "GetLoanOrGameOver Pay within %d days\n"
                                                    "GameOver Game over\n"
                                                    "GameOverMessage The park is closed\n"
                                                    "nofood No food\n"
                                                    "buysomefood Buy some food\n"
                                                    "doctorvisit Vet visit\n"
                                                    "doctorvisitmessage It cost %d coins\n"));
    }
    static void TearDownTestSuite()
    {
        bgLoader.shutdown();
        delete texts;
        delete engine;
    }

    void SetUp() override
    {
        mOldDir = std::filesystem::current_path();
        std::filesystem::current_path(PETPARK_APP_DIR "/Resources");
        events.label = cashLabel();
        installParkEvents(&events);
        std::srand(11);
        storage = Singleton<DataStorage>::get();
        storage->mCurrentProfile = -1;
        testing::internal::CaptureStdout();
        loadGameData(storage, "data/game/");
        testing::internal::GetCapturedStdout();
        settings = storage->mGlobalSettings;
    }
    void TearDown() override
    {
        settings->mCashAccount->setLabel(nullptr);
        installParkEvents(nullptr);
        std::filesystem::current_path(mOldDir);
    }

    static HeadlessEngine* engine;
    static TempDir* texts;
    RecordingEvents events;
    DataStorage* storage = nullptr;
    GlobalSettings* settings = nullptr;

private:
    std::filesystem::path mOldDir;
};

HeadlessEngine* RulesTellTheScreens::engine = nullptr;
TempDir* RulesTellTheScreens::texts = nullptr;

TEST_F(RulesTellTheScreens, LoadingTheDataClearsTheEffectsFirstThenPlacesTheStartingAnimals)
{
    ASSERT_FALSE(events.log.empty());
    EXPECT_EQ(events.log.front(), L"effects cleared");
    EXPECT_EQ(events.named(L"effect "),
              (std::vector<std::wstring>{L"effect sparkle fx_sparkle.3dn", L"effect hearts fx_hearts.3dn",
                                         L"effect dust fx_dust.3dn"}));
    EXPECT_EQ(events.named(L"animal places"), std::vector<std::wstring>{L"animal places"});
    // The starting dog stands at the first dog place, walking; the rules know its place only
    // through the figure.
    ASSERT_EQ(storage->mParkAnimals.size(), 1u);
    EXPECT_EQ(events.named(L"figure "), std::vector<std::wstring>{L"figure dog helper_pies1 0 chodzenie"});
    DataAnimal* dog = storage->mParkAnimals[0];
    EXPECT_EQ(dog->placeNumber(), 1);
    EXPECT_TRUE(storage->isPlaceTaken(L"dog", 1));
    // The cash figure is the in-game screen's label, handed over while "global.txt" is read.
    EXPECT_EQ(settings->mCashAccount->mLabel, events.label);

    // A guest taken in goes to the next free place of its kind.
    DataAnimal* offer = new DataAnimal(L"Rex", L"dog", 0.5f, 0.5f, 0);
    DataAnimal* guest = DataAnimal::placeInPark(offer);
    ASSERT_NE(guest, nullptr);
    EXPECT_EQ(events.log.back(), L"figure dog helper_pies2 1 chodzenie");
    EXPECT_EQ(guest->placeNumber(), 2);
    delete guest;
    delete offer;
}

TEST_F(RulesTellTheScreens, TheCashWatchWarnsThenEndsTheGameWithTheAnswer)
{
    CashAccount* account = settings->mCashAccount;
    account->mCash = -5;
    account->update();
    EXPECT_EQ(events.log.back(), L"popup 0 1 Out of money: Pay within 30 days");
    EXPECT_EQ(events.lastResult, nullptr);
    for (int day = 0; day <= 30; ++day) {
        account->newDay();
        account->update();
    }
    EXPECT_EQ(events.log.back(), L"popup 0 1 Game over: The park is closed");
    // The answer comes back into the account, which then ends the game once.
    ASSERT_EQ(events.lastResult, &account->mGameOverAnswer);
    account->update();
    EXPECT_EQ(events.named(L"gameover").size(), 0u);
    *events.lastResult = 1;
    account->update();
    EXPECT_EQ(events.named(L"gameover").size(), 1u);
    EXPECT_EQ(account->mCountdownState, CashAccount::kNoCountdown);
    EXPECT_EQ(account->mGameOverAnswer, 0);
}

TEST_F(RulesTellTheScreens, AGameDayTellsTheViewAndTheScreensInItsOrder)
{
    DataAnimal* dog = storage->mParkAnimals[0];
    dog->mStayDays = 1;  // leaves today
    settings->mDaysBetweenNewAnimals = 1;
    events.log.clear();
    storage->newDay();
    EXPECT_TRUE(storage->mParkAnimals.empty());
    EXPECT_EQ(events.log, (std::vector<std::wstring>{L"offers", L"camera reset", L"visitors", L"finance", L"ranking"}));

    // The day comes from the logic steps: one step past the game speed.
    events.log.clear();
    const int day = settings->mDate->mDaysElapsed;
    for (int ms = 0; ms <= settings->mGameSpeed; ms += 10)
        storage->update();
    EXPECT_EQ(settings->mDate->mDaysElapsed, day + 1);
    EXPECT_EQ(events.named(L"ranking").size(), 1u);
}

TEST_F(RulesTellTheScreens, FeedingAndTheVetAreShownOnTheView)
{
    DataAnimal* dog = storage->mParkAnimals[0];
    settings->mFoodStored = 1;
    EXPECT_EQ(dog->feed(), 1);
    EXPECT_EQ(events.log.back(), L"plays jedzenie");
    EXPECT_EQ(dog->feed(), 0);
    EXPECT_EQ(events.log.back(), L"popup 0 1 No food: Buy some food");

    // Starved: the vet takes it in at the park's cost, the camera lets go and the pet screens refill.
    const int cash = settings->mCashAccount->mCash;
    dog->mHunger = 0;
    dog->mFed = 0;
    events.log.clear();
    dog->newDay();
    const int cost = settings->mAnimalTakenAwayCost;
    EXPECT_EQ(settings->mCashAccount->mCash, cash - cost);
    EXPECT_EQ(events.log, (std::vector<std::wstring>{L"popup 0 0 Vet visit: It cost " + std::to_wstring(cost) +
                                                          L" coins",
                                                      L"camera reset", L"pets"}));
}

TEST_F(RulesTellTheScreens, AchievementsAskTheScreensForPlaceAndVisitorsAndWaitForTheCamera)
{
    storage->mPlayerPlace = 4;
    EXPECT_FALSE(storage->checkRequirements(L"pr:3"));
    storage->mPlayerPlace = 3;
    EXPECT_TRUE(storage->checkRequirements(L"pr:3"));
    EXPECT_FALSE(storage->checkRequirements(L"p:40"));
    events.visitors = 40;
    EXPECT_TRUE(storage->checkRequirements(L"p:40"));

    DataAchievement* reachable = nullptr;
    for (DataAchievement* achievement : storage->mAchievements)
        if (!achievement->mDone && storage->checkRequirements(achievement->mRequirements) && !reachable)
            reachable = achievement;
    ASSERT_NE(reachable, nullptr) << "the shipped data has an achievement a visited, well-placed park reaches";
    // While the camera glides nothing is noticed; once it rests the notice follows within a second.
    events.busy = true;
    for (int ms = 0; ms < 1100; ms += 10)
        storage->update();
    EXPECT_TRUE(events.named(L"notice ").empty());
    events.busy = false;
    for (int ms = 0; ms < 1100; ms += 10)
        storage->update();
    EXPECT_FALSE(events.named(L"notice " + reachable->mName).empty());
    EXPECT_EQ(reachable->mDone, 1);
}

TEST_F(RulesTellTheScreens, ASavedGameHandsOverTheTutorialFiguresAndWalkers)
{
    TempDir dir;
    events.tutorial.step = 4;
    events.tutorial.pointerTarget = 2;
    events.tutorial.petAccepted = 1;
    events.walkers = {0.5f, 12.25f};
    const TutorialProgress saved = events.tutorialProgress();
    const std::string path = dir.file("profile1.txt");
    ASSERT_TRUE(saveProfile(path, L"Ann", L"avatar1.png", 1, saved.step, saved.pointerTarget, saved.buildingBought,
                            saved.petAccepted, saved.foodBought));

    events.log.clear();
    events.figures.clear();
    DataProfile profile(path);
    testing::internal::CaptureStdout();
    loadProfile(&profile, 0);
    testing::internal::GetCapturedStdout();
    // The fresh data first, then the view starts afresh, the progress and the park come back.
    const std::vector<std::wstring> expected = {L"camera renewed",
                                                L"visitors reloaded",
                                                L"notices cleared",
                                                L"walkers cleared",
                                                L"tutorial 4 2 010",
                                                L"figure dog helper_pies1 0 chodzenie",
                                                L"walker 0.500000",
                                                L"walker 12.250000",
                                                L"cars"};
    std::vector<std::wstring> after;
    auto renewed = std::find(events.log.begin(), events.log.end(), L"camera renewed");
    ASSERT_NE(renewed, events.log.end());
    std::copy_if(renewed, events.log.end(), std::back_inserter(after),
                 [](const std::wstring& line) { return line.compare(0, 7, L"effect ") != 0 && line != L"offers"; });
    EXPECT_EQ(after, expected);
    EXPECT_EQ(profile.mName, L"Ann");
    ASSERT_EQ(storage->mParkAnimals.size(), 1u);
    EXPECT_EQ(storage->mParkAnimals[0]->placeNumber(), 1);
}

// A notice pays its achievement's reward when the player opens it: one still waiting when the
// park is saved comes back with the saved park, once, and only for an achievement reached.
TEST_F(RulesTellTheScreens, NoticesNotYetOpenedComeBackWithTheSavedGameOnceEach)
{
    ASSERT_GE(storage->mAchievements.size(), 3u);
    DataAchievement* opened = storage->mAchievements[0];
    DataAchievement* waiting = storage->mAchievements[1];
    const std::wstring unreached = storage->mAchievements[2]->mName;
    opened->mDone = 1;
    waiting->mDone = 1;
    events.waiting = {waiting};
    TempDir dir;
    const std::string path = dir.file("profile1.txt");
    ASSERT_TRUE(saveProfile(path, L"Ann", L"avatar1.png", 0, 17, -1, 1, 1, 1));
    const std::string notice = "[achievement notice]\n" + wideToString(waiting->mName) + "\n";
    std::string text = dir.read("profile1.txt");
    ASSERT_NE(text.find(notice), std::string::npos) << text;
    EXPECT_EQ(text.find("[achievement notice]\n" + wideToString(opened->mName)), std::string::npos);
    // A file naming the notice twice, and a notice of an achievement not reached.
    text += "\n" + notice + "\n[achievement notice]\n" + wideToString(unreached) + "\n";
    dir.write("profile1.txt", text);

    events.waiting.clear();
    events.log.clear();
    DataProfile profile(path);
    testing::internal::CaptureStdout();
    loadProfile(&profile, 0);
    testing::internal::GetCapturedStdout();
    const std::vector<std::wstring>& log = events.log;
    const auto cleared = std::find(log.begin(), log.end(), L"notices cleared");
    const auto noticed = std::find(log.begin(), log.end(), L"notice " + waiting->mName);
    ASSERT_NE(noticed, log.end());
    EXPECT_LT(cleared, noticed) << "the notice comes back after the old ones were dropped";
    EXPECT_EQ(events.named(L"notice "), std::vector<std::wstring>{L"notice " + waiting->mName});
    EXPECT_TRUE(profile.mDamagedCopy.empty()) << "the notices are part of a sound file";
}

// ---- the park's money: each action pays or earns, books its row and counts it

using ParkMoney = RulesTellTheScreens;

TEST_F(ParkMoney, RepairsAndCleaningsAreChargedUnlessTheParkHasTheService)
{
    DataBuilding* home = storage->findParkBuilding("DogHouse1.txt");
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(storage->findParkBuilding("data/game/Buildings/DogHouse1.txt"), nullptr);
    EXPECT_EQ(storage->findParkBuilding("doghouse1.txt"), nullptr);
    CashAccount* account = settings->mCashAccount;
    const int cash = account->mCash;
    const size_t amounts = account->mAmounts.size();
    home->orderRepair();  // nothing to repair: counted, nothing paid
    home->mCondition = 2;
    EXPECT_EQ(home->repairCost(), 5 * settings->mBuildingRepairCostPerPart);
    home->orderRepair();
    home->orderCleaning();
    home->orderCleaning();
    EXPECT_EQ(account->mCash, cash - home->repairCost() - 2 * settings->mBuildingCleanCost);
    EXPECT_EQ(storage->mBalanceThisMonth->mValues[t_BuildingsRepairs], -home->repairCost());
    EXPECT_EQ(storage->mStatThisMonth->mValues[t_BuildingsRepairs], 2);
    EXPECT_EQ(storage->mBalanceThisMonth->mValues[t_Other], -2 * settings->mBuildingCleanCost);
    EXPECT_EQ(storage->mStatThisMonth->mValues[t_Other], 0) << "cleanings are not counted";
    EXPECT_EQ(account->mAmounts.size(), amounts + 3) << "one floating amount per payment";
    // The cleaning service and the workshop make both free.
    for (DataBuilding* building : storage->mBuildingDefinitions)
        if (building->hasFileName("OtherBuilding1.txt") || building->hasFileName("OtherBuilding2.txt"))
            storage->mParkBuildings.push_back(building);
    const int paid = account->mCash;
    home->mCleaning = home->mRepairing = 0;
    home->mCleanness = 3;
    storage->cleanAll();
    storage->repairAll();
    EXPECT_EQ(home->mCleaning + home->mRepairing, 2);
    EXPECT_EQ(account->mCash, paid);
    // The month's end: the buildings' upkeep paid into the closing month, the records roll over.
    int upkeep = 0;
    for (const DataBuilding* building : storage->mParkBuildings)
        upkeep += building->mMaintenance;
    storage->closeMonth();
    EXPECT_EQ(account->mCash, paid - upkeep);
    EXPECT_EQ(storage->mBalanceLastMonth->mValues[t_BuildingsMaintenance], -upkeep);
    EXPECT_EQ(storage->mStatLastMonth->mValues[t_BuildingsMaintenance], 0);
    EXPECT_EQ(storage->mStatLastMonth->mValues[t_BuildingsRepairs], 2);
    EXPECT_EQ(storage->mBalanceThisMonth->total() + storage->mStatThisMonth->total(), 0);
}

TEST_F(ParkMoney, PromotionsAndRewards)
{
    CashAccount* account = settings->mCashAccount;
    ASSERT_GE(storage->mPromotions.size(), 2u);
    Promotion* second = storage->mPromotions[1];
    account->mCash = second->mCost;
    EXPECT_FALSE(storage->startPromotion(0));
    EXPECT_TRUE(storage->startPromotion(2));
    EXPECT_EQ(settings->mActivePromotion, 2);
    EXPECT_EQ(second->mDaysLeft, second->mDuration);
    EXPECT_EQ(account->mCash, 0);
    EXPECT_EQ(storage->mBalanceThisMonth->mValues[t_ParkPromotion], -second->mCost);
    EXPECT_EQ(storage->mStatThisMonth->mValues[t_ParkPromotion], 1);
    account->mCash = 1000000;
    EXPECT_FALSE(storage->startPromotion(1)) << "one promotion at a time";
    DataAchievement* achievement = storage->mAchievements[0];
    achievement->giveReward();
    EXPECT_EQ(account->mCash, 1000000 + achievement->mReward);
    EXPECT_EQ(storage->mStatThisMonth->mValues[t_Other], 1);
}

TEST_F(ParkMoney, ActionsTheParkCannotPayOrPlaceChangeNothing)
{
    CashAccount* account = settings->mCashAccount;
    const int total = storage->mBalanceThisMonth->total();
    // A guest is taken in only while a home of its kind is free, a building only when paid.
    storage->generateAnimalsForSale();
    DataAnimal* offer = *std::find_if(storage->mAnimalsForSale.begin(), storage->mAnimalsForSale.end(),
                                      [](const DataAnimal* animal) { return animal->mType == L"dog"; });
    EXPECT_EQ(storage->hostAnimal(offer), nullptr);
    DataBuilding* villa = storage->buildingDefinitionsOfKind(L"dog")[1];
    account->mCash = villa->mCost - 1;
    EXPECT_FALSE(storage->buyBuilding(villa));
    const DataFood* food = storage->mFoods[0];
    account->mCash = food->mCost - 1;
    EXPECT_FALSE(storage->buyFood(food));
    account->mCash = food->mCost;
    settings->mFoodStored = storage->foodStoreCapacity() - food->mFood + 1;
    EXPECT_FALSE(storage->buyFood(food));
    EXPECT_EQ(storage->mBalanceThisMonth->total(), total);
    account->mCash = villa->mCost;
    EXPECT_TRUE(storage->buyBuilding(villa));
    ASSERT_NE(storage->hostAnimal(offer), nullptr);
    EXPECT_EQ(account->mCash, offer->mAccommodationFee);
    EXPECT_EQ(std::count(storage->mAnimalsForSale.begin(), storage->mAnimalsForSale.end(), offer), 0);
}

TEST(RulesOnTheirOwn, WithoutScreensTheRulesRunSilently)
{
    installParkEvents(nullptr);
    ParkEvents& silent = parkEvents();
    EXPECT_EQ(silent.cashLabel(), nullptr);
    EXPECT_EQ(silent.visitorCount(), 0);
    EXPECT_FALSE(silent.cameraBusy());
    EXPECT_EQ(silent.makeAnimalFigure(L"dog", "helper_pies1", 0, 0, L"chodzenie"), nullptr);
    EXPECT_EQ(silent.makeSlideCamera(L"a", L"b", 1, L"1", L"c"), nullptr);
    RecordingEvents events;
    installParkEvents(&events);
    EXPECT_EQ(&parkEvents(), &events);
    installParkEvents(nullptr);
    EXPECT_EQ(&parkEvents(), &silent);
}

} // namespace

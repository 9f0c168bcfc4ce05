// The shipped park economy played by a scripted player over two game years: a new park grows
// through every building in about two years, an idle park does not, and the player's choices
// (prices, what to build first) change the outcome. A newcomer who only does what the tutorial
// and the park's markers ask is not driven into debt in the first months, and one who follows the
// tutorial through half a year grows.

#include "fixtures/ScriptedPlayer.h"
#include "park/GameBackground3D.h"
#include "park/GameCamera.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

using economy::Outcome;
using economy::Player;
using economy::Strategy;

// A newcomer plays as the tutorial teaches: it buys the one building the tutorial points at, looks
// at the offers now and then and, once the tutorial has come to the food (after the first guest),
// looks at its pets now and then: feeds those whose hungry marker shows (hunger 3 or below),
// treats those whose unwell marker shows (health 6 or below), buys the plain food when the store
// runs low, and cleans and repairs what has become dirty or worn. Nothing else: no further
// building, no promotion, no loan.
class Newcomer {
public:
    struct Result {
        int minCash = 0;
        int daysInDebt = 0;
        int finalCash = 0;
        int vetVisits = 0;  // pets the vet took in at the player's cost
    };

    Newcomer(int offerCheckEvery, int careEvery) : mOfferCheckEvery(offerCheckEvery), mCareEvery(careEvery) {}

    Result play(unsigned seed, int days)
    {
        // The park as the scripted player starts it: the shipped data, the visitors' file.
        Strategy plain{"newcomer"};
        plain.build = false;
        plain.promotions = false;
        Player(plain).start(seed);
        storage = Singleton<DataStorage>::get();
        settings = storage->mGlobalSettings;
        account = settings->mCashAccount;
        Result result;
        result.minCash = account->mCash;
        int foodDay = -1;
        for (int day = 0; day < days; ++day) {
            Singleton<MenuDateBar>::get()->modal = 0;
            Singleton<PublicManager>::get()->update();
            // The tutorial's steps take the player's time: about a week to the building, two to
            // the first guest, two days more to the food.
            if (day == 7)
                buy("DogHouse2.txt");
            if (day >= 14 && (day - 14) % mOfferCheckEvery == 0 && takeGuests() > 0 && foodDay < 0)
                foodDay = day + 2;
            if (foodDay >= 0 && day >= foodDay && (day - foodDay) % mCareEvery == 0)
                care();
            // During the day's rules only the vet's visits change this month's other costs.
            const int month = settings->mDate->mMonth;
            const int before = storage->mBalanceThisMonth->mValues[t_Other];
            storage->newDay();
            const int after = storage->mBalanceThisMonth->mValues[t_Other];
            const int charged = settings->mDate->mMonth == month ? before - after : -after;
            result.vetVisits += charged / std::max(1, settings->mAnimalTakenAwayCost);
            result.minCash = std::min(result.minCash, account->mCash);
            result.daysInDebt += account->mCash < 0;
        }
        result.finalCash = account->mCash - account->mLoan;
        return result;
    }

private:
    void book(int word, int amount)
    {
        account->addCash(amount);
        storage->mBalanceThisMonth->mValues[word] += amount;
        storage->mStatThisMonth->mValues[word] += 1;
    }

    void buy(const std::string& file)
    {
        for (DataBuilding* building : storage->mBuildingDefinitions)
            if (building->fileName() == file && account->mCash >= building->mCost) {
                book(t_NewBuildings, -building->mCost);
                storage->mParkBuildings.push_back(building);
            }
    }

    // Every offer for which a home of its kind stands free; returns how many came.
    int takeGuests()
    {
        std::map<std::wstring, size_t> homes, guests;
        for (DataBuilding* building : storage->mParkBuildings)
            ++homes[building->mType];
        for (DataAnimal* animal : storage->mParkAnimals)
            ++guests[animal->mType];
        int taken = 0;
        for (size_t i = 0; i < storage->mAnimalsForSale.size();) {
            DataAnimal* offer = storage->mAnimalsForSale[i];
            DataAnimal* animal = guests[offer->mType] < homes[offer->mType] ? DataAnimal::placeInPark(offer) : nullptr;
            if (!animal) {
                ++i;
                continue;
            }
            book(t_PetsHosted, offer->mAccommodationFee);
            storage->mParkAnimals.push_back(animal);
            ++guests[offer->mType];
            ++taken;
            storage->retire(offer);
            storage->mAnimalsForSale.erase(storage->mAnimalsForSale.begin() + i);
        }
        return taken;
    }

    void care()
    {
        DataFood* plainFood = storage->mFoods[0];
        if (settings->mFoodStored < 10 && account->mCash >= plainFood->mCost) {
            book(t_PetsFood, -plainFood->mCost);
            settings->mFoodStored += plainFood->mFood;
        }
        for (DataAnimal* animal : storage->mParkAnimals) {
            if (animal->mHunger <= 3)
                while (animal->mHunger < 7 && settings->mFoodStored > 0)
                    animal->feed();
            if (animal->mHealth <= 6 && account->mCash >= settings->mAnimalTreatCost) {
                book(t_PetsMedicalCare, -(settings->mAnimalTreatCost * (7 - animal->mHealth) / 7));
                animal->cure();
            }
        }
        for (DataBuilding* building : storage->mParkBuildings) {
            if (building->mCleanness <= 3 && !building->mCleaning && account->mCash > 0)
                building->orderCleaning();
            if (building->mCondition <= 3 && !building->mRepairing && account->mCash > 0)
                building->orderRepair();
        }
    }

    int mOfferCheckEvery;
    int mCareEvery;
    DataStorage* storage = nullptr;
    GlobalSettings* settings = nullptr;
    CashAccount* account = nullptr;
};

class Economy : public testing::Test {
protected:
    void SetUp() override
    {
        mOldDir = std::filesystem::current_path();
        std::filesystem::current_path(PETPARK_SOURCE_DIR);
        // The park view's camera, which the day's rules reset when a guest leaves.
        GameBackground3D* park = Singleton<GameBackground3D>::get();
        if (!park->mCamera)
            park->mCamera = new GameCamera();
    }
    void TearDown() override { std::filesystem::current_path(mOldDir); }

    static std::vector<Outcome> playSeeds(const Strategy& strategy, int days, int seeds = 6)
    {
        std::vector<Outcome> outcomes;
        for (int seed = 1; seed <= seeds; ++seed) {
            Outcome o = Player(strategy).play(seed * 7919u, days);
            std::printf("%-16s seed %d: complete %4d  buildings %2d  horse %4d  dino %4d  min cash %6d  debt days "
                        "%3d  final %7d  best place %d  achievements %d\n",
                        strategy.name, seed, o.daysToComplete, o.buildings, o.firstHorse, o.firstDino, o.minCash,
                        o.daysInDebt, o.finalCash, o.bestPlace, o.achievements);
            outcomes.push_back(o);
        }
        return outcomes;
    }

private:
    std::filesystem::path mOldDir;
};

const int kTwoYears = 730;

TEST_F(Economy, ACaringPlayerCompletesTheParkInAboutTwoYears)
{
    Strategy strategy{"caring"};
    for (const Outcome& o : playSeeds(strategy, kTwoYears + 180, 4)) {
        ASSERT_GT(o.daysToComplete, 0) << "the park was never completed";
        EXPECT_GT(o.daysToComplete, kTwoYears * 4 / 5);
        EXPECT_LT(o.daysToComplete, kTwoYears * 6 / 5);
        // The species open up step by step.
        EXPECT_GT(o.firstHorse, 60);
        EXPECT_GT(o.firstDino, o.firstHorse + 180);
        EXPECT_EQ(o.bestPlace, 1);
        EXPECT_EQ(o.daysInDebt, 0);
    }
}

TEST_F(Economy, ANewcomerWhoDoesWhatTheParkAsksStaysOutOfDebtInTheFirstMonths)
{
    // Looking at the offers every third day and at the pets every fifth.
    for (unsigned seed = 1; seed <= 12; ++seed) {
        const Newcomer::Result r = Newcomer(3, 5).play(seed * 7919u, 180);
        std::printf("newcomer seed %u: min cash %6d  debt days %3d  final %7d  vet visits %d\n", seed, r.minCash,
                    r.daysInDebt, r.finalCash, r.vetVisits);
        EXPECT_EQ(r.daysInDebt, 0);
        EXPECT_GT(r.minCash, 2000);
        // A pet looked after when its marker asks never has to be taken in by the vet.
        EXPECT_EQ(r.vetVisits, 0);
        // Two homes' guests pay for their food, care and upkeep.
        EXPECT_GT(r.finalCash, 12000 - 3400);
    }
}

// Over half a year with the shipped prices: a newcomer who does what the tutorial teaches (feeds
// a guest whose hunger bar is below half, treats one whose health bar is, buys the Dog Villa and
// then a home for each new kind as the cash allows, takes no loan) ends richer than it started
// with guests of four kinds; one who looks at its pets only every fourth day and gives each a
// single portion never loses the park. A vet visit costs less than most stays earn.
TEST_F(Economy, ATutorialNewcomerGrowsAndACarelessOneKeepsThePark)
{
    Strategy tutorial{"tutorial"};
    tutorial.accommodationPrice = 0;
    tutorial.homesOnly = true;
    tutorial.promotions = false;
    tutorial.loans = false;
    tutorial.feedBelow = 4;
    tutorial.treatBelow = 4;
    tutorial.offersEvery = 3;
    Strategy careless = tutorial;
    careless.name = "careless";
    careless.careEvery = 4;
    careless.feedBelow = 7;
    careless.portions = 1;
    const int seeds = 12, days = 180;
    int grown = 0;
    std::vector<int> fees;
    for (int seed = 1; seed <= seeds; ++seed) {
        Outcome o = Player(tutorial).play(seed * 7919u, days);
        std::printf("tutorial seed %2d: final %6d  min cash %6d  homes %d  horse %3d  kinds %d  vet visits %d\n",
                    seed, o.finalCash, o.minCash, o.buildings, o.firstHorse, o.kinds, o.vetVisits);
        grown += o.finalCash > 12000 && o.kinds >= 4;
        EXPECT_EQ(o.daysInDebt, 0);
        fees.insert(fees.end(), o.fees.begin(), o.fees.end());
    }
    EXPECT_GE(grown, seeds - 2);
    GlobalSettings* settings = Singleton<DataStorage>::get()->mGlobalSettings;
    for (int seed = 1; seed <= seeds; ++seed) {
        Outcome o = Player(careless).play(seed * 7919u, days);
        std::printf("careless seed %2d: final %6d  min cash %6d  homes %d  kinds %d  vet visits %d  longest debt %d\n",
                    seed, o.finalCash, o.minCash, o.buildings, o.kinds, o.vetVisits, o.longestDebt);
        EXPECT_LE(o.longestDebt, settings->mDaysToGameOver) << "game over";
    }
    ASSERT_FALSE(fees.empty());
    std::nth_element(fees.begin(), fees.begin() + fees.size() / 2, fees.end());
    std::printf("median stay fee %d, vet visit %d\n", fees[fees.size() / 2], settings->mAnimalTakenAwayCost);
    EXPECT_LT(settings->mAnimalTakenAwayCost, fees[fees.size() / 2]);
}

TEST_F(Economy, AnIdleParkDoesNotGrowAndNeglectCosts)
{
    Strategy idle{"idle"};
    idle.build = false;
    idle.promotions = false;
    Strategy neglect{"neglectful"};
    neglect.careForAnimals = false;
    neglect.build = false;
    neglect.promotions = false;
    std::vector<Outcome> idleOutcomes = playSeeds(idle, 365, 2);
    std::vector<Outcome> neglectOutcomes = playSeeds(neglect, 365, 2);
    for (size_t i = 0; i < idleOutcomes.size(); ++i) {
        EXPECT_EQ(idleOutcomes[i].buildings, 1);
        // One kennel earns little more than its upkeep in a year.
        EXPECT_LT(idleOutcomes[i].finalCash, 12000 + 10000);
        // Hungry and ill guests are taken to the vet at the player's cost.
        EXPECT_LT(neglectOutcomes[i].finalCash, idleOutcomes[i].finalCash);
    }
}

TEST_F(Economy, PricesAndOrderAreRealChoices)
{
    Strategy cheap{"cheap stays"};
    cheap.accommodationPrice = 20;
    Strategy dear{"dear stays"};
    dear.accommodationPrice = 40;
    Strategy adaptive{"adaptive price"};
    adaptive.adaptivePrice = true;
    Strategy services{"services first"};
    services.servicesFirst = true;
    Strategy normal{"caring"};
    const int days = kTwoYears;
    auto dayOr = [days](int day) { return day < 0 ? days : day; };
    std::vector<Outcome> cheapOutcomes = playSeeds(cheap, days, 2);
    std::vector<Outcome> dearOutcomes = playSeeds(dear, days, 2);
    std::vector<Outcome> adaptiveOutcomes = playSeeds(adaptive, days, 2);
    for (size_t i = 0; i < dearOutcomes.size(); ++i) {
        // Dear stays pay early (the dino comes sooner) ...
        EXPECT_LT(dearOutcomes[i].firstDino, dayOr(cheapOutcomes[i].firstDino));
        // ... but keep visitors away once the park is popular: lowering the price then wins.
        ASSERT_GT(adaptiveOutcomes[i].daysToComplete, 0);
        EXPECT_LT(adaptiveOutcomes[i].daysToComplete, dayOr(dearOutcomes[i].daysToComplete));
        EXPECT_GT(adaptiveOutcomes[i].daysToComplete, kTwoYears * 2 / 3);
    }
    // Services built before the park draws visitors do not pay back: the park grows slower.
    std::vector<Outcome> servicesOutcomes = playSeeds(services, 300, 2);
    std::vector<Outcome> normalOutcomes = playSeeds(normal, 300, 2);
    for (size_t i = 0; i < servicesOutcomes.size(); ++i)
        EXPECT_GT(dayOr(servicesOutcomes[i].firstHorse), normalOutcomes[i].firstHorse);
}

} // namespace

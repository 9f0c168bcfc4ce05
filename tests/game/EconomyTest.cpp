// The shipped park economy played by a scripted player over two game years: a new park grows
// through every building in about two years, an idle park does not, and the player's choices
// (prices, what to build first) change the outcome.

#include "game/CashAccount.h"
#include "game/DataAchievement.h"
#include "game/DataAnimal.h"
#include "game/DataBuilding.h"
#include "game/DataFood.h"
#include "game/DataRankingPark.h"
#include "game/DataStorage.h"
#include "game/GameDate.h"
#include "game/GlobalSettings.h"
#include "game/MonthBalance.h"
#include "game/Promotion.h"
#include "park/PublicManager.h"
#include "source_menu/MenuDateBar.h"
#include "source_menu/MenuRanking.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <map>
#include <numeric>

namespace {

// How the scripted player plays.
struct Strategy {
    const char* name;
    int accommodationPrice = 30;  // one of the presets
    bool careForAnimals = true;   // feeds, treats, cleans and repairs
    bool build = true;            // buys buildings when it can afford them
    bool servicesFirst = false;   // prefers the restaurant, hotel and car parks over enclosures
    bool promotions = true;
    bool adaptivePrice = false;   // sets the stay price that earns most at the park's popularity
    int reserve = 1500;           // cash kept back when building
};

struct Outcome {
    int daysToComplete = -1;      // all buildings standing
    int buildings = 0;
    int minCash = 0;
    int daysInDebt = 0;
    int finalCash = 0;
    int bestPlace = 99;
    int achievements = 0;
    int firstHorse = -1;
    int firstDino = -1;
};

// Parking place numbers 1..n.
std::vector<int> places(int n)
{
    std::vector<int> list(static_cast<size_t>(n));
    std::iota(list.begin(), list.end(), 1);
    return list;
}

class Player {
public:
    explicit Player(const Strategy& strategy) : mStrategy(strategy) {}

    Outcome play(unsigned seed, int days)
    {
        std::srand(seed);
        storage = Singleton<DataStorage>::get();
        storage->mCurrentProfile = -1;
        loadGameData(storage, "data/game/");
        settings = storage->mGlobalSettings;
        account = settings->mCashAccount;
        PublicManager* visitors = Singleton<PublicManager>::get();
        // The park view's visitor file: up to 100 walkers, 6, 14 and 24 parking places.
        visitors->mWalkingPeopleMax = 100;
        visitors->mParkingPlaces = {places(6), places(14), places(24)};
        Singleton<MenuRanking>::get()->mPlayerPlace = 99;
        settings->mAccommodationTicketPrice = mStrategy.accommodationPrice;
        storage->generateAnimalsForSale();

        Outcome outcome;
        outcome.minCash = account->mCash;
        for (int day = 0; day < days; ++day) {
            if (mStrategy.adaptivePrice)
                choosePrice();
            // The player answers the messages of the day before at once (a popup holds the
            // visitors), so the clock runs on.
            Singleton<MenuDateBar>::get()->modal = 0;
            visitors->update();
            rankPark();
            if (mStrategy.careForAnimals)
                care();
            acceptGuests();
            collectAchievements(outcome);
            if (mStrategy.build)
                buildSomething();
            if (mStrategy.promotions)
                promote();
            bank();
            int monthBefore = settings->mDate->mMonth;
            storage->newDay();
            // ECON_TRACE=1 prints last month's records at every month change (for tuning the data).
            if (getenv("ECON_TRACE") && settings->mDate->mMonth != monthBefore) {
                MonthBalance* m = storage->mBalanceLastMonth;
                std::printf("  day %3d cash %6d loan %5d pop %3d attr %.3f V %2d animals %2zu bld %2zu place %d | "
                            "build %6d maint %5d rep %4d hosted %5d food %5d med %4d rest %5d hotel %5d tick %4d "
                            "promo %5d other %5d total %6d\n",
                            day, account->mCash, account->mLoan, storage->mPopularity, storage->mAttraction,
                            visitors->mVisitors, storage->mParkAnimals.size(), storage->mParkBuildings.size(),
                            Singleton<MenuRanking>::get()->mPlayerPlace, m->mValues[0], m->mValues[1], m->mValues[2],
                            m->mValues[4], m->mValues[5], m->mValues[6], m->mValues[8], m->mValues[9], m->mValues[10],
                            m->mValues[12], m->mValues[13], m->total());
            }

            outcome.minCash = std::min(outcome.minCash, account->mCash);
            outcome.daysInDebt += account->mCash < 0;
            outcome.bestPlace = std::min(outcome.bestPlace, Singleton<MenuRanking>::get()->mPlayerPlace);
            if (outcome.firstHorse < 0 && storage->findParkBuilding("HorseHouse1.txt"))
                outcome.firstHorse = day;
            if (outcome.firstDino < 0 && storage->findParkBuilding("DinoHouse1.txt"))
                outcome.firstDino = day;
            if (outcome.daysToComplete < 0 && storage->mParkBuildings.size() == storage->mBuildingDefinitions.size())
                outcome.daysToComplete = day;
        }
        outcome.buildings = static_cast<int>(storage->mParkBuildings.size());
        outcome.finalCash = account->mCash - account->mLoan;
        return outcome;
    }

private:
    // The ranking as the ranking screen builds it every day, with a profile current.
    void rankPark()
    {
        float t = (settings->mDate->mStartYear * 12 + settings->mDate->mMonth) * 0.2f;
        int better = 0;
        storage->computePopularity();
        for (auto* rival : settings->mRankingParks) {
            rival->update(t);
            better += rival->mPopularity > storage->mPopularity;
        }
        Singleton<MenuRanking>::get()->mPlayerPlace = better + 1;
    }

    // The stay price that earns most today: the guests' fees against the visitors the price
    // keeps away (about 11 coins a visitor a day with the restaurant and the hotel).
    void choosePrice()
    {
        const ScrollValues& values = settings->mScrollValues[L"AccomodationTicket"];
        int best = settings->mAccommodationTicketPrice;
        float bestIncome = -1.0f;
        float guests = static_cast<float>(storage->mParkAnimals.size());
        for (int price : values.mPresets) {
            settings->mAccommodationTicketPrice = price;
            float visitors = storage->computePopularity() * 100.0f;
            float perVisitor = (storage->hasRestaurant() ? 4.5f : 0.0f) + (storage->hasHotel() ? 5.5f : 0.0f) + 1.0f;
            float income = guests * price + visitors * perVisitor;
            if (income > bestIncome) {
                bestIncome = income;
                best = price;
            }
        }
        settings->mAccommodationTicketPrice = best;
    }

    void book(int word, int amount)
    {
        account->addCash(amount);
        storage->mBalanceThisMonth->mValues[word] += amount;
        storage->mStatThisMonth->mValues[word] += 1;
    }

    void care()
    {
        // Food: keep the store filled with the best food that fits.
        int capacity = storage->foodStoreCapacity();
        for (int i = 2; i >= 0; --i) {
            DataFood* food = storage->mFoods[i];
            while (settings->mFoodStored < capacity / 3 && settings->mFoodStored + food->mFood <= capacity &&
                   account->mCash >= food->mCost + 300 && storage->checkRequirements(food->mRequirements)) {
                book(t_PetsFood, -food->mCost);
                settings->mFoodStored += food->mFood;
            }
        }
        for (DataAnimal* animal : storage->mParkAnimals) {
            while (animal->mHunger < 6 && settings->mFoodStored > 0)
                animal->feed();
            if (animal->mSick && animal->mHealth < 6) {
                int cost = storage->hasVet() ? 0 : settings->mAnimalTreatCost * (7 - animal->mHealth) / 7;
                if (cost == 0 || account->mCash >= settings->mAnimalTreatCost + 500) {
                    animal->cure();
                    book(t_PetsMedicalCare, -cost);
                }
            }
        }
        for (DataBuilding* building : storage->mParkBuildings) {
            if (building->mCleanness <= 4 && !building->mCleaning && account->mCash > 500)
                building->orderCleaning();
            if (building->mCondition <= 4 && !building->mRepairing && account->mCash > 1000)
                building->orderRepair();
        }
    }

    // Takes every offer for which a building of its kind stands free.
    void acceptGuests()
    {
        std::map<std::wstring, size_t> homes, guests;
        for (DataBuilding* building : storage->mParkBuildings)
            ++homes[building->mType];
        for (DataAnimal* animal : storage->mParkAnimals)
            ++guests[animal->mType];
        for (size_t i = 0; i < storage->mAnimalsForSale.size();) {
            DataAnimal* offer = storage->mAnimalsForSale[i];
            if (guests[offer->mType] < homes[offer->mType]) {
                DataAnimal* animal = DataAnimal::placeInPark(offer);
                ASSERT_NE(animal, nullptr);
                book(t_PetsHosted, offer->mAccommodationFee);
                storage->mParkAnimals.push_back(animal);
                ++guests[offer->mType];
                storage->retire(offer);
                storage->mAnimalsForSale.erase(storage->mAnimalsForSale.begin() + i);
            } else {
                ++i;
            }
        }
    }

    void collectAchievements(Outcome& outcome)
    {
        for (DataAchievement* achievement : storage->mAchievements)
            if (!achievement->mDone && storage->checkRequirements(achievement->mRequirements)) {
                achievement->mDone = 1;
                achievement->giveReward();
                ++outcome.achievements;
            }
    }

    // Buys the most useful building it can afford: a first home for a species, then the
    // services, then the cheapest. Requirements are checked best first, as far as needed.
    void buildSomething()
    {
        int budget = account->mCash - account->mLoan - mStrategy.reserve;
        for (DataBuilding* building : storage->mParkBuildings)
            budget -= building->mMaintenance;
        std::vector<std::pair<int, DataBuilding*>> candidates;
        int cheapest = std::numeric_limits<int>::max();
        for (DataBuilding* building : storage->mBuildingDefinitions) {
            if (storage->findParkBuilding(building->fileName()))
                continue;
            bool service = building->mType == L"other";
            int score = 1000000 - building->mCost;
            if (!service && building->mLevelNum == 1)
                score += 200000;
            if (service == mStrategy.servicesFirst)
                score += 100000;
            candidates.emplace_back(score, building);
            cheapest = std::min(cheapest, building->mCost);
        }
        if (budget < cheapest)
            return;
        std::stable_sort(candidates.begin(), candidates.end(),
                         [](const auto& a, const auto& b) { return a.first > b.first; });
        for (const auto& candidate : candidates) {
            DataBuilding* best = candidate.second;
            if (!storage->checkRequirements(best->mRequirements))
                continue;
            if (budget >= best->mCost) {
                book(t_NewBuildings, -best->mCost);
                storage->mParkBuildings.push_back(best);
            }
            return;
        }
    }

    void promote()
    {
        if (settings->mActivePromotion != -1)
            return;
        for (int i = std::min<int>(3, storage->mPromotions.size()) - 1; i >= 0; --i) {
            Promotion* promotion = storage->mPromotions[i];
            if (account->mCash > promotion->mCost * 4 + 5000) {
                settings->mActivePromotion = i + 1;
                promotion->buy();
                return;
            }
        }
    }

    // Borrows when the cash runs out and repays when it can.
    void bank()
    {
        if (account->mCash < 0 && account->mLoan == 0) {
            int amount = std::min(25000, -account->mCash + 3000);
            account->addCash(amount);
            account->mLoan += static_cast<int>(amount * 1.2);
        } else if (account->mLoan > 0 && account->mCash > account->mLoan + 8000) {
            int repay = account->mLoan;
            account->addCash(-repay);
            account->mLoan -= repay;
        }
    }

    Strategy mStrategy;
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

// The shipped park economy played by a scripted player over two game years: a new park grows
// through every building in about two years, an idle park does not, and the player's choices
// (prices, what to build first) change the outcome.

#include "fixtures/ScriptedPlayer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

using economy::Outcome;
using economy::Player;
using economy::Strategy;

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

// The whole game's logic at full speed, without a window: the shipped data played for ten game
// years by the economy tests' scripted player (buying, taking in, feeding, treating, promotions,
// loans), with every 10 ms logic step run back to back (the visitors' step and the rules' step,
// as the park view and the date bar run them). Reports microseconds per game day and per logic
// step, and at each year's end the cash, the loan, the buildings and the animals.
//
//   bench_simulate [--years N] [--seed S] [--strategy caring|adaptive|services]

#include "fixtures/HeadlessEngine.h"
#include "fixtures/ScriptedPlayer.h"

#include "game/ParkEvents.h"
#include "render/external/bg_loader.h"
#include "source_menu/ScreenParkEvents.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double microsecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    int years = 10;
    unsigned seed = 7919;
    economy::Strategy strategy{"caring"};
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--years" && i + 1 < argc)
            years = std::atoi(argv[++i]);
        else if (a == "--seed" && i + 1 < argc)
            seed = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        else if (a == "--strategy" && i + 1 < argc) {
            std::string name = argv[++i];
            if (name == "adaptive") {
                strategy.name = "adaptive price";
                strategy.adaptivePrice = true;
            } else if (name == "services") {
                strategy.name = "services first";
                strategy.servicesFirst = true;
            }
        }
    }
    if (years < 1)
        years = 1;

    std::filesystem::current_path(PETPARK_APP_DIR "/Resources");
    HeadlessEngine engine;  // the background loader's engine for the park's pictures
    // The visitors' day (their number and spending) belongs to the park view.
    installParkEvents(Singleton<ScreenParkEvents>::get());

    economy::Player player(strategy);
    player.start(seed);
    DataStorage* storage = Singleton<DataStorage>::get();
    GlobalSettings* settings = storage->mGlobalSettings;
    PublicManager* visitors = Singleton<PublicManager>::get();

    std::printf("bench_simulate: %d game years, seed %u, %s player, a game day every %d ms of logic\n", years, seed,
                strategy.name, settings->mGameSpeed);
    std::printf("%6s %10s %8s %10s %8s %12s %12s\n", "year", "cash", "loan", "buildings", "animals", "us/day",
                "us/step");

    const Clock::time_point whole = Clock::now();
    double logicUs = 0.0, playerUs = 0.0, yearUs = 0.0;
    long long steps = 0, yearSteps = 0;
    int days = 0, yearDays = 0;
    int year = settings->mDate->mYear;
    const int lastYear = year + years;
    while (settings->mDate->mYear < lastYear) {
        Clock::time_point start = Clock::now();
        player.act(false);
        playerUs += microsecondsSince(start);

        // Logic steps until the day has passed.
        const int daysBefore = settings->mDate->mDaysElapsed;
        start = Clock::now();
        while (settings->mDate->mDaysElapsed == daysBefore) {
            visitors->update();
            storage->update();
            ++yearSteps;
        }
        const double us = microsecondsSince(start);
        yearUs += us;
        ++yearDays;

        if (settings->mDate->mYear != year) {
            CashAccount* account = settings->mCashAccount;
            std::printf("%6d %10d %8d %10zu %8zu %12.1f %12.2f\n", year, account->mCash, account->mLoan,
                        storage->mParkBuildings.size(), storage->mParkAnimals.size(), yearUs / yearDays,
                        yearUs / yearSteps);
            std::fflush(stdout);
            year = settings->mDate->mYear;
            logicUs += yearUs;
            steps += yearSteps;
            days += yearDays;
            yearUs = 0.0;
            yearSteps = 0;
            yearDays = 0;
        }
    }
    std::printf("all: %d days, %lld logic steps: %.1f us per game day, %.2f us per logic step; the player %.1f us "
                "per day; %.2f s in all\n",
                days, steps, logicUs / days, logicUs / steps, playerUs / days, microsecondsSince(whole) / 1e6);
    bgLoader.shutdown();
    return 0;
}

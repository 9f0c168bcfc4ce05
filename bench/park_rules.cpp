// The park rules on a full park (15 guests, 17 buildings, a promotion running, 60 walkers):
// one 10 ms logic step of DataStorage::update, one game day with its autosave, and writing and
// reading the saved game. The day runs once per "[game speed]" of logic time, so its autosave
// must stay far below one frame.

#include "fixtures/HeadlessEngine.h"
#include "fixtures/TempDir.h"

#include "game/CashAccount.h"
#include "game/DataAnimal.h"
#include "game/DataBuilding.h"
#include "game/DataStorage.h"
#include "game/GlobalSettings.h"
#include "game/Profiles.h"
#include "game/Promotion.h"
#include "park/OnePerson.h"
#include "park/PublicManager.h"
#include "render/external/bg_loader.h"
#include "source_menu/ScreenParkEvents.h"
#include "source_menu/Tutorial.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace {

const char* const kProfile = "data/game/Profiles/profile1.txt";

// The shipped data copied into a temporary folder that becomes the working folder, so the
// autosave writes there.
class FullPark {
public:
    FullPark()
    {
        std::filesystem::copy(std::string(PETPARK_SOURCE_DIR) + "/data", mDir.file("data"),
                              std::filesystem::copy_options::recursive);
        std::filesystem::create_directories(mDir.file("data/game/Profiles"));
        // The visitors' paths and parking places, unless the park view's own file is there.
        if (!std::filesystem::exists(mDir.file("data/game/public.txt")))
            mDir.write("data/game/public.txt", "[walking people max]\n100\n\n[helper walking]\npath_a 300\n\n"
                                               "[helper walking]\npath_b 500\n\n[parking]\n1 2 3 4 5 6\n\n"
                                               "[parking]\n1 2 3 4 5 6 7 8 9 10 11 12 13 14\n\n"
                                               "[parking]\n1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20\n");
        std::filesystem::current_path(mDir.path());
        std::srand(1);
        storage = Singleton<DataStorage>::get();
        loadGameData(storage, "data/game/");
        build();
        ensureProfile();
    }

    // 15 enclosures and two services, a guest in every enclosure, a promotion, walkers.
    void build()
    {
        for (DataAnimal* animal : storage->mParkAnimals)
            storage->retire(animal);
        storage->mParkAnimals.clear();
        // A read saved game holds copies of the definitions.
        for (DataBuilding* building : storage->mParkBuildings)
            if (std::find(storage->mBuildingDefinitions.begin(), storage->mBuildingDefinitions.end(), building) ==
                storage->mBuildingDefinitions.end())
                storage->retire(building);
        storage->mParkBuildings.clear();
        for (DataBuilding* building : storage->mBuildingDefinitions)
            if (building->mType != L"other" || building->fileName() == "OtherVet.txt" ||
                building->fileName() == "OtherRestaurant.txt")
                storage->mParkBuildings.push_back(building);
        for (const wchar_t* species : {L"dog", L"cat", L"dino", L"rabbit", L"horse"})
            for (int i = 0; i < 3; ++i) {
                DataAnimal offer(L"Guest", species, 0.3f, 0.3f, i);
                DataAnimal* animal = DataAnimal::placeInPark(&offer);
                animal->mStayDays = 1000000; // stays for the whole measurement
                storage->mParkAnimals.push_back(animal);
            }
        GlobalSettings* settings = storage->mGlobalSettings;
        settings->mActivePromotion = 1;
        storage->mPromotions[0]->buy();
        storage->mPromotions[0]->mDaysLeft = 1000000;
        settings->mFoodStored = 1000000;
        settings->mCashAccount->mCash = 1000000;
        PublicManager* visitors = Singleton<PublicManager>::get();
        LoadPublicConfig(*visitors);
        for (int i = 0; i < 60; ++i) {
            OnePerson* walker = new OnePerson();
            visitors->spawnVisitorC1(walker, 0, L"path_a", 300.0f);
            walker->mProgress = i * 4.25f;
            visitors->mWalkers.push_back(walker);
        }
        generateOffersOnce();
    }

    void generateOffersOnce()
    {
        storage->computePopularity();
        storage->generateAnimalsForSale();
    }

    void ensureProfile()
    {
        if (storage->mProfiles.empty()) {
            DataProfile* profile = new DataProfile(kProfile);
            profile->mName = L"Bench";
            profile->mAvatarFile = L"avatar1.png";
            profile->mTutorial = 0;
            storage->mProfiles.push_back(profile);
        }
        storage->mCurrentProfile = 0;
    }

    void save()
    {
        DataProfile* profile = storage->mProfiles[0];
        Tutorial* tutorial = Singleton<Tutorial>::get();
        saveProfile(profile->mPath, profile->mName, profile->mAvatarFile, profile->mTutorial, tutorial->step,
                    tutorial->pointerTarget, tutorial->buildingBought, tutorial->petAccepted, tutorial->foodBought);
    }

    DataStorage* storage = nullptr;

private:
    TempDir mDir;
};

HeadlessEngine& engine()
{
    static HeadlessEngine headless;
    return headless;
}

FullPark& park()
{
    engine();
    static FullPark full;
    return full;
}

void BM_LogicStep(benchmark::State& state)
{
    FullPark& p = park();
    GlobalSettings* settings = p.storage->mGlobalSettings;
    int speed = settings->mGameSpeed;
    settings->mGameSpeed = 1 << 30; // no new day inside the measurement
    for (auto _ : state)
        p.storage->update();
    settings->mGameSpeed = speed;
    settings->mDayClock = 0;
}
BENCHMARK(BM_LogicStep);

void BM_NewDayWithAutosave(benchmark::State& state)
{
    FullPark& p = park();
    for (auto _ : state)
        p.storage->newDay();
    state.counters["animals"] = static_cast<double>(p.storage->mParkAnimals.size());
    state.counters["buildings"] = static_cast<double>(p.storage->mParkBuildings.size());
}
BENCHMARK(BM_NewDayWithAutosave)->Unit(benchmark::kMicrosecond);

void BM_SaveProfile(benchmark::State& state)
{
    FullPark& p = park();
    for (auto _ : state)
        p.save();
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(kProfile));
}
BENCHMARK(BM_SaveProfile)->Unit(benchmark::kMicrosecond);

void BM_LoadProfile(benchmark::State& state)
{
    FullPark& p = park();
    p.save();
    for (auto _ : state)
        loadProfile(p.storage->mProfiles[0], 0);
    state.counters["animals"] = static_cast<double>(p.storage->mParkAnimals.size());
    p.build();
}
BENCHMARK(BM_LoadProfile)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    installParkEvents(Singleton<ScreenParkEvents>::get());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    bgLoader.shutdown();
    return 0;
}

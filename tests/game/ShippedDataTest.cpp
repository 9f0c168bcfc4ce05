// The game data shipped in data/game/ loads and holds what the rules and screens rely on.

#include "game/CashAccount.h"
#include "game/DataAchievement.h"
#include "game/DataAnimal.h"
#include "game/DataBuilding.h"
#include "game/DataFood.h"
#include "game/DataStorage.h"
#include "game/GameDate.h"
#include "game/GlobalSettings.h"
#include "game/Promotion.h"
#include "park/SlideCamera.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/utils/misc.h"

#include <gtest/gtest.h>

#include <boost/lexical_cast.hpp>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace {

const wchar_t* const kSpecies[5] = {L"dog", L"cat", L"dino", L"rabbit", L"horse"};
const wchar_t* const kPlaceWords[5] = {L"pies", L"kot", L"dino", L"krolik", L"kon"};

// Loads the shipped data with the source folder as the working folder.
class ShippedData : public testing::Test {
protected:
    void SetUp() override
    {
        mOldDir = std::filesystem::current_path();
        std::filesystem::current_path(PETPARK_SOURCE_DIR);
        std::srand(3);
        testing::internal::CaptureStdout();
        storage = Singleton<DataStorage>::get();
        loadGameData(storage, "data/game/");
        mWarnings = testing::internal::GetCapturedStdout();
        settings = storage->mGlobalSettings;
    }
    void TearDown() override { std::filesystem::current_path(mOldDir); }

    DataStorage* storage = nullptr;
    GlobalSettings* settings = nullptr;
    std::string mWarnings;

private:
    std::filesystem::path mOldDir;
};

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Every term of a requirements string is a known code with numeric arguments, and every
// building it names exists.
void expectWellFormedRequirements(const std::wstring& requirements, const std::string& owner)
{
    ASSERT_FALSE(requirements.empty()) << owner;
    for (const std::wstring& term : splitWide(requirements, L"+")) {
        std::vector<std::wstring> f = splitWide(term, L":");
        const std::wstring& code = f[0];
        std::string where = owner + ": " + wideToString(term);
        size_t numberAt = 0;
        if (code == L"0" || code == L"all") {
            EXPECT_EQ(f.size(), 1u) << where;
            continue;
        } else if (code == L"b") {
            ASSERT_EQ(f.size(), 2u) << where;
            EXPECT_TRUE(std::filesystem::exists("data/game/Buildings/" + wideToString(f[1]))) << where;
            continue;
        } else if (code == L"pr" || code == L"$" || code == L"p" || code == L"tta" || code == L"ta$") {
            ASSERT_EQ(f.size(), 2u) << where;
            numberAt = 1;
        } else if (code == L"a" || code == L"tt" || code == L"t$") {
            ASSERT_EQ(f.size(), 3u) << where;
            EXPECT_NE(std::find(std::begin(kSpecies), std::end(kSpecies), f[1]), std::end(kSpecies)) << where;
            numberAt = 2;
        } else {
            ADD_FAILURE() << "unknown code in " << where;
            continue;
        }
        EXPECT_NO_THROW(boost::lexical_cast<int>(f[numberAt])) << where;
    }
}

TEST_F(ShippedData, LoadsWithoutWarnings)
{
    // (The loader thread may print its own lines meanwhile.)
    EXPECT_EQ(mWarnings.find("Warning"), std::string::npos) << mWarnings;
}

TEST_F(ShippedData, GlobalRulesAreComplete)
{
    const wchar_t* items[8] = {L"AccomodationTicket", L"TeachTrick", L"Dinner", L"Drinks",
                               L"Salads",             L"Salt",       L"Hotel",  L"CarTicket"};
    EXPECT_EQ(settings->mScrollValues.size(), 8u);
    for (const wchar_t* item : items) {
        ASSERT_EQ(settings->mScrollValues.count(item), 1u) << wideToString(item);
        const ScrollValues& values = settings->mScrollValues[item];
        EXPECT_NE(values.mReference, 0) << wideToString(item);
        for (int preset : values.mPresets) {
            EXPECT_GE(preset, 0);
            // Venue prices below their limit, ticket prices below their reference.
            if (std::wstring(item) != L"Salt")
                EXPECT_LT(preset, values.mReference) << wideToString(item);
            else
                EXPECT_LE(preset, 10);
        }
    }
    // The starting prices are among the presets.
    EXPECT_NE(std::count(std::begin(settings->mScrollValues[L"AccomodationTicket"].mPresets),
                         std::end(settings->mScrollValues[L"AccomodationTicket"].mPresets),
                         settings->mAccommodationTicketPrice),
              0);
    EXPECT_EQ(settings->mRankingParks.size(), 9u);
    EXPECT_EQ(settings->mActivePromotion, -1);
    EXPECT_GT(settings->mMaxPopularity, 0.0f);
    EXPECT_GT(settings->mGameSpeed, 0);
    EXPECT_GE(settings->mDaysBetweenNewAnimals, 1);
    EXPECT_GT(settings->mCashAccount->mCash, 0);
    EXPECT_GE(settings->mAnimalsToAccommodationMax, settings->mAnimalsToAccommodationMin);
    EXPECT_GT(settings->mFoodStoredMax, settings->mFoodStored);
    for (const wchar_t* species : kSpecies) {
        EXPECT_GT(settings->speciesPopularity(species), 0.0f);
        ASSERT_EQ(settings->mDaysToLearnRanges.count(species), 1u);
        EXPECT_GE(settings->mDaysToLearnRanges[species].first, 1);
        ASSERT_EQ(settings->mTrickProgressRanges.count(species), 1u);
        EXPECT_LE(settings->mTrickProgressRanges[species].second, 6.0f);
    }
    // Every layer number has its character in the park's 199-character layer string.
    for (int layer : settings->mStartingLayers)
        EXPECT_LT(layer, 199);
    for (auto& rule : settings->mLayerRules) {
        EXPECT_LT(std::abs(rule.first), 199);
        for (int layer : rule.second)
            EXPECT_LT(layer, 199);
    }
}

TEST_F(ShippedData, StartingParkStandsOnItsOwnBuildings)
{
    ASSERT_FALSE(storage->mParkAnimals.empty());
    for (DataAnimal* animal : storage->mParkAnimals) {
        EXPECT_NE(animal->mAvatar, nullptr);
        // One animal per building of its kind.
        size_t buildings = 0;
        for (DataBuilding* building : storage->mParkBuildings)
            buildings += building->mType == animal->mType;
        EXPECT_GE(buildings, storage->parkAnimalsOfKind(animal->mType).size());
    }
    EXPECT_EQ(storage->mParkBuildings.size(), settings->mStartingBuildings.size());
}

TEST_F(ShippedData, SpeciesHaveCoatsPlacesAnimationsAndNames)
{
    for (int i = 0; i < 5; ++i) {
        std::string species = wideToString(kSpecies[i]);
        EXPECT_FALSE(storage->mSkinFiles[kSpecies[i]].empty()) << species;
        ASSERT_EQ(storage->mSkins[kSpecies[i]].size(), storage->mSkinFiles[kSpecies[i]].size()) << species;
        for (auto& skin : storage->mSkins[kSpecies[i]]) {
            EXPECT_GE(skin.second.size(), 4u);
            EXPECT_EQ(skin.second.find_first_not_of(L"01"), std::wstring::npos);
        }
        const std::vector<AnimalHelper>& places = storage->mAnimalHelpers[kSpecies[i]];
        ASSERT_EQ(places.size(), 3u) << species;
        for (int n = 0; n < 3; ++n) {
            EXPECT_EQ(places[n].mNode, L"helper_" + std::wstring(kPlaceWords[i]) + std::to_wstring(n + 1));
            EXPECT_EQ(storage->mAnimations[kSpecies[i]].count(places[n].mAnimation), 1u);
        }
        for (const wchar_t* name : {L"chodzenie", L"jedzenie", L"idle", L"trick1", L"trick2", L"trick3", L"notrick"}) {
            ASSERT_EQ(storage->mAnimations[kSpecies[i]].count(name), 1u) << species << " " << wideToString(name);
            const Animation& animation = storage->mAnimations[kSpecies[i]][name];
            EXPECT_LT(animation.mStart, animation.mEnd);
        }
    }
    EXPECT_GE(storage->mAnimalNames.size(), 20u);
    for (const std::wstring& name : storage->mAnimalNames)
        EXPECT_EQ(name.find(L' '), std::wstring::npos) << wideToString(name);
}

TEST_F(ShippedData, BuildingsCoverEveryKindAndService)
{
    for (const wchar_t* species : kSpecies) {
        std::vector<DataBuilding*> kind = storage->buildingDefinitionsOfKind(species);
        ASSERT_EQ(kind.size(), 3u) << wideToString(species);
        for (int n = 0; n < 3; ++n)
            EXPECT_EQ(kind[n]->mLevelNum, n + 1) << wideToString(kind[n]->mName);
    }
    for (const char* file : {"OtherVet.txt", "OtherHotel.txt", "OtherRestaurant.txt", "OtherAssistants.txt",
                             "OtherBuilding1.txt", "OtherBuilding2.txt", "OtherParking1.txt", "OtherParking2.txt"}) {
        bool found = false;
        for (DataBuilding* building : storage->mBuildingDefinitions)
            found = found || (building->fileName() == file && building->mType == L"other");
        EXPECT_TRUE(found) << file;
    }
    std::set<std::wstring> names;
    bool store = false;
    for (DataBuilding* building : storage->mBuildingDefinitions) {
        std::string file = building->fileName();
        EXPECT_TRUE(names.insert(building->mName).second) << "duplicate name " << file;
        EXPECT_GT(building->mCost, 0) << file;
        EXPECT_GT(building->mMaintenance, 0) << file;
        EXPECT_GT(building->mPopularityWorth, 0.0f) << file;
        EXPECT_FALSE(building->mDescription.empty()) << file;
        EXPECT_FALSE(building->mLayersShow.empty()) << file;
        EXPECT_FALSE(building->mCameraTarget.empty()) << file;
        expectWellFormedRequirements(building->mRequirements, file);
        store = store || building->mFoodStoredMax > settings->mFoodStoredMax;
    }
    EXPECT_TRUE(store) << "a building that raises the food store's capacity";
}

TEST_F(ShippedData, FoodsPromotionsAndAchievements)
{
    for (DataFood* food : storage->mFoods) {
        ASSERT_NE(food, nullptr);
        EXPECT_FALSE(food->mName.empty());
        EXPECT_GT(food->mCost, 0);
        EXPECT_GT(food->mFood, 0);
        // Each food fits into some store.
        EXPECT_LE(food->mFood, 300);
        expectWellFormedRequirements(food->mRequirements, wideToString(food->mName));
    }
    EXPECT_GE(storage->mPromotions.size(), 3u);
    for (Promotion* promotion : storage->mPromotions) {
        EXPECT_GT(promotion->mCost, 0);
        EXPECT_GT(promotion->mPopularityWorth, 0);
        EXPECT_GT(promotion->mDuration, 0);
        EXPECT_FALSE(promotion->mName.empty());
        EXPECT_FALSE(promotion->mDescription.empty());
    }
    EXPECT_GE(storage->mAchievements.size(), 8u);
    int all = 0;
    std::set<std::wstring> names;
    for (DataAchievement* achievement : storage->mAchievements) {
        EXPECT_TRUE(names.insert(achievement->mName).second);
        EXPECT_GT(achievement->mReward, 0);
        EXPECT_FALSE(achievement->mCongratulations.empty());
        expectWellFormedRequirements(achievement->mRequirements, wideToString(achievement->mName));
        all += achievement->mRequirements == L"all";
    }
    EXPECT_EQ(all, 1);
}

TEST_F(ShippedData, EveryTextKeyOfTheParkIsPresentOnce)
{
    std::map<std::wstring, int> keys;
    for (const std::wstring& line : loadDatFile("data/dat/texts.dat"))
        if (!line.empty())
            ++keys[toLowerWide(line.substr(0, line.find(L' ')))];
    std::vector<std::wstring> used = {L"getloan", L"getloanorgameover", L"gameover", L"gameovermessage",
                                      L"nofood",  L"buysomefood",       L"doctorvisit", L"doctorvisitmessage",
                                      L"building", L"cash",             L"currency", L"'s_park",
                                      L"requiredplace", L"requiredvisitors"};
    GameDate date(1, 1, 2010);
    for (const wchar_t* month : date.mMonthNames)
        used.push_back(month);
    for (const std::wstring& key : used)
        EXPECT_EQ(keys[key], 1) << wideToString(key);
    // Texts filled with a number hold exactly one "%d" and no other conversion.
    textsManager.load("data/dat/texts.dat");
    for (const wchar_t* key : {L"getloanorgameover", L"doctorvisitmessage", L"requiredplace", L"requiredvisitors",
                               L"freeparcelinday(s)", L"daystoteach_message", L"trickteached_message",
                               L"alltricksteached_message", L"homelessmessage"}) {
        std::wstring text = textsManager.get(key);
        EXPECT_NE(text.find(L"%d"), std::wstring::npos) << wideToString(key);
        EXPECT_EQ(std::count(text.begin(), text.end(), L'%'), 1) << wideToString(key);
        // Filled with a five-digit number it still fits the 200 characters a popup's text keeps
        // (199 on the date bar).
        EXPECT_LT(text.size() - 2 + 5, 200u) << wideToString(key);
    }
    // Why a damaged park is not played or a new profile not made: each filled with the longest path
    // the game gives a profile (it numbers them up to INT_MAX in its data folder) fits too.
    const std::string longestProfile = "data/game/Profiles/profile" + std::to_string(INT_MAX) + ".txt";
    for (const wchar_t* key : {L"parkunreadablemessage", L"parkuncopiedmessage", L"parkuncopiedfull",
                               L"parkuncopiedpermission", L"parkuncopiedmany", L"parkuncopiedunreadable",
                               L"parkuncopiedoccupied", L"profilefailedopen", L"profilefailedwrite",
                               L"profilefailedrename", L"profilefailedoccupied"}) {
        std::wstring text = textsManager.get(key);
        EXPECT_NE(text.find(L"%ls"), std::wstring::npos) << wideToString(key);
        EXPECT_LT(text.size() - 3 + longestProfile.size(), 200u) << wideToString(key);
    }
}

TEST_F(ShippedData, TheTipsTellTheRulesNumbers)
{
    // What the tips and the loan dialog tell a newcomer about the food store, the offers and the
    // bank are numbers of the rules: changed there, the texts must change with them.
    const std::string tips = readFile("data/game/tutorial.txt");
    int withStore = 0;
    for (DataBuilding* building : storage->mBuildingDefinitions)
        if (building->mName == L"Food Store")
            withStore = building->mFoodStoredMax;
    const std::string holds =
        "holds " + std::to_string(settings->mFoodStoredMax) + ", or " + std::to_string(withStore) + " with the Food Store";
    EXPECT_NE(tips.find(holds), std::string::npos) << holds;
    const std::string offers = "Every " + std::to_string(settings->mDaysBetweenNewAnimals) + " days new owners";
    EXPECT_NE(tips.find(offers), std::string::npos) << offers;
    EXPECT_DOUBLE_EQ(CashAccount::kLoanRate, 1.2) << "the bank wants back one fifth more than it lends";
    textsManager.load("data/dat/texts.dat");
    EXPECT_NE(std::wstring(textsManager.get(L"howmuchborrow")).find(L"one fifth more"), std::wstring::npos);
    EXPECT_NE(tips.find("wants back one fifth more"), std::string::npos);
}

TEST_F(ShippedData, ThePetShowsFeeColumnIsNotCalledTheLessonPrice)
{
    // The pets show lists each pet's "[teaching price]", the fee a learnt trick pays; a lesson in
    // the trick show costs the show file's "[reward price]". The column's caption names the fee.
    textsManager.load("data/dat/texts.dat");
    const std::wstring caption = toLowerWide(textsManager.get(L"teachingprice"));
    EXPECT_EQ(caption.find(L"lesson"), std::wstring::npos) << wideToString(caption);
    for (const wchar_t* species : kSpecies) {
        std::istringstream show(readFile("data/game/show/" + wideToString(species) + ".txt"));
        std::string line;
        int lesson = -1;
        while (std::getline(show, line))
            if (line == "[reward price]" && std::getline(show, line))
                lesson = std::atoi(line.c_str());
        EXPECT_GT(lesson, 0) << wideToString(species);
        // Mastering a trick takes several lessons: the fee is worth more than one.
        EXPECT_GT(settings->mTeachingPrice, lesson) << wideToString(species);
    }
}

TEST_F(ShippedData, DefaultOptionsFileIsShipped)
{
    std::string text = readFile("data/game/defaultsave.txt");
    for (const char* key : {"[resolution]", "[fullscreen]", "[music volume]", "[sound volume]", "[profile]"})
        EXPECT_NE(text.find(key), std::string::npos) << key;
}

TEST_F(ShippedData, EveryFileNameTheDataUsesIsListedForTheAssetTools)
{
    std::string assets = readFile("data/game/ASSETS.md");
    std::vector<std::string> files;
    for (DataBuilding* building : storage->mBuildingDefinitions) {
        files.push_back(wideToString(building->mIconFile));
        files.push_back(wideToString(building->mIconGreyedFile));
        files.push_back(wideToString(building->mCameraTarget));
        for (SlideCamera* slide : building->mSlideCameras) {
            files.push_back(wideToString(slide->mNodeName));
            files.push_back(wideToString(slide->mCameraName));
        }
    }
    for (DataFood* food : storage->mFoods) {
        files.push_back(wideToString(food->mIconFile));
        files.push_back(wideToString(food->mIconGreyedFile));
    }
    for (auto& species : storage->mSkinFiles)
        for (const std::string& skin : species.second)
            files.push_back(skin);
    for (auto& species : storage->mAnimalObjects)
        for (const std::wstring& scene : species.second)
            files.push_back(wideToString(scene));
    std::string animals = readFile("data/game/animals.txt");
    for (const char* scene : {"Animals_Helpers.3dn", "fx_sparkle.3dn", "fx_hearts.3dn", "fx_dust.3dn"}) {
        EXPECT_NE(animals.find(scene), std::string::npos) << scene;
        files.push_back(scene);
    }
    for (const std::string& file : files) {
        EXPECT_FALSE(file.empty());
        EXPECT_NE(assets.find(file), std::string::npos) << file << " is not listed in data/game/ASSETS.md";
    }
}

} // namespace

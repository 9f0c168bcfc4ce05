#include "ParkTestData.h"

#include "game/CashAccount.h"
#include "game/DataAchievement.h"
#include "game/DataAnimal.h"
#include "game/DataBuilding.h"
#include "game/DataFood.h"
#include "game/DataRankingPark.h"
#include "game/GameDate.h"
#include "game/Promotion.h"
#include "park/AnimalAvatar.h"
#include "park/FXManager.h"
#include "park/SlideCamera.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(LoadGameData, ReadsEveryFolderInOrder)
{
    ParkTestData data;
    data.writeDefault();
    DataStorage* storage = ParkTestData::load();

    ASSERT_EQ(storage->mBuildingDefinitions.size(), 4u);
    // Natural order of the file names; types lower-cased.
    EXPECT_EQ(storage->mBuildingDefinitions[0]->mName, L"Kennel");
    EXPECT_EQ(storage->mBuildingDefinitions[0]->mType, L"dog");
    EXPECT_EQ(storage->mBuildingDefinitions[3]->mName, L"Vet");
    EXPECT_EQ(storage->mBuildingDefinitions[3]->mType, L"other");
    ASSERT_EQ(storage->mAchievements.size(), 2u);
    EXPECT_EQ(storage->mAchievements[1]->mRequirements, L"all");
    ASSERT_EQ(storage->mPromotions.size(), 3u);
    // A promotion's worth is the file's real truncated: "10.9" is 10.
    EXPECT_EQ(storage->mPromotions[0]->mPopularityWorth, 10);
    EXPECT_EQ(storage->mPromotions[0]->mDaysLeft, -1);
    for (DataFood* food : storage->mFoods)
        ASSERT_NE(food, nullptr);
    EXPECT_EQ(storage->mFoods[2]->mName, L"Food 3");

    // The starting park: the kennel definition itself, and one dog at the first dog place.
    ASSERT_EQ(storage->mParkBuildings.size(), 1u);
    EXPECT_EQ(storage->mParkBuildings[0], storage->mBuildingDefinitions[0]);
    ASSERT_EQ(storage->mParkAnimals.size(), 1u);
    DataAnimal* dog = storage->mParkAnimals[0];
    EXPECT_EQ(dog->mType, L"dog");
    EXPECT_EQ(dog->mHunger, 6);
    EXPECT_EQ(dog->mHealth, 7);
    EXPECT_EQ(dog->mHappiness, 3);
    ASSERT_NE(dog->mAvatar, nullptr);
    EXPECT_EQ(dog->mAvatar->mPlaceNodeName, "helper_pies1");
    EXPECT_EQ(dog->mAvatar->mCreatorWord, 0);
    EXPECT_EQ(dog->mAvatar->mAnimation, L"chodzenie");
    // Drops lie between 0.5 and 2 times the global ones.
    EXPECT_GE(dog->mHungerDrop, 0.25f);
    EXPECT_LT(dog->mHungerDrop, 1.0f);

    // The month records exist, zeroed; the species tables are keyed in lower case.
    ASSERT_NE(storage->mBalanceThisMonth, nullptr);
    EXPECT_EQ(storage->mBalanceThisMonth->total(), 0);
    EXPECT_EQ(storage->mAnimalHelpers[L"cat"][2].mNode, L"helper_kot3");
    EXPECT_EQ(storage->mAnimalHelpers[L"cat"][2].mAnimation, L"chodzenie");
    ASSERT_EQ(storage->mSkins[L"dog"].size(), 2u);
    EXPECT_EQ(storage->mSkins[L"dog"][0].second, L"0000100");
    EXPECT_EQ(storage->mSkins[L"dog"][1].second, L"0000");
    EXPECT_EQ(storage->mAnimations[L"dog"][L"jedzenie"].mEnd, 79);
}

TEST(LoadGameData, StartingBuildingsMatchFileNamesWithoutCase)
{
    ParkTestData data;
    data.writeDefault("[building]\ndoghouse2.TXT\n\n[building]\nNoSuchFile.txt\n\n[building]\nOtherVet.txt\n\n");
    testing::internal::CaptureStderr();
    DataStorage* storage = ParkTestData::load();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Warning: data/game/global.txt: the starting building NoSuchFile.txt has no usable file in "
              "data/game/Buildings/\n");
    ASSERT_EQ(storage->mParkBuildings.size(), 2u);
    EXPECT_EQ(storage->mParkBuildings[0]->mName, L"Villa");
    EXPECT_EQ(storage->mParkBuildings[1]->mName, L"Vet");
    EXPECT_TRUE(storage->mParkAnimals.empty());
}

TEST(LoadGameData, StartingAnimalsTakeTheNextPlaceOfTheirSpecies)
{
    ParkTestData data;
    data.writeDefault("[animal]\nDog\n\n[animal]\ncat\n\n[animal]\ndog\n\n");
    DataStorage* storage = ParkTestData::load();
    ASSERT_EQ(storage->mParkAnimals.size(), 3u);
    EXPECT_EQ(storage->mParkAnimals[0]->mType, L"dog");
    EXPECT_EQ(storage->mParkAnimals[0]->mAvatar->mPlaceNodeName, "helper_pies1");
    EXPECT_EQ(storage->mParkAnimals[1]->mAvatar->mPlaceNodeName, "helper_kot1");
    EXPECT_EQ(storage->mParkAnimals[2]->mAvatar->mPlaceNodeName, "helper_pies2");
    EXPECT_EQ(storage->mParkAnimals[2]->mAvatar->mCreatorWord, 1);
    EXPECT_EQ(storage->mParkAnimals[2]->mAvatar->mType, L"dog");
}

TEST(LoadGameData, StartingAnimalsWithoutCoatNamesOrPlacesAreSkipped)
{
    ParkTestData data;
    data.writeDefault("[animal]\nseal\n\n[animal]\ndog\n\n[animal]\ndog\n\n[animal]\ndog\n\n[animal]\ndog\n\n");
    data.write("data/game/animals.txt", ParkTestData::animalsText() + "[skin]\nseal seal.png\n\n");
    testing::internal::CaptureStdout();
    DataStorage* storage = ParkTestData::load();
    std::string out = testing::internal::GetCapturedStdout();
    // No place word for a seal, and only three dog places.
    EXPECT_EQ(storage->mParkAnimals.size(), 3u);
    EXPECT_NE(out.find("\"seal\""), std::string::npos);

    // A species without coats and an empty name pool never reach rand() % 0.
    data.write("data/game/animals.txt", "[helper]\ndog helper_pies1 chodzenie\n");
    testing::internal::CaptureStdout();
    storage = ParkTestData::load();
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(storage->mParkAnimals.empty());
    storage->generateAnimalsForSale();
    EXPECT_TRUE(storage->mAnimalsForSale.empty());
}

TEST(LoadGameData, StartingLevelsAreHeldWithinTheirRanges)
{
    ParkTestData data;
    data.writeDefault("[animal]\ndog\n\n[animals starting hunger]\n12.5\n\n[animals starting health]\n-3\n\n"
                      "[animals starting happiness]\n1e30\n\n");
    DataStorage* storage = ParkTestData::load();
    ASSERT_EQ(storage->mParkAnimals.size(), 1u);
    EXPECT_EQ(storage->mParkAnimals[0]->mHunger, 7);
    EXPECT_EQ(storage->mParkAnimals[0]->mHealth, 0);
    EXPECT_EQ(storage->mParkAnimals[0]->mHappiness, 4);
}

TEST(LoadGameData, BuildingReaderDefaultsAndKeys)
{
    ParkTestData data;
    data.writeDefault();
    data.write("data/game/Buildings/Odd.txt",
               "[NAME]\nOdd One\n\n[type]\nHORSE\n\n[cost]\n1000\n\n[layers show]\n3 -1 5\n\n"
               "[layers hide]\n-2 4\n\n[helper]\nhelper_odd\n\n[slide camera]\nLook here\nmarker_1\ncam_1 120 1111\n\n"
               "[slide camera]\nBroken\nmarker_2\ncam_2 many 1\n\n[cost]\n");
    testing::internal::CaptureStdout();
    DataStorage* storage = ParkTestData::load();
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(storage->mBuildingDefinitions.size(), 5u);
    DataBuilding* odd = storage->mBuildingDefinitions[2]; // natural order: after DogHouse2
    ASSERT_EQ(odd->mName, L"Odd One");
    EXPECT_EQ(odd->mType, L"horse");
    EXPECT_EQ(odd->mLevelNum, -1);
    EXPECT_EQ(odd->mCleanness, 7);
    EXPECT_EQ(odd->mCondition, 7);
    EXPECT_EQ(odd->mFoodStoredMax, 60); // the global capacity
    EXPECT_EQ(odd->mSaleValue, 700);    // cost x the best-state sale factor
    EXPECT_EQ(odd->mLayersShow, (std::vector<int>{3, 5}));
    EXPECT_EQ(odd->mLayersHide, (std::vector<int>{4}));
    EXPECT_EQ(odd->mCameraTarget, L"helper_odd");
    ASSERT_EQ(odd->mSlideCameras.size(), 1u);
    EXPECT_EQ(odd->mSlideCameras[0]->mHoverText, L"Look here");
    EXPECT_EQ(odd->mSlideCameras[0]->mNodeName, L"marker_1");
    EXPECT_EQ(odd->mSlideCameras[0]->mCameraName, L"cam_1");
    EXPECT_EQ(odd->mSlideCameras[0]->mFrames, 120);
    EXPECT_EQ(odd->mSlideCameras[0]->mLayers, L"1111");
    EXPECT_EQ(odd->mSlideCameras[0]->mNodeIndex, -1);
}

// An empty or damaged record file would be a nameless thing for free: left out, named.
TEST(LoadGameData, RecordsWithoutANameOrAPriceAreLeftOutAndNamed)
{
    ParkTestData data;
    data.writeDefault();
    data.write("data/game/Buildings/Empty.txt", "");
    data.write("data/game/Buildings/Free.txt", "[name]\nFree\n\n[cost]\n0\n\n");
    data.write("data/game/Achievements/Nameless.txt", "[reward]\n100\n\n");
    data.write("data/game/Promotions/Gift.txt", "[name]\nGift\n\n[cost]\n-5\n\n");
    testing::internal::CaptureStderr();
    DataStorage* storage = ParkTestData::load();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(storage->mBuildingDefinitions.size(), 4u);
    EXPECT_EQ(storage->mAchievements.size(), 2u);
    EXPECT_EQ(storage->mPromotions.size(), 3u);
    for (const char* file : {"Buildings/Empty.txt: no [name]", "Buildings/Free.txt: [cost]",
                             "Achievements/Nameless.txt: no [name]", "Promotions/Gift.txt: [cost]"})
        EXPECT_NE(err.find(file), std::string::npos) << file << "\n" << err;
}

TEST(LoadGameDataDeathTest, AFoodWithoutANameOrAPriceStopsTheGame)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            ParkTestData data;
            data.writeDefault();
            data.write("data/game/Foods/food2.txt", "");
            ParkTestData::load();
        },
        "Foods/food2.txt: no \\[name\\]; the game needs its three foods");
}

TEST(LoadGameData, MissingCashOrDateGetDefaultsWithAWarning)
{
    ParkTestData data;
    data.writeDefault();
    data.write("data/game/global.txt", "[date]\n31 2 2010\n\n[max popularity]\n600\n");
    testing::internal::CaptureStdout();
    DataStorage* storage = ParkTestData::load();
    std::string out = testing::internal::GetCapturedStdout();
    ASSERT_NE(storage->mGlobalSettings->mCashAccount, nullptr);
    EXPECT_EQ(storage->mGlobalSettings->mCashAccount->mCash, 0);
    ASSERT_NE(storage->mGlobalSettings->mDate, nullptr);
    EXPECT_EQ(storage->mGlobalSettings->mDate->mMonth, 1);
    EXPECT_NE(out.find("no [cash]"), std::string::npos);
    EXPECT_NE(out.find("not a valid date"), std::string::npos);
    EXPECT_NE(out.find("taken as 1"), std::string::npos);
    // Without reference prices the park attracts nobody, and says so.
    EXPECT_NE(out.find("no reference price for AccomodationTicket, the park attracts nobody"), std::string::npos);
    EXPECT_NE(out.find("no reference price for CarTicket"), std::string::npos);
}

TEST(LoadGameData, GlobalKeysAreRead)
{
    ParkTestData data;
    data.writeDefault("[layers if]\n-111 11\n\n[layers if]\n4\n\n[starting layers]\n0 1\n\n[starting layers]\n7\n\n"
                      "[ranking park]\nHappy  Paws\n\n[ranking park]\nBunny Hill\n\n[advertise]\nradio 100\n\n");
    DataStorage* storage = ParkTestData::load();
    GlobalSettings* settings = storage->mGlobalSettings;
    EXPECT_EQ(settings->mCashAccount->mCash, 1000);
    EXPECT_EQ(settings->mDate->mDay, 28);
    EXPECT_EQ(settings->mDate->mStartYear, 2010);
    EXPECT_EQ(settings->mGameSpeed, 1000);
    EXPECT_EQ(settings->mDayClock, 0);
    EXPECT_EQ(settings->mActivePromotion, -1);
    EXPECT_EQ(settings->scrollReference(L"AccomodationTicket"), 60);
    EXPECT_EQ(settings->mScrollValues[L"CarTicket"].mPresets[4], 10);
    EXPECT_EQ(settings->scrollReference(L"Hotel"), 0);
    EXPECT_EQ(settings->mDaysToLearnRanges[L"dog"], std::make_pair(5, 5));
    EXPECT_EQ(settings->mBuildingSaleFactors[0], 0.3f);
    ASSERT_EQ(settings->mLayerRules.size(), 2u);
    EXPECT_EQ(settings->mLayerRules[0].first, -111);
    EXPECT_EQ(settings->mLayerRules[0].second, (std::vector<int>{11}));
    EXPECT_TRUE(settings->mLayerRules[1].second.empty());
    EXPECT_EQ(settings->mStartingLayers, (std::vector<int>{0, 1, 7}));
    ASSERT_EQ(settings->mRankingParks.size(), 2u);
    EXPECT_EQ(settings->mRankingParks[0]->mName, L"Happy  Paws");
    EXPECT_EQ(settings->mRankingParks[1]->mPlayer, 0);
    ASSERT_EQ(settings->mAdvertises.size(), 1u);
    EXPECT_EQ(settings->mAdvertises[0]->mValue, 100);
    EXPECT_EQ(settings->speciesPopularity(L"dog"), 2.0f);
    EXPECT_EQ(settings->speciesPopularity(L"seal"), 0.0f);
}

TEST(LoadGameData, ASecondLoadStartsFromEmptyLists)
{
    ParkTestData data;
    data.writeDefault();
    DataStorage* storage = ParkTestData::load();
    storage->generateAnimalsForSale();
    storage->mParkBuildings.push_back(storage->mBuildingDefinitions[3]);
    GlobalSettings* first = storage->mGlobalSettings;
    storage = ParkTestData::load();
    EXPECT_NE(storage->mGlobalSettings, first);
    EXPECT_EQ(storage->mBuildingDefinitions.size(), 4u);
    EXPECT_EQ(storage->mParkBuildings.size(), 1u);
    EXPECT_EQ(storage->mParkAnimals.size(), 1u);
    EXPECT_TRUE(storage->mAnimalsForSale.empty());
    EXPECT_EQ(storage->mAchievements.size(), 2u);
    EXPECT_EQ(storage->mPromotions.size(), 3u);
    EXPECT_EQ(storage->mAnimalNames.size(), 2u);
    EXPECT_EQ(storage->mSkinFiles[L"dog"].size(), 2u);
    EXPECT_EQ(storage->mSkins[L"dog"].size(), 2u);
    EXPECT_EQ(storage->mAnimalHelpers[L"dog"].size(), 3u);
}

TEST(LoadGameData, EffectsAreReplacedOnEveryLoad)
{
    ParkTestData data;
    data.writeDefault();
    data.write("data/game/animals.txt", ParkTestData::animalsText() + "[fx]\nSparkle fx_sparkle.3dn\n\n");
    ParkTestData::load();
    ParkTestData::load();
    FXManager* effects = Singleton<FXManager>::get();
    ASSERT_EQ(effects->mEffects.size(), 1u);
    EXPECT_EQ(effects->mEffects.count(L"sparkle"), 1u);
}

// ---- queries of the data model

TEST(DataStorageQueries, FoodStoreCapacityIsTheLargestNotTheSum)
{
    ParkTestData data;
    data.writeDefault();
    DataStorage* storage = ParkTestData::load();
    storage->mParkBuildings.clear();
    EXPECT_EQ(storage->foodStoreCapacity(), 60);
    DataBuilding* store = storage->mBuildingDefinitions[2];
    ASSERT_EQ(store->mName, L"Store");
    storage->mParkBuildings.push_back(store);
    EXPECT_EQ(storage->foodStoreCapacity(), 300);
    DataBuilding* vet = storage->mBuildingDefinitions[3];
    vet->mFoodStoredMax = 200;
    storage->mParkBuildings.push_back(vet);
    EXPECT_EQ(storage->foodStoreCapacity(), 300);
}

TEST(DataStorageQueries, KindsIgnoreCaseAndPlacesDoNot)
{
    ParkTestData data;
    data.writeDefault();
    DataStorage* storage = ParkTestData::load();
    EXPECT_EQ(storage->buildingDefinitionsOfKind(L"DOG").size(), 2u);
    EXPECT_EQ(storage->buildingDefinitionsOfKind(L"other").size(), 2u);
    EXPECT_EQ(storage->parkAnimalsOfKind(L"Dog").size(), 1u);
    EXPECT_TRUE(storage->isPlaceTaken(L"dog", 1));
    EXPECT_FALSE(storage->isPlaceTaken(L"Dog", 1));
    EXPECT_FALSE(storage->isPlaceTaken(L"dog", 2));
    // The place number is the last digit of the place name: place 12 counts as place 2.
    storage->mParkAnimals[0]->mAvatar->mPlaceNodeName = "helper_pies12";
    EXPECT_TRUE(storage->isPlaceTaken(L"dog", 2));
}

TEST(DataStorageQueries, MonthBalanceTotalAndClone)
{
    MonthBalance record;
    for (int i = 0; i < MonthBalance::kWords; ++i)
        record.mValues[i] = i + 1;
    EXPECT_EQ(record.total(), 105);
    MonthBalance* copy = record.clone();
    EXPECT_EQ(copy->mValues[t_Unshown], 12);
    EXPECT_EQ(copy->total(), 105);
    delete copy;

    // A total beyond int is held at its limit instead of overflowing.
    for (int i = 0; i < MonthBalance::kWords; ++i)
        record.mValues[i] = std::numeric_limits<int>::max();
    EXPECT_EQ(record.total(), std::numeric_limits<int>::max());
    for (int i = 0; i < MonthBalance::kWords; ++i)
        record.mValues[i] = std::numeric_limits<int>::min();
    EXPECT_EQ(record.total(), std::numeric_limits<int>::min());
}

TEST(DataStorageQueries, ReachedAchievementQueuesANotice)
{
    ParkTestData data;
    data.writeDefault();
    DataStorage* storage = ParkTestData::load();
    std::vector<Achievement*>& notices = Singleton<MenuIngame>::get()->mNotices;
    size_t before = notices.size();
    storage->achievementReached(storage->mAchievements[0]);
    EXPECT_EQ(storage->mAchievements[0]->mDone, 1);
    ASSERT_EQ(notices.size(), before + 1);
    EXPECT_EQ(notices.back()->item, storage->mAchievements[0]);
    EXPECT_EQ(notices.back()->timer, 0.0f);
    EXPECT_EQ(notices.back()->state, 0);
}

} // namespace

#include "ParkTestData.h"

#include "core/ControlMngr.h"
#include "core/platform.h"
#include "game/CashAccount.h"
#include "game/DataAchievement.h"
#include "game/DataAnimal.h"
#include "game/DataBuilding.h"
#include "game/GameDate.h"
#include "game/Promotion.h"
#include "park/AnimalAvatar.h"
#include "park/GameBackground3D.h"
#include "park/GameCamera.h"

#include <gtest/gtest.h>

namespace {

class DayRules : public testing::Test {
protected:
    void SetUp() override
    {
        data.writeDefault();
        storage = ParkTestData::load(7);
        settings = storage->mGlobalSettings;
        camera = Singleton<GameBackground3D>::get()->mCamera;
        camera->reset();
    }

    ParkTestData data;
    DataStorage* storage = nullptr;
    GlobalSettings* settings = nullptr;
    GameCamera* camera = nullptr;
};

TEST_F(DayRules, ANewDayStartsWhenTheClockPassesTheGameSpeed)
{
    ASSERT_EQ(settings->mGameSpeed, 1000);
    GameDate* date = settings->mDate;
    for (int step = 1; step <= 100; ++step)
        storage->update();
    EXPECT_EQ(date->mDaysElapsed, 0);
    EXPECT_EQ(settings->mDayClock, 1000);
    storage->update();
    EXPECT_EQ(date->mDaysElapsed, 1);
    EXPECT_EQ(settings->mDayClock, 0);
    for (int step = 1; step <= 101; ++step)
        storage->update();
    EXPECT_EQ(date->mDaysElapsed, 2);
}

TEST_F(DayRules, TypingGWritesTheTextsOfTheData)
{
    sDevice* keyboard = Singleton<ControlMngr>::get()->mKeyboardDevices[0];
    storage->update();
    EXPECT_FALSE(file_exists("lok_achiev.txt"));
    keyboard->data[kKeyboardCharWord].i = 'g';
    storage->update();
    keyboard->data[kKeyboardCharWord].i = -1;
    // Per achievement its name, description, congratulations and an empty line; per building
    // definition its name, description and an empty line.
    EXPECT_EQ(data.read("lok_achiev.txt"), "\xEF\xBB\xBF" "First\n\n\n\nLast\n\n\n");
    EXPECT_EQ(data.read("lok_buildings.txt"), "\xEF\xBB\xBF" "Kennel\n\n\nVilla\n\n\nStore\n\n\nVet\n\n");
}

TEST_F(DayRules, AchievementsAreCheckedAboutOnceASecond)
{
    // "First" (a dog in the park) and "Last" (all others done) come true in the same check.
    for (int step = 1; step <= 100; ++step)
        storage->update();
    EXPECT_EQ(storage->mAchievements[0]->mDone, 0);
    EXPECT_EQ(storage->mAchievementTick, 1000);
    storage->update();
    EXPECT_EQ(storage->mAchievements[0]->mDone, 0);
    storage->update();
    EXPECT_EQ(storage->mAchievements[0]->mDone, 1);
    EXPECT_EQ(storage->mAchievements[1]->mDone, 1);
    EXPECT_EQ(storage->mAchievementTick, 10);
}

TEST_F(DayRules, NoAchievementWhileTheCameraIsBusy)
{
    camera->mGliding = 1;
    for (int step = 1; step <= 102; ++step)
        storage->update();
    EXPECT_EQ(storage->mAchievements[0]->mDone, 0);
    EXPECT_EQ(storage->mAchievementTick, 10);
    camera->mGliding = 0;
}

TEST_F(DayRules, AnimalsWhoseStayIsOverLeaveTogether)
{
    DataAnimal offer(L"Luna", L"dog", 0.1f, 0.1f, 0);
    DataAnimal* second = DataAnimal::placeInPark(&offer);
    storage->mParkAnimals.push_back(second);
    DataAnimal* third = DataAnimal::placeInPark(&offer);
    storage->mParkAnimals.push_back(third);
    storage->mParkAnimals[0]->mStayDays = 1;
    second->mStayDays = 1;
    third->mStayDays = 9;
    camera->mFollowAnimal = second;
    storage->newDay();
    ASSERT_EQ(storage->mParkAnimals.size(), 1u);
    EXPECT_EQ(storage->mParkAnimals[0], third);
    EXPECT_EQ(camera->mFollowAnimal, nullptr);
}

TEST_F(DayRules, OffersFollowAttractionAndHappiness)
{
    // An empty park still gets one offer per species.
    storage->retire(storage->mParkAnimals[0]);
    storage->mParkAnimals.clear();
    storage->mAttraction = 0.0f;
    storage->generateAnimalsForSale();
    ASSERT_EQ(storage->mAnimalsForSale.size(), 5u);
    const wchar_t* order[5] = {L"dog", L"cat", L"dino", L"rabbit", L"horse"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(storage->mAnimalsForSale[i]->mType, order[i]);
        EXPECT_EQ(storage->mAnimalsForSale[i]->mAvatar, nullptr);
        EXPECT_GE(storage->mAnimalsForSale[i]->mHungerDrop, 0.25f);
        EXPECT_LT(storage->mAnimalsForSale[i]->mHealthDrop, 0.6f);
    }
    // S = 4: N = trunc(4 x 0.5 x 0.5 + 4 x 4 x 0.125) = 3.
    DataAnimal offer(L"Luna", L"dog", 0.1f, 0.1f, 0);
    DataAnimal* happy = DataAnimal::placeInPark(&offer);
    happy->mHappiness = 4;
    storage->mParkAnimals.push_back(happy);
    storage->mAttraction = 0.5f;
    storage->generateAnimalsForSale();
    EXPECT_EQ(storage->mAnimalsForSale.size(), 15u);
    // Never above the maximum of "[animals to accomodation]".
    storage->mAttraction = 1.0f;
    storage->generateAnimalsForSale();
    EXPECT_EQ(storage->mAnimalsForSale.size(), 20u);
}

TEST_F(DayRules, PromotionsRunOutAndStopCounting)
{
    storage->retire(storage->mParkAnimals[0]);
    storage->mParkAnimals.clear();
    storage->mParkBuildings.clear();
    Promotion* promotion = storage->mPromotions[1];
    settings->mActivePromotion = 2;
    promotion->buy();
    EXPECT_EQ(promotion->mDaysLeft, 10);
    promotion->mDaysLeft = 2;
    storage->newDay();
    EXPECT_EQ(promotion->mDaysLeft, 1);
    EXPECT_EQ(settings->mActivePromotion, 2);
    EXPECT_EQ(storage->mPopularity, 20);
    storage->newDay();
    EXPECT_EQ(promotion->mDaysLeft, 0);
    EXPECT_EQ(settings->mActivePromotion, -1);
    EXPECT_EQ(storage->mPopularity, 0);
    storage->newDay();
    EXPECT_EQ(promotion->mDaysLeft, 0);
}

TEST_F(DayRules, BuildingsDecayAndAreRepairedAndCleaned)
{
    DataBuilding* kennel = storage->mParkBuildings[0];
    kennel->mCondition = 5;
    kennel->mRepairing = 1;
    kennel->newDay();
    EXPECT_EQ(kennel->mCondition, 6);
    kennel->newDay();
    EXPECT_EQ(kennel->mCondition, 7);
    EXPECT_EQ(kennel->mRepairing, 1);
    kennel->newDay();
    EXPECT_EQ(kennel->mCondition, 7);
    EXPECT_EQ(kennel->mRepairing, 0);

    // Cleanness drop 0.5 and condition drop 0.25: a level every third and every fifth day.
    kennel->mCleanness = 7;
    kennel->mCleannessAcc = 0.0f;
    kennel->mConditionAcc = 0.0f;
    for (int day = 0; day < 15; ++day)
        kennel->newDay();
    EXPECT_EQ(kennel->mCleanness, 2);
    EXPECT_EQ(kennel->mCondition, 4);
    // Sale value = cost x (L0 + (L1 - L0) x (cleanness + condition) / 14): 1000 x (0.3 + 0.4 x 6 / 14).
    EXPECT_EQ(kennel->mSaleValue, 471);
    kennel->mCleaning = 1;
    kennel->newDay();
    EXPECT_EQ(kennel->mCleanness, 7);
    EXPECT_EQ(kennel->mCleaning, 0);
}

TEST_F(DayRules, ADayRunsTheRulesAndTheCountdownInOrder)
{
    // Cash below zero: the day counts the countdown down (the watch itself needs the HUD).
    settings->mCashAccount->mCountdownState = CashAccount::kCountdown;
    settings->mCashAccount->mDaysLeft = 3;
    storage->mParkAnimals[0]->mStayDays = 100;
    storage->newDay();
    EXPECT_EQ(settings->mCashAccount->mDaysLeft, 2);
    EXPECT_EQ(settings->mDate->mDay, 1);
    EXPECT_EQ(settings->mDate->mMonth, 3);
    // The kennel and the dog count in the popularity.
    EXPECT_GT(storage->mPopularity, 0);
}

} // namespace

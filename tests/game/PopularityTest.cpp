#include "ParkTestData.h"

#include "game/DataAnimal.h"
#include "game/DataBuilding.h"
#include "game/Promotion.h"

#include <gtest/gtest.h>

namespace {

class Popularity : public testing::Test {
protected:
    void SetUp() override
    {
        data.writeDefault();
        storage = ParkTestData::load();
        settings = storage->mGlobalSettings;
        dog = storage->mParkAnimals[0];
        storage->mParkAnimals.clear();
        storage->mParkBuildings.clear();
    }
    void TearDown() override { storage->retire(dog); }

    ParkTestData data;
    DataStorage* storage = nullptr;
    GlobalSettings* settings = nullptr;
    DataAnimal* dog = nullptr;
};

TEST_F(Popularity, EmptyParkHasNone)
{
    EXPECT_EQ(storage->computePopularity(), 0.0f);
    EXPECT_EQ(storage->mPopularity, 0);
    EXPECT_EQ(storage->mAttraction, 0.0f);
}

TEST_F(Popularity, AnimalsBuildingsAndTheFirstRunningPromotionCount)
{
    dog->mHunger = 7;
    dog->mHealth = 7;
    storage->mParkAnimals.push_back(dog);
    storage->computePopularity();
    EXPECT_EQ(storage->mPopularity, 28); // "[dog popularity]" 2 x 14

    DataBuilding* kennel = storage->mBuildingDefinitions[0];
    kennel->mCleanness = 3;
    kennel->mCondition = 4;
    storage->mParkBuildings.push_back(kennel);
    storage->computePopularity();
    EXPECT_EQ(storage->mPopularity, 35);

    storage->mPromotions[1]->mDaysLeft = 3; // worth 20
    storage->mPromotions[2]->mDaysLeft = 3; // worth 30, not counted
    storage->computePopularity();
    EXPECT_EQ(storage->mPopularity, 55);
}

TEST_F(Popularity, AttractionFollowsTheSquareOfPopularityAndPrices)
{
    dog->mHunger = 7;
    dog->mHealth = 7;
    storage->mParkAnimals.push_back(dog);
    storage->mPromotions[2]->mDaysLeft = 1; // 30
    // P = 58 of 600; A = 1 - 20 / 60; C = 1 - 4 / 16 + 0.25 = 1.
    float x = 58.0f / 600.0f * (1.0f - 20.0f / 60.0f);
    EXPECT_FLOAT_EQ(storage->computePopularity(), x * x);

    settings->mAccommodationTicketPrice = 60;
    EXPECT_EQ(storage->computePopularity(), 0.0f);
    settings->mAccommodationTicketPrice = 0;
    settings->mCarParkingTicketPrice = 0; // C = 1.25, held at 1
    x = 58.0f / 600.0f;
    EXPECT_FLOAT_EQ(storage->computePopularity(), x * x);

    // A price above its reference never makes the park more attractive.
    settings->mAccommodationTicketPrice = 120;
    EXPECT_EQ(storage->computePopularity(), 0.0f);
    settings->mAccommodationTicketPrice = 20;
    settings->mCarParkingTicketPrice = 40;
    EXPECT_EQ(storage->computePopularity(), 0.0f);

    // A full park is held at 1.
    settings->mCarParkingTicketPrice = 0;
    settings->mAccommodationTicketPrice = 0;
    settings->mMaxPopularity = 10.0f;
    EXPECT_EQ(storage->computePopularity(), 1.0f);
}

TEST_F(Popularity, ZeroReferencesGiveNoAttraction)
{
    storage->mParkAnimals.push_back(dog);
    settings->mScrollValues[L"CarTicket"].mReference = 0;
    EXPECT_EQ(storage->computePopularity(), 0.0f);
    EXPECT_GT(storage->mPopularity, 0);
    settings->mScrollValues[L"CarTicket"].mReference = 16;
    settings->mMaxPopularity = 0.0f;
    EXPECT_EQ(storage->computePopularity(), 0.0f);
}

} // namespace

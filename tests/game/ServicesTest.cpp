#include "ParkTestData.h"

#include "game/CashAccount.h"
#include "game/DataAchievement.h"
#include "game/DataBuilding.h"
#include "game/Promotion.h"

#include <gtest/gtest.h>

namespace {

class Services : public testing::Test {
protected:
    void SetUp() override
    {
        data.writeDefault();
        storage = ParkTestData::load();
        account = storage->mGlobalSettings->mCashAccount;
        kennel = storage->mParkBuildings[0];
    }

    int money(int word) const { return storage->mBalanceThisMonth->mValues[word]; }
    int count(int word) const { return storage->mStatThisMonth->mValues[word]; }

    ParkTestData data;
    DataStorage* storage = nullptr;
    CashAccount* account = nullptr;
    DataBuilding* kennel = nullptr;
};

TEST_F(Services, ServiceBuildingsAreFoundByFileName)
{
    EXPECT_EQ(storage->findParkBuilding("DogHouse1.txt"), kennel);
    EXPECT_EQ(storage->findParkBuilding("data/game/Buildings/DogHouse1.txt"), nullptr);
    EXPECT_EQ(storage->findParkBuilding("doghouse1.txt"), nullptr);
    EXPECT_EQ(storage->hasVet(), 0);
    storage->mParkBuildings.push_back(storage->mBuildingDefinitions[3]);
    EXPECT_EQ(storage->hasVet(), 1);
    EXPECT_EQ(storage->hasHotel(), 0);
    EXPECT_EQ(storage->hasRestaurant(), 0);
    EXPECT_EQ(storage->hasAssistants(), 0);
}

TEST_F(Services, RepairCostsByMissingLevelsAndIsCounted)
{
    kennel->mCondition = 7;
    EXPECT_EQ(kennel->repairCost(), 0);
    kennel->orderRepair();
    EXPECT_EQ(kennel->mRepairing, 1);
    EXPECT_EQ(account->mCash, 1000);
    EXPECT_EQ(count(t_BuildingsRepairs), 1);
    kennel->mCondition = 2;
    EXPECT_EQ(kennel->repairCost(), 150);
    kennel->orderRepair();
    EXPECT_EQ(account->mCash, 850);
    EXPECT_EQ(money(t_BuildingsRepairs), -150);
    EXPECT_EQ(count(t_BuildingsRepairs), 2);
    // One floating amount, for the one transaction that moved money.
    EXPECT_EQ(account->mAmounts.size(), 1u);
}

TEST_F(Services, CleaningChargesEachOrderButIsNotCounted)
{
    kennel->orderCleaning();
    kennel->orderCleaning();
    EXPECT_EQ(account->mCash, 920);
    EXPECT_EQ(money(t_Other), -80);
    EXPECT_EQ(count(t_Other), 0);
    kennel->newDay();
    EXPECT_EQ(kennel->mCleanness, 7);
}

TEST_F(Services, TheServiceBuildingsMakeCleaningAndRepairsFree)
{
    data.write("data/game/Buildings/OtherBuilding1.txt", ParkTestData::buildingText("Cleaners", "Other", -1));
    data.write("data/game/Buildings/OtherBuilding2.txt", ParkTestData::buildingText("Workshop", "Other", -1));
    data.writeDefault("[building]\nDogHouse1.txt\n\n[building]\nOtherBuilding1.txt\n\n[building]\nOtherBuilding2.txt\n\n");
    storage = ParkTestData::load();
    account = storage->mGlobalSettings->mCashAccount;
    kennel = storage->mParkBuildings[0];
    kennel->mCondition = 3;
    kennel->orderCleaning();
    kennel->orderRepair();
    EXPECT_EQ(kennel->mCleaning, 1);
    EXPECT_EQ(kennel->mRepairing, 1);
    EXPECT_EQ(account->mCash, 1000);
    EXPECT_EQ(storage->mBalanceThisMonth->total(), 0);
    EXPECT_EQ(storage->mStatThisMonth->total(), 0);
}

TEST_F(Services, PromotionsAndRewardsAreBooked)
{
    Promotion* promotion = storage->mPromotions[2];
    promotion->buy();
    EXPECT_EQ(promotion->mDaysLeft, 15);
    EXPECT_EQ(account->mCash, 700);
    EXPECT_EQ(money(t_ParkPromotion), -300);
    EXPECT_EQ(count(t_ParkPromotion), 1);
    storage->mAchievements[1]->giveReward();
    EXPECT_EQ(account->mCash, 1200);
    EXPECT_EQ(money(t_Other), 500);
    EXPECT_EQ(count(t_Other), 1);
}

} // namespace

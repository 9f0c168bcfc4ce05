#include "ParkTestData.h"

#include "game/CashAccount.h"
#include "game/DataAchievement.h"
#include "game/DataAnimal.h"
#include "game/DataBuilding.h"

#include <gtest/gtest.h>

namespace {

class Requirements : public testing::Test {
protected:
    void SetUp() override
    {
        data.writeDefault();
        storage = ParkTestData::load();
        account = storage->mGlobalSettings->mCashAccount;
        dog = storage->mParkAnimals[0];
    }

    int check(const std::wstring& requirements) { return storage->checkRequirements(requirements, &text); }

    ParkTestData data;
    DataStorage* storage = nullptr;
    CashAccount* account = nullptr;
    DataAnimal* dog = nullptr;
    std::wstring text = L"stale";
};

TEST_F(Requirements, EmptyAndZeroAreMet)
{
    EXPECT_EQ(check(L""), 1);
    EXPECT_EQ(text, L"");
    EXPECT_EQ(check(L"0"), 1);
    EXPECT_EQ(storage->checkRequirements(L"0+0"), 1);
}

TEST_F(Requirements, BuildingAndCashTermsExplainWhatIsMissing)
{
    storage->mParkBuildings.push_back(storage->mBuildingDefinitions[3]); // the vet
    account->mCash = 400;
    EXPECT_EQ(check(L"b:OtherVet.txt+$:500"), 0);
    EXPECT_EQ(text, L"Cash 500 coins");
    EXPECT_EQ(check(L"b:DogHouse2.txt+$:500+b:NoSuch.txt"), 0);
    EXPECT_EQ(text, L"Building: Villa, Cash 500 coins, Building: ");
    // Only the part after the last "/" counts, compared exactly.
    EXPECT_EQ(check(L"b:othervet.txt"), 0);
    EXPECT_EQ(check(L"b:OtherVet.txt"), 1);
    EXPECT_EQ(text, L"");
}

TEST_F(Requirements, CashCountsTheLoanAgainstIt)
{
    account->mCash = 100;
    account->mLoan = 200;
    EXPECT_EQ(check(L"$:0"), 0);
    account->mLoan = 100;
    EXPECT_EQ(check(L"$:0"), 1);
}

TEST_F(Requirements, AllMeansExactlyOneAchievementIsLeft)
{
    EXPECT_EQ(check(L"all"), 0);
    storage->mAchievements[0]->mDone = 1;
    EXPECT_EQ(check(L"all"), 1);
    storage->mAchievements[1]->mDone = 1;
    EXPECT_EQ(check(L"all"), 0);
}

TEST_F(Requirements, RankingPlaceAndVisitors)
{
    for (int place : {1, 2, 3}) {
        storage->mPlayerPlace = place;
        EXPECT_EQ(check(L"pr:3"), 1);
    }
    storage->mPlayerPlace = 4;
    EXPECT_EQ(check(L"pr:3"), 0);
    // An unmet place or visitor count is named, so a card never reads "Required:" alone.
    EXPECT_EQ(text, L"Place 3");
    PublicManager* visitors = Singleton<PublicManager>::get();
    visitors->mVisitors = 19;
    EXPECT_EQ(check(L"p:20"), 0);
    EXPECT_EQ(text, L"Visitors 20");
    EXPECT_EQ(check(L"b:DogHouse2.txt+pr:3+p:20"), 0);
    EXPECT_EQ(text, L"Building: Villa, Place 3, Visitors 20");
    visitors->mVisitors = 20;
    EXPECT_EQ(check(L"p:20"), 1);
    visitors->mVisitors = 0;
}

TEST_F(Requirements, AnimalsAndTricks)
{
    EXPECT_EQ(check(L"a:dog:1"), 1);
    EXPECT_EQ(check(L"a:dog:2"), 0);
    EXPECT_EQ(check(L"a:Dog:1"), 0);
    dog->mTrickFees[0] = 5;
    dog->mTrickFees[1] = 0;
    dog->mTrickFees[2] = 3;
    EXPECT_EQ(check(L"tt:dog:2"), 1);
    EXPECT_EQ(check(L"tt:dog:3"), 0);
    EXPECT_EQ(check(L"t$:dog:9"), 0);
    EXPECT_EQ(check(L"t$:dog:8"), 1);
    EXPECT_EQ(check(L"tt:cat:1"), 0);
    EXPECT_EQ(check(L"tta:2"), 1);
    EXPECT_EQ(check(L"ta$:8"), 1);
    EXPECT_EQ(check(L"ta$:9"), 0);
}

TEST_F(Requirements, MalformedTermsAreFalseNotFatal)
{
    for (const wchar_t* bad : {L"$", L"$:x", L"a:dog", L"a:dog:two", L"tt", L"pr:", L"p:1e3", L"b", L"zzz:1",
                               L"tt:dog:", L"$:99999999999", L":", L"::+0"})
        EXPECT_EQ(check(bad), 0) << bad;
    // Every term is evaluated, also after a false one.
    account->mCash = 0;
    EXPECT_EQ(check(L"zzz+$:10+b:OtherVet.txt"), 0);
    EXPECT_EQ(text, L"Cash 10 coins, Building: Vet");
}

} // namespace

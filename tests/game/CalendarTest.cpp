#include "ParkTestData.h"

#include "game/DataAnimal.h"
#include "game/DataBuilding.h"
#include "game/DataRankingPark.h"
#include "game/GameDate.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(GameDate, AdvancesAcrossMonthsAndYearsWithoutLeapDays)
{
    ParkTestData data;
    data.writeDefault();
    DataStorage* storage = ParkTestData::load();
    GameDate* date = storage->mGlobalSettings->mDate;
    ASSERT_EQ(date->mDay, 28);
    ASSERT_EQ(date->mMonth, 2);
    storage->mBalanceThisMonth->mValues[t_PetsHosted] = 77;
    date->advance();
    EXPECT_EQ(date->mDay, 1);
    EXPECT_EQ(date->mMonth, 3);
    EXPECT_EQ(date->mDaysElapsed, 1);
    // The month was closed: this month's record became last month's.
    EXPECT_EQ(storage->mBalanceLastMonth->mValues[t_PetsHosted], 77);
    EXPECT_EQ(storage->mBalanceThisMonth->mValues[t_PetsHosted], 0);

    GameDate december(31, 12, 2010);
    december.advance();
    EXPECT_EQ(december.mDay, 1);
    EXPECT_EQ(december.mMonth, 1);
    EXPECT_EQ(december.mYear, 2011);
    EXPECT_EQ(december.mStartYear, 2010);

    GameDate year(1, 1, 2012);
    for (int i = 0; i < 365; ++i)
        year.advance();
    EXPECT_EQ(year.mDay, 1);
    EXPECT_EQ(year.mMonth, 1);
    EXPECT_EQ(year.mYear, 2013);
}

TEST(GameDate, OffersNewAnimalsEveryPeriod)
{
    ParkTestData data;
    data.writeDefault();
    DataStorage* storage = ParkTestData::load();
    GameDate* date = storage->mGlobalSettings->mDate;
    for (int day = 1; day <= 6; ++day)
        date->advance();
    EXPECT_TRUE(storage->mAnimalsForSale.empty());
    date->advance();
    // At least one offer per species, all five species.
    EXPECT_GE(storage->mAnimalsForSale.size(), 5u);
    EXPECT_EQ(storage->mAnimalsForSale.front()->mType, L"dog");
    EXPECT_EQ(storage->mAnimalsForSale.back()->mType, L"horse");

    // A period of 0 counts as 1: offers every day, no division by zero.
    storage->mGlobalSettings->mDaysBetweenNewAnimals = 0;
    for (DataAnimal* offer : storage->mAnimalsForSale)
        storage->retire(offer);
    storage->mAnimalsForSale.clear();
    date->advance();
    EXPECT_FALSE(storage->mAnimalsForSale.empty());
}

TEST(GameDate, ValidatesAndFormatsDates)
{
    ParkTestData data;
    EXPECT_TRUE(GameDate::isValid(28, 2, 2012));
    EXPECT_FALSE(GameDate::isValid(29, 2, 2012));
    EXPECT_FALSE(GameDate::isValid(1, 13, 2010));
    EXPECT_FALSE(GameDate::isValid(0, 5, 2010));
    EXPECT_EQ(GameDate(5, 9, 2010).toText(), L"5 September 2010");
    EXPECT_EQ(GameDate(1, 1, 2011).toText(), L"1 January 2011");
    // A month missing from the texts table.
    EXPECT_EQ(GameDate(3, 4, 2010).toText(), L"3 missing text 2010");
    // A month's name of any length is cut with the text, never read past.
    data.write("data/dat/texts.dat", "july " + std::string(300, 'J') + "\n");
    textsManager.load("data/dat/texts.dat");
    std::wstring july = GameDate(4, 7, 2010).toText();
    EXPECT_EQ(july.size(), 199u);
    EXPECT_EQ(july.substr(0, 4), L"4 JJ");
    EXPECT_EQ(july.find_first_not_of(L"J", 2), std::wstring::npos);
    data.write("data/dat/texts.dat", "");
    textsManager.load("data/dat/texts.dat");
}

TEST(DataRankingPark, RivalsFollowABoundedWave)
{
    ParkTestData data;
    data.writeDefault();
    DataStorage* storage = ParkTestData::load();
    storage->mGlobalSettings->mMaxPopularity = 100.0f;
    DataRankingPark still(L"Still", 0, 0);
    still.mSpeed = 0.0f;
    still.update(4824.2f);
    EXPECT_EQ(still.mPopularity, 50.0f);
    for (int seed = 0; seed < 50; ++seed) {
        std::srand(seed);
        DataRankingPark rival(L"Rival", 0, 0);
        EXPECT_GE(rival.mSpeed, 0.0f);
        EXPECT_LT(rival.mSpeed, 0.01f);
        for (float t = 0.0f; t < 5000.0f; t += 97.3f) {
            rival.update(t);
            EXPECT_GE(rival.mPopularity, 0.0f);
            EXPECT_LE(rival.mPopularity, 100.0f);
        }
    }
}

TEST(DataRankingPark, RankingRunsFromTheHighestPopularity)
{
    DataRankingPark a(L"A", 10, 0), b(L"B", 30, 0), c(L"C", 20, 1);
    std::vector<DataRankingPark*> parks{&a, &b, &c};
    std::sort(parks.begin(), parks.end(), DataRankingPark::better);
    EXPECT_EQ(parks[0], &b);
    EXPECT_EQ(parks[1], &c);
    EXPECT_EQ(parks[2], &a);
    EXPECT_FALSE(DataRankingPark::better(&a, &a));
}

} // namespace

#include "game/DataRankingPark.h"

#include "game/DataStorage.h"
#include "game/GameDate.h"
#include "game/GlobalSettings.h"
#include "game/Profiles.h"
#include "toolkit/utils/TextsManager.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// The rivals' curves advance once a month from the calendar's start year: 0.2 per month. Worked
// out in double so that no year read from a saved game can overflow.
float curveTime(const GameDate& date)
{
    return static_cast<float>((static_cast<double>(date.mStartYear) * 12.0 + date.mMonth) * 0.2);
}

} // namespace

DataRankingPark::DataRankingPark(const std::wstring& name, int popularity, int player)
    : mName(name), mPopularity(static_cast<float>(popularity)), mSpeed((std::rand() % 100) * 0.0001f), mPlayer(player)
{
}

void DataRankingPark::update(float t)
{
    float m = Singleton<DataStorage>::get()->mGlobalSettings->mMaxPopularity;
    mPopularity = m * 0.5f + m * 0.5f * std::sin(mSpeed * t + mSpeed);
    // Below 0, or not a number from broken rules, counts as 0: the ranking's sort needs an order.
    if (!(mPopularity > 0.0f))
        mPopularity = 0.0f;
}

bool DataRankingPark::better(const DataRankingPark* a, const DataRankingPark* b)
{
    return a->mPopularity > b->mPopularity;
}

void DataStorage::rankParks()
{
    computePopularity();
    if (mCurrentProfile < 0 || mCurrentProfile >= static_cast<int>(mProfiles.size()))
        return;
    const float t = curveTime(*mGlobalSettings->mDate);
    std::vector<DataRankingPark*> ranking;
    for (DataRankingPark* rival : mGlobalSettings->mRankingParks) {
        rival->update(t);
        ranking.push_back(rival);
    }
    DataRankingPark player(mProfiles[mCurrentProfile]->mName + L" " + textsManager.get(L"'s_Park"), mPopularity, 1);
    ranking.push_back(&player);
    std::sort(ranking.begin(), ranking.end(), DataRankingPark::better);
    mRanking.clear();
    for (size_t i = 0; i < ranking.size(); ++i) {
        if (ranking[i]->mPlayer == 1)
            mPlayerPlace = static_cast<int>(i) + 1;
        mRanking.push_back(*ranking[i]);
    }
}

#include "game/DataRankingPark.h"

#include "game/DataStorage.h"
#include "game/GlobalSettings.h"

#include <cmath>
#include <cstdlib>

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

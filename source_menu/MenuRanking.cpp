#include "source_menu/MenuRanking.h"

#include "game/DataRankingPark.h"
#include "game/DataStorage.h"
#include "game/GameDate.h"
#include "game/GlobalSettings.h"
#include "game/Profiles.h"
#include "toolkit/utils/TextsManager.h"

#include <algorithm>
#include <vector>

void MenuRanking::buildRanking()
{
    DataStorage* storage = Singleton<DataStorage>::get();
    storage->computePopularity();
    if (storage->mCurrentProfile < 0 || storage->mCurrentProfile >= static_cast<int>(storage->mProfiles.size()))
        return;
    GlobalSettings* settings = storage->mGlobalSettings;
    float t = (settings->mDate->mStartYear * 12 + settings->mDate->mMonth) * 0.2f;
    std::vector<DataRankingPark*> ranking;
    for (DataRankingPark* rival : settings->mRankingParks) {
        rival->update(t);
        ranking.push_back(rival);
    }
    DataRankingPark player(storage->mProfiles[storage->mCurrentProfile]->mName + L" " +
                               textsManager.get(L"'s_Park"),
                           storage->mPopularity, 1);
    ranking.push_back(&player);
    std::sort(ranking.begin(), ranking.end(), DataRankingPark::better);
    for (size_t i = 0; i < ranking.size(); ++i)
        if (ranking[i]->mPlayer == 1)
            mPlayerPlace = static_cast<int>(i) + 1;
}

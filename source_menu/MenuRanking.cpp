#include "source_menu/MenuRanking.h"

#include "game/DataRankingPark.h"
#include "game/DataStorage.h"
#include "game/GameDate.h"
#include "game/GlobalSettings.h"
#include "game/Profiles.h"
#include "source_menu/FinanceScreen.h"
#include "source_menu/TextTable.h"
#include "source_menu/Tutorial.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

const int kTutorialMessage = -3;

// The rivals' curves advance once a month from the calendar's start year: 0.2 per month. Worked
// out in double so that no year read from a saved game can overflow.
float curveTime(const GameDate& date)
{
    return static_cast<float>((static_cast<double>(date.mStartYear) * 12.0 + date.mMonth) * 0.2);
}

// The popularity shown: truncated toward zero, held within int.
int shownPopularity(float popularity)
{
    if (!(popularity > 0.0f))
        return 0;
    if (popularity >= static_cast<float>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(popularity);
}

} // namespace

void MenuRanking::init(const char* path)
{
    _MenuRanking::init(path);
    mTable = new TextTable(mLabels1, mWidget12, mWidget11);
}

void MenuRanking::buildRanking()
{
    DataStorage* storage = Singleton<DataStorage>::get();
    storage->computePopularity();
    if (storage->mCurrentProfile < 0 || storage->mCurrentProfile >= static_cast<int>(storage->mProfiles.size()))
        return;
    GlobalSettings* settings = storage->mGlobalSettings;
    const float t = curveTime(*settings->mDate);
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
    if (mTable)
        mTable->clear();
    for (size_t i = 0; i < ranking.size(); ++i) {
        if (ranking[i]->mPlayer == 1) {
            mPlayerPlace = static_cast<int>(i) + 1;
            if (mTable)
                mTable->selectedRow = static_cast<int>(i);
        }
        if (mTable)
            mTable->addRow({std::to_wstring(i + 1) + L".", ranking[i]->mName,
                            std::to_wstring(shownPopularity(ranking[i]->mPopularity))});
    }
}

void MenuRanking::reset()
{
    _MenuRanking::reset();
    if (!mTable)
        return;
    mTable->alternate = 1;
    FinanceScreen::showCashAndLoan(mWidget3, mWidget4);
}

void MenuRanking::update()
{
    if (FinanceScreen::isHeld(*this))
        return;
    _MenuRanking::update();
    if (FinanceScreen::hasJustAppeared(*this))
        Singleton<Tutorial>::get()->showMessage(kTutorialMessage);
}

void MenuRanking::draw()
{
    if (!isVisible())
        return;
    mTable->hideWidgets();
    mWidget13->mWrap = 0;
    _MenuRanking::draw();
    mTable->draw();
}

void MenuRanking::onWidget0(int, int current)
{
    FinanceScreen::closeOnRelease(current);
}

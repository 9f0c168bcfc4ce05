#include "source_menu/MenuRanking.h"

#include "game/DataRankingPark.h"
#include "game/DataStorage.h"
#include "source_menu/FinanceScreen.h"
#include "source_menu/TextTable.h"
#include "source_menu/Tutorial.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <limits>
#include <string>
#include <vector>

namespace {

const int kTutorialMessage = -3;

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

void MenuRanking::showRanking()
{
    const std::vector<DataRankingPark>& ranking = Singleton<DataStorage>::get()->mRanking;
    if (!mTable || ranking.empty())
        return;
    mTable->clear();
    for (size_t i = 0; i < ranking.size(); ++i) {
        if (ranking[i].mPlayer == 1)
            mTable->selectedRow = static_cast<int>(i);
        mTable->addRow({std::to_wstring(i + 1) + L".", ranking[i].mName,
                        std::to_wstring(shownPopularity(ranking[i].mPopularity))});
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

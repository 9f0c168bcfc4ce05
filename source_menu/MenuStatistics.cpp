#include "source_menu/MenuStatistics.h"

#include "game/DataStorage.h"
#include "game/MonthBalance.h"
#include "source_menu/FinanceScreen.h"
#include "source_menu/TextTable.h"
#include "source_menu/Tutorial.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <string>
#include <vector>

namespace {

const int kTutorialMessage = -5;
const int kSeparator = -1;

// The rows in order: a count word of the records, or a separator. Buildings maintenance (word 1)
// is no transaction of the player's and word 11 is shown nowhere.
const int kRows[] = {t_NewBuildings,    t_BuildingsRepairs, t_BuildingsSold,    kSeparator, t_PetsHosted,
                     t_PetsFood,        t_PetsMedicalCare,  t_TricksTeached,    kSeparator, t_RestaurantSales,
                     t_OwnersHotelSales, kSeparator,        t_ParkTicketsSale,  kSeparator, t_ParkPromotion,
                     kSeparator,        t_Other};

const wchar_t* rowKey(int word)
{
    static const wchar_t* const keys[MonthBalance::kWords] = {
        L"t_NewBuildings",     L"t_BuildingsMaintenance", L"t_BuildingsRepairs", L"t_BuildingsSold",
        L"t_PetsHosted",       L"t_PetsFood",             L"t_PetsMedicalCare",  L"t_TricksTeached",
        L"t_RestaurantSales",  L"t_OwnersHotelSales",     L"t_ParkTicketsSale",  L"",
        L"t_ParkPromotion",    L"t_Other"};
    return keys[word];
}

int word(const MonthBalance* record, int w)
{
    return record ? record->mValues[w] : 0;
}

} // namespace

void MenuStatistics::init(const char* path)
{
    _MenuStatistics::init(path);
    mTable = new TextTable(mLabels1, mWidget6, mWidget1);
}

void MenuStatistics::reset()
{
    _MenuStatistics::reset();
    if (!mTable)
        return;
    const DataStorage* storage = Singleton<DataStorage>::get();
    mTable->clear();
    for (int row : kRows) {
        if (row == kSeparator)
            mTable->addRow({L"", L"0", L"0"});
        else
            mTable->addRow({rowKey(row), std::to_wstring(word(storage->mStatLastMonth, row)),
                            std::to_wstring(word(storage->mStatThisMonth, row))});
    }
    FinanceScreen::showCashAndLoan(mWidget12, mWidget13);
}

void MenuStatistics::update()
{
    if (FinanceScreen::isHeld(*this))
        return;
    _MenuStatistics::update();
    if (FinanceScreen::hasJustAppeared(*this))
        Singleton<Tutorial>::get()->showMessage(kTutorialMessage);
}

void MenuStatistics::draw()
{
    if (!isVisible())
        return;
    mTable->hideWidgets();
    mWidget3->mWrap = 0;
    _MenuStatistics::draw();
    mTable->draw();
}

void MenuStatistics::onWidget2(int, int current)
{
    FinanceScreen::closeOnRelease(current);
}

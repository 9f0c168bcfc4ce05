#include "source_menu/MenuBank.h"

// Sections: report rows - init and reset - update: answers and clicks - draw.

#include "game/CashAccount.h"
#include "game/DataStorage.h"
#include "game/GlobalSettings.h"
#include "game/MonthBalance.h"
#include "game/Promotion.h"
#include "render/external/Sounds.h"
#include "source_menu/Button.h"
#include "source_menu/FinanceScreen.h"
#include "source_menu/MenuManager.h"
#include "source_menu/Popup.h"
#include "source_menu/ScrollPopup.h"
#include "source_menu/TextTable.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <algorithm>

namespace {

const int kButtonKind = 0;
const int kButtonStyle = 6;

// The report's money words in row order; -1 is a separator row. Word 11 has no row.
const int kReportWords[] = {t_NewBuildings,   t_BuildingsMaintenance, t_BuildingsRepairs, t_BuildingsSold,
                            -1,               t_PetsHosted,           t_PetsFood,         t_PetsMedicalCare,
                            t_TricksTeached,  -1,                     t_RestaurantSales,  t_OwnersHotelSales,
                            -1,               t_ParkTicketsSale,      -1,                 t_ParkPromotion,
                            -1,               t_Other,                -1};

const wchar_t* const kRowKeys[MonthBalance::kWords] = {
    L"t_NewBuildings",    L"t_BuildingsMaintenance", L"t_BuildingsRepairs", L"t_BuildingsSold",
    L"t_PetsHosted",      L"t_PetsFood",             L"t_PetsMedicalCare",  L"t_TricksTeached",
    L"t_RestaurantSales", L"t_OwnersHotelSales",     L"t_ParkTicketsSale",  L"",
    L"t_ParkPromotion",   L"t_Other"};

std::wstring text(const wchar_t* key)
{
    return textsManager.get(key);
}

CashAccount* account()
{
    return Singleton<DataStorage>::get()->mGlobalSettings->mCashAccount;
}

// Promotion number k (1 to 3) of the park's list.
Promotion* promotion(int k)
{
    return Singleton<DataStorage>::get()->mPromotions[k - 1];
}

} // namespace

// ---- report rows

std::vector<std::vector<std::wstring>> MenuBank::reportRows()
{
    const DataStorage* storage = Singleton<DataStorage>::get();
    const MonthBalance* last = storage->mBalanceLastMonth;
    const MonthBalance* current = storage->mBalanceThisMonth;
    std::vector<std::vector<std::wstring>> rows;
    for (int word : kReportWords) {
        if (word < 0)
            rows.push_back({L"", L"0", L"0"});
        else
            rows.push_back({kRowKeys[word], std::to_wstring(last->mValues[word]),
                            std::to_wstring(current->mValues[word])});
    }
    rows.push_back({L"t_Total", std::to_wstring(last->total()), std::to_wstring(current->total())});
    return rows;
}

int MenuBank::promotionCount()
{
    return std::min(static_cast<int>(Singleton<DataStorage>::get()->mPromotions.size()), Promotion::kOffered);
}

// ---- init and reset

MenuBank::~MenuBank()
{
    delete moneyTable;
    delete borrowButton;
    delete repayButton;
    for (Button* button : promotionButtons)
        delete button;
}

void MenuBank::init(const char* path)
{
    borrowAmount = repayAmount = promotionAnswer = promotionChoice = 0;
    _MenuBank::init(path);
    moneyTable = new TextTable({mWidget12, mWidget13, mWidget14}, mWidget11, mWidget10);
    borrowButton = new Button(mHelper3, kButtonKind, kButtonStyle);
    borrowButton->setText(text(L"Borrow"));
    repayButton = new Button(mHelper4, kButtonKind, kButtonStyle);
    repayButton->setText(text(L"Repay"));
    for (WidgetHelper* place : {mHelper0, mHelper1, mHelper2})
        promotionButtons.push_back(new Button(place, kButtonKind, kButtonStyle));
}

void MenuBank::reset()
{
    _MenuBank::reset();
    const DataStorage* storage = Singleton<DataStorage>::get();
    // Nothing to show before the layout is read or the park's data is loaded (the daily step
    // resets every finance screen, read or not).
    if (!moneyTable || !storage->mGlobalSettings || !storage->mBalanceThisMonth || !storage->mBalanceLastMonth)
        return;
    moneyTable->clear();
    for (const std::vector<std::wstring>& row : reportRows())
        moneyTable->addRow(row);
    WidgetLabel* names[Promotion::kOffered] = {mWidget5, mWidget6, mWidget7};
    const int count = promotionCount();
    for (int k = 1; k <= Promotion::kOffered; ++k) {
        if (k <= count) {
            names[k - 1]->setText(promotion(k)->mName, 0, 1);
            promotionButtons[k - 1]->setText(std::to_wstring(promotion(k)->mCost));
        } else {
            names[k - 1]->setText(L"", 0, 1);
        }
    }
    FinanceScreen::showCashAndLoan(mWidget17, mWidget18);
}

// ---- update: answers and clicks

void MenuBank::update()
{
    // A popup's answer is taken only once the value popup has fully gone.
    if (FinanceScreen::isHeld(*this) || Singleton<ScrollPopup>::get()->isVisible())
        return;
    _MenuBank::update();
    FinanceScreen::hasJustAppeared(*this);
    const std::pair<int, int> states = getShowStates();
    // Nothing to apply or offer before the park's data is loaded.
    if (!moneyTable || !Singleton<DataStorage>::get()->mGlobalSettings)
        return;
    applyAnswers();
    if (states.second != kShowShown)
        return;
    // A click that opens a popup ends the step: the popup holds every other click.
    if (askBorrow() || askRepay())
        return;
    askPromotion();
}

// The bank's rules hold each answer to what the bank allows when it is applied; the screen
// refills after every answer.
void MenuBank::applyAnswers()
{
    CashAccount* cash = account();
    if (borrowAmount > 0 && cash->borrow(borrowAmount))
        reset();
    if (repayAmount > 0) {
        cash->repay(repayAmount);
        reset();
    }
    if (promotionAnswer > 0) {
        if (promotionChoice <= promotionCount())
            Singleton<DataStorage>::get()->startPromotion(promotionChoice);
        reset();
        promotionAnswer = 0;
    }
    borrowAmount = repayAmount = 0;
}

bool MenuBank::askBorrow()
{
    if (account()->mLoan != 0 || !borrowButton->isClicked(0.0f, 0.0f, 1))
        return false;
    ScrollPopup* popup = Singleton<ScrollPopup>::get();
    popup->mode = 0;
    popup->setTitle(text(L"howmuchborrow"));
    popup->setCaller(this);
    popup->setResult(&borrowAmount);
    popup->setRange(0, 0, CashAccount::kMaxLoan);
    Singleton<MenuManager>::get()->runCommand(L"scrollpopupstart");
    return true;
}

// With no cash to repay with (m = 0) the popup would offer an empty range: nothing opens.
bool MenuBank::askRepay()
{
    CashAccount* cash = account();
    if (cash->mLoan <= 0 || !repayButton->isClicked(0.0f, 0.0f, 1))
        return false;
    const int most = std::min(cash->mCash, cash->mLoan);
    if (most <= 0)
        return false;
    ScrollPopup* popup = Singleton<ScrollPopup>::get();
    popup->mode = 0;
    popup->setTitle(text(L"howmuchrepay"));
    popup->setCaller(this);
    popup->setResult(&repayAmount);
    popup->setRange(most, 0, most);
    Singleton<MenuManager>::get()->runCommand(L"scrollpopupstart");
    return true;
}

// Buttons 1 and 3 sound their own click, button 2 only when its promotion is affordable.
bool MenuBank::askPromotion()
{
    const DataStorage* storage = Singleton<DataStorage>::get();
    const int count = promotionCount();
    for (int k = 1; k <= count; ++k) {
        if (storage->mGlobalSettings->mActivePromotion != -1)
            return false;
        if (!promotionButtons[k - 1]->isClicked(0.0f, 0.0f, k != 2 ? 1 : 0))
            continue;
        if (!account()->canPay(promotion(k)->mCost))
            continue;
        Singleton<Sounds>::get()->play("click");
        Popup* popup = Singleton<Popup>::get();
        popup->setMode(1, 0);
        popup->setTitle(text(L"promotioninformation"));
        popup->setText(promotion(k)->mDescription);
        popup->setResult(&promotionAnswer);
        Singleton<MenuManager>::get()->runCommand(L"popupstart");
        promotionChoice = k;
        return true;
    }
    return false;
}

void MenuBank::onWidget0(int, int current)
{
    FinanceScreen::closeOnRelease(current);
}

// ---- draw

void MenuBank::draw()
{
    if (!isVisible() || !moneyTable)
        return;
    // The table's own widgets are drawn by the table only.
    for (WidgetBase* widget : {static_cast<WidgetBase*>(mWidget10), static_cast<WidgetBase*>(mWidget11),
                               static_cast<WidgetBase*>(mWidget12), static_cast<WidgetBase*>(mWidget13),
                               static_cast<WidgetBase*>(mWidget14)})
        widget->setVisible(0);
    // Before the park's data is loaded only the screen's own pictures are drawn.
    if (!Singleton<DataStorage>::get()->mGlobalSettings) {
        mWidget4->setVisible(0);
        _MenuBank::draw();
        return;
    }
    const int active = Singleton<DataStorage>::get()->mGlobalSettings->mActivePromotion;
    const int count = promotionCount();
    WidgetLabel* names[Promotion::kOffered] = {mWidget5, mWidget6, mWidget7};
    for (int k = 1; k <= Promotion::kOffered; ++k)
        names[k - 1]->setVisible(active == -1 && k <= count ? 1 : 0);
    mWidget1->mWrap = 0;
    const bool running = active >= 1 && active <= count;
    mWidget4->setVisible(0);
    _MenuBank::draw();
    moneyTable->draw();

    const float4 colour = mWidget1->getColor();
    CashAccount* cash = account();
    if (cash->mLoan == 0) {
        borrowButton->setText(text(L"Borrow"));
        borrowButton->draw(colour.w, 0.0f, 0.0f, 1);
    } else if (cash->mLoan > 0) {
        repayButton->setText(text(L"Repay") + L" (" + std::to_wstring(std::min(cash->mCash, cash->mLoan)) + L")");
        repayButton->draw(colour.w, 0.0f, 0.0f, 1);
    }
    if (!running) {
        for (int k = 1; k <= count; ++k)
            promotionButtons[k - 1]->draw(colour.w, 0.0f, 0.0f, 1);
    } else {
        mWidget4->setVisible(1);
        mWidget4->setText(promotion(active)->mDescriptionWhenUsed, 0, 1);
        mWidget4->setColor(colour.x, colour.y, colour.z, colour.w);
        mWidget4->draw();
    }
}

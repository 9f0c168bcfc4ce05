#include "source_menu/FinanceScreen.h"

#include "core/Singleton.h"
#include "game/CashAccount.h"
#include "game/DataStorage.h"
#include "game/GlobalSettings.h"
#include "render/external/Sounds.h"
#include "source_menu/MenuDateBar.h"
#include "source_menu/MenuManager.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/widgets/Container.h"
#include "toolkit/widgets/WidgetLabel.h"

namespace FinanceScreen {

bool isHeld(const Container& screen)
{
    const MenuDateBar* bar = Singleton<MenuDateBar>::get();
    return !screen.isEnabled() || bar->modal || bar->paused;
}

bool hasJustAppeared(Container& screen)
{
    const std::pair<int, int> states = screen.getShowStates();
    if (states.first == kShowHidden && states.second == kShowAppearing)
        screen.Container::setVisible(1);
    return states.first == kShowAppearing && states.second == kShowShown;
}

void closeOnRelease(int current)
{
    if (current != 3)
        return;
    Singleton<MenuManager>::get()->closeAllPanels();
    Singleton<Sounds>::get()->play("exit");
}

// The currency text is an argument, never a format.
std::wstring money(int amount)
{
    return std::to_wstring(amount) + L" " + textsManager.get(L"currency");
}

void showCashAndLoan(WidgetLabel* cash, WidgetLabel* loan)
{
    const GlobalSettings* settings = Singleton<DataStorage>::get()->mGlobalSettings;
    const CashAccount* account = settings ? settings->mCashAccount : nullptr;
    if (!account || !cash || !loan)
        return;
    cash->setText(money(account->mCash), 0, 1);
    loan->setText(money(account->mLoan), 0, 1);
}

} // namespace FinanceScreen

#include "source_menu/MenuManager.h"

#include "source_menu/MenuBuildingBuySell.h"
#include "source_menu/MenuBuildings.h"
#include "source_menu/MenuBuyFood.h"
#include "source_menu/MenuOptions.h"
#include "source_menu/MenuOrange.h"
#include "source_menu/MenuPetBuySell.h"
#include "source_menu/MenuPetsList.h"
#include "source_menu/MenuPetsShow.h"
#include "source_menu/Popup.h"

void MenuManager::runCommand(std::wstring command)
{
    if (command == L"exit" && mExitBlocked)
        return;
    if (command == mCurrentMenu)
        return;
    if (command == L"popupstart")
        Singleton<Popup>::get()->savedMenu = mCurrentMenu;
    mCurrentMenu = command == L"scrollpopupend" ? L"nomenu" : command;
}

bool MenuManager::isAnyPanelOpen() const
{
    return Singleton<MenuPetsShow>::get()->isVisible() || Singleton<MenuOrange>::get()->isVisible() ||
           Singleton<MenuBuildingBuySell>::get()->isVisible() || Singleton<MenuPetsList>::get()->isVisible() ||
           Singleton<MenuBuildings>::get()->isVisible() || Singleton<MenuBuyFood>::get()->isVisible() ||
           Singleton<MenuPetBuySell>::get()->isVisible() || Singleton<MenuOptions>::get()->isVisible();
}

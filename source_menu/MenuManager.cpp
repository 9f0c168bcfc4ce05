#include "source_menu/MenuManager.h"

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

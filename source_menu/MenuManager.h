#pragma once

// The command router: screens, the park rules and the main loop send it command words.
// Only what the park rules use of it so far: the current menu word, and the popup's saved menu
// on "popupstart".

#include "core/Singleton.h"

#include <string>

class MenuManager : public Singleton<MenuManager> {
public:
    MenuManager() = default;

    // Records the command as the current menu; a command equal to the current one, or "exit"
    // while exiting is blocked, is ignored.
    void runCommand(std::wstring command);
    const std::wstring& currentMenu() const { return mCurrentMenu; }
    // True while one of the management panels is visible; pointing into the park is ignored then.
    bool isAnyPanelOpen() const;

    int mPetsShowOpened = 0;
    int mCreditsPending = 0;
    std::wstring mCurrentMenu = L"nomenu";
    int mExitBlocked = 0;
};

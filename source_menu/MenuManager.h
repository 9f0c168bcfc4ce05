#pragma once

// The command router. Screens never show or hide one another: a screen, the park rules or the
// main loop sends a command word, and the router shows and hides the screens of that word
// (transition "game", 250 ms), calls the services that go with it, and records the word as the
// current menu state, which the pointer overlay, the main menu and the camera read.

#include "core/Singleton.h"

#include <string>
#include <vector>

class Container;

class MenuManager : public Singleton<MenuManager> {
public:
    MenuManager() = default;

    // Runs the command table on the word. Every test of the table is made in order, each on the
    // word as earlier tests rewrote it; blocks may call runCommand again, and the outer call's
    // tail runs last. A word equal to the current one is ignored, and so is "exit" while exiting
    // is blocked, while another popup is open or while the credits come. A popup that closes over
    // a management panel still open leaves the panel's word as the menu state.
    void runCommand(std::wstring command);
    // The program is asked to end (a terminate signal): the park being played is saved, as the
    // confirmed quit saves it; the caller then ends the frame loop.
    void quitAtOnce();
    // Hides every management panel and the options screen; the menu state becomes "nomenu".
    void closeAllPanels();
    // True while a management frame or the options screen is visible: the park view then ignores
    // pointing into the park.
    bool isAnyPanelOpen() const;
    const std::wstring& currentMenu() const { return mCurrentMenu; }

    int mPetsShowOpened = 0;    // from "petsshow" until "teachend"
    int mCreditsPending = 0;    // the quit popup's answer over the main-menu screens
    std::wstring mCurrentMenu = L"nomenu";
    int mExitBlocked = 0;       // written by the park view while a building's camera sequence runs

private:
    // Hides every screen of the panel list but the kept ones.
    void hidePanelsExcept(const std::vector<Container*>& kept);
    void openPopupForQuit();
    void endPopup();
    // Whether the panel a management word opened is still coming or shown.
    bool isPanelOfWordOpen(const std::wstring& word) const;
    // Tests 18 to 28: the management words.
    void openManagementScreen(const std::wstring& word);
    // The in-game screens hidden when the player leaves the game; the pause ends with it.
    void hideGameScreens();
};

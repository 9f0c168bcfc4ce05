#include "source_menu/MenuManager.h"

// Sections: screens - the command table - quit popup and popup end - panels.

#include "game/DataStorage.h"
#include "game/GameOptions.h"
#include "game/Profiles.h"
#include "park/GameBackground3D.h"
#include "park/TeachTrick.h"
#include "source_menu/BuildingsDiscription.h"
#include "source_menu/Credits.h"
#include "source_menu/Cursors.h"
#include "source_menu/MainMenuChooseProfile.h"
#include "source_menu/MainMenuCreateProfile.h"
#include "source_menu/MainMenuDeleteProfile.h"
#include "source_menu/MainMenuStart.h"
#include "source_menu/MenuAchievements.h"
#include "source_menu/MenuBank.h"
#include "source_menu/MenuBlueFolds.h"
#include "source_menu/MenuBuildingBuySell.h"
#include "source_menu/MenuBuildingBuySell1.h"
#include "source_menu/MenuBuildingBuySell2.h"
#include "source_menu/MenuBuildings.h"
#include "source_menu/MenuBuildings1.h"
#include "source_menu/MenuBuildings2.h"
#include "source_menu/MenuBuyFood.h"
#include "source_menu/MenuDateBar.h"
#include "source_menu/MenuIngame.h"
#include "source_menu/MenuIngameFold1.h"
#include "source_menu/MenuIngameFold2.h"
#include "source_menu/MenuIngameFold3.h"
#include "source_menu/MenuOptions.h"
#include "source_menu/MenuOrange.h"
#include "source_menu/MenuOrangeFolds.h"
#include "source_menu/MenuPetBuySell.h"
#include "source_menu/MenuPetBuySell1.h"
#include "source_menu/MenuPetsList.h"
#include "source_menu/MenuPetsList1.h"
#include "source_menu/MenuPetsShow.h"
#include "source_menu/MenuPetsShow1.h"
#include "source_menu/MenuRanking.h"
#include "source_menu/MenuStatistics.h"
#include "source_menu/MenuTickets.h"
#include "source_menu/Popup.h"
#include "source_menu/ScrollPopup.h"
#include "source_menu/Tutorial.h"
#include "toolkit/utils/TextsManager.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace {

// The quit popup's answer when it is opened while no main-menu screen is visible; 0 again at
// the end of every popup.
int inGameQuitFlag = 0;

const char* const kDataFolder = "data/game/";

// ---- screens

template <class T>
Container* screen()
{
    return Singleton<T>::get();
}

void show(Container* screen)
{
    screen->setStateAll("game", 2, kTransitionMs);
}

void hide(Container* screen)
{
    screen->setStateAll("game", 0, kTransitionMs);
}

void hideAtOnce(Container* screen)
{
    screen->setStateAll("game", 0, 0);
}

// Hidden in this very step, whatever transition it was in, without waiting for its own update to
// end the hide: a screen still going out drops a show.
void hideNow(Container* screen)
{
    hideAtOnce(screen);
    std::vector<WidgetBase*> widgets(screen->mChildren.begin(), screen->mChildren.end());
    widgets.push_back(screen);
    for (WidgetBase* widget : widgets)
        if (widget->getShowStates().second != kShowHidden)
            widget->setStateDirect(kShowHidden);
    screen->Container::setVisible(0);
    screen->Container::setEnabled(0);
}

// The screens closeAllPanels hides, in the order it hides them.
std::array<Container*, 23> panelList()
{
    return {screen<MenuPetsShow>(),        screen<MenuPetsShow1>(),       screen<MenuOrange>(),
            screen<MenuTickets>(),         screen<MenuBuildingBuySell>(), screen<MenuBuildingBuySell1>(),
            screen<MenuBuildingBuySell2>(), screen<MenuRanking>(),        screen<MenuAchievements>(),
            screen<MenuStatistics>(),      screen<MenuBank>(),            screen<MenuPetsList>(),
            screen<MenuPetsList1>(),       screen<MenuBuildings>(),       screen<MenuBuildings1>(),
            screen<MenuBuildings2>(),      screen<MenuBuyFood>(),         screen<MenuPetBuySell>(),
            screen<MenuPetBuySell1>(),     screen<MenuOrangeFolds>(),     screen<MenuBlueFolds>(),
            screen<MenuOptions>(),         screen<BuildingsDiscription>()};
}

// The current profile, or null when the current index names no profile of the list.
DataProfile* currentProfile()
{
    DataStorage* data = Singleton<DataStorage>::get();
    const int index = data->mCurrentProfile;
    if (index < 0 || index >= static_cast<int>(data->mProfiles.size()))
        return nullptr;
    return data->mProfiles[index];
}

// Saves the park into the current profile's file with the tutorial's progress. A save the
// player asked for tells its failure every time.
void saveCurrentProfile(bool askedByPlayer = false)
{
    DataProfile* profile = currentProfile();
    if (!profile) {
        std::printf("MenuManager: no current profile, nothing saved\n");
        return;
    }
    if (!Singleton<DataStorage>::get()->saveCurrentProfile(askedByPlayer))
        std::printf("MenuManager: the profile %s could not be saved\n", profile->mPath.c_str());
}

bool anyMainMenuScreenVisible()
{
    return Singleton<MainMenuStart>::get()->isVisible() || Singleton<MainMenuChooseProfile>::get()->isVisible()
           || Singleton<MainMenuCreateProfile>::get()->isVisible()
           || Singleton<MainMenuDeleteProfile>::get()->isVisible();
}

// A management word: the screens it keeps from hiding, the tab it selects (or none) and the
// screens it shows, in order.
struct ManagementWord {
    const wchar_t* word;
    std::initializer_list<Container* (*)()> kept;
    int orangeTab;       // MenuOrange::setTab, -1 none
    int blueTabCount;    // MenuBlueFolds::setTabCount, -1 none
    std::initializer_list<Container* (*)()> shown;
};

const ManagementWord kManagementWords[] = {
    {L"finances", {screen<MenuOrange>, screen<MenuOrangeFolds>}, -1, -1,
     {screen<MenuOrange>, screen<MenuOrangeFolds>}},
    {L"tickets", {screen<MenuOrange>, screen<MenuOrangeFolds>, screen<MenuTickets>}, 0, -1,
     {screen<MenuOrange>, screen<MenuOrangeFolds>}},
    {L"bank", {screen<MenuOrange>, screen<MenuOrangeFolds>, screen<MenuBank>}, 1, -1,
     {screen<MenuOrange>, screen<MenuOrangeFolds>}},
    {L"ranking", {screen<MenuOrange>, screen<MenuOrangeFolds>, screen<MenuRanking>}, 4, -1,
     {screen<MenuOrange>, screen<MenuOrangeFolds>}},
    {L"buyfood", {screen<MenuBuyFood>}, -1, -1, {screen<MenuBuyFood>}},
    {L"petsshow", {screen<MenuPetsShow>, screen<MenuBlueFolds>}, -1, -1,
     {screen<MenuBlueFolds>, screen<MenuPetsShow>}},
    {L"buildingslist", {screen<MenuBuildings>, screen<MenuBlueFolds>, screen<BuildingsDiscription>}, -1, 6,
     {screen<MenuBlueFolds>, screen<MenuBuildings>, screen<BuildingsDiscription>}},
    {L"statistics", {screen<MenuOrange>, screen<MenuOrangeFolds>, screen<MenuStatistics>}, 2, -1,
     {screen<MenuOrange>, screen<MenuOrangeFolds>}},
    {L"buildingsbuysell", {screen<MenuBuildingBuySell>, screen<MenuBlueFolds>, screen<BuildingsDiscription>}, -1, 6,
     {screen<MenuBlueFolds>, screen<MenuBuildingBuySell>, screen<BuildingsDiscription>}},
    {L"petbuysell", {screen<MenuPetBuySell>, screen<MenuBlueFolds>}, -1, 5,
     {screen<MenuBlueFolds>, screen<MenuPetBuySell>}},
    {L"petslist", {screen<MenuPetsList>, screen<MenuBlueFolds>}, -1, 5,
     {screen<MenuBlueFolds>, screen<MenuPetsList>}},
};

} // namespace

// ---- the command table

void MenuManager::runCommand(std::wstring command)
{
    // "exit" is refused while another popup is open: taking it over would leave its opener's
    // answer unwritten (the game-over question would never be answered). A tutorial tip and the
    // options are answered first too: the quit question would open under the tip, or show its
    // Ok and Cancel beside the options' own. The credits already end the game: a question opened
    // under them would hold the press that ends it.
    if (command == L"exit"
        && (mExitBlocked || Singleton<Popup>::get()->isVisible() || Singleton<ScrollPopup>::get()->isVisible()
            || screen<Tutorial>()->isComingOrShown() || screen<MenuOptions>()->isComingOrShown()
            || screen<Credits>()->isComingOrShown()))
        return;
    if (command == mCurrentMenu)
        return;

    if (command == L"gameover") {
        show(screen<Cursors>());
        // The park is over: the in-game screens go as when the player leaves the game, so the
        // clock and the autosave stop behind the main menu.
        closeAllPanels();
        hideGameScreens();
        hide(screen<MainMenuCreateProfile>());
        hide(screen<MainMenuChooseProfile>());
        show(screen<MainMenuStart>());
        if (DataProfile* profile = currentProfile()) {
            loadProfile(profile, 1);
            saveCurrentProfile();
        } else {
            std::printf("MenuManager: game over without a current profile\n");
        }
    }
    if (command == L"gamestart") {
        show(screen<Cursors>());
        hide(screen<MainMenuStart>());
        show(screen<MenuDateBar>());
        show(screen<MenuIngame>());
        show(screen<GameBackground3D>());
        hide(screen<MenuIngameFold1>());
        hide(screen<MenuIngameFold2>());
        hide(screen<MenuIngameFold3>());
        command = L"nomenu";
    }
    if (command == L"mainmenustart") {
        DataStorage* data = Singleton<DataStorage>::get();
        const int selected = Singleton<MainMenuChooseProfile>::get()->getSelected();
        DataProfile* profile = nullptr;
        if (selected < 0 || selected >= static_cast<int>(data->mProfiles.size())) {
            // No profile to start with (a stale selection): the player chooses one.
            std::printf("MenuManager: no profile %d, choosing a profile\n", selected);
            command = L"chooseprofile";
        } else {
            show(screen<Cursors>());
            loadGameData(data, kDataFolder);
            profile = data->mProfiles[selected];
            loadProfile(profile, 0);
        }
        if (profile && profile->mUnreadable) {
            // Not played: the player chooses another profile or makes a new one.
            data->tellPlayer(L"parkdamaged", profile->notPlayedText(), profile->mPath);
            data->mCurrentProfile = -1;
            command = L"chooseprofile";
        } else if (profile) {
            data->mCurrentProfile = selected;
            // The options remember the profile now played, so the next start begins with it.
            if (data->mOptions) {
                data->mOptions->mProfile = data->mCurrentProfile;
                data->saveOptions();
            }
            if (!profile->mDamagedCopy.empty())
                data->tellPlayer(L"parkdamaged", L"parkdamagedmessage", profile->mDamagedCopy);
            if (profile->mHomeless > 0)
                data->tellPlayer(L"homeless", L"homelessmessage", profile->mPath, profile->mHomeless);
            // The tutorial's messages are the chosen profile's to see: messages another player
            // saw earlier in this run show again (its progress comes from its own file), those the
            // same player saw before leaving the game do not.
            Singleton<Tutorial>::get()->playedBy(profile->mPath);
            data->rankParks();
            Singleton<MenuRanking>::get()->showRanking();
            hide(screen<MainMenuCreateProfile>());
            hide(screen<MainMenuChooseProfile>());
            show(screen<MainMenuStart>());
        }
    }
    if (command == L"returnfromdeleteprofile") {
        hide(screen<MainMenuDeleteProfile>());
        show(screen<MainMenuChooseProfile>());
    }
    if (command == L"deleteprofile") {
        hide(screen<MainMenuChooseProfile>());
        show(screen<MainMenuDeleteProfile>());
    }
    if (command == L"chooseprofile") {
        show(screen<Cursors>());
        if (Singleton<DataStorage>::get()->mProfiles.empty()) {
            command = L"createprofile";
        } else {
            hide(screen<MainMenuStart>());
            show(screen<MainMenuChooseProfile>());
        }
    }
    if (command == L"createprofile") {
        hide(screen<MainMenuChooseProfile>());
        show(screen<MainMenuCreateProfile>());
    }
    if (command == L"returnfromcreate") {
        hide(screen<MainMenuCreateProfile>());
        show(screen<MainMenuChooseProfile>());
    }
    if (command == L"options") {
        show(screen<MenuOptions>());
        Singleton<MenuDateBar>::get()->checkModal();
    }
    if (command == L"returnfromoptions")
        hide(screen<MenuOptions>());
    if (command == L"exit")
        openPopupForQuit();
    if (command == L"scrollpopupstart") {
        Singleton<ScrollPopup>::get()->savedMenu = mCurrentMenu;
        show(screen<ScrollPopup>());
        Singleton<MenuDateBar>::get()->checkModal();
    }
    // The menu word a closing popup saved when it opened.
    std::wstring menuUnderPopup;
    if (command == L"scrollpopupend")
        menuUnderPopup = Singleton<ScrollPopup>::get()->savedMenu;
    else if (command == L"popupend")
        menuUnderPopup = Singleton<Popup>::get()->savedMenu;
    if (command == L"scrollpopupend") {
        mCurrentMenu = Singleton<ScrollPopup>::get()->savedMenu;
        hide(screen<ScrollPopup>());
        Singleton<MenuDateBar>::get()->checkModal();
    }
    if (command == L"popupstart") {
        Singleton<Popup>::get()->savedMenu = mCurrentMenu;
        show(screen<Popup>());
        Singleton<MenuDateBar>::get()->checkModal();
    }
    if (command == L"popupend")
        endPopup();
    if (command == L"teachstart") {
        hidePanelsExcept({screen<MenuOptions>(), screen<BuildingsDiscription>()});
        hideAtOnce(screen<MenuDateBar>());
        hide(screen<MenuIngame>());
        hide(screen<MenuIngameFold1>());
        hide(screen<MenuIngameFold2>());
        hide(screen<MenuIngameFold3>());
    }
    if (command == L"teachend") {
        mCurrentMenu = L"nomenu";
        command = L"nomenu";
        runCommand(L"gamestart");
        mPetsShowOpened = 0;
    }
    for (const ManagementWord& entry : kManagementWords)
        if (command == entry.word)
            openManagementScreen(command);
    if (command == L"credits")
        show(screen<Credits>());

    mCurrentMenu = command;
    if (mCurrentMenu == L"scrollpopupend")
        mCurrentMenu = L"nomenu";
    // A popup that closes over a management panel still open gives the panel its word back:
    // under "nomenu" or "popupend" the camera would scroll behind the panel at the screen edges.
    if (!menuUnderPopup.empty() && isPanelOfWordOpen(menuUnderPopup))
        mCurrentMenu = menuUnderPopup;
}

bool MenuManager::isPanelOfWordOpen(const std::wstring& word) const
{
    for (const ManagementWord& entry : kManagementWords)
        if (word == entry.word)
            return std::any_of(entry.shown.begin(), entry.shown.end(),
                               [](Container* (*shown)()) { return shown()->isComingOrShown(); });
    return false;
}

void MenuManager::openManagementScreen(const std::wstring& word)
{
    for (const ManagementWord& entry : kManagementWords) {
        if (word != entry.word)
            continue;
        if (word == L"petsshow")
            mPetsShowOpened = 1;
        std::vector<Container*> kept = {screen<MenuPetsShow1>(), screen<MenuOptions>()};
        for (Container* (*keptScreen)() : entry.kept)
            kept.push_back(keptScreen());
        hidePanelsExcept(kept);
        if (entry.orangeTab >= 0)
            Singleton<MenuOrange>::get()->setTab(entry.orangeTab);
        if (entry.blueTabCount >= 0)
            Singleton<MenuBlueFolds>::get()->setTabCount(entry.blueTabCount);
        for (Container* (*shown)() : entry.shown)
            show(shown());
        return;
    }
}

// ---- quit popup and popup end

void MenuManager::openPopupForQuit()
{
    Popup* popup = Singleton<Popup>::get();
    popup->setTitle(textsManager.get(L"quitpopuptitle"));
    popup->setText(textsManager.get(L"quitpopuptext"));
    popup->setResult(anyMainMenuScreenVisible() ? &mCreditsPending : &inGameQuitFlag);
    popup->setMode(1, 0);
    runCommand(L"popupstart");
}

void MenuManager::quitAtOnce()
{
    if (!anyMainMenuScreenVisible())
        saveCurrentProfile();
}

void MenuManager::endPopup()
{
    mCurrentMenu = Singleton<Popup>::get()->savedMenu;
    hide(screen<Popup>());
    Singleton<MenuDateBar>::get()->checkModal();
    if (inGameQuitFlag) {
        // The quit question's Ok promises the save.
        saveCurrentProfile(true);
        runCommand(L"mainmenustart");
        closeAllPanels();
        hideGameScreens();
        // Leaving the game ends a pets-show visit too; "teachend" would start the game again.
        mPetsShowOpened = 0;
    }
    if (mCreditsPending)
        runCommand(L"credits");
    inGameQuitFlag = 0;
}

void MenuManager::hideGameScreens()
{
    // The pause ends with the game (the next showing of the date bar would end it anyway): the
    // in-game screens stand still while paused, so their hides would not finish.
    Singleton<MenuDateBar>::get()->paused = 0;
    hide(screen<TeachTrick>());
    // The date bar and the HUD stand still while the quit question fades out, and the main menu
    // takes clicks before it is gone: a Play meeting them still going out would find their shows
    // dropped and leave the park without them, the clock standing.
    hideNow(screen<MenuDateBar>());
    hideNow(screen<MenuIngame>());
    hide(screen<GameBackground3D>());
    hide(screen<MenuIngameFold1>());
    hide(screen<MenuIngameFold2>());
    hide(screen<MenuIngameFold3>());
    hide(screen<Tutorial>());
}

// ---- panels

void MenuManager::hidePanelsExcept(const std::vector<Container*>& kept)
{
    for (Container* panel : panelList())
        if (std::find(kept.begin(), kept.end(), panel) == kept.end())
            hide(panel);
}

void MenuManager::closeAllPanels()
{
    for (Container* panel : panelList())
        hide(panel);
    mCurrentMenu = L"nomenu";
}

bool MenuManager::isAnyPanelOpen() const
{
    return screen<MenuPetsShow>()->isVisible() || screen<MenuOrange>()->isVisible()
           || screen<MenuBuildingBuySell>()->isVisible() || screen<MenuPetsList>()->isVisible()
           || screen<MenuBuildings>()->isVisible() || screen<MenuBuyFood>()->isVisible()
           || screen<MenuPetBuySell>()->isVisible() || screen<MenuOptions>()->isVisible();
}

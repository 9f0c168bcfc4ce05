#pragma once

// Helpers of the screen tests: the screens the router moves, forced back to hidden between
// tests, and their show transitions stepped without running the screens' own logic.

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
#include "source_menu/MenuManager.h"
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

#include <vector>

namespace screens {

template <class T>
Container* of()
{
    return Singleton<T>::get();
}

// The 23 screens closeAllPanels hides, in its order.
inline std::vector<Container*> panels()
{
    return {of<MenuPetsShow>(),     of<MenuPetsShow1>(),     of<MenuOrange>(),           of<MenuTickets>(),
            of<MenuBuildingBuySell>(), of<MenuBuildingBuySell1>(), of<MenuBuildingBuySell2>(), of<MenuRanking>(),
            of<MenuAchievements>(), of<MenuStatistics>(),    of<MenuBank>(),             of<MenuPetsList>(),
            of<MenuPetsList1>(),    of<MenuBuildings>(),     of<MenuBuildings1>(),       of<MenuBuildings2>(),
            of<MenuBuyFood>(),      of<MenuPetBuySell>(),    of<MenuPetBuySell1>(),      of<MenuOrangeFolds>(),
            of<MenuBlueFolds>(),    of<MenuOptions>(),       of<BuildingsDiscription>()};
}

// The in-game screens and the main-menu screens.
inline std::vector<Container*> gameScreens()
{
    return {of<MenuDateBar>(),     of<MenuIngame>(),      of<GameBackground3D>(), of<MenuIngameFold1>(),
            of<MenuIngameFold2>(), of<MenuIngameFold3>(), of<TeachTrick>(),       of<Tutorial>()};
}

inline std::vector<Container*> menuScreens()
{
    return {of<MainMenuStart>(), of<MainMenuChooseProfile>(), of<MainMenuCreateProfile>(),
            of<MainMenuDeleteProfile>(), of<Credits>(), of<Cursors>(), of<Popup>(), of<ScrollPopup>()};
}

inline std::vector<Container*> all()
{
    std::vector<Container*> list = panels();
    for (Container* screen : gameScreens())
        list.push_back(screen);
    for (Container* screen : menuScreens())
        list.push_back(screen);
    return list;
}

inline int showState(Container* screen)
{
    return screen->getShowStates().second;
}

// Hidden at once, with no transition pending.
inline void hideNow(Container* screen)
{
    screen->setStateDirect(kShowHidden);
    screen->setStateDirect(kShowHidden);
    screen->Container::setVisible(0);
    screen->Container::setEnabled(0);
}

inline void hideAll()
{
    for (Container* screen : all())
        hideNow(screen);
}

// Steps the show transitions of the screens (the container's own step only).
inline void settle(int steps = 30)
{
    for (int i = 0; i < steps; ++i)
        for (Container* screen : all())
            screen->Container::update();
}

} // namespace screens

#include "source_menu/ScreenList.h"

#include "park/GameBackground3D.h"
#include "park/TeachTrick.h"
#include "source_menu/BuildingsDiscription.h"
#include "source_menu/ButtonBar.h"
#include "source_menu/Credits.h"
#include "source_menu/Cursors.h"
#include "source_menu/HappinessBar.h"
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
#include "source_menu/MenuPetShowSummary.h"
#include "source_menu/MenuPetsList.h"
#include "source_menu/MenuPetsList1.h"
#include "source_menu/MenuPetsShow.h"
#include "source_menu/MenuPetsShow1.h"
#include "source_menu/MenuRanking.h"
#include "source_menu/MenuStatistics.h"
#include "source_menu/MenuTickets.h"
#include "source_menu/Popup.h"
#include "source_menu/ProgressBar.h"
#include "source_menu/ScrollPopup.h"
#include "source_menu/Tutorial.h"

namespace {

template <class T>
Container* screenOf()
{
    return Singleton<T>::get();
}

#define SCREEN(T) { #T, screenOf<T> }

const ScreenEntry kScreens[] = {
    SCREEN(ButtonBar), SCREEN(ProgressBar), SCREEN(HappinessBar), SCREEN(MenuPetsShow),
    SCREEN(MenuPetsShow1), SCREEN(MenuOrange), SCREEN(MenuTickets), SCREEN(MenuBuildingBuySell),
    SCREEN(MenuBuildingBuySell1), SCREEN(MenuBuildingBuySell2), SCREEN(MenuRanking),
    SCREEN(MenuAchievements), SCREEN(MenuStatistics), SCREEN(MenuBank), SCREEN(MenuPetsList),
    SCREEN(MenuPetsList1), SCREEN(MenuBuildings), SCREEN(MenuBuildings1), SCREEN(MenuBuildings2),
    SCREEN(MenuBuyFood), SCREEN(MenuPetBuySell), SCREEN(MenuPetBuySell1), SCREEN(MenuBlueFolds),
    SCREEN(MenuOrangeFolds), SCREEN(ScrollPopup), SCREEN(MenuIngameFold1), SCREEN(MenuIngameFold2),
    SCREEN(MenuIngameFold3), SCREEN(MenuIngame), SCREEN(MenuDateBar), SCREEN(MainMenuStart),
    SCREEN(MainMenuChooseProfile), SCREEN(MainMenuCreateProfile), SCREEN(MainMenuDeleteProfile),
    SCREEN(MenuOptions), SCREEN(Popup), SCREEN(Tutorial), SCREEN(GameBackground3D),
    SCREEN(TeachTrick), SCREEN(MenuPetShowSummary), SCREEN(BuildingsDiscription), SCREEN(Credits),
    SCREEN(Cursors),
};

#undef SCREEN

} // namespace

const ScreenEntry* gameScreens(size_t& count)
{
    count = sizeof(kScreens) / sizeof(kScreens[0]);
    return kScreens;
}

#include "source_menu/MenuDateBar.h"

#include "source_menu/Popup.h"
#include "source_menu/ScrollPopup.h"
#include "source_menu/Tutorial.h"

void MenuDateBar::checkModal()
{
    modal = Singleton<Popup>::get()->isVisible() || Singleton<ScrollPopup>::get()->isVisible()
            || Singleton<Tutorial>::get()->isVisible();
}

#include "source_menu/MenuDateBar.h"

#include "source_menu/Popup.h"
#include "source_menu/ScrollPopup.h"
#include "source_menu/Tutorial.h"
#include "toolkit/widgets/WidgetCanvas.h"

void MenuDateBar::checkModal()
{
    modal = Singleton<Popup>::get()->isVisible() || Singleton<ScrollPopup>::get()->isVisible()
            || Singleton<Tutorial>::get()->isVisible();
}

void MenuDateBar::draw()
{
    if (mWidget1)
        mWidget1->setVisible(paused);
    _MenuDateBar::draw();
}

#include "source_menu/BuildingsDiscription.h"

#include "source_menu/MenuBuildingBuySell1.h"
#include "source_menu/MenuBuildingBuySell2.h"
#include "source_menu/MenuBuildings1.h"
#include "source_menu/MenuBuildings2.h"
#include "source_menu/MenuDateBar.h"
#include "source_menu/Popup.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetLabel.h"

void BuildingsDiscription::init(const char* path)
{
    _BuildingsDiscription::init(path);
    descriptionAreas = mHelpers0;
}

void BuildingsDiscription::reset()
{
    _BuildingsDiscription::reset();
    description.clear();
    areaIndex = -1;
}

void BuildingsDiscription::update()
{
    const MenuDateBar* bar = Singleton<MenuDateBar>::get();
    if (!isEnabled() || bar->modal || bar->paused)
        return;
    const std::pair<int, int> states = getShowStates();
    if (states.first == kShowHidden && states.second == kShowAppearing)
        Container::setVisible(1);
}

void BuildingsDiscription::draw()
{
    if (!isVisible() || Singleton<Popup>::get()->isVisible())
        return;
    if (!Singleton<MenuBuildings1>::get()->isVisible() && !Singleton<MenuBuildings2>::get()->isVisible()
        && !Singleton<MenuBuildingBuySell1>::get()->isVisible()
        && !Singleton<MenuBuildingBuySell2>::get()->isVisible())
        return;
    if (areaIndex < 0 || areaIndex >= static_cast<int>(mLabels0.size()))
        return;
    mCanvases0[areaIndex]->draw();
    WidgetLabel* label = mLabels0[areaIndex];
    label->setText(description, 0, 1);
    label->draw();
}

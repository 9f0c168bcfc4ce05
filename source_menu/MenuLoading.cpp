#include "source_menu/MenuLoading.h"

void MenuLoading::update()
{
    Container::update();
    if (getShowStates().second == kShowShown)
        Singleton<ContainersMngr>::get()->loadAll();
}

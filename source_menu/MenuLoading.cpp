#include "source_menu/MenuLoading.h"

void MenuLoading::update()
{
    _MenuLoading::update();
    if (getShowStates().second == kShowShown)
        Singleton<ContainersMngr>::get()->loadAll();
}

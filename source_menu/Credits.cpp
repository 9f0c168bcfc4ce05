#include "source_menu/Credits.h"

#include "core/ControlMngr.h"
#include "core/GameMain.h"

void Credits::update()
{
    _Credits::update();
    if (getShowStates().second == kShowShown && Singleton<ControlMngr>::get()->isPointerDown())
        quitRequested = 1;
}

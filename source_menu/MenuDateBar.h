#pragma once

// The HUD's date bar. While modal (a popup, scroll popup or the tutorial is shown) or paused
// the game clock stands and the park camera and visitors are idle.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class MenuDateBar : public Singleton<MenuDateBar>, public Container {
public:
    MenuDateBar() = default;

    // modal := whether Popup, ScrollPopup or Tutorial is visible.
    void checkModal();

    int paused = 0;
    int modal = 0;
};

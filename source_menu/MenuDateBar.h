#pragma once

// The HUD's date bar. While modal (a popup, scroll popup or the tutorial is shown) or paused
// the game clock stands and the park camera and visitors are idle.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuDateBar.h"

class MenuDateBar : public Singleton<MenuDateBar>, public _MenuDateBar {
public:
    MenuDateBar() = default;

    // modal := whether Popup, ScrollPopup or Tutorial is visible.
    void checkModal();
    // The layout's pause shade covers the park only while paused.
    void draw() override;

    int paused = 0;
    int modal = 0;

    // Layout handlers; the screen does not react to them yet.
    void onWidget4(int, int) override {}
};

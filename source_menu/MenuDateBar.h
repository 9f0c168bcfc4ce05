#pragma once

// The in-game date bar and the game clock. It shows the park's date, the free animal parcels
// and a pause button; its update, in every 10 ms step while the bar is shown, runs the park's
// step with its day clock, the animals' figures, the scene's animation and the tutorial's
// triggers. Its flags modal (a popup, the value popup, the tutorial or the options are shown)
// and paused stop the clock, and every in-game screen ignores the player's input while either
// is set.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuDateBar.h"

#include <string>

class MenuDateBar : public Singleton<MenuDateBar>, public _MenuDateBar {
public:
    MenuDateBar() = default;

    void init(const char* path) override;
    void update() override;
    void draw() override;
    // Every showing starts unpaused.
    void reset() override;

    // The pause button: each release over it toggles the pause.
    void onWidget4(int previous, int current) override;

    // modal := whether Popup, ScrollPopup, Tutorial or the options are visible. Each of them that
    // has begun to show since the last check makes the buttons forget the presses they saw.
    void checkModal();
    // The parcels label: the free parcels, or the days until one is free when none is.
    static std::wstring parcelsText();

    int paused = 0;
    int modal = 0;

private:
    int layersComing = 0;  // a bit per layer appearing or shown at the last check
};

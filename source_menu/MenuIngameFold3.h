#pragma once

// The HUD's third fold: the options, switching the tutorial on again (it starts over), and
// leaving the game. Opened and closed by the HUD's fold buttons; it follows the left screen
// edge, fades and moves with mWidget0.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuIngameFold3.h"

class Button;

class MenuIngameFold3 : public Singleton<MenuIngameFold3>, public _MenuIngameFold3 {
public:
    MenuIngameFold3() = default;
    // The buttons and gauges it made (the game's own folds live for the whole run).
    ~MenuIngameFold3() override;

    void init(const char* path) override;
    void update() override;
    void draw() override;
    void reset() override { _MenuIngameFold3::reset(); }

    // Turns the current profile's tutorial on and starts it from its first step, its messages
    // all unshown; nothing without a current profile.
    static void restartTutorial();

    Button* mOptionsButton = nullptr;
    Button* mTutorialButton = nullptr;
    Button* mExitButton = nullptr;
};

#pragma once

// The HUD's first fold.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuIngameFold1.h"

class MenuIngameFold1 : public Singleton<MenuIngameFold1>, public _MenuIngameFold1 {
public:
    MenuIngameFold1() = default;

    // Layout handlers; the screen does not react to them yet.
    void onWidget7(int, int) override {}
};

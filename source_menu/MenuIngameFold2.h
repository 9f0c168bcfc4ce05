#pragma once

// The HUD's second fold.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuIngameFold2.h"

class MenuIngameFold2 : public Singleton<MenuIngameFold2>, public _MenuIngameFold2 {
public:
    MenuIngameFold2() = default;

    // Layout handlers; the screen does not react to them yet.
    void onWidget6(int, int) override {}
};

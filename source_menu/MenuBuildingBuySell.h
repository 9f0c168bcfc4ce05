#pragma once

// The frame of the building shop.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuBuildingBuySell.h"

class MenuBuildingBuySell : public Singleton<MenuBuildingBuySell>, public _MenuBuildingBuySell {
public:
    MenuBuildingBuySell() = default;

    // Layout handlers; the screen does not react to them yet.
    void onWidget1(int, int) override {}
};

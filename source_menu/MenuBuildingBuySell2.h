#pragma once

// The building shop's page of upgrades.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuBuildingBuySell2.h"

class MenuBuildingBuySell2 : public Singleton<MenuBuildingBuySell2>, public _MenuBuildingBuySell2 {
public:
    MenuBuildingBuySell2() = default;

    // Layout handlers; the screen does not react to them yet.
    void onWidget1(int, int) override {}
    void onWidget2(int, int) override {}
    void onWidget3(int, int) override {}
};

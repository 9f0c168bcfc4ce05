#pragma once

// The second page of the building lists.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuBuildings2.h"

class MenuBuildings2 : public Singleton<MenuBuildings2>, public _MenuBuildings2 {
public:
    MenuBuildings2() = default;

    // Layout handlers; the screen does not react to them yet.
    void onWidget1(int, int) override {}
    void onWidget2(int, int) override {}
    void onWidget3(int, int) override {}
};

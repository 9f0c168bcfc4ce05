#pragma once

// The frame of the building lists.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuBuildings.h"

class MenuBuildings : public Singleton<MenuBuildings>, public _MenuBuildings {
public:
    MenuBuildings() = default;

    // Layout handlers; the screen does not react to them yet.
    void onWidget2(int, int) override {}
};

#pragma once

// The list of the park's buildings: cleaning and repair.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuBuildings1.h"

class MenuBuildings1 : public Singleton<MenuBuildings1>, public _MenuBuildings1 {
public:
    MenuBuildings1() = default;
};

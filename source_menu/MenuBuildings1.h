#pragma once

// The list of the park's buildings: cleaning and repair.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class MenuBuildings1 : public Singleton<MenuBuildings1>, public Container {
public:
    MenuBuildings1() = default;
};

#pragma once

// The frame of the building lists.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class MenuBuildings : public Singleton<MenuBuildings>, public Container {
public:
    MenuBuildings() = default;
};

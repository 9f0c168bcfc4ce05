#pragma once

// The second page of the building lists.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class MenuBuildings2 : public Singleton<MenuBuildings2>, public Container {
public:
    MenuBuildings2() = default;
};

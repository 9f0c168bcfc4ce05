#pragma once

// The building shop's page of upgrades.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class MenuBuildingBuySell2 : public Singleton<MenuBuildingBuySell2>, public Container {
public:
    MenuBuildingBuySell2() = default;
};

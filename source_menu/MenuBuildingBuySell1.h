#pragma once

// The building shop's page of buildings to buy.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class MenuBuildingBuySell1 : public Singleton<MenuBuildingBuySell1>, public Container {
public:
    MenuBuildingBuySell1() = default;
};

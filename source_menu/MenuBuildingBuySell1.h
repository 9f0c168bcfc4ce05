#pragma once

// The building shop's page of buildings to buy.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuBuildingBuySell1.h"

class MenuBuildingBuySell1 : public Singleton<MenuBuildingBuySell1>, public _MenuBuildingBuySell1 {
public:
    MenuBuildingBuySell1() = default;
};

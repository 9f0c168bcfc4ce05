#pragma once

// The frame of the building shop.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class MenuBuildingBuySell : public Singleton<MenuBuildingBuySell>, public Container {
public:
    MenuBuildingBuySell() = default;
};

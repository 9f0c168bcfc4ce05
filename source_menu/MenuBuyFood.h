#pragma once

// The food shop.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class MenuBuyFood : public Singleton<MenuBuyFood>, public Container {
public:
    MenuBuyFood() = default;
};

#pragma once

// The food shop.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuBuyFood.h"

class MenuBuyFood : public Singleton<MenuBuyFood>, public _MenuBuyFood {
public:
    MenuBuyFood() = default;

    // Layout handlers; the screen does not react to them yet.
    void onWidget1(int, int) override {}
};

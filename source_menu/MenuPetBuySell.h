#pragma once

// The frame of the pet offers.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuPetBuySell.h"

class MenuPetBuySell : public Singleton<MenuPetBuySell>, public _MenuPetBuySell {
public:
    MenuPetBuySell() = default;

    // Layout handlers; the screen does not react to them yet.
    void onWidget11(int, int) override {}
};

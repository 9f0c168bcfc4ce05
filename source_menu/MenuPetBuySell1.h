#pragma once

// The animal offers panel. Only what the park rules use of it so far: its refill (reset)
// and the rebuilding of its offer cards.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuPetBuySell1.h"

class MenuPetBuySell1 : public Singleton<MenuPetBuySell1>, public _MenuPetBuySell1 {
public:
    MenuPetBuySell1() = default;

    // Rebuilds the offer cards from the offer list (after new animals are offered).
    void rebuildOffers() {}
};

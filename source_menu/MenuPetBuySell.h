#pragma once

// The frame of the pet offers.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class MenuPetBuySell : public Singleton<MenuPetBuySell>, public Container {
public:
    MenuPetBuySell() = default;
};

#pragma once

// The frame of the pets list.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuPetsList.h"

class MenuPetsList : public Singleton<MenuPetsList>, public _MenuPetsList {
public:
    MenuPetsList() = default;

    // Layout handlers; the screen does not react to them yet.
    void onWidget1(int, int) override {}
};

#pragma once

// The pet show frame.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuPetsShow.h"

class MenuPetsShow : public Singleton<MenuPetsShow>, public _MenuPetsShow {
public:
    MenuPetsShow() = default;

    // Layout handlers; the screen does not react to them yet.
    void onWidget1(int, int) override {}
};

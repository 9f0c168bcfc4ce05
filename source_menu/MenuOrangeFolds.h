#pragma once

// The tab strip of the orange management screens.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuOrangeFolds.h"

class MenuOrangeFolds : public Singleton<MenuOrangeFolds>, public _MenuOrangeFolds {
public:
    MenuOrangeFolds() = default;

    // Layout handlers; the screen does not react to them yet.
    void onWidget0(int, int) override {}
    void onWidget1(int, int) override {}
    void onWidget2(int, int) override {}
    void onWidget3(int, int) override {}
    void onWidget4(int, int) override {}
};

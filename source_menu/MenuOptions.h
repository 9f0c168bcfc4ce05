#pragma once

// The options screen.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuOptions.h"

class MenuOptions : public Singleton<MenuOptions>, public _MenuOptions {
public:
    MenuOptions() = default;

    // Layout handlers; the screen does not react to them yet.
    void onWidget1(int, int) override {}
    void onWidget3(int, int) override {}
    void onWidget4(int, int) override {}
    void onWidget5(int, int) override {}
    void onWidget7(int, int) override {}
    void onWidget8(int, int) override {}
    void onWidget9(int, int) override {}
};

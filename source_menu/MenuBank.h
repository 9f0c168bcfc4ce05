#pragma once

// A management screen. Only what the park rules use of it so far: its refill (reset),
// which the day rules call.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuBank.h"

class MenuBank : public Singleton<MenuBank>, public _MenuBank {
public:
    MenuBank() = default;

    // Layout handlers; the screen does not react to them yet.
    void onWidget0(int, int) override {}
};

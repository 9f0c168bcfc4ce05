#pragma once

// A management screen. Only what the park rules use of it so far: its refill (reset),
// which the day rules call.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuStatistics.h"

class MenuStatistics : public Singleton<MenuStatistics>, public _MenuStatistics {
public:
    MenuStatistics() = default;

    // Layout handlers; the screen does not react to them yet.
    void onWidget2(int, int) override {}
};

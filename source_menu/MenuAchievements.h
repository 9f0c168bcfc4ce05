#pragma once

// A management screen. Only what the park rules use of it so far: its refill (reset),
// which the day rules call.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuAchievements.h"

class MenuAchievements : public Singleton<MenuAchievements>, public _MenuAchievements {
public:
    MenuAchievements() = default;

    // Layout handlers; the screen does not react to them yet.
    void onWidget0(int, int) override {}
};

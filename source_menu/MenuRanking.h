#pragma once

// The ranking screen. Only what the park rules use of it so far: building the ranking and the
// park's place in it.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuRanking.h"

#include <limits>

class MenuRanking : public Singleton<MenuRanking>, public _MenuRanking {
public:
    MenuRanking() = default;

    // Layout handlers; the screen does not react to them yet.
    void onWidget0(int, int) override {}

    // Ranks the park among the rival parks by popularity and keeps its place.
    void buildRanking();

    // 1 = the best park; no place until the first ranking is built, so no "pr" term holds.
    int mPlayerPlace = std::numeric_limits<int>::max();
};

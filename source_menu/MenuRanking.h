#pragma once

// The ranking tab of the finance frame: the player's park among the rival parks by popularity,
// one row per park with its place, name and popularity, the player's row always highlighted;
// below it the park's cash and loan. The ranking is built when a profile is loaded and every
// game day; the place it finds is what the "pr" requirement reads.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuRanking.h"

#include <limits>

class TextTable;

class MenuRanking : public Singleton<MenuRanking>, public _MenuRanking {
public:
    MenuRanking() = default;

    void init(const char* path) override;
    void update() override;
    void draw() override;
    // Only the cash and loan labels: the table changes with the ranking.
    void reset() override;

    void onWidget0(int previous, int current) override;

    // Ranks the park among the rival parks by popularity, keeps its place and refills the
    // table; nothing without a current profile.
    void buildRanking();

    TextTable* mTable = nullptr;
    // 1 = the best park; no place until the first ranking is built, so no "pr" term holds.
    int mPlayerPlace = std::numeric_limits<int>::max();
};

#pragma once

// The ranking tab of the finance frame: the player's park among the rival parks by popularity,
// one row per park with its place, name and popularity, the player's row always highlighted;
// below it the park's cash and loan. The rules rank the parks (DataStorage::rankParks) when a
// profile is loaded and every game day; the screen shows their ranking.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuRanking.h"

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

    // Refills the table from the rules' ranking; nothing before the first ranking.
    void showRanking();

    TextTable* mTable = nullptr;
};

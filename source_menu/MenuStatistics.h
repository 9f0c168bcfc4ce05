#pragma once

// The statistics tab of the finance frame: how many times each kind of transaction happened
// last month and this month (the park's count records), and the park's cash and loan.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuStatistics.h"

class TextTable;

class MenuStatistics : public Singleton<MenuStatistics>, public _MenuStatistics {
public:
    MenuStatistics() = default;

    void init(const char* path) override;
    void update() override;
    void draw() override;
    // Refills the table and the labels; also called by the new-day step, shown or not.
    void reset() override;

    void onWidget2(int previous, int current) override;

    TextTable* mTable = nullptr;
};

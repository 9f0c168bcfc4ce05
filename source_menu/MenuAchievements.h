#pragma once

// The achievements tab of the finance frame: every achievement of the game with its reward and
// a reached or not-yet mark, the description of the achievement under the pointer (the field's
// own text over no row), and the park's cash and loan. The park's rules decide when an
// achievement is reached; the screen shows it from its next refill.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuAchievements.h"

#include <string>
#include <vector>

class TextTable;

class MenuAchievements : public Singleton<MenuAchievements>, public _MenuAchievements {
public:
    MenuAchievements() = default;

    void init(const char* path) override;
    void update() override;
    void draw() override;
    // Refills the table, the marks and the labels; also called by the new-day step.
    void reset() override;

    void onWidget0(int previous, int current) override;

    TextTable* mTable = nullptr;
    // The description field's text key in the layout, shown over no row.
    std::wstring mDefaultTextKey;
    // Per table row: whether that achievement was reached at the last refill.
    std::vector<bool> mDone;

private:
    // The description field shows the text of the highlighted row, or its own over none.
    void showDescription(int row);
    int mDescribedRow = -2;
};

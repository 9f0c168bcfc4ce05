#pragma once

// The HUD's second fold, buildings and finances: buttons to the buildings list, the building
// purchase and the finance screens, the pets show button, and per kind a gauge of the
// buildings' condition and cleanness. Opened and closed by the HUD's fold buttons; it follows
// the left screen edge, fades and moves with mWidget0.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuIngameFold2.h"

#include <string>

class Button;
class Progress;

class MenuIngameFold2 : public Singleton<MenuIngameFold2>, public _MenuIngameFold2 {
public:
    static constexpr int kKinds = 5;

    MenuIngameFold2() = default;
    // The buttons and gauges it made (the game's own folds live for the whole run).
    ~MenuIngameFold2() override;

    void init(const char* path) override;
    void update() override;
    void draw() override;
    void reset() override { _MenuIngameFold2::reset(); }

    // The pets show button of the layout.
    void onWidget6(int previous, int current) override;

    // The park's buildings of a kind (a lower-case kind word): (condition + cleanness) averaged
    // and halved, rounded down (0..7), and their number in count; 0 without buildings.
    static int careOfKind(const std::wstring& kind, int* count);

    Button* mBuildingsButton = nullptr;
    Button* mBuildingBuySellButton = nullptr;
    Button* mFinancesButton = nullptr;
    Progress* mCareGauges[kKinds] = {};   // dog, cat, dino, rabbit, horse
};

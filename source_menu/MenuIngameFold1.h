#pragma once

// The HUD's first fold, animals and food: buttons to the food, pet offers and pets list
// screens, the pets show button, per kind a gauge of the animals' hunger and health and an
// indicator of their happiness, and the amount of food in store. Opened and closed by the
// HUD's fold buttons; it follows the left screen edge, fades and moves with mWidget0.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuIngameFold1.h"

#include <string>

class Button;
class Happiness;
class Progress;

class MenuIngameFold1 : public Singleton<MenuIngameFold1>, public _MenuIngameFold1 {
public:
    static constexpr int kKinds = 5;

    MenuIngameFold1() = default;
    // The buttons and gauges it made (the game's own folds live for the whole run).
    ~MenuIngameFold1() override;

    void init(const char* path) override;
    void update() override;
    void draw() override;
    void reset() override { _MenuIngameFold1::reset(); }

    // The pets show button of the layout.
    void onWidget7(int previous, int current) override;

    // The park's animals of a kind (a lower-case kind word): their number, the care level
    // (hunger + health averaged, halved; 0..7) and the mood (happiness averaged; 0..4), both
    // rounded down; 0 and 0 without animals.
    struct KindSummary {
        int count = 0;
        int care = 0;
        int mood = 0;
    };
    static KindSummary summarize(const std::wstring& kind);

    Button* mFoodButton = nullptr;
    Button* mPetBuySellButton = nullptr;
    Button* mPetsListButton = nullptr;
    Progress* mCareGauges[kKinds] = {};        // dog, cat, dino, rabbit, horse
    Happiness* mMoodIndicators[kKinds] = {};   // the same order
};

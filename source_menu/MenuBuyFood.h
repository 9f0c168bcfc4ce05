#pragma once

// The food shop: the park's three foods side by side, each with its picture, name, description,
// and either its price and a Buy button or, greyed, what it still requires; below them the food
// in store. A purchase books the cost and fills the store at once. One the park cannot pay, or
// that would overfill the store, changes nothing.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuBuyFood.h"

#include <string>

class Button;
class DataFood;

class MenuBuyFood : public Singleton<MenuBuyFood>, public _MenuBuyFood {
public:
    static const int kFoods = 3;

    MenuBuyFood() = default;
    ~MenuBuyFood() override;

    void init(const char* path) override;
    void update() override;
    void draw() override;
    // Takes the foods and their requirements afresh on every show.
    void reset() override;
    // The close button: closes every panel on a release.
    void onWidget1(int previous, int current) override;

    DataFood* mFoods[kFoods] = {};
    int mAllowed[kFoods] = {};
    std::wstring mRequirementTexts[kFoods];
    Button* mBuyButtons[kFoods] = {};
};

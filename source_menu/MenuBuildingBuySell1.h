#pragma once

// The purchase panel of one animal kind: the kind's (at most three) building definitions on three
// cards with name, price or missing requirements, maintenance, icon and a buy or sell button.
// Buying books the cost and puts the definition itself into the park; selling gives back its sale
// value unless animals of the kind still live in it.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuBuildingBuySell1.h"

#include <string>
#include <vector>

class Button;
class DataBuilding;

class MenuBuildingBuySell1 : public Singleton<MenuBuildingBuySell1>, public _MenuBuildingBuySell1 {
public:
    MenuBuildingBuySell1() = default;

    void init(const char* path) override;
    void update() override;
    void draw() override;
    // Refills the kind's definitions and their requirements; on show and after every order.
    void reset() override;
    // Closes every panel on a release (no layout widget calls it).
    void onClose(int previous, int current);

    // The kind of the panel's buildings; the reset takes it again from the selected tab.
    void setKind(const std::wstring& kind) { mKind = kind; }

    std::vector<Button*> mBuyButtons;
    std::vector<Button*> mSellButtons;
    std::vector<DataBuilding*> mBuildings;
    std::wstring mKind;
    int mHoverTime[3] = {};
    int mClickLatch = 0;

private:
    // Buys building i when the cash allows; true when bought.
    bool buy(int i);
    void sell(int i);
};

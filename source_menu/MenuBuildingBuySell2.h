#pragma once

// The purchase panel of the buildings of no kind (services and car parks): three cards at a time
// of the "other" definitions in a browser with a previous and a next arrow and a draggable knob.
// The cards buy and sell as on a kind's purchase panel; a car park bought or sold rebuilds the
// visitors' cars.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuBuildingBuySell2.h"

#include <string>
#include <vector>

class Button;
class DataBuilding;

class MenuBuildingBuySell2 : public Singleton<MenuBuildingBuySell2>, public _MenuBuildingBuySell2 {
public:
    MenuBuildingBuySell2() = default;

    void init(const char* path) override;
    void update() override;
    void draw() override;
    // Refills the definitions and their requirements; the browsing position stays.
    void reset() override;

    // Previous arrow, knob, next arrow.
    void onWidget1(int previous, int current) override;
    void onWidget2(int previous, int current) override;
    void onWidget3(int previous, int current) override;
    // Closes every panel on a release (no layout widget calls it).
    void onClose(int previous, int current);

    std::vector<Button*> mBuyButtons;
    std::vector<Button*> mSellButtons;
    std::vector<DataBuilding*> mBuildings;
    std::wstring mKind = L"Other";
    float mTrackLength = 0.0f;
    int mDragging = 0;
    int mFirst = 0;
    float mDragStartX = 0.0f;
    int mDragStartFirst = 0;
    int mHoverTime[3] = {};

private:
    // The largest first index: count - 3, or 0 when three cards hold every building.
    int lastFirst() const;
};

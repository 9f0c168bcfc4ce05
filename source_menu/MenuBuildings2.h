#pragma once

// The care panel of the buildings of no kind: the park's own "other" buildings three at a time,
// each with its gauges and its clean and repair buttons, in a browser shown only when there are
// more than three.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuBuildings2.h"

#include <string>
#include <vector>

class Button;
class DataBuilding;
class Progress;

class MenuBuildings2 : public Singleton<MenuBuildings2>, public _MenuBuildings2 {
public:
    MenuBuildings2() = default;

    void init(const char* path) override;
    void update() override;
    void draw() override;
    // Refills the park's other buildings; on show and after the HUD's clean-all and repair-all.
    void reset() override;

    // Previous arrow, knob, next arrow; nothing while the browser is hidden.
    void onWidget1(int previous, int current) override;
    void onWidget2(int previous, int current) override;
    void onWidget3(int previous, int current) override;
    // Closes every panel on a release (no layout widget calls it).
    void onClose(int previous, int current);

    std::vector<Button*> mCleanButtons;
    std::vector<Button*> mRepairButtons;
    std::vector<Progress*> mCleannessGauges;
    std::vector<Progress*> mConditionGauges;
    std::vector<DataBuilding*> mBuildings;
    std::wstring mKind = L"Other";
    float mTrackLength = 0.0f;
    int mDragging = 0;
    int mFirst = 0;
    float mDragStartX = 0.0f;
    int mDragStartFirst = 0;
    int mHoverTime[3] = {};
    DataBuilding* mWorkshop = nullptr;
    DataBuilding* mCleaningService = nullptr;

private:
    int lastFirst() const;
};

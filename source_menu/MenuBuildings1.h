#pragma once

// The care panel of one animal kind: each building definition of the kind on a card; an owned
// one shows its maintenance, cleanness and condition gauges and the buttons that order a
// cleaning and a repair, an unowned one only its name and greyed icon.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuBuildings1.h"

#include <string>
#include <vector>

class Button;
class DataBuilding;
class Progress;

class MenuBuildings1 : public Singleton<MenuBuildings1>, public _MenuBuildings1 {
public:
    MenuBuildings1() = default;

    void init(const char* path) override;
    void update() override;
    void draw() override;
    // Refills the kind's buildings; on show and after every order.
    void reset() override;
    // Closes every panel on a release (no layout widget calls it).
    void onClose(int previous, int current);

    // The kind of the panel's buildings; the reset takes it again from the selected tab.
    void setKind(const std::wstring& kind) { mKind = kind; }

    std::vector<Button*> mCleanButtons;
    std::vector<Button*> mRepairButtons;
    std::vector<Progress*> mCleannessGauges;
    std::vector<Progress*> mConditionGauges;
    std::vector<DataBuilding*> mBuildings;
    std::wstring mKind;
    int mHoverTime[3] = {};
    DataBuilding* mCleaningService = nullptr;
    DataBuilding* mWorkshop = nullptr;
};

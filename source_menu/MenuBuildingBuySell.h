#pragma once

// The buildings purchase frame: the purchase panel of the selected kind, or on the sixth tab the
// panel of the buildings of no kind.

#include "core/Singleton.h"
#include "source_menu/KindFrame.h"
#include "source_menu/generated/_MenuBuildingBuySell.h"

class MenuBuildingBuySell : public Singleton<MenuBuildingBuySell>, public _MenuBuildingBuySell, public KindFrame {
public:
    MenuBuildingBuySell() = default;

    void init(const char* path) override;
    void update() override;
    void draw() override;
    // Strip reset and the panel of the selected tab.
    void reset() override;

    // Close button.
    void onWidget1(int previous, int current) override;

private:
    void hidePanelOf(int tab) override;
    bool allPanelsHidden() const override;
    void showPanelOf(int tab) override;
};

#pragma once

// The buildings care frame: the care panel of the selected kind, or on the sixth tab the care
// panel of the buildings of no kind.

#include "core/Singleton.h"
#include "source_menu/KindFrame.h"
#include "source_menu/generated/_MenuBuildings.h"

class MenuBuildings : public Singleton<MenuBuildings>, public _MenuBuildings, public KindFrame {
public:
    MenuBuildings() = default;

    void init(const char* path) override;
    void update() override;
    void draw() override;
    // Strip reset and the panel of the selected tab.
    void reset() override;

    // Close button.
    void onWidget2(int previous, int current) override;

private:
    void hidePanelOf(int tab) override;
    bool allPanelsHidden() const override;
    void showPanelOf(int tab) override;
};

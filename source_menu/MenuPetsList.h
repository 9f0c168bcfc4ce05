#pragma once

// The hosted pets frame: the pet cards panel of the selected kind.

#include "core/Singleton.h"
#include "source_menu/KindFrame.h"
#include "source_menu/generated/_MenuPetsList.h"

class MenuPetsList : public Singleton<MenuPetsList>, public _MenuPetsList, public KindFrame {
public:
    MenuPetsList() = default;

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

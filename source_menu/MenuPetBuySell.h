#pragma once

// The pets intake frame: the guest offers panel of the selected kind and a line of places used
// per kind.

#include "core/Singleton.h"
#include "source_menu/KindFrame.h"
#include "source_menu/generated/_MenuPetBuySell.h"

class MenuPetBuySell : public Singleton<MenuPetBuySell>, public _MenuPetBuySell, public KindFrame {
public:
    MenuPetBuySell() = default;

    void init(const char* path) override;
    void update() override;
    void draw() override;
    // Strip reset and the panel of the selected tab.
    void reset() override;

    // Close button.
    void onWidget11(int previous, int current) override;

    // Places used per kind: "animals/buildings" of each kind beside the kind's name.
    void refreshParcels();

private:
    void hidePanelOf(int tab) override;
    bool allPanelsHidden() const override;
    void showPanelOf(int tab) override;
};

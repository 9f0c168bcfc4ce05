#pragma once

// The trick teaching frame: the trick teaching panel of the selected kind.

#include "core/Singleton.h"
#include "source_menu/KindFrame.h"
#include "source_menu/generated/_MenuPetsShow.h"

class MenuPetsShow : public Singleton<MenuPetsShow>, public _MenuPetsShow, public KindFrame {
public:
    MenuPetsShow() = default;

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

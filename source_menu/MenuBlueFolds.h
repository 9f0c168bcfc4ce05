#pragma once

// The tab strip of the blue management screens.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuBlueFolds.h"

class MenuBlueFolds : public Singleton<MenuBlueFolds>, public _MenuBlueFolds {
public:
    MenuBlueFolds() = default;

    // Layout handlers; the screen does not react to them yet.
    void onWidget0(int, int) override {}
    void onWidget1(int, int) override {}
    void onWidget2(int, int) override {}
    void onWidget3(int, int) override {}
    void onWidget4(int, int) override {}
    void onWidget5(int, int) override {}

    // How many tabs the strip offers at its next showing: 5 animal kinds, or 6 with the
    // buildings of no kind.
    void setTabCount(int count) { mTabCount = count; }
    int getTabCount() const { return mTabCount; }

private:
    int mTabCount = 5;
};

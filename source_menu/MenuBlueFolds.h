#pragma once

// The tab strip of the blue management screens.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class MenuBlueFolds : public Singleton<MenuBlueFolds>, public Container {
public:
    MenuBlueFolds() = default;

    // How many tabs the strip offers at its next showing: 5 animal kinds, or 6 with the
    // buildings of no kind.
    void setTabCount(int count) { mTabCount = count; }
    int getTabCount() const { return mTabCount; }

private:
    int mTabCount = 5;
};

#pragma once

// The orange frame of the finance screens.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuOrange.h"

class MenuOrange : public Singleton<MenuOrange>, public _MenuOrange {
public:
    MenuOrange() = default;

    // The tab the frame opens on at its next showing (0 tickets, 1 bank, 2 statistics,
    // 3 achievements, 4 ranking).
    void setTab(int tab) { mTab = tab; }
    int getTab() const { return mTab; }

private:
    int mTab = 0;
};

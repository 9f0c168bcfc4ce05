#pragma once

// The orange frame of the finance screens. The router picks the tab it opens on (setTab) and
// shows it with the tab strip; from then on the strip's clicks swap the screens: the old one
// hides, and the new one shows once all five are hidden. After a swap the frame looks at the
// strip again only when more than 500 ms have passed.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuOrange.h"

// The tabs, in the strip's order.
enum OrangeFoldsTab { kTabTickets = 0, kTabBank = 1, kTabStatistics = 2, kTabAchievements = 3, kTabRanking = 4 };

class MenuOrange : public Singleton<MenuOrange>, public _MenuOrange {
public:
    static constexpr int kSwitchMs = 500;

    MenuOrange() = default;

    void init(const char* path) override;
    void update() override;
    void draw() override;
    // The strip reset on the requested tab, whose screen shows.
    void reset() override;

    // The tab the frame opens on at its next showing; "finances" keeps the last one.
    void setTab(int tab) { requestedTab = tab; }

    // The finance screen of a tab, null for any other value.
    static Container* screenOf(int tab);
    // True when all five finance screens are hidden (none appearing, shown or disappearing).
    static bool allScreensHidden();

    int prevTab = kTabTickets;
    int curTab = kTabTickets;
    int pendingTab = -1;
    int requestedTab = kTabTickets;
    int switchTimer = 0;
};

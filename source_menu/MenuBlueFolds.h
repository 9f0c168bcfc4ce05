#pragma once

// The tab strip of the buildings and pets screens: one tab per animal kind (dog, cat, horse,
// rabbit, dino) and, on the buildings screens, a sixth for the buildings of no kind. It records
// the selected tab and whether the player changed it; the frames swap their panels on that.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuBlueFolds.h"

// The tabs, in the strip's order.
enum BlueFoldsTab { kTabDog = 0, kTabCat = 1, kTabHorse = 2, kTabRabbit = 3, kTabDino = 4, kTabOther = 5 };

class MenuBlueFolds : public Singleton<MenuBlueFolds>, public _MenuBlueFolds {
public:
    MenuBlueFolds() = default;

    void init(const char* path) override;
    void update() override;
    void draw() override;
    // Alphas 0, timer 0, no hover; the selected tab, the count and the change flag stay.
    void reset() override;

    void onWidget0(int previous, int current) override { onTab(0, current); }
    void onWidget1(int previous, int current) override { onTab(1, current); }
    void onWidget2(int previous, int current) override { onTab(2, current); }
    void onWidget3(int previous, int current) override { onTab(3, current); }
    void onWidget4(int previous, int current) override { onTab(4, current); }
    void onWidget5(int previous, int current) override { onTab(5, current); }

    int getTab() const { return selectedTab; }
    // The change flag, cleared by the reading.
    int takeTabChanged();
    // Selects a tab without a sound or a change flag.
    void setTab(int tab) { selectedTab = tab; }
    // How many tabs react and are animated: 5 animal kinds, or 6 with the buildings of no kind.
    void setTabCount(int count) { tabCount = count; }
    int getTabCount() const { return tabCount; }

    // The kind word handed to a panel for a tab ("Dog" ... "Dino"), empty for tab 5 or others.
    static std::wstring kindWord(int tab);
    // The same word in lower case, as the panels that read the tab themselves use it.
    static std::wstring kindKey(int tab);

    int switchTimer = 0;
    int selectedTab = kTabDog;
    int hoverTab = -1;
    float tabAlpha[6] = {};
    int tabChanged = 0;
    int tabCount = 6;

private:
    void onTab(int tab, int current);
};

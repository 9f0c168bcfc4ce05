#pragma once

// The tab strip of the finance frame: tickets and prices, bank, statistics, achievements,
// ranking. A release over another tab selects it with "click" when more than 500 ms have passed
// since the last accepted click or the strip's showing; the frame reads the change flag. The
// selected tab brightens, a hovered one lights up to half, the others fade to a quarter.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuOrangeFolds.h"

class MenuOrangeFolds : public Singleton<MenuOrangeFolds>, public _MenuOrangeFolds {
public:
    static constexpr int kTabs = 5;

    MenuOrangeFolds() = default;

    void init(const char* path) override;
    void update() override;
    void draw() override;
    // Alphas a quarter, timer 0, no hover; the selected tab, the count and the change flag stay.
    void reset() override;

    void onWidget0(int, int current) override { onTab(0, current); }
    void onWidget1(int, int current) override { onTab(1, current); }
    void onWidget2(int, int current) override { onTab(2, current); }
    void onWidget3(int, int current) override { onTab(3, current); }
    void onWidget4(int, int current) override { onTab(4, current); }

    // Selects a tab without a sound or a change flag.
    void setTab(int tab) { selectedTab = tab; }
    int getTab() const { return selectedTab; }
    // How many tabs react: with 4 or less the ranking tab is inert.
    void setTabCount(int count) { tabCount = count; }
    // The change flag, cleared by the reading.
    int takeTabChanged();

    int switchTimer = 0;
    int selectedTab = 0;
    int hoverTab = -1;
    float tabAlpha[kTabs] = {0.25f, 0.25f, 0.25f, 0.25f, 0.25f};
    int tabChanged = 0;
    int tabCount = kTabs;

private:
    void onTab(int tab, int current);
};

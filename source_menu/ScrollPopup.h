#pragma once

// The value-choice popup. Only what the router uses of it so far: the menu word it keeps from
// "scrollpopupstart" to "scrollpopupend".

#include "core/Singleton.h"
#include "source_menu/generated/_ScrollPopup.h"

#include <string>

class ScrollPopup : public Singleton<ScrollPopup>, public _ScrollPopup {
public:
    ScrollPopup() = default;

    // Layout handlers; the screen does not react to them yet.
    void onWidget15(int, int) override {}
    void onWidget16(int, int) override {}
    void onWidget17(int, int) override {}
    void onWidget18(int, int) override {}
    void onWidget19(int, int) override {}
    void onWidget20(int, int) override {}
    void onWidget21(int, int) override {}
    void onWidget22(int, int) override {}

    std::wstring savedMenu;
};

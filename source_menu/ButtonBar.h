#pragma once

// The in-game button bar.

#include "core/Singleton.h"
#include "source_menu/generated/_ButtonBar.h"

class ButtonBar : public Singleton<ButtonBar>, public _ButtonBar {
public:
    ButtonBar() = default;

    // Layout handlers; the screen does not react to them yet.
    void onWidget0(int, int) override {}
    void onWidget1(int, int) override {}
    void onWidget2(int, int) override {}
    void onWidget3(int, int) override {}
    void onWidget4(int, int) override {}
    void onWidget5(int, int) override {}
    void onWidget6(int, int) override {}
    void onWidget7(int, int) override {}
    void onWidget8(int, int) override {}
    void onWidget9(int, int) override {}
    void onWidget10(int, int) override {}
    void onWidget11(int, int) override {}
    void onWidget12(int, int) override {}
    void onWidget13(int, int) override {}
    void onWidget14(int, int) override {}
    void onWidget15(int, int) override {}
    void onWidget16(int, int) override {}
    void onWidget17(int, int) override {}
};

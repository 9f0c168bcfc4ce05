#pragma once

// The trick show, where an animal is taught its tricks.

#include "core/Singleton.h"
#include "source_menu/generated/_TeachTrick.h"

class TeachTrick : public Singleton<TeachTrick>, public _TeachTrick {
public:
    TeachTrick() = default;

    // Non-zero while the trick show is visible.
    int isOpen() const { return isVisible(); }

    // Layout handlers; the screen does not react to them yet.
    void onWidget5(int, int) override {}
    void onWidget6(int, int) override {}
    void onWidget7(int, int) override {}
    void onWidget8(int, int) override {}
};

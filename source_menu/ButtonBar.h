#pragma once

// The bank of the 18 button pictures that Button draws: a screen loaded with the others but
// never shown. Kind k is mButtons0[k] (kind 11 is mWidget12, kind 12 mWidget11): image 0 its
// normal look, image 1 its over look, image 2 the rectangle of its text.

#include "core/Singleton.h"
#include "source_menu/generated/_ButtonBar.h"

class MyImage;

class ButtonBar : public Singleton<ButtonBar>, public _ButtonBar {
public:
    ButtonBar() = default;

    // Puts images 0 and 1 of every picture at the origin and the further ones at their place
    // relative to image 0, so a picture is drawn at an offset.
    void init(const char* path) override;
    void update() override;
    void draw() override;
    // The base reset, then the bank and every picture enabled.
    void reset() override;

    // Image j of the picture of that kind.
    MyImage* getIconImage(int kind, int j);

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

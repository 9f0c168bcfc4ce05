#pragma once

// The bank of the happiness pictures, levels 0 to 4 (mCanvases0): a screen loaded with the
// others but never shown. Happiness draws its pictures at offsets.

#include "core/Singleton.h"
#include "source_menu/generated/_HappinessBar.h"

class MyImage;

class HappinessBar : public Singleton<HappinessBar>, public _HappinessBar {
public:
    HappinessBar() = default;

    // Puts the first image of every picture at the origin, so a picture is drawn at an offset.
    void init(const char* path) override;
    void update() override;
    void draw() override;
    // The base reset, then the bank and every picture enabled.
    void reset() override;

    // The first image of the picture of that level (0..4).
    MyImage* getLevelImage(int level);
};

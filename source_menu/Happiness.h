#pragma once

// The happiness indicator: one of the five pictures of the HappinessBar bank (levels 0 to 4),
// drawn by a screen at one of its layout places with the screen's fade alpha.

class WidgetBaseBase;

class Happiness {
public:
    // Left edge and vertical centre of the anchor's first rectangle; level 0.
    explicit Happiness(WidgetBaseBase* anchor);
    Happiness(const Happiness&) = delete;
    Happiness& operator=(const Happiness&) = delete;

    // The level held within 0..4.
    void setLevel(int level);
    int update() { return 0; }
    // The level's picture, its left edge at x and centred vertically on y.
    void draw(float alpha, float offsetX, float offsetY);

    float x = 0.0f;
    float y = 0.0f;
    int level = 0;
};

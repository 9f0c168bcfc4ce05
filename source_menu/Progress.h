#pragma once

// The level gauge: the frame of the ProgressBar bank with its seven cells, of which the cells
// from the level on are covered (level 0 covers all seven, level 7 none). Screens show an
// animal's hunger and health, a building's cleanness and condition, and averages of them.

class WidgetBaseBase;

class Progress {
public:
    // Left edge and vertical centre of the anchor's first rectangle; level 0.
    explicit Progress(WidgetBaseBase* anchor);
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // The level held within 0..7.
    void setLevel(int level);
    void update() {}
    // The frame, then the covers of cells level..6, all at the frame's place: its left edge at
    // x and centred vertically on y.
    void draw(float alpha, float offsetX, float offsetY);

    int level = 0;
    float x = 0.0f;
    float y = 0.0f;
};

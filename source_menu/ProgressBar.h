#pragma once

// The bank of the level gauge's pictures: the frame (mWidget0) and the covers of its seven
// cells (mCanvases0), placed relative to the frame. A screen loaded with the others but never
// shown; Progress draws its pictures at offsets.

#include "core/Singleton.h"
#include "source_menu/generated/_ProgressBar.h"

class MyImage;

class ProgressBar : public Singleton<ProgressBar>, public _ProgressBar {
public:
    static constexpr int kCells = 7;

    ProgressBar() = default;

    // Puts the frame's first image at the origin and each cell's first image at its place
    // relative to the frame, so the gauge is drawn at an offset.
    void init(const char* path) override;
    void update() override;
    void draw() override;
    void reset() override;

    // The first image of cell i (0..6).
    MyImage* getLevelImage(int i);
    // The first image of the frame.
    MyImage* getFrameImage();
};

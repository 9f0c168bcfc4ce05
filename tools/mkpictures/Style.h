#pragma once

// The pictures' shared cartoon style: ink outlines, top-lit fills, soft shadows and the
// small motifs (paw prints, stars, windows) several pictures use.

#include "Canvas.h"

#include <cstdint>

namespace style {

const float kPi = 3.14159265358979f;

// The outline colour and widths (in 128-unit design space).
Color ink();
const float kLine = 3.0f;
const float kThin = 2.0f;

// A fill lit from above: lighter at the path's top, darker at its bottom, outlined.
void part(Canvas& c, const Path& p, Color base, float line = kLine);
// The ink outline of a path drawn before its fill: the fill then hides the inner half, so a
// union of overlapping shapes shows only its outer edge.
void outline_behind(Canvas& c, const Path& p, float line = kLine);
// The same fill without the outline.
void shade(Canvas& c, const Path& p, Color base);
// A soft contact shadow on the ground.
void ground_shadow(Canvas& c, float cx, float cy, float rx, float ry);
// The grass patch most buildings stand on.
void lawn(Canvas& c, float cx = 64, float cy = 106, float rx = 58, float ry = 16);
// A glazed window with a frame, cross bars and a shine.
void window(Canvas& c, float x, float y, float w, float h, bool arched = false);
// An arched door.
void door(Canvas& c, float x, float y, float w, float h, Color wood);
// n gold stars in the top-right corner: the building's level.
void level_stars(Canvas& c, int n);
// A paw print centred at (x, y) of the given size.
Path paw(float x, float y, float size);
// Straight line segment as a path.
Path segment(float x0, float y0, float x1, float y1, float width);

// Deterministic pseudo-random numbers for scattered details.
class Random {
public:
    explicit Random(uint32_t seed) : mState(seed * 2654435761u + 12345u) {}
    float next();                              // 0..1
    float range(float a, float b) { return a + (b - a) * next(); }
private:
    uint32_t mState;
};

}  // namespace style

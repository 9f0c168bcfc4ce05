#include "Style.h"

#include <cmath>

namespace style {

Color ink()
{
    return hex("#3b2a22");
}

void shade(Canvas& c, const Path& p, Color base)
{
    float x0, y0, x1, y1;
    p.bounds(x0, y0, x1, y1);
    c.fill(p, linear({0, y0}, {0, y1}, {{0, lighter(base, 0.22f)}, {0.55f, base}, {1, darker(base, 0.12f)}}));
}

void outline_behind(Canvas& c, const Path& p, float line)
{
    c.fill(outline_of(p, line * 2), ink());
}

void part(Canvas& c, const Path& p, Color base, float line)
{
    outline_behind(c, p, line);
    shade(c, p, base);
}

void ground_shadow(Canvas& c, float cx, float cy, float rx, float ry)
{
    c.shadow(ellipse(cx, cy, rx, ry), 0, 0, 6, with_alpha(hex("#1c2a10"), 0.45f));
}

void lawn(Canvas& c, float cx, float cy, float rx, float ry)
{
    c.shadow(ellipse(cx, cy + 3, rx, ry), 0, 0, 5, with_alpha(hex("#000000"), 0.30f));
    Path grass = ellipse(cx, cy, rx, ry);
    c.fill(grass, radial({cx - rx * 0.2f, cy - ry * 0.6f}, rx * 1.1f,
                         {{0, hex("#9bdc63")}, {0.6f, hex("#6cbf3f")}, {1, hex("#4f9a2e")}}));
    c.fill(outline_of(grass, kLine), ink());
}

void window(Canvas& c, float x, float y, float w, float h, bool arched)
{
    Path frame = arched ? round_rect(x, y, w, h, w / 2) + rect(x, y + w / 2, w, h - w / 2)
                        : round_rect(x, y, w, h, 2);
    c.fill(frame, linear({x, y}, {x + w, y + h}, {{0, hex("#d8f3ff")}, {1, hex("#6fb6e0")}}));
    c.push_clip(frame);
    c.fill(polygon({{x + w * 0.15f, y + h}, {x + w * 0.65f, y}, {x + w * 0.9f, y}, {x + w * 0.4f, y + h}}),
           with_alpha(hex("#ffffff"), 0.45f));
    c.pop_clip();
    c.fill(segment(x + w / 2, y, x + w / 2, y + h, 1.6f), ink());
    c.fill(segment(x, y + h * 0.55f, x + w, y + h * 0.55f, 1.6f), ink());
    c.fill(outline_of(frame, kThin), ink());
}

void door(Canvas& c, float x, float y, float w, float h, Color wood)
{
    Path d = round_rect(x, y, w, h, w / 2) + rect(x, y + w / 2, w, h - w / 2);
    shade(c, d, wood);
    c.fill(segment(x + w / 2, y + 2, x + w / 2, y + h, 1.4f), darker(wood, 0.3f));
    c.fill(circle(x + w * 0.75f, y + h * 0.6f, 1.6f), hex("#f2c14e"));
    c.fill(outline_of(d, kThin), ink());
}

void level_stars(Canvas& c, int n)
{
    for (int k = 0; k < n; ++k) {
        float x = 117 - k * 14.0f, y = 10;
        Path s = round_polygon(star(x, y, 7.5f, 3.6f, 5).shapes[0].contours[0], 1.2f);
        c.fill(s.translated(0.8f, 1.2f), with_alpha(ink(), 0.35f));
        c.fill(s, linear({x, y - 8}, {x, y + 8}, {{0, hex("#fff3a0")}, {1, hex("#f5b324")}}));
        c.fill(outline_of(s, 1.6f), ink());
    }
}

Path paw(float x, float y, float size)
{
    float s = size / 20.0f;
    Path p = ellipse(x, y + 3 * s, 6.5f * s, 5.5f * s);
    p.add(ellipse(x - 7.5f * s, y - 3 * s, 2.6f * s, 3.3f * s, -0.3f));
    p.add(ellipse(x - 2.7f * s, y - 7 * s, 2.6f * s, 3.4f * s, -0.1f));
    p.add(ellipse(x + 2.7f * s, y - 7 * s, 2.6f * s, 3.4f * s, 0.1f));
    p.add(ellipse(x + 7.5f * s, y - 3 * s, 2.6f * s, 3.3f * s, 0.3f));
    return p;
}

Path segment(float x0, float y0, float x1, float y1, float width)
{
    return stroke_polyline({{x0, y0}, {x1, y1}}, width);
}

float Random::next()
{
    mState = mState * 1664525u + 1013904223u;
    return float(mState >> 8) / float(1u << 24);
}

}  // namespace style

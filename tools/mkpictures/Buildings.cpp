// The building card icons: one picture per building, drawn in a 128-unit square.
// Sections: shared motifs - dog - cat - rabbit - horse - dino - services - catalogue.

#include "Pictures.h"
#include "Style.h"
#include "TextPath.h"

#include <cmath>

using namespace style;

namespace {

// ---- shared motifs

Path bone(float x, float y, float len, float thick)
{
    float h = len / 2, r = thick * 0.62f;
    Path p = rect(x - h, y - thick / 2, len, thick);
    p.add(circle(x - h, y - r * 0.7f, r)).add(circle(x - h, y + r * 0.7f, r));
    p.add(circle(x + h, y - r * 0.7f, r)).add(circle(x + h, y + r * 0.7f, r));
    return p;
}

Path horseshoe(float x, float y, float size)
{
    return arc_band(x, y, size * 0.55f, size, -0.22f * kPi, 1.22f * kPi);
}

void draw_horseshoe(Canvas& c, float x, float y, float size)
{
    Path h = horseshoe(x, y, size);
    part(c, h, hex("#f2c14e"), kThin);
    for (float a : {-0.05f, 0.25f, 0.75f, 1.05f})
        c.fill(circle(x + std::cos(a * kPi) * size * 0.78f, y + std::sin(a * kPi) * size * 0.78f, size * 0.08f), ink());
}

// A three-toed footprint, toes up.
Path dino_foot(float x, float y, float size)
{
    float s = size / 20;
    Path p = ellipse(x, y + 4 * s, 6 * s, 5 * s);
    p.add(ellipse(x - 6 * s, y - 3 * s, 2.4f * s, 6 * s, -0.45f));
    p.add(ellipse(x, y - 6 * s, 2.4f * s, 6.5f * s));
    p.add(ellipse(x + 6 * s, y - 3 * s, 2.4f * s, 6 * s, 0.45f));
    return p;
}

// A fern frond from its root along a gentle curve, leaflets on both sides.
void fern(Canvas& c, Vec2 root, Vec2 tip, float bend, Color green)
{
    Vec2 mid{(root.x + tip.x) / 2 + bend, (root.y + tip.y) / 2};
    std::vector<Vec2> stem = bezier_points(root, mid, mid, tip);
    Path leaves;
    for (size_t k = 3; k + 1 < stem.size(); k += 2) {
        Vec2 p = stem[k], q = stem[k + 1];
        float ang = std::atan2(q.y - p.y, q.x - p.x);
        float len = 14.0f * (1.0f - float(k) / float(stem.size())) + 4;
        for (float side : {-1.0f, 1.0f}) {
            float a = ang + side * 0.95f;
            leaves.add(ellipse(p.x + std::cos(a) * len / 2, p.y + std::sin(a) * len / 2, len / 2, 3.2f, a));
        }
    }
    c.fill(outline_of(leaves, 1.8f), darker(green, 0.45f));
    shade(c, leaves, green);
    c.fill(stroke_polyline(stem, 2.2f), darker(green, 0.35f));
}

void bush(Canvas& c, float x, float y, float r)
{
    Path b = circle(x - r * 0.55f, y, r * 0.7f) + circle(x + r * 0.55f, y, r * 0.7f) + circle(x, y - r * 0.45f, r * 0.8f);
    part(c, b, hex("#58a83c"), kThin);
}

void tree(Canvas& c, float x, float y, float r)
{
    part(c, rect(x - r * 0.18f, y - r * 0.6f, r * 0.36f, r * 1.4f), hex("#8b5a36"), kThin);
    Path crown = circle(x - r * 0.5f, y - r * 0.7f, r * 0.65f) + circle(x + r * 0.5f, y - r * 0.7f, r * 0.65f) +
                 circle(x, y - r * 1.2f, r * 0.75f);
    part(c, crown, hex("#4fa83a"), kThin);
}

// A roof gable with a rounded outline.
void roof(Canvas& c, std::vector<Vec2> points, Color color)
{
    part(c, round_polygon(points, 3), color);
}

// Horizontal boards on a wall.
void boards(Canvas& c, const Path& wall, float y0, float y1, float step, Color wood)
{
    c.push_clip(wall);
    for (float y = y0; y < y1; y += step)
        c.fill(segment(0, y, 128, y, 1.3f), darker(wood, 0.25f));
    c.pop_clip();
}

// ---- dog

void dog_kennel(Canvas& c)
{
    lawn(c);
    ground_shadow(c, 64, 103, 38, 6);
    Color wood = hex("#e0a86a");
    Path body = round_polygon({{32, 103}, {32, 62}, {64, 38}, {96, 62}, {96, 103}}, 2);
    shade(c, body, wood);
    boards(c, body, 56, 104, 10, wood);
    c.fill(outline_of(body, kLine), ink());
    Path hole = round_rect(50, 68, 28, 40, 14) - rect(0, 103, 128, 20);
    c.fill(hole, linear({0, 68}, {0, 103}, {{0, hex("#2a1c16")}, {1, hex("#4d3428")}}));
    c.fill(outline_of(hole, kThin), ink());
    roof(c, {{18, 68}, {64, 26}, {110, 68}, {101, 76}, {64, 42}, {27, 76}}, hex("#e0533f"));
    part(c, bone(64, 56, 14, 5), hex("#fff6e3"), 1.6f);
    // Food bowl beside the kennel.
    Path bowl = round_polygon({{90, 97}, {112, 97}, {108, 106}, {94, 106}}, 2);
    c.fill(ellipse(101, 97, 10, 2.5f), hex("#a0612e"));
    part(c, bowl, hex("#4a90d9"), kThin);
    level_stars(c, 1);
}

void dog_villa(Canvas& c)
{
    lawn(c, 64, 106, 60, 16);
    ground_shadow(c, 64, 103, 46, 6);
    part(c, rect(84, 18, 11, 20), hex("#b5523b"));
    Path walls = rect(22, 56, 84, 48);
    part(c, walls, hex("#f7e2b5"));
    roof(c, {{12, 60}, {36, 28}, {92, 28}, {116, 60}}, hex("#c8553d"));
    c.push_clip(round_polygon({{12, 60}, {36, 28}, {92, 28}, {116, 60}}, 3));
    for (float y = 38; y < 60; y += 10)
        c.fill(segment(0, y, 128, y, 1.3f), darker(hex("#c8553d"), 0.3f));
    c.pop_clip();
    door(c, 55, 74, 18, 30, hex("#8a5a3c"));
    window(c, 30, 68, 17, 17);
    window(c, 81, 68, 17, 17);
    part(c, circle(64, 65, 6.5f), hex("#fff6e3"), 1.6f);
    c.fill(paw(64, 65.5f, 9), hex("#8a5a3c"));
    bush(c, 16, 100, 11);
    bush(c, 112, 100, 11);
    level_stars(c, 2);
}

void dog_palace(Canvas& c)
{
    lawn(c, 64, 107, 61, 16);
    ground_shadow(c, 64, 104, 50, 6);
    Color wall = hex("#f6ead6");
    Color blue = hex("#4c7fd1");
    for (float x : {12.0f, 94.0f}) {
        part(c, circle(x + 11, 22, 3), hex("#f2c14e"), 1.4f);
        part(c, rect(x, 50, 22, 54), wall);
        roof(c, {{x - 4, 54}, {x + 11, 24}, {x + 26, 54}}, blue);
        window(c, x + 6, 64, 10, 16, true);
    }
    c.fill(segment(64, 20, 64, 4, 1.6f), ink());
    part(c, polygon({{64, 4}, {50, 8}, {64, 12}}), hex("#e04848"), 1.4f);
    Path dome = Path(arc_points(64, 56, 26, 26, kPi, 2 * kPi));
    part(c, Path(Contour{{59, 32}, {64, 18}, {69, 32}}), hex("#f2c14e"), kThin);
    part(c, dome, blue);
    part(c, rect(32, 54, 64, 50), wall);
    // Columns and a gold emblem.
    for (float x : {38.0f, 84.0f})
        part(c, rect(x, 62, 6, 42), lighter(wall, 0.3f), kThin);
    part(c, circle(64, 68, 9), hex("#f2c14e"), kThin);
    c.fill(paw(64, 68.5f, 12), hex("#b0762a"));
    door(c, 55, 80, 18, 24, hex("#b8373a"));
    part(c, round_rect(28, 52, 72, 6, 3), hex("#f2c14e"), kThin);
    level_stars(c, 3);
}

// ---- cat

void cat_cottage(Canvas& c)
{
    lawn(c);
    ground_shadow(c, 64, 103, 40, 6);
    Color purple = hex("#8f6cc8");
    for (float side : {-1.0f, 1.0f}) {
        std::vector<Vec2> ear = {{64 + side * 14, 36}, {64 + side * 18, 12}, {64 + side * 30, 44}};
        part(c, round_polygon(ear, 3), purple);
        c.fill(round_polygon({{64 + side * 18, 34}, {64 + side * 18.5f, 19}, {64 + side * 25, 38}}, 2), hex("#f5a3c0"));
    }
    part(c, rect(28, 60, 72, 44), hex("#f6d9a8"));
    roof(c, {{16, 66}, {64, 26}, {112, 66}}, purple);
    // Round gable window like a cat's eye.
    part(c, circle(64, 52, 7.5f), hex("#ffe27a"), kThin);
    c.fill(ellipse(64, 52, 2, 6), ink());
    window(c, 36, 72, 20, 16);
    door(c, 70, 74, 18, 30, hex("#7a4a8c"));
    // Whiskers under the gable.
    for (float side : {-1.0f, 1.0f})
        for (float dy : {-2.5f, 2.5f})
            c.fill(segment(64 + side * 12, 54 + dy, 64 + side * 24, 53 + dy * 2.2f, 1.3f), ink());
    level_stars(c, 1);
}

void cat_tower(Canvas& c)
{
    lawn(c);
    ground_shadow(c, 64, 102, 36, 5);
    Color cushion = hex("#9b7bd4");
    Color rope = hex("#e3c48f");
    Path post = rect(57, 30, 14, 68);
    shade(c, post, rope);
    c.push_clip(post);
    for (float y = 26; y < 100; y += 5)
        c.fill(segment(50, y, 78, y + 4, 1.2f), darker(rope, 0.3f));
    c.pop_clip();
    c.fill(outline_of(post, kLine), ink());
    part(c, round_rect(28, 94, 72, 10, 5), cushion);
    Path left = rect(36, 74, 21, 6);
    part(c, left, rope, kThin);
    part(c, round_rect(18, 66, 40, 9, 4.5f), cushion);
    part(c, rect(71, 54, 22, 6), rope, kThin);
    part(c, round_rect(70, 46, 40, 9, 4.5f), cushion);
    // The toy on a string.
    c.fill(segment(102, 54, 102, 74, 1.4f), ink());
    part(c, circle(102, 79, 5.5f), hex("#e0533f"), kThin);
    // The cubby on top with ears.
    for (float side : {-1.0f, 1.0f})
        part(c, round_polygon({{64 + side * 8, 16}, {64 + side * 16, 2}, {64 + side * 23, 20}}, 2), cushion);
    Path cubby = ellipse(64, 26, 26, 15);
    part(c, cubby, cushion);
    c.fill(ellipse(64, 28, 10, 8.5f), hex("#2e2233"));
    c.fill(outline_of(ellipse(64, 28, 10, 8.5f), kThin), ink());
    c.fill(ellipse(60, 29, 2.2f, 1.8f), hex("#9be15d"));
    c.fill(ellipse(68, 29, 2.2f, 1.8f), hex("#9be15d"));
    level_stars(c, 2);
}

void cat_manor(Canvas& c)
{
    lawn(c, 64, 107, 61, 16);
    ground_shadow(c, 58, 104, 50, 6);
    Color purple = hex("#7d5bb5");
    part(c, rect(66, 18, 10, 18), hex("#b5523b"));
    part(c, rect(12, 52, 72, 52), hex("#f3e1c7"));
    roof(c, {{6, 56}, {28, 24}, {68, 24}, {90, 56}}, purple);
    window(c, 20, 62, 14, 15, true);
    window(c, 62, 62, 14, 15, true);
    door(c, 40, 74, 16, 30, hex("#6b3f8f"));
    // The conservatory: a glass house with a round top.
    Path glass = rect(84, 68, 36, 36) + ellipse(102, 68, 18, 18) - rect(0, 104, 128, 30);
    outline_behind(c, glass);
    c.fill(glass, hex("#ffffff"));
    c.fill(glass, linear({84, 50}, {120, 104}, {{0, with_alpha(hex("#e8fbff"), 0.95f)}, {1, with_alpha(hex("#7fc4e4"), 0.95f)}}));
    c.push_clip(glass);
    for (float x : {93.0f, 102.0f, 111.0f})
        c.fill(segment(x, 48, x, 104, 1.5f), hex("#ffffff"));
    c.fill(segment(84, 76, 120, 76, 1.5f), hex("#ffffff"));
    c.pop_clip();
    bush(c, 102, 100, 6);
    // The fish pond.
    Path pond = ellipse(34, 113, 18, 5.5f);
    part(c, pond, hex("#4aa3df"), kThin);
    Path fish = ellipse(32, 113, 4, 2) + polygon({{35, 113}, {39, 110.5f}, {39, 115.5f}});
    c.fill(fish, hex("#ff8c2a"));
    level_stars(c, 3);
}

// ---- rabbit

void rabbit_hutch(Canvas& c)
{
    lawn(c);
    ground_shadow(c, 64, 103, 42, 5);
    Color wood = hex("#c98b52");
    for (float x : {28.0f, 94.0f})
        part(c, rect(x, 84, 7, 20), darker(wood, 0.15f), kThin);
    part(c, rect(22, 50, 84, 38), wood);
    // Solid side with a round entrance, mesh side with hay.
    Path panel = rect(28, 56, 30, 26);
    part(c, panel, lighter(wood, 0.15f), kThin);
    c.fill(circle(43, 71, 7), hex("#3b2a22"));
    Path mesh = rect(64, 56, 36, 26);
    c.fill(mesh, hex("#4a3a30"));
    c.push_clip(mesh);
    Random r(7);
    for (int k = 0; k < 26; ++k) {
        float x = r.range(62, 100), y = r.range(74, 83);
        c.fill(segment(x, y, x + r.range(-6, 6), y + r.range(-4, 1), 1.3f), hex("#f2d26b"));
    }
    for (float x = 68; x < 100; x += 6)
        c.fill(segment(x, 56, x, 82, 0.9f), hex("#d6dde3"));
    for (float y = 60; y < 82; y += 6)
        c.fill(segment(64, y, 100, y, 0.9f), hex("#d6dde3"));
    c.pop_clip();
    c.fill(outline_of(mesh, kThin), ink());
    roof(c, {{14, 54}, {26, 32}, {102, 32}, {114, 54}}, hex("#5f9e4a"));
    // A carrot on the grass.
    part(c, round_polygon({{96, 106}, {114, 101}, {113, 106}}, 1.5f), hex("#ff8c2a"), 1.6f);
    c.fill(ellipse(116, 101, 3.5f, 1.5f, -0.6f), hex("#4fa83a"));
    c.fill(ellipse(116, 104, 3.5f, 1.5f, 0.4f), hex("#4fa83a"));
    level_stars(c, 1);
}

void rabbit_warren(Canvas& c)
{
    lawn(c, 64, 106, 60, 16);
    Path mound = Path(arc_points(64, 104, 54, 58, kPi, 2 * kPi));
    c.fill(mound, radial({50, 56}, 70, {{0, hex("#a5e070")}, {0.7f, hex("#6cbf3f")}, {1, hex("#4f9a2e")}}));
    c.fill(outline_of(mound, kLine), ink());
    struct Hole { float x, y, rx, ry; };
    for (Hole h : {Hole{40, 86, 11, 7}, Hole{84, 72, 10, 6.5f}, Hole{66, 96, 8, 5}}) {
        part(c, ellipse(h.x, h.y, h.rx + 4, h.ry + 3), hex("#9a6a40"), kThin);
        c.fill(ellipse(h.x, h.y + 1, h.rx, h.ry), hex("#2a1c16"));
    }
    // Ears out of a burrow.
    for (float side : {-1.0f, 1.0f}) {
        Path ear = ellipse(84 + side * 5, 56, 4.5f, 13, side * 0.25f);
        part(c, ear, hex("#f4efe8"), kThin);
        c.fill(ellipse(84 + side * 5, 57, 2, 9, side * 0.25f), hex("#f5a3c0"));
    }
    c.fill(ellipse(84, 70, 9, 4), hex("#2a1c16"));
    // Clover.
    for (Vec2 p : {Vec2{26, 64}, Vec2{58, 50}, Vec2{106, 92}}) {
        Path leaf = circle(p.x - 2.6f, p.y, 3) + circle(p.x + 2.6f, p.y, 3) + circle(p.x, p.y - 3.8f, 3);
        part(c, leaf, hex("#3f9b4b"), 1.4f);
    }
    c.fill(circle(20, 96, 3.5f), hex("#ffffff"));
    c.fill(circle(20, 96, 1.4f), hex("#f2c14e"));
    level_stars(c, 2);
}

void rabbit_garden(Canvas& c)
{
    lawn(c, 64, 107, 61, 16);
    Color hedge = hex("#4f9a3a");
    Path wall = round_rect(8, 46, 112, 50, 8);
    for (float x = 14; x < 120; x += 12)
        wall.add(circle(x, 48, 7));
    outline_behind(c, wall);
    shade(c, wall, hedge);
    Random r(3);
    c.push_clip(wall);
    for (int k = 0; k < 40; ++k)
        c.fill(ellipse(r.range(8, 120), r.range(44, 96), 3, 1.8f, r.range(0, 3)), lighter(hedge, 0.25f));
    c.pop_clip();
    // The gate.
    Path gate = round_rect(48, 58, 32, 50, 16) - rect(0, 96, 128, 30);
    shade(c, gate, hex("#b57a45"));
    c.push_clip(gate);
    for (float x = 56; x < 80; x += 8)
        c.fill(segment(x, 50, x, 100, 1.3f), darker(hex("#b57a45"), 0.3f));
    c.pop_clip();
    c.fill(outline_of(gate, kLine), ink());
    // Carrot beds.
    for (float bx : {10.0f, 82.0f}) {
        part(c, round_rect(bx, 96, 36, 13, 6), hex("#8a5a36"), kThin);
        for (float k = 0; k < 3; ++k) {
            float x = bx + 8 + k * 10;
            for (float a : {-0.5f, 0.0f, 0.5f})
                c.fill(ellipse(x + a * 6, 92, 1.6f, 4.5f, a), hex("#3f9b4b"));
            part(c, ellipse(x, 99, 3.5f, 3), hex("#ff8c2a"), 1.4f);
        }
    }
    level_stars(c, 3);
}

// ---- horse

void horse_stable(Canvas& c)
{
    lawn(c);
    ground_shadow(c, 64, 103, 46, 6);
    Color red = hex("#c9463d");
    Path walls = rect(22, 54, 84, 50);
    shade(c, walls, red);
    c.push_clip(walls);
    for (float x = 22; x < 106; x += 7)
        c.fill(segment(x, 50, x, 104, 1.2f), darker(red, 0.2f));
    c.pop_clip();
    c.fill(outline_of(walls, kLine), ink());
    roof(c, {{14, 58}, {38, 30}, {90, 30}, {114, 58}}, hex("#5d6770"));
    // Two stall doors with white braces.
    for (float x : {30.0f, 70.0f}) {
        Path d = rect(x, 68, 28, 36);
        part(c, d, hex("#a8322b"), kThin);
        Color white = hex("#fdfaf2");
        c.fill(outline_of(rect(x + 2.5f, 70.5f, 23, 31), 3), white);
        c.fill(segment(x + 2.5f, 86, x + 25.5f, 86, 3), white);
        c.fill(segment(x + 2.5f, 70.5f, x + 25.5f, 86, 2.4f), white);
        c.fill(segment(x + 2.5f, 86, x + 25.5f, 101.5f, 2.4f), white);
    }
    draw_horseshoe(c, 64, 42, 8);
    level_stars(c, 1);
}

void riding_barn(Canvas& c)
{
    lawn(c, 64, 106, 60, 16);
    ground_shadow(c, 64, 103, 48, 6);
    Color red = hex("#c0392b");
    std::vector<Vec2> outline = {{18, 104}, {18, 58}, {28, 36}, {64, 20}, {100, 36}, {110, 58}, {110, 104}};
    Path barn = round_polygon(outline, 2);
    shade(c, barn, red);
    c.push_clip(barn);
    for (float x = 18; x < 110; x += 7)
        c.fill(segment(x, 20, x, 104, 1.2f), darker(red, 0.2f));
    c.pop_clip();
    // The roof edge: white trim under a dark band.
    std::vector<Vec2> eave = {{14, 62}, {25, 36}, {64, 17}, {103, 36}, {114, 62}};
    c.fill(stroke_polyline(eave, 9), ink());
    c.fill(stroke_polyline(eave, 5), hex("#5d6770"));
    c.fill(outline_of(barn, kLine), ink());
    Color white = hex("#fdfaf2");
    Path loft = rect(53, 36, 22, 18);
    c.fill(loft, hex("#3b2a22"));
    c.fill(round_rect(54, 45, 20, 9, 3), hex("#f2d26b"));
    c.fill(outline_of(loft, 3), white);
    Path doorway = rect(44, 66, 40, 38);
    part(c, doorway, hex("#a8322b"), kThin);
    c.fill(outline_of(rect(46.5f, 68.5f, 35, 33), 3), white);
    c.fill(segment(64, 68.5f, 64, 104, 2.6f), white);
    for (float x : {46.5f, 64.0f}) {
        c.fill(segment(x, 68.5f, x + 17.5f, 101.5f, 2.4f), white);
        c.fill(segment(x + 17.5f, 68.5f, x, 101.5f, 2.4f), white);
    }
    // Fence rails at the sides.
    for (float x0 : {2.0f, 112.0f}) {
        for (float y : {86.0f, 96.0f})
            part(c, rect(x0, y, 14, 3.5f), hex("#fdfaf2"), 1.4f);
        part(c, rect(x0 + 5, 80, 4, 26), hex("#fdfaf2"), 1.4f);
    }
    level_stars(c, 2);
}

void horse_ranch(Canvas& c)
{
    Path hills = ellipse(30, 90, 40, 34) + ellipse(98, 92, 44, 30);
    part(c, hills - rect(0, 96, 128, 40), hex("#8fce5c"));
    tree(c, 106, 72, 14);
    lawn(c, 64, 106, 62, 16);
    Color wood = hex("#9c6a3e");
    // Fence rails.
    for (float y : {80.0f, 92.0f}) {
        part(c, rect(4, y, 26, 4), lighter(wood, 0.2f), 1.6f);
        part(c, rect(98, y, 26, 4), lighter(wood, 0.2f), 1.6f);
    }
    for (float x : {8.0f, 118.0f})
        part(c, rect(x - 2.5f, 74, 5, 34), wood, 1.6f);
    // The gate: two posts, a crossbeam and a hanging sign.
    part(c, rect(24, 34, 11, 74), wood);
    part(c, rect(93, 34, 11, 74), wood);
    part(c, round_rect(14, 28, 100, 10, 3), wood);
    c.fill(segment(48, 38, 48, 50, 1.4f), ink());
    c.fill(segment(80, 38, 80, 50, 1.4f), ink());
    part(c, round_rect(40, 48, 48, 22, 4), hex("#e8c48a"));
    draw_horseshoe(c, 64, 57, 8);
    level_stars(c, 3);
}

// ---- dino

// A long-necked dino looking over a fence, its neck rising from (x, y).
void dino_peeking(Canvas& c, float x, float y)
{
    Color green = hex("#7cc35a");
    Path neck = stroke_polyline(bezier_points({x, y}, {x + 4, y - 24}, {x - 2, y - 40}, {x - 12, y - 50}), 15);
    Path head = ellipse(x - 18, y - 54, 15, 10.5f, -0.15f);
    part(c, neck + head, green);
    c.push_clip(neck);
    for (Vec2 spot : {Vec2{x + 2, y - 14}, Vec2{x - 3, y - 30}, Vec2{x + 1, y - 4}})
        c.fill(ellipse(spot.x, spot.y, 3, 2.2f), darker(green, 0.18f));
    c.pop_clip();
    c.fill(ellipse(x - 18, y - 57, 3.2f, 3.8f), hex("#241a16"));
    c.fill(circle(x - 17, y - 58.5f, 1.3f), hex("#ffffff"));
    c.fill(circle(x - 30, y - 55, 1.2f), ink());
    c.fill(stroke_polyline(arc_points(x - 22, y - 52, 7, 4, 0.2f * kPi, 0.75f * kPi), 1.8f), ink());
    c.fill(ellipse(x - 11, y - 51, 3.5f, 2), with_alpha(hex("#ff7f8f"), 0.45f));
}

void dino_paddock(Canvas& c)
{
    lawn(c);
    Color fernGreen = hex("#3f9b4b");
    fern(c, {30, 92}, {8, 26}, 10, fernGreen);
    fern(c, {108, 92}, {122, 40}, -6, fernGreen);
    dino_peeking(c, 84, 84);
    Color wood = hex("#a8743f");
    float tops[5] = {56, 48, 52, 46, 54};
    for (int k = 0; k < 5; ++k) {
        float x = 16 + k * 19.5f, t = tops[k];
        part(c, round_polygon({{x, 106}, {x, t + 7}, {x + 8.5f, t}, {x + 17, t + 7}, {x + 17, 106}}, 2), wood, 2.4f);
    }
    for (float y : {68.0f, 92.0f})
        part(c, rect(12, y, 104, 5), hex("#d9b26a"), 1.6f);
    part(c, round_rect(38, 70, 40, 22, 4), hex("#f0d9a8"));
    c.fill(dino_foot(58, 82, 18), hex("#2f6f3b"));
    level_stars(c, 1);
}

void dino_valley(Canvas& c)
{
    part(c, ellipse(26, 96, 36, 56) - rect(0, 100, 128, 40), hex("#6cb84f"));
    part(c, ellipse(104, 94, 38, 62) - rect(0, 100, 128, 40), hex("#5aa64a"));
    lawn(c, 64, 106, 61, 16);
    fern(c, {14, 100}, {4, 62}, 4, hex("#2f8f46"));
    fern(c, {112, 100}, {122, 58}, -4, hex("#2f8f46"));
    Path mud = ellipse(80, 108, 24, 7);
    part(c, mud, hex("#7a5233"), kThin);
    c.fill(ellipse(74, 106, 8, 2), with_alpha(hex("#b08058"), 0.8f));
    for (Vec2 b : {Vec2{86, 107}, Vec2{92, 110}})
        c.fill(outline_of(circle(b.x, b.y, 1.8f), 1), hex("#b08058"));
    // A nest of spotted eggs.
    part(c, ellipse(40, 104, 20, 7), hex("#c99a5b"));
    for (float x : {33.0f, 47.0f}) {
        Path egg = ellipse(x, 92, 7.5f, 10);
        part(c, egg, hex("#f7f1de"), kThin);
        c.push_clip(egg);
        for (Vec2 spot : {Vec2{x - 2, 88}, Vec2{x + 3, 94}, Vec2{x - 3, 97}})
            c.fill(circle(spot.x, spot.y, 1.8f), hex("#7cc35a"));
        c.pop_clip();
    }
    c.push_clip(rect(0, 100, 128, 28));
    part(c, ellipse(40, 104, 20, 7) - ellipse(40, 100, 17, 4), hex("#b07f45"));
    c.pop_clip();
    for (float x : {22.0f, 30.0f, 40.0f, 50.0f, 58.0f})
        c.fill(segment(x - 3, 104, x + 3, 100, 1.2f), hex("#8a6236"));
    level_stars(c, 2);
}

void dino_volcano(Canvas& c)
{
    lawn(c, 64, 107, 61, 16);
    // Steam above the crater.
    Path steam = circle(50, 22, 9) + circle(62, 14, 10) + circle(74, 22, 8) + circle(60, 26, 8);
    part(c, steam, hex("#eef1f4"), kThin);
    Path cone = round_polygon({{10, 106}, {46, 34}, {82, 34}, {118, 106}}, 4);
    c.fill(cone, linear({0, 34}, {0, 106}, {{0, hex("#9b6b53")}, {1, hex("#6b4636")}}));
    c.push_clip(cone);
    Path lava = ellipse(64, 34, 20, 6) + round_polygon({{50, 34}, {58, 34}, {54, 62}, {48, 58}}, 3) +
                round_polygon({{66, 34}, {78, 34}, {82, 72}, {76, 76}, {72, 52}}, 3);
    c.fill(outline_of(lava, 3.2f), hex("#b0361a"));
    c.fill(lava, linear({0, 30}, {0, 76}, {{0, hex("#ffe14d")}, {0.4f, hex("#ff9a1f")}, {1, hex("#e0451f")}}));
    c.pop_clip();
    c.fill(outline_of(cone, kLine), ink());
    // A palm at the foot.
    std::vector<Vec2> trunk = bezier_points({22, 108}, {20, 90}, {26, 78}, {30, 66});
    c.fill(stroke_polyline(trunk, 7), ink());
    c.fill(stroke_polyline(trunk, 4), hex("#a8743f"));
    Path fronds;
    for (float a : {-2.7f, -2.0f, -1.2f, -0.4f, 0.3f})
        fronds.add(ellipse(30 + std::cos(a) * 11, 66 + std::sin(a) * 8, 12, 3.5f, a));
    part(c, fronds, hex("#3f9b4b"), kThin);
    fern(c, {104, 106}, {114, 80}, 4, hex("#3f9b4b"));
    level_stars(c, 3);
}

// ---- services

void vet(Canvas& c)
{
    lawn(c);
    ground_shadow(c, 64, 103, 46, 6);
    part(c, rect(22, 52, 84, 52), hex("#f7f9fb"));
    part(c, round_rect(16, 44, 96, 12, 4), hex("#3fa7a0"));
    part(c, round_rect(44, 14, 40, 32, 8), hex("#ffffff"));
    Path cross = round_rect(59, 19, 10, 22, 2) + round_rect(53, 25, 22, 10, 2);
    part(c, cross, hex("#e23d3d"), kThin);
    window(c, 29, 64, 18, 16);
    window(c, 81, 64, 18, 16);
    Path glassDoor = rect(53, 70, 22, 34);
    c.fill(glassDoor, linear({53, 70}, {75, 104}, {{0, hex("#d8f3ff")}, {1, hex("#6fb6e0")}}));
    c.fill(segment(64, 70, 64, 104, 1.6f), ink());
    c.fill(outline_of(glassDoor, kThin), ink());
    c.fill(paw(64, 62, 10), hex("#3fa7a0"));
}

void hotel(Canvas& c)
{
    lawn(c);
    ground_shadow(c, 64, 103, 40, 6);
    Color wall = hex("#f0a878");
    part(c, rect(28, 26, 72, 78), wall);
    part(c, round_rect(24, 22, 80, 8, 3), hex("#8b4a6b"));
    // Windows, some lit.
    Random r(11);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col) {
            float x = 34 + col * 16, y = 36 + row * 15;
            Path w = round_rect(x, y, 12, 10, 1.5f);
            bool lit = r.next() < 0.45f;
            c.fill(w, lit ? hex("#ffe27a") : hex("#9fd3f0"));
            c.fill(outline_of(w, 1.6f), ink());
        }
    part(c, round_rect(46, 82, 36, 6, 3), hex("#c0392b"), kThin);
    Path glassDoor = rect(54, 88, 20, 16);
    c.fill(glassDoor, hex("#9fd3f0"));
    c.fill(segment(64, 88, 64, 104, 1.4f), ink());
    c.fill(outline_of(glassDoor, kThin), ink());
    part(c, round_rect(30, 2, 68, 18, 5), hex("#c0392b"));
    Path word = lettering().text("HOTEL", 10.5f, 64, 16);
    c.fill(word, hex("#fff6e3"));
    bush(c, 18, 100, 9);
    bush(c, 110, 100, 9);
}

void restaurant(Canvas& c)
{
    lawn(c);
    ground_shadow(c, 64, 103, 46, 6);
    part(c, rect(18, 50, 92, 54), hex("#fbe9cf"));
    roof(c, {{12, 52}, {26, 26}, {102, 26}, {116, 52}}, hex("#7a5a9c"));
    window(c, 26, 74, 32, 20);
    door(c, 76, 72, 20, 32, hex("#8a5a3c"));
    // A striped awning with a scalloped edge.
    Path awning = rect(14, 54, 100, 10);
    for (float x = 19; x < 114; x += 10)
        awning.add(circle(x, 64, 5));
    outline_behind(c, awning, kThin);
    c.fill(awning, hex("#ffffff"));
    c.push_clip(awning);
    for (float x = 14; x < 114; x += 20)
        c.fill(rect(x, 50, 10, 22), hex("#e0453f"));
    c.pop_clip();
    // The sign: a plate between a fork and a knife.
    part(c, circle(64, 36, 12), hex("#ffffff"), kThin);
    c.fill(outline_of(circle(64, 36, 8), 1.2f), hex("#c9ccd2"));
    Color steel = hex("#c9ccd2");
    part(c, round_rect(45, 30, 3.5f, 20, 1.5f), steel, 1.4f);
    part(c, round_rect(42, 22, 9.5f, 10, 2), steel, 1.4f);
    part(c, round_rect(80.5f, 30, 3.5f, 20, 1.5f), steel, 1.4f);
    part(c, round_polygon({{80.5f, 34}, {80.5f, 22}, {87, 28}, {84, 34}}, 2), steel, 1.4f);
}

void assistants(Canvas& c)
{
    lawn(c);
    ground_shadow(c, 60, 103, 44, 6);
    part(c, rect(20, 40, 76, 64), hex("#d9e4f2"));
    part(c, round_rect(14, 34, 88, 10, 3), hex("#4f6d8f"));
    for (int row = 0; row < 2; ++row) {
        window(c, 27, 50 + row * 20.0f, 18, 13);
        window(c, 71, 50 + row * 20.0f, 18, 13);
    }
    door(c, 50, 76, 16, 28, hex("#4f6d8f"));
    // The clipboard with a list of ticks.
    part(c, round_rect(86, 60, 30, 44, 4), hex("#b9804a"));
    c.fill(rect(90, 66, 22, 34), hex("#ffffff"));
    c.fill(outline_of(rect(90, 66, 22, 34), 1.4f), ink());
    part(c, round_rect(94, 56, 14, 8, 3), hex("#c9ccd2"), kThin);
    for (int k = 0; k < 3; ++k) {
        float y = 73 + k * 10.0f;
        c.fill(stroke_polyline({{92.5f, y}, {95, y + 2.5f}, {99, y - 2.5f}}, 1.8f), hex("#3fa34d"));
        c.fill(segment(101, y, 109, y, 1.4f), hex("#8a93a0"));
    }
}

void cleaning(Canvas& c)
{
    lawn(c);
    ground_shadow(c, 62, 104, 34, 5);
    // A broom leaning on the bucket.
    c.fill(segment(98, 12, 86, 82, 5), ink());
    c.fill(segment(98, 12, 86, 82, 2.5f), hex("#c98b52"));
    Path bristles = round_polygon({{80, 78}, {94, 80}, {100, 104}, {72, 102}}, 3);
    part(c, bristles, hex("#f2d26b"), kThin);
    c.push_clip(bristles);
    for (float x = 70; x < 104; x += 4.5f)
        c.fill(segment(x + 4, 78, x, 104, 1), darker(hex("#f2d26b"), 0.3f));
    c.pop_clip();
    // The bucket.
    c.fill(stroke_polyline(arc_points(62, 62, 24, 26, kPi, 2 * kPi), 4.5f), ink());
    c.fill(stroke_polyline(arc_points(62, 62, 24, 26, kPi, 2 * kPi), 2), hex("#c9ccd2"));
    Path bucket = round_polygon({{36, 62}, {88, 62}, {82, 106}, {42, 106}}, 3);
    part(c, bucket, hex("#3f8fd8"));
    part(c, ellipse(62, 62, 26, 6), hex("#d8f3ff"), kThin);
    // Foam and bubbles.
    Path foam = circle(50, 58, 7) + circle(62, 55, 8) + circle(74, 58, 7);
    part(c, foam, hex("#ffffff"), kThin);
    for (Vec2 b : {Vec2{30, 42}, Vec2{44, 34}, Vec2{56, 24}, Vec2{38, 20}, Vec2{74, 30}}) {
        float r = 3 + std::fmod(b.x * 0.37f, 3.0f);
        c.fill(circle(b.x, b.y, r), with_alpha(hex("#e8f7ff"), 0.8f));
        c.fill(outline_of(circle(b.x, b.y, r), 1.4f), hex("#3f8fd8"));
        c.fill(circle(b.x - r * 0.35f, b.y - r * 0.35f, r * 0.25f), hex("#ffffff"));
    }
}

Path wrench(float x0, float y0, float x1, float y1, float w)
{
    float ang = std::atan2(y1 - y0, x1 - x0);
    Path p = segment(x0, y0, x1, y1, w);
    p.add(circle(x1, y1, w * 1.3f));
    p.cut(rect(-w * 0.45f, -w * 1.6f, w * 0.9f, w * 1.6f)
              .transformed(Affine::rotate(ang + kPi / 2).then(Affine::translate(x1, y1))));
    return p;
}

void workshop(Canvas& c)
{
    lawn(c);
    ground_shadow(c, 64, 103, 46, 6);
    Color wood = hex("#b88453");
    Path walls = rect(20, 56, 88, 48);
    shade(c, walls, wood);
    c.push_clip(walls);
    for (float x = 20; x < 108; x += 8)
        c.fill(segment(x, 50, x, 104, 1.2f), darker(wood, 0.25f));
    c.pop_clip();
    c.fill(outline_of(walls, kLine), ink());
    Path gable = round_polygon({{12, 60}, {64, 24}, {116, 60}}, 3);
    shade(c, gable, hex("#7d8794"));
    c.push_clip(gable);
    for (float x = 0; x < 128; x += 9)
        c.fill(segment(x, 24, x, 62, 1.2f), darker(hex("#7d8794"), 0.2f));
    c.pop_clip();
    c.fill(outline_of(gable, kLine), ink());
    Path garage = rect(38, 68, 52, 36);
    part(c, garage, hex("#aab7c4"), kThin);
    for (float y = 74; y < 104; y += 6)
        c.fill(segment(38, y, 90, y, 1.2f), darker(hex("#aab7c4"), 0.25f));
    // The sign: a crossed wrench and hammer on a yellow disc.
    part(c, circle(64, 45, 14), hex("#f2c14e"), kThin);
    part(c, segment(72, 54, 57, 39, 4), hex("#b07a46"), 1.4f);
    part(c, round_rect(-8, -3.5f, 16, 7, 1.5f).transformed(Affine::rotate(kPi / 4).then(Affine::translate(57, 38))),
         hex("#7d8794"), 1.4f);
    part(c, wrench(56, 54, 70, 40, 3.2f), hex("#c9ccd2"), 1.4f);
}

void car(Canvas& c, float x, float y, float s, Color body)
{
    Affine m = Affine::scale(s, s).then(Affine::translate(x, y));
    Path shell = round_polygon({{-20, 0}, {-20, -8}, {-11, -10}, {-6, -19}, {8, -19}, {13, -10}, {20, -8}, {20, 0}}, 3)
                     .transformed(m);
    part(c, shell, body, kThin);
    Path glass = round_polygon({{-9, -10.5f}, {-5, -17}, {6.5f, -17}, {10.5f, -10.5f}}, 1.5f).transformed(m);
    c.fill(glass, hex("#bfe6f7"));
    c.fill(outline_of(glass, 1.4f), ink());
    c.fill(segment(0, -17, 0, -10.5f, 1.4f).transformed(m), ink());
    for (float wx : {-11.0f, 11.0f}) {
        part(c, circle(wx, 0, 5).transformed(m), hex("#3b3f46"), kThin);
        c.fill(circle(wx, 0, 2).transformed(m), hex("#c9ccd2"));
    }
    c.fill(circle(17.5f, -5, 1.6f).transformed(m), hex("#fff3a0"));
}

void parking_sign(Canvas& c, float x, float y, float size, float foot)
{
    part(c, rect(x - 2, y + size / 2, 4, foot - y - size / 2), hex("#9aa3ad"), kThin);
    part(c, round_rect(x - size / 2, y - size / 2, size, size, size * 0.2f), hex("#2f6fd6"));
    c.fill(outline_of(round_rect(x - size / 2 + 3, y - size / 2 + 3, size - 6, size - 6, size * 0.14f), 1.4f),
           hex("#ffffff"));
    c.fill(lettering().text("P", size * 0.55f, x, y + size * 0.275f), hex("#ffffff"));
}

void lot(Canvas& c, float x, float y, float w, float h, int bays)
{
    Path tarmac = round_rect(x, y, w, h, 8);
    part(c, tarmac, hex("#7b828c"));
    for (int k = 1; k < bays; ++k) {
        float bx = x + w * k / bays;
        c.fill(segment(bx, y + 4, bx, y + h * 0.55f, 1.8f), hex("#ffffff"));
    }
}

void car_park(Canvas& c)
{
    lawn(c, 64, 106, 60, 16);
    lot(c, 12, 64, 90, 44, 3);
    car(c, 56, 100, 1.15f, hex("#e0533f"));
    parking_sign(c, 102, 30, 30, 100);
}

void large_car_park(Canvas& c)
{
    lawn(c, 64, 108, 62, 16);
    lot(c, 6, 50, 116, 62, 4);
    car(c, 34, 76, 0.95f, hex("#4a90d9"));
    car(c, 86, 76, 0.95f, hex("#f2c14e"));
    car(c, 40, 104, 1.05f, hex("#e0533f"));
    car(c, 92, 104, 1.05f, hex("#58a83c"));
    parking_sign(c, 64, 20, 28, 52);
}

Path sack(float x, float y, float w, float h)
{
    return round_polygon({{x - w * 0.4f, y - h}, {x + w * 0.4f, y - h}, {x + w / 2, y}, {x - w / 2, y}}, w * 0.3f) +
           round_polygon({{x - w * 0.25f, y - h - 4}, {x + w * 0.25f, y - h - 4}, {x + w * 0.1f, y - h + 2},
                          {x - w * 0.1f, y - h + 2}}, 1.5f);
}

void food_store(Canvas& c)
{
    lawn(c);
    ground_shadow(c, 64, 103, 48, 6);
    Color wall = hex("#8fc9e8");
    Path arch = Path(arc_points(64, 56, 50, 30, kPi, 2 * kPi));
    part(c, arch, hex("#5d7f9c"));
    Path walls = rect(18, 54, 92, 50);
    shade(c, walls, wall);
    c.push_clip(walls);
    for (float x = 18; x < 110; x += 6)
        c.fill(segment(x, 50, x, 104, 1.2f), darker(wall, 0.15f));
    c.pop_clip();
    c.fill(outline_of(walls, kLine), ink());
    Path door = rect(40, 64, 48, 40);
    part(c, door, hex("#e6ecf1"), kThin);
    for (float y = 70; y < 104; y += 6)
        c.fill(segment(40, y, 88, y, 1.2f), hex("#aab7c4"));
    // A snowflake: the store is kept cool.
    Path flake;
    for (int k = 0; k < 3; ++k) {
        float a = kPi / 3 * k;
        flake.add(segment(64 - std::cos(a) * 10, 40 - std::sin(a) * 10, 64 + std::cos(a) * 10,
                          40 + std::sin(a) * 10, 2.4f));
    }
    c.fill(outline_of(flake, 2), hex("#2f6f9f"));
    c.fill(flake, hex("#ffffff"));
    // Sacks and a crate in front.
    part(c, sack(30, 108, 20, 20), hex("#e8cf9a"));
    c.fill(paw(30, 98, 9), hex("#a0612e"));
    part(c, sack(100, 108, 18, 17), hex("#d9b26a"));
    part(c, rect(72, 92, 18, 16), hex("#c98b52"), kThin);
    c.fill(segment(72, 100, 90, 100, 1.4f), ink());
}

Picture icon(const std::string& name, std::function<void(Canvas&)> draw)
{
    return {"game/Buildings/Icons/" + name + ".png", "game/Buildings/Icons/" + name + "_grey.png", 128, 128,
            std::move(draw)};
}

}  // namespace

std::vector<Picture> building_icons()
{
    return {
        icon("DogHouse1", dog_kennel),        icon("DogHouse2", dog_villa),
        icon("DogHouse3", dog_palace),        icon("CatHouse1", cat_cottage),
        icon("CatHouse2", cat_tower),         icon("CatHouse3", cat_manor),
        icon("RabbitHouse1", rabbit_hutch),   icon("RabbitHouse2", rabbit_warren),
        icon("RabbitHouse3", rabbit_garden),  icon("HorseHouse1", horse_stable),
        icon("HorseHouse2", riding_barn),     icon("HorseHouse3", horse_ranch),
        icon("DinoHouse1", dino_paddock),     icon("DinoHouse2", dino_valley),
        icon("DinoHouse3", dino_volcano),     icon("OtherVet", vet),
        icon("OtherHotel", hotel),            icon("OtherRestaurant", restaurant),
        icon("OtherAssistants", assistants),  icon("OtherBuilding1", cleaning),
        icon("OtherBuilding2", workshop),     icon("OtherParking1", car_park),
        icon("OtherParking2", large_car_park), icon("OtherFoodStore", food_store),
    };
}

// The profile avatars: six friendly faces on coloured backgrounds, drawn in a 128-unit square;
// and the park visitors' portraits, one per visitor figure, drawn the same way.

#include "Pictures.h"
#include "Style.h"

#include <cmath>

using namespace style;

namespace {

enum class Hair { Ponytail, Cap, Puffs, Short, Bob, Bun };

struct Person {
    Color background;
    Color skin;
    Color hair;
    Color shirt;
    Hair style;
    bool glasses;
    bool beard;
    bool freckles;
};

void face(Canvas& c, const Person& p)
{
    c.flood(radial({64, 48}, 100, {{0, lighter(p.background, 0.55f)}, {0.65f, p.background}, {1, darker(p.background, 0.12f)}}));
    Random r(23);
    for (int k = 0; k < 8; ++k)
        c.fill(circle(r.range(6, 122), r.range(6, 56), r.range(1.5f, 3.5f)), with_alpha(hex("#ffffff"), 0.45f));

    // Hair that falls behind the head.
    if (p.style == Hair::Ponytail)
        part(c, ellipse(96, 66, 12, 26, -0.4f), p.hair);
    if (p.style == Hair::Puffs)
        for (float side : {-1.0f, 1.0f})
            part(c, circle(64 + side * 34, 34, 17), p.hair);
    if (p.style == Hair::Bob)
        part(c, round_rect(30, 30, 68, 62, 26), p.hair);
    if (p.style == Hair::Bun)
        part(c, circle(64, 22, 13), p.hair);

    // Shoulders, neck, ears and head.
    part(c, round_rect(22, 104, 84, 50, 28), p.shirt);
    part(c, round_rect(54, 86, 20, 22, 6), darker(p.skin, 0.08f), kThin);
    for (float side : {-1.0f, 1.0f})
        part(c, ellipse(64 + side * 29, 64, 6, 8), p.skin, kThin);
    Path head = ellipse(64, 60, 29, 32);
    part(c, head, p.skin);
    if (p.beard) {
        Path beard = (ellipse(64, 70, 30, 25) - ellipse(64, 50, 34, 26)) - ellipse(64, 81, 9, 4);
        c.push_clip(head);
        c.fill(beard, p.hair);
        c.pop_clip();
    }

    // Hair in front: a fringe or a cap.
    c.push_clip(rect(0, 0, 128, 128));
    switch (p.style) {
    case Hair::Ponytail:
    case Hair::Bob:
    case Hair::Bun:
        part(c, round_polygon({{34, 56}, {36, 34}, {52, 26}, {78, 26}, {92, 36}, {94, 56}, {84, 44}, {66, 40}, {50, 44}}, 7), p.hair);
        break;
    case Hair::Puffs:
        part(c, round_polygon({{35, 52}, {40, 32}, {64, 24}, {88, 32}, {93, 52}, {80, 40}, {48, 40}}, 8), p.hair);
        break;
    case Hair::Short:
        part(c, round_polygon({{35, 54}, {36, 36}, {50, 26}, {80, 26}, {92, 36}, {93, 54}, {86, 42}, {58, 38}, {44, 44}}, 6), p.hair);
        break;
    case Hair::Cap:
        part(c, round_polygon({{34, 50}, {38, 30}, {64, 22}, {90, 30}, {94, 50}}, 8), p.shirt);
        part(c, round_polygon({{30, 48}, {98, 48}, {108, 54}, {40, 54}}, 3), darker(p.shirt, 0.15f), kThin);
        part(c, circle(64, 24, 3), lighter(p.shirt, 0.4f), 1.4f);
        break;
    }
    c.pop_clip();

    // Eyes, brows, nose, smile, cheeks.
    for (float x : {52.0f, 76.0f}) {
        c.fill(ellipse(x, 62, 3.8f, 4.6f), hex("#2a1d18"));
        c.fill(circle(x + 1.3f, 60.5f, 1.4f), hex("#ffffff"));
        c.fill(stroke_polyline(arc_points(x, 58, 6, 4, 1.15f * kPi, 1.85f * kPi), 2), darker(p.hair, 0.2f));
    }
    if (p.glasses) {
        for (float x : {52.0f, 76.0f})
            c.fill(outline_of(circle(x, 62, 8.5f), 2.2f), hex("#3b3f46"));
        c.fill(segment(60.5f, 61, 67.5f, 61, 2), hex("#3b3f46"));
    }
    c.fill(stroke_polyline(arc_points(64, 70, 3, 2.5f, 0.1f * kPi, 0.9f * kPi), 1.8f), darker(p.skin, 0.35f));
    Path mouth = Path(arc_points(64, 77, 11, 8, 0, kPi));
    c.fill(mouth, hex("#8a2f35"));
    c.push_clip(mouth);
    c.fill(rect(50, 76, 28, 3.5f), hex("#ffffff"));
    c.fill(ellipse(64, 86, 6, 4), hex("#f07f8a"));
    c.pop_clip();
    c.fill(outline_of(mouth, 1.8f), ink());
    for (float x : {42.0f, 86.0f})
        c.fill(ellipse(x, 72, 6, 3.5f), with_alpha(hex("#ff7f8f"), 0.35f));
    if (p.freckles)
        for (Vec2 f : {Vec2{44, 68}, Vec2{48, 71}, Vec2{42, 72}, Vec2{84, 68}, Vec2{80, 71}, Vec2{86, 72}})
            c.fill(circle(f.x, f.y, 1), darker(p.skin, 0.3f));
}

Picture avatar(int n, Person person)
{
    return {"game/Profiles/Avatars/avatar" + std::to_string(n) + ".png", "", 128, 128,
            [person](Canvas& c) { face(c, person); }};
}

Picture visitor(const std::string& name, Person person)
{
    return {"game/Public/Avatars/" + name + ".png", "", 128, 128, [person](Canvas& c) { face(c, person); }};
}

}  // namespace

std::vector<Picture> profile_avatars()
{
    return {
        avatar(1, {hex("#7fd1c7"), hex("#f6d1b5"), hex("#8a5330"), hex("#f2c14e"), Hair::Ponytail, false, false, false}),
        avatar(2, {hex("#f6b26b"), hex("#d9a27c"), hex("#2b2320"), hex("#e0453f"), Hair::Cap, false, false, false}),
        avatar(3, {hex("#d7a6e8"), hex("#8d5a3b"), hex("#231a17"), hex("#3fa7a0"), Hair::Puffs, false, false, false}),
        avatar(4, {hex("#a9dc7e"), hex("#f3c9a8"), hex("#c0622b"), hex("#4a7fd1"), Hair::Short, true, true, false}),
        avatar(5, {hex("#ffe08a"), hex("#fbd9c0"), hex("#f0c35a"), hex("#9b6fd4"), Hair::Bob, false, false, true}),
        avatar(6, {hex("#9cc8f2"), hex("#e8b996"), hex("#e3e3e8"), hex("#d95b7a"), Hair::Bun, true, false, false}),
    };
}

// Hair, skin and clothes as the visitor figures of the character scene wear them.
std::vector<Picture> visitor_avatars()
{
    return {
        visitor("visitor_f1", {hex("#bfe3f5"), hex("#f6d1b5"), hex("#6b3d22"), hex("#d8433b"), Hair::Ponytail, false, false, false}),
        visitor("visitor_f2", {hex("#f7d6e6"), hex("#fbd9c0"), hex("#f2cf63"), hex("#f3c623"), Hair::Bob, false, false, true}),
        visitor("visitor_f3", {hex("#ffe3b3"), hex("#8d5a3b"), hex("#1c1512"), hex("#3f9b54"), Hair::Puffs, false, false, false}),
        visitor("visitor_f4", {hex("#cfe8c4"), hex("#f0c8a8"), hex("#c9c9cf"), hex("#8a5cc2"), Hair::Bun, true, false, false}),
        visitor("visitor_m1", {hex("#ffd8b0"), hex("#f3c9a8"), hex("#5a3a24"), hex("#3f78d1"), Hair::Short, false, false, false}),
        visitor("visitor_m2", {hex("#d5e6ff"), hex("#fbd9c0"), hex("#c8561e"), hex("#f08a2c"), Hair::Short, false, false, true}),
        visitor("visitor_m3", {hex("#f3d0e8"), hex("#c68a5e"), hex("#1f1a18"), hex("#2aa39a"), Hair::Short, false, true, false}),
        visitor("visitor_m4", {hex("#e7f0b8"), hex("#e8b996"), hex("#5e4a3a"), hex("#8b5a2b"), Hair::Cap, true, false, false}),
    };
}

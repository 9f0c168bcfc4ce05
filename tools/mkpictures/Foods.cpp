// The food icons: a bag of kibble, a bowl of fresh mix and a gourmet platter, drawn in a
// 128-unit square.

#include "Pictures.h"
#include "Style.h"

#include <cmath>

using namespace style;

namespace {

Path kibble(float x, float y, float r, float turn)
{
    return round_polygon(star(x, y, r, r * 0.8f, 3, turn).shapes[0].contours[0], r * 0.6f);
}

void dry_kibble(Canvas& c)
{
    ground_shadow(c, 64, 112, 44, 6);
    Color paper = hex("#f2a93b");
    Path bag = round_polygon({{34, 30}, {94, 30}, {102, 112}, {26, 112}}, 7);
    shade(c, bag, paper);
    c.push_clip(bag);
    c.fill(polygon({{34, 30}, {48, 30}, {40, 112}, {26, 112}}), with_alpha(hex("#ffffff"), 0.18f));
    c.pop_clip();
    c.fill(outline_of(bag, kLine), ink());
    // The crimped top.
    Contour top{{36, 34}, {36, 22}};
    for (int k = 0; k < 8; ++k)
        top.push_back({36 + 7.0f * k + 3.5f, k % 2 ? 16.0f : 20.0f});
    top.push_back({92, 22});
    top.push_back({92, 34});
    part(c, Path(top), darker(paper, 0.1f));
    // The label.
    part(c, circle(64, 72, 21), hex("#fff6e3"));
    c.fill(paw(64, 73, 26), hex("#a0612e"));
    c.fill(outline_of(circle(64, 72, 17), 1.2f), hex("#e0533f"));
    // Spilt kibble.
    struct Bit { float x, y, r, turn; };
    for (Bit b : {Bit{16, 112, 5, 0.2f}, Bit{24, 118, 4.5f, 1.1f}, Bit{108, 116, 5, 0.7f}, Bit{116, 108, 4.5f, 2.0f},
                  Bit{100, 121, 4, 1.5f}}) {
        part(c, kibble(b.x, b.y, b.r, b.turn), hex("#a0612e"), 1.6f);
        c.fill(circle(b.x - b.r * 0.3f, b.y - b.r * 0.3f, b.r * 0.25f), with_alpha(hex("#ffffff"), 0.5f));
    }
}

void fresh_mix(Canvas& c)
{
    ground_shadow(c, 64, 110, 44, 6);
    // Food heaped above the rim, drawn first so the bowl's front covers its base.
    Path heap = ellipse(64, 66, 42, 20);
    part(c, heap - rect(0, 66, 128, 40), hex("#e8c07a"));
    Random r(5);
    for (int k = 0; k < 14; ++k)
        c.fill(circle(r.range(30, 98), r.range(54, 66), 1.8f), hex("#f7e08a"));
    struct Chunk { float x, y, w, h, a; };
    for (Chunk m : {Chunk{48, 58, 16, 11, -0.3f}, Chunk{74, 52, 17, 12, 0.25f}, Chunk{62, 46, 14, 10, 0.1f}}) {
        Path meat = round_rect(-m.w / 2, -m.h / 2, m.w, m.h, 4).transformed(
            Affine::rotate(m.a).then(Affine::translate(m.x, m.y)));
        part(c, meat, hex("#d9534f"), kThin);
        c.fill(ellipse(m.x - 2, m.y - 1, m.w * 0.25f, 1.4f, m.a), hex("#f5b5a8"));
    }
    for (Chunk l : {Chunk{34, 56, 12, 6, -0.6f}, Chunk{92, 58, 12, 6, 0.6f}, Chunk{82, 40, 11, 5, -0.3f}}) {
        Path leaf = ellipse(l.x, l.y, l.w, l.h, l.a);
        part(c, leaf, hex("#5cb83f"), kThin);
        c.fill(segment(l.x - std::cos(l.a) * l.w * 0.8f, l.y - std::sin(l.a) * l.w * 0.8f,
                       l.x + std::cos(l.a) * l.w * 0.8f, l.y + std::sin(l.a) * l.w * 0.8f, 1.2f),
               hex("#3f8f2e"));
    }
    for (Vec2 p : {Vec2{58, 62}, Vec2{86, 64}, Vec2{40, 64}}) {
        part(c, circle(p.x, p.y, 5), hex("#ff8c2a"), 1.6f);
        c.fill(circle(p.x, p.y, 2), hex("#ffc27a"));
    }
    // The bowl.
    Path bowl = Path(arc_points(64, 66, 50, 40, 0, kPi));
    part(c, round_rect(40, 100, 48, 10, 4), hex("#2f6fbf"));
    c.fill(bowl, linear({14, 66}, {114, 106}, {{0, hex("#6fb0f0")}, {1, hex("#2f6fbf")}}));
    c.push_clip(bowl);
    c.fill(ellipse(40, 76, 10, 5, -0.3f), with_alpha(hex("#ffffff"), 0.45f));
    c.pop_clip();
    c.fill(outline_of(bowl, kLine), ink());
    part(c, round_rect(12, 62, 104, 8, 4), hex("#5aa0e8"));
    c.fill(paw(64, 87, 16), hex("#ffffff"));
}

void gourmet_feast(Canvas& c)
{
    ground_shadow(c, 64, 106, 52, 8);
    // The platter.
    Path platter = ellipse(64, 98, 58, 18);
    part(c, platter, hex("#e9c45a"));
    part(c, ellipse(64, 96, 48, 13), hex("#f6f3ee"), kThin);
    // Garnish.
    for (float a : {-2.6f, -2.2f, -0.9f, -0.5f}) {
        Path leaf = ellipse(64 + std::cos(a) * 38, 92 + std::sin(a) * 6, 11, 5, a + kPi / 2);
        part(c, leaf, hex("#5cb83f"), kThin);
    }
    // The roast with two drumsticks.
    for (float side : {-1.0f, 1.0f}) {
        Path stick = segment(64 + side * 22, 84, 64 + side * 36, 70, 6);
        part(c, stick, hex("#fdf6e8"), kThin);
        part(c, circle(64 + side * 38, 71, 4) + circle(64 + side * 35, 67, 4), hex("#fdf6e8"), kThin);
    }
    Path roast = ellipse(64, 78, 32, 20);
    c.fill(roast, radial({56, 68}, 34, {{0, hex("#f5b45a")}, {0.6f, hex("#d9822b")}, {1, hex("#a8571c")}}));
    c.fill(outline_of(roast, kLine), ink());
    for (float x : {50.0f, 62.0f, 74.0f})
        c.fill(stroke_polyline(arc_points(x, 62, 6, 14, 0.7f * kPi, 0.3f * kPi + kPi * 0.6f), 1.6f), hex("#a8571c"));
    c.fill(ellipse(54, 70, 8, 4, -0.4f), with_alpha(hex("#ffffff"), 0.45f));
    // Cherry tomatoes and grapes.
    for (Vec2 p : {Vec2{24, 94}, Vec2{32, 99}, Vec2{104, 95}}) {
        part(c, circle(p.x, p.y, 5), hex("#e0453f"), kThin);
        c.fill(circle(p.x - 1.5f, p.y - 1.5f, 1.4f), hex("#ffffff"));
    }
    for (Vec2 p : {Vec2{94, 100}, Vec2{100, 102}, Vec2{97, 96}})
        part(c, circle(p.x, p.y, 3.6f), hex("#8e5cc4"), 1.4f);
    // Sparkles: the finest food.
    for (Vec2 p : {Vec2{22, 40}, Vec2{106, 32}, Vec2{96, 54}}) {
        Path s = star(p.x, p.y, 8, 2.2f, 4);
        c.fill(s, hex("#ffe14d"));
        c.fill(outline_of(s, 1.2f), hex("#d99a1a"));
    }
}

Picture icon(const std::string& name, std::function<void(Canvas&)> draw)
{
    return {"game/Foods/Icons/" + name + ".png", "game/Foods/Icons/" + name + "_grey.png", 128, 128, std::move(draw)};
}

}  // namespace

std::vector<Picture> food_icons()
{
    return {icon("food1", dry_kibble), icon("food2", fresh_mix), icon("food3", gourmet_feast)};
}

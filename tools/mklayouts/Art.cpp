#include "Art.h"

#include "mkpictures/Canvas.h"
#include "mkpictures/TextPath.h"

#include <algorithm>
#include <cmath>

// Sections: palette - shared shapes - panels and boxes - buttons - icons - small pictures -
// pointers - big pictures.

namespace art {

namespace {

const float kPi = 3.14159265f;

// ---- palette

Color base(Tone tone)
{
    switch (tone) {
    case Tone::Orange: return hex("#f39a2c");
    case Tone::Blue: return hex("#3f8fe6");
    case Tone::Green: return hex("#4dbb58");
    case Tone::Red: return hex("#e6563f");
    case Tone::Yellow: return hex("#ffcb3a");
    case Tone::Purple: return hex("#9a6bd8");
    case Tone::Teal: return hex("#2db3a6");
    case Tone::Grey: return hex("#a7b1bd");
    }
    return hex("#a7b1bd");
}

Color ink()
{
    return hex("#23222e");
}

Color night()
{
    return hex("#1d2740");
}

Color white(float a = 1)
{
    return with_alpha(hex("#ffffff"), a);
}

// Draws in a design square 0..100 stretched over the picture's w x h, restoring the transform.
class Design {
public:
    Design(Canvas& c, float w, float h, float units = 100) : mCanvas(c), mSaved(c.transform())
    {
        c.set_transform(Affine::scale(w / units, h / units).then(mSaved));
    }
    ~Design() { mCanvas.set_transform(mSaved); }

private:
    Canvas& mCanvas;
    Affine mSaved;
};

Paint vertical(float y0, float y1, Color top, Color bottom)
{
    return linear({0, y0}, {0, y1}, {{0, top}, {1, bottom}});
}

// A shape lit from above and outlined in ink.
void lit(Canvas& c, const Path& p, Color colour, float line)
{
    float x0, y0, x1, y1;
    p.bounds(x0, y0, x1, y1);
    c.fill(outline_of(p, line * 2), ink());
    c.fill(p, linear({0, y0}, {0, y1}, {{0, lighter(colour, 0.3f)}, {0.6f, colour}, {1, darker(colour, 0.12f)}}));
}

Path bar(float x0, float y0, float x1, float y1, float width)
{
    return stroke_polyline({{x0, y0}, {x1, y1}}, width);
}

// ---- icons, in a 100 x 100 design square

Path iconPath(Icon icon)
{
    switch (icon) {
    case Icon::Close:
        return bar(28, 28, 72, 72, 16) + bar(72, 28, 28, 72, 16);
    case Icon::Left:
        return round_polygon({{68, 20}, {68, 80}, {26, 50}}, 6);
    case Icon::Right:
        return round_polygon({{32, 20}, {32, 80}, {74, 50}}, 6);
    case Icon::Up:
        return round_polygon({{20, 68}, {80, 68}, {50, 26}}, 6);
    case Icon::Down:
        return round_polygon({{20, 32}, {80, 32}, {50, 74}}, 6);
    case Icon::Plus:
        return bar(50, 24, 50, 76, 16) + bar(24, 50, 76, 50, 16);
    case Icon::Minus:
        return bar(24, 50, 76, 50, 16);
    case Icon::TurnLeft:
    case Icon::TurnRight: {
        Path p = arc_band(50, 54, 20, 32, -kPi * 0.95f, kPi * 0.35f);
        p.add(round_polygon({{8, 48}, {40, 48}, {24, 70}}, 3));
        if (icon == Icon::TurnRight)
            p = p.transformed(Affine::scale(-1, 1).then(Affine::translate(100, 0)));
        return p;
    }
    case Icon::Pause:
        return round_rect(28, 24, 16, 52, 5) + round_rect(56, 24, 16, 52, 5);
    case Icon::Paw: {
        Path p = ellipse(50, 64, 20, 17);
        p.add(ellipse(26, 42, 9, 11, -0.3f)).add(ellipse(41, 28, 9, 11, -0.1f));
        p.add(ellipse(59, 28, 9, 11, 0.1f)).add(ellipse(74, 42, 9, 11, 0.3f));
        return p;
    }
    case Icon::House:
    case Icon::Other: {
        Path p = round_polygon({{14, 50}, {50, 16}, {86, 50}}, 5) + round_rect(24, 44, 52, 40, 4);
        p.cut(round_rect(43, 58, 14, 26, 6));
        if (icon == Icon::Other)
            p.add(bar(76, 14, 76, 38, 4)).add(polygon({{76, 14}, {92, 19}, {76, 24}}));
        return p;
    }
    case Icon::Coin:
        return circle(50, 50, 36) - circle(50, 50, 26) + circle(50, 50, 18);
    case Icon::Food: {
        Path p = polygon({{14, 50}, {86, 50}, {74, 80}, {26, 80}});
        p.add(circle(36, 44, 9)).add(circle(52, 40, 10)).add(circle(67, 45, 8));
        return p;
    }
    case Icon::Gear: {
        Path p = star(50, 50, 40, 30, 8, kPi / 8);
        return round_polygon(p.shapes[0].contours[0], 4) - circle(50, 50, 12);
    }
    case Icon::Star:
        return round_polygon(star(50, 53, 44, 20, 5, -kPi / 2).shapes[0].contours[0], 4);
    case Icon::StarEmpty: {
        Path s = round_polygon(star(50, 53, 44, 20, 5, -kPi / 2).shapes[0].contours[0], 4);
        return outline_of(s, 10);
    }
    case Icon::Heart:
        return heart(50, 52, 70);
    case Icon::Cross:
        return round_rect(38, 16, 24, 68, 5) + round_rect(16, 38, 68, 24, 5);
    case Icon::Ticket: {
        Path p = round_rect(10, 26, 80, 48, 8);
        p.cut(circle(10, 50, 9)).cut(circle(90, 50, 9));
        for (int k = 0; k < 4; ++k)
            p.cut(circle(62, 32 + k * 12, 2.5f));
        return p;
    }
    case Icon::Bank: {
        Path p = round_polygon({{10, 38}, {50, 12}, {90, 38}}, 4) + round_rect(12, 76, 76, 12, 3);
        for (int k = 0; k < 4; ++k)
            p.add(round_rect(20 + k * 18, 42, 9, 32, 2));
        return p;
    }
    case Icon::Chart:
        return round_rect(16, 56, 18, 30, 3) + round_rect(41, 34, 18, 52, 3) + round_rect(66, 16, 18, 70, 3);
    case Icon::Trophy: {
        Path p = round_rect(30, 14, 40, 12, 3) + ellipse(50, 30, 20, 26) + round_rect(44, 52, 12, 18, 2);
        p.add(round_rect(30, 70, 40, 14, 4));
        p.add(arc_band(30, 34, 8, 14, kPi * 0.5f, kPi * 1.5f)).add(arc_band(70, 34, 8, 14, -kPi * 0.5f, kPi * 0.5f));
        return p;
    }
    case Icon::Podium:
        return round_rect(36, 28, 28, 58, 3) + round_rect(8, 48, 28, 38, 3) + round_rect(64, 60, 28, 26, 3);
    case Icon::Dog: {
        Path p = ellipse(50, 54, 28, 26);
        p.add(ellipse(22, 46, 10, 22, 0.35f)).add(ellipse(78, 46, 10, 22, -0.35f));
        p.add(ellipse(50, 70, 16, 12));
        return p;
    }
    case Icon::Cat: {
        Path p = ellipse(50, 56, 30, 26);
        p.add(round_polygon({{22, 44}, {26, 10}, {46, 32}}, 4)).add(round_polygon({{78, 44}, {74, 10}, {54, 32}}, 4));
        return p;
    }
    case Icon::Dino: {
        Path p = ellipse(46, 58, 34, 22, -0.15f) + ellipse(76, 64, 16, 12);
        for (int k = 0; k < 4; ++k) {
            const float x = 20 + k * 14;
            p.add(round_polygon({{x, 44 - k * 1.5f}, {x + 7, 22 - k * 1.5f}, {x + 14, 42 - k * 1.5f}}, 2));
        }
        return p;
    }
    case Icon::Rabbit: {
        Path p = circle(50, 62, 26);
        p.add(ellipse(38, 26, 8, 24, -0.15f)).add(ellipse(62, 26, 8, 24, 0.15f));
        return p;
    }
    case Icon::Horse: {
        // A head in profile looking left: ear, forehead, long face, muzzle, jaw and neck.
        Path p = round_polygon({{40, 22}, {44, 4}, {56, 18}, {74, 30}, {84, 76}, {62, 74}, {48, 90}, {22, 88},
                                {16, 74}, {30, 40}},
                               7);
        return p;
    }
    case Icon::Book:
    case Icon::Door:
        return round_rect(22, 12, 56, 76, 8) - round_rect(30, 20, 40, 60, 4) + circle(60, 52, 4);
    case Icon::Person:
        return circle(50, 30, 16) + round_rect(24, 50, 52, 38, 18);
    case Icon::Check:
        return stroke_polyline({{20, 52}, {42, 74}, {80, 28}}, 14);
    }
    return circle(50, 50, 30);
}

// Icons that are inner details drawn in ink on top of the lit shape.
void iconDetails(Canvas& c, Icon icon)
{
    switch (icon) {
    case Icon::Dog:
        c.fill(circle(40, 48, 4), ink());
        c.fill(circle(60, 48, 4), ink());
        c.fill(ellipse(50, 64, 7, 5), ink());
        break;
    case Icon::Cat:
        c.fill(ellipse(39, 54, 4, 6), ink());
        c.fill(ellipse(61, 54, 4, 6), ink());
        c.fill(polygon({{45, 64}, {55, 64}, {50, 70}}), hex("#f58aa0"));
        break;
    case Icon::Dino:
        c.fill(circle(80, 60, 3.5f), ink());
        break;
    case Icon::Rabbit:
        c.fill(circle(41, 58, 4), ink());
        c.fill(circle(59, 58, 4), ink());
        c.fill(ellipse(50, 68, 5, 4), hex("#f58aa0"));
        break;
    case Icon::Horse:
        c.fill(stroke_polyline({{56, 20}, {72, 34}, {80, 70}}, 8), darker(base(Tone::Orange), 0.35f));
        c.fill(circle(42, 44, 4), ink());
        c.fill(ellipse(26, 80, 3, 4), ink());
        break;
    default:
        break;
    }
}

// ---- panels

void panelBody(Canvas& c, float w, float h, Tone tone, float header, const std::vector<Rect>& boxes)
{
    const float r = std::min(20.0f, std::min(w, h) * 0.25f);
    const Path body = round_rect(5, 4, w - 10, h - 11, r);
    c.shadow(body, 0, 4, 6, with_alpha(hex("#000000"), 0.45f));
    c.fill(body, vertical(4, h, with_alpha(mix(night(), base(tone), 0.12f), 0.94f), with_alpha(night(), 0.96f)));
    if (header > 0) {
        c.push_clip(body);
        const Color t = base(tone);
        c.fill(rect(0, 0, w, header), vertical(0, header, lighter(t, 0.25f), darker(t, 0.08f)));
        c.fill(rect(0, header * 0.08f, w, header * 0.38f), white(0.16f));
        c.fill(rect(0, header - 3, w, 3), with_alpha(darker(t, 0.35f), 0.9f));
        c.pop_clip();
    }
    for (const Rect& b : boxes) {
        const Path box = round_rect(float(b.x), float(b.y), float(b.w), float(b.h), 12);
        c.fill(box, vertical(float(b.y), float(b.y + b.h), white(0.10f), white(0.05f)));
        c.fill(outline_of(box, 2), with_alpha(lighter(base(tone), 0.4f), 0.35f));
    }
    c.fill(outline_of(body, 3), lighter(base(tone), 0.15f));
}

// ---- buttons

enum class Look { Normal, Over, Click };

Color buttonColour(Tone tone, Look look)
{
    const Color b = lighter(base(tone), 0.22f);
    if (look == Look::Over)
        return lighter(b, 0.3f);
    if (look == Look::Click)
        return darker(b, 0.15f);
    return b;
}

// A rounded button face filling the picture, with outline and gloss; pressed faces sit lower.
void face(Canvas& c, float w, float h, Tone tone, Look look, float radius)
{
    const float line = std::max(1.5f, std::min(w, h) * 0.05f);
    const float dy = look == Look::Click ? 1.5f : 0;
    const Path shape = round_rect(line, line + dy, w - 2 * line, h - 2 * line - 2, radius);
    if (look != Look::Click)
        c.fill(shape.translated(0, 2), with_alpha(darker(base(tone), 0.55f), 0.8f));
    const Color colour = buttonColour(tone, look);
    c.fill(shape, vertical(line + dy, h - line, lighter(colour, 0.25f), darker(colour, 0.1f)));
    c.push_clip(shape);
    c.fill(round_rect(line * 2, line + 2 + dy, w - 4 * line, (h - 2 * line) * 0.42f, radius * 0.8f), white(0.35f));
    c.pop_clip();
    c.fill(outline_of(shape, line), darker(base(tone), 0.5f));
    if (look == Look::Over)
        c.fill(outline_of(shape, line * 0.6f).translated(0, 0), white(0.35f));
}

ButtonLook looks(const std::function<void(Canvas&, float, float, Look)>& draw)
{
    ButtonLook b;
    b.normal = [draw](Canvas& c, float w, float h) { draw(c, w, h, Look::Normal); };
    b.over = [draw](Canvas& c, float w, float h) { draw(c, w, h, Look::Over); };
    b.click = [draw](Canvas& c, float w, float h) { draw(c, w, h, Look::Click); };
    return b;
}

// An icon in white with an ink outline, centred in a square of side s at (x, y).
void whiteIcon(Canvas& c, Icon icon, float x, float y, float s)
{
    Design d(c, s, s);
    (void)d;
    const Affine saved = c.transform();
    c.set_transform(Affine::translate(x * 100 / s, y * 100 / s).then(saved));
    const Path p = iconPath(icon);
    c.fill(outline_of(p, 12), with_alpha(ink(), 0.85f));
    c.fill(p, white());
    c.set_transform(saved);
}

// ---- pointers

Path arrowShape()
{
    // The classic pointer, tip at (3, 3) of a 40 x 40 picture.
    return round_polygon({{3, 3}, {3, 31}, {10, 25}, {15, 36}, {21, 33}, {16, 23}, {25, 23}}, 1.2f);
}

Path edgeArrow(float angle)
{
    // An arrow pointing right, tip at (37, 20), rotated about the centre.
    Path p = round_polygon({{37, 20}, {20, 6}, {20, 14}, {5, 14}, {5, 26}, {20, 26}, {20, 34}}, 2);
    return p.transformed(Affine::rotate_about(angle, 20, 20));
}

// ---- big pictures

void sky(Canvas& c, float w, float h, Color top, Color bottom)
{
    c.fill(rect(0, 0, w, h), vertical(0, h, top, bottom));
}

void hills(Canvas& c, float w, float h, Color far, Color near)
{
    std::vector<Vec2> farLine{{0, h}};
    for (int k = 0; k <= 40; ++k) {
        const float x = w * k / 40.0f;
        farLine.push_back({x, h * 0.6f - std::sin(k * 0.35f) * h * 0.04f - std::sin(k * 0.13f + 1) * h * 0.03f});
    }
    farLine.push_back({w, h});
    c.fill(polygon(farLine), vertical(h * 0.5f, h, far, darker(far, 0.15f)));
    std::vector<Vec2> nearLine{{0, h}};
    for (int k = 0; k <= 40; ++k) {
        const float x = w * k / 40.0f;
        nearLine.push_back({x, h * 0.74f - std::sin(k * 0.27f + 2) * h * 0.035f});
    }
    nearLine.push_back({w, h});
    c.fill(polygon(nearLine), vertical(h * 0.65f, h, near, darker(near, 0.2f)));
}

void tree(Canvas& c, float x, float y, float s)
{
    c.fill(round_rect(x - s * 0.08f, y - s * 0.5f, s * 0.16f, s * 0.5f, s * 0.04f), hex("#8a5a3b"));
    Path crown = circle(x, y - s * 0.7f, s * 0.32f) + circle(x - s * 0.22f, y - s * 0.55f, s * 0.22f)
                 + circle(x + s * 0.22f, y - s * 0.55f, s * 0.22f);
    c.fill(crown, radial({x - s * 0.1f, y - s * 0.85f}, s * 0.5f, {{0, hex("#8ed86a")}, {1, hex("#3f9a3a")}}));
}

void cloud(Canvas& c, float x, float y, float s)
{
    Path p = ellipse(x, y, s, s * 0.42f) + circle(x - s * 0.35f, y - s * 0.2f, s * 0.38f)
             + circle(x + s * 0.25f, y - s * 0.28f, s * 0.45f);
    c.fill(p, white(0.9f));
}

void fence(Canvas& c, float w, float y, float s)
{
    c.fill(rect(0, y - s * 0.55f, w, s * 0.1f), hex("#f4e3c4"));
    c.fill(rect(0, y - s * 0.3f, w, s * 0.1f), hex("#f4e3c4"));
    for (float x = s * 0.3f; x < w; x += s * 0.7f)
        c.fill(round_polygon({{x, y}, {x, y - s * 0.75f}, {x + s * 0.08f, y - s * 0.85f}, {x + s * 0.16f, y - s * 0.75f},
                              {x + s * 0.16f, y}},
                             1),
               hex("#fff3dc"));
}

void pawTrail(Canvas& c, float x, float y, float s, float alpha)
{
    for (int k = 0; k < 5; ++k) {
        Design d(c, s, s);
        (void)d;
        const Affine saved = c.transform();
        const float px = (x + k * s * 1.2f) * 100 / s, py = (y - (k % 2) * s * 0.7f) * 100 / s;
        c.set_transform(Affine::translate(px, py).then(saved));
        c.fill(iconPath(Icon::Paw), white(alpha));
        c.set_transform(saved);
    }
}

// "Pet Park" in big round letters over a ribbon, filling the picture.
void drawLogo(Canvas& c, float w, float h)
{
    const float cap = h * 0.42f;
    const Path word = lettering().text("Pet Park", cap, w * 0.5f, h * 0.66f);
    c.shadow(word, 0, h * 0.03f, h * 0.04f, with_alpha(hex("#000000"), 0.5f));
    c.fill(outline_of(word, h * 0.08f), ink());
    c.fill(word, vertical(h * 0.66f - cap, h * 0.66f, hex("#fff1a8"), hex("#ff9f2e")));
    c.push_clip(word);
    c.fill(rect(0, h * 0.66f - cap, w, cap * 0.38f), white(0.35f));
    c.pop_clip();
    const float s = h * 0.2f;
    Design paw(c, s, s);
    (void)paw;
    const Affine saved = c.transform();
    c.set_transform(Affine::translate((w * 0.9f - s * 0.5f) * 100 / s, (h * 0.06f) * 100 / s).then(saved));
    const Path p = iconPath(Icon::Paw);
    c.fill(outline_of(p, 12), ink());
    c.fill(p, hex("#ff8fa8"));
    c.set_transform(saved);
}

} // namespace

// ---- panels and boxes

Painter panel(Tone tone, float header)
{
    return [tone, header](Canvas& c, float w, float h) { panelBody(c, w, h, tone, header, {}); };
}

Painter panel(Tone tone, float header, const std::vector<Rect>& boxes)
{
    return [tone, header, boxes](Canvas& c, float w, float h) { panelBody(c, w, h, tone, header, boxes); };
}

Painter box(Tone tone, float alpha)
{
    return [tone, alpha](Canvas& c, float w, float h) {
        const float r = std::min(14.0f, std::min(w, h) * 0.5f);
        const Path p = round_rect(1, 1, w - 2, h - 2, r);
        c.fill(p, vertical(0, h, with_alpha(mix(night(), base(tone), 0.45f), alpha),
                           with_alpha(mix(night(), base(tone), 0.25f), alpha)));
        if (w > 8 && h > 8)
            c.fill(outline_of(p, 2), with_alpha(lighter(base(tone), 0.3f), std::min(1.0f, alpha + 0.3f)));
    };
}

Painter field()
{
    return [](Canvas& c, float w, float h) {
        const Path p = round_rect(2, 2, w - 4, h - 4, 10);
        c.fill(p, vertical(0, h, hex("#e9e4d8"), hex("#fffdf6")));
        c.push_clip(p);
        c.fill(rect(0, 0, w, 5), with_alpha(hex("#000000"), 0.12f));
        c.pop_clip();
        c.fill(outline_of(p, 3), hex("#5b6b86"));
    };
}

Painter stripe(Tone tone, float alpha)
{
    return [tone, alpha](Canvas& c, float w, float h) {
        const Color colour = tone == Tone::Grey ? white() : lighter(base(tone), 0.2f);
        c.fill(round_rect(0, 0, w, h, std::min(h * 0.5f, 12.0f)), with_alpha(colour, alpha));
    };
}

Painter flat(float r, float g, float b, float a)
{
    return [r, g, b, a](Canvas& c, float, float) { c.flood(solid(Color{r, g, b, a})); };
}

// ---- buttons

ButtonLook pill(Tone tone)
{
    return looks([tone](Canvas& c, float w, float h, Look look) { face(c, w, h, tone, look, h * 0.5f); });
}

ButtonLook round(Tone tone, Icon icon)
{
    return looks([tone, icon](Canvas& c, float w, float h, Look look) {
        face(c, w, h, tone, look, std::min(w, h) * 0.5f);
        const float s = std::min(w, h) * 0.62f;
        whiteIcon(c, icon, (w - s) * 0.5f, (h - s) * 0.5f + (look == Look::Click ? 1.5f : 0), s);
    });
}

ButtonLook tab(Tone tone, Icon icon)
{
    return looks([tone, icon](Canvas& c, float w, float h, Look look) {
        const Path shape = round_rect(2, 2, w - 4, h + 20, 14);
        c.push_clip(rect(0, 0, w, h));
        const Color colour = buttonColour(tone, look);
        c.fill(shape, vertical(2, h, lighter(colour, 0.2f), darker(colour, 0.05f)));
        c.fill(round_rect(6, 5, w - 12, h * 0.35f, 10), white(0.3f));
        c.fill(outline_of(shape, 2.5f), darker(base(tone), 0.45f));
        c.pop_clip();
        const float s = std::min(h * 0.62f, 30.0f);
        whiteIcon(c, icon, 8, (h - s) * 0.5f, s);
    });
}

ButtonLook foldButton(Tone tone, Icon icon)
{
    ButtonLook b = looks([tone, icon](Canvas& c, float w, float h, Look look) {
        face(c, w, h, tone, look == Look::Click ? Look::Over : look, 16);
        const float s = std::min(w, h) * 0.64f;
        whiteIcon(c, icon, (w - s) * 0.5f, (h - s) * 0.5f, s);
        if (look == Look::Click) {
            // The open fold's button: a bright ring around it.
            const Path ring = outline_of(round_rect(3, 3, w - 6, h - 6, 16), 5);
            c.fill(ring, hex("#fff6b0"));
        }
    });
    return b;
}

ButtonLook knob(Tone tone)
{
    return looks([tone](Canvas& c, float w, float h, Look look) {
        face(c, w, h, tone, look, std::min(w, h) * 0.5f);
        for (int k = -1; k <= 1; ++k)
            c.fill(round_rect(w * 0.5f + k * w * 0.14f - 1.5f, h * 0.3f, 3, h * 0.4f, 1.5f),
                   with_alpha(darker(base(tone), 0.5f), 0.8f));
    });
}

// ---- pictures

Painter icon(Icon which, Tone tone)
{
    return [which, tone](Canvas& c, float w, float h) {
        Design d(c, w, h);
        (void)d;
        const Path p = iconPath(which);
        c.shadow(p, 0, 3, 3, with_alpha(hex("#000000"), 0.35f));
        lit(c, p, base(tone), 4);
        iconDetails(c, which);
    };
}

Painter tickBox(bool ticked)
{
    return [ticked](Canvas& c, float w, float h) {
        Design d(c, w, h);
        (void)d;
        const Path box = round_rect(8, 8, 84, 84, 18);
        c.fill(outline_of(box, 10), ink());
        c.fill(box, vertical(8, 92, hex("#ffffff"), hex("#dfe6ee")));
        if (ticked) {
            const Path tick = stroke_polyline({{26, 52}, {44, 70}, {76, 30}}, 14);
            c.fill(outline_of(tick, 6), darker(base(Tone::Green), 0.5f));
            c.fill(tick, base(Tone::Green));
        }
    };
}

Painter track(Tone tone)
{
    return [tone](Canvas& c, float w, float h) {
        const Path p = round_rect(1, 1, w - 2, h - 2, h * 0.5f - 1);
        c.fill(p, vertical(0, h, with_alpha(darker(night(), 0.3f), 0.95f), with_alpha(night(), 0.95f)));
        c.fill(outline_of(p, 2), with_alpha(lighter(base(tone), 0.3f), 0.8f));
    };
}

Painter face(int level)
{
    return [level](Canvas& c, float w, float h) {
        Design d(c, w, h);
        (void)d;
        static const char* colours[5] = {"#f0705a", "#f5a04a", "#f7d04a", "#b5dd52", "#6fd06a"};
        const Path head = circle(50, 50, 42);
        lit(c, head, hex(colours[level]), 4);
        c.fill(ellipse(36, 40, 6, 8), ink());
        c.fill(ellipse(64, 40, 6, 8), ink());
        // The mouth bends from a frown (0) to a wide smile (4).
        const float bend = (level - 2) * 9.0f;
        const std::vector<Vec2> mouth = bezier_points({30, 64 - bend * 0.3f}, {42, 64 + bend}, {58, 64 + bend},
                                                      {70, 64 - bend * 0.3f});
        c.fill(stroke_polyline(mouth, 6), ink());
    };
}

Rect gaugeCell(int k)
{
    return Rect{5 + k * 11, 4, 10, 14};
}

Painter gaugeFrame()
{
    return [](Canvas& c, float w, float h) {
        const float sx = w / kGauge.w;
        const float sy = h / kGauge.h;
        const Path p = round_rect(1, 1, w - 2, h - 2, 6);
        c.fill(p, with_alpha(night(), 0.95f));
        c.fill(outline_of(p, 2), hex("#d8e2ee"));
        for (int k = 0; k < 7; ++k) {
            const Rect cell = gaugeCell(k);
            const Color lit = mix(hex("#9be35a"), hex("#3fbf5a"), k / 6.0f);
            c.fill(round_rect(cell.x * sx, cell.y * sy, cell.w * sx, cell.h * sy, 3),
                   vertical(cell.y * sy, (cell.y + cell.h) * sy, lighter(lit, 0.3f), lit));
        }
    };
}

Painter gaugeCover(int)
{
    return [](Canvas& c, float w, float h) {
        c.fill(round_rect(0, 0, w, h, 3), vertical(0, h, hex("#4a5568"), hex("#343d4c")));
    };
}

Painter pointer(Pointer kind)
{
    return [kind](Canvas& c, float w, float h) {
        Design d(c, w, h, 40);
        (void)d;
        Path p;
        Color colour = hex("#ffffff");
        switch (kind) {
        case Pointer::Arrow: p = arrowShape(); break;
        case Pointer::Hover:
            // The arrow shifted so its tip is at (12, 3), with a yellow glow: something to click.
            p = arrowShape().translated(9, 0);
            colour = hex("#fff3a6");
            break;
        case Pointer::Busy:
            p = circle(20, 20, 14) - circle(20, 20, 9);
            colour = hex("#9fd3ff");
            break;
        case Pointer::Right: p = edgeArrow(0); break;
        case Pointer::Down: p = edgeArrow(kPi / 2); break;
        case Pointer::Left: p = edgeArrow(kPi); break;
        case Pointer::Up: p = edgeArrow(-kPi / 2); break;
        case Pointer::DownRight: p = edgeArrow(kPi / 4).transformed(Affine::translate(0, 0)); break;
        case Pointer::DownLeft: p = edgeArrow(kPi * 3 / 4); break;
        case Pointer::UpLeft: p = edgeArrow(-kPi * 3 / 4); break;
        case Pointer::UpRight: p = edgeArrow(-kPi / 4); break;
        }
        c.shadow(p, 1.5f, 2, 1.5f, with_alpha(hex("#000000"), 0.45f));
        c.fill(outline_of(p, 3), ink());
        c.fill(p, colour);
    };
}

Painter tutorialArrow(bool left)
{
    return [left](Canvas& c, float w, float h) {
        Design d(c, w, h, 100);
        (void)d;
        const Path p = left ? round_polygon({{96, 36}, {96, 64}, {44, 64}, {44, 92}, {4, 50}, {44, 8}, {44, 36}}, 5)
                            : round_polygon({{36, 4}, {64, 4}, {64, 56}, {92, 56}, {50, 96}, {8, 56}, {36, 56}}, 5);
        c.shadow(p, 3, 4, 3, with_alpha(hex("#000000"), 0.4f));
        lit(c, p, hex("#ff9d2b"), 4);
    };
}

Painter pictureFrame(Tone tone)
{
    return [tone](Canvas& c, float w, float h) {
        const Path outer = round_rect(2, 2, w - 4, h - 4, 18);
        c.shadow(outer, 0, 3, 4, with_alpha(hex("#000000"), 0.4f));
        c.fill(outer, vertical(0, h, lighter(base(tone), 0.35f), base(tone)));
        c.fill(round_rect(8, 8, w - 16, h - 16, 12), vertical(0, h, hex("#eaf4ff"), hex("#c7d8ea")));
        c.fill(outline_of(outer, 2.5f), darker(base(tone), 0.5f));
    };
}

Painter pictureRing(Tone tone)
{
    return [tone](Canvas& c, float w, float h) {
        const Path ring = outline_of(round_rect(6, 6, w - 12, h - 12, 14), 8);
        c.shadow(ring, 0, 2, 3, with_alpha(hex("#000000"), 0.35f));
        c.fill(ring, vertical(0, h, lighter(base(tone), 0.35f), base(tone)));
        c.fill(outline_of(round_rect(2, 2, w - 4, h - 4, 18), 1.5f), darker(base(tone), 0.5f));
        c.fill(outline_of(round_rect(10, 10, w - 20, h - 20, 10), 1.2f), with_alpha(darker(base(tone), 0.4f), 0.7f));
    };
}

Painter scenery()
{
    return [](Canvas& c, float w, float h) {
        sky(c, w, h, hex("#7ec8f2"), hex("#d8f1ff"));
        c.fill(circle(w * 0.85f, h * 0.15f, h * 0.07f), hex("#fff3a0"));
        c.fill(circle(w * 0.85f, h * 0.15f, h * 0.1f), white(0.25f));
        cloud(c, w * 0.15f, h * 0.3f, h * 0.07f);
        cloud(c, w * 0.62f, h * 0.36f, h * 0.05f);
        cloud(c, w * 0.4f, h * 0.27f, h * 0.04f);
        hills(c, w, h, hex("#8fd16f"), hex("#5fb94a"));
        for (int k = 0; k < 6; ++k)
            tree(c, w * (0.06f + k * 0.18f), h * (0.66f + (k % 2) * 0.04f), h * (0.2f + (k % 3) * 0.03f));
        fence(c, w, h * 0.93f, h * 0.08f);
        pawTrail(c, w * 0.04f, h * 0.86f, h * 0.035f, 0.5f);
        // The game's name at the top, clear of the menus' panels.
        const float lw = w * 0.56f, lh = h * 0.22f;
        const Affine saved = c.transform();
        c.set_transform(Affine::translate((w - lw) * 0.5f, h * 0.03f).then(saved));
        drawLogo(c, lw, lh);
        c.set_transform(saved);
    };
}

Painter loadingPicture()
{
    return [](Canvas& c, float w, float h) {
        sky(c, w, h, hex("#2b4c8c"), hex("#f2a46a"));
        c.fill(circle(w * 0.5f, h * 0.72f, h * 0.16f), hex("#ffd27a"));
        hills(c, w, h, hex("#4d8f5a"), hex("#2f6f45"));
        for (int k = 0; k < 5; ++k)
            tree(c, w * (0.1f + k * 0.2f), h * (0.7f + (k % 2) * 0.05f), h * 0.22f);
        for (int k = 0; k < 24; ++k)
            c.fill(circle(w * ((k * 37) % 100) / 100.0f, h * ((k * 53) % 40) / 100.0f, 1.2f), white(0.7f));
    };
}

Painter loadingTrack()
{
    return track(Tone::Green);
}

Painter loadingBar()
{
    return [](Canvas& c, float w, float h) {
        const Path p = round_rect(0, 0, w, h, h * 0.5f);
        c.fill(p, vertical(0, h, hex("#c8f56a"), hex("#3fbf5a")));
        c.push_clip(p);
        for (float x = -h; x < w + h; x += h * 1.2f)
            c.fill(polygon({{x, h}, {x + h * 0.5f, 0}, {x + h * 1.0f, 0}, {x + h * 0.5f, h}}), white(0.18f));
        c.fill(rect(0, h * 0.1f, w, h * 0.3f), white(0.3f));
        c.pop_clip();
    };
}

Painter credits()
{
    return [](Canvas& c, float w, float h) {
        sky(c, w, h, hex("#1c2a52"), hex("#3b2f6b"));
        for (int k = 0; k < 60; ++k)
            c.fill(circle(w * ((k * 37 + 11) % 100) / 100.0f, h * ((k * 53 + 7) % 100) / 100.0f, 1.0f + (k % 3) * 0.5f),
                   white(0.5f));
        const float lw = w * 0.6f, lh = h * 0.24f;
        const Affine saved = c.transform();
        c.set_transform(Affine::translate((w - lw) * 0.5f, h * 0.1f).then(saved));
        drawLogo(c, lw, lh);
        c.set_transform(saved);
        const char* lines[4] = {"A park for pets and their people", "Drawn, written and composed in code",
                                "Thank you for playing!", "Click to end the game"};
        for (int k = 0; k < 4; ++k) {
            const float cap = h * (k == 2 ? 0.045f : 0.032f);
            const Path line = lettering().text(lines[k], cap, w * 0.5f, h * (0.5f + k * 0.1f));
            c.fill(line, k == 3 ? hex("#ffd27a") : white(0.92f));
        }
        pawTrail(c, w * 0.36f, h * 0.92f, h * 0.03f, 0.35f);
    };
}

Painter logo()
{
    return [](Canvas& c, float w, float h) { drawLogo(c, w, h); };
}

} // namespace art

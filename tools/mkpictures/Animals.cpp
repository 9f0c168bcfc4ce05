// The animals' coats: each coat is one seamless texture (the whole square is fur: base colour,
// fur grain and the coat's spots, stripes or scales; "3dn/tex/") and one head portrait painted
// with that same texture ("game/Animals/Avatars/").
// Sections: coats - fur noise - textures - portrait parts - species heads - catalogue.

#include "Pictures.h"
#include "Style.h"

#include <cmath>
#include <memory>

using namespace style;

namespace {

// ---- coats

enum class Species { Dog, Cat, Dino, Rabbit, Horse };
enum class Marking { None, Spots, Tabby, Scales, Blotches, Dapples, Stripes };
enum class Extra { None, Collar, Bow };

struct Coat {
    const char* file;
    Species species;
    Color base;
    Color marking;   // spots, stripes, scales
    Color light;     // muzzle, cheeks, belly
    Color dark;      // ears, mane, nose leather
    Marking pattern;
    Extra extra;
    float grain;     // strength of the fur grain
};

const int kTextureSize = 256;
const int kPortraitSize = 128;

std::vector<Coat> coats()
{
    return {
        {"dog_brown.png", Species::Dog, hex("#b0733f"), hex("#8a5428"), hex("#f0d3a8"), hex("#6b3f1f"), Marking::None, Extra::None, 0.10f},
        {"dog_white.png", Species::Dog, hex("#f5efe4"), hex("#e6d6bc"), hex("#ffffff"), hex("#d9bf94"), Marking::Blotches, Extra::Collar, 0.05f},
        {"dog_spotted.png", Species::Dog, hex("#f7f4ee"), hex("#2b2624"), hex("#ffffff"), hex("#2b2624"), Marking::Spots, Extra::Bow, 0.04f},
        {"cat_ginger.png", Species::Cat, hex("#ec9440"), hex("#b85d1c"), hex("#fde6c8"), hex("#b85d1c"), Marking::Tabby, Extra::None, 0.08f},
        {"cat_grey.png", Species::Cat, hex("#8f959e"), hex("#6c727b"), hex("#dcdfe3"), hex("#5e636b"), Marking::Tabby, Extra::Collar, 0.08f},
        {"cat_black.png", Species::Cat, hex("#333036"), hex("#26232a"), hex("#4a464f"), hex("#1c1a1f"), Marking::None, Extra::Bow, 0.12f},
        {"dino_green.png", Species::Dino, hex("#6cbf4a"), hex("#4b9a34"), hex("#e2f2a8"), hex("#3f8030"), Marking::Scales, Extra::None, 0.05f},
        {"dino_blue.png", Species::Dino, hex("#4f95dd"), hex("#2f64b0"), hex("#d4e9ff"), hex("#2a569a"), Marking::Stripes, Extra::Collar, 0.05f},
        {"dino_orange.png", Species::Dino, hex("#f39a3a"), hex("#c2561c"), hex("#ffe3ad"), hex("#b04a17"), Marking::Spots, Extra::Bow, 0.05f},
        {"rabbit_white.png", Species::Rabbit, hex("#f7f5f2"), hex("#e9e4dd"), hex("#ffffff"), hex("#f5a9bd"), Marking::None, Extra::None, 0.05f},
        {"rabbit_brown.png", Species::Rabbit, hex("#a77b52"), hex("#8a6240"), hex("#ead6bb"), hex("#f0a3b5"), Marking::None, Extra::Collar, 0.14f},
        {"rabbit_grey.png", Species::Rabbit, hex("#9da0a7"), hex("#83868e"), hex("#e2e3e6"), hex("#f0a3b5"), Marking::Blotches, Extra::Bow, 0.10f},
        {"horse_chestnut.png", Species::Horse, hex("#a8582e"), hex("#8a4422"), hex("#ffffff"), hex("#5e2a12"), Marking::None, Extra::None, 0.08f},
        {"horse_black.png", Species::Horse, hex("#35302f"), hex("#2a2625"), hex("#ffffff"), hex("#171414"), Marking::None, Extra::Collar, 0.10f},
        {"horse_white.png", Species::Horse, hex("#eeeae3"), hex("#d2ccc2"), hex("#ffffff"), hex("#cfc6b8"), Marking::Dapples, Extra::Bow, 0.05f},
    };
}

// ---- fur noise: value noise on a lattice that wraps at the texture's edge, so the texture
// tiles without seams.

float lattice(int x, int y, uint32_t seed)
{
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return float(h & 0xffffff) / float(0xffffff);
}

// Smooth noise 0..1 with cellsX x cellsY cells over one period of size units.
float value_noise(float x, float y, float size, int cellsX, int cellsY, uint32_t seed)
{
    float fx = x / size * cellsX, fy = y / size * cellsY;
    int ix = int(std::floor(fx)), iy = int(std::floor(fy));
    float tx = fx - ix, ty = fy - iy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    auto at = [&](int i, int j) {
        return lattice(((i % cellsX) + cellsX) % cellsX, ((j % cellsY) + cellsY) % cellsY, seed);
    };
    float a = at(ix, iy), b = at(ix + 1, iy), c = at(ix, iy + 1), d = at(ix + 1, iy + 1);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

// Fur grain: fine streaks along x over a soft large-scale variation; -1..1.
float fur(float x, float y, float size, uint32_t seed)
{
    float streak = value_noise(x, y, size, 16, 96, seed) * 0.6f + value_noise(x, y, size, 32, 160, seed + 1) * 0.4f;
    float broad = value_noise(x, y, size, 4, 4, seed + 2);
    return (streak - 0.5f) * 1.4f + (broad - 0.5f) * 0.8f;
}

// ---- textures

// Draws a shape at every offset that keeps the texture seamless.
void wrapped(Canvas& c, const Path& p, Color color)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            c.fill(p.translated(float(dx * kTextureSize), float(dy * kTextureSize)), color);
}

Path blob(Random& r, float x, float y, float size)
{
    std::vector<Vec2> pts;
    const int n = 9;
    for (int k = 0; k < n; ++k) {
        float a = 2 * kPi * k / n + r.range(-0.2f, 0.2f);
        float rad = size * r.range(0.7f, 1.15f);
        pts.push_back({x + std::cos(a) * rad, y + std::sin(a) * rad});
    }
    return round_polygon(pts, size * 0.9f);
}

void markings(Canvas& c, const Coat& coat, uint32_t seed)
{
    Random r(seed);
    const float S = float(kTextureSize);
    switch (coat.pattern) {
    case Marking::None:
        break;
    case Marking::Spots:
        // Scattered round spots on a jittered grid, so none crowd together.
        for (int gy = 0; gy < 5; ++gy)
            for (int gx = 0; gx < 5; ++gx) {
                float x = (gx + r.range(0.15f, 0.85f)) * S / 5 + (gy % 2) * S / 10;
                float y = (gy + r.range(0.15f, 0.85f)) * S / 5;
                wrapped(c, blob(r, x, y, r.range(6, coat.species == Species::Dino ? 15.0f : 11.0f)), coat.marking);
            }
        break;
    case Marking::Blotches:
        // Soft-edged patches.
        for (int k = 0; k < 6; ++k) {
            Path p = blob(r, r.range(0, S), r.range(0, S), r.range(18, 30));
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    c.shadow(p.translated(float(dx * kTextureSize), float(dy * kTextureSize)), 0, 0, 5,
                             with_alpha(coat.marking, 0.85f));
        }
        break;
    case Marking::Tabby:
    case Marking::Stripes: {
        // Wavy, broken bands that swell and taper; whole sine periods and copies one square
        // away keep them seamless.
        int bands = coat.pattern == Marking::Tabby ? 7 : 5;
        for (int k = 0; k < bands; ++k) {
            float y0 = (k + r.range(0.3f, 0.7f)) * S / bands;
            float p1 = r.range(0, 2 * kPi), p2 = r.range(0, 2 * kPi);
            float a1 = r.range(0.15f, 0.3f) * S / bands, a2 = r.range(0.05f, 0.12f) * S / bands;
            float thick = r.range(0.28f, 0.4f) * S / bands;
            float x = r.range(0, S), end = x + S;
            while (x < end - 20) {
                float len = std::min(r.range(50, 120), end - x);
                Contour piece;
                const int n = 24;
                for (int side = 0; side < 2; ++side)
                    for (int i = 0; i <= n; ++i) {
                        float u = side == 0 ? float(i) / n : float(n - i) / n;
                        float px = x + u * len;
                        float py = y0 + a1 * std::sin(px / S * 2 * kPi + p1) + a2 * std::sin(px / S * 6 * kPi + p2);
                        float t = thick * std::sqrt(std::max(0.0f, std::sin(kPi * u))) * (0.8f + 0.2f * std::sin(px * 0.09f));
                        piece.push_back({px, py + (side == 0 ? -t / 2 : t / 2)});
                    }
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        c.fill(Path(piece).translated(float(dx * kTextureSize), float(dy * kTextureSize)), coat.marking);
                x += len + r.range(12, 30);
            }
        }
        break;
    }
    case Marking::Scales: {
        // Rounded scales on a staggered grid of 8 x 16 that divides the square.
        float w = S / 8, h = S / 16;
        for (int row = 0; row < 16; ++row)
            for (int col = 0; col < 8; ++col) {
                float x = (col + (row % 2) * 0.5f) * w, y = row * h;
                Path scale = ellipse(x, y, w * 0.36f, h * 0.62f);
                wrapped(c, scale, mix(coat.marking, coat.base, r.range(0.0f, 0.45f)));
            }
        for (int k = 0; k < 7; ++k)
            wrapped(c, blob(r, r.range(0, S), r.range(0, S), r.range(10, 18)), with_alpha(darker(coat.marking, 0.1f), 1));
        break;
    }
    case Marking::Dapples:
        // Soft round dapples.
        for (int k = 0; k < 30; ++k) {
            Path p = circle(r.range(0, S), r.range(0, S), r.range(6, 11));
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    c.shadow(p.translated(float(dx * kTextureSize), float(dy * kTextureSize)), 0, 0, 6,
                             with_alpha(coat.marking, 0.9f));
        }
        break;
    }
}

std::vector<uint8_t> coat_texture(const Coat& coat, uint32_t seed)
{
    Canvas c(kTextureSize, kTextureSize);
    c.flood(solid(coat.base));
    markings(c, coat, seed);
    float grain = coat.grain;
    c.flood([=](float x, float y) {
        float n = fur(x, y, float(kTextureSize), seed + 17);
        return n > 0 ? Color{1, 1, 1, std::min(1.0f, n * grain)} : Color{0, 0, 0, std::min(1.0f, -n * grain * 1.2f)};
    });
    return c.rgba();
}

// A paint that samples a seamless texture (bilinear, wrapping), mapped at the given scale.
Paint texture_paint(std::shared_ptr<const std::vector<uint8_t>> pixels, float scale)
{
    return [pixels, scale](float x, float y) {
        float u = x / scale - 0.5f, v = y / scale - 0.5f;
        int iu = int(std::floor(u)), iv = int(std::floor(v));
        float fu = u - iu, fv = v - iv;
        auto at = [&](int i, int j, int ch) {
            i = ((i % kTextureSize) + kTextureSize) % kTextureSize;
            j = ((j % kTextureSize) + kTextureSize) % kTextureSize;
            return (*pixels)[(size_t(j) * kTextureSize + i) * 4 + ch] / 255.0f;
        };
        float ch[3];
        for (int k = 0; k < 3; ++k) {
            float a = at(iu, iv, k), b = at(iu + 1, iv, k), c = at(iu, iv + 1, k), d = at(iu + 1, iv + 1, k);
            ch[k] = (a + (b - a) * fu) * (1 - fv) + (c + (d - c) * fu) * fv;
        }
        return Color{ch[0], ch[1], ch[2], 1};
    };
}

// ---- portrait parts

struct Portrait {
    Canvas& c;
    const Coat& coat;
    Paint fur;

    // A part of the body in the coat: textured fill, rounded shading, outline.
    void body(const Path& p, float line = kLine)
    {
        c.fill(p, fur);
        float x0, y0, x1, y1;
        p.bounds(x0, y0, x1, y1);
        Vec2 centre{(x0 + x1) / 2 - (x1 - x0) * 0.15f, (y0 + y1) / 2 - (y1 - y0) * 0.2f};
        float radius = std::max(x1 - x0, y1 - y0) * 0.75f;
        c.fill(p, radial(centre, radius, {{0, with_alpha(hex("#ffffff"), 0.12f)}, {0.5f, with_alpha(hex("#ffffff"), 0)},
                                         {1, with_alpha(hex("#000000"), 0.25f)}}));
        c.fill(outline_of(p, line), ink());
    }
    void flat(const Path& p, Color color, float line = kLine)
    {
        shade(c, p, color);
        if (line > 0)
            c.fill(outline_of(p, line), ink());
    }
    // A friendly eye: dark, with two catchlights.
    void eye(float x, float y, float rx, float ry)
    {
        c.fill(ellipse(x, y, rx, ry), hex("#241a16"));
        c.fill(circle(x + rx * 0.3f, y - ry * 0.35f, rx * 0.42f), hex("#ffffff"));
        c.fill(circle(x - rx * 0.35f, y + ry * 0.4f, rx * 0.18f), hex("#ffffff"));
    }
    void blush(float x, float y)
    {
        c.fill(ellipse(x, y, 6, 3.5f), with_alpha(hex("#ff7f8f"), 0.35f));
    }
    // A coloured band where the neck meets the shoulders, with a tag.
    void collar(float y, float halfWidth)
    {
        Path band = round_rect(64 - halfWidth, y - 4.5f, halfWidth * 2, 9, 4.5f);
        flat(band, hex("#e0453f"), kThin);
        part(c, circle(64, y + 8, 5), hex("#f2c14e"), 1.6f);
        c.fill(circle(64, y + 8, 1.4f), darker(hex("#f2c14e"), 0.4f));
    }
    void bow(float x, float y, float size, float turn = 0)
    {
        Affine m = Affine::scale(size / 10, size / 10).then(Affine::rotate(turn)).then(Affine::translate(x, y));
        Path loops = round_polygon({{0, 0}, {-11, -7}, {-11, 7}}, 2.5f) + round_polygon({{0, 0}, {11, -7}, {11, 7}}, 2.5f);
        part(c, loops.transformed(m), hex("#ff5fa2"), kThin);
        part(c, circle(0, 0, 3.4f).transformed(m), hex("#ff8cc0"), kThin);
    }
    void whiskers(float y, Color color)
    {
        for (float side : {-1.0f, 1.0f})
            for (int k = 0; k < 3; ++k) {
                float dy = (k - 1) * 4.5f;
                c.fill(segment(64 + side * 16, y + dy * 0.5f, 64 + side * 38, y + dy * 1.6f - 1, 1.3f), color);
            }
    }
};

void background(Canvas& c, Color tint)
{
    c.flood(radial({64, 50}, 96, {{0, lighter(tint, 0.6f)}, {0.6f, tint}, {1, darker(tint, 0.12f)}}));
    // Soft confetti dots.
    Random r(99);
    for (int k = 0; k < 10; ++k)
        c.fill(circle(r.range(4, 124), r.range(4, 60), r.range(1.5f, 3.5f)), with_alpha(hex("#ffffff"), 0.45f));
}

// ---- species heads

void dog(Portrait& p)
{
    const Coat& k = p.coat;
    background(p.c, hex("#9fd0f0"));
    p.body(ellipse(64, 130, 44, 42));
    if (k.extra == Extra::Collar)
        p.collar(96, 24);
    // Floppy ears behind the head's sides.
    for (float side : {-1.0f, 1.0f})
        p.flat(ellipse(64 + side * 31, 56, 12, 25, side * -0.35f), k.dark);
    p.body(ellipse(64, 58, 32, 30));
    p.flat(ellipse(64, 77, 19, 14), k.light);
    p.eye(51, 55, 4.5f, 5.5f);
    p.eye(77, 55, 4.5f, 5.5f);
    if (k.pattern == Marking::Spots) {
        p.c.fill(ellipse(77, 54, 10, 9), with_alpha(k.marking, 0.85f));
        p.eye(77, 55, 4.5f, 5.5f);
    }
    // Tongue, mouth and nose.
    p.flat(round_rect(59, 80, 10, 12, 5), hex("#ff7f8f"), kThin);
    p.c.fill(stroke_polyline(arc_points(57, 78, 7, 5, 0.1f * kPi, 0.9f * kPi), 2.2f), style::ink());
    p.c.fill(stroke_polyline(arc_points(71, 78, 7, 5, 0.1f * kPi, 0.9f * kPi), 2.2f), style::ink());
    p.c.fill(segment(64, 70, 64, 80, 2.2f), style::ink());
    p.flat(round_polygon({{55, 67}, {73, 67}, {64, 75}}, 4), hex("#2b2320"), 0);
    p.c.fill(ellipse(61, 68.5f, 2.5f, 1.2f), hex("#8a7a72"));
    p.blush(42, 70);
    p.blush(86, 70);
    if (k.extra == Extra::Bow)
        p.bow(88, 32, 10, 0.3f);
}

void cat(Portrait& p)
{
    const Coat& k = p.coat;
    background(p.c, hex("#c9b6ee"));
    p.body(ellipse(64, 136, 40, 38));
    if (k.extra == Extra::Collar)
        p.collar(102, 22);
    for (float side : {-1.0f, 1.0f}) {
        std::vector<Vec2> ear = {{64 + side * 12, 40}, {64 + side * 32, 14}, {64 + side * 36, 50}};
        p.body(round_polygon(ear, 4));
        p.c.fill(round_polygon({{64 + side * 19, 40}, {64 + side * 30, 22}, {64 + side * 32, 44}}, 3), hex("#f5a3c0"));
    }
    p.body(ellipse(64, 64, 36, 29));
    p.c.fill(ellipse(57, 78, 9, 6.5f), k.light);
    p.c.fill(ellipse(71, 78, 9, 6.5f), k.light);
    // Almond eyes with slit pupils.
    Color iris = k.base.r + k.base.g < 0.6f ? hex("#f2d14e") : hex("#7ccf5a");
    for (float x : {49.0f, 79.0f}) {
        p.flat(ellipse(x, 61, 7, 7.5f), iris, 1.8f);
        p.c.fill(ellipse(x, 61, 2.2f, 6), hex("#1c1a1f"));
        p.c.fill(circle(x + 2.5f, 58, 1.8f), hex("#ffffff"));
    }
    Color line = k.base.r + k.base.g < 0.6f ? hex("#d9d4dc") : style::ink();
    p.flat(round_polygon({{59.5f, 71}, {68.5f, 71}, {64, 76}}, 2), hex("#f58fae"), 0);
    p.c.fill(stroke_polyline(arc_points(60, 77, 4, 3.5f, 0.1f * kPi, 0.9f * kPi), 1.8f), line);
    p.c.fill(stroke_polyline(arc_points(68, 77, 4, 3.5f, 0.1f * kPi, 0.9f * kPi), 1.8f), line);
    p.whiskers(77, line);
    p.blush(42, 74);
    p.blush(86, 74);
    if (k.extra == Extra::Bow)
        p.bow(90, 40, 9, 0.4f);
}

void dino(Portrait& p)
{
    const Coat& k = p.coat;
    background(p.c, hex("#cfe89a"));
    p.body(ellipse(64, 136, 42, 38));
    p.flat(ellipse(64, 134, 20, 30), k.light, kThin);
    if (k.extra == Extra::Collar)
        p.collar(102, 22);
    // Back plates on the crown.
    Path plates;
    for (int i = -1; i <= 1; ++i)
        plates.add(round_polygon({{64 + i * 15.0f - 8, 34}, {64 + i * 15.0f, 16 - (i == 0 ? 6.0f : 0.0f)},
                                  {64 + i * 15.0f + 8, 34}}, 3));
    p.flat(plates, k.dark);
    p.body(ellipse(64, 60, 38, 31));
    p.flat(ellipse(64, 80, 27, 13) - rect(0, 0, 128, 70), k.light, kThin);
    // Big round eyes.
    for (float x : {48.0f, 80.0f}) {
        p.flat(circle(x, 52, 10), hex("#ffffff"), kThin);
        p.eye(x + 1.5f, 53, 5, 6);
    }
    p.c.fill(circle(58, 68, 1.8f), style::ink());
    p.c.fill(circle(70, 68, 1.8f), style::ink());
    p.c.fill(stroke_polyline(arc_points(64, 72, 20, 10, 0.15f * kPi, 0.85f * kPi), 2.6f), style::ink());
    p.blush(36, 70);
    p.blush(92, 70);
    if (k.extra == Extra::Bow)
        p.bow(98, 34, 9, 0.5f);
}

void rabbit(Portrait& p)
{
    const Coat& k = p.coat;
    background(p.c, hex("#f7c3d3"));
    p.body(ellipse(64, 136, 40, 36));
    if (k.extra == Extra::Collar)
        p.collar(104, 22);
    for (float side : {-1.0f, 1.0f}) {
        float turn = side * 0.16f;
        p.body(ellipse(64 + side * 15, 30, 10, 28, turn));
        p.c.fill(ellipse(64 + side * 15, 31, 4.5f, 21, turn), hex("#f5a9bd"));
    }
    p.body(ellipse(64, 72, 31, 27));
    p.c.fill(ellipse(56, 83, 9, 7), k.light);
    p.c.fill(ellipse(72, 83, 9, 7), k.light);
    p.eye(51, 68, 5, 6);
    p.eye(77, 68, 5, 6);
    p.flat(round_rect(59.5f, 86, 9, 8, 2), hex("#ffffff"), 1.6f);
    p.c.fill(segment(64, 86, 64, 94, 1.2f), style::ink());
    p.flat(round_polygon({{59.5f, 77}, {68.5f, 77}, {64, 82}}, 2), hex("#f58fae"), 0);
    p.whiskers(82, k.base.r > 0.8f ? hex("#b8aaa0") : style::ink());
    p.blush(42, 80);
    p.blush(86, 80);
    if (k.extra == Extra::Bow)
        p.bow(64, 44, 9, 0);
}

void horse(Portrait& p)
{
    const Coat& k = p.coat;
    background(p.c, hex("#f3d9a0"));
    p.body(ellipse(64, 142, 48, 34));
    p.body(round_polygon({{44, 130}, {48, 66}, {80, 66}, {84, 130}}, 10));
    // The mane falls along the right of the neck.
    p.flat(round_polygon({{72, 24}, {90, 40}, {96, 80}, {96, 122}, {84, 120}, {80, 70}}, 8), k.dark);
    for (float side : {-1.0f, 1.0f}) {
        p.body(round_polygon({{64 + side * 10, 30}, {64 + side * 21, 6}, {64 + side * 27, 34}}, 3));
        p.c.fill(round_polygon({{64 + side * 15, 28}, {64 + side * 21, 13}, {64 + side * 24, 30}}, 2), darker(k.base, 0.3f));
    }
    p.body(round_polygon({{40, 32}, {88, 32}, {82, 66}, {78, 86}, {50, 86}, {46, 66}}, 14));
    if (k.file == std::string("horse_chestnut.png"))
        p.c.fill(round_polygon({{60, 38}, {68, 38}, {69, 84}, {59, 84}}, 3), hex("#ffffff"));
    if (k.file == std::string("horse_black.png"))
        p.c.fill(star(64, 46, 6, 2.6f, 4), hex("#ffffff"));
    p.flat(ellipse(64, 90, 21, 15), mix(k.base, hex("#e8c9b5"), k.base.r > 0.8f ? 0.5f : 0.35f));
    p.c.fill(ellipse(56, 89, 2.6f, 4, 0.3f), style::ink());
    p.c.fill(ellipse(72, 89, 2.6f, 4, -0.3f), style::ink());
    p.c.fill(stroke_polyline(arc_points(64, 95, 7, 3.5f, 0.2f * kPi, 0.8f * kPi), 2), style::ink());
    p.flat(round_polygon({{52, 28}, {64, 22}, {76, 28}, {72, 44}, {64, 38}, {57, 46}}, 4), k.dark, kThin);
    p.eye(48, 54, 4.5f, 5.5f);
    p.eye(80, 54, 4.5f, 5.5f);
    p.blush(46, 68);
    p.blush(82, 68);
    // A horse wears its collar as a halter strap across the nose.
    if (k.extra == Extra::Collar) {
        p.flat(round_rect(45, 74, 38, 6, 3), hex("#e0453f"), kThin);
        part(p.c, circle(47, 77, 3.5f), hex("#f2c14e"), 1.4f);
        part(p.c, circle(81, 77, 3.5f), hex("#f2c14e"), 1.4f);
    }
    if (k.extra == Extra::Bow)
        p.bow(84, 32, 9, 0.4f);
}

}  // namespace

std::vector<Picture> animal_pictures()
{
    std::vector<Picture> out;
    uint32_t seed = 1;
    for (const Coat& coat : coats()) {
        auto pixels = std::make_shared<const std::vector<uint8_t>>(coat_texture(coat, seed++));
        out.push_back({std::string("3dn/tex/") + coat.file, "", kTextureSize, float(kTextureSize),
                       [pixels](Canvas& c) {
                           c.flood(texture_paint(pixels, 1));
                       }});
        out.push_back({std::string("game/Animals/Avatars/") + coat.file, "", kPortraitSize, 128,
                       [pixels, coat](Canvas& c) {
                           Portrait p{c, coat, texture_paint(pixels, 0.6f)};
                           switch (coat.species) {
                           case Species::Dog: dog(p); break;
                           case Species::Cat: cat(p); break;
                           case Species::Dino: dino(p); break;
                           case Species::Rabbit: rabbit(p); break;
                           case Species::Horse: horse(p); break;
                           }
                       }});
    }
    return out;
}

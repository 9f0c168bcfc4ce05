#include "mkscenes/ParkTextures.h"

#include "mkscenes/Geometry.h"
#include "mkscenes/Picture.h"

#include <cmath>
#include <functional>

// Index: helpers - the textures - the list

namespace mkscenes {

namespace {

// ---- helpers

// Noise of a few octaves in 0..1 that tiles over a picture of `size` texels.
float fractal(float x, float y, int size, int cell, uint32_t seed, int octaves = 3)
{
    float sum = 0, weight = 0, amp = 1;
    for (int o = 0; o < octaves; ++o) {
        int period = size / cell;
        sum += amp * valueNoise(x / float(cell), y / float(cell), period, seed + uint32_t(o) * 17);
        weight += amp;
        amp *= 0.5f;
        cell = std::max(1, cell / 2);
    }
    return sum / weight;
}

Picture paint(int size, const std::function<float3(int, int)>& colourAt)
{
    Picture p(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            p.set(x, y, colourAt(x, y));
    return p;
}

// ---- the textures

// Lawn: two greens, a soft mottle and short dark and light blades.
Picture grass()
{
    const int n = 256;
    Picture p = paint(n, [](int x, int y) {
        float m = fractal(float(x), float(y), n, 64, 3);
        float fine = fractal(float(x), float(y), n, 8, 9, 2);
        float3 c = mixColour(rgb(0x5a9a3e), rgb(0x7eb04c), m);
        return c * (0.9f + 0.2f * fine);
    });
    Random r(5);
    for (int k = 0; k < 2600; ++k) {
        int x = r.below(n), y = r.below(n);
        float3 blade = r.below(2) ? rgb(0x3a7a2a) : rgb(0x9cc860);
        int len = 2 + r.below(3);
        for (int i = 0; i < len; ++i)
            p.blend(x + (i * (k % 3 - 1)) / 2, y - i, blade, 0.55f);
    }
    return p;
}

// Paving of rounded flagstones in warm sand colours.
Picture paving()
{
    const int n = 128, cell = 32;
    return paint(n, [](int x, int y) {
        int row = y / (cell / 2);
        int off = (row % 2) * (cell / 2);
        int cx = (x + off) % cell, cy = y % (cell / 2);
        float edge = float(std::min(std::min(cx, cell - 1 - cx), std::min(cy, cell / 2 - 1 - cy)));
        float stone = hash01((x + off) / cell, row, 21);
        float3 c = mixColour(rgb(0xe2cfa6), rgb(0xd2b88a), stone);
        c = c * (0.92f + 0.12f * fractal(float(x), float(y), n, 8, 4, 2));
        if (edge < 1.5f)
            c = c * 0.72f;
        else if (edge < 2.5f)
            c = c * 0.9f;
        return c;
    });
}

// Sandy earth with pebbles.
Picture dirt()
{
    const int n = 128;
    Picture p = paint(n, [](int x, int y) {
        float m = fractal(float(x), float(y), n, 32, 11);
        return mixColour(rgb(0xc9a36e), rgb(0xe0c08a), m) * (0.9f + 0.15f * fractal(float(x), float(y), n, 4, 12, 2));
    });
    Random r(8);
    for (int k = 0; k < 160; ++k) {
        int x = r.below(n), y = r.below(n);
        float3 c = r.below(2) ? rgb(0xa88860) : rgb(0xf0dcb0);
        p.blend(x, y, c, 0.8f);
        p.blend(x + 1, y, c, 0.5f);
    }
    return p;
}

// Pale planks running along v with a fine grain and dark seams.
Picture wood()
{
    const int n = 128, plank = 16;
    return paint(n, [](int x, int y) {
        int k = x / plank;
        float shade = 0.9f + 0.1f * hash01(k, 0, 31);
        float grain = std::sin(float(y) * 0.35f + 6 * fractal(float(x), float(y), n, 16, 33) + float(k) * 1.7f);
        float3 c = rgb(0xe8d2ae) * (shade * (0.93f + 0.05f * grain));
        int inPlank = x % plank;
        if (inPlank == 0)
            c = c * 0.6f;
        else if (inPlank == 1 || inPlank == plank - 1)
            c = c * 0.85f;
        return c;
    });
}

// Rows of rounded roof tiles, pale so that vertex colours tint them.
Picture roof()
{
    const int n = 128, w = 16, h = 16;
    return paint(n, [](int x, int y) {
        int row = y / h;
        int off = (row % 2) * (w / 2);
        float u = float((x + off) % w) / float(w), v = float(y % h) / float(h);
        float round = std::sin(u * kPi);
        float3 c = rgb(0xf2eee8) * (0.75f + 0.25f * round) * (0.8f + 0.2f * v);
        if (v > 0.88f)
            c = c * 0.7f;
        return c * (0.95f + 0.05f * hash01((x + off) / w, row, 41));
    });
}

// Rough stone blocks in courses.
Picture stone()
{
    const int n = 128, w = 32, h = 16;
    return paint(n, [](int x, int y) {
        int row = y / h;
        int off = (row % 2) * (w / 2);
        int bx = (x + off) % w, by = y % h;
        float c0 = 0.82f + 0.12f * hash01((x + off) / w, row, 51);
        float3 c = rgb(0xe6e0d6) * c0 * (0.9f + 0.12f * fractal(float(x), float(y), n, 8, 52, 2));
        if (bx < 2 || by < 2)
            c = c * 0.68f;
        return c;
    });
}

// Water: blue with light ripples.
Picture water()
{
    const int n = 128;
    return paint(n, [](int x, int y) {
        float m = fractal(float(x), float(y), n, 32, 61);
        float ripple = std::sin((float(x) + 20 * m) * 2 * kPi / 32) * std::sin((float(y) + 14 * m) * 2 * kPi / 64);
        float3 c = mixColour(rgb(0x3f8fd0), rgb(0x63b4ea), m);
        if (ripple > 0.7f)
            c = mixColour(c, rgb(0xd8f0ff), (ripple - 0.7f) * 2.5f);
        return c;
    });
}

// Asphalt: dark grey grain.
Picture asphalt()
{
    const int n = 128;
    return paint(n, [](int x, int y) {
        float g = 0.34f + 0.06f * fractal(float(x), float(y), n, 16, 71) + 0.08f * (hash01(x, y, 72) - 0.5f);
        return float3(g, g, g * 1.03f);
    });
}

// The sky: pale haze at the horizon (v = 0) to blue overhead (v = 1), with faint clouds.
Picture sky()
{
    const int n = 128;
    Picture p(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float v = 1 - (float(y) + 0.5f) / float(n);
            float3 c = mixColour(rgb(0xd6ecf6), rgb(0x5aa6e6), ease01(v * 1.4f));
            float cloud = fractal(float(x) * 2, float(y) * 6, n * 2, 32, 81);
            float amount = ease01((cloud - 0.55f) * 4) * (1 - ease01((v - 0.5f) * 3)) * 0.7f;
            p.set(x, y, mixColour(c, float3(1, 1, 1), amount));
        }
    return p;
}

struct Entry {
    const char* file;
    Picture (*make)();
};

const Entry kEntries[] = {
    {"tex/park_grass.png", grass}, {"tex/park_paving.png", paving}, {"tex/park_dirt.png", dirt},
    {"tex/park_wood.png", wood},   {"tex/park_roof.png", roof},     {"tex/park_stone.png", stone},
    {"tex/park_water.png", water}, {"tex/park_asphalt.png", asphalt}, {"tex/park_sky.png", sky},
};

} // namespace

// ---- the list

const std::vector<std::string>& parkTextureFiles()
{
    static const std::vector<std::string> files = [] {
        std::vector<std::string> f;
        for (const Entry& e : kEntries)
            f.push_back(e.file);
        return f;
    }();
    return files;
}

bool writeParkTextures(const std::string& sceneDir)
{
    bool ok = true;
    for (const Entry& e : kEntries)
        ok = e.make().savePng(sceneDir + "/" + e.file) && ok;
    return ok;
}

} // namespace mkscenes

// The park's buildings, each one group on its layer within its plot (ParkLayout). Houses stand
// at the back (north) of their plot facing south; the front of an enclosure stays open for the
// animal's walk (placeLoop).
//
// Index: pieces - dogs - cats - rabbits - horses - dinos - services - car parks - all

#include "mkscenes/Park.h"
#include "mkscenes/ParkLayout.h"
#include "mkscenes/Visitors.h"

#include <cmath>

namespace mkscenes {

using namespace scenelib;
using namespace palette;

namespace {

// ---- pieces

MeshData& groupOf(ParkKit& kit, const Plot& p)
{
    return kit.group(p.building, p.layer);
}

// A round thing standing on the ground: a cylinder from z = 0.
MeshData post(float radius, float height, int segments)
{
    return transformed(cylinder(radius, height, segments), translation(float3(0, 0, height / 2)));
}

void bowl(ParkKit& kit, MeshData& g, float3 at, float3 colour)
{
    kit.add(g, frustum(0.16f, 0.22f, 0.1f, 10), Mat::paint, colour, at);
    kit.add(g, disc(0.17f, 10), Mat::paint, rgb(0x8a5a2b), at + float3(0, 0, 0.08f));
}

void ball(ParkKit& kit, MeshData& g, float3 at, float radius, float3 colour)
{
    kit.add(g, ellipsoid(float3(radius, radius, radius), 4, 8), Mat::paint, colour, at + float3(0, 0, radius));
}

// A fern or small palm: a trunk and drooping leaves around its top.
void fern(ParkKit& kit, MeshData& g, float3 at, float height, uint32_t seed)
{
    Random r(seed);
    kit.add(g, frustum(0.14f, 0.1f, height, 5), Mat::paint, rgb(0x7a5a3a), at);
    int leaves = 6;
    for (int i = 0; i < leaves; ++i) {
        float a = 2 * kPi * float(i) / float(leaves) + r.range(0, 0.5f);
        MeshData leaf = ellipsoid(float3(0.9f * height * 0.5f, 0.16f, 0.05f), 2, 4);
        leaf = transformed(leaf, mul(mul(translation(float3(0.45f * height * 0.5f, 0, 0)), rotationY(0.45f)), rotationZ(a)));
        kit.add(g, flatShaded(leaf), Mat::paint, shade(rgb(0x3f9a3a), r.range(-0.1f, 0.1f)), at + float3(0, 0, height));
    }
}

void rock(ParkKit& kit, MeshData& g, float3 at, float size, uint32_t seed, float3 colour = rgb(0x9a9088))
{
    kit.add(g, blob(float3(size, size * 0.8f, size * 0.6f), seed, 0.35f), Mat::paint, colour, at + float3(0, 0, size * 0.2f),
            float(seed));
}

void hayBale(ParkKit& kit, MeshData& g, float3 at, float turn)
{
    kit.box(g, at, float3(1.1f, 0.6f, 0.55f), hay, Mat::paint, turn);
}

// A flag on a pole, its cloth turned by `turn`.
void flag(ParkKit& kit, MeshData& g, float3 at, float height, float3 colour)
{
    kit.add(g, post(0.05f, height, 5), Mat::paint, white, at);
    kit.box(g, at + float3(0.45f, 0, height - 0.6f), float3(0.9f, 0.04f, 0.55f), colour);
}

// A row of windows on a south wall at y, between x0 and x1, bottom at z.
void windowRow(ParkKit& kit, MeshData& g, float x0, float x1, float y, float z, int count, float3 frame)
{
    for (int i = 0; i < count; ++i) {
        float x = count == 1 ? (x0 + x1) / 2 : x0 + (x1 - x0) * float(i) / float(count - 1);
        kit.box(g, float3(x, y - 0.03f, z), float3(0.85f, 0.06f, 0.95f), frame);
        kit.box(g, float3(x, y - 0.06f, z + 0.1f), float3(0.65f, 0.05f, 0.75f), window);
    }
}

// An oval rail round a riding ring.
void ovalRail(ParkKit& kit, MeshData& g, float cx, float cy, float rx, float ry, float3 colour)
{
    const int n = 12;
    for (int i = 0; i < n; ++i) {
        float a0 = 2 * kPi * float(i) / float(n), a1 = 2 * kPi * float(i + 1) / float(n);
        float3 p0(cx + rx * std::cos(a0), cy + ry * std::sin(a0), 0), p1(cx + rx * std::cos(a1), cy + ry * std::sin(a1), 0);
        kit.box(g, p0, float3(0.12f, 0.12f, 1.0f), colour);
        kit.wall(g, p0 + float3(0, 0, 0.8f), p1 + float3(0, 0, 0.8f), 0.1f, 0.08f, colour, Mat::paint);
    }
}

// ---- dogs

void dogKennel(ParkKit& kit, const Plot& p)
{
    MeshData& g = groupOf(kit, p);
    kit.patch(g, p.x, p.y, p.width - 0.6f, p.depth - 0.6f, Mat::grass, rgb(0xc8f0a0));
    kit.enclosure(g, p.x, p.y, p.width, p.depth, 0, white);
    kit.house(g, float3(p.x - 2, p.y + 3.8f, 0.02f), float3(2.8f, 2.2f, 1.6f), 1.0f, wood, roofRed, 0, Mat::wood, false);
    bowl(kit, g, float3(p.x + 0.2f, p.y + 2.3f, 0.02f), red);
    bowl(kit, g, float3(p.x + 0.8f, p.y + 2.4f, 0.02f), blue);
    ball(kit, g, float3(p.x + 5.6f, p.y + 1.2f, 0), 0.14f, yellow);
    kit.roundTree(g, float3(p.x + 4.2f, p.y + 4.3f, 0), 5, 11, leaf);
    kit.sign(g, float3(p.x + 2.2f, p.y - 6.9f, 0), 0, red);
}

void dogVilla(ParkKit& kit, const Plot& p)
{
    MeshData& g = groupOf(kit, p);
    kit.patch(g, p.x, p.y, p.width - 0.6f, p.depth - 0.6f, Mat::grass, rgb(0xd0f4a8));
    kit.enclosure(g, p.x, p.y, p.width, p.depth, 2, rgb(0x4c9a3e));
    kit.house(g, float3(p.x - 1, p.y + 3.7f, 0.02f), float3(4.6f, 3.0f, 2.5f), 1.4f, cream, roofBlue);
    kit.box(g, float3(p.x - 1, p.y + 2.0f, 0.02f), float3(2.4f, 0.6f, 0.15f), stone, Mat::stone);
    // The garden: bushes, a pond and toys for the second dog.
    kit.bush(g, float3(p.x + 4.6f, p.y + 4.6f, 0), 0.9f, 21, leaf);
    kit.bush(g, float3(p.x - 5.2f, p.y + 4.8f, 0), 0.8f, 22, leaf);
    kit.flowers(g, float3(p.x + 4.6f, p.y + 3.2f, 0), 0.7f, 23, 6);
    MeshData pond = transformed(disc(1.2f, 12, 1.5f), translation(float3(p.x + 4.4f, p.y + 1.6f, 0.06f)));
    kit.addKeepUV(g, pond, Mat::water, float3(1, 1, 1), float3());
    kit.add(g, flatRing(1.2f, 1.5f, 12), Mat::stone, stone, float3(p.x + 4.4f, p.y + 1.6f, 0.07f), 0, 1);
    ball(kit, g, float3(p.x - 5.6f, p.y + 1.0f, 0), 0.16f, red);
    kit.bench(g, float3(p.x - 4.2f, p.y + 2.6f, 0), 0);
}

void dogPalace(ParkKit& kit, const Plot& p)
{
    MeshData& g = groupOf(kit, p);
    kit.patch(g, p.x, p.y, p.width - 0.6f, p.depth - 0.6f, Mat::grass, rgb(0xd8f8b0));
    kit.enclosure(g, p.x, p.y, p.width, p.depth, 3, rgb(0xf2ece0));
    float3 at(p.x, p.y + 4, 0.02f);
    kit.box(g, at, float3(5.4f, 3.0f, 3.2f), rgb(0xf8dce4), Mat::stone, 0, 1.5f);
    kit.add(g, pyramidRoof(5.8f, 3.4f, 1.2f), Mat::roof, roofBlue, at + float3(0, 0, 3.2f), 0, 1);
    for (float side : {-1.0f, 1.0f}) {
        float3 t = at + float3(side * 3.1f, -0.4f, 0);
        kit.add(g, post(0.9f, 4.6f, 10), Mat::stone, white, t, 0, 1.5f);
        kit.add(g, cone(1.1f, 1.8f, 10), Mat::roof, roofBlue, t + float3(0, 0, 4.6f), 0, 1);
        flag(kit, g, t + float3(0, 0, 6.3f), 1.2f, red);
    }
    kit.add(g, ellipsoid(float3(1.1f, 1.1f, 0.9f), 4, 10), Mat::paint, yellow, at + float3(0, 0, 4.3f));
    kit.box(g, at + float3(0, -1.55f, 0), float3(1.3f, 0.1f, 2.0f), rgb(0x8a4a6a));
    windowRow(kit, g, at.x - 1.8f, at.x + 1.8f, at.y - 1.5f, 1.4f, 2, white);
    // The agility course: hurdles across the walk and a row of weave poles.
    for (float side : {-1.0f, 1.0f}) {
        float x = p.x + side * 4.6f, y = p.y - 2.6f;
        for (float dy : {-0.9f, 0.9f})
            kit.box(g, float3(x, y + dy, 0), float3(0.1f, 0.1f, 1.0f), white);
        kit.box(g, float3(x, y, 0.78f), float3(0.08f, 1.8f, 0.08f), side < 0 ? red : blue);
    }
    for (int i = 0; i < 6; ++i)
        kit.add(g, post(0.04f, 1.1f, 4), Mat::paint, i % 2 ? yellow : red, float3(p.x - 3 + float(i) * 1.2f, p.y - 6.1f, 0));
    kit.add(g, transformed(flatShaded(torus(0.55f, 0.18f, 10, 4)), rotationX(kPi / 2)), Mat::paint, orange,
            float3(p.x - 5.4f, p.y + 1.2f, 0.5f));
}

// ---- cats

void catCottage(ParkKit& kit, const Plot& p)
{
    MeshData& g = groupOf(kit, p);
    kit.patch(g, p.x, p.y, p.width - 0.6f, p.depth - 0.6f, Mat::grass, rgb(0xc8eca0));
    kit.enclosure(g, p.x, p.y, p.width, p.depth, 1, rgb(0xf0c8d8));
    kit.house(g, float3(p.x - 1.5f, p.y + 3.8f, 0.02f), float3(3.8f, 2.6f, 2.1f), 1.4f, white, hay);
    kit.box(g, float3(p.x - 1.5f, p.y + 3.8f, 3.2f), float3(0.4f, 0.4f, 0.7f), brick, Mat::stone, 0, 0.6f);
    // Cushions and a scratching post.
    kit.box(g, float3(p.x + 2.4f, p.y + 2.2f, 0.02f), float3(0.9f, 0.9f, 0.22f), pink);
    kit.box(g, float3(p.x + 3.5f, p.y + 2.5f, 0.02f), float3(0.8f, 0.8f, 0.2f), rgb(0x8ab8e8));
    kit.add(g, post(0.12f, 1.3f, 6), Mat::paint, rgb(0xd8c8a0), float3(p.x + 5.2f, p.y + 4.6f, 0));
    kit.box(g, float3(p.x + 5.2f, p.y + 4.6f, 1.3f), float3(0.7f, 0.7f, 0.1f), rgb(0xb08a60));
    kit.flowers(g, float3(p.x - 5, p.y + 1.8f, 0), 0.6f, 31, 6);
}

void catTower(ParkKit& kit, const Plot& p)
{
    MeshData& g = groupOf(kit, p);
    kit.patch(g, p.x, p.y, p.width - 0.6f, p.depth - 0.6f, Mat::grass, rgb(0xd0f0a8));
    kit.enclosure(g, p.x, p.y, p.width, p.depth, 1, rgb(0xc8e0f8));
    float3 at(p.x + 0.5f, p.y + 3.8f, 0.02f);
    kit.add(g, post(1.5f, 6.2f, 12), Mat::stone, rgb(0xf6e6c8), at, 0, 1.5f);
    kit.add(g, cone(1.9f, 2.4f, 12), Mat::roof, purple, at + float3(0, 0, 6.2f), 0, 1);
    // Ledges sticking out round the tower, and its windows.
    for (int i = 0; i < 3; ++i) {
        float a = -kPi / 2 + (float(i) - 1) * 1.1f;
        float z = 1.8f + 1.4f * float(i);
        kit.box(g, at + float3(std::cos(a) * 1.8f, std::sin(a) * 1.8f, z), float3(1.0f, 0.8f, 0.12f), rgb(0xb08a60), Mat::wood,
                a + kPi / 2, 1);
        kit.box(g, at + float3(std::cos(a + 0.6f) * 1.49f, std::sin(a + 0.6f) * 1.49f, z + 0.5f), float3(0.5f, 0.1f, 0.7f),
                window, Mat::paint, a + 0.6f + kPi / 2);
    }
    kit.box(g, at + float3(0, -1.5f, 0), float3(0.8f, 0.1f, 1.5f), darkWood);
    // A cat tree.
    float3 t(p.x - 4.6f, p.y + 3.6f, 0.02f);
    kit.add(g, post(0.12f, 2.2f, 6), Mat::paint, rgb(0xd8c8a0), t);
    for (float z : {0.9f, 1.6f, 2.2f})
        kit.box(g, t + float3(0, 0, z), float3(0.9f, 0.7f, 0.1f), rgb(0xb08a60));
    kit.bush(g, float3(p.x + 4.8f, p.y + 1.2f, 0), 0.7f, 41, leaf);
}

void catManor(ParkKit& kit, const Plot& p)
{
    MeshData& g = groupOf(kit, p);
    kit.patch(g, p.x, p.y, p.width - 0.6f, p.depth - 0.6f, Mat::grass, rgb(0xd4f4ac));
    kit.enclosure(g, p.x, p.y, p.width, p.depth, 3, rgb(0xe8e2d6));
    float3 at(p.x - 1.2f, p.y + 4, 0.02f);
    kit.house(g, at, float3(6.2f, 3.2f, 3.4f), 1.6f, rgb(0xf2e2c4), purple, 0, Mat::stone);
    windowRow(kit, g, at.x - 2.4f, at.x + 2.4f, at.y - 1.6f, 2.2f, 3, white);
    kit.box(g, at + float3(2.2f, 0.5f, 4.2f), float3(0.5f, 0.5f, 1.0f), brick, Mat::stone, 0, 0.6f);
    // The conservatory: a glass house on a white frame.
    float3 c(p.x + 4.0f, p.y + 3.6f, 0.02f);
    kit.box(g, c, float3(2.6f, 2.4f, 0.3f), white);
    kit.box(g, c + float3(0, 0, 0.3f), float3(2.4f, 2.2f, 1.9f), float3(1, 1, 1), Mat::glass);
    kit.add(g, gableRoof(2.4f, 2.2f, 0.7f, 0.05f), Mat::glass, float3(1, 1, 1), c + float3(0, 0, 2.2f));
    for (float dx : {-1.2f, 1.2f})
        for (float dy : {-1.1f, 1.1f})
            kit.box(g, c + float3(dx, dy, 0.3f), float3(0.08f, 0.08f, 1.9f), white);
    kit.bush(g, c + float3(0, 0, 0.3f), 0.6f, 51, rgb(0x6ab850));
    // The fish pond.
    float3 pond(p.x - 4.8f, p.y + 1.0f, 0);
    kit.add(g, flatRing(1.1f, 1.45f, 12), Mat::stone, stone, pond + float3(0, 0, 0.08f), 0, 1);
    kit.addKeepUV(g, transformed(disc(1.1f, 12, 1.2f), translation(pond + float3(0, 0, 0.06f))), Mat::water, float3(1, 1, 1),
                  float3());
    for (int i = 0; i < 3; ++i)
        kit.add(g, ellipsoid(float3(0.16f, 0.06f, 0.04f), 2, 5), Mat::paint, orange,
                pond + float3(-0.4f + 0.4f * float(i), 0.3f * float(i % 2), 0.08f), float(i));
}

// ---- rabbits

void rabbitHutch(ParkKit& kit, const Plot& p)
{
    MeshData& g = groupOf(kit, p);
    kit.patch(g, p.x, p.y, p.width - 0.6f, p.depth - 0.6f, Mat::grass, rgb(0xb8f090));
    kit.enclosure(g, p.x, p.y, p.width, p.depth, 0, rgb(0xf2f0e8));
    float3 at(p.x - 1.5f, p.y + 3.8f, 0.02f);
    for (float dx : {-1.1f, 1.1f})
        for (float dy : {-0.5f, 0.5f})
            kit.box(g, at + float3(dx, dy, 0), float3(0.12f, 0.12f, 0.6f), darkWood);
    kit.house(g, at + float3(0, 0, 0.6f), float3(2.6f, 1.3f, 1.0f), 0.6f, rgb(0xd8b078), roofGreen, 0, Mat::wood, false);
    kit.add(g, transformed(block(0.5f, 1.3f, 0.05f), rotationX(0.55f)), Mat::wood, wood, at + float3(0.2f, -1.1f, 0.1f), 0, 1);
    hayBale(kit, g, float3(p.x + 2.5f, p.y + 3.8f, 0.02f), 0.3f);
    hayBale(kit, g, float3(p.x + 3.4f, p.y + 4.6f, 0.02f), -0.2f);
    bowl(kit, g, float3(p.x + 1.2f, p.y + 2.4f, 0.02f), orange);
    kit.flowers(g, float3(p.x - 5.2f, p.y + 1.4f, 0), 0.7f, 61, 7);
}

void rabbitWarren(ParkKit& kit, const Plot& p)
{
    MeshData& g = groupOf(kit, p);
    kit.patch(g, p.x, p.y, p.width - 0.6f, p.depth - 0.6f, Mat::grass, rgb(0xc0f498));
    kit.enclosure(g, p.x, p.y, p.width, p.depth, 1, rgb(0xe8d0a8));
    // Grassy mounds with burrow holes facing the path.
    const float3 mounds[3] = {float3(-3.2f, 3.6f, 1.0f), float3(1.4f, 4.2f, 1.3f), float3(4.6f, 2.6f, 0.8f)};
    for (int i = 0; i < 3; ++i) {
        float3 m = mounds[i];
        float r = 1.6f * m.z;
        MeshData hill = ellipsoid(float3(r, r * 0.8f, m.z), 4, 10);
        hill = transformed(hill, translation(float3(p.x + m.x, p.y + m.y, 0)));
        kit.add(g, hill, Mat::grass, rgb(0xa8e080), float3(), 0, 3);
        kit.add(g, transformed(ellipsoid(float3(0.32f, 0.1f, 0.26f), 3, 8), rotationX(-0.5f)), Mat::paint, rgb(0x3a2a1e),
                float3(p.x + m.x, p.y + m.y - r * 0.72f, m.z * 0.45f));
    }
    // Clover flowers.
    Random r(71);
    for (int i = 0; i < 18; ++i) {
        float3 at(p.x + r.range(-6, 6), p.y + r.range(-6, 6), 0);
        if (at.y < p.y + 0.5f && std::fabs(at.x - p.x) < 5)
            continue;
        kit.flowers(kit.group(p.building, p.layer), at, 0.1f, uint32_t(i) + 700, 1);
    }
}

void rabbitGarden(ParkKit& kit, const Plot& p)
{
    MeshData& g = groupOf(kit, p);
    kit.patch(g, p.x, p.y, p.width - 0.6f, p.depth - 0.6f, Mat::grass, rgb(0xc8f0a0));
    kit.enclosure(g, p.x, p.y, p.width, p.depth, 3, rgb(0xe09070));
    // Carrot beds along the back.
    for (int row = 0; row < 3; ++row) {
        float y = p.y + 2.2f + 1.3f * float(row);
        kit.patch(g, p.x - 2.5f, y, 5.5f, 0.8f, Mat::dirt, rgb(0xa07850), 0.05f);
        for (int i = 0; i < 7; ++i) {
            float3 at(p.x - 4.9f + 0.8f * float(i), y, 0.05f);
            kit.add(g, transformed(cone(0.06f, 0.14f, 5), rotationX(kPi)), Mat::paint, orange, at + float3(0, 0, 0.12f));
            kit.add(g, cone(0.14f, 0.3f, 5), Mat::paint, rgb(0x4fb040), at + float3(0, 0, 0.08f));
        }
    }
    // A little hedge maze in the corner.
    float3 m(p.x + 4.2f, p.y + 3.4f, 0);
    const float segs[][4] = {{-1.8f, -1.8f, 1.8f, -1.8f}, {1.8f, -1.8f, 1.8f, 1.8f}, {1.8f, 1.8f, -1.8f, 1.8f},
                             {-1.8f, 1.8f, -1.8f, -0.6f}, {-0.6f, -0.6f, 0.8f, -0.6f}, {0.8f, -0.6f, 0.8f, 0.8f},
                             {-0.6f, 0.8f, 0.2f, 0.8f}};
    for (const auto& s : segs)
        kit.wall(g, m + float3(s[0], s[1], 0), m + float3(s[2], s[3], 0), 0.8f, 0.4f, rgb(0x4c9a3e), Mat::paint);
    kit.add(g, post(0.5f, 0.1f, 8), Mat::stone, stone, float3(p.x - 5.2f, p.y - 0.2f, 0), 0, 1);
    kit.flowers(g, float3(p.x - 5.2f, p.y - 0.2f, 0.1f), 0.4f, 81, 5);
}

// ---- horses

void horseStable(ParkKit& kit, const Plot& p)
{
    MeshData& g = groupOf(kit, p);
    kit.patch(g, p.x, p.y, p.width - 0.6f, p.depth - 0.6f, Mat::grass, rgb(0xd8ec98));
    kit.enclosure(g, p.x, p.y, p.width, p.depth, 4, wood, 3.0f);
    float3 at(p.x - 0.5f, p.y + 4, 0.02f);
    kit.house(g, at, float3(5.6f, 3.2f, 2.8f), 1.4f, rgb(0xc8503c), darkGrey, 0, Mat::wood, false);
    for (float dx : {-1.5f, 1.5f}) {
        kit.box(g, at + float3(dx, -1.63f, 0), float3(1.3f, 0.08f, 1.3f), white);
        kit.box(g, at + float3(dx, -1.66f, 1.3f), float3(1.3f, 0.06f, 0.9f), rgb(0x3a2a20));
    }
    // A water trough and hay.
    float3 t(p.x + 5.0f, p.y + 2.2f, 0.02f);
    kit.box(g, t, float3(0.6f, 1.8f, 0.6f), darkWood, Mat::wood, 0, 1);
    kit.box(g, t + float3(0, 0, 0.5f), float3(0.45f, 1.65f, 0.06f), rgb(0x4f9ad8));
    hayBale(kit, g, float3(p.x - 5.0f, p.y + 2.0f, 0.02f), 0.4f);
}

void ridingBarn(ParkKit& kit, const Plot& p)
{
    MeshData& g = groupOf(kit, p);
    kit.patch(g, p.x, p.y, p.width - 0.6f, p.depth - 0.6f, Mat::grass, rgb(0xd0ec98));
    kit.enclosure(g, p.x, p.y, p.width, p.depth, 4, wood, 3.0f);
    // The barn with a tall roof and a hayloft door.
    float3 at(p.x, p.y + 4.3f, 0.02f);
    kit.house(g, at, float3(6.4f, 3.4f, 3.0f), 2.4f, rgb(0xd04a36), rgb(0x5a5450), 0, Mat::wood, false);
    kit.box(g, at + float3(0, -1.73f, 0), float3(2.2f, 0.08f, 2.4f), white);
    kit.box(g, at + float3(0, -1.76f, 0.1f), float3(1.9f, 0.06f, 2.2f), rgb(0xa03a2a));
    kit.box(g, at + float3(0, -1.73f, 3.2f), float3(1.0f, 0.08f, 0.9f), rgb(0x3a2a20));
    hayBale(kit, g, at + float3(3.6f, -1.4f, 0), 0);
    hayBale(kit, g, at + float3(3.6f, -1.4f, 0.55f), 0.2f);
    // The riding ring round the walk.
    kit.patch(g, p.x, p.y - 2.6f, 11.8f, 6.6f, Mat::dirt, float3(1, 1, 1), 0.03f);
    ovalRail(kit, g, p.x, p.y - 2.6f, 6.2f, 3.6f, white);
}

// The ranch takes two rows: its house at the back (north), a pasture for the walk, a trail
// through the woods along the east side, a windmill whose wheel turns with the park.
void horseRanch(ParkKit& kit, const Plot& p)
{
    MeshData& g = groupOf(kit, p);
    kit.patch(g, p.x, p.y, p.width - 0.6f, p.depth - 0.6f, Mat::grass, rgb(0xc8e890));
    kit.enclosure(g, p.x, p.y, p.width, p.depth, 4, wood, 3.0f);
    float back = p.y + p.depth / 2;
    float3 at(p.x - 1.0f, back - 4.0f, 0.02f);
    kit.house(g, at, float3(6.0f, 3.6f, 2.8f), 1.5f, rgb(0xe0b880), rgb(0x8a3a2a), 0, Mat::wood);
    kit.box(g, at + float3(0, -2.3f, 2.3f), float3(6.0f, 1.2f, 0.12f), rgb(0x8a3a2a));
    for (float dx : {-2.8f, 0.0f, 2.8f})
        kit.box(g, at + float3(dx, -2.8f, 0), float3(0.14f, 0.14f, 2.3f), darkWood);
    // The trail through the woods.
    kit.patch(g, p.x + 5.4f, p.y - 1, 1.2f, p.depth - 9, Mat::dirt, float3(1, 1, 1), 0.03f);
    uint32_t seed = 90;
    for (float y = -14.5f; y <= 8.5f; y += 2.6f) {
        kit.roundTree(g, float3(p.x + 6.3f, p.y + y, 0), 5.5f, seed++, rgb(0x4a9a3c));
        if (int(y) % 2 == 0)
            kit.pine(g, float3(p.x + 4.3f, p.y + y + 1.3f, 0), 6, seed++);
    }
    // A water tank and the windmill's tower.
    kit.add(g, post(0.9f, 1.0f, 10), Mat::paint, grey, float3(p.x - 5.2f, back - 8.5f, 0));
    float3 mill(p.x - 5.0f, back - 2.5f, 0);
    kit.add(g, frustum(0.9f, 0.25f, 6.0f, 4), Mat::paint, rgb(0xb8b4ac), mill, kPi / 4);
    kit.add(g, block(0.7f, 0.5f, 0.6f), Mat::paint, darkGrey, mill + float3(0, 0, 6.0f));
    MeshData wheel;
    for (int i = 0; i < 8; ++i)
        append(wheel, transformed(block(0.3f, 0.04f, 1.6f), mul(translation(float3(0, 0, 0.15f)), rotationY(float(i) * kPi / 4))));
    append(wheel, transformed(cylinder(0.18f, 0.2f, 6), rotationX(kPi / 2)));
    wheel = painted(withMaterial(wheel, kit.material(Mat::paint)), rgb(0xe8e4dc));
    Track spin;
    for (int f = 0; f <= kParkFrames; ++f)
        spin.push_back(mul(rotationY(2 * kPi * float(f) / float(kParkFrames)), translation(mill + float3(0, -0.35f, 6.3f))));
    kit.b.addMesh("windmill wheel", wheel, 0, spin, p.layer);
    hayBale(kit, g, float3(p.x - 5.2f, p.y - 13.5f, 0.02f), 0.3f);
}

// ---- dinos

void dinoPaddock(ParkKit& kit, const Plot& p)
{
    MeshData& g = groupOf(kit, p);
    kit.patch(g, p.x, p.y, p.width - 0.6f, p.depth - 0.6f, Mat::dirt, rgb(0xc8d890));
    kit.enclosure(g, p.x, p.y, p.width, p.depth, 4, darkWood, 3.0f);
    uint32_t seed = 120;
    for (float3 f : {float3(-5, 4.5f, 0), float3(-3, 5.5f, 0), float3(4.5f, 4.6f, 0), float3(5.6f, 1.5f, 0), float3(-5.6f, 1.2f, 0),
                     float3(1.5f, 5.6f, 0)})
        fern(kit, g, float3(p.x + f.x, p.y + f.y, 0), 2.2f + 0.4f * float(seed % 3), seed), ++seed;
    // A shelter of logs.
    float3 s(p.x - 0.8f, p.y + 3.6f, 0.02f);
    for (float dx : {-1.6f, 1.6f})
        for (float dy : {-1.0f, 1.0f})
            kit.add(g, post(0.14f, 2.4f, 6), Mat::paint, darkWood, s + float3(dx, dy, 0));
    kit.add(g, gableRoof(3.4f, 2.2f, 0.8f, 0.2f), Mat::roof, rgb(0x9a7a4a), s + float3(0, 0, 2.4f));
    rock(kit, g, float3(p.x + 2.8f, p.y + 2.2f, 0), 0.6f, 131);
}

void dinoValley(ParkKit& kit, const Plot& p)
{
    MeshData& g = groupOf(kit, p);
    kit.patch(g, p.x, p.y, p.width - 0.6f, p.depth - 0.6f, Mat::dirt, rgb(0xd0d898));
    kit.enclosure(g, p.x, p.y, p.width, p.depth, 3, rgb(0xb8aa96));
    // Rocky hills behind, the mud pool to one side.
    uint32_t seed = 140;
    for (float3 r : {float3(-4.2f, 4.6f, 1.6f), float3(-1.6f, 5.2f, 1.2f), float3(1.2f, 5.0f, 1.7f), float3(4.6f, 4.8f, 1.3f)})
        rock(kit, g, float3(p.x + r.x, p.y + r.y, 0), r.z, seed++, rgb(0xa89a86));
    float3 pool(p.x + 4.0f, p.y + 1.6f, 0.05f);
    kit.add(g, disc(1.7f, 12), Mat::paint, mud, pool);
    for (int i = 0; i < 3; ++i)
        kit.add(g, ellipsoid(float3(0.16f, 0.16f, 0.08f), 2, 5), Mat::paint, shade(mud, 0.1f),
                pool + float3(-0.6f + 0.6f * float(i), 0.3f * float(i % 2), 0));
    fern(kit, g, float3(p.x - 5.4f, p.y + 1.6f, 0), 2.4f, 151);
    fern(kit, g, float3(p.x + 5.8f, p.y + 4.2f, 0), 2.0f, 152);
}

// The volcano takes two rows: the mountain at the back (north) with a steaming spring in its
// crater, lush ferns round its foot, the dino's walk in front.
void dinoVolcano(ParkKit& kit, const Plot& p)
{
    MeshData& g = groupOf(kit, p);
    kit.patch(g, p.x, p.y, p.width - 0.6f, p.depth - 0.6f, Mat::grass, rgb(0xb0e070));
    kit.enclosure(g, p.x, p.y, p.width, p.depth, 3, rgb(0xa89a86), 3.0f);
    float3 crater = volcanoCrater();
    float3 v(crater.x, crater.y, 0);
    MeshData cone = lathe({{6.3f, 0}, {5.0f, 1.8f}, {3.6f, 4.0f}, {2.7f, 6.0f}, {2.4f, 6.6f}, {1.9f, 6.2f}, {1.5f, 5.6f}, {0, 5.5f}},
                          14);
    MeshData facets = flatShaded(cone);
    facets.color.resize(facets.xyz.size());
    for (size_t i = 0; i < facets.xyz.size(); ++i) {
        float z = facets.xyz[i].z;
        facets.color[i] = mixColour(rgb(0x6aa84a), rgb(0x8a7a6a), ease01((z - 2.2f) / 2.0f));
    }
    facets = transformed(facets, translation(v));
    boxUV(facets, 3);
    append(g, withMaterial(facets, kit.material(Mat::paint)));
    kit.addKeepUV(g, transformed(disc(1.6f, 12, 1), translation(v + float3(0, 0, 5.75f))), Mat::water, rgb(0x9ae0d8), float3());
    uint32_t seed = 160;
    for (float a = 0; a < 2 * kPi; a += 0.9f)
        rock(kit, g, v + float3(std::cos(a) * 2.5f, std::sin(a) * 2.5f, 6.1f), 0.45f, seed++, rgb(0x7a6a5a));
    for (float3 f : {float3(-5.6f, -8, 0), float3(5.6f, -9, 0), float3(-5.5f, 3.5f, 0), float3(5.6f, 2.5f, 0), float3(-5.6f, -14.5f, 0),
                     float3(5.5f, -15, 0), float3(0.5f, -9.5f, 0)})
        fern(kit, g, float3(p.x + f.x, p.y + f.y, 0), 2.6f, seed++);
    rock(kit, g, float3(p.x - 5.4f, p.y - 11.5f, 0), 0.8f, seed++);
    rock(kit, g, float3(p.x + 5.4f, p.y - 5.8f, 0), 0.6f, seed++);
}

// ---- services

void vet(ParkKit& kit, const Plot& p)
{
    MeshData& g = groupOf(kit, p);
    kit.patch(g, p.x, p.y, p.width - 0.6f, p.depth - 0.6f, Mat::paving, float3(1, 1, 1));
    float3 at(p.x, p.y + 2.6f, 0.02f);
    kit.house(g, at, float3(7.0f, 4.2f, 3.2f), 1.2f, white, roofGreen);
    // A red cross on a white board over the door.
    float3 s = at + float3(0, -2.2f, 2.4f);
    kit.box(g, s, float3(1.2f, 0.1f, 1.2f), white);
    kit.box(g, s + float3(0, -0.06f, 0.15f), float3(0.9f, 0.06f, 0.3f), red);
    kit.box(g, s + float3(0, -0.06f, 0.45f - 0.45f), float3(0.3f, 0.06f, 0.9f), red);
    kit.bush(g, float3(p.x - 4.8f, p.y - 2, 0), 0.8f, 171, leaf);
    kit.bush(g, float3(p.x + 4.8f, p.y - 2, 0), 0.8f, 172, leaf);
    kit.bench(g, float3(p.x - 2.6f, p.y - 2.2f, 0.02f), 0);
    kit.lamp(g, float3(p.x + 2.8f, p.y - 2.0f, 0.02f));
}

void hotel(ParkKit& kit, const Plot& p)
{
    MeshData& g = groupOf(kit, p);
    kit.patch(g, p.x, p.y, p.width - 0.6f, p.depth - 0.6f, Mat::paving, float3(1, 1, 1));
    float3 at(p.x, p.y + 2.4f, 0.02f);
    const float w = 8, d = 5, h = 7.6f;
    kit.box(g, at, float3(w, d, h), rgb(0xf6cfa8), Mat::stone, 0, 1.5f);
    kit.add(g, pyramidRoof(w + 0.6f, d + 0.6f, 2.2f), Mat::roof, roofBlue, at + float3(0, 0, h), 0, 1);
    float front = at.y - d / 2;
    for (int floor = 0; floor < 3; ++floor) {
        float z = 0.8f + 2.4f * float(floor);
        windowRow(kit, g, at.x - 3, at.x + 3, front, z, 4, white);
        if (floor > 0)
            kit.box(g, float3(at.x, front - 0.45f, z - 0.15f), float3(w - 0.8f, 0.9f, 0.12f), white);
    }
    // The entrance with its canopy, flags and a sign.
    kit.box(g, float3(at.x, front - 0.04f, 0), float3(1.4f, 0.08f, 2.2f), rgb(0x7a4a2a));
    kit.box(g, float3(at.x, front - 1.0f, 2.4f), float3(2.6f, 2.0f, 0.15f), red);
    for (float dx : {-1.2f, 1.2f})
        kit.box(g, float3(at.x + dx, front - 1.9f, 0), float3(0.1f, 0.1f, 2.4f), white);
    kit.box(g, float3(at.x, front - 0.1f, h - 0.9f), float3(3.4f, 0.12f, 0.7f), yellow);
    flag(kit, g, at + float3(-3.2f, -1.5f, h + 0.2f), 1.6f, red);
    flag(kit, g, at + float3(3.2f, -1.5f, h + 0.2f), 1.6f, blue);
    for (float dx : {-3.4f, 3.4f})
        kit.bush(g, float3(at.x + dx, front - 1.2f, 0), 0.7f, uint32_t(180 + dx), leaf);
}

void restaurant(ParkKit& kit, const Plot& p)
{
    MeshData& g = groupOf(kit, p);
    kit.patch(g, p.x, p.y, p.width - 0.6f, p.depth - 0.6f, Mat::paving, rgb(0xfff4e0));
    // An open-fronted hall: back and side walls, a roof on posts, the kitchen inside.
    float3 at(p.x, p.y + 3.2f, 0.02f);
    const float w = 8, d = 5, h = 3.2f;
    kit.box(g, at + float3(0, d / 2 - 0.15f, 0), float3(w, 0.3f, h), cream, Mat::stone, 0, 1.5f);
    for (float side : {-1.0f, 1.0f})
        kit.box(g, at + float3(side * (w / 2 - 0.15f), 0, 0), float3(0.3f, d, h), cream, Mat::stone, 0, 1.5f);
    kit.add(g, gableRoof(w, d, 1.4f, 0.5f), Mat::roof, roofRed, at + float3(0, 0, h));
    kit.box(g, at + float3(0, -d / 2, 0), float3(w, 0.25f, 0.9f), cream, Mat::stone, 0, 1.5f);
    kit.box(g, at + float3(0, -d / 2, h - 0.5f), float3(w, 0.25f, 0.5f), cream, Mat::stone, 0, 1.5f);
    for (float dx : {-2.0f, 2.0f})
        kit.box(g, at + float3(dx, -d / 2, 0), float3(0.3f, 0.3f, h), cream, Mat::stone, 0, 1.5f);
    // The kitchen: counter, stove with pots, a hood and shelves.
    kit.box(g, at + float3(0, 0.1f, 0), float3(5.6f, 0.8f, 0.95f), white);
    kit.box(g, at + float3(0, 0.1f, 0.95f), float3(5.8f, 0.9f, 0.06f), rgb(0xb88a5a));
    kit.box(g, at + float3(-1.6f, 1.6f, 0), float3(1.6f, 0.9f, 0.9f), darkGrey);
    for (float dx : {-2.0f, -1.2f}) {
        kit.add(g, post(0.22f, 0.35f, 8), Mat::paint, grey, at + float3(dx, 1.6f, 0.9f));
    }
    kit.add(g, pyramidRoof(1.8f, 1.0f, 0.6f), Mat::paint, grey, at + float3(-1.6f, 1.8f, 2.2f));
    for (float z : {1.4f, 2.1f})
        kit.box(g, at + float3(1.8f, 2.1f, z), float3(2.4f, 0.4f, 0.08f), darkWood);
    for (int i = 0; i < 4; ++i)
        kit.add(g, post(0.12f, 0.3f, 6), Mat::paint, i % 2 ? yellow : red, at + float3(1.0f + 0.5f * float(i), 2.1f, 2.18f));
    // A striped awning over the terrace.
    for (int i = 0; i < 8; ++i) {
        float x = at.x - w / 2 + 0.5f + float(i);
        MeshData slat = transformed(block(1.0f, 1.6f, 0.06f), rotationX(-0.35f));
        kit.add(g, slat, Mat::paint, i % 2 ? white : red, float3(x, at.y - d / 2 - 0.75f, h - 0.3f));
    }
    // Terrace tables with parasols.
    for (int i = 0; i < 3; ++i) {
        float3 t(p.x - 4 + 4 * float(i), p.y - 3.4f, 0.02f);
        kit.add(g, post(0.45f, 0.75f, 8), Mat::paint, white, t);
        kit.add(g, post(0.04f, 2.1f, 4), Mat::paint, grey, t);
        kit.add(g, cone(1.2f, 0.5f, 8), Mat::paint, i == 1 ? yellow : teal, t + float3(0, 0, 2.0f));
        for (float a : {0.0f, kPi})
            kit.box(g, t + float3(std::cos(a) * 0.85f, 0, 0), float3(0.4f, 0.4f, 0.45f), rgb(0xb88a5a));
    }
}

void assistants(ParkKit& kit, const Plot& p)
{
    MeshData& g = groupOf(kit, p);
    kit.patch(g, p.x, p.y, p.width - 0.6f, p.depth - 0.6f, Mat::paving, float3(1, 1, 1));
    float3 at(p.x, p.y + 2.8f, 0.02f);
    kit.box(g, at, float3(6.4f, 4.2f, 5.2f), rgb(0xbcd8f0), Mat::stone, 0, 1.5f);
    kit.box(g, at + float3(0, 0, 5.2f), float3(6.8f, 4.6f, 0.3f), white);
    for (float z : {0.9f, 3.2f})
        windowRow(kit, g, at.x - 2.3f, at.x + 2.3f, at.y - 2.1f, z, 3, white);
    kit.box(g, at + float3(0, -2.14f, 0), float3(1.2f, 0.08f, 2.1f), rgb(0x3a5a8a));
    flag(kit, g, at + float3(2.6f, 1.2f, 5.5f), 2.2f, rgb(0x3fa06a));
    kit.add(g, post(0.35f, 0.8f, 8), Mat::paint, roofGreen, float3(p.x - 4.6f, p.y - 1.2f, 0.02f));
    kit.box(g, float3(p.x + 4.4f, p.y - 2.0f, 0.02f), float3(1.2f, 2.0f, 0.9f), white);
    kit.box(g, float3(p.x + 4.4f, p.y - 1.6f, 0.9f), float3(1.1f, 1.0f, 0.7f), rgb(0x8ab8e8));
}

void cleaning(ParkKit& kit, const Plot& p)
{
    MeshData& g = groupOf(kit, p);
    kit.patch(g, p.x, p.y, p.width - 0.6f, p.depth - 0.6f, Mat::paving, float3(1, 1, 1));
    kit.house(g, float3(p.x - 1, p.y + 3.2f, 0.02f), float3(5.0f, 3.2f, 2.6f), 1.2f, rgb(0x8ad0a0), rgb(0x3a8a5a));
    // A cleaning cart, brooms and bins.
    float3 c(p.x + 3.8f, p.y - 1.6f, 0.02f);
    kit.box(g, c + float3(0, 0, 0.25f), float3(1.4f, 0.8f, 0.6f), yellow);
    for (float dx : {-0.5f, 0.5f})
        for (float dy : {-0.42f, 0.42f})
            kit.add(g, transformed(cylinder(0.14f, 0.08f, 8), rotationX(kPi / 2)), Mat::paint, darkGrey,
                    c + float3(dx, dy, 0.14f));
    for (int i = 0; i < 3; ++i)
        kit.add(g, transformed(post(0.03f, 1.5f, 4), rotationY(0.25f)), Mat::paint, rgb(0xb88a5a),
                float3(p.x + 1.0f + 0.3f * float(i), p.y + 1.55f, 0.02f));
    for (int i = 0; i < 3; ++i)
        kit.add(g, post(0.35f, 0.9f, 8), Mat::paint, i == 0 ? roofGreen : i == 1 ? blue : yellow,
                float3(p.x - 5 + 0.85f * float(i), p.y - 1.5f, 0.02f));
}

void workshop(ParkKit& kit, const Plot& p)
{
    MeshData& g = groupOf(kit, p);
    kit.patch(g, p.x, p.y, p.width - 0.6f, p.depth - 0.6f, Mat::paving, rgb(0xf0e8e0));
    float3 at(p.x - 0.5f, p.y + 3, 0.02f);
    kit.house(g, at, float3(6.0f, 4.0f, 3.2f), 1.4f, brick, darkGrey, 0, Mat::stone, false);
    kit.box(g, at + float3(-0.8f, -2.04f, 0), float3(2.6f, 0.08f, 2.6f), rgb(0x7a8a98));
    kit.box(g, at + float3(1.9f, -2.04f, 1.2f), float3(1.0f, 0.08f, 0.9f), window);
    // A saw horse with a plank, a pile of boards and a toolbox.
    float3 s(p.x + 2.4f, p.y - 2.0f, 0.02f);
    for (float dx : {-0.6f, 0.6f})
        kit.box(g, s + float3(dx, 0, 0), float3(0.1f, 0.6f, 0.8f), wood);
    kit.box(g, s + float3(0, 0, 0.8f), float3(2.0f, 0.3f, 0.06f), wood, Mat::wood, 0, 1);
    for (int i = 0; i < 4; ++i)
        kit.box(g, float3(p.x - 4.4f, p.y - 1.6f, 0.02f + 0.12f * float(i)), float3(2.4f, 0.9f, 0.1f), shade(wood, 0.05f * float(i)),
                Mat::wood, 0.1f * float(i), 1);
    kit.box(g, float3(p.x + 4.8f, p.y + 1.0f, 0.02f), float3(0.8f, 0.45f, 0.45f), red);
}

void foodStore(ParkKit& kit, const Plot& p)
{
    MeshData& g = groupOf(kit, p);
    kit.patch(g, p.x, p.y, p.width - 0.6f, p.depth - 0.6f, Mat::paving, float3(1, 1, 1));
    float3 at(p.x, p.y + 2.8f, 0.02f);
    kit.house(g, at, float3(7.0f, 4.6f, 3.6f), 1.0f, rgb(0xe8e4d8), rgb(0x5a7a98), 0, Mat::wood, false);
    kit.box(g, at + float3(0, -2.34f, 0), float3(3.2f, 0.08f, 2.8f), rgb(0xa8aeb8));
    for (int i = 0; i < 6; ++i)
        kit.box(g, at + float3(0, -2.4f, 0.4f + 0.4f * float(i)), float3(3.2f, 0.06f, 0.05f), rgb(0x8a909a));
    // Crates and sacks on the yard.
    for (int i = 0; i < 3; ++i)
        kit.box(g, float3(p.x - 4.8f + 1.0f * float(i % 2), p.y - 2.0f, 0.02f + 0.8f * float(i / 2)), float3(0.8f, 0.8f, 0.8f),
                wood, Mat::wood, 0.1f * float(i), 0.8f);
    for (int i = 0; i < 4; ++i)
        kit.add(g, ellipsoid(float3(0.45f, 0.3f, 0.22f), 3, 6), Mat::paint, rgb(0xe0cc9a),
                float3(p.x + 3.6f + 0.5f * float(i % 2), p.y - 2.2f + 0.2f * float(i / 2), 0.22f + 0.35f * float(i / 2)));
}

// ---- car parks

void carPark(ParkKit& kit, const Plot& p, size_t firstPlace, size_t count)
{
    MeshData& g = groupOf(kit, p);
    MeshData lot = groundQuad(p.x - p.width / 2, p.y - p.depth / 2, p.x + p.width / 2, p.y + p.depth / 2, 4);
    lot = transformed(lot, translation(float3(0, 0, 0.03f)));
    planarUV(lot, 4);
    kit.addKeepUV(g, lot, Mat::asphalt, float3(1, 1, 1), float3());
    // White lines either side of each car's place (cars stand along y).
    std::vector<CarPlace> places = carPlaces();
    for (size_t k = firstPlace; k < firstPlace + count && k < places.size(); ++k)
        for (float dx : {-1.6f, 1.6f})
            kit.box(g, places[k].at + float3(dx, 0, 0.035f), float3(0.12f, 4.8f, 0.02f), white);
    // A low hedge round three sides, lamps and the blue parking sign.
    float x0 = p.x - p.width / 2, x1 = p.x + p.width / 2, y0 = p.y - p.depth / 2, y1 = p.y + p.depth / 2;
    const float3 hedge = rgb(0x4c9a3e);
    bool west = p.x < 0;
    kit.wall(g, float3(x0, y0, 0), float3(x1, y0, 0), 0.7f, 0.6f, hedge, Mat::paint);
    kit.wall(g, float3(west ? x0 : x1, y0, 0), float3(west ? x0 : x1, y1, 0), 0.7f, 0.6f, hedge, Mat::paint);
    kit.wall(g, float3(x0, y1, 0), float3(x1, y1, 0), 0.7f, 0.6f, hedge, Mat::paint);
    kit.lamp(g, float3(p.x - p.width / 4, p.y, 0.03f));
    kit.lamp(g, float3(p.x + p.width / 4, p.y, 0.03f));
    float3 s(west ? x1 - 0.8f : x0 + 0.8f, y1 - 0.8f, 0);
    kit.box(g, s, float3(0.12f, 0.12f, 2.4f), darkGrey);
    kit.box(g, s + float3(0, -0.06f, 2.0f), float3(0.9f, 0.08f, 0.9f), blue);
    kit.box(g, s + float3(-0.12f, -0.11f, 2.12f), float3(0.14f, 0.04f, 0.66f), white);
    kit.box(g, s + float3(0.05f, -0.11f, 2.5f), float3(0.32f, 0.04f, 0.28f), white);
}

} // namespace

// ---- all

void addBuildings(ParkKit& kit)
{
    dogKennel(kit, plotOf("DogHouse1"));
    dogVilla(kit, plotOf("DogHouse2"));
    dogPalace(kit, plotOf("DogHouse3"));
    catCottage(kit, plotOf("CatHouse1"));
    catTower(kit, plotOf("CatHouse2"));
    catManor(kit, plotOf("CatHouse3"));
    rabbitHutch(kit, plotOf("RabbitHouse1"));
    rabbitWarren(kit, plotOf("RabbitHouse2"));
    rabbitGarden(kit, plotOf("RabbitHouse3"));
    horseStable(kit, plotOf("HorseHouse1"));
    ridingBarn(kit, plotOf("HorseHouse2"));
    horseRanch(kit, plotOf("HorseHouse3"));
    dinoPaddock(kit, plotOf("DinoHouse1"));
    dinoValley(kit, plotOf("DinoHouse2"));
    dinoVolcano(kit, plotOf("DinoHouse3"));
    vet(kit, plotOf("OtherVet"));
    hotel(kit, plotOf("OtherHotel"));
    restaurant(kit, plotOf("OtherRestaurant"));
    assistants(kit, plotOf("OtherAssistants"));
    cleaning(kit, plotOf("OtherBuilding1"));
    workshop(kit, plotOf("OtherBuilding2"));
    foodStore(kit, plotOf("OtherFoodStore"));
    carPark(kit, plotOf("OtherParking1"), kRoadsidePlaces, kCarParkPlaces);
    carPark(kit, plotOf("OtherParking2"), kRoadsidePlaces + kCarParkPlaces, kLargeCarParkPlaces);
}

} // namespace mkscenes

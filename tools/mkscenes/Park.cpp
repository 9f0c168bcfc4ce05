#include "mkscenes/Park.h"

#include "mkscenes/ParkLayout.h"
#include "mkscenes/Visitors.h"

#include <cmath>
#include <cstdio>

// Index: land and sky - paths - entrance and drive - hedge and trees - fountain square -
// flower beds - empty plots - the scene

namespace mkscenes {

using namespace scenelib;

namespace {

// ---- land and sky

// Height of the land: flat inside the park's surroundings, rising to low hills beyond.
float landHeight(float x, float y)
{
    float r = std::max(std::fabs(x), std::fabs(y) * 1.1f);
    float rise = ease01((r - 85) / 130);
    float n = valueNoise(x / 60 + 10, y / 60 + 10, 64, 7) * 0.7f + valueNoise(x / 25, y / 25, 64, 8) * 0.3f;
    return rise * (6 + 30 * n);
}

void land(ParkKit& kit)
{
    // One grid over everything, fine near the park and coarse far away.
    const float xs[] = {-340, -240, -170, -125, -95, -80, -66, -52, -38, -24, -10, 4, 18, 32, 46, 60, 74, 88, 104, 130, 175, 245, 340};
    const float ys[] = {-340, -240, -170, -125, -98, -84, -70, -56, -42, -28, -14, 0, 14, 28, 42, 56, 72, 92, 125, 170, 240, 340};
    const int nx = int(sizeof xs / sizeof xs[0]), ny = int(sizeof ys / sizeof ys[0]);
    MeshData m;
    m.parts.resize(1);
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) {
            float x = xs[i], y = ys[j];
            float h = landHeight(x, y);
            m.addVertex(float3(x, y, h), float3(0, 0, 1), x / 4, y / 4);
            // Patches of lighter and darker lawn; hills a little bluer with distance.
            float patchy = 0.82f + 0.22f * hash01(i, j, 3);
            float far = ease01((std::max(std::fabs(x), std::fabs(y)) - 90) / 200);
            m.color.push_back(mixColour(float3(patchy, patchy, patchy), float3(0.8f, 0.9f, 0.95f), far * 0.5f));
        }
    for (int j = 0; j + 1 < ny; ++j)
        for (int i = 0; i + 1 < nx; ++i) {
            int a = j * nx + i, b = a + 1, c = a + nx + 1, d = a + nx;
            Engine2Scene::int3 t0, t1;
            t0.a = a, t0.b = b, t0.c = c;
            t1.a = a, t1.b = c, t1.c = d;
            m.parts[0].triangles.push_back(t0);
            m.parts[0].triangles.push_back(t1);
        }
    smoothNormals(m);
    append(kit.group("ground", 0), withMaterial(m, kit.material(Mat::grass)));
}

// A dome of sky around everything, drawn unlit and without fog; its texture runs from haze at
// the horizon to blue overhead.
void sky(ParkKit& kit)
{
    MaterialDesc d("Sky NO_LIGHT", float3(1, 1, 1));
    d.ambient = float3(1, 1, 1);
    d.specularLevel = 0;
    d.maps[kSlotDiffuse] = kit.b.addTexture("tex/park_sky.png");
    int material = kit.b.addMaterial(d);
    const int rings = 6, segments = 18;
    const float radius = 2400;
    MeshData m;
    m.parts.resize(1);
    m.parts[0].material = material;
    for (int r = 0; r <= rings; ++r) {
        // From a little below the horizon to the top.
        float elevation = -0.08f + (kPi / 2 + 0.08f) * float(r) / float(rings);
        for (int s = 0; s <= segments; ++s) {
            float a = 2 * kPi * float(s) / float(segments);
            float3 p(std::cos(elevation) * std::cos(a), std::cos(elevation) * std::sin(a), std::sin(elevation));
            float v = 0.03f + 0.94f * std::max(0.0f, elevation) / (kPi / 2);
            m.addVertex(p * radius, -p, float(s) / float(segments) * 3, v);
        }
    }
    for (int r = 0; r < rings; ++r)
        for (int s = 0; s < segments; ++s) {
            int a = r * (segments + 1) + s, b = a + 1, c = a + segments + 2, d2 = a + segments + 1;
            // Seen from inside: the reverse turn of an outward-facing quad.
            Engine2Scene::int3 t0, t1;
            t0.a = a, t0.b = c, t0.c = b;
            t1.a = a, t1.b = d2, t1.c = c;
            m.parts[0].triangles.push_back(t0);
            m.parts[0].triangles.push_back(t1);
        }
    kit.b.addMesh("!nofog sky", m, 0, Track{identity()}, 0);
}

// ---- paths

void path(ParkKit& kit, float3 a, float3 b, float width)
{
    // Paving coordinates from world position, so crossing paths show the same stones.
    MeshData s = strip(a + float3(0, 0, 0.03f), b + float3(0, 0, 0.03f), width, 2);
    planarUV(s, 2.5f);
    append(kit.group("paths", 0), withMaterial(painted(s, float3(1, 1, 1)), kit.material(Mat::paving)));
}

void paths(ParkKit& kit)
{
    float hw = kPathWidth / 2;
    path(kit, float3(0, kFenceSouth - 4, 0), float3(0, kStageCentre.y, 0), kAvenueWidth);
    path(kit, float3(-56, 0, 0), float3(56, 0, 0), kAvenueWidth);
    // East of x = 39 the Horse Ranch and the Dino Volcano take both rows.
    for (float y : {-22.0f, 22.0f})
        path(kit, float3(-56, y, 0), float3(39 + hw, y, 0), kPathWidth);
    for (float x : {-39.0f, -22.0f, 22.0f, 39.0f})
        path(kit, float3(x, -40 + hw, 0), float3(x, 39, 0), kPathWidth);
    path(kit, float3(-56, -40, 0), float3(56, -40, 0), kPathWidth);
    // A round place at the north end of the avenue for the show stage.
    MeshData end = disc(4.6f, 16, 2.5f);
    end = transformed(end, translation(kStageCentre + float3(0, 0.5f, 0.031f)));
    planarUV(end, 2.5f);
    append(kit.group("paths", 0), withMaterial(painted(end, float3(1, 1, 1)), kit.material(Mat::paving)));
}

// The trick show's stage: a wooden podium with a red rim before a striped backdrop, flags either
// side. The animals stand on it during a show (Trick_cameras.3dn).
void stage(ParkKit& kit)
{
    MeshData& g = kit.group("stage", 0);
    float3 c = kStageCentre;
    kit.add(g, frustum(kStageRadius + 0.15f, kStageRadius + 0.15f, kStageHeight - 0.04f, 20), Mat::paint, palette::red, c);
    MeshData top = transformed(disc(kStageRadius, 20, 1), translation(c + float3(0, 0, kStageHeight)));
    planarUV(top, 1.2f);
    kit.addKeepUV(g, top, Mat::wood, rgb(0xe0b070), float3());
    // The backdrop: a half ring of stripes behind the stage.
    const int stripes = 12;
    for (int i = 0; i < stripes; ++i) {
        float a0 = kPi * float(i) / float(stripes), a1 = kPi * float(i + 1) / float(stripes);
        float r = kStageRadius + 0.5f;
        float3 p0 = c + float3(std::cos(a0) * r, std::sin(a0) * r, 0), p1 = c + float3(std::cos(a1) * r, std::sin(a1) * r, 0);
        kit.wall(g, p1, p0, 2.6f, 0.12f, i % 2 ? palette::yellow : palette::red, Mat::paint);
    }
    kit.add(g, flatShaded(torus(kStageRadius + 0.5f, 0.12f, 12, 4)), Mat::paint, palette::yellow, c + float3(0, 0, 2.65f));
    for (float side : {-1.0f, 1.0f}) {
        float3 f = c + float3(side * (kStageRadius + 1.1f), -0.6f, 0);
        kit.add(g, frustum(0.06f, 0.05f, 4.0f, 5), Mat::paint, palette::white, f);
        kit.box(g, f + float3(side * 0.5f, 0, 3.3f), float3(1.0f, 0.04f, 0.6f), side < 0 ? palette::blue : palette::green);
    }
}

// ---- entrance and drive

void entrance(ParkKit& kit)
{
    MeshData& g = kit.group("entrance", 0);
    float y = kFenceSouth;
    for (float x : {-kGateWidth / 2 - 0.6f, kGateWidth / 2 + 0.6f}) {
        kit.box(g, float3(x, y, 0), float3(1.2f, 1.2f, 4.2f), palette::stone, Mat::stone, 0, 1.2f);
        kit.add(g, frustum(0.75f, 0.2f, 0.8f, 4), Mat::paint, palette::roofRed, float3(x, y, 4.2f), kPi / 4);
    }
    // The arch and its sign: a big paw print on a yellow board.
    kit.box(g, float3(0, y, 3.5f), float3(kGateWidth + 1.2f, 0.5f, 0.5f), palette::red);
    kit.box(g, float3(0, y - 0.05f, 4.0f), float3(4.6f, 0.3f, 1.4f), palette::yellow);
    float3 front(0, y - 0.23f, 4.7f);
    kit.add(g, transformed(cylinder(0.36f, 0.08f, 10), rotationX(kPi / 2)), Mat::paint, palette::brown,
            front + float3(0, 0, -0.12f));
    for (int i = 0; i < 4; ++i) {
        float a = kPi * (0.2f + 0.2f * float(i));
        kit.add(g, transformed(cylinder(0.15f, 0.08f, 8), rotationX(kPi / 2)), Mat::paint, palette::brown,
                front + float3(std::cos(a) * -0.6f, 0, std::sin(a) * 0.55f + 0.05f));
    }
    for (float x : {-2.0f, 2.0f})
        kit.add(g, transformed(cylinder(0.3f, 0.08f, 8), rotationX(kPi / 2)), Mat::paint, palette::orange,
                float3(x * 0.95f, y - 0.23f, 4.7f));
    // A ticket booth beside the gate, and the drive down to the road.
    kit.house(g, float3(7.5f, y - 2.5f, 0), float3(2.6f, 2.2f, 2.4f), 1.0f, palette::cream, palette::roofRed);
    MeshData drive = strip(float3(0, y - 0.5f, 0.025f), float3(0, -78, 0.025f), 7, 4);
    planarUV(drive, 4);
    append(g, withMaterial(painted(drive, float3(1, 1, 1)), kit.material(Mat::asphalt)));
    MeshData road = strip(float3(-140, -72, 0.02f), float3(140, -72, 0.02f), 8, 4);
    planarUV(road, 4);
    append(g, withMaterial(painted(road, float3(1, 1, 1)), kit.material(Mat::asphalt)));
    // White dashes down the road, and the stalls beside the drive for the first cars.
    for (float x = -130; x <= 130; x += 6)
        kit.box(g, float3(x, -72, 0.02f), float3(2.5f, 0.18f, 0.02f), palette::white);
    // Parking bays along the drive, one car's length each.
    std::vector<CarPlace> places = carPlaces();
    for (size_t k = 0; k < kRoadsidePlaces; ++k) {
        float3 at = places[k].at;
        float side = at.x < 0 ? -1.0f : 1.0f;
        MeshData bay = groundQuad(std::min(side * 3.4f, at.x + side * 1.3f), at.y - 3, std::max(side * 3.4f, at.x + side * 1.3f),
                         at.y + 3, 4);
        bay = transformed(bay, translation(float3(0, 0, 0.026f)));
        planarUV(bay, 4);
        append(g, withMaterial(painted(bay, float3(1, 1, 1)), kit.material(Mat::asphalt)));
        for (float dy : {-3.0f, 3.0f})
            kit.box(g, float3(at.x, at.y + dy, 0.027f), float3(2.4f, 0.12f, 0.02f), palette::white);
    }
}

// ---- hedge and trees

void hedgeAndTrees(ParkKit& kit)
{
    MeshData& hedge = kit.group("hedge", 1);
    const float3 green = rgb(0x4c9a3e);
    float x = kFenceX, s = kFenceSouth, n = kFenceNorth, gate = kGateWidth / 2 + 1.2f;
    kit.wall(hedge, float3(-x, s, 0), float3(-gate, s, 0), 1.5f, 1.0f, green, Mat::paint);
    kit.wall(hedge, float3(gate, s, 0), float3(x, s, 0), 1.5f, 1.0f, green, Mat::paint);
    kit.wall(hedge, float3(x, s, 0), float3(x, n, 0), 1.5f, 1.0f, green, Mat::paint);
    kit.wall(hedge, float3(x, n, 0), float3(-x, n, 0), 1.5f, 1.0f, green, Mat::paint);
    kit.wall(hedge, float3(-x, n, 0), float3(-x, s, 0), 1.5f, 1.0f, green, Mat::paint);

    // Trees along the avenues and at the crossings inside the park.
    MeshData& inside = kit.group("trees", 1);
    uint32_t seed = 100;
    for (float y = -34; y <= 34; y += 8) {
        if (std::fabs(y) < 10)
            continue;
        for (float side : {-1.0f, 1.0f})
            kit.roundTree(inside, float3(side * 4.2f, y + 2, 0), 5.5f, seed++, palette::leaf);
    }
    for (float x2 = -52; x2 <= 52; x2 += 9) {
        if (std::fabs(x2) < 10)
            continue;
        kit.roundTree(inside, float3(x2, -3.6f, 0), 4.5f, seed++, shade(palette::leaf, 0.05f));
    }
    for (float3 p : {float3(-55, -39, 0), float3(55, -39, 0), float3(-55, 39.5f, 0), float3(55, 39.5f, 0), float3(6.5f, 39, 0),
                     float3(-6.5f, 39, 0)})
        kit.roundTree(inside, p, 6.5f, seed++, rgb(0x5aa040));

    // A wood all round outside the park, thicker further out (no shadows: too far to see them).
    MeshData& wood = kit.group("wood", 1);
    kit.castShadows = false;
    Random r(77);
    for (int i = 0; i < 150; ++i) {
        float a = r.range(0, 2 * kPi);
        float d = r.range(0, 1);
        float rx = 66 + d * d * 70, ry = 50 + d * d * 70;
        float3 p(std::cos(a) * rx, std::sin(a) * ry, 0);
        // Keep the car parks, the drive and the road clear.
        if (p.y < -40 && p.y > -82 && std::fabs(p.x) < 50)
            continue;
        if (std::fabs(p.y + 72) < 6)
            continue;
        p.z = landHeight(p.x, p.y) - 0.2f;
        if (r.below(3) == 0)
            kit.roundTree(wood, p, r.range(6, 9), uint32_t(i) + 500, rgb(0x3a8a34));
        else
            kit.pine(wood, p, r.range(7, 11), uint32_t(i) + 900);
    }
    kit.castShadows = true;
}

// ---- fountain square

void fountainSquare(ParkKit& kit)
{
    MeshData& g = kit.group("square", 2);
    MeshData paving = disc(kSquareRadius, 24, 2);
    paving = transformed(paving, translation(float3(0, 0, 0.05f)));
    planarUV(paving, 2);
    append(g, withMaterial(painted(paving, rgb(0xf4ead8)), kit.material(Mat::paving)));
    MeshData rim = flatRing(kSquareRadius - 0.4f, kSquareRadius, 24);
    rim = transformed(rim, translation(float3(0, 0, 0.06f)));
    planarUV(rim, 1);
    append(g, withMaterial(painted(rim, palette::stone), kit.material(Mat::stone)));
    // The fountain: a round basin with water, a column and a bowl on top. The basins are solid,
    // so their water lies just above their tops, inside a stone rim.
    kit.add(g, frustum(2.6f, 2.5f, 0.55f, 16), Mat::stone, palette::white, float3(0, 0, 0), 0, 0.8f);
    MeshData pool = disc(2.3f, 16, 1.5f);
    pool = transformed(pool, translation(float3(0, 0, 0.57f)));
    kit.addKeepUV(g, pool, Mat::water, float3(1, 1, 1), float3());
    kit.add(g, frustum(0.35f, 0.28f, 1.6f, 8), Mat::stone, palette::white, float3(0, 0, 0.5f), 0, 0.8f);
    kit.add(g, frustum(0.35f, 1.0f, 0.35f, 12), Mat::stone, palette::white, float3(0, 0, 2.0f), 0, 0.8f);
    MeshData top = disc(0.85f, 12, 1);
    top = transformed(top, translation(float3(0, 0, 2.37f)));
    kit.addKeepUV(g, top, Mat::water, float3(1, 1, 1), float3());
    // Benches and lamps round the square.
    for (int i = 0; i < 4; ++i) {
        float a = kPi / 4 + float(i) * kPi / 2;
        float3 p(std::cos(a) * 6.7f, std::sin(a) * 6.7f, 0.05f);
        kit.bench(g, p, a + kPi / 2);
        float3 l(std::cos(a + 0.3f) * 7.1f, std::sin(a + 0.3f) * 7.1f, 0.05f);
        kit.lamp(g, l);
    }
}

// The fountain's jets rise and fall with the park's animation.
void fountainJets(ParkKit& kit)
{
    MaterialDesc d("Spray NO_LIGHT", rgb(0xe6f6ff), 0.75f);
    d.ambient = rgb(0xe6f6ff);
    d.specularLevel = 0;
    int material = kit.b.addMaterial(d);
    MeshData jet = withMaterial(cone(0.18f, 1.0f, 6), material);
    append(jet, withMaterial(transformed(cone(0.5f, 0.35f, 8), translation(float3(0, 0, -0.05f))), material));
    Track track;
    for (int f = 0; f <= kParkFrames; ++f) {
        float t = float(f) / float(kParkFrames);
        float h = 1 + 0.25f * std::sin(2 * kPi * 4 * t) + 0.1f * std::sin(2 * kPi * 7 * t);
        track.push_back(mul(scaling(float3(1, 1, h)), translation(float3(0, 0, 2.3f))));
    }
    kit.b.addMesh("fountain jet", jet, 0, track, 2);
}

// ---- flower beds

void flowerBeds(ParkKit& kit)
{
    MeshData& g = kit.group("flowers", 3);
    uint32_t seed = 300;
    auto bed = [&](float3 at, float w, float d) {
        kit.box(g, at, float3(w + 0.3f, d + 0.3f, 0.22f), palette::stone, Mat::stone, 0, 1);
        kit.patch(g, at.x, at.y, w, d, Mat::dirt, rgb(0x8a6a4a), 0.23f);
        int count = int(w * d * 1.6f);
        for (int i = 0; i < count; ++i) {
            Random r(seed++);
            float3 p = at + float3(r.range(-w / 2 + 0.2f, w / 2 - 0.2f), r.range(-d / 2 + 0.2f, d / 2 - 0.2f), 0);
            kit.flowers(g, p, 0.05f, seed, 1);
        }
    };
    for (float side : {-1.0f, 1.0f}) {
        bed(float3(side * 3.6f, -30, 0), 1.0f, 7);
        bed(float3(side * 3.6f, -16, 0), 1.0f, 7);
        bed(float3(side * 3.6f, 16, 0), 1.0f, 7);
        bed(float3(side * 3.6f, 28, 0), 1.0f, 7);
    }
    // Long beds on the east-west avenue's north verge, between the avenue and the plots.
    for (float side : {-1.0f, 1.0f})
        for (float x : {13.5f, 30.5f, 47.5f})
            bed(float3(side * x, 4.3f, 0), 7, 1.0f);
    // Round the fountain square.
    for (int i = 0; i < 8; ++i) {
        float a = float(i) * kPi / 4 + kPi / 8;
        kit.flowers(g, float3(std::cos(a) * 8.6f, std::sin(a) * 8.6f, -0.1f), 0.9f, seed++, 7);
    }
}

// ---- empty plots

// A building's plot before it is built: rough meadow marked out with stakes, a rope along the
// front, a patch of turned earth and a sign.
void emptyPlots(ParkKit& kit)
{
    for (const Plot& p : parkPlots()) {
        MeshData& g = kit.group("plot_" + p.building, p.layer + 100);
        kit.patch(g, p.x, p.y, p.width - 1, p.depth - 1, Mat::grass, rgb(0xe8f0b0), 0.025f);
        kit.patch(g, p.x - p.width / 4, p.y + 0.5f, p.width / 3, p.depth / 4, Mat::dirt, float3(1, 1, 1), 0.03f);
        float x0 = p.x - p.width / 2 + 0.6f, x1 = p.x + p.width / 2 - 0.6f;
        float y0 = p.y - p.depth / 2 + 0.6f, y1 = p.y + p.depth / 2 - 0.6f;
        for (float3 c : {float3(x0, y0, 0), float3(x1, y0, 0), float3(x1, y1, 0), float3(x0, y1, 0)})
            kit.box(g, c, float3(0.12f, 0.12f, 0.8f), palette::wood);
        kit.wall(g, float3(x0, y0, 0.6f), float3(x1, y0, 0.6f), 0.04f, 0.04f, palette::red, Mat::paint);
        kit.wall(g, float3(x1, y0, 0.6f), float3(x1, y1, 0.6f), 0.04f, 0.04f, palette::red, Mat::paint);
        kit.wall(g, float3(x1, y1, 0.6f), float3(x0, y1, 0.6f), 0.04f, 0.04f, palette::red, Mat::paint);
        kit.wall(g, float3(x0, y1, 0.6f), float3(x0, y0, 0.6f), 0.04f, 0.04f, palette::red, Mat::paint);
        kit.sign(g, float3(p.x + 1.5f, y0 + 0.5f, 0), 0, palette::yellow);
    }
}

} // namespace

// ---- the scene

bool writePark(const std::string& sceneDir)
{
    SceneBuilder b;
    b.setAnimation(kParkFrames, kParkFps);
    b.setComments("the park");
    ParkKit kit(b);
    land(kit);
    sky(kit);
    paths(kit);
    stage(kit);
    entrance(kit);
    hedgeAndTrees(kit);
    fountainSquare(kit);
    fountainJets(kit);
    flowerBeds(kit);
    emptyPlots(kit);
    addBuildings(kit);
    // The water flows: its texture drifts through the animation.
    for (Engine2Scene::TextureMap& map : b.scene().texture_map)
        if (map.name == "!tex/park_water.png")
            for (int f = 0; f <= kParkFrames; ++f) {
                map.uoff.push_back(float(f) / float(kParkFrames));
                map.voff.push_back(0.25f * std::sin(2 * kPi * float(f) / float(kParkFrames)));
            }
    int triangles = kit.flush();
    std::printf("mkscenes: main3D.3dn, %d triangles\n", triangles);
    return b.save(sceneDir + "/main3D.3dn");
}

} // namespace mkscenes

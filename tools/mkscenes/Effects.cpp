#include "mkscenes/Effects.h"

#include "mkscenes/Geometry.h"
#include "mkscenes/ParkLayout.h"
#include "scenelib/SceneBuilder.h"

#include <cmath>

// Index: lights - effects - the park's own effects

namespace mkscenes {

using namespace scenelib;

// ---- lights

// A warm sun high in the south-west and a cool fill from the north-east. Both stand far away
// and fade as distance / start, so the whole park is lit alike; together they make the
// global ambient light.
bool writeLights(const std::string& sceneDir)
{
    SceneBuilder b;
    b.setAnimation(1, 25);
    b.setComments("park lights");
    float3 sunDir = unit(float3(-0.45f, -0.75f, 1.0f));
    LightDesc sun("sun !amb=0.22 !dif=0.78 !spc=0.4 !glo=0.26", sunDir * 1500, float3(1.0f, 0.95f, 0.86f), 1);
    sun.fadeStart = 1500;
    sun.fadeEnd = 9000;
    b.addLight(sun);
    float3 fillDir = unit(float3(0.6f, 0.7f, 0.55f));
    LightDesc fill("sky fill !amb=0 !dif=0.36 !spc=0 !glo=0.1", fillDir * 1500, float3(0.62f, 0.72f, 0.95f), 1);
    fill.fadeStart = 1500;
    fill.fadeEnd = 9000;
    b.addLight(fill);
    return b.save(sceneDir + "/mBackground3DLight.3dn");
}

namespace {

// ---- effects

int unlitMaterial(SceneBuilder& b, const char* name, uint32_t hex, float opacity = 1)
{
    MaterialDesc d(std::string(name) + " NO_LIGHT", rgb(hex), opacity);
    d.ambient = rgb(hex);
    d.specularLevel = 0;
    return b.addMaterial(d);
}

// A particle: grows from nothing and shrinks back over its part of the loop while it moves
// from `from` to `to`. The loop has `frames` frames; the particle's life starts at `phase`
// (0..1 of the loop) and lasts `life` of it.
Track particle(float3 from, float3 to, int frames, float phase, float life, float size, float spin)
{
    Track t;
    for (int f = 0; f <= frames; ++f) {
        float u = std::fmod(float(f) / float(frames) - phase + 1, 1.0f) / life;
        float s = u < 1 ? std::max(0.01f, size * std::sin(kPi * u)) : 0.01f;
        float3 p = from + (to - from) * std::min(1.0f, u);
        t.push_back(mul(mul(rotationZ(spin * u), scaling(float3(s, s, s))), translation(p)));
    }
    return t;
}

MeshData star()
{
    MeshData m = ellipsoid(float3(0.06f, 0.06f, 0.2f), 2, 4);
    append(m, ellipsoid(float3(0.2f, 0.06f, 0.06f), 2, 4));
    append(m, ellipsoid(float3(0.09f, 0.09f, 0.09f), 2, 6));
    return flatShaded(m);
}

MeshData heart()
{
    MeshData m = ellipsoid(float3(0.1f, 0.06f, 0.1f), 3, 6);
    m = transformed(m, translation(float3(-0.075f, 0, 0.05f)));
    append(m, transformed(ellipsoid(float3(0.1f, 0.06f, 0.1f), 3, 6), translation(float3(0.075f, 0, 0.05f))));
    MeshData tip = transformed(cone(0.15f, 0.2f, 6), rotationX(kPi));
    append(m, transformed(tip, translation(float3(0, 0, 0.06f))));
    return m;
}

bool sparkles(const std::string& path)
{
    SceneBuilder b;
    const int frames = 6;
    b.setAnimation(frames, 3);
    b.setComments("effect: sparkles");
    int gold = unlitMaterial(b, "Sparkle", 0xffe680), white = unlitMaterial(b, "Shine", 0xffffff);
    Random r(3);
    for (int k = 0; k < 8; ++k) {
        float a = r.range(0, 2 * kPi), d = r.range(0.2f, 0.6f);
        float3 p(std::cos(a) * d, std::sin(a) * d, r.range(0.3f, 1.1f));
        b.addMesh("sparkle" + std::to_string(k + 1), withMaterial(star(), k % 3 ? gold : white), 0,
                  particle(p, p + float3(0, 0, 0.3f), frames, float(k) / 8, 0.5f, r.range(0.7f, 1.2f), 1.5f));
    }
    return b.save(path);
}

bool hearts(const std::string& path)
{
    SceneBuilder b;
    const int frames = 6;
    b.setAnimation(frames, 3);
    b.setComments("effect: hearts");
    int red = unlitMaterial(b, "Heart", 0xf0405a), pink = unlitMaterial(b, "Heart pink", 0xff8fb0);
    Random r(5);
    for (int k = 0; k < 5; ++k) {
        float3 p(r.range(-0.3f, 0.3f), r.range(-0.3f, 0.3f), 0.6f);
        b.addMesh("heart" + std::to_string(k + 1), withMaterial(heart(), k % 2 ? pink : red), 0,
                  particle(p, p + float3(r.range(-0.2f, 0.2f), 0, 1.0f), frames, float(k) / 5, 0.7f, r.range(0.8f, 1.3f), 0.6f));
    }
    return b.save(path);
}

bool dust(const std::string& path)
{
    SceneBuilder b;
    const int frames = 6;
    b.setAnimation(frames, 3);
    b.setComments("effect: dust");
    MaterialDesc d("Dust", rgb(0xd8c8a8), 0.55f);
    d.specularLevel = 0;
    int material = b.addMaterial(d);
    Random r(7);
    for (int k = 0; k < 8; ++k) {
        float a = r.range(0, 2 * kPi);
        float3 p(std::cos(a) * 0.25f, std::sin(a) * 0.25f, 0.05f);
        float3 q(std::cos(a) * 0.8f, std::sin(a) * 0.8f, 0.35f);
        b.addMesh("dust" + std::to_string(k + 1), withMaterial(blob(float3(0.18f, 0.18f, 0.14f), uint32_t(k), 0.3f), material), 0,
                  particle(p, q, frames, float(k) / 8, 0.6f, r.range(0.8f, 1.4f), 0.5f));
    }
    return b.save(path);
}

// ---- the park's own effects

// A butterfly or bird: two wings in a V whose span beats by scaling across them.
MeshData wings(float span, float depth)
{
    MeshData m;
    for (float side : {1.0f, -1.0f}) {
        MeshData w = ellipsoid(float3(depth, span * 0.5f, 0.01f), 2, 6);
        w = transformed(w, mul(rotationX(side * 0.35f), translation(float3(0, side * span * 0.5f, 0))));
        append(m, w);
    }
    return m;
}

// Flies round an oval at `centre`, bobbing, its wings beating `beats` times per loop.
Track flutter(float3 centre, float rx, float ry, int frames, int beats, float bob, float phase)
{
    Track t;
    for (int f = 0; f <= frames; ++f) {
        float a = 2 * kPi * (float(f) / float(frames) + phase);
        float3 p = centre + float3(rx * std::cos(a), ry * std::sin(2 * a) * 0.6f + ry * std::sin(a) * 0.4f,
                                   bob * std::sin(3 * a));
        float3 v(-rx * std::sin(a), ry * (1.2f * std::cos(2 * a) + 0.4f * std::cos(a)), 0);
        float heading = std::atan2(v.y, v.x);
        float beat = 0.35f + 0.65f * std::fabs(std::cos(kPi * float(beats) * float(f) / float(frames)));
        t.push_back(mul(mul(scaling(float3(1, beat, 1)), rotationZ(heading)), translation(p)));
    }
    return t;
}

bool parkEffects(const std::string& path)
{
    SceneBuilder b;
    const int frames = 200;
    b.setAnimation(frames, 20);
    b.setComments("the park's living details, drawn with the park's layers");
    int steam = unlitMaterial(b, "Steam", 0xf4f6fa, 0.55f), smoke = unlitMaterial(b, "Smoke", 0xd8d8dc, 0.5f);
    int mud = unlitMaterial(b, "Mud bubble", 0x6a4e34);
    const uint32_t wingColours[] = {0xffd23c, 0xff7ab8, 0x7ac8ff, 0xffffff, 0xff9a3c, 0xb88cff};
    int wingMats[6];
    for (int i = 0; i < 6; ++i)
        wingMats[i] = unlitMaterial(b, ("Wings " + std::to_string(i + 1)).c_str(), wingColours[i]);
    int bird = unlitMaterial(b, "Bird", 0x3a3a44);

    // Steam from the volcano's spring.
    const Plot& v = plotOf("DinoHouse3");
    float3 crater = volcanoCrater();
    Random r(11);
    for (int k = 0; k < 6; ++k) {
        float3 drift(r.range(-1.2f, 1.2f), r.range(-0.5f, 1.5f), 5.5f);
        b.addMesh("volcano steam" + std::to_string(k + 1), withMaterial(blob(float3(0.9f, 0.9f, 0.7f), uint32_t(k), 0.25f), steam), 0,
                  particle(crater, crater + drift, frames, float(k) / 6, 0.9f, r.range(0.9f, 1.5f), 0.8f), v.layer);
    }
    // Bubbles in the dino valley's mud pool.
    const Plot& dv = plotOf("DinoHouse2");
    for (int k = 0; k < 4; ++k) {
        float3 at(dv.x + 4.0f + r.range(-1, 1), dv.y + 1.6f + r.range(-0.8f, 0.8f), 0.05f);
        b.addMesh("mud bubble" + std::to_string(k + 1),
                  withMaterial(transformed(ellipsoid(float3(0.2f, 0.2f, 0.12f), 3, 6), translation(float3(0, 0, 0))), mud), 0,
                  particle(at, at, frames, float(k) / 4, 0.15f, 1.2f, 0), dv.layer);
    }
    // Smoke from the cat cottage's and the manor's chimneys.
    const Plot& cc = plotOf("CatHouse1");
    const Plot& cm = plotOf("CatHouse3");
    const float3 chimneys[2] = {float3(cc.x - 1.5f, cc.y + 3.8f, 3.9f), float3(cm.x + 1.0f, cm.y + 4.5f, 5.2f)};
    const int chimneyLayers[2] = {cc.layer, cm.layer};
    for (int c = 0; c < 2; ++c)
        for (int k = 0; k < 3; ++k)
            b.addMesh("chimney smoke" + std::to_string(c * 3 + k + 1),
                      withMaterial(blob(float3(0.3f, 0.3f, 0.25f), uint32_t(k + 20), 0.25f), smoke), 0,
                      particle(chimneys[c], chimneys[c] + float3(1.2f, 0.8f, 2.5f), frames, float(k) / 3, 0.8f, 1.2f, 0.5f),
                      chimneyLayers[c]);
    // Butterflies over the flower beds.
    const float3 beds[6] = {float3(-4, -28, 0.9f), float3(4, -16, 1.0f), float3(-4, 16, 0.9f),
                            float3(4, 28, 1.1f),   float3(-7, 6, 1.0f),  float3(7, -6, 0.9f)};
    for (int k = 0; k < 6; ++k)
        b.addMesh("butterfly" + std::to_string(k + 1), withMaterial(wings(0.22f, 0.07f), wingMats[k]), 0,
                  flutter(beds[k], 1.6f, 1.2f, frames, 40, 0.25f, float(k) / 6), 3);
    // Birds circling high over the park.
    for (int k = 0; k < 3; ++k)
        b.addMesh("bird" + std::to_string(k + 1), withMaterial(wings(0.9f, 0.12f), bird), 0,
                  flutter(float3(-10 + 12 * float(k), 6 - 8 * float(k), 24 + 3 * float(k)), 22, 14, frames, 12, 1.5f,
                          float(k) / 3),
                  0);
    return b.save(path);
}

} // namespace

bool writeEffects(const std::string& sceneDir)
{
    bool ok = sparkles(sceneDir + "/fx_sparkle.3dn");
    ok = hearts(sceneDir + "/fx_hearts.3dn") && ok;
    ok = dust(sceneDir + "/fx_dust.3dn") && ok;
    ok = parkEffects(sceneDir + "/mBackground3DFX.3dn") && ok;
    return ok;
}

} // namespace mkscenes

#include "mkscenes/Helpers.h"

#include "mkscenes/Figures.h"
#include "mkscenes/Geometry.h"
#include "mkscenes/ParkLayout.h"
#include "scenelib/SceneBuilder.h"

#include <cmath>
#include <cstdio>

// Index: animal places - building helpers - camera flights - the flights' little scenes -
// slide cameras

namespace mkscenes {

using namespace scenelib;

namespace {

// The word of each species in its place names.
const char* placeWord(const std::string& species)
{
    if (species == "dog")
        return "pies";
    if (species == "cat")
        return "kot";
    if (species == "rabbit")
        return "krolik";
    if (species == "horse")
        return "kon";
    return "dino";
}

// A node's local matrix standing at p and facing along dir (x forward, z up).
float4x4 facing(float3 p, float3 dir)
{
    float3 x = unit(float3(dir.x, dir.y, 0));
    float3 y(-x.y, x.x, 0);
    float4x4 m = identity();
    const float3 rows[4] = {x, y, float3(0, 0, 1), p};
    for (int i = 0; i < 4; ++i) {
        m.m[i][0] = rows[i].x;
        m.m[i][1] = rows[i].y;
        m.m[i][2] = rows[i].z;
    }
    return m;
}

} // namespace

// ---- animal places

// Each place node walks its loop at the pace of its species' walk, so the feet keep to the
// ground: one walk loop of the figure takes kWalkLoopPlaceFrames place frames.
bool writeAnimalHelpers(const std::string& sceneDir)
{
    SceneBuilder b;
    b.setComments("animal places: one looping walk per place");
    int longest = 1;
    for (const SpeciesInfo& info : speciesInfo())
        for (const Plot& plot : parkPlots()) {
            if (plot.species != info.key)
                continue;
            std::vector<float3> loop = placeLoop(plot);
            size_t n = loop.size();
            std::vector<float> at(n + 1, 0);
            for (size_t i = 0; i < n; ++i)
                at[i + 1] = at[i] + length(loop[(i + 1) % n] - loop[i]);
            float perimeter = at[n];
            float speed = info.walkPerLoop / kWalkLoopPlaceFrames;
            int frames = std::max(8, int(std::round(perimeter / speed)));
            Track track;
            size_t seg = 0;
            for (int f = 0; f <= frames; ++f) {
                float d = perimeter * float(f % frames) / float(frames);
                while (seg + 1 < n && at[seg + 1] < d)
                    ++seg;
                if (f % frames == 0)
                    seg = 0;
                float t = (d - at[seg]) / (at[seg + 1] - at[seg]);
                float3 a = loop[seg], c = loop[(seg + 1) % n];
                float3 p = a + (c - a) * t;
                // The heading turns smoothly: the chord over a stretch either side.
                float3 ahead = loop[(seg + 3) % n], behind = loop[(seg + n - 2) % n];
                track.push_back(facing(p, ahead - behind));
            }
            longest = std::max(longest, frames);
            std::string name = std::string("helper_") + placeWord(plot.species) + std::to_string(plot.level);
            b.addNode(name, 0, track, 0);
        }
    b.setAnimation(longest, 1 / 0.01f * kPlaceFramesPerStep);
    return b.save(sceneDir + "/Animals_Helpers.3dn");
}

// ---- building helpers

bool writeBuildingHelpers(const std::string& sceneDir)
{
    SceneBuilder b;
    b.setAnimation(1, 25);
    b.setComments("where the camera glides to for each building");
    for (const Plot& p : parkPlots())
        b.addHelper("helper_" + p.building, float3(p.x, p.y, 0));
    return b.save(sceneDir + "/Buildings_Helpers.3dn");
}

namespace {

// ---- camera flights

struct Shot {
    float3 eye, target;
    float fov;
};

float3 catmull(float3 p0, float3 p1, float3 p2, float3 p3, float t)
{
    float t2 = t * t, t3 = t2 * t;
    return (p1 * 2 + (p2 - p0) * t + (p0 * 2 - p1 * 5 + p2 * 4 - p3) * t2 + (p1 * 3 - p0 - p2 * 3 + p3) * t3) * 0.5f;
}

// A flight through the shots in `frames` frames, easing out of the first and into the last,
// then holding the last view until the scene's end.
std::vector<CameraKey> flight(const std::vector<Shot>& shots, int frames)
{
    std::vector<CameraKey> keys;
    int n = int(shots.size());
    for (int f = 0; f <= kSlideFrames; ++f) {
        float s = ease01(float(std::min(f, frames)) / float(frames)) * float(n - 1);
        int i = std::min(n - 2, int(s));
        float t = s - float(i);
        const Shot& a = shots[size_t(std::max(0, i - 1))];
        const Shot& b = shots[size_t(i)];
        const Shot& c = shots[size_t(i + 1)];
        const Shot& d = shots[size_t(std::min(n - 1, i + 2))];
        float3 eye = catmull(a.eye, b.eye, c.eye, d.eye, t);
        float3 target = catmull(a.target, b.target, c.target, d.target, t);
        keys.push_back(CameraKey(eye, target, float3(0, 0, 1), b.fov + (c.fov - b.fov) * t));
    }
    return keys;
}

// ---- the flights' little scenes

struct Puppets {
    SceneBuilder& b;
    int paint;
    int unlit;

    // A rigid piece on its own animated node; returns the node.
    int piece(const std::string& name, const MeshData& mesh, float3 colour, const Track& track, int parent = 0)
    {
        return b.addMesh(name, painted(withMaterial(mesh, paint), colour), parent, track);
    }

    // Puffs of steam rising from `at`, each growing and fading to nothing in turn.
    void steam(const std::string& name, float3 at, int puffs, float height, float size, int period)
    {
        MeshData puff = withMaterial(blob(float3(size, size, size * 0.8f), 5, 0.2f), unlit);
        for (int k = 0; k < puffs; ++k) {
            Track track;
            Random r(uint32_t(k) + 17);
            float3 drift(r.range(-0.3f, 0.3f), r.range(-0.3f, 0.3f), 0);
            for (int f = 0; f <= period; ++f) {
                float u = std::fmod(float(f) / float(period) + float(k) / float(puffs), 1.0f);
                float grow = 0.3f + 1.2f * u;
                float fade = std::sin(kPi * u);
                float s = std::max(0.01f, grow * fade);
                track.push_back(mul(scaling(float3(s, s, s)), translation(at + drift * (u * height) + float3(0, 0, u * height))));
            }
            b.addMesh(name + std::to_string(k + 1), puff, 0, track);
        }
    }
};

// A cook behind the counter stirring a pot, facing the guests, steam rising from the pot.
void kitchen(Puppets& p, float3 counter)
{
    float3 at = counter + float3(0, 0.85f, -0.95f);
    Track body{facing(at, float3(0, -1, 0))};
    MeshData torso = frustum(0.3f, 0.22f, 1.1f, 8);
    append(torso, transformed(frustum(0.32f, 0.32f, 0.5f, 8), translation(float3(0, 0, -0.5f))));
    torso = transformed(torso, translation(float3(0, 0, 0.5f)));
    int cook = p.piece("cook", torso, float3(0.97f, 0.97f, 0.95f), body);
    p.piece("cook head", transformed(ellipsoid(float3(0.17f, 0.17f, 0.19f), 4, 8), translation(float3(0, 0, 1.78f))),
            rgb(0xf2c8a0), Track{identity()}, cook);
    MeshData hat = transformed(cylinder(0.16f, 0.25f, 8), translation(float3(0, 0, 2.05f)));
    append(hat, transformed(ellipsoid(float3(0.22f, 0.22f, 0.14f), 3, 8), translation(float3(0, 0, 2.22f))));
    p.piece("cook hat", hat, float3(1, 1, 1), Track{identity()}, cook);
    Track stir;
    for (int f = 0; f <= 60; ++f) {
        float a = 2 * kPi * float(f) / 60;
        stir.push_back(mul(mul(rotationY(-1.0f + 0.15f * std::sin(a)), rotationZ(0.35f * std::cos(a))),
                           translation(float3(0.28f, 0, 1.45f))));
    }
    MeshData arm = transformed(box(0.7f, 0.12f, 0.12f), translation(float3(0.35f, 0, 0)));
    append(arm, transformed(box(0.05f, 0.05f, 0.5f), translation(float3(0.68f, 0, -0.2f))));
    Track armTrack;
    for (const float4x4& m : stir)
        armTrack.push_back(mul(m, body[0]));
    // The arm's node hangs at the root with the cook's placement folded in (one track length).
    p.piece("cook arm", arm, float3(0.97f, 0.97f, 0.95f), armTrack);
    MeshData pot = transformed(cylinder(0.24f, 0.3f, 10), translation(float3(0, 0, 0.15f)));
    p.piece("cook pot", pot, rgb(0xb8bcc4), Track{translation(counter + float3(0.62f, 0, 0))});
    p.steam("kitchen steam", counter + float3(0.62f, 0, 0.35f), 4, 1.2f, 0.16f, 50);
}

// A guest on a balcony waving.
void balconyGuest(Puppets& p, float3 at)
{
    Track stand{facing(at, float3(0, -1, 0))};
    MeshData body = frustum(0.24f, 0.2f, 0.9f, 8);
    append(body, transformed(ellipsoid(float3(0.16f, 0.16f, 0.18f), 4, 8), translation(float3(0, 0, 1.1f))));
    p.piece("guest", body, rgb(0x4f8fd8), stand);
    Track wave;
    for (int f = 0; f <= 40; ++f) {
        float a = 2 * kPi * float(f) / 40;
        wave.push_back(mul(mul(rotationX(-2.2f + 0.35f * std::sin(a)), translation(float3(0, -0.26f, 0.85f))), stand[0]));
    }
    p.piece("guest arm", transformed(box(0.09f, 0.09f, 0.55f), translation(float3(0, 0, 0.27f))), rgb(0xf2c8a0), wave);
}

} // namespace

// ---- slide cameras

bool writeSlideCameras(const std::string& sceneDir)
{
    SceneBuilder b;
    b.setAnimation(kSlideFrames, 25);
    b.setComments("building slide shows: markers, camera flights and what they show");
    MaterialDesc paintDesc("Paint", float3(1, 1, 1));
    paintDesc.ambient = float3(0.5f, 0.5f, 0.5f);
    MaterialDesc steamDesc("Steam NO_LIGHT", float3(0.96f, 0.97f, 1.0f), 0.55f);
    steamDesc.ambient = float3(0.96f, 0.97f, 1.0f);
    steamDesc.specularLevel = 0;
    Puppets puppets{b, b.addMaterial(paintDesc), b.addMaterial(steamDesc)};

    // The restaurant: down to the terrace, along the counter, into the kitchen and out again.
    const Plot& r = plotOf("OtherRestaurant");
    float3 hall(r.x, r.y + 3.2f, 0);
    b.addHelper("slide_marker_restaurant", float3(r.x, r.y - 3.4f, 0));
    b.addCamera("slide_cam_restaurant", flight({{hall + float3(2, -22, 11), hall + float3(0, 0, 1), 50},
                                                {hall + float3(4, -10, 4), hall + float3(0, -1, 1.2f), 50},
                                                {hall + float3(1.0f, -4.6f, 2.1f), hall + float3(-0.6f, 1, 1.4f), 48},
                                                {hall + float3(-0.4f, -2.3f, 1.8f), hall + float3(-1.2f, 1, 1.5f), 46},
                                                {hall + float3(-1.2f, -4.6f, 2.3f), hall + float3(1.6f, 1.5f, 1.3f), 48},
                                                {hall + float3(-6, -14, 6), hall + float3(8, 0, 1), 50}},
                                               240));
    kitchen(puppets, hall + float3(-1.2f, 0.1f, 0.95f));

    // The hotel: up the front past the balconies to a waving guest, over the roof and down.
    const Plot& h = plotOf("OtherHotel");
    float3 front(h.x, h.y - 0.1f, 0);
    b.addHelper("slide_marker_hotel", float3(h.x, h.y - 3.2f, 0));
    b.addCamera("slide_cam_hotel", flight({{front + float3(-6, -20, 3), front + float3(0, 0, 3), 50},
                                           {front + float3(-3, -9, 2.5f), front + float3(0, 0, 2.5f), 50},
                                           {front + float3(2, -5, 5.2f), front + float3(1.2f, 0, 5.4f), 46},
                                           {front + float3(6, -6, 8.5f), front + float3(0, 2.5f, 7.5f), 50},
                                           {front + float3(4, 4, 14), front + float3(0, 2.5f, 8), 55},
                                           {front + float3(-10, -12, 12), front + float3(-10, 10, 0), 55}},
                                          240));
    balconyGuest(puppets, float3(h.x + 1.2f, h.y + 2.4f - 2.5f - 0.45f, 5.0f));

    // The volcano: up its slope, over the rim, round the steaming crater and away.
    float3 crater = volcanoCrater();
    b.addHelper("slide_marker_volcano", crater);
    b.addCamera("slide_cam_volcano", flight({{crater + float3(-12, -22, -3.5f), crater + float3(0, 0, 0), 50},
                                             {crater + float3(-4, -10, 1.5f), crater + float3(0, 0, 1), 50},
                                             {crater + float3(-1, -4, 5), crater + float3(0, 0, -0.5f), 55},
                                             {crater + float3(4, -1, 4.5f), crater + float3(0, 0, -0.5f), 55},
                                             {crater + float3(1, 4, 5), crater + float3(0, 0, 0), 55},
                                             {crater + float3(-5, 2, 6), crater + float3(0, 0, 0), 55},
                                             {crater + float3(-12, -16, 12), crater + float3(-30, 20, -5), 55}},
                                            300));
    puppets.steam("crater steam", crater, 6, 4.5f, 0.6f, 75);
    return b.save(sceneDir + "/Slide_cameras.3dn");
}

// ---- the trick show

// One camera for every species: the smaller an animal, the nearer it stands, so each fills
// about the same part of the picture. They stand three-quarters on, facing the camera's right.
bool writeTrickCameras(const std::string& sceneDir)
{
    SceneBuilder b;
    b.setAnimation(1, 25);
    b.setComments("the trick show: its camera and where each species stands on the stage");
    float3 eye = kStageCentre + float3(0, -5.0f, 1.45f);
    float3 look = kStageCentre + float3(0, -0.6f, 0.6f);
    b.addCamera("trick_camera", CameraKey(eye, look, float3(0, 0, 1), 42));
    for (const SpeciesInfo& info : speciesInfo()) {
        // A rabbit (half a metre) a third of the way from the camera, a horse (two metres) at
        // the back of the stage.
        float size = std::min(1.0f, std::max(0.0f, (info.length - 0.5f) / 1.5f));
        float y = kStageCentre.y - 2.5f + 3.2f * size;
        float3 at(kStageCentre.x + 0.15f - 0.45f * size, y, kStageHeight);
        b.addNode("trick_stage_" + info.key, 0, Track{facing(at, float3(std::cos(-0.7f), std::sin(-0.7f), 0))});
    }
    return b.save(sceneDir + "/Trick_cameras.3dn");
}

} // namespace mkscenes

#include "mkscenes/Visitors.h"

#include "mkscenes/Geometry.h"
#include "scenelib/SceneBuilder.h"

#include <algorithm>
#include <cmath>

// Index: tables - skeleton - poses - body parts - one visitor - the scene

namespace mkscenes {

using namespace scenelib;

// ---- tables

const std::vector<VisitorAnimation>& visitorAnimations()
{
    static const std::vector<VisitorAnimation> list = {
        {"chodzenie", 0, 29}, {"chodzenie i rozgladanie sie", 30, 89}, {"siedzenie idle", 90, 119}};
    return list;
}

namespace {

enum class Hair { ponytail, bob, puffs, bun, shortCut, cap };

// One visitor as the HUD's portrait of the same layer shows them.
struct Look {
    const char* name;
    float3 skin, hair, top, bottom, shoes;
    Hair hair_;
    bool skirt, glasses, beard, longSleeves;
};

const std::vector<Look>& looks()
{
    static const std::vector<Look> list = {
        {"visitor_f1", rgb(0xf6d1b5), rgb(0x6b3d22), rgb(0xd8433b), rgb(0x3b5b8c), rgb(0xf2f2f2), Hair::ponytail, false,
         false, false, false},
        {"visitor_f2", rgb(0xfbd9c0), rgb(0xf2cf63), rgb(0xf3c623), rgb(0xf3c623), rgb(0xd85a6a), Hair::bob, true, false,
         false, false},
        {"visitor_f3", rgb(0x8d5a3b), rgb(0x1c1512), rgb(0x3f9b54), rgb(0x4a4a55), rgb(0x6a3b2a), Hair::puffs, false,
         false, false, true},
        {"visitor_f4", rgb(0xf0c8a8), rgb(0xc9c9cf), rgb(0x8a5cc2), rgb(0x6a6070), rgb(0x3a3038), Hair::bun, true, true,
         false, true},
        {"visitor_m1", rgb(0xf3c9a8), rgb(0x5a3a24), rgb(0x3f78d1), rgb(0xc8b08a), rgb(0x5a3a24), Hair::shortCut, false,
         false, false, false},
        {"visitor_m2", rgb(0xfbd9c0), rgb(0xc8561e), rgb(0xf08a2c), rgb(0x34507a), rgb(0xf2f2f2), Hair::shortCut, false,
         false, false, false},
        {"visitor_m3", rgb(0xc68a5e), rgb(0x1f1a18), rgb(0x2aa39a), rgb(0x7a7255), rgb(0x2a2a2e), Hair::shortCut, false,
         false, true, true},
        {"visitor_m4", rgb(0xe8b996), rgb(0x5e4a3a), rgb(0x8b5a2b), rgb(0x3c3c44), rgb(0x2a2a2e), Hair::cap, false, true,
         false, true},
    };
    return list;
}

// ---- skeleton
// Standing at the origin facing +x, y to the figure's left, about 1.72 tall.

enum Bone { kRoot, kPelvis, kSpine, kHead, kArmUpL, kArmLowL, kArmUpR, kArmLowR, kLegUpL, kLegLowL, kLegUpR, kLegLowR, kBones };

const char* const kBoneNames[kBones] = {"root",      "pelvis",    "spine",     "head",     "arm_up_l", "arm_low_l",
                                        "arm_up_r",  "arm_low_r", "leg_up_l",  "leg_low_l", "leg_up_r", "leg_low_r"};
const Bone kParent[kBones] = {kRoot, kRoot, kPelvis, kSpine, kSpine, kArmUpL, kSpine, kArmUpR, kPelvis, kLegUpL, kPelvis, kLegUpR};

const float kHipZ = 0.93f, kKneeZ = 0.50f, kAnkleZ = 0.09f, kHipY = 0.095f;
const float kShoulderZ = 1.42f, kElbowZ = 1.14f, kWristZ = 0.89f, kShoulderY = 0.2f;
const float kNeckZ = 1.49f, kSeatDrop = 0.48f;

float3 restOf(Bone b)
{
    switch (b) {
    case kRoot: return float3(0, 0, 0);
    case kPelvis: return float3(0, 0, 0.95f);
    case kSpine: return float3(0, 0, 1.18f);
    case kHead: return float3(0, 0, kNeckZ);
    case kArmUpL: return float3(0, kShoulderY, kShoulderZ);
    case kArmLowL: return float3(0, kShoulderY + 0.02f, kElbowZ);
    case kArmUpR: return float3(0, -kShoulderY, kShoulderZ);
    case kArmLowR: return float3(0, -kShoulderY - 0.02f, kElbowZ);
    case kLegUpL: return float3(0, kHipY, kHipZ);
    case kLegLowL: return float3(0, kHipY, kKneeZ);
    case kLegUpR: return float3(0, -kHipY, kHipZ);
    case kLegLowR: return float3(0, -kHipY, kKneeZ);
    default: return float3();
    }
}

// ---- poses
// Rotations about x, then y, then z (radians): about y a positive angle swings a leg or arm back
// and bends a knee; about z a positive angle turns to the left.

struct Joint {
    float3 rot;
    float3 move;
};

struct Pose {
    Joint joint[kBones];
};

// The walk cycle at phase p (one cycle of two steps per 2 pi).
void walk(Pose& q, float p)
{
    float s = std::sin(p), c = std::cos(p);
    q.joint[kLegUpL].rot.y = -0.42f * s;
    q.joint[kLegUpR].rot.y = 0.42f * s;
    // A knee bends while its leg swings forward, and a little on landing.
    q.joint[kLegLowL].rot.y = 0.08f + 0.7f * std::pow(std::max(0.0f, c), 2.0f);
    q.joint[kLegLowR].rot.y = 0.08f + 0.7f * std::pow(std::max(0.0f, -c), 2.0f);
    q.joint[kArmUpL].rot.y = 0.32f * s;
    q.joint[kArmUpR].rot.y = -0.32f * s;
    q.joint[kArmLowL].rot.y = -0.25f - 0.12f * std::max(0.0f, -s);
    q.joint[kArmLowR].rot.y = -0.25f - 0.12f * std::max(0.0f, s);
    q.joint[kArmUpL].rot.x = -0.08f;
    q.joint[kArmUpR].rot.x = 0.08f;
    // The body is highest when a leg passes under it.
    q.joint[kPelvis].move.z = -0.012f * (1 - std::cos(2 * p));
    q.joint[kPelvis].rot.z = 0.07f * s;
    q.joint[kSpine].rot.z = -0.11f * s;
    q.joint[kSpine].rot.y = 0.04f;
    q.joint[kHead].rot.z = 0.04f * s;
}

Pose poseAt(int frame)
{
    Pose q{};
    if (frame < 30) {
        walk(q, 2 * kPi * float(frame) / 30);
    } else if (frame < 90) {
        float t = float(frame - 30) / 59;
        walk(q, 2 * kPi * float(frame - 30) / 30);
        // Looking left, then right, back to ahead by the last frame; the chin up a little.
        q.joint[kHead].rot.z = 0.85f * std::sin(2 * kPi * t) * std::sin(kPi * t);
        q.joint[kHead].rot.y = -0.12f * std::sin(kPi * t);
        q.joint[kSpine].rot.z += 0.25f * std::sin(2 * kPi * t) * std::sin(kPi * t);
    } else {
        // Seated with the hips over the seat, hands on the knees, breathing.
        float b = std::sin(2 * kPi * float(frame - 90) / 30);
        q.joint[kPelvis].move = float3(-0.05f, 0, -kSeatDrop);
        q.joint[kLegUpL].rot = float3(0.05f, -1.5f, 0);
        q.joint[kLegUpR].rot = float3(-0.05f, -1.5f, 0);
        q.joint[kLegLowL].rot.y = 1.45f;
        q.joint[kLegLowR].rot.y = 1.45f;
        q.joint[kArmUpL].rot = float3(-0.1f, -0.55f, 0);
        q.joint[kArmUpR].rot = float3(0.1f, -0.55f, 0);
        q.joint[kArmLowL].rot.y = -0.75f;
        q.joint[kArmLowR].rot.y = -0.75f;
        q.joint[kSpine].rot.y = 0.02f * b - 0.04f;
        q.joint[kHead].rot.y = 0.03f * b;
        q.joint[kHead].rot.z = 0.1f * std::sin(2 * kPi * float(frame - 90) / 30 * 0.5f);
    }
    return q;
}

// ---- body parts

Influence one(int bone)
{
    Influence i;
    i.bone[0] = bone;
    i.weight[0] = 1;
    return i;
}

Influence blendOf(int a, int b, float t)
{
    Influence i;
    i.bone[0] = a;
    i.weight[0] = 1 - t;
    i.bone[1] = b;
    i.weight[1] = t;
    return i;
}

struct Knot {
    float3 at;
    float a, b;       // radius across (side) and front to back (up of the ring)
    Influence skin;
    float3 colour;
};

// A smooth tube through knots, closed just beyond both ends; up is the direction of the
// rings' second radius.
MeshData limb(const std::vector<Knot>& knots, float3 upHint, int segments)
{
    std::vector<Ring> rings;
    size_t n = knots.size();
    for (size_t i = 0; i < n; ++i) {
        float3 dir = knots[std::min(i + 1, n - 1)].at - knots[i == 0 ? 0 : i - 1].at;
        Ring r = ringAlong(knots[i].at, dir, upHint, knots[i].a, knots[i].b);
        r.skin = knots[i].skin;
        r.colour = knots[i].colour;
        rings.push_back(r);
    }
    Ring start = rings.front(), end = rings.back();
    float3 d0 = unit(knots[1].at - knots[0].at), d1 = unit(knots[n - 1].at - knots[n - 2].at);
    start.centre = knots[0].at - d0 * (std::min(knots[0].a, knots[0].b) * 0.7f);
    end.centre = knots[n - 1].at + d1 * (std::min(knots[n - 1].a, knots[n - 1].b) * 0.7f);
    start.a = start.b = end.a = end.b = 0;
    rings.insert(rings.begin(), start);
    rings.push_back(end);
    return loft(rings, segments);
}

class Visitors {
public:
    Visitors();
    bool save(const std::string& sceneDir) const;

private:
    void skeleton();
    MeshData figure(const Look& look) const;
    // A piece modelled in place (rest pose, figure space) moving with one bone.
    MeshData bound(const MeshData& piece, Bone id, int material) const
    {
        return withMaterial(boundToBone(piece, bone(id)), material);
    }
    int bone(Bone id) const { return b.boneIndex(node[id]); }
    void legs(MeshData& m, const Look& look) const;
    void body(MeshData& m, const Look& look) const;
    void arms(MeshData& m, const Look& look) const;
    void head(MeshData& m, const Look& look) const;
    void hair(MeshData& m, const Look& look) const;

    SceneBuilder b;
    int node[kBones] = {};
    int clothes = 0, shiny = 0;
};

Visitors::Visitors()
{
    b.setAnimation(kVisitorFrames, kVisitorFps);
    b.setComments("park visitors: eight figures on layers 0..7, one skeleton, walk, look around, sit");
    MaterialDesc cloth("Clothes", float3(1, 1, 1));
    cloth.ambient = float3(0.5f, 0.5f, 0.5f);
    cloth.specularLevel = 0.05f;
    clothes = b.addMaterial(cloth);
    MaterialDesc eyes("Shiny", float3(1, 1, 1));
    eyes.ambient = float3(0.4f, 0.4f, 0.4f);
    eyes.specularLevel = 0.6f;
    eyes.specularPower = 60;
    eyes.specular = float3(1, 1, 1);
    shiny = b.addMaterial(eyes);
    skeleton();
    for (size_t i = 0; i < looks().size(); ++i)
        b.addSkinnedMesh(looks()[i].name, figure(looks()[i]), int(i));
}

void Visitors::skeleton()
{
    std::vector<Pose> poses;
    for (int f = 0; f <= kVisitorFrames; ++f)
        poses.push_back(poseAt(f));
    for (int id = 0; id < kBones; ++id) {
        float3 offset = id == kRoot ? float3() : restOf(Bone(id)) - restOf(kParent[id]);
        Track track;
        for (const Pose& q : poses) {
            const Joint& j = q.joint[id];
            track.push_back(mul(poseMatrix(scenelib::Pose(float3(), j.rot)), translation(offset + j.move)));
        }
        node[id] = b.addBone(kBoneNames[id], id == kRoot ? 0 : node[kParent[id]], translation(offset), track);
    }
}

void Visitors::legs(MeshData& m, const Look& look) const
{
    for (int side : {1, -1}) {
        Bone up = side > 0 ? kLegUpL : kLegUpR, low = side > 0 ? kLegLowL : kLegLowR;
        float y = kHipY * float(side);
        // Under a skirt the legs are bare below the hem.
        float3 thigh = look.skirt ? look.skin : look.bottom;
        float3 shin = look.skirt ? look.skin : look.bottom;
        std::vector<Knot> k = {
            {float3(0, y, kHipZ + 0.02f), 0.085f, 0.092f, blendOf(bone(kPelvis), bone(up), 0.6f), thigh},
            {float3(0.005f, y, 0.72f), 0.074f, 0.078f, one(bone(up)), thigh},
            {float3(0.01f, y, kKneeZ), 0.06f, 0.064f, blendOf(bone(up), bone(low), 0.5f), shin},
            {float3(0, y, 0.3f), 0.055f, 0.06f, one(bone(low)), shin},
            {float3(-0.005f, y, kAnkleZ + 0.03f), 0.045f, 0.047f, one(bone(low)), look.skirt ? look.skin : look.bottom},
        };
        append(m, withMaterial(limb(k, float3(1, 0, 0), 6), clothes));
        // A shoe, toes forward.
        MeshData shoe = painted(ellipsoid(float3(0.125f, 0.06f, 0.055f), 2, 5), look.shoes);
        append(m, bound(moved(shoe, float3(0.035f, y, 0.05f)), low, clothes));
    }
}

// Hips and torso (a loft from the seat up to the shoulders), a skirt, the neck.
void Visitors::body(MeshData& m, const Look& look) const
{
    const int pelvis = bone(kPelvis), spine = bone(kSpine);
    std::vector<Knot> k = {
        {float3(0, 0, 0.84f), 0.15f, 0.10f, one(pelvis), look.bottom},
        {float3(0, 0, 0.95f), 0.175f, 0.115f, one(pelvis), look.bottom},
        {float3(0, 0, 1.03f), 0.165f, 0.105f, blendOf(pelvis, spine, 0.5f), look.top},
        {float3(0.005f, 0, 1.18f), 0.17f, 0.11f, one(spine), look.top},
        {float3(0.01f, 0, 1.32f), 0.19f, 0.115f, one(spine), look.top},
        {float3(0, 0, 1.43f), 0.16f, 0.09f, one(spine), look.top},
    };
    MeshData torso = limb(k, float3(1, 0, 0), 8);
    append(m, withMaterial(torso, clothes));
    if (look.skirt) {
        // A flared skirt from the waist to above the knees, moving with the hips.
        MeshData skirt = frustum(0.2f, 0.29f, 0.42f, 8);
        skirt = transformed(skirt, mul(mul(scaling(float3(0.78f, 1, 1)), rotationX(kPi)), translation(float3(0, 0, 1.03f))));
        append(m, bound(painted(skirt, shade(look.bottom, -0.05f)), kPelvis, clothes));
    }
    std::vector<Knot> neck = {
        {float3(0, 0, 1.42f), 0.05f, 0.05f, one(spine), look.skin},
        {float3(0.005f, 0, 1.56f), 0.05f, 0.05f, one(bone(kHead)), look.skin},
    };
    append(m, withMaterial(limb(neck, float3(1, 0, 0), 6), clothes));
}

void Visitors::arms(MeshData& m, const Look& look) const
{
    for (int side : {1, -1}) {
        Bone up = side > 0 ? kArmUpL : kArmUpR, low = side > 0 ? kArmLowL : kArmLowR;
        float y = kShoulderY * float(side), dy = 0.02f * float(side);
        float3 forearm = look.longSleeves ? look.top : look.skin;
        std::vector<Knot> sleeve = {
            {float3(0, y * 0.72f, kShoulderZ - 0.01f), 0.05f, 0.05f, blendOf(bone(kSpine), bone(up), 0.6f), look.top},
            {float3(0, y, kShoulderZ - 0.06f), 0.054f, 0.054f, one(bone(up)), look.top},
            {float3(0, y + dy * 0.5f, 1.26f), 0.05f, 0.05f, one(bone(up)), look.top},
            {float3(0, y + dy, kElbowZ), 0.045f, 0.047f, blendOf(bone(up), bone(low), 0.5f), forearm},
            {float3(0, y + dy, kWristZ + 0.03f), 0.037f, 0.039f, one(bone(low)), forearm},
        };
        append(m, withMaterial(limb(sleeve, float3(1, 0, 0), 5), clothes));
        MeshData hand = painted(ellipsoid(float3(0.038f, 0.03f, 0.055f), 2, 4), look.skin);
        append(m, bound(moved(hand, float3(0.005f, y + dy, kWristZ - 0.02f)), low, clothes));
    }
}

// Head, eyes, nose, beard and glasses, in the head bone's space (origin at the neck).
void Visitors::head(MeshData& m, const Look& look) const
{
    auto add = [&](const MeshData& piece, float3 colour, float3 at, int material) {
        append(m, bound(moved(painted(piece, colour), at), kHead, material));
    };
    // A big friendly head: the style of the animals' figures.
    add(ellipsoid(float3(0.125f, 0.115f, 0.14f), 4, 8), look.skin, float3(0.012f, 0, 1.66f), clothes);
    for (float y : {0.117f, -0.117f})
        add(ellipsoid(float3(0.02f, 0.014f, 0.03f), 2, 4), shade(look.skin, -0.06f), float3(0.0f, y, 1.655f), clothes);
    add(ellipsoid(float3(0.026f, 0.022f, 0.024f), 2, 4), shade(look.skin, -0.04f), float3(0.138f, 0, 1.645f), clothes);
    for (float y : {0.045f, -0.045f}) {
        add(ellipsoid(float3(0.012f, 0.02f, 0.024f), 2, 4), rgb(0x2a1d18), float3(0.122f, y, 1.685f), shiny);
    }
    // A smile.
    add(ellipsoid(float3(0.01f, 0.036f, 0.009f), 2, 4), rgb(0x8a2f35), float3(0.12f, 0, 1.6f), clothes);
    if (look.beard)
        add(ellipsoid(float3(0.085f, 0.108f, 0.08f), 3, 6), look.hair, float3(0.06f, 0, 1.585f), clothes);
    if (look.glasses) {
        for (float y : {0.045f, -0.045f}) {
            MeshData rim = transformed(torus(0.032f, 0.0055f, 6, 3), rotationY(kPi / 2));
            add(rim, rgb(0x3b3f46), float3(0.132f, y, 1.685f), shiny);
        }
        add(box(0.008f, 0.03f, 0.008f), rgb(0x3b3f46), float3(0.135f, 0, 1.69f), shiny);
    }
}

void Visitors::hair(MeshData& m, const Look& look) const
{
    auto add = [&](const MeshData& piece, float3 at, float3 colour) {
        append(m, bound(moved(painted(piece, colour), at), kHead, clothes));
    };
    float3 h = look.hair;
    if (look.hair_ == Hair::cap) {
        // A cap in the jacket's colour with its peak forward, short hair below it.
        add(ellipsoid(float3(0.128f, 0.122f, 0.085f), 3, 7), float3(-0.005f, 0, 1.735f), look.top);
        add(transformed(box(0.11f, 0.15f, 0.015f), rotationY(-0.12f)), float3(0.125f, 0, 1.74f), shade(look.top, -0.15f));
        add(ellipsoid(float3(0.085f, 0.117f, 0.085f), 3, 6), float3(-0.048f, 0, 1.66f), h);
        return;
    }
    // The crown and the back of the head.
    add(ellipsoid(float3(0.132f, 0.123f, 0.085f), 3, 7), float3(-0.005f, 0, 1.74f), h);
    add(ellipsoid(float3(0.097f, 0.12f, 0.11f), 3, 7), float3(-0.048f, 0, 1.668f), h);
    switch (look.hair_) {
    case Hair::ponytail:
        add(transformed(ellipsoid(float3(0.048f, 0.045f, 0.14f), 3, 5), rotationY(-0.5f)), float3(-0.17f, 0, 1.64f), h);
        add(ellipsoid(float3(0.035f, 0.035f, 0.035f), 2, 4), float3(-0.125f, 0, 1.73f), look.top);
        break;
    case Hair::bob:
        for (float y : {0.105f, -0.105f})
            add(ellipsoid(float3(0.09f, 0.042f, 0.115f), 3, 5), float3(-0.01f, y, 1.635f), h);
        add(ellipsoid(float3(0.105f, 0.122f, 0.122f), 3, 6), float3(-0.045f, 0, 1.635f), h);
        break;
    case Hair::puffs:
        for (float y : {0.135f, -0.135f})
            add(ellipsoid(float3(0.072f, 0.072f, 0.072f), 3, 5), float3(-0.025f, y, 1.77f), h);
        break;
    case Hair::bun:
        add(ellipsoid(float3(0.06f, 0.06f, 0.055f), 3, 5), float3(-0.095f, 0, 1.8f), h);
        break;
    default:
        break;
    }
}

MeshData Visitors::figure(const Look& look) const
{
    MeshData m;
    legs(m, look);
    body(m, look);
    arms(m, look);
    head(m, look);
    hair(m, look);
    // A touch darker towards the ground.
    darkenBelow(m, 0, 1.2f, 0.78f);
    return m;
}

bool Visitors::save(const std::string& sceneDir) const
{
    return b.save(sceneDir + "/ZEB_Character_animations.3dn");
}

} // namespace

// ---- the scene

bool writeCharacters(const std::string& sceneDir)
{
    Visitors visitors;
    return visitors.save(sceneDir);
}

bool writeVisitors(const std::string& sceneDir)
{
    bool ok = writeCharacters(sceneDir);
    ok = writeCars(sceneDir) && ok;
    ok = writePublicHelpers(sceneDir) && ok;
    return ok;
}

} // namespace mkscenes

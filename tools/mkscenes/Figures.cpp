#include "mkscenes/Figures.h"

#include "mkscenes/FigureAnimation.h"
#include "mkscenes/FigureShapes.h"
#include "mkscenes/Geometry.h"
#include "scenelib/SceneBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

// Index: tables - texturing - skeleton - body parts - accessories and markers - one figure

namespace mkscenes {

using namespace scenelib;

// ---- tables

const std::vector<Animation>& figureAnimations()
{
    static const std::vector<Animation> list = {
        {"chodzenie", 0, 39}, {"jedzenie", 40, 79},   {"idle", 80, 119},    {"trick1", 120, 169},
        {"trick2", 170, 219}, {"trick3", 220, 269},   {"notrick", 270, 299}, {"jedzenie_chodzac", 300, 339},
    };
    return list;
}

const std::vector<SpeciesInfo>& speciesInfo()
{
    static const std::vector<SpeciesInfo> list = [] {
        std::vector<SpeciesInfo> l = {
            {"dog", {"dog_brown.png", "dog_white.png", "dog_spotted.png"}, 0, 0},
            {"cat", {"cat_ginger.png", "cat_grey.png", "cat_black.png"}, 0, 0},
            {"dino", {"dino_green.png", "dino_blue.png", "dino_orange.png"}, 0, 0},
            {"rabbit", {"rabbit_white.png", "rabbit_brown.png", "rabbit_grey.png"}, 0, 0},
            {"horse", {"horse_chestnut.png", "horse_black.png", "horse_white.png"}, 0, 0},
        };
        for (size_t i = 0; i < l.size(); ++i) {
            const Spec& s = specFor(Kind(i));
            l[i].walkPerLoop = s.walkPerLoop;
            float nose = headPoint(s, float3(s.headShape.back().x, 0, 0)).x;
            float tail = s.kind == Kind::rabbit ? s.tail[0].x - 0.045f : s.tail.back().x - s.tailRadius.back();
            l[i].length = nose - tail;
        }
        return l;
    }();
    return list;
}

namespace {

const char* const kBoneNames[kBoneCount] = {
    "root",      "hips",       "chest",     "neck",       "head",      "jaw",        "ear_l",
    "ear_r",     "tail1",      "tail2",     "tail3",      "leg_fl_up", "leg_fl_low", "leg_fr_up",
    "leg_fr_low", "leg_hl_up", "leg_hl_low", "leg_hr_up", "leg_hr_low"};
const BoneId kParent[kBoneCount] = {kRoot,  kRoot, kHips,  kChest, kNeck, kHead, kHead,
                                    kHead,  kHips, kTail1, kTail2, kChest, kFLUp, kChest,
                                    kFRUp, kHips, kHLUp,  kHips,  kHRUp};

// ---- texturing
// The coat (drawn by the picture tool) is a seamless square of fur whose stripes run along its
// x axis. Every part of the body wraps it like a sleeve: u around the part, v along it, so
// stripes ring the body, legs and tail. Vertex colours shade the coat: lighter under the body
// and on the muzzle, darker on ears, manes and plates, and darker towards the ground.
const float kCoatTint = 0.88f; // most of the body
const float kLightTint = 1.0f; // belly, throat, muzzle
const float kDarkTint = 0.6f;  // ears, manes, plates, a horse's tail

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

float3 mirrorY(float3 p)
{
    return float3(p.x, -p.y, p.z);
}

float3 grey(float v)
{
    return float3(v, v, v);
}

// How many times the coat wraps around rings of this size: a whole number, so it meets itself.
float wrapsAround(float radius, float span)
{
    return std::max(1.0f, std::round(2 * kPi * radius / span));
}

// A textured tube through points with radii, influences and tints, closed at both ends just
// beyond them; v counts the coat's span along it.
MeshData tube(const std::vector<float3>& pts, const std::vector<float>& radii, const std::vector<Influence>& skins,
              const std::vector<float>& tints, float3 upHint, int segments, float span, float flatten = 1)
{
    std::vector<Ring> rings;
    size_t n = pts.size();
    float along = 0, widest = 0;
    for (size_t i = 0; i < n; ++i) {
        float3 dir = pts[std::min(i + 1, n - 1)] - pts[i == 0 ? 0 : i - 1];
        Ring r = ringAlong(pts[i], dir, upHint, radii[i], radii[i] * flatten);
        r.skin = skins[i];
        r.colour = grey(tints[i]);
        if (i > 0)
            along += length(pts[i] - pts[i - 1]);
        r.v = along / span;
        widest = std::max(widest, radii[i]);
        rings.push_back(r);
    }
    Ring start = rings.front(), end = rings.back();
    float capStart = radii[0] * 0.6f, capEnd = radii[n - 1] * 0.6f;
    start.centre = pts[0] - unit(pts[1] - pts[0]) * capStart;
    start.a = start.b = 0;
    start.v = -capStart / span;
    end.centre = pts[n - 1] + unit(pts[n - 1] - pts[n - 2]) * capEnd;
    end.a = end.b = 0;
    end.v = (along + capEnd) / span;
    rings.insert(rings.begin(), start);
    rings.push_back(end);
    return loft(rings, segments, wrapsAround(widest * (1 + flatten) * 0.5f, span));
}

// An ellipsoid wrapped by the coat (u around, v from pole to pole) and tinted.
MeshData coatEllipsoid(float3 radii, int rings, int segments, float span, float tint)
{
    MeshData m = ellipsoid(radii, rings, segments);
    float around = wrapsAround(std::max(radii.x, radii.y), span);
    float up = std::max(0.25f, std::round(2 * radii.z / span * 2) / 2);
    for (float3& uv : m.uv)
        uv = float3(uv.x * around, uv.y * up, 0);
    m.color.assign(m.xyz.size(), grey(tint));
    return m;
}

// ---- skeleton

class Figure {
public:
    explicit Figure(const Spec& traits);
    bool save(const std::string& sceneDir) const;

private:
    const Spec& s;
    SceneBuilder b;
    int node[kBoneCount] = {};
    float3 rest[kBoneCount];
    int coatMaterial = 0, faceMaterial = 0, paintMaterial = 0;
    MeshData coat, face;
    float topZ = 0;

    int bone(BoneId id) const { return b.boneIndex(node[id]); }
    void skeleton();
    void torso();
    void neckAndHead();
    void legs();
    void earsAndTail();
    void faceParts();
    void extras();
    void body();
    void collar();
    void bow();
    void markers();
};

Figure::Figure(const Spec& traits) : s(traits)
{
    b.setAnimation(kFigureFrames, kFigureFps);
    b.setComments(s.key + " figure: skinned, one timeline of " + std::to_string(kFigureFrames) + " frames");
    MaterialDesc coatDesc("Pingwin", float3(1, 1, 1));
    coatDesc.ambient = float3(0.55f, 0.55f, 0.55f);
    coatDesc.specularLevel = 0.08f;
    coatDesc.maps[kSlotDiffuse] = b.addTexture("tex/" + speciesInfo()[size_t(s.kind)].coats[0]);
    coatMaterial = b.addMaterial(coatDesc);
    MaterialDesc faceDesc("Face", float3(1, 1, 1));
    faceDesc.ambient = float3(0.35f, 0.35f, 0.35f);
    faceDesc.specularLevel = 0.5f;
    faceDesc.specularPower = 50;
    faceDesc.specular = float3(1, 1, 1);
    faceMaterial = b.addMaterial(faceDesc);
    MaterialDesc paint("Paint", float3(1, 1, 1));
    paint.ambient = float3(0.45f, 0.45f, 0.45f);
    paint.specularLevel = 0.4f;
    paintMaterial = b.addMaterial(paint);
    coat.parts.resize(1);
    coat.parts[0].material = coatMaterial;
    face.parts.resize(1);
    face.parts[0].material = faceMaterial;
    skeleton();
    torso();
    neckAndHead();
    legs();
    earsAndTail();
    faceParts();
    extras();
    body();
    collar();
    bow();
    markers();
}

// Bones at their rest places, each animated by one local matrix per frame.
void Figure::skeleton()
{
    rest[kRoot] = float3(0, 0, 0);
    rest[kHips] = s.hips;
    rest[kChest] = s.chest;
    rest[kNeck] = s.neck;
    rest[kHead] = s.head;
    rest[kJaw] = s.jaw;
    rest[kEarL] = headPoint(s, s.ear);
    rest[kEarR] = mirrorY(rest[kEarL]);
    rest[kTail1] = s.tail[0];
    rest[kTail2] = s.tail[1];
    rest[kTail3] = s.tail[2];
    rest[kFLUp] = s.front.top;
    rest[kFLLow] = float3(s.front.top.x, s.front.top.y, s.front.kneeZ);
    rest[kFRUp] = mirrorY(rest[kFLUp]);
    rest[kFRLow] = mirrorY(rest[kFLLow]);
    rest[kHLUp] = s.hind.top;
    rest[kHLLow] = float3(s.hind.top.x, s.hind.top.y, s.hind.kneeZ);
    rest[kHRUp] = mirrorY(rest[kHLUp]);
    rest[kHRLow] = mirrorY(rest[kHLLow]);

    std::vector<FigurePose> poses;
    for (int f = 0; f <= kFigureFrames; ++f)
        poses.push_back(figurePose(s, f));
    for (int id = 0; id < kBoneCount; ++id) {
        float3 offset = id == kRoot ? rest[kRoot] : rest[id] - rest[kParent[id]];
        Track track;
        for (const FigurePose& p : poses) {
            const Joint& j = p.joint[id];
            float4x4 turn = poseMatrix(Pose(float3(), j.rot));
            if (id == kRoot)
                turn = mul(mul(translation(-p.pivot), turn), translation(p.pivot));
            track.push_back(mul(turn, translation(offset + j.move)));
        }
        int parent = id == kRoot ? 0 : node[kParent[id]];
        node[id] = b.addBone(kBoneNames[id], parent, translation(offset), track);
    }
}

// ---- body parts

void Figure::torso()
{
    std::vector<Ring> rings;
    float widest = 0;
    for (const Section& sec : s.torso) {
        Ring r;
        r.centre = float3(sec.x, 0, sec.z);
        r.side = float3(0, 1, 0);
        r.up = float3(0, 0, 1);
        r.a = sec.halfWidth;
        r.b = sec.halfHeight;
        float t = std::min(1.0f, std::max(0.0f, (sec.x - s.hips.x) / (s.chest.x - s.hips.x)));
        r.skin = blendOf(bone(kHips), bone(kChest), t);
        r.v = sec.x / s.furSpan;
        widest = std::max(widest, (sec.halfWidth + sec.halfHeight) * 0.5f);
        rings.push_back(r);
    }
    MeshData m = loft(rings, 10, wrapsAround(widest, s.furSpan));
    // Lighter underneath.
    for (size_t i = 0; i < m.xyz.size(); ++i) {
        float zc, hh;
        torsoAt(s, m.xyz[i].x, zc, hh);
        float under = hh > 0 ? (zc - m.xyz[i].z) / hh : 0;
        m.color[i] = grey(kCoatTint + (kLightTint - kCoatTint) * ease01((under - 0.25f) / 0.45f));
    }
    append(coat, m);
}

void Figure::neckAndHead()
{
    float3 along = s.head - s.neck;
    float3 base = s.neck - along * 0.4f;
    float3 mid = (s.neck + s.head) * 0.5f;
    float rb = s.neckRadiusBase, rh = s.neckRadiusHead;
    append(coat, tube({base, s.neck, mid, s.head}, {rb * 1.05f, rb, (rb + rh) * 0.5f, rh},
                      {one(bone(kChest)), one(bone(kNeck)), one(bone(kNeck)), blendOf(bone(kNeck), bone(kHead), 0.5f)},
                      {kCoatTint, kCoatTint, kCoatTint, kCoatTint}, float3(0, 0, 1), 8, s.furSpan));

    // The head, lighter towards the muzzle.
    float c = std::cos(s.headPitch), si = std::sin(s.headPitch);
    float muzzleStart = s.headShape[s.headShape.size() / 2].x;
    float muzzleEnd = s.headShape.back().x;
    std::vector<Ring> rings;
    float widest = 0;
    for (const Section& sec : s.headShape) {
        Ring r;
        r.centre = headPoint(s, float3(sec.x, 0, sec.z));
        r.side = float3(0, 1, 0);
        r.up = float3(si, 0, c);
        r.a = sec.halfWidth * s.headScale;
        r.b = sec.halfHeight * s.headScale;
        r.skin = one(bone(kHead));
        r.v = sec.x * s.headScale / s.furSpan;
        float t = ease01((sec.x - muzzleStart) / (muzzleEnd - muzzleStart) * 1.5f);
        r.colour = grey(kCoatTint + (kLightTint - kCoatTint) * t);
        widest = std::max(widest, (r.a + r.b) * 0.5f);
        rings.push_back(r);
    }
    append(coat, loft(rings, 10, wrapsAround(widest, s.furSpan)));

    if (s.kind == Kind::dino) {
        // The lower jaw, hinged at the jaw bone, under the snout.
        std::vector<Ring> jaw;
        const float sections[5][3] = {{-0.02f, 0, 0}, {0.0f, 0.085f, 0.04f}, {0.10f, 0.085f, 0.045f}, {0.19f, 0.06f, 0.035f},
                                      {0.21f, 0, 0}};
        for (const auto& sec : sections) {
            Ring r;
            r.centre = s.jaw + float3(sec[0], 0, -0.01f);
            r.side = float3(0, 1, 0);
            r.up = float3(0, 0, 1);
            r.a = sec[1];
            r.b = sec[2];
            r.skin = one(bone(kJaw));
            r.v = sec[0] / s.furSpan;
            r.colour = grey(kLightTint);
            jaw.push_back(r);
        }
        append(coat, loft(jaw, 8, 1));
    }
}

void Figure::legs()
{
    for (int side = 0; side < 2; ++side)
        for (int end = 0; end < 2; ++end) {
            const LegShape& l = end == 0 ? s.front : s.hind;
            BoneId up = end == 0 ? (side == 0 ? kFLUp : kFRUp) : (side == 0 ? kHLUp : kHRUp);
            BoneId low = BoneId(up + 1);
            float3 top = side == 0 ? l.top : mirrorY(l.top);
            auto at = [&](float z) { return float3(top.x, top.y, z); };
            float upperMid = (l.top.z + l.kneeZ) * 0.5f;
            append(coat, tube({at(l.top.z + l.topRadius * 0.5f), at(upperMid), at(l.kneeZ), at(l.footZ)},
                              {l.topRadius, (l.topRadius + l.kneeRadius) * 0.5f, l.kneeRadius, l.ankleRadius},
                              {one(bone(up)), one(bone(up)), blendOf(bone(up), bone(low), 0.5f), one(bone(low))},
                              {kCoatTint, kCoatTint, kCoatTint, kCoatTint}, float3(1, 0, 0), 7, s.furSpan));
            float3 pawAt(top.x + l.pawForward, top.y, l.paw.z);
            if (s.kind == Kind::horse) {
                // A hoof.
                MeshData hoof = frustum(l.paw.x, l.ankleRadius * 0.95f, l.paw.z * 1.5f, 8);
                hoof = transformed(hoof, translation(float3(top.x, top.y, 0)));
                append(face, boundToBone(painted(hoof, rgb(0x3a302a)), bone(low)));
            } else {
                MeshData paw = coatEllipsoid(l.paw, 3, 6, s.furSpan, kCoatTint);
                append(coat, boundToBone(transformed(paw, translation(pawAt)), bone(low)));
            }
        }
}

void Figure::earsAndTail()
{
    // Ears, their roots at the head's sides.
    for (int side = 0; side < 2 && s.earStyle != EarStyle::none; ++side) {
        float sy = side == 0 ? 1.0f : -1.0f;
        BoneId earBone = side == 0 ? kEarL : kEarR;
        float3 root = rest[earBone];
        float w = s.earWidth, len = s.earLength;
        std::vector<float3> pts;
        std::vector<float> radii;
        float3 upHint;
        float flatten;
        if (s.earStyle == EarStyle::floppy) {
            pts = {root, root + float3(0.005f, sy * 0.04f, -0.01f), root + float3(0.01f, sy * 0.055f, -len * 0.55f),
                   root + float3(0.012f, sy * 0.055f, -len * 0.9f)};
            radii = {w * 0.6f, w, w * 0.95f, w * 0.6f};
            upHint = float3(0, sy, 0);
            flatten = 0.25f;
        } else if (s.earStyle == EarStyle::pointed) {
            pts = {root - float3(0, 0, len * 0.2f), root + float3(-len * 0.05f, sy * len * 0.12f, len * 0.35f),
                   root + float3(-len * 0.08f, sy * len * 0.2f, len * 0.75f)};
            radii = {w * 1.15f, w * 0.8f, w * 0.22f};
            upHint = float3(1, 0, 0);
            flatten = 0.4f;
        } else {
            pts = {root - float3(0, 0, 0.01f), root + float3(-len * 0.05f, sy * len * 0.06f, len * 0.3f),
                   root + float3(-len * 0.12f, sy * len * 0.12f, len * 0.7f),
                   root + float3(-len * 0.16f, sy * len * 0.15f, len * 0.92f)};
            radii = {w * 0.6f, w, w * 0.95f, w * 0.55f};
            upHint = float3(1, 0, 0);
            flatten = 0.3f;
        }
        float tint = s.kind == Kind::rabbit ? kCoatTint : kDarkTint;
        std::vector<Influence> skins(pts.size(), one(bone(earBone)));
        std::vector<float> tints(pts.size(), tint);
        tints[0] = kCoatTint;
        append(coat, tube(pts, radii, skins, tints, upHint, 6, s.furSpan, flatten));
        if (s.kind == Kind::rabbit || s.kind == Kind::cat) {
            // The pink inside of the ear, facing forward.
            float3 mid = (pts[1] + pts[pts.size() - 2]) * 0.5f;
            float h = length(pts.back() - pts.front());
            MeshData inner = ellipsoid(float3(w * 0.12f, w * 0.55f, h * 0.38f), 3, 6);
            inner = transformed(inner, translation(mid + float3(w * 0.3f, 0, 0)));
            append(face, boundToBone(painted(inner, rgb(0xf2a0b0)), bone(earBone)));
        }
    }

    // The tail, from inside the body to its tip.
    if (s.kind == Kind::rabbit) {
        MeshData pom = coatEllipsoid(float3(0.045f, 0.045f, 0.045f), 4, 7, s.furSpan, kLightTint);
        append(coat, boundToBone(transformed(pom, translation(s.tail[0])), bone(kTail1)));
        return;
    }
    std::vector<float3> pts = {s.tail[0] + (s.tail[0] - s.tail[1]) * 0.3f};
    pts.insert(pts.end(), s.tail.begin(), s.tail.end());
    std::vector<float> radii = {s.tailRadius[0]};
    radii.insert(radii.end(), s.tailRadius.begin(), s.tailRadius.end());
    std::vector<Influence> skins = {one(bone(kHips)), one(bone(kTail1)), blendOf(bone(kTail1), bone(kTail2), 0.7f),
                                    blendOf(bone(kTail2), bone(kTail3), 0.7f), one(bone(kTail3))};
    float hair = s.kind == Kind::horse ? kDarkTint : kCoatTint;
    std::vector<float> tints = {kCoatTint, kCoatTint, hair, hair, hair};
    append(coat, tube(pts, radii, skins, tints, float3(0, 0, 1), s.kind == Kind::dino ? 8 : 6, s.furSpan));
}

void Figure::faceParts()
{
    float3 headCentre = headPoint(s, float3(0, 0, 0));
    for (int side = 0; side < 2; ++side) {
        float3 eye = headPoint(s, s.eye);
        if (side == 1)
            eye = mirrorY(eye);
        float r = s.eyeRadius;
        float3 out = unit(float3(eye.x - headCentre.x + 0.05f, eye.y - headCentre.y, 0));
        MeshData m;
        if (s.eyeStyle == EyeStyle::cartoon) {
            append(m, painted(transformed(ellipsoid(float3(r * 0.8f, r * 0.7f, r), 4, 8), translation(eye)), rgb(0xfbfbf5)));
            append(m, painted(transformed(ellipsoid(float3(r * 0.5f, r * 0.5f, r * 0.55f), 3, 6),
                                          translation(eye + out * (r * 0.42f) + float3(0, 0, r * 0.05f))),
                              s.eyeColour));
        } else if (s.eyeStyle == EyeStyle::cat) {
            append(m, painted(transformed(ellipsoid(float3(r * 0.8f, r * 0.7f, r), 4, 8), translation(eye)), s.eyeColour));
            append(m, painted(transformed(ellipsoid(float3(r * 0.35f, r * 0.35f, r * 0.8f), 3, 6),
                                          translation(eye + out * (r * 0.55f))),
                              rgb(0x101010)));
        } else {
            append(m, painted(transformed(ellipsoid(float3(r * 0.8f, r * 0.7f, r), 4, 8), translation(eye)), s.eyeColour));
        }
        append(m, painted(transformed(ellipsoid(float3(r, r, r) * 0.28f, 2, 5),
                                      translation(eye + out * (r * 0.75f) + float3(0.0f, 0, r * 0.4f))),
                          float3(1, 1, 1)));
        append(face, boundToBone(m, bone(kHead)));
    }
    float3 nose = headPoint(s, s.nose);
    float r = s.noseRadius;
    if (s.twoNostrils) {
        for (float sy : {1.0f, -1.0f})
            append(face, boundToBone(painted(transformed(ellipsoid(float3(r, r * 0.8f, r * 0.7f), 2, 5),
                                                         translation(float3(nose.x, sy * nose.y, nose.z))),
                                             s.noseColour),
                                     bone(kHead)));
    } else {
        append(face, boundToBone(painted(transformed(ellipsoid(float3(r * 0.8f, r * 1.15f, r * 0.8f), 3, 6), translation(nose)),
                                         s.noseColour),
                                 bone(kHead)));
    }
    if (s.kind == Kind::dino) {
        // A tongue on the lower jaw, seen when the mouth opens.
        MeshData tongue = ellipsoid(float3(0.07f, 0.05f, 0.02f), 3, 6);
        tongue = transformed(tongue, translation(s.jaw + float3(0.1f, 0, 0.025f)));
        append(face, boundToBone(painted(tongue, rgb(0xd84a5a)), bone(kJaw)));
    }
}

void Figure::extras()
{
    if (s.kind == Kind::horse) {
        // The mane along the top of the neck, and a forelock between the ears.
        float3 start = headPoint(s, float3(-0.09f, 0, 0.08f));
        float3 withers = float3(0.22f, 0, 1.22f);
        float3 mid = (start + withers) * 0.5f + float3(0.02f, 0, 0.07f);
        append(coat, tube({start, mid, withers}, {0.07f, 0.1f, 0.06f}, {one(bone(kHead)), one(bone(kNeck)), one(bone(kChest))},
                          {kDarkTint, kDarkTint, kDarkTint}, float3(0, 1, 0), 6, s.furSpan, 0.35f));
        float3 tuft = headPoint(s, float3(-0.03f, 0, 0.11f));
        append(coat, tube({tuft, tuft + float3(0.08f, 0, -0.05f)}, {0.04f, 0.025f}, {one(bone(kHead)), one(bone(kHead))},
                          {kDarkTint, kDarkTint}, float3(0, 1, 0), 6, s.furSpan, 0.5f));
    }
    if (s.kind == Kind::dino) {
        // Diamond plates down the back, largest over the hips.
        const float xs[7] = {0.22f, 0.06f, -0.12f, -0.30f, -0.48f, -0.66f, -0.84f};
        const float sizes[7] = {0.06f, 0.085f, 0.11f, 0.115f, 0.095f, 0.075f, 0.055f};
        for (int i = 0; i < 7; ++i) {
            float x = xs[i];
            float zc, hh;
            torsoAt(s, x, zc, hh);
            float top = zc + hh;
            if (hh <= 0) {
                // Over the tail: follow the tail's upper edge.
                float t = (x - s.tail[0].x) / (s.tail[1].x - s.tail[0].x);
                int seg = 0;
                if (t > 1) {
                    seg = 1;
                    t = (x - s.tail[1].x) / (s.tail[2].x - s.tail[1].x);
                }
                t = std::min(1.0f, std::max(0.0f, t));
                top = s.tail[size_t(seg)].z + (s.tail[size_t(seg) + 1].z - s.tail[size_t(seg)].z) * t +
                      s.tailRadius[size_t(seg)] + (s.tailRadius[size_t(seg) + 1] - s.tailRadius[size_t(seg)]) * t;
            }
            float sz = sizes[i];
            MeshData plate = coatEllipsoid(float3(sz * 0.75f, 0.018f, sz), 2, 6, s.furSpan, kDarkTint);
            plate = transformed(plate, translation(float3(x, 0, top + sz * 0.55f)));
            Influence in = x > s.chest.x - 0.05f ? one(bone(kChest))
                         : x > s.hips.x ? blendOf(bone(kHips), bone(kChest), (x - s.hips.x) / (s.chest.x - s.hips.x))
                         : x > s.tail[0].x ? one(bone(kHips))
                         : x > s.tail[1].x ? one(bone(kTail1)) : one(bone(kTail2));
            plate.skin.assign(plate.xyz.size(), in);
            append(coat, plate);
        }
    }
}

// The coat and the face parts in one skinned mesh, the coat a little darker underneath.
void Figure::body()
{
    for (const float3& v : coat.xyz)
        topZ = std::max(topZ, v.z);
    float zc, hh;
    torsoAt(s, s.chest.x, zc, hh);
    darkenBelow(coat, 0, zc, 0.72f);
    MeshData all = coat;
    append(all, face);
    b.addSkinnedMesh("body", all, 4);

    // A soft shadow on the ground under the body; it stays on the ground when the figure jumps.
    MaterialDesc shadowDesc("Shadow NO_LIGHT", rgb(0x1a2a10), 0.3f);
    shadowDesc.ambient = float3(0, 0, 0);
    shadowDesc.specularLevel = 0;
    int shadowMaterial = b.addMaterial(shadowDesc);
    float front = s.torso.back().x, back = s.torso.front().x;
    float width = std::max(s.front.top.y, s.hind.top.y) + s.hind.topRadius;
    MeshData shadow = transformed(disc(1, 10), scaling(float3((front - back) * 0.62f, width * 1.3f, 1)));
    shadow = transformed(shadow, translation(float3((front + back) * 0.5f, 0, 0.012f)));
    b.addMesh("shadow", withMaterial(shadow, shadowMaterial), 0, Track{identity()}, 4);
}

// ---- accessories and markers

// A matrix whose z axis runs along dir, placed at p.
float4x4 alongAxis(float3 p, float3 dir)
{
    Ring r = ringAlong(p, dir, float3(0, 0, 1), 1, 1);
    float3 z = unit(dir);
    float4x4 m = identity();
    const float3 rows[4] = {r.side, r.up, z, p};
    for (int i = 0; i < 4; ++i) {
        m.m[i][0] = rows[i].x;
        m.m[i][1] = rows[i].y;
        m.m[i][2] = rows[i].z;
    }
    return m;
}

void Figure::collar()
{
    float3 dir = unit(s.head - s.neck);
    float3 at = s.neck + dir * (s.neckRadiusBase * 0.35f);
    float r = s.neckRadiusBase * 1.02f;
    float thick = 0.018f * s.scale;
    MeshData m = painted(transformed(torus(r, thick, 12, 4), alongAxis(at, dir)), rgb(0xd8283a));
    // A gold tag hanging at the front.
    Ring frame = ringAlong(at, dir, float3(0, 0, 1), 1, 1);
    float3 down = -frame.up;
    float3 tagAt = at + down * (r + thick * 1.6f);
    MeshData tag = transformed(cylinder(thick * 1.5f, thick * 0.5f, 6), alongAxis(tagAt, frame.up * -0.3f + dir));
    append(m, painted(tag, rgb(0xf2c230)));
    m = boundToBone(withMaterial(m, paintMaterial), bone(kNeck));
    b.addSkinnedMesh("collar", m, 5);
}

void Figure::bow()
{
    float sc = s.scale * 1.6f;
    float3 at = headPoint(s, s.headShape[2].x > 0 ? float3(s.headShape[2].x, 0, 0) : float3(-0.02f, 0, 0));
    float hh = s.headShape[3].halfHeight * s.headScale;
    at = at + float3(0, 0.45f * s.headShape[3].halfWidth * s.headScale, hh * 0.9f);
    if (s.kind == Kind::horse)
        at = headPoint(s, float3(-0.08f, 0.06f, 0.12f));
    float3 pink = rgb(0xff4f8f);
    MeshData m;
    for (float side : {1.0f, -1.0f}) {
        MeshData lobe = ellipsoid(float3(0.045f, 0.02f, 0.03f) * sc, 3, 6);
        lobe = transformed(lobe, mul(rotationY(side * 0.5f), translation(at + float3(side * 0.04f * sc, 0, 0))));
        append(m, painted(lobe, pink));
        MeshData ribbon = ellipsoid(float3(0.012f, 0.012f, 0.035f) * sc, 2, 4);
        ribbon = transformed(ribbon, mul(rotationY(side * 0.6f), translation(at + float3(side * 0.02f * sc, 0, -0.035f * sc))));
        append(m, painted(ribbon, shade(pink, -0.15f)));
    }
    append(m, painted(transformed(ellipsoid(float3(0.018f, 0.022f, 0.018f) * sc, 2, 5), translation(at)), shade(pink, -0.25f)));
    m = boundToBone(withMaterial(m, paintMaterial), bone(kHead));
    b.addSkinnedMesh("bow", m, 6);
}

// Floating signs over the head: a red cross for an unwell animal, a full bowl for a hungry one.
// They are unlit so they stay bright, and turn slowly while bobbing.
void Figure::markers()
{
    auto unlit = [this](const char* name, uint32_t hex) {
        MaterialDesc d(name, rgb(hex));
        d.specularLevel = 0;
        return b.addMaterial(d);
    };
    int white = unlit("MarkerWhite NO_LIGHT", 0xffffff);
    int red = unlit("MarkerRed NO_LIGHT", 0xe8262e);
    int orange = unlit("MarkerOrange NO_LIGHT", 0xf5a623);
    int brown = unlit("MarkerBrown NO_LIGHT", 0x8a5a2b);
    // Big enough to read from the park camera thirty metres away.
    float sc = std::max(0.8f, s.scale) * 3.0f;

    MeshData cross;
    MeshData badge = transformed(cylinder(0.1f * sc, 0.03f * sc, 10), rotationX(kPi / 2));
    append(cross, withMaterial(badge, white));
    for (float y : {0.016f * sc, -0.016f * sc}) {
        append(cross, withMaterial(transformed(box(0.13f * sc, 0.01f * sc, 0.04f * sc), translation(float3(0, y, 0))), red));
        append(cross, withMaterial(transformed(box(0.04f * sc, 0.01f * sc, 0.13f * sc), translation(float3(0, y, 0))), red));
    }

    MeshData bowl = withMaterial(transformed(frustum(0.06f * sc, 0.09f * sc, 0.055f * sc, 10), translation(float3(0, 0, -0.03f * sc))),
                                 orange);
    for (int i = 0; i < 3; ++i) {
        float a = float(i) * 2 * kPi / 3;
        float3 at(std::cos(a) * 0.04f * sc, std::sin(a) * 0.04f * sc, 0.03f * sc + (i % 2) * 0.01f * sc);
        append(bowl, withMaterial(transformed(ellipsoid(float3(0.03f, 0.03f, 0.022f) * sc, 2, 4), translation(at)), brown));
    }
    append(bowl, withMaterial(transformed(ellipsoid(float3(0.032f, 0.032f, 0.025f) * sc, 2, 4), translation(float3(0, 0, 0.045f * sc))),
                              brown));

    float3 above(s.head.x, 0, topZ + 0.15f + 0.12f * sc);
    const MeshData* meshes[2] = {&cross, &bowl};
    const char* names[2] = {"marker_unwell", "marker_hungry"};
    for (int k = 0; k < 2; ++k) {
        Track track;
        for (int f = 0; f <= kFigureFrames; ++f) {
            float t = float(f) / float(kFigureFrames);
            float bob = 0.03f * sc * std::sin(2 * kPi * 8 * t + float(k));
            track.push_back(mul(rotationZ(2 * kPi * 4 * t), translation(above + float3(0, 0, bob))));
        }
        b.addMesh(names[k], *meshes[k], 0, track, 2 + k);
    }
}

// ---- coats

bool Figure::save(const std::string& sceneDir) const
{
    return b.save(sceneDir + "/" + s.key + ".3dn");
}

} // namespace

// ---- one figure

bool writeFigures(const std::string& sceneDir)
{
    bool ok = true;
    for (Kind k : {Kind::dog, Kind::cat, Kind::dino, Kind::rabbit, Kind::horse}) {
        Figure f(specFor(k));
        ok = f.save(sceneDir) && ok;
    }
    return ok;
}

} // namespace mkscenes

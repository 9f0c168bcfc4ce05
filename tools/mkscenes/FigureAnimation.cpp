#include "mkscenes/FigureAnimation.h"

#include "mkscenes/Figures.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <utility>

// Index: curves - body parts - walking and hopping - eating, idling, refusing - tricks per
// species - the timeline

namespace mkscenes {

namespace {

// ---- curves

float clamp01(float x)
{
    return std::min(1.0f, std::max(0.0f, x));
}

float ease(float a, float b, float x)
{
    float t = clamp01((x - a) / (b - a));
    return t * t * (3 - 2 * t);
}

// Rises from 0 over the first `in` of the range and falls back over the last `out`.
float envelope(float u, float in, float out)
{
    return ease(0, in, u) * (1 - ease(1 - out, 1, u));
}

// 0 outside [a, b], a half sine inside: a jump's height.
float arc(float u, float a, float b)
{
    if (u <= a || u >= b)
        return 0;
    return std::sin(kPi * (u - a) / (b - a));
}

// Eased interpolation between (time, value) keys; held before the first and after the last.
float curve(float t, std::initializer_list<std::pair<float, float>> keys)
{
    const std::pair<float, float>* k = keys.begin();
    size_t n = keys.size();
    if (t <= k[0].first)
        return k[0].second;
    for (size_t i = 0; i + 1 < n; ++i)
        if (t <= k[i + 1].first)
            return k[i].second + (k[i + 1].second - k[i].second) * ease(k[i].first, k[i + 1].first, t);
    return k[n - 1].second;
}

float deg(float d)
{
    return radians(d);
}

// ---- body parts

struct LegBones {
    BoneId up, low;
};
const LegBones kFL{kFLUp, kFLLow}, kFR{kFRUp, kFRLow}, kHL{kHLUp, kHLLow}, kHR{kHRUp, kHRLow};

// Swing forward (degrees, positive = forward) and bend the knee (positive = foot back).
void leg(FigurePose& p, LegBones l, float swingDeg, float kneeDeg)
{
    p.joint[l.up].rot.y -= deg(swingDeg);
    p.joint[l.low].rot.y += deg(kneeDeg);
}

void bothFront(FigurePose& p, float swingDeg, float kneeDeg)
{
    leg(p, kFL, swingDeg, kneeDeg);
    leg(p, kFR, swingDeg, kneeDeg);
}

void bothHind(FigurePose& p, float swingDeg, float kneeDeg)
{
    leg(p, kHL, swingDeg, kneeDeg);
    leg(p, kHR, swingDeg, kneeDeg);
}

// Turns the whole figure nose-up (negative) or nose-down about a point on the ground under
// its hind (or front) feet; the legs on that end are turned back so they stay upright.
void tilt(FigurePose& p, const Spec& s, float pitchDeg, bool aboutHind)
{
    float x = aboutHind ? s.hind.top.x : s.front.top.x;
    p.pivot = float3(x, 0, 0);
    p.joint[kRoot].rot.y += deg(pitchDeg);
    if (aboutHind)
        bothHind(p, pitchDeg, 0);
    else
        bothFront(p, pitchDeg, 0);
}

void wagTail(FigurePose& p, float degrees, float phase)
{
    p.joint[kTail1].rot.z += deg(degrees) * std::sin(phase);
    p.joint[kTail2].rot.z += deg(degrees) * std::sin(phase - 0.9f);
    p.joint[kTail3].rot.z += deg(degrees) * std::sin(phase - 1.8f);
}

void liftTail(FigurePose& p, float degrees)
{
    p.joint[kTail1].rot.y += deg(degrees);
    p.joint[kTail2].rot.y += deg(degrees) * 0.5f;
}

// Ears outwards (positive) or inwards, mirrored left and right.
void ears(FigurePose& p, float outDeg, float backDeg = 0)
{
    p.joint[kEarL].rot.x -= deg(outDeg);
    p.joint[kEarR].rot.x += deg(outDeg);
    p.joint[kEarL].rot.y -= deg(backDeg);
    p.joint[kEarR].rot.y -= deg(backDeg);
}

// Neck and head turned up (negative) or down, and the head to the left (positive yaw).
void look(FigurePose& p, float neckDeg, float headDeg, float yawDeg = 0, float tiltDeg = 0)
{
    p.joint[kNeck].rot.y += deg(neckDeg);
    p.joint[kHead].rot.y += deg(headDeg);
    p.joint[kHead].rot.z += deg(yawDeg);
    p.joint[kHead].rot.x += deg(tiltDeg);
}

// The point in the y-z plane about which a turn by angle (about +x) takes `from` to `to`.
float3 rollPivot(float3 from, float3 to, float angle)
{
    float3 m = (from + to) * 0.5f;
    float3 d = to - from;
    float len = length(d);
    float3 perp = len > 0 ? float3(0, -d.z / len, d.y / len) : float3();
    return m + perp * (len / 2 / std::tan(angle / 2));
}

float legLength(const LegShape& l)
{
    return l.top.z - l.footZ;
}

// ---- walking and hopping

// A trot: diagonal legs together. phase runs 2 pi per leg cycle; amount scales the motion.
void trot(FigurePose& p, const Spec& s, float phase, float amount)
{
    float swing = 26, knee = 40, roll = 2, nod = 4, wag = 16, earFlap = 8;
    switch (s.kind) {
    case Kind::dog: break;
    case Kind::cat: wag = 8, earFlap = 3; break;
    case Kind::horse: swing = 22, knee = 55, nod = 6, wag = 6, earFlap = 3; break;
    case Kind::dino: swing = 22, knee = 35, roll = 6, nod = 5, wag = 14, earFlap = 0; break;
    case Kind::rabbit: break;
    }
    swing *= amount, knee *= amount;
    const float phases[4] = {phase, phase + kPi, phase + kPi, phase};
    const LegBones legs[4] = {kFL, kFR, kHL, kHR};
    for (int i = 0; i < 4; ++i)
        leg(p, legs[i], swing * std::sin(phases[i]), knee * std::max(0.0f, std::cos(phases[i])));
    // The body drops as the legs reach out, so the feet stay on the ground.
    float drop = legLength(s.front) * (1 - std::cos(deg(swing)));
    p.joint[kRoot].move.z += -drop * (0.5f - 0.5f * std::cos(2 * phase));
    p.joint[kHips].rot.x += deg(roll * amount) * std::sin(phase);
    p.joint[kChest].rot.x -= deg(roll * amount) * std::sin(phase);
    look(p, nod * amount * std::cos(2 * phase), 0);
    wagTail(p, wag * amount, phase);
    ears(p, earFlap * amount * std::sin(2 * phase));
    if (s.kind == Kind::dino)
        p.joint[kHead].rot.z += deg(4 * amount) * std::sin(phase);
}

// One rabbit hop, t from 0 to 1: push off with the hind legs, fly, land on the front paws,
// gather the hind legs again.
void hop(FigurePose& p, const Spec& s, float t, float height, float amount)
{
    float hind = curve(t, {{0, 10}, {0.3f, -50}, {0.55f, -25}, {0.8f, 25}, {1, 10}});
    float hindKnee = curve(t, {{0, 35}, {0.3f, 0}, {0.6f, 15}, {0.8f, 55}, {1, 35}});
    float front = curve(t, {{0, 0}, {0.25f, 15}, {0.5f, -45}, {0.7f, -15}, {0.85f, 10}, {1, 0}});
    float frontKnee = curve(t, {{0, 0}, {0.3f, 40}, {0.5f, 10}, {0.7f, 0}, {1, 0}});
    bothHind(p, hind * amount, hindKnee * amount);
    bothFront(p, front * amount, frontKnee * amount);
    p.pivot = float3(0, 0, s.torso[3].z);
    p.joint[kRoot].move.z += height * arc(t, 0.22f, 0.72f);
    p.joint[kRoot].rot.y += deg(amount * curve(t, {{0, 0}, {0.3f, -14}, {0.55f, 4}, {0.7f, 12}, {0.85f, 0}, {1, 0}}));
    ears(p, 0, amount * curve(t, {{0, 0}, {0.35f, 25}, {0.65f, 30}, {0.8f, -10}, {1, 0}}));
    look(p, amount * curve(t, {{0, 0}, {0.3f, 8}, {0.7f, -6}, {1, 0}}), 0);
}

// The walk loop of frames 0..39: two leg cycles (or two hops) per loop.
void walk(FigurePose& p, const Spec& s, float u, float amount)
{
    if (s.kind == Kind::rabbit) {
        float t = std::fmod(u * float(s.stepsPerLoop), 1.0f);
        hop(p, s, t, 0.09f * amount, amount);
        return;
    }
    trot(p, s, 2 * kPi * float(s.stepsPerLoop) * u, amount);
}

// ---- eating, idling, refusing

void eat(FigurePose& p, const Spec& s, float u, float e, float chewCycles)
{
    float neck = 68, head = 35, chest = 18, crouch = 22;
    switch (s.kind) {
    case Kind::dog: break;
    case Kind::cat: neck = 50, head = 35, chest = 12, crouch = 20; break;
    case Kind::rabbit: neck = 35, head = 30, chest = 10, crouch = 10; break;
    case Kind::horse: neck = 62, head = 18, chest = 6, crouch = 8; break;
    case Kind::dino: neck = 42, head = 28, chest = 12, crouch = 16; break;
    }
    float chew = std::sin(2 * kPi * chewCycles * u);
    p.joint[kChest].rot.y += deg(chest) * e;
    // The front legs turn back against the chest and bend a little: the figure crouches.
    bothFront(p, chest * e + crouch * 0.5f * e, crouch * e);
    look(p, neck * e, head * e + 7 * chew * e);
    p.joint[kJaw].rot.y += deg(12) * e * (0.5f + 0.5f * chew);
    wagTail(p, 20, 2 * kPi * 4 * u);
    ears(p, 6 * e * chew, s.kind == Kind::rabbit ? 70 * e : 0);
}

void idle(FigurePose& p, const Spec& s, float u)
{
    p.joint[kChest].move.z += 0.004f * s.scale * std::sin(2 * kPi * 2 * u);
    look(p, 5 * std::sin(4 * kPi * u), 0, 20 * std::sin(2 * kPi * u), 6 * std::sin(2 * kPi * u + 1));
    wagTail(p, s.kind == Kind::cat ? 12 : 16, 2 * kPi * 3 * u);
    ears(p, 12 * arc(u, 0.3f, 0.42f) - 8 * arc(u, 0.7f, 0.8f));
    p.joint[kHips].rot.x += deg(2) * std::sin(2 * kPi * u);
    if (s.kind == Kind::rabbit)
        p.joint[kHead].rot.y += deg(3) * std::sin(2 * kPi * 8 * u); // the nose twitches
}

void noTrick(FigurePose& p, const Spec& s, float u)
{
    float e = envelope(u, 0.15f, 0.2f);
    look(p, 14 * e, 6 * e, 28 * std::sin(2 * kPi * 2.5f * u) * e);
    ears(p, 22 * e, 10 * e);
    liftTail(p, -28 * e);
    p.joint[kRoot].move.x -= 0.04f * s.scale * e;
}

// ---- tricks per species

void dogTrick(FigurePose& p, const Spec& s, int trick, float u)
{
    if (trick == 1) { // sits up and begs
        float e = envelope(u, 0.25f, 0.2f);
        tilt(p, s, -55 * e, true);
        p.joint[kRoot].move.z -= 0.08f * e;
        bothHind(p, 45 * e, 70 * e);
        float paws = 12 * std::sin(2 * kPi * 4 * u) * e;
        bothFront(p, 55 * e + 10 * e, 95 * e + paws);
        look(p, 35 * e, 15 * e, 0, 18 * std::sin(2 * kPi * u) * e);
        wagTail(p, 35, 2 * kPi * 6 * u);
        ears(p, 10 * e);
    } else if (trick == 2) { // spins around after its tail
        float turn = ease(0.12f, 0.88f, u);
        float e = envelope(u, 0.12f, 0.12f);
        p.pivot = float3(0, 0, 0);
        p.joint[kRoot].rot.z += 2 * kPi * turn;
        trot(p, s, 2 * kPi * 4 * u, e);
        look(p, 0, 0, 30 * e);
        wagTail(p, 40, 2 * kPi * 7 * u);
    } else { // plays dead: flops onto its side, paws in the air
        float e = envelope(u, 0.25f, 0.22f);
        float zc = s.torso[4].z, side = s.torso[4].halfWidth;
        p.pivot = rollPivot(float3(0, 0, zc), float3(0, 0, side * 1.25f), deg(110));
        p.joint[kRoot].rot.x += deg(110) * e;
        bothFront(p, 20 * e, 0);
        bothHind(p, -10 * e, 0);
        float twitch = 8 * arc(u, 0.55f, 0.62f);
        leg(p, kFL, 0, twitch);
        look(p, -5 * e, 0, 0, -25 * e);
        ears(p, -20 * e);
        liftTail(p, -30 * e);
    }
}

void catTrick(FigurePose& p, const Spec& s, int trick, float u)
{
    float bodyZ = s.torso[4].z;
    if (trick == 1) { // rolls over
        float crouch = envelope(u, 0.18f, 0.18f);
        p.joint[kRoot].move.z -= 0.09f * crouch;
        bothFront(p, 20 * crouch, 50 * crouch);
        bothHind(p, -20 * crouch, 50 * crouch);
        float tuck = envelope((u - 0.2f) / 0.6f, 0.2f, 0.2f);
        bothFront(p, 40 * tuck, 60 * tuck);
        bothHind(p, -30 * tuck, 60 * tuck);
        p.pivot = float3(0, 0, bodyZ - 0.09f);
        p.joint[kRoot].rot.x += 2 * kPi * ease(0.22f, 0.78f, u);
        liftTail(p, -20 * crouch);
    } else if (trick == 2) { // sits and waves a paw
        float e = envelope(u, 0.2f, 0.2f);
        float paw = envelope((u - 0.2f) / 0.65f, 0.2f, 0.25f);
        tilt(p, s, -28 * e, true);
        bothHind(p, 40 * e, 65 * e);
        leg(p, kFL, 110 * paw, 30 * paw);
        p.joint[kFLUp].rot.x -= deg(25) * std::sin(2 * kPi * 3 * u) * paw;
        look(p, 22 * e, 0, 10 * e, 15 * e);
        wagTail(p, 14, 2 * kPi * 2 * u);
    } else { // crouches, leaps and turns a back flip
        float crouch = envelope(u, 0.15f, 0.1f) * (1 - ease(0.18f, 0.24f, u)) + arc(u, 0.66f, 0.86f);
        p.joint[kRoot].move.z -= 0.06f * crouch;
        bothFront(p, 15 * crouch, 45 * crouch);
        bothHind(p, -15 * crouch, 45 * crouch);
        float air = arc(u, 0.22f, 0.7f);
        p.joint[kRoot].move.z += 0.42f * air;
        p.pivot = float3(0, 0, bodyZ);
        p.joint[kRoot].rot.y -= 2 * kPi * ease(0.27f, 0.66f, u);
        bothFront(p, 30 * air, 50 * air);
        bothHind(p, -30 * air, 50 * air);
        liftTail(p, 25 * air);
    }
}

void dinoTrick(FigurePose& p, const Spec& s, int trick, float u)
{
    if (trick == 1) { // rears up and roars
        float e = envelope(u, 0.22f, 0.22f);
        float roar = ease(0.25f, 0.33f, u) * (1 - ease(0.72f, 0.82f, u));
        tilt(p, s, -14 * e, true);
        bothFront(p, 30 * e, 25 * e);
        look(p, -25 * e, -22 * e, 0, 6 * std::sin(2 * kPi * 9 * u) * roar);
        p.joint[kJaw].rot.y += deg(38) * roar;
        liftTail(p, 18 * e);
        wagTail(p, 10 * roar, 2 * kPi * 9 * u);
    } else if (trick == 2) { // a stomping dance
        float e = envelope(u, 0.12f, 0.12f);
        float beat = 2 * kPi * 4 * u;
        float left = std::max(0.0f, std::sin(beat)) * e, right = std::max(0.0f, -std::sin(beat)) * e;
        leg(p, kFL, 25 * left, 50 * left);
        leg(p, kHR, 25 * left, 50 * left);
        leg(p, kFR, 25 * right, 50 * right);
        leg(p, kHL, 25 * right, 50 * right);
        p.joint[kRoot].rot.x += deg(7) * std::sin(beat) * e;
        p.joint[kRoot].move.z -= 0.03f * std::fabs(std::sin(beat)) * e;
        look(p, 10 * std::sin(2 * beat) * e, 0, 15 * std::sin(beat) * e);
        wagTail(p, 25 * e, beat);
    } else { // spins round with its tail swinging out
        float e = envelope(u, 0.15f, 0.15f);
        p.pivot = float3(0, 0, 0);
        p.joint[kRoot].rot.z += 2 * kPi * ease(0.15f, 0.85f, u);
        p.joint[kRoot].move.z += 0.18f * arc(u, 0.35f, 0.65f);
        liftTail(p, 22 * e);
        wagTail(p, -18 * e, kPi / 2);
        trot(p, s, 2 * kPi * 3 * u, 0.7f * e);
        look(p, -10 * e, -10 * e);
    }
}

void rabbitTrick(FigurePose& p, const Spec& s, int trick, float u)
{
    if (trick == 1) { // one big hop and a small one
        if (u < 0.62f)
            hop(p, s, u / 0.62f, 0.3f, 1.3f);
        else
            hop(p, s, (u - 0.62f) / 0.38f, 0.12f, 0.8f);
    } else if (trick == 2) { // sits up on its hind legs
        float e = envelope(u, 0.22f, 0.2f);
        tilt(p, s, -65 * e, true);
        bothHind(p, 30 * e, 60 * e);
        bothFront(p, 45 * e, 60 * e);
        look(p, 42 * e, 10 * e, 12 * std::sin(2 * kPi * u) * e);
        p.joint[kHead].rot.y += deg(4) * std::sin(2 * kPi * 10 * u) * e;
        ears(p, -8 * e, -10 * e);
    } else { // a binky: a happy twisting jump
        float air = arc(u, 0.2f, 0.7f);
        float e = envelope(u, 0.15f, 0.2f);
        p.pivot = float3(0, 0, s.torso[3].z);
        p.joint[kRoot].move.z += 0.3f * air;
        p.joint[kRoot].rot.z += deg(55) * std::sin(kPi * ease(0.2f, 0.7f, u)) * air;
        p.joint[kRoot].rot.x += deg(30) * std::sin(2 * kPi * ease(0.2f, 0.7f, u));
        bothHind(p, -50 * air, 20 * air);
        bothFront(p, -20 * air, 30 * air);
        float crouch = arc(u, 0.05f, 0.22f) + arc(u, 0.68f, 0.85f);
        p.joint[kRoot].move.z -= 0.04f * crouch;
        bothHind(p, 20 * crouch, 40 * crouch);
        ears(p, 20 * air, 30 * air * e);
    }
}

void horseTrick(FigurePose& p, const Spec& s, int trick, float u)
{
    if (trick == 1) { // rears up and paws the air
        float e = envelope(u, 0.25f, 0.22f);
        tilt(p, s, -38 * e, true);
        bothHind(p, 10 * e, 15 * e);
        float kick = std::sin(2 * kPi * 3 * u) * e;
        leg(p, kFL, 40 * e + 25 * kick, 85 * e);
        leg(p, kFR, 40 * e - 25 * kick, 85 * e);
        look(p, 20 * e, -15 * e + 8 * kick, 0, 8 * kick);
        liftTail(p, -30 * e);
        ears(p, -5 * e, 15 * e);
    } else if (trick == 2) { // takes a bow: one foreleg stretched out, the other knee bent
        float e = envelope(u, 0.25f, 0.22f);
        tilt(p, s, 20 * e, true);
        bothHind(p, -8 * e, 12 * e);
        leg(p, kFL, 20 * e + 38 * e, 0);
        leg(p, kFR, 20 * e + 12 * e, 100 * e);
        look(p, 38 * e, 22 * e);
        liftTail(p, 15 * e);
    } else { // prances on the spot, knees high
        float e = envelope(u, 0.12f, 0.12f);
        float phase = 2 * kPi * 4 * u;
        const float phases[4] = {phase, phase + kPi, phase + kPi, phase};
        const LegBones legs[4] = {kFL, kFR, kHL, kHR};
        for (int i = 0; i < 4; ++i) {
            float lift = std::max(0.0f, std::sin(phases[i])) * e;
            leg(p, legs[i], (i < 2 ? 55 : 25) * lift, (i < 2 ? 100 : 60) * lift);
        }
        p.joint[kRoot].move.z += 0.04f * std::fabs(std::sin(phase)) * e;
        look(p, -12 * e + 6 * std::sin(2 * phase) * e, -8 * e);
        liftTail(p, 25 * e);
        wagTail(p, 12 * e, phase);
    }
}

} // namespace

// ---- the timeline

FigurePose figurePose(const Spec& traits, int frame)
{
    FigurePose p;
    p.pivot = float3(0, 0, 0);
    for (const Animation& a : figureAnimations()) {
        if (frame < a.first || frame > a.last)
            continue;
        float span = float(a.last - a.first);
        float u = float(frame - a.first) / span;
        // Loops repeat every span frames plus the one logic step the game spends past the end.
        float loop = float(frame - a.first) / (span + kFigureFps * 0.01f);
        std::string name = a.name;
        if (name == "chodzenie") {
            walk(p, traits, loop, 1);
        } else if (name == "jedzenie") {
            eat(p, traits, u, envelope(u, 0.2f, 0.2f), 5);
        } else if (name == "idle") {
            idle(p, traits, loop);
        } else if (name == "notrick") {
            noTrick(p, traits, u);
        } else if (name == "jedzenie_chodzac") {
            walk(p, traits, loop, 0.5f);
            eat(p, traits, loop, envelope(loop, 0.15f, 0.15f), 6);
        } else {
            int trick = name[5] - '0';
            switch (traits.kind) {
            case Kind::dog: dogTrick(p, traits, trick, u); break;
            case Kind::cat: catTrick(p, traits, trick, u); break;
            case Kind::dino: dinoTrick(p, traits, trick, u); break;
            case Kind::rabbit: rabbitTrick(p, traits, trick, u); break;
            case Kind::horse: horseTrick(p, traits, trick, u); break;
            }
        }
        break;
    }
    return p;
}

} // namespace mkscenes

#pragma once

// The species' shapes: the skeleton's rest positions and the measurements of every body part,
// shared by the figure builder, its animations and the coat painter.

#include "mkscenes/Geometry.h"

#include <string>
#include <vector>

namespace mkscenes {

enum BoneId {
    kRoot, kHips, kChest, kNeck, kHead, kJaw, kEarL, kEarR, kTail1, kTail2, kTail3,
    kFLUp, kFLLow, kFRUp, kFRLow, kHLUp, kHLLow, kHRUp, kHRLow, kBoneCount
};

enum class Kind { dog, cat, dino, rabbit, horse };
enum class EarStyle { none, floppy, pointed, longUpright };
enum class EyeStyle { round, cat, cartoon };

// A cross-section of the torso (x along the body) or of the head (x along the head's own
// forward, relative to the head bone).
struct Section {
    float x, z, halfWidth, halfHeight;
};

struct LegShape {
    float3 top;       // the left leg's top joint (the right one mirrors y)
    float kneeZ, footZ;
    float topRadius, kneeRadius, ankleRadius;
    float3 paw;       // radii of the paw or hoof
    float pawForward; // how far the paw reaches ahead of the ankle
};

struct Spec {
    Kind kind;
    std::string key;
    float scale;                  // accessories and markers, dog = 1
    std::vector<Section> torso;   // back to front, closed at both ends
    float3 hips, chest, neck, head, jaw;
    float3 ear;                   // the left ear's root, relative to the head bone
    EarStyle earStyle;
    float earLength, earWidth;
    LegShape front, hind;
    float neckRadiusBase, neckRadiusHead;
    std::vector<Section> headShape; // back to front, closed at both ends
    float headPitch;              // the head's sections tilt nose-down by this (radians)
    float headScale = 1;          // the head's sections and face points grow by this
    std::vector<float3> tail;     // tail1, tail2, tail3, tip (absolute)
    std::vector<float> tailRadius;
    float3 eye;                   // the left eye relative to the head bone (before the pitch)
    float eyeRadius;
    EyeStyle eyeStyle;
    float3 eyeColour;
    float3 nose;                  // relative to the head bone (before the pitch)
    float noseRadius;
    float3 noseColour;
    bool twoNostrils;
    float furSpan;                // metres of body one width of the coat texture covers
    float walkPerLoop;            // metres walked per walk loop
    int stepsPerLoop;             // leg cycles per walk loop
};

const Spec& specFor(Kind kind);
// A point given relative to the head bone (before the head's pitch) in figure space.
float3 headPoint(const Spec& s, float3 rel);
// The torso's centre height and half height at x (0 outside the torso).
void torsoAt(const Spec& s, float x, float& centreZ, float& halfHeight);

} // namespace mkscenes

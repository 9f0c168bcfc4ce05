#pragma once

// The figures' animations as poses per frame: every bone's rotation (about x, then y, then z,
// radians) and move from its rest place, and the point the root turns about.
//
// Angles as the skeleton sees them: rotation about y with a positive angle swings a leg back,
// tips the head nose-down and lifts a tail; about z with a positive angle turns to the left
// (+y); about x with a positive angle rolls the figure onto its right side.

#include "mkscenes/FigureShapes.h"

namespace mkscenes {

struct Joint {
    float3 rot;
    float3 move;
};

struct FigurePose {
    Joint joint[kBoneCount];
    float3 pivot; // the root turns about this point (figure space)
};

// The pose of a species at a frame of its timeline (0 .. kFigureFrames).
FigurePose figurePose(const Spec& traits, int frame);

} // namespace mkscenes

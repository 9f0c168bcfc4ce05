#pragma once

// Matrix and vector helpers for building scenes. Matrices are float4x4 as scene files hold
// them: row-major, row vectors (p' = p * M), rows 0-2 the local x, y and z axes in the parent's
// space, row 3 the translation. mul(a, b) applies a first, then b, so a child's world matrix is
// mul(local, parentWorld).

#include "core/VectorMath.h"

#include <vector>

namespace scenelib {

// One matrix per key frame.
typedef std::vector<float4x4> Track;

// ---- vectors
inline float3 add(float3 a, float3 b) { return float3(a.x + b.x, a.y + b.y, a.z + b.z); }
inline float3 sub(float3 a, float3 b) { return float3(a.x - b.x, a.y - b.y, a.z - b.z); }
inline float3 scaled(float3 a, float s) { return float3(a.x * s, a.y * s, a.z * s); }
inline float dot(float3 a, float3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline float3 lerp(float3 a, float3 b, float t) { return add(a, scaled(sub(b, a), t)); }

// ---- matrices
float4x4 identity();
float4x4 translation(float3 t);
float4x4 scaling(float3 s);
// Right-handed rotations by an angle in radians about the x, y and z axes.
float4x4 rotationX(float angle);
float4x4 rotationY(float angle);
float4x4 rotationZ(float angle);
float4x4 mul(const float4x4& a, const float4x4& b);
// The inverse of an invertible matrix (Gauss-Jordan with partial pivoting).
float4x4 inverse(const float4x4& m);
float3 transformPoint(float3 p, const float4x4& m);
// Rotation and scale only, no translation.
float3 transformDirection(float3 v, const float4x4& m);
float3 translationOf(const float4x4& m);

// A camera's world matrix: it looks from eye towards target along its local -z, local +y up.
float4x4 cameraMatrix(float3 eye, float3 target, float3 up);

// ---- keyframed poses
// A local transform: scaled, then rotated about x, y and z in that order (radians), then moved.
struct Pose {
    Pose(float3 position_ = float3(), float3 rotation_ = float3(), float3 scale_ = float3(1, 1, 1))
        : position(position_), rotation(rotation_), scale(scale_)
    {
    }

    float3 position;
    float3 rotation;
    float3 scale;
};

struct PoseKey {
    int frame = 0;
    Pose pose;
};

float4x4 poseMatrix(const Pose& pose);
// A local track of frames + 1 keys, one per frame 0..frames, each pose interpolated linearly
// between the two keys around it (keys in ascending frame order); frames before the first key
// hold it, frames after the last hold the last. A track plays in a loop, so a seamless cycle
// ends with a key equal to its first.
Track animate(const std::vector<PoseKey>& keys, int frames);

} // namespace scenelib

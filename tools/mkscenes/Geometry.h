#pragma once

// Modelling helpers of the scene generator on top of scenelib's primitives: vector arithmetic,
// colours, lofted tubes (the bodies of the animals), flat-shaded low-poly shapes (buildings,
// trees, props) and a deterministic random source.
//
// Sections: vectors - colours - random - lofts - shapes - mesh changes

#include "scenelib/Matrix.h"
#include "scenelib/MeshData.h"

#include <cstdint>
#include <vector>

namespace mkscenes {

using scenelib::Influence;
using scenelib::MeshData;

// ---- vectors
inline float3 operator+(float3 a, float3 b) { return float3(a.x + b.x, a.y + b.y, a.z + b.z); }
inline float3 operator-(float3 a, float3 b) { return float3(a.x - b.x, a.y - b.y, a.z - b.z); }
inline float3 operator-(float3 a) { return float3(-a.x, -a.y, -a.z); }
inline float3 operator*(float3 a, float s) { return float3(a.x * s, a.y * s, a.z * s); }
inline float3 operator*(float s, float3 a) { return a * s; }
inline float3 mulEach(float3 a, float3 b) { return float3(a.x * b.x, a.y * b.y, a.z * b.z); }
float length(float3 a);
float3 unit(float3 a);
float3 cross(float3 a, float3 b);

const float kPi = 3.14159265358979f;
inline float radians(float degrees) { return degrees * kPi / 180.0f; }
// 0 below 0, 1 above 1, smooth in between.
inline float ease01(float t)
{
    t = t < 0 ? 0 : t > 1 ? 1 : t;
    return t * t * (3 - 2 * t);
}

// ---- colours
// A colour from 0xRRGGBB.
float3 rgb(uint32_t hex);
float3 mixColour(float3 a, float3 b, float t);
// The colour made lighter (amount > 0, towards white) or darker (amount < 0, towards black).
float3 shade(float3 c, float amount);

// ---- random
// A small deterministic generator, so the same sources always give the same scenes.
class Random {
public:
    explicit Random(uint32_t seed) : mState(seed * 2654435761u + 12345u) {}
    uint32_t next();
    // Uniform in [lo, hi).
    float range(float lo, float hi);
    int below(int n);

private:
    uint32_t mState;
};

// A hash of integer coordinates to [0, 1), for noise in textures.
float hash01(int x, int y, uint32_t seed);
// Smooth value noise in [0, 1) that repeats every `period` units in x and y.
float valueNoise(float x, float y, int period, uint32_t seed);

// ---- lofts
// One cross-section of a lofted tube: an ellipse around centre, radius a along side and b along
// up. side x up should point along the tube (from this ring to the next) so that the faces
// turn outwards. A ring of zero radii closes the tube in one point. v is the texture
// coordinate along the tube at this ring.
struct Ring {
    float3 centre;
    float3 side;
    float3 up;
    float a = 0, b = 0;
    Influence skin;
    float3 colour = float3(1, 1, 1);
    float v = 0;
};

// A tube through the rings with `segments` vertices per ring, smooth normals and the rings'
// colours and influences. With uRepeats > 0 it is textured: u runs uRepeats times around the
// tube (over a seam of doubled vertices), v as the rings give it.
MeshData loft(const std::vector<Ring>& rings, int segments, float uRepeats = 0);
// A ring section whose frame follows a direction: side and up chosen perpendicular to dir,
// with up as close to `upHint` as possible.
Ring ringAlong(float3 centre, float3 dir, float3 upHint, float a, float b);

// ---- shapes (one part, material 0, centred unless said otherwise)
// An ellipsoid of the three radii, smooth.
MeshData ellipsoid(float3 radii, int rings, int segments);
// A cone with its base at z = 0 and apex at z = height; flat-shaded facets.
MeshData cone(float radius, float height, int segments);
// A frustum from radius r0 at z = 0 to r1 at z = height, closed, flat-shaded facets.
MeshData frustum(float r0, float r1, float height, int segments);
// A box of the given size standing on z = 0 (no bottom face).
MeshData block(float width, float depth, float height);
// A gabled roof over width (x) and depth (y): eaves at z = 0, ridge along x at z = height,
// overhang added on all sides; two slopes and two gable triangles.
MeshData gableRoof(float width, float depth, float height, float overhang);
// A four-sided pyramid roof (hip roof) standing on z = 0.
MeshData pyramidRoof(float width, float depth, float height);
// A flat ring in z = 0 between two radii facing up.
MeshData flatRing(float innerRadius, float outerRadius, int segments);
// A flat disc in z = 0 facing up, texture coordinates = position / tile.
MeshData disc(float radius, int segments, float tile = 1);
// A flat quad from (x0, y0) to (x1, y1) in z = 0 facing up, texture coordinates = position / tile.
MeshData groundQuad(float x0, float y0, float x1, float y1, float tile);
// A thin strip of width w from a to b (both at z), facing up, texture along the strip.
MeshData strip(float3 a, float3 b, float width, float tile);
// A surface of revolution about the z axis through the (radius, height) profile points;
// faces turn to the left of the profile's direction (outwards while it climbs the outside).
MeshData lathe(const std::vector<std::pair<float, float>>& profile, int segments);
// A torus around the z axis (major radius R, tube radius r), smooth.
MeshData torus(float majorRadius, float minorRadius, int majorSegments, int minorSegments);
// A low icosphere-like blob (an octahedron subdivided once), flat-shaded, for tree crowns and
// bushes.
MeshData blob(float3 radii, uint32_t seed, float jitter);

// ---- mesh changes
// Every triangle given vertices of its own with the face normal: the faceted low-poly look.
MeshData flatShaded(const MeshData& mesh);
// Normals recomputed as the area-weighted average of the faces around each vertex.
void smoothNormals(MeshData& mesh);
// Moved, turned about z (radians) and painted: the usual way a prop is placed.
MeshData placed(const MeshData& mesh, float3 at, float turn, float3 colour);
MeshData moved(const MeshData& mesh, float3 by);
// Texture coordinates from world position: u = x / tile, v = y / tile (ground), or for walls the
// horizontal distance and the height.
void planarUV(MeshData& mesh, float tile);
// Texture coordinates per face by its dominant axis (box mapping), scaled by 1 / tile.
void boxUV(MeshData& mesh, float tile);
// Multiplies every vertex colour by a factor that falls from 1 at zTop to `low` at zBottom,
// a cheap ambient occlusion towards the ground.
void darkenBelow(MeshData& mesh, float zBottom, float zTop, float low);

} // namespace mkscenes

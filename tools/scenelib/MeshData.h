#pragma once

// Mesh geometry built in code: primitives (box, plane, cylinder, sphere), transformed, painted
// with per-vertex colour and merged into one mesh. Triangles turn counter-clockwise seen from
// the side their normals face (the renderer culls back faces). Texture coordinates are u, v
// (channel 0). Primitives are centred on the origin; the park's z axis points up.

#include "core/VectorMath.h"
#include "render/Engine2Scene.h"

#include <vector>

namespace scenelib {

// Up to four bones moving one vertex; bone indices are the scene's (SceneBuilder::boneIndex),
// weights sum to 1.
struct Influence {
    int bone[4] = {0, 0, 0, 0};
    float weight[4] = {0, 0, 0, 0};
};

// Triangles drawn with one material (an index returned by SceneBuilder::addMaterial).
struct MeshPart {
    int material = 0;
    std::vector<Engine2Scene::int3> triangles;
};

struct MeshData {
    std::vector<float3> xyz;
    std::vector<float3> normal;
    std::vector<float3> color; // empty, or one per vertex
    std::vector<float3> uv;    // empty, or one per vertex (u, v, 0)
    std::vector<Influence> skin; // empty, or one per vertex (skinned meshes)
    std::vector<MeshPart> parts;

    int vertexCount() const { return int(xyz.size()); }
    int triangleCount() const;
    // Appends a vertex with its normal and texture coordinate; returns its index.
    int addVertex(float3 position, float3 normal, float u, float v);
};

// ---- primitives: one part with material 0, no colours
// A box of width (x), depth (y) and height (z): 24 vertices, flat normals, each face's
// texture covering 0..1, 12 triangles.
MeshData box(float width, float depth, float height);
// A plane in z = 0 facing +z, sizeX by sizeY, its texture repeated `tiling` times each way.
MeshData plane(float sizeX, float sizeY, float tiling = 1);
// A closed cylinder around the z axis from -height/2 to +height/2, smooth sides, flat caps.
MeshData cylinder(float radius, float height, int segments = 16);
// A sphere of rings x segments quads (the poles as triangles), smooth normals.
MeshData sphere(float radius, int rings = 8, int segments = 16);

// ---- changes
// Positions by the matrix, normals by its inverse transpose (renormalised); a mirroring
// matrix turns the triangles round so they keep facing out.
MeshData transformed(MeshData mesh, const float4x4& matrix);
// Every vertex coloured so (the material's diffuse colour should then be white).
MeshData painted(MeshData mesh, float3 colour);
// Every part drawn with the material.
MeshData withMaterial(MeshData mesh, int material);
// Every vertex moved by one bone alone.
MeshData boundToBone(MeshData mesh, int bone);
// Merges piece into mesh: its vertices appended, its parts joined to the parts of the same
// material. Colours, coordinates and skins missing on one side are filled (white, 0, no bone).
void append(MeshData& mesh, const MeshData& piece);

} // namespace scenelib

#pragma once

// The ".3dn" scene loader: reads a scene file (and its ".xml" side file) into an Object - the
// node tree in pre-order with local matrix tracks, bones, lights, cameras, meshes with their
// device buffers, materials and textures - reporting its progress in the object's progress
// word. Runs on the background loader's thread; every device call becomes a render-thread task.

#include "core/VectorMath.h"
#include "render/Engine2Scene.h"
#include "render/device.h"
#include "render/object.h"

#include <mutex>
#include <string>
#include <vector>


// Fills the (unloaded) object from the scene file; false when the file cannot be read, is empty
// or damaged (the object stays unloaded, its progress words 0).
bool load_3dn(Object& object, const char* path);

// Appends node and its subtree to preorder in pre-order, with a size slot per node; returns
// the subtree's size (the node itself included).
int node_preorder(const Engine2Scene& scene, int node, std::vector<int>& preorder, std::vector<int>& sizes);
// Tangents of every vertex buffer a mesh uses, from texture channel 0.
void compute_tangents(Engine2Scene& scene);
// Centroid, bounding sphere and box of the positions; nothing for no positions.
void compute_bounds(Object::Bounds& bounds, const std::vector<float3>& positions);
// Each point becomes (x, y, z, 1) * m (row-major, translation in row 3).
void transform_points(const float4x4& m, std::vector<float3>& points);
// Gauss-Jordan inverse with partial pivoting; its fourth column is set to (0, 0, 0, 1).
// "INVERSE FAILED!" when a column has no pivot (the result is then what was reached).
void invert_matrix(float4x4& out, const float4x4& in);
float4x4 invert_matrix(const float4x4& in);
// Diagnostic: the node tree below node with materials and bones.
void dump_node_tree(const Engine2Scene& scene, int node, int depth);

// The process-wide cache of textures read from files beside scenes, keyed by path. An object's
// file record points at the use count of its entry; the lock guards counts and textures.
struct TextureCacheEntry {
    texture_t_opaque* texture = nullptr;
    int use_count = 0;
};
std::mutex& texture_cache_lock();
// The entry of a path (made empty when missing); call under the lock.
TextureCacheEntry& texture_cache_entry(const std::string& path);

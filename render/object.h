#pragma once

// One 3D scene loaded from a ".3dn" scene file: a node tree with per-frame local matrices, the
// meshes hung on nodes (device vertex and index buffers, and for skinned meshes the rest pose
// that software skinning starts from), bones, lights, cameras, materials, textures and the
// texture files they use. The game holds it as CRender::Object; the background loader fills it
// on its thread (load), the main thread samples it and queues draws.
//
// Conventions:
// - Node matrices are float4x3: three rows of four, translation in the fourth column; they
//   transform column vectors (p' = R p + t), and products compose right to left. A node's world
//   matrix is its parent's world matrix times its local matrix.
// - A link from a node to a mesh, bone, light or camera is an index into that list; 0 is
//   "none" and element 0 of each list is never linked.
// - Node 0 is the root (identity matrix). Nodes are in pre-order: a parent comes before its
//   children, and a subtree is contiguous from its root on (subtree_size counts the root).
// - A track holds one value per key frame; times are in frames (frame f at time f).
//
// Sections: records - the object (data, loading, queries, animation, drawing) - helpers.
// The operations live in object.cpp (loading, queries), object_animation.cpp,
// object_draw.cpp and object_3dn_loader.cpp (the scene loader).

#include "core/VectorMath.h"
#include "render/CRender.h"
#include "render/device.h"
#include "render/vertex_packing.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

class Render;
struct RenderArgs3D;

class Object {
public:
    // ---- records

    struct Node {
        int16_t layer = 0;
        std::string name;
        std::string user_text;
        int16_t parent = 0;
        int16_t subtree_size = 1;
        std::vector<int16_t> children;   // in scene order
        std::vector<float4x3> matrices;  // the node's distinct local matrices
        std::vector<int32_t> frame_index; // per key frame, the index into matrices
        float4x3 inverse_bind;           // inverse bind-pose matrix, for skinning
        int16_t light = 0;
        int16_t camera = 0;
        int16_t mesh = 0;
        int16_t bone = 0;
    };

    struct SubMesh {
        vbuffer_t_opaque* index_buffer = nullptr; // 32-bit indices, absolute in the mesh's buffers
        int32_t prim = Device::tri_list;
        int32_t start = 0;
        int32_t count = 0;      // indices
        int32_t min_index = 0;  // smallest vertex index used
        int32_t max_index = 0;  // largest vertex index used
        int32_t material = 0;   // index into materials
    };

    struct MeshInternals {
        // Rest pose of one vertex for software skinning.
        struct alignas(16) swskin_vertex {
            float position[4]; // x, y, z; the fourth is not used
            float normal[4];   // x, y, z; the fourth is not used
            float weight[4];
            uint32_t bone[4];  // indices into the bone-matrix array
        };
    };
    typedef MeshInternals::swskin_vertex swskin_vertex;

    // Centroid, bounding sphere (centre, radius) and box of a mesh's rest-pose positions.
    struct Bounds {
        float3 centroid;
        float3 center;
        float radius = 0;
        float3 box_min;
        float3 box_max;
    };

    // One figure's skinned vertices: the buffer, and the bone-matrix array (with the count of
    // arrays handed out when it was made) it was last skinned with.
    struct SkinSlot {
        vbuffer_t_opaque* buffer = nullptr;
        const void* stamp = nullptr;
        uint32_t epoch = 0;
    };

    struct Mesh {
        std::vector<VertexInfo> streams;          // the vertex elements a draw hands the device
        vbuffer_t_opaque* static_vb = nullptr;   // elements that do not change
        vbuffer_t_opaque* dynamic_vb = nullptr;  // positions and normals rewritten by skinning
        int32_t first_index = 0;                 // first vertex of the mesh in its buffers
        int32_t last_index = 0;                  // last vertex (inclusive)
        int32_t swskinned = 0;                   // skinned on the processor (apply_skinning)
        int32_t has_colors = 0;                  // per-vertex colours (stream usage 6)
        std::vector<swskin_vertex> swskin_data;  // one per vertex first_index..last_index
        // Skinned positions and normals of the figures drawn in one frame, one buffer each,
        // kept from frame to frame and rewritten in place (see apply_skinning). The first is
        // dynamic_vb itself; the others are made when a frame first draws that many figures.
        std::vector<SkinSlot> skin_slots;
        uint32_t skin_frame = 0;                 // the frame skin_used counts in
        int32_t skin_used = 0;                   // slots taken in that frame
        int32_t billboard = 0;                   // 0 none, 1 billboard, 2/3/4 about x/y/z
        std::vector<SubMesh> submeshes;          // one per triangle list
        std::vector<float> visibility;           // per-frame visibility track
        int32_t skinned = 0;                     // the scene marks the mesh skinned
        int32_t no_fog = 0;                      // drawn without fog
        int32_t root_bone = 0;                   // its bone whose node comes first
        Bounds bounds;
        float3 pivot;                            // (0, 0, 0)
    };

    struct Bone {
        int16_t node = 0;
    };

    struct Light {
        std::vector<float3> color; // colour track
        float ambient = 1, diffuse = 1, specular = 0, glow = 0; // multipliers of the colour
        // Fog type (-1 the light is no fog; 0 linear, 1 exponential, 2 squared exponential),
        // fog min, fog max, spare. A type of 0 or more makes the light the scene's fog.
        float fog[4] = {-1, 0, 0, 0};
        // Attenuation constant, linear, quadratic, range.
        float decay[4] = {0.833333313f, 0, 0.0065f, 1e10f};
        int32_t projector = 0;
        float projection[16] = {}; // row-major
    };

    struct Camera {
        std::vector<float> fov; // vertical fields of view in degrees, per frame
    };

    // Texture-map slots of a material; slot k's first word is a texture index (0 = none).
    enum {
        slot_diffuse = 1,
        slot_lightmap = 2,
        slot_envmask = 3,
        slot_specular = 4,
        slot_selfillum = 5,
        slot_dudv = 6,
        slot_normal = 8,
        slot_environment = 9,
    };

    struct Material {
        std::string name;
        int32_t slots[16][16] = {}; // the scene's 64-byte slot records; word 0 is the texture
        float diffuse[3] = {0, 0, 0};
        float opacity = 0;          // below 1 the material is drawn see-through
        float ambient[3] = {0, 0, 0};
        float specular[3] = {0, 0, 0};
        float specular_power = 0;
        float specular_level = 0;
        int32_t flag = 0;           // the scene material's first word is 1; for a material
                                    // with a first transparency entry: alpha-tested when set,
                                    // blended when not
        int32_t transparency[2] = {}; // texture-map references of slots 7 and 10: non-zero
                                      // marks a diffuse texture with cut-out (alpha) texels
        int32_t no_light = 0;       // the name holds "NO_LIGHT": drawn unlit

        // Texture index of a slot (slot_*), 0 = none.
        int texture(int slot) const { return slot >= 0 && slot < 16 ? slots[slot][0] : 0; }
        // Texture index of map kind k = 0..7: diffuse, lightmap, envmask, specular,
        // self-illumination, dudv, normal, environment.
        int map(int k) const;
    };

    struct Texture {
        texture_t_opaque* texture = nullptr;
        std::vector<float> uoff, voff, uscl, vscl; // animated offsets and scales

        // The texture coordinate transform at time t (row-major 4x4, for row vectors
        // (u, v, 0, 1)): shifted by the offsets and scaled about (0.5, 0.5).
        void get_matrix(float t, float out[16]) const;
    };

    struct File {
        int* use_count = nullptr; // shared texture cache entry; null: the object's own texture
        texture_t_opaque* texture = nullptr;
        int32_t loaded = 0;
    };

    // Blends another object's animation into a draw (same node count); no game caller.
    struct Blend {
        Object* source = nullptr;
        float time = 0;
        float weight = 0;
        const char* node = nullptr; // null or empty: the whole tree
    };
    typedef CRender::Object::Mixer Mixer;
    typedef CRender::Object::NodeInfo NodeInfo;

    // ---- the object

    Object();
    ~Object();
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    // Loads a ".3dn" file (any letter case) on the current render's device; the object must not
    // be loaded. Another name prints "Can't load %s: unknown format". Success: is_loaded().
    void load(const char* file_name);
    // Waits (10 ms sleeps) while queued draws pin the object, then releases its buffers,
    // textures and data.
    void unload();
    bool is_loaded() const { return device.load() != nullptr; }

    // Node index of a name (byte-wise, case-sensitive), -1 when absent or not loaded; a null
    // name gives the node count. The root is never found by name.
    int find_node(const char* name) const;
    // Name, user text, flags (1 mesh, 2 camera, 4 bone, 8 light), parent and layer of a node.
    bool get_node_info(int node, NodeInfo* out);
    // Geometry export in world space (node matrices at time 0). Layer -1: every layer.
    void count_geometry(int layer, int* vertices, int* triangles);
    void count_node_geometry(int node, int* vertices, int* triangles);
    void get_geometry(int layer, float3* vertices, int* triangles, int base);
    void get_node_geometry(int node, float3* vertices, int* triangles, int base);
    // Makes a scene camera the render's camera (null or empty name: the first camera node).
    void set_camera(Render* render, float t, const char* name);
    // A camera's 4x4 matrix (row-major) and vertical field of view; false when there is none.
    bool get_camera(float t, const char* name, float4x4* matrix, float* fov);

    // ---- animation (object_animation.cpp)

    // World matrix of a node at time t (in the object's space).
    void get_node_matrix(int node, float t, float4x3* out);
    // Node world matrices at t into out (one per node): every node needed for drawing with
    // the layer mask (bones always), or with node >= 0 that node's alone into out[0]. Slots of
    // nodes not needed keep their contents. False, writing nothing, when a blend's source
    // does not fit (missing, or another node count).
    bool update(float t, const Blend* blends, int blend_count, float4x3* out, int node,
                const char* mask);
    // update under the mutex, only when loaded.
    bool animate(float t, const Blend* blends, int blend_count, float4x3* out, int node,
                 const char* mask);
    // Skinning matrices, one per bone (bone 0 all zero), from the render's frame allocator;
    // null without node matrices.
    static float4x3* bone_matrices(Object* object, Render* render, const float4x3* nodes);

    // ---- drawing (object_draw.cpp)

    // Pins the object and queues it for the current render's frame with its node matrices at
    // time t. world: placement (object space to world space); mask: '0'/'1' per layer, null
    // for all; colour multiplies the draw. Nothing is queued when not loaded.
    void draw(const float4x3* world, float t, const Blend* blends, int blend_count,
              const char* mask, const Mixer* mixers, int mixer_count, const float4* colour);
    // draw with the world matrix built from a position and angles a, b, c (radians): the
    // transpose of Rx(a) Ry(b) Rz(c), translated to (x, y, z).
    void draw_rotated(float x, float y, float z, float a, float b, float c, float t,
                      const Blend* blends, int blend_count, const char* mask, const Mixer* mixers,
                      int mixer_count, const float4* colour);
    // Skins a software-skinned mesh once per bone-matrix array (stamp) into that figure's
    // buffer of the frame, and returns the buffer to draw the mesh's skinned streams from
    // (dynamic_vb for a mesh not skinned in software); bones null writes the rest pose.
    static vbuffer_t_opaque* apply_skinning(Mesh* mesh, Device* device, const float4x3* bones, const void* stamp);
    // Ends a frame of skinning: the next frame hands the figures' buffers out from the first.
    static void end_skinning_frame();
    // The skinning loop: writes positions at dest and normals at dest + normal_offset (none
    // when negative), one stride apart; returns the vertex count.
    static int skin_vertices(const Mesh* mesh, const float4x3* bones, unsigned char* dest,
                             int normal_offset, int stride);
    // The renderer's end of a pin: one queued draw has been rendered.
    void unpin();

    // ---- data
    std::atomic<Device*> device{nullptr}; // the device loaded for; non-null = loaded
    std::atomic<int> progress{0};         // load progress, 0 up to total
    std::atomic<int> total{0};            // 1000 once a load has started
    std::mutex mutex;                     // guards in_use, unloading and get_node_info/matrix
    int in_use = 0;                       // queued draws not rendered yet
    float fps = 0;                        // the scene's frames per second
    int frame_count = 0;
    int layer_count = 0;                  // highest node layer + 1
    std::vector<Node> nodes;              // pre-order
    std::vector<int16_t> name_order;      // nodes but the root, by name
    std::vector<Mesh> meshes;
    std::vector<Bone> bones;
    std::vector<Light> lights;
    std::vector<Camera> cameras;
    std::vector<Material> materials;
    int options = 0;                      // the side file's result
    std::vector<vbuffer_t_opaque*> vertex_buffers; // every vertex buffer the object owns
    std::vector<Texture> textures;
    std::vector<File> files;
    std::string name;

private:
    // get_node_matrix without the lock (the caller holds it or the object is pinned).
    void node_matrix(int node, float t, float4x3* out) const;
};

// The record Object::draw hands to Render::build_object_args.
struct RenderArgs3D {
    Object* object = nullptr;
    float4x3 world;                       // object space to world space
    const float4x3* nodes = nullptr;      // node world matrices, frame allocator
    const char* mask = nullptr;           // '0'/'1' per layer, or null
    int mask_length = 0;
    const Object::Mixer* mixers = nullptr; // texture substitutions
    int mixer_count = 0;
    float time = 0;                       // animation time (frames)
    float4 color;                         // r, g, b, a multiplier
};

// ---- helpers shared by the animation and the loader

// A track sampled at time t: keys k and k + 1 blended, k = int(t) mod (n - 1); an empty track
// gives 0, a negative time counts as 0.
void frame_interpolate(const std::vector<float>& track, float t, float& out);
void frame_interpolate(const std::vector<float3>& track, float t, float3& out);
// A node's local matrix at (frame, fraction) from its distinct matrices and frame index.
void interpolate_node_matrix(const std::vector<float4x3>& matrices, const std::vector<int32_t>& index,
                             int frame, float f, float4x3& out);
// a * b for affine 3x4 matrices.
float4x3 affine_mul(const float4x3& a, const float4x3& b);
float4x3 identity4x3();

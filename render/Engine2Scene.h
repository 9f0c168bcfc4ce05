#pragma once

// The in-memory form of one scene file: embedded files, texture maps, materials, vertex and
// triangle buffers, meshes, bones, nodes, cameras, lights and helpers with their animation
// tracks. Plain data; scene_file.h maps it to and from the record container.
//
// Links between elements are indices into the scene's lists of that kind; as a link, index 0
// means "none" for nodes, meshes, bones, cameras, lights and files. A track holds one value per
// key frame (matrices are world matrices, row-major, row vectors, translation in row 3).
// Every record's name on file is its member's name unless noted.

#include "core/VectorMath.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct Engine2Scene {
    // One triangle's vertex indices.
    struct int3 {
        int32_t a = 0, b = 0, c = 0;
    };

    // An embedded file (a texture image), or a link to one beside the scene ("!name", no data).
    struct File {
        std::string file_name;
        std::vector<char> data;
        std::vector<char> data6[6]; // records "data6[0]" .. "data6[5]"
        int32_t only_link = 0;
    };

    struct TextureMap {
        float amt = 0;
        std::vector<float> uoff, voff, uscl, vscl, blur, bluroff;
        int32_t chanel = 0, umirror = 0, utille = 0, vmirror = 0, vtille = 0;
        std::string name;
        int32_t file = 0;
        int32_t autogencube = 0;
    };

    struct Material {
        // The texture-map block: 24 slots of 16 words; the first word of a slot is its
        // texture-map reference (0 = none).
        static constexpr int slot_count = 24;
        static constexpr int slot_words = 16;

        // 28 words stored and copied unchanged; their meaning belongs to the renderer.
        struct MaxMat {
            int32_t words[28] = {};

            float get_float(int i) const
            {
                float f;
                std::memcpy(&f, &words[i], 4);
                return f;
            }
            void set_float(int i, float f) { std::memcpy(&words[i], &f, 4); }
        };

        std::string name;
        int32_t texture_map[slot_count * slot_words] = {}; // record "texture_map", 1536 bytes
        int32_t shader_file = 0;
        std::vector<MaxMat> maxmat;

        int32_t& slot(int i) { return texture_map[slot_words * i]; }
        int32_t slot(int i) const { return texture_map[slot_words * i]; }
    };

    // One value per vertex in each list.
    struct VertexBuffer {
        std::vector<float3> xyz, normal, binormal, tangent, color;
        std::vector<float3> uvw[16];  // records "uvw0" .. "uvw15"; u and v in x and y
        std::vector<float> illumination, alpha;
        std::vector<float> weight[16]; // records "weight0" .. "weight15"
        std::vector<int32_t> bone[16]; // records "bone0" .. "bone15": bone indices, 0 = none
    };

    struct TriangleBuffer {
        float3 color;
        int32_t vertexbuffer = 0;
        // Triangle lists, stored as "triangle_ile" (the count) and "triangle0", "triangle1", ...
        std::vector<std::vector<int3>> triangle;
        std::vector<int32_t> material; // one material index per list
    };

    struct Mesh {
        std::string name;
        int32_t node = 0;
        int32_t is_skined = 0;
        int32_t is_moving = 0;
        std::vector<float> visibility;
        std::vector<float4x4> matrix;
        float4x4 inv0_matrix;
        int32_t trianglebuffer = 0;
    };

    struct Bone {
        std::string name;
        int32_t node = 0;
        std::vector<float4x4> matrix;
        float4x4 inv0_matrix;
        std::vector<float3> dimension, center, anchor, rotation;
        float width = 0, height = 0, taper = 0;
    };

    struct Node {
        std::string name, type, xref_file_name, user_text;
        int32_t parent = 0;
        std::vector<int32_t> subnode;
        int32_t layer_number = 0, is_xref = 0, is_hide = 0, is_frozen = 0, is_renderable = 0, is_group = 0;
        int32_t mesh = 0, bone = 0, camera = 0, light = 0, helper = 0;
        int32_t wire_color = 0;
        std::vector<float> image_multiplier;
        std::vector<float4x4> matrix;
        float4x4 inv0_matrix;
    };

    struct Camera {
        int32_t node = 0;
        std::vector<float4x4> matrix;
        std::vector<float> fov_deg; // horizontal field of view in degrees
        std::vector<float> near_clip, far_clip;
    };

    struct Light {
        int32_t node = 0, is_omni = 0, is_direct = 0, is_spot = 0, type = 0, texture = 0, shadows = 0, on = 0,
                decay_start_stop = 0, decay_inv = 0, decay_inv_sqrt = 0;
        float aspect = 0, AtmosColAmt = 0, AtmosOpacity = 0, Contrast = 0, DiffuseSoft = 0;
        int32_t spot_circle = 0, spot_rectangle = 0, affect_difuse = 0, affect_specular = 0, affect_ambient = 0,
                LightAffectsShadow = 0, AtmosShadows = 0, ShadowType = 0, Overshoot = 0, ConeDisplay = 0;
        std::vector<float> angle_small, angle_big, near_atten_start, near_atten_end, far_atten_start, far_atten_end,
            decay_start;
        std::vector<int32_t> excluded;
        std::vector<float3> color, color_shadow;
        std::vector<float> multiply;
        std::vector<float> multiply2; // stored as a second record "multiply"
        std::vector<float4x4> matrix;
    };

    // Typed property lists, each a list of names and a list of values.
    struct Helper {
        std::string type;
        std::vector<std::string> pn_node;
        std::vector<int32_t> p_node;
        std::vector<std::string> pn_int;
        std::vector<int32_t> p_int;
        std::vector<std::string> pn_float;
        std::vector<float> p_float;
        std::vector<std::string> pn_string;
        std::vector<std::string> p_string;
        std::vector<std::string> pn_float3;
        std::vector<float3> p_float3;
        std::vector<std::string> pn_float4;
        std::vector<float4> p_float4;
        std::vector<std::string> pn_float3x3;
        std::vector<float3x3> p_float3x3;
    };

    std::string comments;
    float Frames = 0; // the animation's frame count
    float Fps = 0;
    std::vector<VertexBuffer> vertexbuffer;
    std::vector<TriangleBuffer> trianglebuffer;
    std::vector<Mesh> mesh;
    std::vector<Bone> bone;
    std::vector<Node> node;
    std::vector<Material> material;
    std::vector<TextureMap> texture_map;
    std::vector<File> file;
    std::vector<Camera> camera;
    std::vector<Light> light;
    std::vector<Helper> helper;
};

// The ".3dn" scene loader. It reads the scene and its side file, rebuilds the node tree in
// pre-order with local matrix tracks, converts bones, lights and cameras, packs every mesh's
// vertices into device buffers with index buffers per triangle list, and loads materials and
// textures (files beside the scene through a process-wide cache). A one-letter trace per stage
// goes to standard output: "Load(<path>): DXETMRILCtVmAx lc=<progress>".
//
// Scene files hold world matrices, row-major for row vectors (p' = p M, translation in row 3);
// the object holds local matrices as float4x3 for column vectors, the transpose.
//
// Sections: matrix helpers - tree and geometry helpers - stages of a load - load_3dn - texture
// cache - diagnostics.

#include "render/object_3dn_loader.h"

#include "core/Assert.h"
#include "render/device_gl.h"
#include "render/image.h"
#include "render/object.h"
#include "render/render.h"
#include "render/scene_file.h"
#include "render/scene_side_file.h"

#include <tinyxml.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>

namespace {

// ---- matrix helpers

const float kPi = 3.14159265358979f;

float4x4 identity4x4()
{
    float4x4 m;
    m.m[0][0] = m.m[1][1] = m.m[2][2] = m.m[3][3] = 1;
    return m;
}

float4x4 mul4x4(const float4x4& a, const float4x4& b)
{
    float4x4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] +
                        a.m[i][3] * b.m[3][j];
    return r;
}

// A scene matrix (row vectors) as a float4x3 for column vectors: row r = column r.
float4x3 to4x3(const float4x4& m)
{
    float4x3 r;
    for (int row = 0; row < 3; ++row)
        for (int c = 0; c < 4; ++c)
            r.m[row][c] = m.m[c][row];
    return r;
}

void stage(const char* letter)
{
    std::printf("%s", letter);
    std::fflush(stdout);
}

// ---- tree and geometry helpers

// The node's matrix track and inverse bind matrix: its own, or that of the mesh, bone, camera
// or light it links (the last of these winning; a camera keeps the inverse chosen before it,
// a light has none).
void choose_matrices(const Engine2Scene& scene, const Engine2Scene::Node& node,
                     const std::vector<float4x4>*& track, float4x4& inverse)
{
    track = &node.matrix;
    inverse = node.inv0_matrix;
    if (node.mesh) {
        track = &scene.mesh[node.mesh].matrix;
        inverse = scene.mesh[node.mesh].inv0_matrix;
    }
    if (node.bone) {
        track = &scene.bone[node.bone].matrix;
        inverse = scene.bone[node.bone].inv0_matrix;
    }
    if (node.camera)
        track = &scene.camera[node.camera].matrix;
    if (node.light) {
        track = &scene.light[node.light].matrix;
        inverse = identity4x4();
    }
}

bool contains(const std::string& text, const char* part)
{
    return text.find(part) != std::string::npos;
}

// Layers of file data fit the object's 16-bit layer field; a negative one counts as layer 0.
int16_t clamp_layer(int32_t layer)
{
    return int16_t(std::min(std::max(layer, 0), 32767));
}

// ---- stages of a load

struct LoadState {
    Object& obj;
    Engine2Scene& scene;
    Device* device;
    int features;
    std::string path;
    std::vector<int> preorder;    // scene node index per object node
    std::vector<int> sizes;       // subtree sizes, per object node
    std::vector<int> object_of;   // object node index per scene node
    std::vector<const std::vector<float4x4>*> tracks; // chosen world track per object node
    // Per mesh: its two packers, whether it has buffers of its own, and the blend streams of
    // hardware-skinned meshes (alive until the shared buffers are written).
    std::vector<buffer_packer> static_packers;
    std::vector<buffer_packer> dynamic_packers;
    std::vector<char> own;
    std::vector<std::vector<float>> blend_weights;
    std::vector<std::vector<int32_t>> blend_indices;

    LoadState(Object& o, Engine2Scene& s, Device* d, int f, const char* p)
        : obj(o), scene(s), device(d), features(f), path(p)
    {
    }
};

void build_preorder(LoadState& st)
{
    const Engine2Scene& scene = st.scene;
    st.preorder.assign(1, 0);
    st.sizes.assign(1, 0);
    int s = 1;
    for (size_t i = 1; i < scene.node.size(); ++i)
        if (scene.node[i].parent == 0)
            s += node_preorder(scene, int(i), st.preorder, st.sizes);
    st.sizes[0] = s;
    PP_ASSERT(st.preorder.size() == st.scene.node.size());
    PP_ASSERT(s == (int)st.scene.node.size());
    st.object_of.assign(scene.node.size(), -1);
    for (size_t k = 0; k < st.preorder.size(); ++k) {
        PP_ASSERT(st.object_of[st.preorder[k]] < 0);
        st.object_of[st.preorder[k]] = int(k);
    }
}

void build_nodes(LoadState& st)
{
    Object& obj = st.obj;
    const Engine2Scene& scene = st.scene;
    const size_t n = scene.node.size();
    obj.nodes.assign(n, Object::Node());
    st.tracks.assign(n, nullptr);
    for (size_t k = 0; k < n; ++k) {
        float4x4 inverse;
        choose_matrices(scene, scene.node[st.preorder[k]], st.tracks[k], inverse);
        obj.nodes[k].inverse_bind = to4x3(inverse);
    }
    ++obj.progress;
    stage("M");

    std::map<std::string, int> names;
    int max_layer = 0;
    for (size_t k = 1; k < n; ++k) {
        const Engine2Scene::Node& sn = scene.node[st.preorder[k]];
        Object::Node& node = obj.nodes[k];
        node.layer = clamp_layer(sn.layer_number);
        max_layer = std::max(max_layer, int(node.layer));
        node.name = sn.name;
        node.user_text = sn.user_text;
        node.parent = int16_t(st.object_of[sn.parent]);
        node.mesh = int16_t(sn.mesh);
        node.bone = int16_t(sn.bone);
        node.light = int16_t(sn.light);
        node.camera = int16_t(sn.camera);
        auto found = names.find(sn.name);
        if (found != names.end() && found->second != 0)
            std::printf("ERROR: DUPLICATE NODE %s in file %s\n", sn.name.c_str(), st.path.c_str());
        names[sn.name] = int(k);
        for (int32_t c : sn.subnode)
            if (c != 0)
                node.children.push_back(int16_t(st.object_of[c]));
        node.subtree_size = int16_t(st.sizes[k]);

        // Local track: the world track against the parent's.
        const std::vector<float4x4>& w = *st.tracks[k];
        const std::vector<float4x4>& p = *st.tracks[node.parent];
        node.matrices.clear();
        // One matrix a frame of the node's own track: reserved at its size, since a vector grown
        // by push_back keeps up to twice the room for the whole life of the scene.
        node.matrices.reserve(w.size());
        if (node.parent == 0) {
            for (const float4x4& m : w)
                node.matrices.push_back(to4x3(m));
            obj.nodes[0].children.push_back(int16_t(k));
        } else if (p.size() == 1) {
            const float4x4 q = invert_matrix(p[0]);
            for (const float4x4& m : w)
                node.matrices.push_back(to4x3(mul4x4(m, q)));
        } else if (w.size() == 1) {
            node.matrices.push_back(to4x3(mul4x4(w[0], invert_matrix(p[0]))));
        } else {
            const std::vector<float4x4>* matrix = &w;
            const std::vector<float4x4>* pmatrix = &p;
            PP_ASSERT(matrix->size() == pmatrix->size());
            for (size_t f = 0; f < w.size(); ++f)
                node.matrices.push_back(to4x3(mul4x4(w[f], invert_matrix(p[f]))));
        }
    }
    stage("R");
    ++obj.progress;

    obj.name_order.clear();
    for (const auto& entry : names)
        obj.name_order.push_back(int16_t(entry.second));
    obj.nodes[0].subtree_size = int16_t(st.sizes[0]);
    obj.nodes[0].matrices.assign(1, identity4x3());
    for (Object::Node& node : obj.nodes) {
        node.frame_index.resize(node.matrices.size());
        for (size_t f = 0; f < node.matrices.size(); ++f)
            node.frame_index[f] = int32_t(f);
    }
    obj.layer_count = max_layer + 1;
    stage("I");
}

// Light options in the node name, acting in the order of their positions: "!glo=", "!amb=",
// "!dif=", "!spc=" set the factors; "!fog" makes the light a fog definition and from there on
// "min=", "max=" and "type=lin|exp|exp2" set the fog.
void apply_light_options(Object::Light& light, const std::string& name)
{
    bool fog = false;
    const char* s = name.c_str();
    for (size_t p = 0; p < name.size(); ++p) {
        const char* at = s + p;
        if (!std::strncmp(at, "!glo=", 5))
            light.glow = float(std::atof(at + 5));
        if (!std::strncmp(at, "!amb=", 5))
            light.ambient = float(std::atof(at + 5));
        if (!std::strncmp(at, "!dif=", 5))
            light.diffuse = float(std::atof(at + 5));
        if (!std::strncmp(at, "!spc=", 5))
            light.specular = float(std::atof(at + 5));
        if (!std::strncmp(at, "!fog", 4)) {
            fog = true;
            light.ambient = light.diffuse = light.specular = light.glow = 0;
            light.fog[0] = 0;
            light.fog[1] = 0;
            light.fog[2] = 100.0f;
            light.fog[3] = 0;
        }
        if (!fog)
            continue;
        if (!std::strncmp(at, "min=", 4))
            light.fog[1] = float(std::atof(at + 4));
        if (!std::strncmp(at, "max=", 4))
            light.fog[2] = float(std::atof(at + 4));
        if (!std::strncmp(at, "type=lin", 8))
            light.fog[0] = 0;
        if (!std::strncmp(at, "type=exp", 8))
            light.fog[0] = 1.0f;
        if (!std::strncmp(at, "type=exp2", 9))
            light.fog[0] = 2.0f;
    }
}

void build_lights(LoadState& st)
{
    for (const Engine2Scene::Light& sl : st.scene.light) {
        Object::Light light;
        const std::vector<float3>& c = sl.color;
        const std::vector<float>& m = sl.multiply;
        auto scaled = [](float3 v, float k) { return float3(v.x * k, v.y * k, v.z * k); };
        if (c.size() == 1) {
            for (float k : m)
                light.color.push_back(scaled(c[0], k));
        } else if (m.size() == 1) {
            for (const float3& v : c)
                light.color.push_back(scaled(v, m[0]));
        } else {
            for (size_t i = 0; i < std::min(c.size(), m.size()); ++i)
                light.color.push_back(scaled(c[i], m[i]));
        }
        if (light.color.empty())
            light.color.push_back(float3(1, 1, 1));

        const float s = sl.decay_inv && !sl.far_atten_start.empty() ? sl.far_atten_start[0] : 0;
        const float e = sl.decay_inv && !sl.far_atten_end.empty() ? sl.far_atten_end[0] : 0;
        // Attenuation needs a fading distance (end beyond start): without one the defaults hold.
        if (!sl.decay_inv || !(e > s) || !(s >= 0) || !std::isfinite(e)) {
            std::printf("light %f %f %f\n", light.decay[2], light.decay[1], light.decay[0]);
        } else {
            const float ratio = e < 32 * s ? e / s : 32;
            const float linear = (ratio - 1) / (e - s);
            light.decay[1] = linear;
            light.decay[0] = 1 - s * linear;
            light.decay[2] = 0;
            light.decay[3] = e;
            std::printf("light %f %f %f %f %f %f\n", s, e, ratio, light.decay[2], light.decay[1],
                        light.decay[0]);
        }

        if (sl.shadows && sl.is_spot && !sl.angle_big.empty()) {
            const float t = std::tan(sl.angle_big[0] * kPi / 360.0f);
            // A cone of no width, or none at all, projects nothing.
            if (t != 0 && std::isfinite(t)) {
                const float aspect = sl.aspect != 0 && std::isfinite(sl.aspect) ? sl.aspect : 1.0f;
                light.projector = 1;
                light.projection[0] = (1 / t) / aspect;
                light.projection[5] = 1 / t;
                light.projection[10] = -1.00200403f;
                light.projection[11] = -2.00400805f;
                light.projection[14] = -1.0f;
                light.projection[15] = 0;
            }
        }
        apply_light_options(light, st.scene.node[sl.node].name);
        st.obj.lights.push_back(light);
    }
    stage("L");
    ++st.obj.progress;
}

void build_cameras(LoadState& st)
{
    for (const Engine2Scene::Camera& sc : st.scene.camera) {
        Object::Camera camera;
        // Horizontal field of view (degrees) to vertical on a 4:3 frame.
        for (float h : sc.fov_deg)
            camera.fov.push_back(float(std::atan(0.75 * std::tan(h * 3.14159265358979 / 360.0)) *
                                       114.59155902616465));
        st.obj.cameras.push_back(camera);
    }
    st.obj.progress = 200;
    stage("C");
}

// Streams, own buffers and the software-skinning rest pose of mesh i.
void build_mesh_vertices(LoadState& st, size_t i)
{
    Object& obj = st.obj;
    Engine2Scene::Mesh& sm = st.scene.mesh[i];
    Engine2Scene::VertexBuffer& vb =
        st.scene.vertexbuffer[st.scene.trianglebuffer[sm.trianglebuffer].vertexbuffer];
    obj.meshes.emplace_back();
    Object::Mesh& mesh = obj.meshes.back();

    // A mesh that is not skinned is moved into its bind pose.
    if (!sm.is_skined) {
        transform_points(sm.inv0_matrix, vb.xyz);
        float4x4 rotation = sm.inv0_matrix;
        rotation.m[3][0] = rotation.m[3][1] = rotation.m[3][2] = 0;
        transform_points(rotation, vb.normal);
        transform_points(rotation, vb.tangent);
    }

    const bool bone_data = !vb.bone[0].empty() && !vb.weight[0].empty();
    if (bone_data) {
        if (!(st.features & Device::feature_hw_skinning))
            mesh.swskinned = 1;
        int best = -1;
        for (int c = 0; c < 4; ++c)
            for (int32_t b : vb.bone[c]) {
                if (b == 0)
                    continue;
                if (best < 0 ||
                    st.object_of[st.scene.bone[b].node] < st.object_of[st.scene.bone[best].node])
                    best = b;
            }
        mesh.root_bone = best < 0 ? 0 : best;
    }
    mesh.pivot = float3(0, 0, 0);

    buffer_packer& stat = st.static_packers[i];
    buffer_packer& dyn = st.dynamic_packers[i];
    buffer_packer& moving = mesh.swskinned ? dyn : stat;
    if (!vb.xyz.empty())
        moving.add(vi_float, 3, vi_position, 0, vb.xyz.data(), uint32_t(vb.xyz.size()), 12);
    if (!vb.normal.empty())
        moving.add(vi_float, 3, vi_normal, 0, vb.normal.data(), uint32_t(vb.normal.size()), 12);
    if (!vb.color.empty())
        stat.add(vi_float, 3, vi_color, 0, vb.color.data(), uint32_t(vb.color.size()), 12);
    if ((st.features & Device::feature_tangents) && !vb.tangent.empty())
        moving.add(vi_float, 3, vi_tangent, 0, vb.tangent.data(), uint32_t(vb.tangent.size()), 12);
    for (int ch = 0; ch < 8; ++ch)
        if (!vb.uvw[ch].empty())
            stat.add(vi_float, 2, vi_texcoord, ch, vb.uvw[ch].data(), uint32_t(vb.uvw[ch].size()), 12);

    // Four influences per vertex from channels 0..3; a vertex beyond a channel's lists has none.
    const size_t vertices = vb.xyz.size();
    auto influence = [&](size_t v, int c, float& w, int32_t& b) {
        if (v < vb.weight[c].size() && v < vb.bone[c].size()) {
            w = vb.weight[c][v];
            b = vb.bone[c][v];
        } else {
            w = 0;
            b = 0;
        }
    };
    if (bone_data && !mesh.swskinned) {
        std::vector<float>& weights = st.blend_weights[i];
        std::vector<int32_t>& indices = st.blend_indices[i];
        weights.assign(vertices * 4, 0);
        indices.assign(vertices * 4, 0);
        for (size_t v = 0; v < vertices; ++v)
            for (int c = 0; c < 4; ++c)
                influence(v, c, weights[v * 4 + c], indices[v * 4 + c]);
        if (vertices) {
            stat.add(vi_float, 4, vi_blendweights, 0, weights.data(), uint32_t(vertices), 16);
            stat.add(vi_int32, 4, vi_blendindices, 0, indices.data(), uint32_t(vertices), 16);
        }
    }

    // Meshes of two or more vertices, and every software-skinned one (its dynamic range must be
    // its own), get buffers of their own; the others share one buffer per layout.
    const uint32_t count = std::max(stat.vertex_count(), dyn.vertex_count());
    if (count > 1 || mesh.swskinned) {
        st.own[i] = 1;
        mesh.static_vb = stat.pack_own(st.device, false, mesh.streams);
        mesh.dynamic_vb = dyn.pack_own(st.device, true, mesh.streams);
        if (mesh.static_vb)
            obj.vertex_buffers.push_back(mesh.static_vb);
        if (mesh.dynamic_vb)
            obj.vertex_buffers.push_back(mesh.dynamic_vb);
        mesh.first_index = 0;
        mesh.last_index = int32_t(count) - 1;
        stat.clear();
        dyn.clear();
    }

    if (mesh.swskinned) {
        mesh.swskin_data.resize(count);
        for (size_t v = 0; v < count; ++v) {
            Object::swskin_vertex& sv = mesh.swskin_data[v];
            std::memset(&sv, 0, sizeof sv);
            if (v < vb.xyz.size()) {
                sv.position[0] = vb.xyz[v].x;
                sv.position[1] = vb.xyz[v].y;
                sv.position[2] = vb.xyz[v].z;
            }
            if (v < vb.normal.size()) {
                sv.normal[0] = vb.normal[v].x;
                sv.normal[1] = vb.normal[v].y;
                sv.normal[2] = vb.normal[v].z;
            }
            for (int c = 0; c < 4; ++c) {
                int32_t b;
                influence(v, c, sv.weight[c], b);
                sv.bone[c] = uint32_t(b);
            }
            sv.weight[0] = 1 - sv.weight[1] - sv.weight[2] - sv.weight[3];
        }
    }
}

void build_meshes(LoadState& st)
{
    const size_t meshes = st.scene.mesh.size();
    st.static_packers.assign(meshes, buffer_packer());
    st.dynamic_packers.assign(meshes, buffer_packer());
    st.own.assign(meshes, 0);
    st.blend_weights.assign(meshes, std::vector<float>());
    st.blend_indices.assign(meshes, std::vector<int32_t>());
    for (size_t i = 0; i < meshes; ++i) {
        build_mesh_vertices(st, i);
        st.obj.progress = 200 + int(100 * (i + 1) / meshes);
    }

    // Shared buffers, one per layout and kind, in mesh order.
    st.obj.progress = 300;
    std::map<layout_signature, multi_packer> statics, dynamics;
    for (size_t i = 0; i < meshes; ++i) {
        statics[st.static_packers[i].get_signature()].add(&st.static_packers[i]);
        dynamics[st.dynamic_packers[i].get_signature()].add(&st.dynamic_packers[i]);
    }
    for (size_t i = 0; i < meshes; ++i) {
        Object::Mesh& mesh = st.obj.meshes[i];
        if (!st.own[i]) {
            int sf = 0, sl = 0, df = 0, dl = 0;
            statics[st.static_packers[i].get_signature()].get(st.device, false, mesh.streams,
                                                               &st.static_packers[i], mesh.static_vb, sf, sl);
            dynamics[st.dynamic_packers[i].get_signature()].get(st.device, true, mesh.streams,
                                                                &st.dynamic_packers[i], mesh.dynamic_vb, df, dl);
            const bool differ = sf != df || sl != dl;
            mesh.first_index = differ ? sf : df;
            mesh.last_index = differ ? sl : dl;
        }
        st.obj.progress = 300 + int(100 * (i + 1) / meshes);
    }
    st.obj.progress = 400;
    for (auto* map : {&statics, &dynamics})
        for (auto& entry : *map)
            if (entry.second.buffer)
                st.obj.vertex_buffers.push_back(entry.second.buffer);
}

void build_index_buffers(LoadState& st)
{
    Device_GL::SetTaskServing(1);
    stage("V");
    const size_t meshes = st.scene.mesh.size();
    for (size_t i = 0; i < meshes; ++i) {
        const Engine2Scene::Mesh& sm = st.scene.mesh[i];
        const Engine2Scene::TriangleBuffer& tb = st.scene.trianglebuffer[sm.trianglebuffer];
        const Engine2Scene::VertexBuffer& vb = st.scene.vertexbuffer[tb.vertexbuffer];
        Object::Mesh& obj = st.obj.meshes[i];
        obj.skinned = sm.is_skined != 0;
        obj.has_colors = !vb.color.empty();
        obj.visibility = sm.visibility;
        obj.no_fog = contains(sm.name, "!nofog");
        obj.billboard = 0;
        if (sm.name.compare(0, 10, "!billboard") == 0) {
            obj.billboard = 1;
            if (sm.name.size() > 11 && sm.name[10] == '_') {
                const char axis = sm.name[11];
                obj.billboard = axis == 'x' ? 2 : axis == 'y' ? 3 : axis == 'z' ? 4 : 1;
            }
        }
        for (size_t k = 0; k < tb.triangle.size(); ++k) {
            const std::vector<Engine2Scene::int3>& list = tb.triangle[k];
            // An empty list draws nothing: it gets no part (and no empty device buffer).
            if (list.empty())
                continue;
            Object::SubMesh sub;
            sub.count = int32_t(list.size() * 3);
            sub.index_buffer = st.device->CreateIndexBuffer(int(sub.count * sizeof(int32_t)), true);
            int32_t* out = static_cast<int32_t*>(st.device->LockIndexBuffer(sub.index_buffer, Device::lck_writediscard));
            sub.min_index = INT32_MAX;
            sub.max_index = INT32_MIN;
            for (size_t t = 0; t < list.size(); ++t) {
                const int32_t tri[3] = {list[t].a, list[t].b, list[t].c};
                for (int c = 0; c < 3; ++c) {
                    const int32_t idx = obj.first_index + tri[c];
                    PP_ASSERT(idx >= obj.first_index && idx <= obj.last_index);
                    out[t * 3 + c] = idx;
                    sub.min_index = std::min(sub.min_index, idx);
                    sub.max_index = std::max(sub.max_index, idx);
                }
            }
            st.device->UnlockIndexBuffer(sub.index_buffer);
            sub.prim = Device::tri_list;
            sub.start = 0;
            sub.material = tb.material[k];
            obj.submeshes.push_back(sub);
        }
        compute_bounds(obj.bounds, vb.xyz);
        if (obj.skinned) {
            // Skinned meshes move: room for the pose.
            Object::Bounds& b = obj.bounds;
            b.radius *= 2;
            const float3 half((b.box_max.x - b.box_min.x) / 2, (b.box_max.y - b.box_min.y) / 2,
                              (b.box_max.z - b.box_min.z) / 2);
            b.box_min = float3(b.box_min.x - half.x, b.box_min.y - half.y, b.box_min.z - half.z);
            b.box_max = float3(b.box_max.x + half.x, b.box_max.y + half.y, b.box_max.z + half.z);
        }
        st.obj.progress = 400 + int(100 * (i + 1) / meshes);
    }
    Device_GL::SetTaskServing(0);
    stage("m");
}

void build_materials(LoadState& st)
{
    st.obj.files.assign(st.scene.file.size(), Object::File());
    st.obj.progress = 500;
    for (const Engine2Scene::Material& sm : st.scene.material) {
        Object::Material m;
        m.name = sm.name;
        for (int s = 0; s < 16; ++s)
            for (int w = 0; w < 16; ++w)
                m.slots[s][w] = sm.texture_map[16 * s + w];
        const Engine2Scene::Material::MaxMat mm =
            sm.maxmat.empty() ? Engine2Scene::Material::MaxMat() : sm.maxmat[0];
        for (int c = 0; c < 3; ++c) {
            m.diffuse[c] = mm.get_float(11 + c);
            m.ambient[c] = mm.get_float(8 + c);
            m.specular[c] = mm.get_float(14 + c);
        }
        m.opacity = mm.get_float(26);
        m.specular_power = mm.get_float(23) * 100.0f;
        m.specular_level = mm.get_float(24);
        m.flag = mm.words[0] == 1;
        m.transparency[0] = m.slots[7][0];
        m.transparency[1] = m.slots[10][0];
        m.no_light = contains(sm.name, "NO_LIGHT");
        st.obj.materials.push_back(m);
    }
    stage("A");
}

// The folder of a scene path (up to its last '/' or backslash), "." without one.
std::string folder_of(const std::string& path)
{
    const size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? std::string(".") : path.substr(0, cut);
}

// A texture beside the scene, through the process-wide cache: loaded when no object holds it.
texture_t_opaque* load_cached_texture(LoadState& st, const std::string& path, Object::File& file)
{
    current_texture_name = path.c_str();
    bool need;
    {
        std::lock_guard<std::mutex> lock(texture_cache_lock());
        TextureCacheEntry& entry = texture_cache_entry(path);
        need = !entry.texture || entry.use_count <= 0;
    }
    texture_t_opaque* fresh = nullptr;
    if (need) {
        // The device works on the render thread, which must not wait for the cache meanwhile.
        std::vector<unsigned char> bytes;
        if (LoadFileV(path.c_str(), bytes)) {
            if (bytes.empty())
                std::fprintf(stderr, "Warning: picture %s is empty; it is not loaded\n", path.c_str());
            else
                fresh = st.device->LoadTexture(bytes.data(), int(bytes.size()), 0);
        }
    }
    std::lock_guard<std::mutex> lock(texture_cache_lock());
    TextureCacheEntry& entry = texture_cache_entry(path);
    if (need)
        entry.texture = fresh;
    ++entry.use_count;
    file.use_count = &entry.use_count;
    return entry.texture;
}

void build_textures(LoadState& st)
{
    const size_t files = st.scene.file.size();
    int filled = 0;
    for (const Engine2Scene::TextureMap& map : st.scene.texture_map) {
        Object::File& f = st.obj.files[map.file];
        const Engine2Scene::File& sf = st.scene.file[map.file];
        if (!f.loaded) {
            texture_t_opaque* texture = nullptr;
            if (sf.data.empty() && !sf.file_name.empty() && sf.file_name[0] == '!') {
                const std::string path = folder_of(st.path) + "/" + sf.file_name.substr(1);
                texture = load_cached_texture(st, path, f);
            } else {
                current_texture_name = sf.file_name.c_str();
                // No embedded picture: no texture (the device is not asked to decode nothing).
                if (!sf.data.empty())
                    texture = st.device->LoadTexture(sf.data.data(), int(sf.data.size()), 0);
            }
            f.loaded = 1;
            f.texture = texture;
            st.obj.progress = 500 + int(500 * filled / int(files));
            ++filled;
        }
        Object::Texture t;
        t.texture = f.texture;
        t.uoff = map.uoff;
        t.voff = map.voff;
        t.uscl = map.uscl;
        t.vscl = map.vscl;
        st.obj.textures.push_back(t);
    }
    stage("x");
    current_texture_name = "<unknown>";
}

}  // namespace

// ---- load_3dn

bool load_3dn(Object& obj, const char* path)
{
    std::printf("Load(%s): ", path);
    stage("D");
    std::vector<unsigned char> bytes;
    if (!LoadFileV(path, bytes)) {
        std::printf("\n");
        return false;
    }
    obj.progress = 0;
    obj.total = 1000;
    Render* render = Render::current();
    Device* device = render ? render->getDevice() : nullptr;
    if (!device) {
        std::printf("\n");
        obj.total = 0;
        return false;
    }
    const int features = device->getFeatures();

    TiXmlDocument side;
    side.LoadFile((std::string(path) + ".xml").c_str());
    const TiXmlElement* root = side.FirstChildElement();
    stage("X");
    // An empty or damaged file loads nothing; its progress words go back to 0 so that no
    // progress bar waits for it.
    if (bytes.empty()) {
        std::printf("\n");
        obj.total = 0;
        return false;
    }
    std::unique_ptr<Engine2Scene> scene(new Engine2Scene);
    {
        std::vector<char> data(bytes.begin(), bytes.end());
        std::vector<unsigned char>().swap(bytes);
        if (!scene_load(*scene, data, path)) {
            std::printf("\n");
            obj.total = 0;
            return false;
        }
    }
    stage("E");
    obj.progress = 100;
    obj.fps = scene->Fps;
    obj.frame_count = int(scene->Frames);
    obj.layer_count = 0;
    obj.options = apply_xml_options(*scene, root);

    LoadState st(obj, *scene, device, features, path);
    build_preorder(st);
    ++obj.progress;
    stage("T");
    build_nodes(st);
    obj.bones.clear();
    for (const Engine2Scene::Bone& b : scene->bone) {
        Object::Bone bone;
        bone.node = int16_t(st.object_of[b.node]);
        obj.bones.push_back(bone);
    }
    build_lights(st);
    build_cameras(st);
    if (features & Device::feature_tangents)
        compute_tangents(*scene);
    stage("t");
    build_meshes(st);
    build_index_buffers(st);
    build_materials(st);
    build_textures(st);
    std::printf(" lc=%d\n", obj.progress.load());
    obj.device = device;
    return true;
}

// ---- tree and geometry helpers (public)

int node_preorder(const Engine2Scene& scene, int node, std::vector<int>& preorder, std::vector<int>& sizes)
{
    // Depth-first with an explicit stack, so that a deep tree of file data cannot exhaust the
    // thread's stack: each entry is a node, its slot in preorder and its next child.
    struct Visit {
        int node;
        size_t position;
        size_t child;
    };
    const size_t start = preorder.size();
    std::vector<Visit> stack;
    stack.push_back({node, start, 0});
    preorder.push_back(node);
    sizes.push_back(0);
    while (!stack.empty()) {
        Visit& top = stack.back();
        const std::vector<int32_t>& children = scene.node[top.node].subnode;
        while (top.child < children.size() && children[top.child] == 0)
            ++top.child;
        if (top.child < children.size()) {
            const int c = children[top.child++];
            const size_t position = preorder.size();
            preorder.push_back(c);
            sizes.push_back(0);
            stack.push_back({c, position, 0});
            continue;
        }
        // The subtree holds the node and everything appended after it.
        sizes[top.position] = int(preorder.size() - top.position);
        stack.pop_back();
    }
    return sizes[start];
}

void compute_tangents(Engine2Scene& scene)
{
    for (const Engine2Scene::Mesh& mesh : scene.mesh) {
        const Engine2Scene::TriangleBuffer& tb = scene.trianglebuffer[mesh.trianglebuffer];
        Engine2Scene::VertexBuffer& vb = scene.vertexbuffer[tb.vertexbuffer];
        const size_t n = vb.xyz.size();
        std::vector<float3> s(n), t(n);
        const std::vector<float3>& uv = vb.uvw[0];
        for (const std::vector<Engine2Scene::int3>& list : tb.triangle)
            for (const Engine2Scene::int3& tri : list) {
                const size_t i0 = size_t(tri.a), i1 = size_t(tri.b), i2 = size_t(tri.c);
                if (i0 >= n || i1 >= n || i2 >= n || i0 >= uv.size() || i1 >= uv.size() || i2 >= uv.size())
                    continue;
                const float3 e1(vb.xyz[i1].x - vb.xyz[i0].x, vb.xyz[i1].y - vb.xyz[i0].y, vb.xyz[i1].z - vb.xyz[i0].z);
                const float3 e2(vb.xyz[i2].x - vb.xyz[i0].x, vb.xyz[i2].y - vb.xyz[i0].y, vb.xyz[i2].z - vb.xyz[i0].z);
                const float du1 = uv[i1].x - uv[i0].x, dv1 = uv[i1].y - uv[i0].y;
                const float du2 = uv[i2].x - uv[i0].x, dv2 = uv[i2].y - uv[i0].y;
                const float area = du1 * dv2 - du2 * dv1;
                // A triangle without texture area has no texture direction.
                if (area == 0 || !std::isfinite(1 / area))
                    continue;
                const float r = 1 / area;
                const float3 sd((e1.x * dv2 - e2.x * dv1) * r, (e1.y * dv2 - e2.y * dv1) * r, (e1.z * dv2 - e2.z * dv1) * r);
                const float3 td((e2.x * du1 - e1.x * du2) * r, (e2.y * du1 - e1.y * du2) * r, (e2.z * du1 - e1.z * du2) * r);
                for (size_t v : {i0, i1, i2}) {
                    s[v] = float3(s[v].x + sd.x, s[v].y + sd.y, s[v].z + sd.z);
                    t[v] = float3(t[v].x + td.x, t[v].y + td.y, t[v].z + td.z);
                }
            }
        vb.tangent.assign(n, float3());
        for (size_t v = 0; v < n; ++v) {
            const float3 nv = v < vb.normal.size() ? vb.normal[v] : float3();
            const float d = nv.x * s[v].x + nv.y * s[v].y + nv.z * s[v].z;
            float3 g(s[v].x - nv.x * d, s[v].y - nv.y * d, s[v].z - nv.z * d);
            const float len = std::sqrt(g.x * g.x + g.y * g.y + g.z * g.z);
            if (len > 0)
                g = float3(g.x / len, g.y / len, g.z / len);
            vb.tangent[v] = g;
        }
    }
}

void compute_bounds(Object::Bounds& b, const std::vector<float3>& positions)
{
    const size_t n = positions.size();
    if (n == 0)
        return;
    double sx = 0, sy = 0, sz = 0;
    float3 lo = positions[0], hi = positions[0];
    for (const float3& p : positions) {
        sx += p.x;
        sy += p.y;
        sz += p.z;
        lo = float3(std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z));
        hi = float3(std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z));
    }
    b.centroid = float3(float(sx / n), float(sy / n), float(sz / n));
    b.center = b.centroid;
    float largest = 0;
    for (const float3& p : positions) {
        const float dx = p.x - b.center.x, dy = p.y - b.center.y, dz = p.z - b.center.z;
        largest = std::max(largest, dx * dx + dy * dy + dz * dz);
    }
    b.radius = std::sqrt(largest);
    b.box_min = lo;
    b.box_max = hi;
}

void transform_points(const float4x4& m, std::vector<float3>& points)
{
    for (float3& p : points) {
        const float x = p.x, y = p.y, z = p.z;
        p = float3(x * m.m[0][0] + y * m.m[1][0] + z * m.m[2][0] + m.m[3][0],
                   x * m.m[0][1] + y * m.m[1][1] + z * m.m[2][1] + m.m[3][1],
                   x * m.m[0][2] + y * m.m[1][2] + z * m.m[2][2] + m.m[3][2]);
    }
}

void invert_matrix(float4x4& out, const float4x4& in)
{
    float a[4][4];
    float r[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    std::memcpy(a, in.m, sizeof a);
    for (int c = 0; c < 4; ++c) {
        int pivot = -1;
        float best = 1e-6f;
        for (int row = c; row < 4; ++row)
            if (std::fabs(a[row][c]) > best) {
                best = std::fabs(a[row][c]);
                pivot = row;
            }
        if (pivot < 0) {
            std::printf("INVERSE FAILED!\n");
            std::memcpy(out.m, r, sizeof r);
            return;
        }
        for (int j = 0; j < 4; ++j) {
            std::swap(a[c][j], a[pivot][j]);
            std::swap(r[c][j], r[pivot][j]);
        }
        const float d = a[c][c];
        for (int j = 0; j < 4; ++j) {
            a[c][j] /= d;
            r[c][j] /= d;
        }
        for (int row = 0; row < 4; ++row) {
            if (row == c)
                continue;
            const float k = a[row][c];
            for (int j = 0; j < 4; ++j) {
                a[row][j] -= k * a[c][j];
                r[row][j] -= k * r[c][j];
            }
        }
    }
    std::memcpy(out.m, r, sizeof r);
    out.m[0][3] = out.m[1][3] = out.m[2][3] = 0;
    out.m[3][3] = 1;
}

float4x4 invert_matrix(const float4x4& in)
{
    float4x4 out;
    invert_matrix(out, in);
    return out;
}

// ---- texture cache

std::mutex& texture_cache_lock()
{
    static std::mutex lock;
    return lock;
}

TextureCacheEntry& texture_cache_entry(const std::string& path)
{
    static std::map<std::string, TextureCacheEntry> cache;
    return cache[path];
}

// ---- diagnostics

namespace {

void print_matrix(const float4x4& m, int depth)
{
    for (int d = 0; d < depth; ++d)
        std::printf("\t");
    std::printf("%f %f %f %f %f %f %f %f %f %f %f %f %f %f %f %f\n", m.m[0][0], m.m[0][1], m.m[0][2], m.m[0][3],
                m.m[1][0], m.m[1][1], m.m[1][2], m.m[1][3], m.m[2][0], m.m[2][1], m.m[2][2], m.m[2][3], m.m[3][0],
                m.m[3][1], m.m[3][2], m.m[3][3]);
}

void indent(int depth)
{
    for (int d = 0; d < depth; ++d)
        std::printf("\t");
}

}  // namespace

void dump_node_tree(const Engine2Scene& scene, int node, int depth)
{
    if (node <= 0 || node >= int(scene.node.size()))
        return;
    const Engine2Scene::Node& n = scene.node[node];
    indent(depth);
    std::printf("%s\n", n.name.c_str());
    if (n.mesh > 0 && n.mesh < int(scene.mesh.size())) {
        const int tb = scene.mesh[n.mesh].trianglebuffer;
        if (tb >= 0 && tb < int(scene.trianglebuffer.size()))
            for (int32_t m : scene.trianglebuffer[tb].material) {
                indent(depth + 1);
                const bool known = m >= 0 && m < int(scene.material.size());
                std::printf("material %d, \"%s\"\n", m, known ? scene.material[m].name.c_str() : "");
            }
    }
    if (n.bone > 0 && n.bone < int(scene.bone.size())) {
        const Engine2Scene::Bone& b = scene.bone[n.bone];
        indent(depth + 1);
        std::printf("bone %d (%s)\n", n.bone, b.name.c_str());
        print_matrix(b.inv0_matrix, depth + 1);
        float4x4 bind = b.matrix.empty() ? identity4x4() : b.matrix[0];
        print_matrix(mul4x4(bind, b.inv0_matrix), depth + 1);
    }
    for (int32_t c : n.subnode)
        if (c != 0)
            dump_node_tree(scene, c, depth + 1);
}

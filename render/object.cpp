#include "render/object.h"

#include "core/Assert.h"
#include "core/platform.h"
#include "render/object_3dn_loader.h"
#include "render/render.h"
#include "toolkit/utils/misc.h"

#include <cmath>
#include <cstdio>
#include <cstring>

// Sections: construction - loading and unloading - lookups - geometry export - cameras.

// ---- construction

Object::Object() = default;

Object::~Object()
{
    unload();
}

int Object::Material::map(int k) const
{
    static const int kSlots[8] = {slot_diffuse,  slot_lightmap, slot_envmask, slot_specular,
                                  slot_selfillum, slot_dudv,    slot_normal,  slot_environment};
    return k >= 0 && k < 8 ? texture(kSlots[k]) : 0;
}

void Object::unpin()
{
    std::lock_guard<std::mutex> lock(mutex);
    if (in_use > 0)
        --in_use;
}

// ---- loading and unloading

void Object::load(const char* file_name)
{
    PP_ASSERT(!is_loaded());
    name = file_name ? file_name : "";
    options = 0;
    Render* render = Render::current();
    if (!render || !render->getDevice())
        return;
    if (name.size() > 4 && toLowerString(name.substr(name.size() - 4)) == ".3dn")
        load_3dn(*this, name.c_str());
    else
        std::fprintf(stderr, "Can't load %s: unknown format\n", name.c_str());
}

void Object::unload()
{
    std::unique_lock<std::mutex> lock(mutex);
    Device* dev = device.load();
    if (!dev)
        return;
    while (in_use > 0) {
        lock.unlock();
        sleep_ms(10);
        lock.lock();
    }
    for (vbuffer_t_opaque* vb : vertex_buffers)
        dev->ReleaseVertexBuffer(vb);
    vertex_buffers.clear();
    for (Mesh& mesh : meshes) {
        for (SubMesh& sub : mesh.submeshes)
            dev->ReleaseIndexBuffer(sub.index_buffer);
        // The figures' skinned buffers beyond the mesh's own.
        for (const SkinSlot& slot : mesh.skin_slots)
            if (slot.buffer != mesh.dynamic_vb)
                dev->ReleaseVertexBuffer(slot.buffer);
    }
    meshes.clear();
    nodes.clear();
    name_order.clear();
    bones.clear();
    lights.clear();
    cameras.clear();
    materials.clear();
    // Shared textures: the last holder releases. The device is called outside the cache's
    // lock, since the loader thread holds that lock only briefly and never while it waits.
    std::vector<texture_t_opaque*> released;
    {
        std::lock_guard<std::mutex> cache(texture_cache_lock());
        for (File& f : files) {
            bool last = true;
            if (f.use_count)
                last = --*f.use_count <= 0;
            if (last && f.texture)
                released.push_back(f.texture);
        }
    }
    for (texture_t_opaque* texture : released)
        dev->ReleaseTexture(texture);
    files.clear();
    textures.clear();
    device = nullptr;
    progress = 0;
    total = 0;
}

// ---- lookups

int Object::find_node(const char* wanted) const
{
    if (!is_loaded())
        return -1;
    if (!wanted)
        return int(nodes.size());
    size_t lo = 0, hi = name_order.size();
    while (lo < hi) {
        size_t mid = (lo + hi) / 2;
        int c = std::strcmp(nodes[name_order[mid]].name.c_str(), wanted);
        if (c < 0)
            lo = mid + 1;
        else if (c > 0)
            hi = mid;
        else
            return name_order[mid];
    }
    return -1;
}

bool Object::get_node_info(int node, NodeInfo* out)
{
    std::lock_guard<std::mutex> lock(mutex);
    if (!is_loaded() || node < 0 || node >= int(nodes.size()) || !out)
        return false;
    const Node& n = nodes[node];
    out->name = n.name.c_str();
    out->user_text = n.user_text.c_str();
    out->flags = (n.mesh ? 1 : 0) | (n.camera ? 2 : 0) | (n.bone ? 4 : 0) | (n.light ? 8 : 0);
    out->parent = n.parent;
    out->layer = n.layer;
    return true;
}

// ---- geometry export

namespace {

float3 transform_point(const float4x3& m, const float* p)
{
    return float3(m.m[0][0] * p[0] + m.m[0][1] * p[1] + m.m[0][2] * p[2] + m.m[0][3],
                  m.m[1][0] * p[0] + m.m[1][1] * p[1] + m.m[1][2] * p[2] + m.m[1][3],
                  m.m[2][0] * p[0] + m.m[2][1] * p[1] + m.m[2][2] * p[2] + m.m[2][3]);
}

}  // namespace

void Object::count_node_geometry(int nd, int* vertices, int* triangles)
{
    int v = 0, t = 0;
    if (is_loaded() && !meshes.empty()) {
        PP_ASSERT(nd >= 0 && nd < (int)nodes.size());
        if (nodes[nd].mesh) {
            Mesh& mesh = meshes[nodes[nd].mesh];
            v = mesh.last_index - mesh.first_index + 1;
            for (const SubMesh& sub : mesh.submeshes)
                t += device.load()->ReadIndices(sub.prim, sub.index_buffer, 32, sub.start, sub.count, nullptr);
        }
    }
    if (vertices)
        *vertices = v;
    if (triangles)
        *triangles = t;
}

void Object::count_geometry(int layer, int* vertices, int* triangles)
{
    int v = 0, t = 0;
    if (is_loaded() && !meshes.empty()) {
        for (int i = 0; i < int(nodes.size()); ++i) {
            const Node& n = nodes[i];
            if (!n.mesh || (layer >= 0 && n.layer != layer) || meshes[n.mesh].submeshes.empty())
                continue;
            int nv = 0, nt = 0;
            count_node_geometry(i, &nv, &nt);
            v += nv;
            t += nt;
        }
    }
    if (vertices)
        *vertices = v;
    if (triangles)
        *triangles = t;
}

void Object::get_node_geometry(int nd, float3* vertices, int* triangles, int base)
{
    if (!is_loaded() || meshes.empty())
        return;
    PP_ASSERT(nd >= 0 && nd < (int)nodes.size());
    if (!nodes[nd].mesh)
        return;
    Device* dev = device.load();
    Mesh& msh = meshes[nodes[nd].mesh];
    float4x3 m;
    get_node_matrix(nd, 0, &m);
    int* tri = triangles;
    for (const SubMesh& sub : msh.submeshes) {
        int n = dev->ReadIndices(sub.prim, sub.index_buffer, 32, sub.start, sub.count, tri);
        for (int k = 0; k < 3 * n; ++k)
            tri[k] = tri[k] - msh.first_index + base;
        tri += 3 * n;
    }
    if (!msh.swskinned) {
        const VertexInfo* pos = nullptr;
        for (const VertexInfo& s : msh.streams)
            if (s.usage == vi_position)
                pos = &s;
        if (!pos || (!pos->buffer && !pos->offset))
            return;
        const unsigned char* data = static_cast<const unsigned char*>(
            dev->LockVertexBuffer(pos->buffer, Device::lck_readonly));
        if (!data)
            return;
        const unsigned char* p = data + size_t(pos->stride) * msh.first_index + pos->offset;
        for (int i = msh.first_index; i <= msh.last_index; ++i, p += pos->stride) {
            float xyz[3];
            std::memcpy(xyz, p, sizeof xyz);
            *vertices++ = transform_point(m, xyz);
        }
        dev->UnlockVertexBuffer(pos->buffer);
    } else {
        PP_ASSERT((int)msh.swskin_data.size() == (msh.last_index - msh.first_index + 1));
        for (const swskin_vertex& sv : msh.swskin_data)
            *vertices++ = transform_point(m, sv.position);
    }
}

void Object::get_geometry(int layer, float3* vertices, int* triangles, int base)
{
    if (!is_loaded() || meshes.empty())
        return;
    for (int i = 0; i < int(nodes.size()); ++i) {
        const Node& n = nodes[i];
        if (!n.mesh || (layer >= 0 && n.layer != layer) || meshes[n.mesh].submeshes.empty())
            continue;
        int nv = 0, nt = 0;
        count_node_geometry(i, &nv, &nt);
        get_node_geometry(i, vertices, triangles, base);
        base += nv;
        vertices += nv;
        triangles += 3 * nt;
    }
}

// ---- cameras

void Object::set_camera(Render* render, float t, const char* camera)
{
    if (!is_loaded() || !render)
        return;
    int node = 0;
    if (!camera || !*camera) {
        for (int i = 0; i < int(nodes.size()); ++i)
            if (nodes[i].camera) {
                node = i;
                break;
            }
    } else {
        node = find_node(camera);
        if (node < 0)
            return;
    }
    if (nodes[node].camera <= 0)
        return;
    float4x3 m;
    get_node_matrix(node, t, &m);
    const float4x3& M = m;
    float3 eye(M.m[0][3], M.m[1][3], M.m[2][3]);
    float3 target(M.m[0][3] - M.m[0][2], M.m[1][3] - M.m[1][2], M.m[2][3] - M.m[2][2]);
    float3 up(M.m[0][1], M.m[1][1], M.m[2][1]);
    float fov = 0;
    frame_interpolate(cameras[nodes[node].camera].fov, t, fov);
    render->set_camera(eye, target, up, fov, 0.0f);
}

bool Object::get_camera(float t, const char* camera, float4x4* matrix, float* fov)
{
    if (!is_loaded())
        return false;
    int node = find_node(camera);
    // A null name gives the node count, which is no node.
    if (node < 0 || node >= int(nodes.size()) || nodes[node].camera <= 0)
        return false;
    float4x3 m;
    get_node_matrix(node, t, &m);
    float f = 0;
    frame_interpolate(cameras[nodes[node].camera].fov, t, f);
    if (fov)
        *fov = f;
    if (matrix) {
        for (int r = 0; r < 3; ++r) {
            matrix->m[r][0] = -m.m[r][2];
            matrix->m[r][1] = m.m[r][0];
            matrix->m[r][2] = m.m[r][1];
            matrix->m[r][3] = m.m[r][3];
        }
        matrix->m[3][0] = matrix->m[3][1] = matrix->m[3][2] = 0;
        matrix->m[3][3] = 1;
    }
    return true;
}

// Drawing a scene object: the draw pins the object until the frame has rendered it and hands
// the renderer its node matrices; software skinning rewrites skinned meshes' positions and
// normals from their rest pose with the frame's bone matrices.
//
// Sections: draws - bone matrices - software skinning.

#include "core/Assert.h"
#include "render/object.h"
#include "render/render.h"

#include <atomic>
#include <cmath>
#include <cstring>

namespace {

// Counts the bone-matrix arrays handed out. Skinning remembers the array it used with this
// count, so an array that a later frame's allocator places at the same address still skins.
std::atomic<uint32_t> bone_epoch{0};
// Counts the frames whose 3D pass has ended; a mesh hands its figures' buffers out again from
// the first in each.
std::atomic<uint32_t> skin_frame{0};

}  // namespace

// ---- draws

void Object::draw(const float4x3* world, float t, const Blend* blends, int blend_count,
                  const char* mask, const Mixer* mixers, int mixer_count, const float4* colour)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!is_loaded())
            return;
        ++in_use;
    }
    Render* render = Render::current();
    PP_ASSERT_MSG(render && render->getDevice() == device.load(), "render->device == device");
    float4x3* matrices = static_cast<float4x3*>(
        render->allocator().alloc(unsigned(nodes.size() * sizeof(float4x3)), 16));
    RenderArgs3D args;
    if (mask && *mask) {
        args.mask = mask;
        args.mask_length = int(std::strlen(mask));
    }
    // A blend that does not fit writes no matrices: nothing to draw then.
    if (!update(t, blends, blend_count, matrices, -1, args.mask)) {
        unpin();
        return;
    }
    args.object = this;
    args.world = world ? *world : identity4x3();
    args.nodes = matrices;
    args.mixers = mixer_count > 0 ? mixers : nullptr;
    args.mixer_count = mixers && mixer_count > 0 ? mixer_count : 0;
    args.time = t;
    args.color = colour ? *colour : float4(1, 1, 1, 1);
    render->build_object_args(args);
}

void Object::draw_rotated(float x, float y, float z, float a, float b, float c, float t,
                          const Blend* blends, int blend_count, const char* mask,
                          const Mixer* mixers, int mixer_count, const float4* colour)
{
    const float ca = std::cos(a), sa = std::sin(a);
    const float cb = std::cos(b), sb = std::sin(b);
    const float cc = std::cos(c), sc = std::sin(c);
    float4x3 w;
    const float rows[3][4] = {
        {cb * cc, sa * sb * cc + ca * sc, sa * sc - ca * sb * cc, x},
        {-cb * sc, ca * cc - sa * sb * sc, ca * sb * sc + sa * cc, y},
        {sb, -sa * cb, ca * cb, z},
    };
    std::memcpy(w.m, rows, sizeof rows);
    draw(&w, t, blends, blend_count, mask, mixers, mixer_count, colour);
}

// ---- bone matrices

float4x3* Object::bone_matrices(Object* object, Render* render, const float4x3* node_matrices)
{
    if (!node_matrices || !object || !render || object->bones.empty())
        return nullptr;
    const size_t n = object->bones.size();
    float4x3* out = static_cast<float4x3*>(render->allocator().alloc(unsigned(n * sizeof(float4x3)), 16));
    out[0] = float4x3();
    for (size_t k = 1; k < n; ++k) {
        const int j = object->bones[k].node;
        out[k] = affine_mul(node_matrices[j], object->nodes[j].inverse_bind);
    }
    ++bone_epoch;
    return out;
}

// ---- software skinning

vbuffer_t_opaque* Object::apply_skinning(Mesh* mesh, Device* dev, const float4x3* bones, const void* stamp)
{
    if (!mesh->swskinned || !mesh->dynamic_vb || mesh->swskin_data.empty())
        return mesh->dynamic_vb;
    // Positions and normals of the dynamic buffer (the position stream comes first).
    int position_offset = -1, normal_offset = -1, stride = 0;
    bool others = false;
    for (const VertexInfo& s : mesh->streams) {
        if (s.buffer != mesh->dynamic_vb)
            continue;
        if (s.usage == vi_position) {
            position_offset = int(s.offset);
            stride = s.stride;
        } else if (s.usage == vi_normal) {
            normal_offset = int(s.offset);
            stride = s.stride;
        } else {
            others = true;
        }
    }
    if (position_offset != 0 || stride <= 0)
        return mesh->dynamic_vb;

    // The figure's buffer: the one this bone-matrix array skinned already in this frame (other
    // parts and passes of the same figure), else the frame's next one, made when the frame
    // draws more figures than ever before. A dynamic buffer holding more than what skinning
    // writes cannot be copied, so its figures share it.
    const uint32_t epoch = bone_epoch.load();
    const uint32_t frame = skin_frame.load();
    if (mesh->skin_frame != frame || mesh->skin_slots.empty()) {
        mesh->skin_frame = frame;
        mesh->skin_used = 0;
        if (mesh->skin_slots.empty())
            mesh->skin_slots.push_back(SkinSlot{mesh->dynamic_vb, nullptr, 0});
    }
    for (int k = mesh->skin_used - 1; k >= 0; --k) {
        const SkinSlot& s = mesh->skin_slots[size_t(k)];
        if (s.stamp == stamp && s.epoch == epoch)
            return s.buffer;
    }
    if (mesh->skin_used >= int(mesh->skin_slots.size()) && !others) {
        const int vertices = mesh->first_index + int(mesh->swskin_data.size());
        if (vbuffer_t_opaque* made = dev->CreateVertexBuffer(stride * vertices, true))
            mesh->skin_slots.push_back(SkinSlot{made, nullptr, 0});
    }
    SkinSlot& slot = mesh->skin_used < int(mesh->skin_slots.size()) ? mesh->skin_slots[size_t(mesh->skin_used++)]
                                                                     : mesh->skin_slots.front();
    slot.stamp = stamp;
    slot.epoch = epoch;

    // Every vertex the draw reads is written again, in place: the buffer keeps its storage.
    unsigned char* p = static_cast<unsigned char*>(dev->LockVertexBuffer(slot.buffer, Device::lck_readwrite));
    if (!p)
        return slot.buffer;
    unsigned char* dest = p + size_t(stride) * size_t(mesh->first_index);
    if (!bones) {
        for (const swskin_vertex& v : mesh->swskin_data) {
            std::memcpy(dest, v.position, 3 * sizeof(float));
            if (normal_offset >= 0)
                std::memcpy(dest + normal_offset, v.normal, 3 * sizeof(float));
            dest += stride;
        }
    } else {
        skin_vertices(mesh, bones, dest, normal_offset, stride);
    }
    dev->UnlockVertexBuffer(slot.buffer);
    return slot.buffer;
}

void Object::end_skinning_frame()
{
    ++skin_frame;
}

int Object::skin_vertices(const Mesh* mesh, const float4x3* bones, unsigned char* dest,
                          int normal_offset, int stride)
{
    const int n = int(mesh->swskin_data.size());
    float blended[12];
    for (const swskin_vertex& v : mesh->swskin_data) {
        // The influences summed in order. One of no weight would add only a zero: it is passed
        // over, and a vertex on one bone at full weight takes that bone's matrix as it is (most
        // vertices of a figure follow one bone), so the sums are those of all four.
        const float* s = &bones[v.bone[0]].m[0][0];
        if (v.weight[0] != 1 || v.weight[1] != 0 || v.weight[2] != 0 || v.weight[3] != 0) {
            for (int e = 0; e < 12; ++e)
                blended[e] = v.weight[0] * s[e];
            for (int k = 1; k < 4; ++k) {
                if (v.weight[k] == 0)
                    continue;
                const float* b = &bones[v.bone[k]].m[0][0];
                for (int e = 0; e < 12; ++e)
                    blended[e] += v.weight[k] * b[e];
            }
            s = blended;
        }
        const float* p = v.position;
        const float* q = v.normal;
        const float pos[3] = {s[0] * p[0] + s[1] * p[1] + s[2] * p[2] + s[3],
                              s[4] * p[0] + s[5] * p[1] + s[6] * p[2] + s[7],
                              s[8] * p[0] + s[9] * p[1] + s[10] * p[2] + s[11]};
        std::memcpy(dest, pos, sizeof pos);
        if (normal_offset >= 0) {
            const float nrm[3] = {s[0] * q[0] + s[1] * q[1] + s[2] * q[2],
                                  s[4] * q[0] + s[5] * q[1] + s[6] * q[2],
                                  s[8] * q[0] + s[9] * q[1] + s[10] * q[2]};
            std::memcpy(dest + normal_offset, nrm, sizeof nrm);
        }
        dest += stride;
    }
    return n;
}

// Animation of a scene object by time alone: track sampling, node matrices (one node, or every
// node a draw needs, with optional blends from other objects) and texture matrices.
//
// Sections: matrix helpers - track samplers - node matrices - texture matrices.

#include "core/Assert.h"
#include "render/object.h"
#include "render/object_3dn_loader.h"

#include <climits>
#include <cmath>
#include <cstring>

// ---- matrix helpers

float4x3 identity4x3()
{
    float4x3 m;
    m.m[0][0] = m.m[1][1] = m.m[2][2] = 1;
    return m;
}

float4x3 affine_mul(const float4x3& a, const float4x3& b)
{
    float4x3 r;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j];
        r.m[i][3] += a.m[i][3];
    }
    return r;
}

namespace {

// Splits a time into its whole frame (toward zero) and the fraction above its floor. A time
// that is not finite counts as 0; one beyond the int range is held at its end.
void split_time(float t, int& frame, float& f)
{
    if (!std::isfinite(t))
        t = 0;
    double whole = std::trunc(double(t));
    if (whole > double(INT_MAX))
        whole = double(INT_MAX);
    if (whole < double(INT_MIN))
        whole = double(INT_MIN);
    frame = int(whole);
    f = float(double(t) - std::floor(double(t)));
}

// The first key and the fraction towards the next one of a track of n >= 2 keys at t.
void track_position(size_t n, float t, size_t& k, float& f)
{
    if (!(t >= 0) || !std::isfinite(t))
        t = 0;
    double whole = std::floor(double(t));
    f = float(double(t) - whole);
    k = size_t(std::fmod(whole, double(n - 1)));
}

}  // namespace

// ---- track samplers

void frame_interpolate(const std::vector<float>& track, float t, float& out)
{
    const size_t n = track.size();
    if (n == 0) {
        out = 0;
        return;
    }
    if (n == 1) {
        out = track[0];
        return;
    }
    size_t k;
    float f;
    track_position(n, t, k, f);
    out = (1 - f) * track[k] + f * track[k + 1];
}

void frame_interpolate(const std::vector<float3>& track, float t, float3& out)
{
    const size_t n = track.size();
    if (n == 0) {
        out = float3(0, 0, 0);
        return;
    }
    if (n == 1) {
        out = track[0];
        return;
    }
    size_t k;
    float f;
    track_position(n, t, k, f);
    const float3& a = track[k];
    const float3& b = track[k + 1];
    out = float3((1 - f) * a.x + f * b.x, (1 - f) * a.y + f * b.y, (1 - f) * a.z + f * b.z);
}

void interpolate_node_matrix(const std::vector<float4x3>& matrices, const std::vector<int32_t>& index,
                             int frame, float f, float4x3& out)
{
    if (frame < 0)
        frame = 0;
    const size_t in_size = index.size();
    PP_ASSERT(in_size != 0);
    if (in_size == 1) {
        out = matrices[0];
        return;
    }
    const size_t k = size_t(frame) % (in_size - 1);
    const float4x3& a = matrices[index[k]];
    const float4x3& b = matrices[index[k + 1]];
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            out.m[r][c] = (1 - f) * a.m[r][c] + f * b.m[r][c];
}

// ---- node matrices

void Object::node_matrix(int node, float t, float4x3* out) const
{
    int frame;
    float f;
    split_time(t, frame, f);
    // Walking up from the node: world = parent's world x local.
    float4x3 m = identity4x3();
    while (node != 0) {
        const Node& n = nodes[node];
        float4x3 local;
        interpolate_node_matrix(n.matrices, n.frame_index, frame, f, local);
        m = affine_mul(local, m);
        node = n.parent;
    }
    *out = m;
}

void Object::get_node_matrix(int node_nr, float t, float4x3* out)
{
    std::lock_guard<std::mutex> lock(mutex);
    if (!is_loaded())
        return;
    PP_ASSERT(node_nr >= 0 && node_nr < (int)nodes.size());
    node_matrix(node_nr, t, out);
}

bool Object::update(float t, const Blend* blends, int blend_count, float4x3* out, int node,
                    const char* mask)
{
    const int n = int(nodes.size());
    if (n == 0)
        return true;
    for (int b = 0; b < blend_count; ++b) {
        const Object* s = blends[b].source;
        if (!s || s->nodes.empty() || int(s->nodes.size()) != n)
            return false;
    }
    thread_local std::vector<char> needed;
    needed.clear();
    if (node >= 0) {
        PP_ASSERT(node < n);
        node_matrix(node, t, &out[0]);
    } else {
        // Only the nodes this draw needs: bones always, lights and meshes on shown layers,
        // and every ancestor of those (parents come before their children).
        needed.assign(size_t(n), 0);
        const int mask_length = mask ? int(std::strlen(mask)) : 0;
        for (int i = n - 1; i > 0; --i) {
            const Node& nd = nodes[i];
            if (nd.bone)
                needed[i] = 1;
            else if ((nd.light || nd.mesh) &&
                     (!mask || nd.layer >= mask_length || nd.layer < 0 || mask[nd.layer] == '1'))
                needed[i] = 1;
            if (needed[i])
                needed[nd.parent] = 1;
        }
        int frame;
        float f;
        split_time(t, frame, f);
        interpolate_node_matrix(nodes[0].matrices, nodes[0].frame_index, frame, f, out[0]);
        for (int i = 1; i < n; ++i) {
            if (!needed[i])
                continue;
            const Node& nd = nodes[i];
            float4x3 local;
            interpolate_node_matrix(nd.matrices, nd.frame_index, frame, f, local);
            out[i] = affine_mul(out[nd.parent], local);
        }
    }
    auto needed_now = [&](int i) { return i < int(needed.size()) && needed[i]; };
    for (int b = 0; b < blend_count; ++b) {
        Object* src = blends[b].source;
        const float ts = blends[b].time;
        const float w = blends[b].weight;
        // The source's node sampled at its own time; this object's nodes are pinned or locked.
        auto sample = [&](int j) {
            float4x3 y = identity4x3();
            if (src == this)
                node_matrix(j, ts, &y);
            else
                src->get_node_matrix(j, ts, &y);
            return y;
        };
        float4x3 attach = identity4x3();
        int first = 0, end = n;
        if (blends[b].node && *blends[b].node) {
            int r = find_node(blends[b].node);
            if (r < 0)
                r = 0;
            const int p = nodes[r].parent;
            if (p != 0) {
                float4x3 x = sample(p);
                float4x4 x4, z4;
                for (int row = 0; row < 3; ++row)
                    for (int c = 0; c < 4; ++c)
                        x4.m[row][c] = x.m[row][c];
                x4.m[3][3] = 1;
                invert_matrix(z4, x4);
                float4x3 z;
                for (int row = 0; row < 3; ++row)
                    for (int c = 0; c < 4; ++c)
                        z.m[row][c] = z4.m[row][c];
                // The inverse's fourth column is set to (0, 0, 0, 1): no translation.
                z.m[0][3] = z.m[1][3] = z.m[2][3] = 0;
                // The parent's matrix in this draw; in the one-node form it is not in out.
                float4x3 parent_world;
                if (node < 0 && needed_now(p))
                    parent_world = out[p];
                else
                    node_matrix(p, t, &parent_world);
                attach = affine_mul(parent_world, z);
                first = r;
                end = r + nodes[r].subtree_size;
            }
        }
        auto blend_into = [&](float4x3& dst, int j) {
            float4x3 y = sample(j);
            for (int row = 0; row < 3; ++row)
                for (int c = 0; c < 4; ++c)
                    y.m[row][c] *= w;
            float4x3 ay = affine_mul(attach, y);
            for (int row = 0; row < 3; ++row)
                for (int c = 0; c < 4; ++c)
                    dst.m[row][c] = ay.m[row][c] + (1 - w) * dst.m[row][c];
        };
        if (node < 0) {
            for (int j = first; j < end; ++j)
                blend_into(out[j], j);
        } else if (node >= first && node < end) {
            blend_into(out[0], node);
        }
    }
    return true;
}

bool Object::animate(float t, const Blend* blends, int blend_count, float4x3* out, int node,
                     const char* mask)
{
    std::lock_guard<std::mutex> lock(mutex);
    if (!is_loaded())
        return false;
    return update(t, blends, blend_count, out, node, mask);
}

// ---- texture matrices

void Object::Texture::get_matrix(float t, float out[16]) const
{
    float a = 0, b = 0, c = 1, d = 1;
    if (!uoff.empty())
        frame_interpolate(uoff, t, a);
    if (!voff.empty())
        frame_interpolate(voff, t, b);
    if (!uscl.empty())
        frame_interpolate(uscl, t, c);
    if (!vscl.empty())
        frame_interpolate(vscl, t, d);
    const float m[16] = {c, 0, 0, 0, 0, d, 0, 0, 0, 0, 1, 0,
                         0.5f - 0.5f * c - a * c, 0.5f - 0.5f * d - b * d, 0, 1};
    std::memcpy(out, m, sizeof m);
}

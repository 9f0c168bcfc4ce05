#include "render/vertex_packing.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <tuple>

// Sections: signatures - one mesh's packer - shared buffers - diagnostics.

// ---- signatures

bool vertex_signature::operator<(const vertex_signature& o) const
{
    return std::tie(type, components, usage, usage_index) <
           std::tie(o.type, o.components, o.usage, o.usage_index);
}

bool vertex_signature::operator==(const vertex_signature& o) const
{
    return type == o.type && components == o.components && usage == o.usage &&
           usage_index == o.usage_index;
}

// ---- one mesh's packer

void buffer_packer::add(int type, int components, int usage, int usage_index, const void* data,
                        uint32_t count, uint32_t element_size)
{
    VertexInfo info = {};
    info.type = type;
    info.components = components;
    info.usage = usage;
    info.usage_index = usage_index;
    streams.push_back(info);
    inputs.push_back({data, count, element_size});
}

layout_signature buffer_packer::get_signature() const
{
    layout_signature sig;
    for (const VertexInfo& s : streams)
        sig.push_back({uint32_t(s.type), uint32_t(s.components), uint32_t(s.usage),
                       uint32_t(s.usage_index)});
    return sig;
}

uint32_t buffer_packer::vertex_count() const
{
    uint32_t n = 0;
    for (const input_buffer& in : inputs)
        n = std::max(n, in.count);
    return n;
}

int buffer_packer::layout()
{
    int offset = 0;
    for (VertexInfo& s : streams) {
        s.offset = uintptr_t(offset);
        offset += 4 * s.components;
    }
    for (VertexInfo& s : streams)
        s.stride = offset;
    return offset;
}

void buffer_packer::write(unsigned char* dest, int stride) const
{
    for (size_t i = 0; i < streams.size(); ++i) {
        const input_buffer& in = inputs[i];
        const size_t bytes = size_t(4) * size_t(streams[i].components);
        const unsigned char* src = static_cast<const unsigned char*>(in.data);
        if (!src)
            continue;
        unsigned char* d = dest + streams[i].offset;
        for (uint32_t v = 0; v < in.count; ++v)
            std::memcpy(d + size_t(v) * size_t(stride), src + size_t(v) * in.size, bytes);
    }
}

vbuffer_t_opaque* buffer_packer::pack_own(Device* device, bool dynamic, std::vector<VertexInfo>& out)
{
    const int stride = layout();
    const size_t size = size_t(stride) * vertex_count();
    if (size == 0)
        return nullptr;
    vbuffer_t_opaque* buffer = device->CreateVertexBuffer(int(size), dynamic);
    unsigned char* p = static_cast<unsigned char*>(device->LockVertexBuffer(buffer, Device::lck_writediscard));
    std::memset(p, 0, size);
    write(p, stride);
    device->UnlockVertexBuffer(buffer);
    for (VertexInfo s : streams) {
        s.buffer = buffer;
        out.push_back(s);
    }
    return buffer;
}

void buffer_packer::clear()
{
    streams.clear();
    inputs.clear();
}

// ---- shared buffers

void multi_packer::add(buffer_packer* packer)
{
    members.push_back(packer);
    total += packer->vertex_count();
}

void multi_packer::get(Device* device, bool dynamic, std::vector<VertexInfo>& out,
                       buffer_packer* packer, vbuffer_t_opaque*& result, int& first, int& last)
{
    if (!buffer) {
        if (members.empty()) {
            std::fprintf(stderr, "We've got a problem in multi_packer\n");
            result = nullptr;
            first = last = 0;
            return;
        }
        const int stride = members[0]->layout();
        const size_t size = size_t(total) * size_t(stride);
        if (size == 0) {
            result = nullptr;
            first = last = 0;
            return;
        }
        buffer = device->CreateVertexBuffer(int(size), dynamic);
        unsigned char* p = static_cast<unsigned char*>(device->LockVertexBuffer(buffer, Device::lck_writediscard));
        std::memset(p, 0, size);
        size_t start = 0;
        for (buffer_packer* m : members) {
            m->write(p + start, m->layout());
            start += size_t(m->vertex_count()) * size_t(stride);
        }
        device->UnlockVertexBuffer(buffer);
    }
    result = buffer;
    uint32_t start = 0;
    for (buffer_packer* m : members) {
        if (m == packer) {
            m->layout();
            for (VertexInfo s : m->streams) {
                s.buffer = buffer;
                out.push_back(s);
            }
            first = int(start);
            last = int(start + m->vertex_count()) - 1;
            return;
        }
        start += m->vertex_count();
    }
}

// ---- diagnostics

void dump_vertex_format(const VertexInfo& info)
{
    std::printf("\t(%p + %lu)", static_cast<void*>(info.buffer), static_cast<unsigned long>(info.offset));
    switch (info.usage) {
    case vi_position: std::printf("position"); break;
    case vi_normal: std::printf("normal"); break;
    case vi_tangent: std::printf("tangent"); break;
    case vi_texcoord: std::printf("texcoord%d", info.usage_index); break;
    case vi_blendindices: std::printf("blendindices"); break;
    case vi_blendweights: std::printf("blendweights"); break;
    default: std::printf("\?\?\?=%d/%d", info.usage, info.usage_index); break;
    }
    std::printf(": %d x ", info.components);
    switch (info.type) {
    case vi_float: std::printf("float"); break;
    case vi_int32: std::printf("int32"); break;
    case vi_int16: std::printf("int16"); break;
    case vi_int8: std::printf("int8"); break;
    default: std::printf("\?\?\?=%d", info.type); break;
    }
    std::printf("\n");
}

void dump_vertex_formats(const std::vector<VertexInfo>& infos)
{
    std::printf("VertexBuffer[]:\n");
    for (const VertexInfo& info : infos)
        dump_vertex_format(info);
}

#pragma once

// Interleaving of a mesh's vertex streams into device vertex buffers. Each stream (positions,
// normals, colours, texture coordinates, blend weights and indices) comes from a source list of
// its own; a buffer_packer collects the streams of one mesh's static or dynamic part and writes
// them into one buffer, or a multi_packer writes the packers of every mesh with the same layout
// one after the other into a single shared buffer, each mesh getting its own vertex range.
//
// Packing rule: every component takes 4 bytes whatever its type; a stream's offset is 4 x the
// components of the streams before it; the stride is 4 x all components; the buffer is zeroed
// first, so vertices beyond a shorter stream's element count keep zeros in that stream.

#include "render/device.h"

#include <cstdint>
#include <vector>

// One stream of a vertex layout, as the device draws it: buffer, byte offset inside a vertex,
// stride, component type (0 float, 1 int32, 2 int16, 3 int8), components, usage (0 position,
// 1 normal, 2 tangent, 3 texcoord, 4 blend indices, 5 blend weights, 6 vertex colour) and the
// texture-coordinate channel.
typedef Device::vertex_element VertexInfo;

enum {
    vi_float = 0,
    vi_int32 = 1,
    vi_int16 = 2,
    vi_int8 = 3,
};

enum {
    vi_position = 0,
    vi_normal = 1,
    vi_tangent = 2,
    vi_texcoord = 3,
    vi_blendindices = 4,
    vi_blendweights = 5,
    vi_color = 6,
};

// The last four fields of a VertexInfo. Layouts are ordered element by element, each element
// by its fields as unsigned numbers; a list that is the start of a longer one comes first.
struct vertex_signature {
    uint32_t type, components, usage, usage_index;
    bool operator<(const vertex_signature& o) const;
    bool operator==(const vertex_signature& o) const;
};
typedef std::vector<vertex_signature> layout_signature;

// The streams of one mesh's static or dynamic part before packing.
struct buffer_packer {
    struct input_buffer {
        const void* data;  // element v starts at data + v * element_size
        uint32_t count;    // elements
        uint32_t size;     // bytes per element (may exceed components x 4)
    };

    std::vector<VertexInfo> streams;  // buffer, offset and stride filled when packed
    std::vector<input_buffer> inputs; // one per stream

    void add(int type, int components, int usage, int usage_index, const void* data, uint32_t count,
             uint32_t element_size);
    layout_signature get_signature() const;
    // The largest element count of the inputs: the vertices this packer fills.
    uint32_t vertex_count() const;
    // Offsets by the packing rule; returns the stride.
    int layout();
    // Writes the streams interleaved at dest (zeroed by the caller) with the given stride.
    void write(unsigned char* dest, int stride) const;
    // Packs into a buffer of its own (dynamic or not): null when there is nothing to pack.
    // Appends the packed streams to out.
    vbuffer_t_opaque* pack_own(Device* device, bool dynamic, std::vector<VertexInfo>& out);
    void clear();
};

// One shared buffer for every packer of one layout.
struct multi_packer {
    uint32_t total = 0;                  // vertices of all members
    vbuffer_t_opaque* buffer = nullptr;  // made by the first get
    std::vector<buffer_packer*> members; // in registration order

    // Adds a packer: its vertices follow the members registered before it.
    void add(buffer_packer* packer);
    // Makes the shared buffer on first use; then appends the packer's streams (on the shared
    // buffer) to out and gives its vertex range. A packer that is no member leaves out, first
    // and last as they were.
    void get(Device* device, bool dynamic, std::vector<VertexInfo>& out, buffer_packer* packer,
             vbuffer_t_opaque*& result, int& first, int& last);
};

// Diagnostics: one line per stream on standard output.
void dump_vertex_format(const VertexInfo& info);
void dump_vertex_formats(const std::vector<VertexInfo>& infos);

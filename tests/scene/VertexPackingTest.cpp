// Vertex packing: streams interleaved by the packing rule into a mesh's own buffer or into one
// buffer shared by every mesh of a layout.

#include "fixtures/RecordingDevice.h"
#include "render/vertex_packing.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::vector<float> contents(RecordingDevice& device, vbuffer_t_opaque* buffer, size_t floats)
{
    const float* p = static_cast<const float*>(device.LockVertexBuffer(buffer, Device::lck_readonly));
    std::vector<float> r(p, p + floats);
    device.UnlockVertexBuffer(buffer);
    return r;
}

TEST(VertexPacking, StreamsInterleaveFourBytesAComponent)
{
    RecordingDevice device;
    const float xyz[2][3] = {{1, 2, 3}, {4, 5, 6}};
    const float uvw[2][3] = {{0.5f, 0.25f, 9}, {0.75f, 1, 9}};  // the third coordinate is left out
    const float colour[1][3] = {{7, 8, 9}};                     // shorter: zeros after it
    buffer_packer packer;
    packer.add(vi_float, 3, vi_position, 0, xyz, 2, 12);
    packer.add(vi_float, 2, vi_texcoord, 0, uvw, 2, 12);
    packer.add(vi_float, 3, vi_color, 0, colour, 1, 12);
    std::vector<VertexInfo> streams;
    vbuffer_t_opaque* buffer = packer.pack_own(&device, true, streams);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(device.find("CreateVertexBuffer").i, std::vector<long long>({64, 1}));
    ASSERT_EQ(streams.size(), 3u);
    EXPECT_EQ(streams[0].offset, 0u);
    EXPECT_EQ(streams[1].offset, 12u);
    EXPECT_EQ(streams[2].offset, 20u);
    for (const VertexInfo& s : streams) {
        EXPECT_EQ(s.stride, 32);
        EXPECT_EQ(s.buffer, buffer);
    }
    EXPECT_EQ(streams[1].components, 2);
    EXPECT_EQ(streams[1].usage, vi_texcoord);
    EXPECT_EQ(contents(device, buffer, 16),
              std::vector<float>({1, 2, 3, 0.5f, 0.25f, 7, 8, 9, 4, 5, 6, 0.75f, 1, 0, 0, 0}));

    // Positions and one texture channel: offsets 0 and 12, stride 20.
    buffer_packer small;
    small.add(vi_float, 3, vi_position, 0, xyz, 2, 12);
    small.add(vi_float, 2, vi_texcoord, 0, uvw, 2, 12);
    EXPECT_EQ(small.layout(), 20);
    EXPECT_EQ(small.streams[1].offset, 12u);

    buffer_packer empty;
    EXPECT_EQ(empty.pack_own(&device, false, streams), nullptr);
    EXPECT_EQ(streams.size(), 3u);
}

TEST(VertexPacking, MeshesOfOneLayoutShareOneBufferInTurn)
{
    RecordingDevice device;
    const float a[1][3] = {{1, 1, 1}};
    const float b[2][3] = {{2, 2, 2}, {3, 3, 3}};
    buffer_packer first, second, stranger;
    first.add(vi_float, 3, vi_position, 0, a, 1, 12);
    second.add(vi_float, 3, vi_position, 0, b, 2, 12);
    stranger.add(vi_float, 3, vi_normal, 0, a, 1, 12);
    EXPECT_TRUE(first.get_signature() == second.get_signature());
    multi_packer shared;
    shared.add(&first);
    shared.add(&second);
    EXPECT_EQ(shared.total, 3u);

    std::vector<VertexInfo> out;
    vbuffer_t_opaque* buffer = nullptr;
    int lo = -1, hi = -1;
    shared.get(&device, false, out, &second, buffer, lo, hi);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(lo, 1);
    EXPECT_EQ(hi, 2);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].buffer, buffer);
    EXPECT_EQ(out[0].stride, 12);
    shared.get(&device, false, out, &first, buffer, lo, hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 0);
    EXPECT_EQ(device.count("CreateVertexBuffer"), 1);
    EXPECT_EQ(contents(device, buffer, 9), std::vector<float>({1, 1, 1, 2, 2, 2, 3, 3, 3}));

    // A packer that is no member leaves the results alone.
    out.clear();
    lo = hi = 7;
    shared.get(&device, false, out, &stranger, buffer, lo, hi);
    EXPECT_EQ(lo, 7);
    EXPECT_TRUE(out.empty());

    // Without members there is nothing to share.
    multi_packer none;
    ::testing::internal::CaptureStderr();
    none.get(&device, false, out, &first, buffer, lo, hi);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "We've got a problem in multi_packer\n");
    EXPECT_EQ(buffer, nullptr);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 0);
}

TEST(VertexPacking, SignaturesOrderFieldByFieldWithPrefixesFirst)
{
    const float d[1][4] = {};
    buffer_packer p, longer, texcoord1;
    p.add(vi_float, 3, vi_position, 0, d, 1, 12);
    longer.add(vi_float, 3, vi_position, 0, d, 1, 12);
    longer.add(vi_float, 3, vi_normal, 0, d, 1, 12);
    texcoord1.add(vi_float, 2, vi_texcoord, 1, d, 1, 12);
    EXPECT_TRUE(p.get_signature() < longer.get_signature());
    EXPECT_FALSE(longer.get_signature() < p.get_signature());
    // Type, then components: two texture components come before three position ones.
    EXPECT_TRUE(texcoord1.get_signature() < p.get_signature());
}

TEST(VertexPacking, TheDumpNamesUsagesAndTypes)
{
    VertexInfo colour = {};
    colour.usage = vi_color;
    colour.components = 3;
    colour.offset = 24;
    VertexInfo uv = {};
    uv.usage = vi_texcoord;
    uv.usage_index = 2;
    uv.components = 2;
    uv.type = vi_int16;
    ::testing::internal::CaptureStdout();
    dump_vertex_formats({colour, uv});
    std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "VertexBuffer[]:\n\t((nil) + 24)\?\?\?=6/0: 3 x float\n\t((nil) + 0)texcoord2: 2 x int16\n");
}

} // namespace

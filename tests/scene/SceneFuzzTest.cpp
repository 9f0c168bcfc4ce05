// Damaged scene files: truncations, flipped bytes and huge counts must never crash the reader
// or let it read out of bounds (run under AddressSanitizer), and whatever it accepts must be a
// scene whose every link a loader can follow.

#include "render/scene_file.h"

#include "render/SuperBase.h"
#include "scene/SceneSamples.h"
#include "fixtures/TempDir.h"
#include "scene/FileBytes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

namespace {

std::vector<char> sampleFile()
{
    TempDir dir;
    std::string path = dir.file("fuzz.3dn");
    EXPECT_TRUE(scene_save(scenesamples::fullScene(), path.c_str()));
    return readBytes(path);
}

// Follows every link the way a scene loader does, with checked indexing: an accepted scene
// that still holds a bad link throws.
void followLinks(const Engine2Scene& s)
{
    const auto& nodes = s.node;
    std::function<int(int, int)> walk = [&](int i, int depth) {
        if (depth > int(nodes.size()))
            throw std::runtime_error("node cycle");
        int size = 1;
        for (int32_t c : nodes.at(size_t(i)).subnode)
            if (c)
                size += walk(c, depth + 1);
        return size;
    };
    int total = 1;
    for (size_t i = 1; i < nodes.size(); ++i)
        if (nodes[i].parent == 0)
            total += walk(int(i), 0);
    if (total != int(nodes.size()))
        throw std::runtime_error("node tree");
    for (size_t i = 1; i < nodes.size(); ++i) {
        const auto& n = nodes[i];
        const std::vector<float4x4>* track = &n.matrix;
        if (n.mesh)
            track = &s.mesh.at(size_t(n.mesh)).matrix;
        if (n.bone)
            track = &s.bone.at(size_t(n.bone)).matrix;
        if (n.camera)
            track = &s.camera.at(size_t(n.camera)).matrix;
        if (n.light)
            track = &s.light.at(size_t(n.light)).matrix;
        (void)track->at(0);
        nodes.at(size_t(n.parent));
    }
    for (const auto& m : s.mesh) {
        const auto& tb = s.trianglebuffer.at(size_t(m.trianglebuffer));
        const auto& vb = s.vertexbuffer.at(size_t(tb.vertexbuffer));
        for (size_t k = 0; k < tb.triangle.size(); ++k) {
            s.material.at(size_t(tb.material.at(k)));
            for (const auto& t : tb.triangle[k]) {
                vb.xyz.at(size_t(t.a)), vb.xyz.at(size_t(t.b)), vb.xyz.at(size_t(t.c));
            }
        }
        for (int c = 0; c < 4; ++c)
            for (int32_t b : vb.bone[c])
                nodes.at(size_t(s.bone.at(size_t(b)).node));
    }
    for (const auto& m : s.material)
        for (int slot = 0; slot < 16; ++slot)
            if (m.slot(slot))
                s.texture_map.at(size_t(m.slot(slot)));
    for (const auto& t : s.texture_map)
        s.file.at(size_t(t.file));
    for (const auto& l : s.light) {
        nodes.at(size_t(l.node));
        if (l.decay_inv)
            (void)l.far_atten_start.at(0), (void)l.far_atten_end.at(0);
        if (l.shadows && l.is_spot)
            (void)l.angle_big.at(0);
    }
    for (const auto& c : s.camera)
        nodes.at(size_t(c.node));
}

// Loads a damaged file; an accepted scene must pass every link.
bool loadAndFollow(const std::vector<char>& bytes)
{
    Engine2Scene s;
    bool ok = scene_load(s, bytes, "fuzz.3dn");
    if (ok) {
        EXPECT_NO_THROW(followLinks(s));
    }
    return ok;
}

// The reader's warnings, one per refused file, are kept off the test's output; a sanitizer's
// report still goes to the real standard error.
class SceneFuzz : public testing::Test {
protected:
    void SetUp() override
    {
#if defined(__SANITIZE_ADDRESS__)
        static const int realStderr = dup(2);
        __sanitizer_set_report_fd(reinterpret_cast<void*>(intptr_t(realStderr)));
#endif
        testing::internal::CaptureStderr();
    }
    void TearDown() override { testing::internal::GetCapturedStderr(); }
};

// Offsets of every count and size word of the container (structure count, record counts,
// name sizes, data sizes) and of every word of the records of one or two words (links, list
// counts, flags, the root's indexes of kinds with two elements).
void containerWords(const std::vector<char>& f, std::vector<size_t>& counts, std::vector<size_t>& smallRecordWords)
{
    size_t p = 64;
    auto word = [&](size_t at) { return int32_t(decode_le32(f.data() + at)); };
    counts.push_back(p);
    int32_t structures = word(p);
    p += 4;
    for (int32_t s = 0; s < structures; ++s) {
        counts.push_back(p);
        int32_t records = word(p);
        p += 4;
        for (int32_t r = 0; r < records; ++r) {
            counts.push_back(p);
            p += 4 + size_t(word(p));
            counts.push_back(p);
            int32_t size = word(p);
            p += 4;
            if (size == 4 || size == 8)
                for (int32_t w = 0; w < size; w += 4)
                    smallRecordWords.push_back(p + size_t(w));
            p += size_t(size);
        }
    }
}

} // namespace

TEST_F(SceneFuzz, TheUndamagedSampleLoads)
{
    EXPECT_TRUE(loadAndFollow(sampleFile()));
}

TEST_F(SceneFuzz, EveryTruncationIsRefused)
{
    // Every length through the header and the first structures, then a spread over the rest.
    std::vector<char> whole = sampleFile();
    for (size_t n = 0; n < whole.size(); n += n < 1024 ? 1 : 13) {
        std::vector<char> cut(whole.begin(), whole.begin() + n);
        EXPECT_FALSE(loadAndFollow(cut)) << "length " << n;
    }
}

TEST_F(SceneFuzz, FlippedBytesNeverCrash)
{
    std::vector<char> whole = sampleFile();
    std::srand(1234);
    const int kRounds = 1200;
    int accepted = 0;
    for (int round = 0; round < kRounds; ++round) {
        std::vector<char> f = whole;
        int flips = 1 + std::rand() % 4;
        for (int i = 0; i < flips; ++i)
            f[size_t(std::rand()) % f.size()] ^= char(1 + std::rand() % 255);
        accepted += loadAndFollow(f);
    }
    // Flips inside numbers and texts are harmless and accepted; those in counts and links are not.
    EXPECT_GT(accepted, 0);
    EXPECT_LT(accepted, kRounds);
}

TEST_F(SceneFuzz, HugeCountsSizesAndListLengthsAreRefusedOrHarmless)
{
    std::vector<char> whole = sampleFile();
    std::vector<size_t> counts, smallWords;
    containerWords(whole, counts, smallWords);
    ASSERT_GT(counts.size(), 100u);
    ASSERT_GT(smallWords.size(), 50u);
    const uint32_t values[] = {0x7fffffffu, 0xffffffffu, uint32_t(whole.size())};
    for (size_t at : counts) {
        for (uint32_t v : values) {
            std::vector<char> f = whole;
            encode_le32(f.data() + at, v);
            EXPECT_FALSE(loadAndFollow(f)) << "count at " << at << " = " << v;
        }
    }
    // Small records hold links, list counts and flags: any value is refused or harmless.
    for (size_t at : smallWords) {
        for (uint32_t v : values) {
            std::vector<char> f = whole;
            encode_le32(f.data() + at, v);
            loadAndFollow(f);
        }
    }
}

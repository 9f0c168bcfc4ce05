// The 2D queue against the recording device: submission order, merging of neighbours with
// the same image and blend, vertex layouts, transforms and the blend-to-technique mapping.

#include "fixtures/HeadlessEngine.h"
#include "render/CRender.h"
#include "render/image.h"
#include "render/render.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const float kWhite[4] = {1, 1, 1, 1};

class Render2D : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(a.create(2, 64, 32, nullptr));
        ASSERT_TRUE(b.create(2, 16, 16, nullptr));
        engine.device.clear();
        engine.render.begin(nullptr, 0.0f, 1.3333f);
    }

    std::vector<RecordedCall> draws() { return engine.device.calls("DrawFromMemory"); }
    // The "model_matrix" values set right before each draw.
    std::vector<std::vector<float>> modelMatrices()
    {
        std::vector<std::vector<float>> out;
        std::vector<float> last;
        for (const RecordedCall& c : engine.device.calls()) {
            if (c.op == "SetParam" && c.name == "model_matrix")
                last = c.f;
            if (c.op == "DrawFromMemory")
                out.push_back(last);
        }
        return out;
    }

    HeadlessEngine engine;
    ::Image a, b;
};

const std::vector<float> kIdentity12 = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0};

TEST_F(Render2D, OnlyNeighboursAreMerged)
{
    a.draw(0, 0, 0.5f, 0.5f, kWhite, 1);
    b.draw(0, 0, 0.5f, 0.5f, kWhite, 1);
    a.draw(0, 0, 0.5f, 0.5f, kWhite, 1);
    engine.render.end(true, true, true);
    std::vector<RecordedCall> d = draws();
    ASSERT_EQ(d.size(), 3u);
    // Submission order: a, b, a, each with the texture bound to "diffuse" first.
    std::vector<long long> bound;
    for (const RecordedCall& c : engine.device.calls("SetParamTexture"))
        bound.push_back(c.i[1]);
    EXPECT_EQ(bound, (std::vector<long long>{engine.device.idOf(a.texture),
                                             engine.device.idOf(b.texture),
                                             engine.device.idOf(a.texture)}));
}

TEST_F(Render2D, ARunIsOneDrawTransformedOnTheProcessor)
{
    const float red[4] = {1, 0, 0, 1};
    a.draw(0.0f, 0.0f, 0.5f, 0.5f, red, 1);
    a.draw(0.5f, 0.0f, 0.25f, 0.5f, kWhite, 1);
    a.draw(0.5f, 0.5f, 0.5f, 0.5f, kWhite, 1);
    engine.render.end(true, true, true);
    std::vector<RecordedCall> d = draws();
    ASSERT_EQ(d.size(), 1u);
    EXPECT_EQ(d[0].i[2], 18);  // three quads, six indices each
    EXPECT_EQ(modelMatrices()[0], kIdentity12);
    ASSERT_EQ(d[0].elements.size(), 3u);
    EXPECT_EQ(d[0].elements[0].stride, 36);
    // The second quad's corner (0, 1) lands at (0.5, 0.5); the first quad carries its colour.
    const std::vector<float>& pos = d[0].streams[0];
    EXPECT_FLOAT_EQ(pos[4 * 3 + 0], 0.5f);
    EXPECT_FLOAT_EQ(pos[4 * 3 + 1], 0.5f);
    const std::vector<float>& colour = d[0].streams[2];
    EXPECT_EQ(std::vector<float>(colour.begin(), colour.begin() + 4),
              (std::vector<float>{1, 0, 0, 1}));
    EXPECT_EQ(std::vector<float>(colour.begin() + 16, colour.begin() + 20),
              (std::vector<float>{1, 1, 1, 1}));
    // The colour parameter is white, the items' colours ride in the vertices.
    std::vector<float> lastColour;
    for (const RecordedCall& c : engine.device.calls())
        if (c.op == "SetParam" && c.name == "color")
            lastColour = c.f;
        else if (c.op == "DrawFromMemory")
            break;
    EXPECT_EQ(lastColour, (std::vector<float>{1, 1, 1, 1}));
}

TEST_F(Render2D, ASingleItemDrawsItsOwnQuadsWithItsTransform)
{
    // Three custom quads in one item, placed by the item's transform.
    float* v = static_cast<float*>(engine.render.allocator().alloc(3 * 80, 16));
    for (int k = 0; k < 60; ++k)
        v[k] = float(k % 5) * 0.1f;
    RenderArgs2D item;
    ASSERT_TRUE(a.pin());
    item.image = &a;
    const float t[12] = {0.5f, 0, 0, 0.25f, 0, 0.5f, 0, 0.125f, 0, 0, 1, 0};
    std::copy(t, t + 12, item.transform);
    item.vertices = v;
    item.n_quads = 3;
    engine.render.add_2d(item);
    engine.render.end(true, true, true);
    std::vector<RecordedCall> d = draws();
    ASSERT_EQ(d.size(), 1u);
    EXPECT_EQ(d[0].i[2], 18);
    EXPECT_EQ(d[0].elements.size(), 2u);
    EXPECT_EQ(d[0].elements[0].stride, 20);
    EXPECT_EQ(modelMatrices()[0], std::vector<float>(t, t + 12));
    EXPECT_EQ(d[0].indices, (std::vector<int>{0, 1, 2, 2, 3, 0, 4, 5, 6, 6, 7, 4, 8, 9, 10, 10,
                                              11, 8}));
    EXPECT_EQ(a.inUse, 0);
}

TEST_F(Render2D, TheUnitQuadKeepsTheHalfTexelInset)
{
    a.draw(0.1f, 0.2f, 0.3f, 0.4f, kWhite, 1);
    engine.render.end(true, true, true);
    std::vector<RecordedCall> d = draws();
    ASSERT_EQ(d.size(), 1u);
    EXPECT_EQ(modelMatrices()[0],
              (std::vector<float>{0.3f, 0, 0, 0.1f, 0, 0.4f, 0, 0.2f, 0, 0, 1, 0}));
    float ha = 0.5f / 64, hb = 0.5f / 32;
    std::vector<float> uv = {ha, hb, ha, 1 - hb, 1 - ha, 1 - hb, 1 - ha, hb};
    EXPECT_EQ(d[0].streams[1], uv);
    EXPECT_EQ(d[0].streams[0], (std::vector<float>{0, 1, 0, 0, 0, 0, 1, 0, 0, 1, 1, 0}));
}

TEST_F(Render2D, BlendsMapToTechniquesAndSamplersByName)
{
    const char* techniques[6] = {"main2d_fill", "main2d", "main2d_add", "main2d_mul",
                                 "main2d_mul2", "main2d_composite"};
    for (int blend = 0; blend < 6; ++blend) {
        engine.device.clear();
        if (blend > 0)
            engine.render.begin(nullptr, 0.0f, 1.3333f);
        a.draw(0, 0, 1, 1, kWhite, blend);
        engine.render.end(true, true, true);
        EXPECT_EQ(engine.device.find("BeginPass").name, techniques[blend]) << blend;
        EXPECT_EQ(engine.device.find("SetParamTexture").name,
                  blend == 2 ? "selfillum" : "diffuse")
            << blend;
    }
}

TEST_F(Render2D, EveryPassOfTheTechniqueDraws)
{
    engine.device.setPasses("main2d_mul2", 2);
    a.draw(0, 0, 1, 1, kWhite, 4);
    engine.render.end(true, true, true);
    EXPECT_EQ(draws().size(), 2u);
    EXPECT_EQ(engine.device.count("BeginPass"), 2);
    EXPECT_EQ(engine.device.count("EndPass"), 2);
}

TEST_F(Render2D, UnloadedImagesQueueNothing)
{
    ::Image empty;
    empty.draw(0, 0, 1, 1, kWhite, 1);
    engine.render.end(true, true, true);
    EXPECT_TRUE(draws().empty());
}

TEST_F(Render2D, TheCanvasIsCentredInAWideWindow)
{
    engine.render.end(true, true, true);
    engine.device.setScreenSize(1280, 720);
    engine.device.clear();
    engine.render.begin(nullptr, 0.0f, 1.3333f);
    a.draw(0, 0, 1, 1, kWhite, 1);
    engine.render.end(true, true, true);
    const std::vector<float> p = engine.device.calls("SetMatrix").back().f;
    float s = 1.3333f / (1280.0f / 720.0f);
    // Canvas x 0 and 1 land at clip -s and +s; x = 0.5 at the window's centre.
    EXPECT_FLOAT_EQ(p[0] * 0 + p[3], -s);
    EXPECT_FLOAT_EQ(p[0] * 1 + p[3], s);
    EXPECT_FLOAT_EQ(p[0] * 0.5f + p[3], 0);
}

}  // namespace

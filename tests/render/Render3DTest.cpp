// The renderer's 3D side against the recording device with hand-filled objects: culling, the
// order of the opaque and see-through lists, the choice of at most four lights, unlit
// materials, texture substitutions, layers, fog, the shadow map and the pins of drawn objects.

#include "fixtures/HandScene.h"
#include "fixtures/HeadlessEngine.h"
#include "render/CRender.h"
#include "render/image.h"
#include "render/render.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

const float kNoDecay[4] = {1, 0, 0, 1000};

class Render3D : public ::testing::Test {
protected:
    void SetUp() override { engine.device.clear(); }

    // A frame with the camera at (0, -10, 0) looking along +y, z up.
    void begin()
    {
        engine.render.begin(nullptr, 0.0f, 1.3333f);
        engine.render.set_camera(float3(0, -10, 0), float3(0, 0, 0), float3(0, 0, 1), 60, 0);
    }
    void end() { engine.render.end(true, true, true); }
    void draw(HandScene& scene, const char* mask = nullptr, const Object::Mixer* mixers = nullptr,
              int mixer_count = 0, float4 colour = float4(1, 1, 1, 1))
    {
        float4x3 world = identity4x3();
        scene.object.draw(&world, 0, nullptr, 0, mask, mixers, mixer_count, &colour);
    }

    // The index buffer of each Draw, in call order (it names the part drawn).
    std::vector<long long> drawnBuffers()
    {
        std::vector<long long> out;
        for (const RecordedCall& c : engine.device.calls("Draw"))
            out.push_back(c.i[4]);
        return out;
    }
    long long bufferOf(HandScene& scene, int node, int part = 0)
    {
        return engine.device.idOf(scene.mesh(node).submeshes[size_t(part)].index_buffer);
    }
    // The last value set for a parameter before each Draw (empty when never set).
    std::vector<std::vector<float>> paramAtDraws(const std::string& name)
    {
        std::vector<std::vector<float>> out;
        std::vector<float> last;
        for (const RecordedCall& c : engine.device.calls()) {
            if (c.op == "SetParam" && c.name == name)
                last = c.f;
            if (c.op == "Draw")
                out.push_back(last);
        }
        return out;
    }
    // The shader flags and the technique of each Draw.
    std::vector<std::string> flagsAtDraws()
    {
        std::vector<std::string> out;
        std::string last;
        for (const RecordedCall& c : engine.device.calls()) {
            if (c.op == "SetShaderFlags")
                last = c.name;
            if (c.op == "Draw")
                out.push_back(last);
        }
        return out;
    }
    std::vector<std::string> techniquesAtDraws()
    {
        std::vector<std::string> out;
        std::string last;
        for (const RecordedCall& c : engine.device.calls()) {
            if (c.op == "BeginPass")
                last = c.name;
            if (c.op == "Draw")
                out.push_back(last);
        }
        return out;
    }
    int setCount(const std::string& name)
    {
        int n = 0;
        for (const RecordedCall& c : engine.device.calls("SetParam"))
            n += c.name == name;
        return n;
    }

    HeadlessEngine engine;
};

TEST_F(Render3D, AFrameWithoutLightsIsLitByOneLightAtTheCamera)
{
    HandScene scene(&engine.device);
    int red = scene.material("red", float3(1, 0, 0));
    int node = scene.quad(red, float3(0, 0, 0));
    begin();
    draw(scene);
    EXPECT_EQ(scene.object.in_use, 1);
    end();
    EXPECT_EQ(scene.object.in_use, 0);

    std::vector<RecordedCall> draws = engine.device.calls("Draw");
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].i[4], bufferOf(scene, node));
    EXPECT_EQ(draws[0].indices, (std::vector<int>{0, 1, 2, 2, 3, 0}));
    EXPECT_EQ(draws[0].elements.size(), scene.mesh(node).streams.size());
    EXPECT_EQ(techniquesAtDraws(), (std::vector<std::string>{"main"}));
    EXPECT_EQ(flagsAtDraws(), (std::vector<std::string>{"LIGHT0"}));
    EXPECT_EQ(paramAtDraws("WSlightpos[0]")[0], (std::vector<float>{0, -10, 0}));
    EXPECT_EQ(paramAtDraws("light_diffuse[0]")[0], (std::vector<float>{0.6f, 0.7f, 0.6f, 1}));
    EXPECT_EQ(paramAtDraws("light_ambient[0]")[0], (std::vector<float>{0.1f, 0.1f, 0.1f, 1}));
    EXPECT_EQ(paramAtDraws("global_ambient")[0], (std::vector<float>{0.1f, 0.1f, 0.1f, 1}));
    EXPECT_EQ(paramAtDraws("decay_equation[0]")[0], (std::vector<float>{0.83f, 0, 0.0065f, 1e10f}));
    EXPECT_EQ(paramAtDraws("color_diffuse")[0], (std::vector<float>{1, 0, 0, 1}));
    EXPECT_EQ(paramAtDraws("model_matrix")[0],
              (std::vector<float>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0}));
    EXPECT_TRUE(engine.render.light_list().empty());
}

TEST_F(Render3D, ASphereWhollyBehindAPlaneIsCulledOneTouchingItIsNot)
{
    // Five planes everything is in front of, and x >= 0.
    float4 planes[6];
    for (float4& p : planes)
        p = float4(0, 0, 0, 1);
    planes[3] = float4(1, 0, 0, 0);
    EXPECT_TRUE(Render::sphere_outside(planes, float3(-2.01f, 5, 5), 2));
    EXPECT_FALSE(Render::sphere_outside(planes, float3(-2, 5, 5), 2));
    EXPECT_FALSE(Render::sphere_outside(planes, float3(-1, 5, 5), 2));

    HandScene scene(&engine.device);
    int grey = scene.material("grey", float3(0.5f, 0.5f, 0.5f));
    int inside = scene.quad(grey, float3(0, 0, 0));
    scene.quad(grey, float3(-100, 0, 0));  // far left of the view
    scene.quad(grey, float3(0, -20, 0));   // behind the camera
    begin();
    draw(scene);
    end();
    EXPECT_EQ(drawnBuffers(), (std::vector<long long>{bufferOf(scene, inside)}));
}

TEST_F(Render3D, TheFourHeaviestLightsInReachAreChosenAndIdsSortedAscending)
{
    HandScene scene(&engine.device);
    int grey = scene.material("grey", float3(0.5f, 0.5f, 0.5f));
    scene.quad(grey, float3(0, 0, 0));
    // Equal distance and no decay: the weight is the intensity, 3 x the diffuse factor.
    const float factors[5] = {0.1f, 0.5f, 0.2f, 0.4f, 0.3f};
    for (int k = 0; k < 5; ++k)
        scene.light(float3(5.0f * std::cos(k * 1.2f), 0, 5.0f * std::sin(k * 1.2f)),
                    float3(1, 1, 1), 0, factors[k], 0, 0, kNoDecay);
    // Strongest of all, but out of reach: range 1 at distance 50.
    const float shortRange[4] = {1, 0, 0, 1};
    scene.light(float3(50, 0, 0), float3(1, 1, 1), 1, 1, 1, 0, shortRange);
    begin();
    draw(scene);
    end();

    ASSERT_EQ(engine.device.count("Draw"), 1);
    EXPECT_EQ(flagsAtDraws()[0], "LIGHT0 LIGHT1 LIGHT2 LIGHT3");
    // Lights 1, 2, 3, 4 (the heaviest) fill the slots in id order; light 0 and 5 are left out.
    for (int slot = 0; slot < 4; ++slot) {
        const int id = slot + 1;
        std::vector<float> expected = {5.0f * std::cos(id * 1.2f), 0, 5.0f * std::sin(id * 1.2f)};
        std::vector<float> got = paramAtDraws("WSlightpos[" + std::to_string(slot) + "]")[0];
        ASSERT_EQ(got.size(), 3u);
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(got[size_t(c)], expected[size_t(c)], 1e-5f) << "slot " << slot;
        std::vector<float> diffuse = paramAtDraws("light_diffuse[" + std::to_string(slot) + "]")[0];
        EXPECT_FLOAT_EQ(diffuse[0], factors[id]);
    }
}

TEST_F(Render3D, ALightOutOfReachIsNeverUsedEvenWithSlotsFree)
{
    HandScene scene(&engine.device);
    int grey = scene.material("grey", float3(0.5f, 0.5f, 0.5f));
    scene.quad(grey, float3(0, 0, 0));
    scene.light(float3(0, -3, 0), float3(1, 1, 1), 0, 0.2f, 0, 0, kNoDecay);
    const float shortRange[4] = {1, 0, 0, 1};
    scene.light(float3(50, 0, 0), float3(1, 1, 1), 0, 0.9f, 0, 0, shortRange);
    begin();
    draw(scene);
    end();
    EXPECT_EQ(flagsAtDraws(), (std::vector<std::string>{"LIGHT0"}));
    EXPECT_EQ(paramAtDraws("WSlightpos[0]")[0], (std::vector<float>{0, -3, 0}));
    EXPECT_EQ(setCount("WSlightpos[1]"), 0);
    // Both lights' global-ambient shares add up, whether used or not.
}

TEST_F(Render3D, AnUnlitMaterialTakesFullAmbientAndNoLight)
{
    HandScene scene(&engine.device);
    int lit = scene.material("lit", float3(0.5f, 0.5f, 0.5f));
    int unlit = scene.material("sky NO_LIGHT", float3(0.2f, 0.4f, 0.8f), 1, true);
    scene.quad(unlit, float3(0, 0, 0));
    scene.quad(lit, float3(2, 0, 0));
    scene.light(float3(0, -3, 0), float3(1, 1, 1), 0, 1, 0, 0.25f, kNoDecay);
    begin();
    draw(scene);
    end();
    // Opaque parts are drawn by material: which comes first depends on addresses.
    std::vector<std::string> flags = flagsAtDraws();
    std::vector<std::vector<float>> ambient = paramAtDraws("global_ambient");
    std::vector<std::vector<float>> diffuse = paramAtDraws("color_diffuse");
    ASSERT_EQ(flags.size(), 2u);
    for (size_t k = 0; k < 2; ++k) {
        if (diffuse[k][0] == 0.2f) {
            EXPECT_EQ(flags[k], "");
            EXPECT_EQ(ambient[k], (std::vector<float>{1, 1, 1, 1}));
        } else {
            EXPECT_EQ(flags[k], "LIGHT0");
            EXPECT_EQ(ambient[k], (std::vector<float>{0.25f, 0.25f, 0.25f, 1}));
        }
    }
}

TEST_F(Render3D, SeeThroughPartsAreDrawnFarToNearAfterTheOpaqueOnes)
{
    HandScene scene(&engine.device);
    int glass = scene.material("glass", float3(0.5f, 0.5f, 1), 0.5f);
    int solid = scene.material("solid", float3(1, 1, 1));
    int nearQuad = scene.quad(glass, float3(0, 5, 0));
    int farQuad = scene.quad(glass, float3(0, 30, 0));
    int middle = scene.quad(glass, float3(0, 10, 0));
    int opaque = scene.quad(solid, float3(0, 40, 0));
    begin();
    draw(scene);
    end();
    EXPECT_EQ(drawnBuffers(),
              (std::vector<long long>{bufferOf(scene, opaque), bufferOf(scene, farQuad),
                                      bufferOf(scene, middle), bufferOf(scene, nearQuad)}));
    EXPECT_EQ(techniquesAtDraws(),
              (std::vector<std::string>{"main", "alpha8", "alpha8", "alpha8"}));
}

// The opaque list's first half (by triangles) is handed to the device ("submit") before the
// other half is drawn, once a frame; a device without the parameter is not asked.
TEST_F(Render3D, HalfTheOpaqueTrianglesAreSubmittedBeforeTheRest)
{
    HandScene scene(&engine.device);
    const int solid = scene.material("solid", float3(1, 1, 1));
    for (int k = 0; k < 4; ++k)
        scene.quad(solid, float3(float(k), 0, 0));
    auto drawsBeforeSubmits = [&] {
        std::vector<int> out;
        int draws = 0;
        for (const RecordedCall& c : engine.device.calls()) {
            draws += c.op == "Draw";
            if (c.op == "SetParam" && c.name == "submit" && c.f[0] == 1)
                out.push_back(draws);
        }
        return out;
    };
    begin();
    draw(scene);
    end();
    EXPECT_EQ(drawsBeforeSubmits(), std::vector<int>{2});

    engine.device.forgetParameter("submit");
    engine.render.init(&engine.device);
    engine.device.clear();
    begin();
    draw(scene);
    end();
    EXPECT_EQ(drawsBeforeSubmits(), std::vector<int>{});
    EXPECT_EQ(drawnBuffers().size(), 4u);
}

// The opaque list is drawn last-first with "strict_depth" on, so that equal depths keep what
// the list's order would show; a later pass of a part draws over its first with it off; the
// see-through list and a device without the parameter keep the list's order.
TEST_F(Render3D, TheOpaqueListIsDrawnInReverseWithStrictDepth)
{
    HandScene scene(&engine.device);
    const int a = scene.material("a", float3(1, 0, 0));
    const int b = scene.material("b", float3(0, 1, 0));
    const int glass = scene.material("glass", float3(0, 0, 1), 0.5f);
    // Materials sort by address: a's two parts (in queue order), then b's.
    const int a1 = scene.quad(a, float3(0, 0, 0));
    const int b1 = scene.quad(b, float3(1, 0, 0));
    const int a2 = scene.quad(a, float3(2, 0, 0));
    const int seeThrough = scene.quad(glass, float3(0, 5, 0));
    texture_t_opaque* tex = engine.device.CreateTexture(2, 4, 4, nullptr, 1, nullptr);
    scene.set_map(b, Object::slot_selfillum, scene.texture(tex));
    engine.device.setPasses("add", 2);  // b glows: two passes

    // Each Draw with the strict-depth value in force.
    auto drawsWithDepthRule = [&] {
        std::vector<std::pair<long long, float>> out;
        float strict = 0;
        for (const RecordedCall& c : engine.device.calls()) {
            if (c.op == "SetParam" && c.name == "strict_depth")
                strict = c.f[0];
            if (c.op == "Draw")
                out.emplace_back(c.i[4], strict);
        }
        EXPECT_EQ(strict, 0.0f) << "left on after the frame";
        return out;
    };
    begin();
    draw(scene);
    end();
    using Draws = std::vector<std::pair<long long, float>>;
    EXPECT_EQ(drawsWithDepthRule(), (Draws{{bufferOf(scene, b1), 1.0f},
                                           {bufferOf(scene, b1), 0.0f},
                                           {bufferOf(scene, a2), 1.0f},
                                           {bufferOf(scene, a1), 1.0f},
                                           {bufferOf(scene, seeThrough), 0.0f}}));

    engine.device.forgetParameter("strict_depth");
    engine.render.init(&engine.device);
    engine.device.clear();
    begin();
    draw(scene);
    end();
    EXPECT_EQ(drawnBuffers(), (std::vector<long long>{bufferOf(scene, a1), bufferOf(scene, a2),
                                                      bufferOf(scene, b1), bufferOf(scene, b1),
                                                      bufferOf(scene, seeThrough)}));
    engine.device.ReleaseTexture(tex);
}

TEST_F(Render3D, TransparencyClassChoosesTheTechnique)
{
    HandScene scene(&engine.device);
    texture_t_opaque* tex = engine.device.CreateTexture(2, 4, 4, nullptr, 1, nullptr);
    int t = scene.texture(tex);
    int glowing = scene.material("glowing", float3(1, 1, 1));
    scene.set_map(glowing, Object::slot_selfillum, t);
    int textured = scene.material("textured", float3(1, 1, 1), 0.5f);
    scene.set_map(textured, Object::slot_diffuse, t);
    scene.quad(glowing, float3(0, 0, 0));
    scene.quad(textured, float3(1, 0, 0));
    begin();
    // A faded draw makes every part see-through.
    draw(scene, nullptr, nullptr, 0, float4(1, 1, 1, 0.5f));
    draw(scene);
    end();
    std::vector<std::string> techniques = techniquesAtDraws();
    // Opaque: "add" (self-illumination) and "main" (a diffuse map ignores the opacity).
    ASSERT_EQ(techniques.size(), 4u);
    std::sort(techniques.begin(), techniques.begin() + 2);
    std::sort(techniques.begin() + 2, techniques.end());
    EXPECT_EQ(techniques, (std::vector<std::string>{"add", "main", "alpha8", "alpha8add"}));
    engine.device.ReleaseTexture(tex);
}

TEST_F(Render3D, TransparencyEntriesOfATexturedMaterialChooseAlphaTestOrBlending)
{
    HandScene scene(&engine.device);
    texture_t_opaque* tex = engine.device.CreateTexture(2, 4, 4, nullptr, 1, nullptr);
    const int t = scene.texture(tex);
    // first entry, second entry, switch -> technique
    const struct {
        int first, second, flag;
        const char* technique;
    } cases[] = {
        {0, 0, 1, "main"},   {t, 0, 1, "alpha1"}, {t, 0, 0, "alpha8"},
        {0, t, 0, "alpha1"}, {t, t, 0, "alpha1"},
    };
    for (const auto& c : cases) {
        HandScene one(&engine.device);
        const int m = one.material("cut-out", float3(1, 1, 1));
        one.set_map(m, Object::slot_diffuse, one.texture(tex));
        one.object.materials[size_t(m)].transparency[0] = c.first;
        one.object.materials[size_t(m)].transparency[1] = c.second;
        one.object.materials[size_t(m)].flag = c.flag;
        one.quad(m, float3(0, 0, 0));
        engine.device.clear();
        begin();
        draw(one);
        end();
        EXPECT_EQ(techniquesAtDraws(), std::vector<std::string>{c.technique})
            << c.first << " " << c.second << " " << c.flag;
    }
    // Without a diffuse map the entries mean nothing: opacity alone decides.
    const int plain = scene.material("plain", float3(1, 1, 1));
    scene.object.materials[size_t(plain)].transparency[0] = t;
    scene.quad(plain, float3(0, 0, 0));
    engine.device.clear();
    begin();
    draw(scene);
    end();
    EXPECT_EQ(techniquesAtDraws(), std::vector<std::string>{"main"});
    engine.device.ReleaseTexture(tex);
}

TEST_F(Render3D, AMaterialIsSetOnceForItsPartsUnlessTexturesAreSubstituted)
{
    HandScene scene(&engine.device);
    int grey = scene.material("grey", float3(0.5f, 0.5f, 0.5f));
    int node = scene.quad(grey, float3(0, 0, 0));
    scene.add_part(node, grey);
    begin();
    draw(scene);
    end();
    EXPECT_EQ(engine.device.count("Draw"), 2);
    EXPECT_EQ(setCount("color_diffuse"), 1);

    CRender::Image image;
    ASSERT_TRUE(image.engine()->create(2, 8, 8, nullptr));
    Object::Mixer mixer = {"grey", "slot_1_0", &image};
    engine.device.clear();
    begin();
    draw(scene, nullptr, &mixer, 1);
    end();
    EXPECT_EQ(setCount("color_diffuse"), 2);
    // The substitute is bound as the diffuse map and switches its flag on.
    int diffuseBinds = 0;
    for (const RecordedCall& c : engine.device.calls("SetParamTexture"))
        if (c.name == "diffuse") {
            EXPECT_EQ(c.i[1], engine.device.idOf(image.engine()->texture));
            ++diffuseBinds;
        }
    EXPECT_EQ(diffuseBinds, 2);
    EXPECT_EQ(flagsAtDraws()[0], "DIFFUSEMAP LIGHT0");
}

TEST_F(Render3D, SubstitutionsFollowTheirSlotKeys)
{
    HandScene scene(&engine.device);
    int grey = scene.material("grey", float3(0.5f, 0.5f, 0.5f));
    int other = scene.material("other", float3(0.5f, 0.5f, 0.5f));
    scene.quad(grey, float3(0, 0, 0));
    CRender::Image glow, env, unused;
    ASSERT_TRUE(glow.engine()->create(2, 8, 8, nullptr));
    ASSERT_TRUE(env.engine()->create(2, 8, 8, nullptr));
    ASSERT_TRUE(unused.engine()->create(2, 8, 8, nullptr));
    (void)other;
    const Object::Mixer mixers[3] = {{"grey", "slot_5_0", &glow},
                                     {"grey", "slot_9", &env},
                                     {"other", "slot_1_0", &unused}};
    begin();
    draw(scene, nullptr, mixers, 3);
    end();
    EXPECT_EQ(engine.device.boundTexture("selfillum"), glow.engine()->texture);
    EXPECT_EQ(engine.device.boundTexture("envmap"), env.engine()->texture);
    EXPECT_EQ(engine.device.boundTexture("diffuse"), nullptr);
    EXPECT_EQ(flagsAtDraws()[0], "SELFILLUM_MAP ENVMAP LIGHT0");
}

TEST_F(Render3D, LayersOffInTheMaskHideTheirMeshesAndLights)
{
    HandScene scene(&engine.device);
    int grey = scene.material("grey", float3(0.5f, 0.5f, 0.5f));
    scene.quad(grey, float3(0, 0, 0), 1, 0);
    int shown = scene.quad(grey, float3(1, 0, 0), 1, 1);
    int beyond = scene.quad(grey, float3(2, 0, 0), 1, 3);
    scene.light(float3(0, -3, 0), float3(1, 1, 1), 0, 1, 0, 0, kNoDecay, false, 0);
    begin();
    draw(scene, "01");
    end();
    std::vector<long long> drawn = drawnBuffers();
    std::sort(drawn.begin(), drawn.end());
    EXPECT_EQ(drawn, (std::vector<long long>{bufferOf(scene, shown), bufferOf(scene, beyond)}));
    // The light on the hidden layer is not in the frame: the default light is used.
    EXPECT_EQ(paramAtDraws("WSlightpos[0]")[0], (std::vector<float>{0, -10, 0}));
}

TEST_F(Render3D, AFogLightSetsTheFogAndMeshesWithoutFogSwitchItOff)
{
    HandScene scene(&engine.device);
    int grey = scene.material("grey", float3(0.5f, 0.5f, 0.5f));
    int foggy = scene.quad(grey, float3(0, 0, 0));
    int clear = scene.quad(grey, float3(1, 0, 0));
    scene.mesh(clear).no_fog = 1;
    scene.fog(0, 10, 100, float3(0.2f, 0.3f, 0.4f));
    begin();
    draw(scene);
    end();
    std::vector<long long> drawn = drawnBuffers();
    std::vector<std::vector<float>> fog = paramAtDraws("fog");
    ASSERT_EQ(drawn.size(), 2u);
    for (size_t k = 0; k < 2; ++k) {
        if (drawn[k] == bufferOf(scene, foggy))
            EXPECT_EQ(fog[k], (std::vector<float>{0, 10, 100, 0}));
        else
            EXPECT_EQ(fog[k], (std::vector<float>{-1, 0, 0, 0}));
    }
    EXPECT_EQ(paramAtDraws("fog_color")[0], (std::vector<float>{0.2f, 0.3f, 0.4f}));
    // A fog definition is no light: the default one lights the frame.
    EXPECT_EQ(paramAtDraws("WSlightpos[0]")[0], (std::vector<float>{0, -10, 0}));
}

TEST_F(Render3D, EachDrawIsOnePinReleasedByTheFrame)
{
    HandScene scene(&engine.device);
    int grey = scene.material("grey", float3(0.5f, 0.5f, 0.5f));
    scene.quad(grey, float3(0, 0, 0));
    begin();
    draw(scene);
    draw(scene);
    EXPECT_EQ(scene.object.in_use, 2);
    EXPECT_EQ(engine.render.opaque_list().size(), 2u);
    end();
    EXPECT_EQ(scene.object.in_use, 0);
    EXPECT_EQ(engine.device.count("Draw"), 2);
    EXPECT_TRUE(engine.render.opaque_list().empty());
    // Sub-draws are numbered in queueing order, from 1 again after a frame is presented.
    begin();
    draw(scene);
    draw(scene);
    EXPECT_EQ(engine.render.opaque_list()[0].sequence, 1);
    EXPECT_EQ(engine.render.opaque_list()[1].sequence, 2);
    end();
}

TEST_F(Render3D, ANaNDistanceIsPrintedAndSortsAsZero)
{
    HandScene scene(&engine.device);
    int glass = scene.material("glass", float3(1, 1, 1), 0.5f);
    scene.quad(glass, float3(0, 0, 0));
    begin();
    float4x3 world = identity4x3();
    world.m[0][3] = std::numeric_limits<float>::quiet_NaN();
    float4 colour(1, 1, 1, 1);
    scene.object.draw(&world, 0, nullptr, 0, nullptr, nullptr, 0, &colour);
    testing::internal::CaptureStdout();
    end();
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("nan"), std::string::npos) << out;
    EXPECT_EQ(scene.object.in_use, 0);
}

TEST_F(Render3D, ShadowCastersAreDrawnIntoOneSharedMapFirst)
{
    HandScene scene(&engine.device);
    int grey = scene.material("grey", float3(0.5f, 0.5f, 0.5f));
    scene.quad(grey, float3(0, 0, 0));
    scene.light(float3(0, 0, 10), float3(1, 1, 1), 0, 1, 0, 0, kNoDecay, true);
    scene.light(float3(0, 0, 12), float3(1, 1, 1), 0, 1, 0, 0, kNoDecay, true);
    begin();
    draw(scene);
    end();

    std::vector<RecordedCall> made;
    for (const RecordedCall& c : engine.device.calls("CreateTexture"))
        if (c.i[0] == 0x81)
            made.push_back(c);
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(made[0].i[1], 512);
    EXPECT_EQ(made[0].i[2], 512);
    RecordedCall fb = engine.device.find("CreateFramebuffer");
    ASSERT_EQ(fb.op, "CreateFramebuffer");
    const long long shadowTarget = engine.device.calls("SetTarget")[0].i[0];
    EXPECT_NE(shadowTarget, 0);

    // Per shadow light: its target, a depth clear and the casters; then the screen.
    std::vector<std::string> seq;
    for (const RecordedCall& c : engine.device.calls()) {
        if (c.op == "SetTarget")
            seq.push_back(c.i[0] ? "shadow" : "screen");
        else if (c.op == "Clear")
            seq.push_back(c.i == std::vector<long long>{0, 1} ? "depth" : "clear");
        else if (c.op == "Draw")
            seq.push_back("draw");
    }
    EXPECT_EQ(seq, (std::vector<std::string>{"shadow", "depth", "draw", "shadow", "depth", "draw",
                                             "screen", "draw", "clear"}));
    EXPECT_EQ(techniquesAtDraws(), (std::vector<std::string>{"shadowmap", "shadowmap", "main"}));
    EXPECT_EQ(flagsAtDraws()[0], "");
    // "object_id" carries the sub-draw number's bits.
    std::vector<float> id = paramAtDraws("object_id")[0];
    ASSERT_EQ(id.size(), 1u);
    int bits = 0;
    std::memcpy(&bits, &id[0], sizeof bits);
    EXPECT_EQ(bits, 1);
    // The lit pass gets the projective matrix and the map of each shadow light it uses.
    EXPECT_EQ(paramAtDraws("light_projective[0]")[2].size(), 16u);
    EXPECT_NE(engine.device.boundTexture("shadowmap[0]"), nullptr);

    // The map is kept for later frames.
    engine.device.clear();
    begin();
    draw(scene);
    end();
    EXPECT_EQ(engine.device.count("CreateTexture"), 0);
    EXPECT_EQ(engine.device.count("CreateFramebuffer"), 0);
}

TEST_F(Render3D, WithoutRenderTargetsShadowsAreLeftOut)
{
    engine.device.failFramebuffers(true);
    HandScene scene(&engine.device);
    int grey = scene.material("grey", float3(0.5f, 0.5f, 0.5f));
    scene.quad(grey, float3(0, 0, 0));
    scene.light(float3(0, 0, 10), float3(1, 1, 1), 0, 1, 0, 0, kNoDecay, true);
    const int texturesBefore = engine.device.liveTextures();
    begin();
    draw(scene);
    end();
    EXPECT_EQ(techniquesAtDraws(), (std::vector<std::string>{"main"}));
    EXPECT_EQ(engine.device.liveTextures(), texturesBefore);
    EXPECT_EQ(engine.device.calls("SetTarget").size(), 1u);
    // Not tried again.
    engine.device.clear();
    begin();
    draw(scene);
    end();
    EXPECT_EQ(engine.device.count("CreateFramebuffer"), 0);
    EXPECT_EQ(engine.device.count("Draw"), 1);
}

TEST_F(Render3D, DudvMaterialsGrabTheScreenAtMostTwicePerFrame)
{
    HandScene scene(&engine.device);
    texture_t_opaque* tex = engine.device.CreateTexture(2, 4, 4, nullptr, 1, nullptr);
    int t = scene.texture(tex);
    for (int k = 0; k < 3; ++k) {
        int water = scene.material("water" + std::to_string(k), float3(1, 1, 1));
        scene.set_map(water, Object::slot_dudv, t);
        scene.quad(water, float3(float(k), 0, 0));
    }
    engine.device.clear();
    begin();
    draw(scene);
    end();
    EXPECT_EQ(engine.device.count("ReadBackTexture"), 2);
    std::vector<RecordedCall> made = engine.device.calls("CreateTexture");
    ASSERT_EQ(made.size(), 1u);
    // The screen is 1024 x 768: rounded up to powers of two.
    EXPECT_EQ(made[0].i, (std::vector<long long>{0x100, 1024, 1024, 0, 1, 0}));
    EXPECT_EQ(flagsAtDraws()[0], "DUDV LIGHT0");

    engine.device.clear();
    begin();
    draw(scene);
    end();
    EXPECT_EQ(engine.device.count("CreateTexture"), 0);
    EXPECT_EQ(engine.device.count("ReadBackTexture"), 2);
    engine.device.ReleaseTexture(tex);
}

TEST_F(Render3D, BillboardsTurnTowardsTheCamera)
{
    HandScene scene(&engine.device);
    int grey = scene.material("grey", float3(0.5f, 0.5f, 0.5f));
    int node = scene.quad(grey, float3(3, -7, 0));
    scene.mesh(node).billboard = 1;
    begin();
    draw(scene);
    end();
    std::vector<float> m = paramAtDraws("model_matrix")[0];
    ASSERT_EQ(m.size(), 12u);
    // The z axis points from the part to the camera at (0, -10, 0); the y axis stays upright
    // on the screen; lengths are kept.
    const float s = 1.0f / std::sqrt(2.0f);
    EXPECT_NEAR(m[2], -s, 1e-5f);
    EXPECT_NEAR(m[6], -s, 1e-5f);
    EXPECT_NEAR(m[10], 0, 1e-5f);
    EXPECT_NEAR(m[9], 1, 1e-5f);
    EXPECT_NEAR(m[3], 3, 1e-5f);
}

TEST_F(Render3D, SkinnedMeshesAreDrawnWithTheObjectsMatrixAndItsBones)
{
    HandScene scene(&engine.device);
    int grey = scene.material("grey", float3(0.5f, 0.5f, 0.5f));
    int node = scene.quad(grey, float3(3, 0, 0));
    scene.mesh(node).skinned = 1;
    begin();
    draw(scene);
    end();
    // The node's own placement is left to the bones.
    EXPECT_EQ(paramAtDraws("model_matrix")[0],
              (std::vector<float>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0}));
    RecordedCall bones = engine.device.find("SetParamFloatArray");
    EXPECT_EQ(bones.name, "bones");
    EXPECT_EQ(bones.i[1], 12);
    EXPECT_EQ(bones.i[2], (long long)scene.object.bones.size());
    EXPECT_EQ(flagsAtDraws()[0], "SKINNING LIGHT0");
}

using Render3DDeathTest = Render3D;

TEST_F(Render3DDeathTest, SixteenSubstitutionsPerPartAreAcceptedASeventeenthStops)
{
    HandScene scene(&engine.device);
    int grey = scene.material("grey", float3(0.5f, 0.5f, 0.5f));
    scene.quad(grey, float3(0, 0, 0));
    CRender::Image image;
    ASSERT_TRUE(image.engine()->create(2, 8, 8, nullptr));
    std::vector<Object::Mixer> mixers(17, Object::Mixer{"grey", "slot_1_0", &image});
    begin();
    draw(scene, nullptr, mixers.data(), 16);
    EXPECT_EQ(engine.render.opaque_list()[0].n_mixer, 16);
    EXPECT_DEATH(draw(scene, nullptr, mixers.data(), 17), "failed assertion `subargs.n_mixer < 16'");
    end();
}

}  // namespace

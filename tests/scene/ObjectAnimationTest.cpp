// Animation of scene objects: track sampling, node matrices of loaded scenes, the nodes a draw
// evaluates under a layer mask, bone and texture matrices, blends.

#include "fixtures/HeadlessEngine.h"
#include "fixtures/TempDir.h"
#include "render/object.h"
#include "scenelib/SceneBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace scenelib;

namespace {

float4x3 toColumns(const float4x4& m)
{
    float4x3 r;
    for (int row = 0; row < 3; ++row)
        for (int c = 0; c < 4; ++c)
            r.m[row][c] = m.m[c][row];
    return r;
}

void expectNear(const float4x3& a, const float4x3& b, float tolerance = 1e-4f)
{
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(a.m[r][c], b.m[r][c], tolerance) << "entry " << r << "," << c;
}

Object* loadQuietly(Object& object, const std::string& path)
{
    ::testing::internal::CaptureStdout();
    object.load(path.c_str());
    ::testing::internal::GetCapturedStdout();
    return object.is_loaded() ? &object : nullptr;
}

// ---- samplers

TEST(FrameInterpolate, BlendsNeighbouringKeysAndLoopsOverTheLastInterval)
{
    const std::vector<float> track = {2, 4, 2};
    float out = -1;
    frame_interpolate(track, 0.5f, out);
    EXPECT_FLOAT_EQ(out, 3);
    frame_interpolate(track, 1.5f, out);
    EXPECT_FLOAT_EQ(out, 3);
    frame_interpolate(track, 2.5f, out);  // 2 mod 2 = 0
    EXPECT_FLOAT_EQ(out, 3);
    frame_interpolate(track, 1.0f, out);
    EXPECT_FLOAT_EQ(out, 4);
    frame_interpolate(track, -7.25f, out);  // before the start: key 0
    EXPECT_FLOAT_EQ(out, 2);
    frame_interpolate(track, std::numeric_limits<float>::quiet_NaN(), out);
    EXPECT_FLOAT_EQ(out, 2);
    frame_interpolate(track, 3e9f, out);  // far beyond the int range: still a key of the loop
    EXPECT_TRUE(out == 2 || out == 4);

    frame_interpolate(std::vector<float>{7}, 123.5f, out);
    EXPECT_FLOAT_EQ(out, 7);
    out = 9;
    frame_interpolate(std::vector<float>{}, 1.0f, out);
    EXPECT_EQ(out, 0);

    float3 v(5, 5, 5);
    frame_interpolate(std::vector<float3>{float3(0, 0, 0), float3(2, 4, 6)}, 0.25f, v);
    EXPECT_FLOAT_EQ(v.x, 0.5f);
    EXPECT_FLOAT_EQ(v.z, 1.5f);
    frame_interpolate(std::vector<float3>{}, 0.25f, v);
    EXPECT_EQ(v.y, 0);
}

TEST(FrameInterpolateDeathTest, AnEmptyFrameIndexStops)
{
    float4x3 out;
    EXPECT_DEATH(interpolate_node_matrix({identity4x3()}, {}, 0, 0, out), "failed assertion `in_size != 0'");
}

TEST(TextureMatrix, OffsetsAndScalesAboutTheCentre)
{
    Object::Texture t;
    float m[16];
    t.get_matrix(3.5f, m);
    const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(m[i], identity[i]) << i;

    t.uscl = {2};
    t.get_matrix(0, m);
    EXPECT_EQ(m[0], 2);
    EXPECT_EQ(m[5], 1);
    EXPECT_EQ(m[12], -0.5f);
    EXPECT_EQ(m[13], 0);
    EXPECT_EQ(m[15], 1);

    // u' = c (u - a - 0.5) + 0.5 with an offset of 0.25 and scale 2: u = 0.5 gives 0.
    t.uoff = {0, 0.5f};
    t.get_matrix(0.5f, m);
    EXPECT_FLOAT_EQ(0.5f * m[0] + m[12], 0.0f);
}

// ---- node matrices of a loaded scene

class ObjectAnimation : public ::testing::Test {
protected:
    HeadlessEngine engine;
    TempDir dir;
};

TEST_F(ObjectAnimation, AGrandchildIsItsAncestorsTimesItsOwnLocalMatrix)
{
    SceneBuilder b;
    b.setAnimation(2, 30);
    int top = b.addNode("top", 0, Track{rotationZ(0.3f), rotationZ(1.3f), rotationZ(0.3f)});
    int mid = b.addNode("mid", top, Track{mul(rotationX(0.7f), translation(float3(0, 2, 0)))});
    int low = b.addNode("low", mid,
                        Track{translation(float3(1, 0, 0)), translation(float3(1, 1, 0)), translation(float3(1, 0, 0))});
    ASSERT_TRUE(b.save(dir.file("chain.3dn")));
    Object object;
    ASSERT_TRUE(loadQuietly(object, dir.file("chain.3dn")));

    for (int key = 0; key < 3; ++key) {
        float4x3 m;
        object.get_node_matrix(object.find_node("low"), float(key), &m);
        expectNear(m, toColumns(b.world(low, key)));
        object.get_node_matrix(object.find_node("mid"), float(key), &m);
        expectNear(m, toColumns(b.world(mid, key)));
        // The top-level node's world matrix is its local one.
        object.get_node_matrix(object.find_node("top"), float(key), &m);
        expectNear(m, toColumns(b.world(top, key)));
    }
    // The one-node form writes that node's matrix into the first slot.
    float4x3 single;
    ASSERT_TRUE(object.animate(1, nullptr, 0, &single, object.find_node("low"), nullptr));
    expectNear(single, toColumns(b.world(low, 1)));
}

TEST_F(ObjectAnimation, ADrawEvaluatesBonesAndTheNodesOfShownLayers)
{
    SceneBuilder b;
    b.addMaterial(MaterialDesc("m"));
    int group = b.addNode("group", 0, Track{translation(float3(0, 0, 7))});
    b.addMesh("layer0", box(1, 1, 1), group, Track{identity()}, 0);
    b.addMesh("layer1", box(1, 1, 1), 0, Track{translation(float3(1, 0, 0))}, 1);
    b.addMesh("layer5", box(1, 1, 1), 0, Track{translation(float3(5, 0, 0))}, 5);
    b.addBone("bone0", 0, translation(float3(0, 3, 0)));
    ASSERT_TRUE(b.save(dir.file("layers.3dn")));
    Object object;
    ASSERT_TRUE(loadQuietly(object, dir.file("layers.3dn")));

    float4x3 marker;
    marker.m[0][0] = 99;
    std::vector<float4x3> out(object.nodes.size(), marker);
    ASSERT_TRUE(object.update(0, nullptr, 0, out.data(), -1, "01"));
    EXPECT_EQ(out[object.find_node("layer0")].m[0][0], 99);  // switched off, not evaluated
    EXPECT_EQ(out[object.find_node("group")].m[0][0], 99);   // nor its parent
    EXPECT_EQ(out[object.find_node("layer1")].m[0][3], 1);
    EXPECT_EQ(out[object.find_node("layer5")].m[0][3], 5);  // beyond the mask
    EXPECT_EQ(out[object.find_node("bone0")].m[1][3], 3);   // bones always
    EXPECT_EQ(out[0].m[0][0], 1);

    ASSERT_TRUE(object.update(0, nullptr, 0, out.data(), -1, nullptr));
    EXPECT_NEAR(out[object.find_node("layer0")].m[2][3], 7, 1e-5);
    EXPECT_NEAR(out[object.find_node("group")].m[2][3], 7, 1e-5);
}

TEST_F(ObjectAnimation, ScenesOfManyNodesAreEvaluatedWhole)
{
    SceneBuilder b;
    b.addMaterial(MaterialDesc("m"));
    for (int i = 0; i < 4100; ++i)  // beyond 4096
        b.addHelper("h" + std::to_string(i), float3(float(i), 0, 0));
    b.addMesh("last", box(1, 1, 1), 0, Track{translation(float3(0, 9, 0))});
    ASSERT_TRUE(b.save(dir.file("many.3dn")));
    Object object;
    ASSERT_TRUE(loadQuietly(object, dir.file("many.3dn")));
    std::vector<float4x3> out(object.nodes.size());
    ASSERT_TRUE(object.update(0, nullptr, 0, out.data(), -1, nullptr));
    EXPECT_EQ(out[object.find_node("last")].m[1][3], 9);
}

TEST_F(ObjectAnimation, BoneMatricesMapTheRestPoseToTheBonesPose)
{
    SceneBuilder b;
    b.setAnimation(2, 10);
    const float4x4 rest = translation(float3(0, 0, 2));
    int bone = b.addBone("arm", 0, rest, Track{rest, mul(rotationZ(1.5707963f), rest), rest});
    b.addMaterial(MaterialDesc("m"));
    b.addSkinnedMesh("skin", b.skinPiece(box(1, 1, 1), bone));
    ASSERT_TRUE(b.save(dir.file("arm.3dn")));
    Object object;
    ASSERT_TRUE(loadQuietly(object, dir.file("arm.3dn")));

    std::vector<float4x3> nodes(object.nodes.size());
    ASSERT_TRUE(object.animate(1, nullptr, 0, nodes.data(), -1, nullptr));
    engine.render.begin(nullptr, 0, 0);
    float4x3* bones = Object::bone_matrices(&object, &engine.render, nodes.data());
    ASSERT_NE(bones, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(bones) % 16, 0u);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(bones[0].m[r][c], 0.0f);
    // At frame 1 the arm is turned a quarter about z: a rest-pose point (1, 0, 2) goes to
    // (0, 1, 2).
    const float4x3& k = bones[b.boneIndex(bone)];
    const float p[3] = {1, 0, 2};
    float q[3];
    for (int r = 0; r < 3; ++r)
        q[r] = k.m[r][0] * p[0] + k.m[r][1] * p[1] + k.m[r][2] * p[2] + k.m[r][3];
    EXPECT_NEAR(q[0], 0, 1e-4);
    EXPECT_NEAR(q[1], 1, 1e-4);
    EXPECT_NEAR(q[2], 2, 1e-4);
    EXPECT_EQ(Object::bone_matrices(&object, &engine.render, nullptr), nullptr);
    engine.render.end(true, true, false);
}

TEST_F(ObjectAnimation, BlendsMixAnotherObjectsPoseOrRefuseAnotherTree)
{
    SceneBuilder a;
    a.addMaterial(MaterialDesc("m"));
    a.addMesh("thing", box(1, 1, 1), 0, Track{translation(float3(0, 0, 0))});
    ASSERT_TRUE(a.save(dir.file("a.3dn")));
    SceneBuilder b;
    b.addMaterial(MaterialDesc("m"));
    b.addMesh("thing", box(1, 1, 1), 0, Track{translation(float3(4, 0, 0))});
    ASSERT_TRUE(b.save(dir.file("b.3dn")));
    SceneBuilder c;
    c.addHelper("x", float3());
    c.addHelper("y", float3());
    ASSERT_TRUE(c.save(dir.file("c.3dn")));
    Object oa, ob, oc;
    ASSERT_TRUE(loadQuietly(oa, dir.file("a.3dn")));
    ASSERT_TRUE(loadQuietly(ob, dir.file("b.3dn")));
    ASSERT_TRUE(loadQuietly(oc, dir.file("c.3dn")));

    std::vector<float4x3> out(oa.nodes.size());
    Object::Blend half;
    half.source = &ob;
    half.weight = 0.25f;
    ASSERT_TRUE(oa.update(0, &half, 1, out.data(), -1, nullptr));
    EXPECT_FLOAT_EQ(out[1].m[0][3], 1.0f);
    EXPECT_FLOAT_EQ(out[1].m[0][0], 1.0f);

    // Another node count: nothing is written.
    Object::Blend other = half;
    other.source = &oc;
    float4x3 marker;
    marker.m[0][0] = 42;
    std::vector<float4x3> untouched(oa.nodes.size(), marker);
    EXPECT_FALSE(oa.update(0, &other, 1, untouched.data(), -1, nullptr));
    EXPECT_EQ(untouched[0].m[0][0], 42);
    other.source = nullptr;
    EXPECT_FALSE(oa.update(0, &other, 1, untouched.data(), -1, nullptr));
}

TEST_F(ObjectAnimation, QueriesOfAnUnloadedObjectAnswerNothing)
{
    Object object;
    float4x3 m;
    m.m[0][0] = 5;
    object.get_node_matrix(3, 0, &m);
    EXPECT_EQ(m.m[0][0], 5);
    EXPECT_FALSE(object.animate(0, nullptr, 0, &m, -1, nullptr));
    EXPECT_EQ(object.find_node("x"), -1);
    EXPECT_EQ(object.find_node(nullptr), -1);
    int v = 1, t = 1;
    object.count_geometry(-1, &v, &t);
    EXPECT_EQ(v, 0);
    EXPECT_EQ(t, 0);
}

TEST_F(ObjectAnimation, ANodeOutOfRangeStops)
{
    SceneBuilder b;
    b.addHelper("x", float3());
    ASSERT_TRUE(b.save(dir.file("x.3dn")));
    Object object;
    ASSERT_TRUE(loadQuietly(object, dir.file("x.3dn")));
    float4x3 m;
    EXPECT_DEATH(object.get_node_matrix(2, 0, &m), "failed assertion `node_nr >= 0 && node_nr < \\(int\\)nodes.size\\(\\)'");
    EXPECT_DEATH(object.count_node_geometry(-1, nullptr, nullptr),
                 "failed assertion `nd >= 0 && nd < \\(int\\)nodes.size\\(\\)'");
}

} // namespace

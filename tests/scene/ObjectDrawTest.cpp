// Drawing scene objects: draws pin the object until the frame has rendered them, unloading
// waits for that, and software skinning rewrites the skinned positions and normals once per
// bone-matrix array.

#include "fixtures/HeadlessEngine.h"
#include "fixtures/TempDir.h"
#include "render/object.h"
#include "scenelib/SceneBuilder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>

using namespace scenelib;

namespace {

class ObjectDraw : public ::testing::Test {
protected:
    void SetUp() override
    {
        SceneBuilder b;
        b.setAnimation(2, 25);
        const float4x4 rest = translation(float3(0, 0, 1));
        bone = b.addBone("arm", 0, rest, Track{rest, mul(rotationZ(1.5707963f), rest), rest});
        b.addMaterial(MaterialDesc("m"));
        b.addSkinnedMesh("skin", b.skinPiece(box(1, 1, 1), bone));
        b.addMesh("still", box(1, 1, 1), 0, Track{identity()}, 1);
        boneIndex = b.boneIndex(bone);
        ASSERT_TRUE(b.save(dir.file("arm.3dn")));
        ::testing::internal::CaptureStdout();
        object.load(dir.file("arm.3dn").c_str());
        ::testing::internal::GetCapturedStdout();
        ASSERT_TRUE(object.is_loaded());
        skin = &object.meshes[object.nodes[object.find_node("skin")].mesh];
    }

    // The first vertex's skinned position in the dynamic buffer.
    float3 firstPosition()
    {
        const float* p = static_cast<const float*>(engine.device.LockVertexBuffer(skin->dynamic_vb, 0));
        float3 r(p[0], p[1], p[2]);
        engine.device.UnlockVertexBuffer(skin->dynamic_vb);
        return r;
    }

    int skinLocks() { return engine.device.count("LockVertexBuffer"); }

    HeadlessEngine engine;
    TempDir dir;
    Object object;
    Object::Mesh* skin = nullptr;
    int bone = 0;
    int boneIndex = 0;
};

// ---- pins

TEST_F(ObjectDraw, DrawsPinTheObjectUntilTheFrameIsRendered)
{
    const float4 white(1, 1, 1, 1);
    engine.render.begin(nullptr, 0, 0);
    object.draw(nullptr, 0, nullptr, 0, nullptr, nullptr, 0, &white);
    object.draw_rotated(1, 2, 3, 0, 0, 0, 0.5f, nullptr, 0, "01", nullptr, 0, &white);
    EXPECT_EQ(object.in_use, 2);
    engine.render.end(true, true, false);
    EXPECT_EQ(object.in_use, 0);

    // A draw of an object that is not loaded queues nothing.
    Object empty;
    engine.render.begin(nullptr, 0, 0);
    empty.draw(nullptr, 0, nullptr, 0, nullptr, nullptr, 0, &white);
    EXPECT_EQ(empty.in_use, 0);
    engine.render.end(true, true, false);
}

TEST_F(ObjectDraw, ARotatedDrawPlacesTheObjectByItsAngles)
{
    const float4 white(1, 1, 1, 1);
    engine.render.begin(nullptr, 0, 0);
    engine.render.set_camera(float3(1, -20, 3), float3(1, 2, 3), float3(0, 0, 1), 45, 0);
    // A quarter turn about x: the object's y axis along the world's -z, its z axis along +y.
    object.draw_rotated(1, 2, 3, 1.5707963f, 0, 0, 0, nullptr, 0, "01", nullptr, 0, &white);
    engine.device.clear();
    engine.render.end(true, true, false);
    // The model matrices of the 3D pass (between its camera and the 2D pass's).
    std::vector<RecordedCall> models;
    int cameras = 0;
    for (const RecordedCall& c : engine.device.calls()) {
        cameras += c.op == "SetMatrix";
        if (cameras == 1 && c.op == "SetParam" && c.name == "model_matrix")
            models.push_back(c);
    }
    ASSERT_FALSE(models.empty());
    const float expected[12] = {1, 0, 0, 1, 0, 0, 1, 2, 0, -1, 0, 3};
    for (const RecordedCall& c : models) {
        ASSERT_EQ(c.f.size(), 12u);
        for (int i = 0; i < 12; ++i)
            EXPECT_NEAR(c.f[i], expected[i], 1e-6) << i;
    }
}

TEST_F(ObjectDraw, UnloadWaitsForTheFrameThatDrawsTheObject)
{
    engine.render.begin(nullptr, 0, 0);
    object.draw(nullptr, 0, nullptr, 0, nullptr, nullptr, 0, nullptr);
    std::atomic<bool> unloaded{false};
    std::thread loader([&] {
        object.unload();
        unloaded = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(unloaded.load());
    EXPECT_TRUE(object.is_loaded());
    engine.render.end(true, true, false);
    loader.join();
    EXPECT_TRUE(unloaded.load());
    EXPECT_FALSE(object.is_loaded());
}

TEST_F(ObjectDraw, ABlendThatDoesNotFitDrawsNothing)
{
    Object other;
    Object::Blend blend;
    blend.source = &other;  // not loaded: no nodes
    blend.weight = 1;
    engine.render.begin(nullptr, 0, 0);
    object.draw(nullptr, 0, &blend, 1, nullptr, nullptr, 0, nullptr);
    EXPECT_EQ(object.in_use, 0);
    engine.render.end(true, true, false);
}

TEST_F(ObjectDraw, ADrawOnAnotherRendersDeviceStops)
{
    EXPECT_DEATH(
        {
            HeadlessEngine second;
            second.render.begin(nullptr, 0, 0);
            object.draw(nullptr, 0, nullptr, 0, nullptr, nullptr, 0, nullptr);
        },
        "failed assertion `render->device == device'");
}

// ---- skinning

TEST_F(ObjectDraw, OneFullWeightMovesAVertexByItsBoneAlone)
{
    float4x3 bones[3] = {};
    // Bone 2: a quarter turn about z, then up by 5.
    bones[2].m[0][1] = -1;
    bones[2].m[1][0] = 1;
    bones[2].m[2][2] = 1;
    bones[2].m[2][3] = 5;
    Object::Mesh mesh;
    Object::swskin_vertex v = {};
    v.position[0] = 1;
    v.position[1] = 2;
    v.position[2] = 3;
    v.normal[0] = 1;
    v.weight[0] = 1;
    v.bone[0] = 2;
    mesh.swskin_data.push_back(v);
    // Half on bone 2, half on bone 0 (zero): half the way.
    v.weight[0] = 0.5f;
    v.weight[1] = 0.5f;
    v.bone[1] = 0;
    mesh.swskin_data.push_back(v);
    // A quarter on bone 2, three quarters on bone 1 (10 along x); the influence of no weight
    // between them names bone 2 and adds nothing.
    bones[1].m[0][0] = bones[1].m[1][1] = bones[1].m[2][2] = 1;
    bones[1].m[0][3] = 10;
    v.weight[0] = 0.25f;
    v.weight[1] = 0;
    v.weight[2] = 0.75f;
    v.bone[1] = 2;
    v.bone[2] = 1;
    mesh.swskin_data.push_back(v);
    float out[3][8] = {};
    EXPECT_EQ(Object::skin_vertices(&mesh, bones, reinterpret_cast<unsigned char*>(out), 16, 32), 3);
    EXPECT_EQ(out[0][0], -2);
    EXPECT_EQ(out[0][1], 1);
    EXPECT_EQ(out[0][2], 8);
    EXPECT_EQ(out[0][4], 0);  // the normal is turned, not moved
    EXPECT_EQ(out[0][5], 1);
    EXPECT_EQ(out[0][6], 0);
    EXPECT_EQ(out[1][0], -1);
    EXPECT_EQ(out[1][2], 4);
    EXPECT_EQ(out[2][0], 7.75f);
    EXPECT_EQ(out[2][1], 1.75f);
    EXPECT_EQ(out[2][2], 4.25f);
    EXPECT_EQ(out[2][4], 0.75f);  // the normal: a quarter turned, three quarters as it was
    EXPECT_EQ(out[2][5], 0.25f);
    Object::Mesh none;
    EXPECT_EQ(Object::skin_vertices(&none, bones, nullptr, 0, 0), 0);
}

TEST_F(ObjectDraw, SkinningRunsOncePerBoneMatrixArray)
{
    engine.render.begin(nullptr, 0, 0);
    std::vector<float4x3> nodes(object.nodes.size());
    ASSERT_TRUE(object.animate(1, nullptr, 0, nodes.data(), -1, nullptr));
    float4x3* bones = Object::bone_matrices(&object, &engine.render, nodes.data());
    const int before = skinLocks();
    Object::apply_skinning(skin, &engine.device, bones, bones);
    Object::apply_skinning(skin, &engine.device, bones, bones);
    EXPECT_EQ(skinLocks(), before + 1);
    // At frame 1 the bone is turned a quarter about z: x becomes y.
    const Object::swskin_vertex& rest = skin->swskin_data[0];
    float3 p = firstPosition();
    EXPECT_NEAR(p.x, -rest.position[1], 1e-4);
    EXPECT_NEAR(p.y, rest.position[0], 1e-4);
    EXPECT_NEAR(p.z, rest.position[2], 1e-4);

    // Another array skins again; so does the same address handed out in a later frame.
    float4x3* copy = static_cast<float4x3*>(engine.render.allocator().alloc(unsigned(3 * sizeof(float4x3)), 16));
    std::memcpy(copy, bones, object.bones.size() * sizeof(float4x3));
    Object::apply_skinning(skin, &engine.device, copy, copy);
    EXPECT_EQ(skinLocks(), before + 3);  // the test's own read lock, then the skinning
    engine.render.end(true, true, false);
    engine.render.begin(nullptr, 0, 0);
    ASSERT_TRUE(object.animate(0, nullptr, 0, nodes.data(), -1, nullptr));
    float4x3* again = Object::bone_matrices(&object, &engine.render, nodes.data());
    const int locks = skinLocks();
    Object::apply_skinning(skin, &engine.device, again, copy);  // the stamp it last skinned with
    EXPECT_EQ(skinLocks(), locks + 1);
    p = firstPosition();
    EXPECT_NEAR(p.x, rest.position[0], 1e-4);
    engine.render.end(true, true, false);

    // Without bones the rest pose is written; a mesh not skinned in software is left alone.
    Object::apply_skinning(skin, &engine.device, nullptr, nullptr);
    p = firstPosition();
    EXPECT_EQ(p.x, rest.position[0]);
    const int still = skinLocks();
    Object::apply_skinning(&object.meshes[object.nodes[object.find_node("still")].mesh], &engine.device, bones,
                           nullptr);
    EXPECT_EQ(skinLocks(), still);
}

TEST_F(ObjectDraw, EachFigureKeepsItsSkinnedBufferFromFrameToFrame)
{
    // Two figures of the scene in two poses, drawn in two frames: each figure skins into a
    // buffer of its own, and the second frame makes no buffer and drops no buffer's storage.
    std::vector<float4x3> nodes(object.nodes.size());
    auto firstVertex = [&](vbuffer_t_opaque* b) {
        const float* p = static_cast<const float*>(engine.device.LockVertexBuffer(b, Device::lck_readonly));
        float3 r(p[0], p[1], p[2]);
        engine.device.UnlockVertexBuffer(b);
        return r;
    };
    auto discards = [&] {
        int n = 0;
        for (const RecordedCall& c : engine.device.calls("LockVertexBuffer"))
            n += c.i.size() > 1 && c.i[1] == Device::lck_writediscard;
        return n;
    };
    const Object::swskin_vertex& rest = skin->swskin_data[0];
    vbuffer_t_opaque* buffers[2][2] = {};
    int made[2] = {}, dropped[2] = {};
    for (int frame = 0; frame < 2; ++frame) {
        const int madeBefore = engine.device.count("CreateVertexBuffer"), droppedBefore = discards();
        engine.render.begin(nullptr, 0, 0);
        for (int figure = 0; figure < 2; ++figure) {
            ASSERT_TRUE(object.animate(float(figure), nullptr, 0, nodes.data(), -1, nullptr));
            float4x3* bones = Object::bone_matrices(&object, &engine.render, nodes.data());
            buffers[frame][figure] = Object::apply_skinning(skin, &engine.device, bones, bones);
            // Another part or pass of the same figure draws from the same buffer, unskinned again.
            const int locks = skinLocks();
            EXPECT_EQ(Object::apply_skinning(skin, &engine.device, bones, bones), buffers[frame][figure]);
            EXPECT_EQ(skinLocks(), locks);
        }
        made[frame] = engine.device.count("CreateVertexBuffer") - madeBefore;
        dropped[frame] = discards() - droppedBefore;
        // Pose 0 is the rest pose; pose 1 turns x into y.
        const float3 p0 = firstVertex(buffers[frame][0]), p1 = firstVertex(buffers[frame][1]);
        EXPECT_NEAR(p0.x, rest.position[0], 1e-4);
        EXPECT_NEAR(p1.x, -rest.position[1], 1e-4);
        EXPECT_NEAR(p1.y, rest.position[0], 1e-4);
        engine.render.end(true, true, false);
    }
    EXPECT_EQ(buffers[0][0], skin->dynamic_vb);
    EXPECT_NE(buffers[0][1], buffers[0][0]);
    EXPECT_EQ(made[0], 1);
    EXPECT_EQ(buffers[1][0], buffers[0][0]);
    EXPECT_EQ(buffers[1][1], buffers[0][1]);
    EXPECT_EQ(made[1], 0);
    EXPECT_EQ(dropped[0] + dropped[1], 0);
    // Unloading releases the figure's buffer with the mesh's own.
    vbuffer_t_opaque* extra = buffers[0][1];
    object.unload();
    bool released = false;
    for (const RecordedCall& c : engine.device.calls("ReleaseVertexBuffer"))
        released = released || c.i[0] == engine.device.idOf(extra);
    EXPECT_TRUE(released);
}

TEST_F(ObjectDraw, AOneVertexSkinnedMeshSkinsIntoABufferOfItsOwn)
{
    SceneBuilder b;
    b.addMaterial(MaterialDesc("m"));
    int arm = b.addBone("arm", 0, translation(float3(0, 0, 1)));
    MeshData dot;
    dot.addVertex(float3(1, 0, 1), float3(0, 0, 1), 0, 0);
    dot.parts.push_back(MeshPart());
    dot.parts[0].triangles.push_back(Engine2Scene::int3());
    // Plain one-vertex meshes before it share their buffers.
    b.addMesh("a", dot);
    b.addMesh("b", dot);
    b.addSkinnedMesh("dot", boundToBone(dot, b.boneIndex(arm)));
    ASSERT_TRUE(b.save(dir.file("dot.3dn")));
    Object small;
    ::testing::internal::CaptureStdout();
    small.load(dir.file("dot.3dn").c_str());
    ::testing::internal::GetCapturedStdout();
    ASSERT_TRUE(small.is_loaded());
    Object::Mesh& m = small.meshes[small.nodes[small.find_node("dot")].mesh];
    ASSERT_TRUE(m.swskinned);
    EXPECT_EQ(m.first_index, 0);
    EXPECT_EQ(m.last_index, 0);
    EXPECT_NE(m.static_vb, small.meshes[small.nodes[small.find_node("b")].mesh].static_vb);
    EXPECT_EQ(small.meshes[small.nodes[small.find_node("b")].mesh].first_index, 1);
    float4x3 bones[2] = {};
    bones[1] = identity4x3();
    bones[1].m[0][3] = 2;
    Object::apply_skinning(&m, &engine.device, bones, bones);
    const float* p = static_cast<const float*>(engine.device.LockVertexBuffer(m.dynamic_vb, 0));
    EXPECT_EQ(p[0], 3);
    engine.device.UnlockVertexBuffer(m.dynamic_vb);
}

} // namespace

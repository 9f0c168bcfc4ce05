// Scene objects on the OpenGL device: a scene requested through the background loader loads
// on the loader's thread while the render thread draws frames (every buffer and texture is a
// render-thread task), draws, skins into its device buffer, and unloads.

#include "render/external/bg_loader.h"

#include "fixtures/GLTestWindow.h"
#include "fixtures/PngWriter.h"
#include "fixtures/TempDir.h"
#include "render/CRender.h"
#include "render/object.h"
#include "render/render.h"
#include "scenelib/SceneBuilder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

using namespace scenelib;
using namespace std::chrono_literals;

namespace {

class ObjectOnDevice : public testing::Test {
protected:
    void SetUp() override
    {
        device = gl_test_device();
        render.init(device);
        previous = Render::current();
        Render::set_current(&render);
    }
    void TearDown() override { Render::set_current(previous); }

    Device_GL* device = nullptr;
    Render render{""};
    Render* previous = nullptr;
};

TEST_F(ObjectOnDevice, ASceneLoadsOnTheLoaderThreadWhileFramesAreDrawn)
{
    TempDir dir;
    std::vector<unsigned char> green(16 * 16 * 4, 255);
    ASSERT_TRUE(write_png(dir.file("leaf.png"), 16, 16, green.data()));

    SceneBuilder b;
    b.setAnimation(2, 25);
    MaterialDesc leafy("leafy");
    leafy.maps[Object::slot_diffuse] = b.addTexture("leaf.png");
    int material = b.addMaterial(leafy);
    const float4x4 rest = translation(float3(0, 0, 1));
    int arm = b.addBone("arm", 0, rest, Track{rest, mul(rotationZ(1.5707963f), rest), rest});
    b.addSkinnedMesh("skin", withMaterial(b.skinPiece(box(1, 1, 1), arm), material));
    b.addMesh("ground", withMaterial(plane(4, 4), material));
    MeshData dot;
    dot.addVertex(float3(1, 2, 3), float3(0, 0, 1), 0, 0);
    dot.parts.push_back(MeshPart());
    dot.parts[0].triangles.push_back(Engine2Scene::int3());
    b.addMesh("dot", dot);
    b.addCamera("cam", CameraKey(float3(0, -8, 3), float3(0, 0, 0), float3(0, 0, 1), 45));
    ASSERT_TRUE(b.save(dir.file("scene.3dn")));

    BGLoader loader(kLoaderBudget);
    testing::internal::CaptureStdout();
    auto* rc = static_cast<BGLoader::ObjectResource*>(
        loader.request(dir.file("scene.3dn"), 100, &loader.objectFactory, 1));
    int progress = 0, total = 0;
    auto end = std::chrono::steady_clock::now() + 20s;
    while (!rc->is_loaded() && std::chrono::steady_clock::now() < end) {
        CRender::begin(nullptr, 0, 1.3333f);
        CRender::end(7);
    }
    std::string out = testing::internal::GetCapturedStdout();
    ASSERT_TRUE(rc->is_loaded()) << out;
    EXPECT_NE(out.find("DXETMRI"), std::string::npos) << out;
    EXPECT_NE(out.find("LCtVmA"), std::string::npos) << out;  // the device's texture line follows
    EXPECT_NE(out.find("x lc=500\n"), std::string::npos) << out;
    rc->get_counts(&progress, &total);
    EXPECT_EQ(total, 1000);
    EXPECT_GE(progress, 500);

    Object* object = rc->engine();
    EXPECT_NE(object->textures[1].texture, nullptr);
    const Object::Mesh& skin = object->meshes[object->nodes[object->find_node("skin")].mesh];
    ASSERT_TRUE(skin.swskinned);
    ASSERT_NE(skin.dynamic_vb, nullptr);
    // Geometry comes back from the device's buffers.
    int vertices = 0, triangles = 0;
    rc->count_geometry(-1, &vertices, &triangles);
    EXPECT_EQ(vertices, 24 + 4 + 1);
    EXPECT_EQ(triangles, 12 + 2 + 1);
    std::vector<float3> v(static_cast<size_t>(vertices));
    std::vector<int> t(size_t(triangles) * 3);
    rc->get_geometry(-1, v.data(), t.data(), 0);
    EXPECT_NEAR(v.back().z, 3.0f, 1e-5);

    // A frame with the scene's camera and two draws at the same pose; the frame skins and
    // draws them, then unpins them.
    CRender::begin(nullptr, 0, 1.3333f);
    rc->set_camera(CRender::current(), 0.5f, nullptr);
    const float4 white(1, 1, 1, 1);
    rc->draw_rotated(0, 0, 0, 0, 0, 0, 1.0f, nullptr, 0, nullptr, nullptr, 0, &white);
    rc->draw(nullptr, 1.0f, nullptr, 0, "1", nullptr, 0, &white);
    EXPECT_EQ(object->in_use, 2);
    // Skinning on the render thread writes the device buffer in place.
    std::vector<float4x3> nodes(object->nodes.size());
    ASSERT_TRUE(object->animate(1, nullptr, 0, nodes.data(), -1, nullptr));
    float4x3* bones = Object::bone_matrices(object, &render, nodes.data());
    Object::apply_skinning(const_cast<Object::Mesh*>(&skin), device, bones, bones);
    CRender::end(7);
    EXPECT_EQ(object->in_use, 0);
    const float* p = static_cast<const float*>(device->LockVertexBuffer(skin.dynamic_vb, Device::lck_readonly));
    ASSERT_NE(p, nullptr);
    EXPECT_NEAR(p[0], -skin.swskin_data[0].position[1], 1e-4);
    EXPECT_NEAR(p[1], skin.swskin_data[0].position[0], 1e-4);
    device->UnlockVertexBuffer(skin.dynamic_vb);

    testing::internal::CaptureStdout();
    loader.release(rc);
    loader.shutdown();
    testing::internal::GetCapturedStdout();
    rc->unload();
    EXPECT_FALSE(rc->is_loaded());
}

} // namespace

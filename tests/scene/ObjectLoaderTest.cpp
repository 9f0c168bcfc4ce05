// Loading ".3dn" scenes into objects with the recording device: the trace, the node tree and
// its local matrices, lights, cameras, meshes and their buffers, materials, textures through
// the shared cache, unloading, and refused files.

#include "fixtures/HeadlessEngine.h"
#include "fixtures/TempDir.h"
#include "render/object.h"
#include "render/object_3dn_loader.h"
#include "scenelib/SceneBuilder.h"
#include "scenelib/SideFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <string>

using namespace scenelib;

namespace {

// The PNG header the recording device reads a texture's size from.
std::vector<char> pngHeader(int w, int h)
{
    std::vector<char> b = {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1a', '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (int v : {w, h})
        for (int s = 24; s >= 0; s -= 8)
            b.push_back(char((v >> s) & 0xff));
    b.insert(b.end(), {8, 6, 0, 0, 0});
    return b;
}

struct Loaded {
    std::string out;  // standard output of the load
    std::string err;  // standard error
};

Loaded loadObject(Object& object, const std::string& path)
{
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    object.load(path.c_str());
    Loaded l;
    l.err = ::testing::internal::GetCapturedStderr();
    l.out = ::testing::internal::GetCapturedStdout();
    return l;
}

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

class ObjectLoad : public ::testing::Test {
protected:
    HeadlessEngine engine;
    TempDir dir;
};

// ---- trace, tree and matrices

TEST_F(ObjectLoad, ANodeTreeLoadsInPreOrderWithLocalTracks)
{
    SceneBuilder b;
    b.addMaterial(MaterialDesc("plain"));
    b.setAnimation(2, 25);
    int parent = b.addNode("parent", 0,
                           Track{translation(float3(1, 0, 0)), mul(rotationZ(1.0f), translation(float3(2, 0, 0))),
                                 translation(float3(1, 0, 0))});
    b.addHelper("marker", float3(5, 5, 5));
    int child = b.addMesh("child", box(1, 1, 1), parent, Track{translation(float3(0, 3, 0))}, 2);
    b.addCamera("cam", CameraKey(float3(0, -10, 5), float3(0, 0, 0), float3(0, 0, 1), 45));
    b.addLight(LightDesc("lamp", float3(0, 0, 10)));
    ASSERT_TRUE(b.save(dir.file("tree.3dn")));

    Object object;
    Loaded l = loadObject(object, dir.file("tree.3dn"));
    ASSERT_TRUE(object.is_loaded()) << l.err;
    EXPECT_EQ(l.out, "Load(" + dir.file("tree.3dn") + "): DXETMRI"
                     "light 0.006500 0.000000 0.833333\n"  // the dummy light 0
                     "light 0.006500 0.000000 0.833333\n"
                     "LCtVmAx lc=500\n");
    EXPECT_EQ(object.progress, 500);
    EXPECT_EQ(object.total, 1000);
    EXPECT_EQ(object.fps, 25.0f);
    EXPECT_EQ(object.frame_count, 2);
    EXPECT_EQ(object.layer_count, 3);

    // Pre-order: the root, parent, its child, then the later top-level nodes.
    ASSERT_EQ(object.nodes.size(), 6u);
    EXPECT_EQ(object.find_node("parent"), 1);
    EXPECT_EQ(object.find_node("child"), 2);
    EXPECT_EQ(object.find_node("marker"), 3);
    EXPECT_EQ(object.nodes[2].parent, 1);
    EXPECT_EQ(object.nodes[1].subtree_size, 2);
    EXPECT_EQ(object.nodes[0].subtree_size, 6);
    EXPECT_EQ(object.nodes[1].children, std::vector<int16_t>({2}));
    EXPECT_EQ(object.nodes[0].children, std::vector<int16_t>({1, 3, 4, 5}));
    EXPECT_EQ(object.nodes[2].layer, 2);
    EXPECT_NE(object.nodes[2].mesh, 0);

    // A static child under an animated parent keeps one local matrix, taken against the
    // parent's first key; the world matrices at the keys are then the parent's times it.
    EXPECT_EQ(object.nodes[1].matrices.size(), 3u);
    EXPECT_EQ(object.nodes[2].matrices.size(), 1u);
    EXPECT_EQ(object.nodes[1].frame_index, std::vector<int32_t>({0, 1, 2}));
    for (int key = 0; key < 3; ++key) {
        float4x3 m;
        object.get_node_matrix(parent, float(key), &m);
        expectNear(m, toColumns(b.world(parent, key)));
    }
    float4x3 m;
    object.get_node_matrix(object.find_node("child"), 0, &m);
    expectNear(m, toColumns(b.world(child, 0)));
    object.get_node_matrix(object.find_node("child"), 1, &m);
    expectNear(m, toColumns(mul(translation(float3(0, 3, 0)), b.world(parent, 1))));

    // The name order is byte-wise; the root is never found by name.
    EXPECT_EQ(object.find_node(nullptr), 6);
    EXPECT_EQ(object.find_node(""), -1);
    EXPECT_EQ(object.find_node("Parent"), -1);
    EXPECT_EQ(object.find_node("par"), -1);
    Object::NodeInfo info;
    ASSERT_TRUE(object.get_node_info(0, &info));
    EXPECT_STREQ(info.name, "");
    EXPECT_EQ(info.flags, 0);
    EXPECT_EQ(info.parent, 0);
    ASSERT_TRUE(object.get_node_info(2, &info));
    EXPECT_STREQ(info.name, "child");
    EXPECT_EQ(info.flags, 1);
    EXPECT_EQ(info.parent, 1);
    EXPECT_EQ(info.layer, 2);
    ASSERT_TRUE(object.get_node_info(object.find_node("cam"), &info));
    EXPECT_EQ(info.flags, 2);
    ASSERT_TRUE(object.get_node_info(object.find_node("lamp"), &info));
    EXPECT_EQ(info.flags, 8);
    EXPECT_FALSE(object.get_node_info(6, &info));
    EXPECT_FALSE(object.get_node_info(-1, &info));
    object.unload();
}

TEST_F(ObjectLoad, DuplicateNamesAreReportedAndTheLaterNodeIsFound)
{
    SceneBuilder b;
    b.addHelper("twin", float3(1, 0, 0));
    b.addHelper("twin", float3(2, 0, 0));
    b.addHelper("alpha", float3(0, 0, 0));
    ASSERT_TRUE(b.save(dir.file("twins.3dn")));
    Object object;
    Loaded l = loadObject(object, dir.file("twins.3dn"));
    EXPECT_NE(l.out.find("ERROR: DUPLICATE NODE twin in file " + dir.file("twins.3dn") + "\n"), std::string::npos);
    EXPECT_EQ(object.find_node("twin"), 2);
    EXPECT_EQ(object.find_node("alpha"), 3);
    EXPECT_EQ(object.name_order.size(), 2u);
}

// ---- lights and cameras

TEST_F(ObjectLoad, LightsTakeTheirColourDecayAndNameOptions)
{
    SceneBuilder b;
    b.addLight(LightDesc("plain", float3(0, 0, 1)));
    b.addLight(LightDesc("!amb=0.5 fog !fog min=5 max=50 type=exp2 !dif=0.25", float3()));
    b.addLight(LightDesc("!glo=0.3 !spc=0.7", float3(), float3(1, 0.5f, 0), 2));
    LightDesc fading("fading", float3());
    fading.fadeStart = 10;
    fading.fadeEnd = 100;
    b.addLight(fading);
    int bare = b.addLight(LightDesc("bare", float3()));
    // A light without colour and multiplier data shines white.
    Engine2Scene& sc = b.scene();
    sc.light[size_t(sc.node[size_t(bare)].light)].color.clear();
    sc.light[size_t(sc.node[size_t(bare)].light)].multiply.clear();
    sc.light[size_t(sc.node[size_t(bare)].light)].multiply2.clear();
    ASSERT_TRUE(b.save(dir.file("lights.3dn")));

    Object object;
    Loaded l = loadObject(object, dir.file("lights.3dn"));
    ASSERT_TRUE(object.is_loaded()) << l.err;
    auto light = [&](const char* name) { return object.lights[object.nodes[object.find_node(name)].light]; };

    Object::Light plain = light("plain");
    EXPECT_EQ(plain.ambient, 1.0f);
    EXPECT_EQ(plain.diffuse, 1.0f);
    EXPECT_EQ(plain.specular, 0.0f);
    EXPECT_EQ(plain.fog[0], -1.0f);
    EXPECT_FLOAT_EQ(plain.decay[0], 0.833333313f);
    EXPECT_FLOAT_EQ(plain.decay[2], 0.0065f);
    EXPECT_EQ(plain.decay[3], 1e10f);

    // "!amb=" before "!fog" is cancelled by it, "!dif=" after it stays.
    Object::Light fog = light("!amb=0.5 fog !fog min=5 max=50 type=exp2 !dif=0.25");
    EXPECT_EQ(fog.ambient, 0.0f);
    EXPECT_EQ(fog.diffuse, 0.25f);
    EXPECT_EQ(fog.specular, 0.0f);
    EXPECT_EQ(fog.glow, 0.0f);
    EXPECT_EQ(fog.fog[0], 2.0f);
    EXPECT_EQ(fog.fog[1], 5.0f);
    EXPECT_EQ(fog.fog[2], 50.0f);

    Object::Light tinted = light("!glo=0.3 !spc=0.7");
    EXPECT_FLOAT_EQ(tinted.glow, 0.3f);
    EXPECT_FLOAT_EQ(tinted.specular, 0.7f);
    ASSERT_EQ(tinted.color.size(), 1u);
    EXPECT_FLOAT_EQ(tinted.color[0].x, 2.0f);
    EXPECT_FLOAT_EQ(tinted.color[0].y, 1.0f);

    // Fading from 10 to 100: ratio 10, linear 9 / 90, constant 1 - 10 * 0.1.
    Object::Light fade = light("fading");
    EXPECT_FLOAT_EQ(fade.decay[1], 0.1f);
    EXPECT_NEAR(fade.decay[0], 0.0f, 1e-6);
    EXPECT_EQ(fade.decay[2], 0.0f);
    EXPECT_EQ(fade.decay[3], 100.0f);
    EXPECT_NE(l.out.find("light 10.000000 100.000000 10.000000 0.000000 0.100000 0.000000\n"), std::string::npos);

    Object::Light white = light("bare");
    ASSERT_EQ(white.color.size(), 1u);
    EXPECT_EQ(white.color[0].x, 1.0f);
    EXPECT_EQ(white.color[0].z, 1.0f);
}

TEST_F(ObjectLoad, EqualFadeDistancesKeepTheDefaultDecay)
{
    SceneBuilder b;
    int node = b.addLight(LightDesc("flat", float3()));
    Engine2Scene::Light& l = b.scene().light[size_t(b.scene().node[size_t(node)].light)];
    l.decay_inv = 1;
    l.far_atten_start = {20};
    l.far_atten_end = {20};
    ASSERT_TRUE(b.save(dir.file("flat.3dn")));
    Object object;
    loadObject(object, dir.file("flat.3dn"));
    ASSERT_TRUE(object.is_loaded());
    const Object::Light& light = object.lights[1];
    for (float v : light.decay)
        EXPECT_TRUE(std::isfinite(v));
    EXPECT_FLOAT_EQ(light.decay[0], 0.833333313f);
    EXPECT_EQ(light.decay[3], 1e10f);
}

TEST_F(ObjectLoad, ShadowedSpotsGetAProjection)
{
    SceneBuilder b;
    int node = b.addLight(LightDesc("spot", float3()));
    Engine2Scene::Light& l = b.scene().light[size_t(b.scene().node[size_t(node)].light)];
    l.shadows = 1;
    l.is_spot = 1;
    l.angle_big = {90};
    l.aspect = 2;
    ASSERT_TRUE(b.save(dir.file("spot.3dn")));
    Object object;
    loadObject(object, dir.file("spot.3dn"));
    ASSERT_TRUE(object.is_loaded());
    const Object::Light& light = object.lights[1];
    EXPECT_EQ(light.projector, 1);
    EXPECT_NEAR(light.projection[0], 0.5f, 1e-5);
    EXPECT_NEAR(light.projection[5], 1.0f, 1e-5);
    EXPECT_FLOAT_EQ(light.projection[10], -1.00200403f);
    EXPECT_FLOAT_EQ(light.projection[11], -2.00400805f);
    EXPECT_EQ(light.projection[14], -1.0f);
    EXPECT_EQ(light.projection[15], 0.0f);

    // Without an aspect the cone is taken as square; a cone of no width projects nothing.
    l.aspect = 0;
    int narrow = b.addLight(LightDesc("narrow", float3()));
    Engine2Scene::Light& n = b.scene().light[size_t(b.scene().node[size_t(narrow)].light)];
    n.shadows = 1;
    n.is_spot = 1;
    n.angle_big = {0};
    ASSERT_TRUE(b.save(dir.file("spot2.3dn")));
    Object again;
    loadObject(again, dir.file("spot2.3dn"));
    ASSERT_TRUE(again.is_loaded());
    EXPECT_NEAR(again.lights[1].projection[0], 1.0f, 1e-5);
    EXPECT_EQ(again.lights[2].projector, 0);
    for (float v : again.lights[2].projection)
        EXPECT_TRUE(std::isfinite(v));
}

TEST_F(ObjectLoad, CamerasSampleAndBecomeTheRenderCamera)
{
    SceneBuilder b;
    b.addHelper("first", float3());
    b.addCamera("near", CameraKey(float3(0, -10, 0), float3(0, 0, 0), float3(0, 0, 1), 40));
    b.addCamera("far", CameraKey(float3(0, -50, 0), float3(0, 0, 0), float3(0, 0, 1), 60));
    ASSERT_TRUE(b.save(dir.file("cams.3dn")));
    Object object;
    loadObject(object, dir.file("cams.3dn"));
    ASSERT_TRUE(object.is_loaded());

    // The file's horizontal field of view comes back vertical.
    float4x4 m;
    float fov = 0;
    ASSERT_TRUE(object.get_camera(0, "far", &m, &fov));
    EXPECT_NEAR(fov, 60.0f, 1e-3);
    // Rows: (-z axis, x axis, y axis, position); the camera looks along +y from (0, -50, 0).
    EXPECT_NEAR(m.m[1][0], 1.0f, 1e-5);
    EXPECT_NEAR(m.m[1][3], -50.0f, 1e-4);
    EXPECT_NEAR(m.m[2][2], 1.0f, 1e-5);
    EXPECT_EQ(m.m[3][3], 1.0f);
    EXPECT_FALSE(object.get_camera(0, "first", &m, &fov));
    EXPECT_FALSE(object.get_camera(0, "none", &m, &fov));
    EXPECT_FALSE(object.get_camera(0, nullptr, &m, &fov));

    // Without a name the first camera in pre-order is the render's camera.
    engine.render.begin(nullptr, 0, 0);
    object.set_camera(&engine.render, 0, "");
    engine.render.end(true, true, false);
    RecordedCall call = engine.device.calls("SetMatrix").front();  // the 3D pass's
    ASSERT_EQ(call.f.size(), 28u);
    // The view's translation row for an eye at (0, -10, 0) looking along +y: distance 10.
    EXPECT_NEAR(call.f[16 + 11], -10.0f, 1e-4);
}

// ---- meshes, materials, textures

TEST_F(ObjectLoad, MeshesGetBuffersStreamsBoundsAndParts)
{
    SceneBuilder b;
    int red = b.addMaterial(MaterialDesc("red NO_LIGHT", float3(1, 0, 0), 0.5f));
    int blue = b.addMaterial(MaterialDesc("blue", float3(0, 0, 1)));
    MeshData two = withMaterial(box(2, 2, 2), red);
    MeshData other = withMaterial(transformed(box(2, 2, 2), translation(float3(0, 0, 4))), blue);
    append(two, other);
    b.addMesh("!billboard_z !nofog", two);
    b.addMesh("!billboardz", box(1, 1, 1));
    b.addMesh("plain", painted(box(1, 1, 1), float3(0, 1, 0)));
    ASSERT_TRUE(b.save(dir.file("meshes.3dn")));

    Object object;
    Loaded l = loadObject(object, dir.file("meshes.3dn"));
    ASSERT_TRUE(object.is_loaded()) << l.err;
    const Object::Mesh& m = object.meshes[object.nodes[object.find_node("!billboard_z !nofog")].mesh];
    EXPECT_EQ(m.billboard, 4);
    EXPECT_EQ(m.no_fog, 1);
    EXPECT_EQ(m.first_index, 0);
    EXPECT_EQ(m.last_index, 47);
    ASSERT_EQ(m.submeshes.size(), 2u);
    EXPECT_EQ(m.submeshes[0].material, red);
    EXPECT_EQ(m.submeshes[1].material, blue);
    EXPECT_EQ(m.submeshes[0].count, 36);
    EXPECT_EQ(m.submeshes[1].min_index, 24);
    EXPECT_EQ(m.submeshes[1].max_index, 47);
    EXPECT_NE(m.static_vb, nullptr);
    EXPECT_EQ(m.dynamic_vb, nullptr);
    EXPECT_NEAR(m.bounds.box_min.z, -1.0f, 1e-5);
    EXPECT_NEAR(m.bounds.box_max.z, 5.0f, 1e-5);
    EXPECT_NEAR(m.bounds.centroid.z, 2.0f, 1e-5);
    EXPECT_NEAR(m.bounds.radius, std::sqrt(1 + 1 + 9.0f), 1e-4);
    EXPECT_EQ(m.visibility, std::vector<float>({1}));
    // Positions, normals and one texture channel: offsets 0, 12, 24, stride 32.
    ASSERT_EQ(m.streams.size(), 3u);
    EXPECT_EQ(m.streams[0].usage, vi_position);
    EXPECT_EQ(m.streams[2].usage, vi_texcoord);
    EXPECT_EQ(m.streams[2].offset, 24u);
    EXPECT_EQ(m.streams[2].stride, 32);

    EXPECT_EQ(object.meshes[object.nodes[object.find_node("!billboardz")].mesh].billboard, 1);
    const Object::Mesh& plain = object.meshes[object.nodes[object.find_node("plain")].mesh];
    EXPECT_EQ(plain.billboard, 0);
    EXPECT_EQ(plain.has_colors, 1);
    EXPECT_EQ(plain.streams[2].usage, vi_color);

    // The index buffer holds the triangles as 32-bit indices.
    const int32_t* idx = static_cast<const int32_t*>(engine.device.LockIndexBuffer(m.submeshes[1].index_buffer, 0));
    EXPECT_GE(idx[0], 24);
    engine.device.UnlockIndexBuffer(m.submeshes[1].index_buffer);

    const Object::Material& mat = object.materials[size_t(red)];
    EXPECT_EQ(mat.name, "red NO_LIGHT");
    EXPECT_EQ(mat.no_light, 1);
    EXPECT_EQ(mat.flag, 1);
    EXPECT_EQ(mat.diffuse[0], 1.0f);
    EXPECT_EQ(mat.opacity, 0.5f);
    EXPECT_FLOAT_EQ(mat.specular_power, 20.0f);
    EXPECT_FLOAT_EQ(mat.specular_level, 0.2f);
    EXPECT_EQ(object.materials[size_t(blue)].no_light, 0);

    // Every buffer goes back to the device on unload.
    EXPECT_GT(engine.device.liveBuffers(), 0);
    object.unload();
    EXPECT_EQ(engine.device.liveBuffers(), 0);
    EXPECT_FALSE(object.is_loaded());
    EXPECT_EQ(object.progress, 0);
    EXPECT_EQ(object.total, 0);
    EXPECT_TRUE(object.nodes.empty());
    // It can be loaded again.
    loadObject(object, dir.file("meshes.3dn"));
    EXPECT_TRUE(object.is_loaded());
}

TEST_F(ObjectLoad, OneVertexMeshesOfOneLayoutShareABuffer)
{
    SceneBuilder b;
    b.addMaterial(MaterialDesc("plain"));
    MeshData dot;
    dot.addVertex(float3(1, 2, 3), float3(0, 0, 1), 0, 0);
    b.addMesh("a", dot);
    dot.xyz[0] = float3(4, 5, 6);
    b.addMesh("b", dot);
    ASSERT_TRUE(b.save(dir.file("dots.3dn")));
    Object object;
    loadObject(object, dir.file("dots.3dn"));
    ASSERT_TRUE(object.is_loaded());
    const Object::Mesh& a = object.meshes[object.nodes[object.find_node("a")].mesh];
    const Object::Mesh& c = object.meshes[object.nodes[object.find_node("b")].mesh];
    EXPECT_EQ(a.static_vb, c.static_vb);
    EXPECT_NE(a.static_vb, nullptr);
    EXPECT_EQ(c.first_index, a.first_index + 1);
    EXPECT_EQ(c.last_index, c.first_index);
    float3 v[2];
    int tri[1];
    object.get_node_geometry(object.find_node("b"), v, tri, 0);
    EXPECT_EQ(v[0].x, 4.0f);
    EXPECT_EQ(v[0].z, 6.0f);
}

TEST_F(ObjectLoad, SkinnedMeshesAreSkinnedInSoftware)
{
    SceneBuilder b;
    b.addMaterial(MaterialDesc("plain"));
    int root = b.addBone("root", 0, translation(float3(0, 0, 1)));
    int arm = b.addBone("arm", root, translation(float3(1, 0, 0)));
    MeshData body = b.skinPiece(box(1, 1, 1), arm);
    append(body, b.skinPiece(box(1, 1, 1), root));
    // Shared influence on one vertex: half arm, half root.
    body.skin[0].bone[1] = b.boneIndex(root);
    body.skin[0].weight[0] = 0.5f;
    body.skin[0].weight[1] = 0.5f;
    b.addSkinnedMesh("body", body);
    ASSERT_TRUE(b.save(dir.file("skin.3dn")));

    Object object;
    Loaded l = loadObject(object, dir.file("skin.3dn"));
    ASSERT_TRUE(object.is_loaded()) << l.err;
    const Object::Mesh& m = object.meshes[object.nodes[object.find_node("body")].mesh];
    EXPECT_EQ(m.swskinned, 1);
    EXPECT_EQ(m.skinned, 1);
    ASSERT_EQ(m.swskin_data.size(), 48u);
    EXPECT_EQ(int(m.swskin_data.size()), m.last_index - m.first_index + 1);
    EXPECT_EQ(m.swskin_data[0].bone[0], uint32_t(b.boneIndex(arm)));
    EXPECT_EQ(m.swskin_data[0].bone[1], uint32_t(b.boneIndex(root)));
    EXPECT_FLOAT_EQ(m.swskin_data[0].weight[0], 0.5f);
    EXPECT_FLOAT_EQ(m.swskin_data[1].weight[0], 1.0f);
    EXPECT_EQ(m.root_bone, b.boneIndex(root));
    // Positions and normals in the dynamic buffer, texture coordinates in the static one.
    ASSERT_NE(m.dynamic_vb, nullptr);
    ASSERT_NE(m.static_vb, nullptr);
    for (const VertexInfo& s : m.streams)
        EXPECT_EQ(s.buffer, s.usage == vi_texcoord ? m.static_vb : m.dynamic_vb) << s.usage;
    // Doubled bounds: the rest pose spans 1 across, the box then 2.
    EXPECT_NEAR(m.bounds.box_max.x - m.bounds.box_min.x, 4.0f, 1e-4);
    EXPECT_EQ(object.bones.size(), 3u);
    EXPECT_EQ(object.bones[size_t(b.boneIndex(arm))].node, object.find_node("arm"));
}

TEST_F(ObjectLoad, TexturesBesideScenesAreLoadedOnceAndShared)
{
    std::ofstream(dir.file("grass.png"), std::ios::binary).write(pngHeader(32, 16).data(), 29);
    SceneBuilder b;
    b.addMaterial(MaterialDesc("plain"));
    int grass = b.addTexture("grass.png");
    int again = b.addTexture("grass.png");
    int own = b.addEmbeddedTexture("own.png", pngHeader(8, 8));
    MaterialDesc desc("grass");
    desc.maps[Object::slot_diffuse] = grass;
    desc.maps[Object::slot_lightmap] = again;
    desc.maps[Object::slot_selfillum] = own;
    desc.maps[7] = grass;  // the transparency entries
    desc.maps[10] = own;
    b.addMesh("lawn", withMaterial(plane(10, 10), b.addMaterial(desc)));
    ASSERT_TRUE(b.save(dir.file("a.3dn")));
    ASSERT_TRUE(b.save(dir.file("b.3dn")));

    Object first, second;
    Loaded l = loadObject(first, dir.file("a.3dn"));
    ASSERT_TRUE(first.is_loaded()) << l.err;
    // The dummy map, two maps of one file, the embedded one: two pictures made.
    EXPECT_EQ(engine.device.count("LoadTexture"), 2);
    const Object::Material& mat = first.materials[1];
    EXPECT_EQ(mat.map(0), grass);
    EXPECT_EQ(mat.map(1), again);
    EXPECT_EQ(mat.map(4), own);
    EXPECT_EQ(mat.map(2), 0);
    EXPECT_EQ(mat.transparency[0], grass);
    EXPECT_EQ(mat.transparency[1], own);
    EXPECT_EQ(mat.flag, 1);
    EXPECT_EQ(first.materials[0].transparency[0], 0);
    texture_t_opaque* shared = first.textures[size_t(grass)].texture;
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(first.textures[size_t(again)].texture, shared);
    EXPECT_NE(first.textures[size_t(own)].texture, shared);
    // Three file records (the dummy one too): the last picture loaded after 1 of 3.
    EXPECT_EQ(l.out.substr(l.out.size() - 8), " lc=666\n");

    loadObject(second, dir.file("b.3dn"));
    EXPECT_EQ(engine.device.count("LoadTexture"), 3);  // only its embedded picture
    EXPECT_EQ(second.textures[size_t(grass)].texture, shared);
    int* count = second.files[second.files.size() - 2].use_count;
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(*count, 2);
    EXPECT_EQ(engine.device.liveTextures(), 3);

    first.unload();
    EXPECT_EQ(engine.device.liveTextures(), 2);  // the shared one survives
    EXPECT_EQ(*count, 1);
    second.unload();
    EXPECT_EQ(engine.device.liveTextures(), 0);

    // With nobody holding it, the next load reads the file again.
    loadObject(first, dir.file("a.3dn"));
    EXPECT_EQ(engine.device.count("LoadTexture"), 5);
    first.unload();
}

TEST_F(ObjectLoad, AMissingTextureFileLeavesNoTextureAndTheSceneLoads)
{
    SceneBuilder b;
    b.addMaterial(MaterialDesc("plain"));
    MaterialDesc desc("m");
    desc.maps[Object::slot_diffuse] = b.addTexture("missing.png");
    b.addMesh("lawn", withMaterial(plane(10, 10), b.addMaterial(desc)));
    ASSERT_TRUE(b.save(dir.file("m.3dn")));
    Object object;
    Loaded l = loadObject(object, dir.file("m.3dn"));
    ASSERT_TRUE(object.is_loaded());
    EXPECT_NE(l.err.find("Warning: can't open " + dir.file("missing.png")), std::string::npos);
    EXPECT_EQ(engine.device.count("LoadTexture"), 0);
    EXPECT_EQ(object.textures[1].texture, nullptr);
}

// ---- side file

TEST_F(ObjectLoad, TheSideFilePutsNodesOnLayers)
{
    SceneBuilder b;
    b.addMaterial(MaterialDesc("plain"));
    b.addMesh("Fence01", box(1, 1, 1));
    b.addMesh("fence02", box(1, 1, 1));
    b.addMesh("gate", box(1, 1, 1));
    ASSERT_TRUE(b.save(dir.file("park.3dn")));
    SideFile side;
    side.setLayer("fence*", 4);
    side.setLayer("gate", -3);
    ASSERT_TRUE(side.save(dir.file("park.3dn")));
    Object object;
    loadObject(object, dir.file("park.3dn"));
    ASSERT_TRUE(object.is_loaded());
    EXPECT_EQ(object.nodes[object.find_node("Fence01")].layer, 4);
    EXPECT_EQ(object.nodes[object.find_node("fence02")].layer, 4);
    // A negative layer from the side file counts as layer 0.
    EXPECT_EQ(object.nodes[object.find_node("gate")].layer, 0);
    EXPECT_EQ(object.layer_count, 5);
}

// ---- geometry export

TEST_F(ObjectLoad, GeometryComesOutInWorldSpacePerLayer)
{
    SceneBuilder b;
    b.addMaterial(MaterialDesc("plain"));
    b.addMesh("low", box(2, 2, 2), 0, Track{translation(float3(10, 0, 0))}, 0);
    b.addMesh("high", plane(2, 2), 0, Track{translation(float3(0, 0, 5))}, 1);
    ASSERT_TRUE(b.save(dir.file("geo.3dn")));
    Object object;
    loadObject(object, dir.file("geo.3dn"));
    ASSERT_TRUE(object.is_loaded());

    int v = -1, t = -1;
    object.count_geometry(-1, &v, &t);
    EXPECT_EQ(v, 28);
    EXPECT_EQ(t, 14);
    object.count_geometry(1, &v, &t);
    EXPECT_EQ(v, 4);
    EXPECT_EQ(t, 2);
    object.count_node_geometry(0, &v, &t);
    EXPECT_EQ(v, 0);
    EXPECT_EQ(t, 0);

    std::vector<float3> vertices(28);
    std::vector<int> triangles(14 * 3);
    object.get_geometry(-1, vertices.data(), triangles.data(), 100);
    EXPECT_NEAR(vertices[0].x, 9.0f, 1e-5);
    EXPECT_NEAR(vertices[24].z, 5.0f, 1e-5);
    for (int i = 0; i < 12 * 3; ++i) {
        EXPECT_GE(triangles[i], 100);
        EXPECT_LT(triangles[i], 124);
    }
    for (int i = 12 * 3; i < 14 * 3; ++i) {
        EXPECT_GE(triangles[i], 124);
        EXPECT_LT(triangles[i], 128);
    }
}

// ---- refused files

TEST_F(ObjectLoad, UnreadableEmptyAndDamagedFilesLeaveTheObjectUnloaded)
{
    Object object;
    Loaded l = loadObject(object, dir.file("none.3dn"));
    EXPECT_FALSE(object.is_loaded());
    EXPECT_NE(l.err.find("Warning: can't open"), std::string::npos);
    EXPECT_EQ(object.total, 0);

    // An empty file leaves no progress for a loading bar to wait on.
    dir.write("empty.3dn", "");
    loadObject(object, dir.file("empty.3dn"));
    EXPECT_FALSE(object.is_loaded());
    EXPECT_EQ(object.progress, 0);
    EXPECT_EQ(object.total, 0);

    dir.write("junk.3dn", std::string(200, 'x'));
    l = loadObject(object, dir.file("junk.3dn"));
    EXPECT_FALSE(object.is_loaded());
    EXPECT_NE(l.err.find("Warning: damaged scene file"), std::string::npos);
    EXPECT_EQ(object.total, 0);
    EXPECT_EQ(engine.device.liveBuffers(), 0);
}

TEST_F(ObjectLoad, TheExtensionIsTakenInAnyCaseButNotAlone)
{
    SceneBuilder b;
    b.addHelper("x", float3());
    ASSERT_TRUE(b.save(dir.file("UPPER.3DN")));
    Object object;
    loadObject(object, dir.file("UPPER.3DN"));
    EXPECT_TRUE(object.is_loaded());
    EXPECT_EQ(object.name, dir.file("UPPER.3DN"));
    Object bare;
    EXPECT_EQ(loadObject(bare, ".3dn").err, "Can't load .3dn: unknown format\n");
    EXPECT_FALSE(bare.is_loaded());
}

TEST_F(ObjectLoad, WithTangentsTheDeviceGetsATangentStream)
{
    engine.device.setFeatures(41 | Device::feature_tangents);
    SceneBuilder b;
    b.addMaterial(MaterialDesc("plain"));
    b.addMesh("lawn", plane(2, 2));
    ASSERT_TRUE(b.save(dir.file("t.3dn")));
    Object object;
    loadObject(object, dir.file("t.3dn"));
    ASSERT_TRUE(object.is_loaded());
    const Object::Mesh& m = object.meshes[1];
    ASSERT_EQ(m.streams.size(), 4u);
    EXPECT_EQ(m.streams[2].usage, vi_tangent);
    // The plane's texture runs along +x: so does every tangent.
    const unsigned char* p = static_cast<const unsigned char*>(engine.device.LockVertexBuffer(m.static_vb, 0));
    float tangent[3];
    std::memcpy(tangent, p + m.streams[2].offset, sizeof tangent);
    engine.device.UnlockVertexBuffer(m.static_vb);
    EXPECT_NEAR(tangent[0], 1.0f, 1e-5);
    EXPECT_NEAR(tangent[1], 0.0f, 1e-5);
}

} // namespace

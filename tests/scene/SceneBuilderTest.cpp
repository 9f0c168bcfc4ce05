#include "scenelib/SceneBuilder.h"
#include "scenelib/SideFile.h"

#include "render/scene_file.h"
#include "scene/SceneCompare.h"
#include "fixtures/TempDir.h"
#include "scene/FileBytes.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <cmath>

using namespace scenelib;

namespace {

const float kPi = 3.14159265358979f;

void expectNear(const float4x4& a, const float4x4& b, const std::string& what, float tolerance = 1e-4f)
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            EXPECT_NEAR(a.m[i][j], b.m[i][j], tolerance) << what << " [" << i << "][" << j << "]";
}

void expectNear(float3 a, float3 b, const std::string& what, float tolerance = 1e-4f)
{
    EXPECT_NEAR(a.x, b.x, tolerance) << what;
    EXPECT_NEAR(a.y, b.y, tolerance) << what;
    EXPECT_NEAR(a.z, b.z, tolerance) << what;
}

// The track a loader takes for a node (its linked element's, else its own).
const Track& chosenTrack(const Engine2Scene& s, int k)
{
    const Engine2Scene::Node& n = s.node[size_t(k)];
    const Track* t = &n.matrix;
    if (n.mesh)
        t = &s.mesh[size_t(n.mesh)].matrix;
    if (n.bone)
        t = &s.bone[size_t(n.bone)].matrix;
    if (n.camera)
        t = &s.camera[size_t(n.camera)].matrix;
    if (n.light)
        t = &s.light[size_t(n.light)].matrix;
    return *t;
}

// A node's world matrix at a key as the game evaluates a loaded scene: local tracks derived
// from the file's world tracks against the parent's, then multiplied up the tree.
float4x4 loadedWorld(const Engine2Scene& s, int k, int key)
{
    if (k == 0)
        return identity();
    const Track& w = chosenTrack(s, k);
    int parent = s.node[size_t(k)].parent;
    float4x4 local;
    if (parent == 0) {
        local = w[w.size() == 1 ? 0 : size_t(key)];
    } else {
        const Track& p = chosenTrack(s, parent);
        if (p.size() == 1)
            local = mul(w[w.size() == 1 ? 0 : size_t(key)], inverse(p[0]));
        else if (w.size() == 1)
            local = mul(w[0], inverse(p[0]));
        else
            local = mul(w[size_t(key)], inverse(p[size_t(key)]));
    }
    return mul(local, loadedWorld(s, parent, key));
}

// Where the game's skinning puts a rest-pose vertex at a key.
float3 skinned(const Engine2Scene& s, const Engine2Scene::VertexBuffer& vb, size_t v, int key)
{
    float3 out;
    for (int c = 0; c < 4; ++c) {
        int b = vb.bone[c][v];
        if (!b)
            continue;
        const Engine2Scene::Bone& bone = s.bone[size_t(b)];
        float3 p = transformPoint(vb.xyz[v], mul(bone.inv0_matrix, loadedWorld(s, bone.node, key)));
        out = add(out, scaled(p, vb.weight[c][v]));
    }
    return out;
}

Engine2Scene saveAndLoad(const SceneBuilder& b)
{
    TempDir dir;
    std::string path = dir.file("built.3dn");
    EXPECT_TRUE(b.save(path));
    Engine2Scene read;
    EXPECT_TRUE(scene_load(read, readBytes(path), path.c_str()));
    return read;
}

// Every triangle turns counter-clockwise seen from the side its vertices' normals face.
void expectOutwardWinding(const MeshData& m, const std::string& what)
{
    for (const MeshPart& part : m.parts)
        for (const Engine2Scene::int3& t : part.triangles) {
            float3 a = m.xyz[size_t(t.a)], b = m.xyz[size_t(t.b)], c = m.xyz[size_t(t.c)];
            float3 face = crossProduct(sub(b, a), sub(c, a));
            float3 n = add(add(m.normal[size_t(t.a)], m.normal[size_t(t.b)]), m.normal[size_t(t.c)]);
            EXPECT_GT(dot(face, n), 0) << what;
        }
}

// A small animal: a body bone and a leg swinging over two frames, a skinned box mesh.
struct Animal {
    SceneBuilder b;
    int body, leg, mesh;
    Animal()
    {
        b.setAnimation(2, 25);
        int material = b.addMaterial(MaterialDesc{"Fur"});
        body = b.addBone("body", 0, translation(float3(0, 0, 1)),
                         animate({{0, {float3(0, 0, 1)}}, {1, {float3(0, 0, 1.5f)}}, {2, {float3(0, 0, 1)}}}, 2));
        Pose swing;
        swing.position = float3(0.5f, 0, -0.5f);
        swing.rotation = float3(0, kPi / 2, 0);
        leg = b.addBone("leg", body, translation(float3(0.5f, 0, -0.5f)),
                        animate({{0, {float3(0.5f, 0, -0.5f)}}, {1, swing}, {2, {float3(0.5f, 0, -0.5f)}}}, 2));
        MeshData skin = b.skinPiece(withMaterial(box(1, 0.5f, 0.5f), material), body);
        append(skin, b.skinPiece(withMaterial(transformed(box(0.2f, 0.2f, 0.5f), translation(float3(0, 0, -0.25f))),
                                              material),
                                 leg));
        mesh = b.addSkinnedMesh("Animal body", skin, 4);
    }
};

} // namespace

// ---- scenes written and read back

TEST(SceneBuilderFile, ABuiltSceneReadsBackFieldForField)
{
    SceneBuilder b;
    b.setAnimation(2, 30);
    b.setComments("park");
    int grass = b.addTexture("grass.png");
    MaterialDesc ground{"Grass"};
    ground.maps[kSlotDiffuse] = grass;
    int groundMat = b.addMaterial(ground);
    MaterialDesc glass{"Glass"};
    glass.opacity = 0.4f;
    int glassMat = b.addMaterial(glass);
    MaterialDesc white{"Painted"};
    white.diffuse = float3(1, 1, 1);
    int paintMat = b.addMaterial(white);

    b.addMesh("Ground", withMaterial(plane(100, 100, 20), groundMat));
    MeshData house = withMaterial(painted(box(4, 4, 3), float3(0.9f, 0.2f, 0.1f)), paintMat);
    append(house, withMaterial(painted(transformed(cylinder(0.5f, 1, 8), translation(float3(1, 1, 2))),
                                       float3(0.3f, 0.3f, 0.3f)),
                               paintMat));
    append(house, withMaterial(transformed(sphere(0.5f, 4, 8), translation(float3(0, 0, 3))), glassMat));
    int kennel = b.addMesh("Kennel01", house, 0, Track{translation(float3(10, 5, 1.5f))}, 3);
    b.addHelper("Kennel_helper", float3(12, 5, 0), 3);
    b.addNode("Sign", kennel, animate({{0, {}}, {1, {float3(0, 0, 1)}}, {2, {}}}, 2));
    b.addCamera("Slide01", {{float3(0, -20, 10), float3(0, 0, 0)}, {float3(5, -20, 10), float3(0, 0, 0)},
                            {float3(0, -20, 10), float3(0, 0, 0)}});
    b.addLight(LightDesc{"Sun !amb=0.3", float3(50, -50, 100), float3(1, 0.95f, 0.9f), 1.2f});
    LightDesc lamp{"Lamp", float3(0, 0, 5)};
    lamp.fadeStart = 5, lamp.fadeEnd = 30;
    b.addLight(lamp);

    Engine2Scene read = saveAndLoad(b);
    EXPECT_EQ(scenecompare::roundTripDifference(b.scene(), read), "");
    std::string why;
    EXPECT_TRUE(scene_check(read, why)) << why;
}

TEST(SceneBuilderFile, AnAnimatedSkinnedFigureReadsBackFieldForField)
{
    Animal a;
    Engine2Scene read = saveAndLoad(a.b);
    EXPECT_EQ(scenecompare::roundTripDifference(a.b.scene(), read), "");
    EXPECT_EQ(read.Frames, 2.0f);
    EXPECT_EQ(read.Fps, 25.0f);
}

// ---- what a loader needs of the file

TEST(SceneBuilderLayout, IndexZeroOfEveryLinkedListIsADummy)
{
    SceneBuilder b;
    const Engine2Scene& s = b.scene();
    ASSERT_EQ(s.node.size(), 1u);
    expectNear(s.node[0].matrix.at(0), identity(), "root");
    ASSERT_EQ(s.mesh.size(), 1u);
    EXPECT_EQ(s.mesh[0].trianglebuffer, 0);
    EXPECT_EQ(s.trianglebuffer.at(0).vertexbuffer, 0);
    EXPECT_TRUE(s.trianglebuffer[0].triangle.empty());
    EXPECT_TRUE(s.vertexbuffer.at(0).xyz.empty());
    EXPECT_EQ(s.bone.size(), 1u);
    EXPECT_EQ(s.camera.size(), 1u);
    EXPECT_EQ(s.light.size(), 1u);
    EXPECT_TRUE(s.texture_map.empty());
    EXPECT_TRUE(s.file.empty());
    std::string why;
    EXPECT_TRUE(scene_check(s, why)) << why;
}

TEST(SceneBuilderLayout, TheFirstTextureAddsADummyMapOnARealFile)
{
    SceneBuilder b;
    int grass = b.addTexture("grass.png");
    int wall = b.addTexture("wall.png");
    int grassAgain = b.addTexture("grass.png");
    int embedded = b.addEmbeddedTexture("fur", {'\x89', 'P', 'N', 'G'});
    const Engine2Scene& s = b.scene();
    EXPECT_EQ(grass, 1);
    EXPECT_EQ(wall, 2);
    EXPECT_EQ(s.file.size(), 4u); // dummy, grass, wall, fur
    EXPECT_EQ(s.file[0].file_name, "");
    EXPECT_EQ(s.texture_map[0].file, 1);
    EXPECT_EQ(s.file[1].file_name, "!grass.png");
    EXPECT_TRUE(s.file[1].data.empty());
    EXPECT_EQ(s.texture_map[size_t(grassAgain)].file, s.texture_map[size_t(grass)].file);
    EXPECT_EQ(s.file[size_t(s.texture_map[size_t(embedded)].file)].data.size(), 4u);
}

TEST(SceneBuilderLayout, MaterialWordsCarryColoursOpacityAndMaps)
{
    SceneBuilder b;
    int tex = b.addTexture("wall.png");
    MaterialDesc d{"Wall"};
    d.diffuse = float3(0.5f, 0.25f, 1);
    d.opacity = 0.5f;
    d.specularPower = 40;
    d.maps[kSlotDiffuse] = tex;
    d.maps[kSlotSelfIllum] = tex;
    int m = b.addMaterial(d);
    const Engine2Scene::Material& mat = b.scene().material.at(size_t(m));
    ASSERT_EQ(mat.maxmat.size(), 1u);
    const Engine2Scene::Material::MaxMat& w = mat.maxmat[0];
    EXPECT_EQ(w.words[0], 1);
    EXPECT_EQ(w.get_float(11), 0.5f);
    EXPECT_EQ(w.get_float(12), 0.25f);
    EXPECT_EQ(w.get_float(13), 1.0f);
    EXPECT_EQ(w.get_float(8), 0.5f); // ambient follows diffuse
    EXPECT_EQ(w.get_float(26), 0.5f);
    EXPECT_NEAR(w.get_float(23) * 100.0f, 40.0f, 1e-4);
    EXPECT_EQ(mat.slot(1), tex);
    EXPECT_EQ(mat.slot(5), tex);
    EXPECT_EQ(mat.slot(0), 0);
    EXPECT_EQ(b.scene().material[size_t(b.addMaterial(MaterialDesc{"Plain"}))].maxmat[0].get_float(26), 1.0f);
}

TEST(SceneBuilderLayout, MeshesCarryVisibilityLayersAndOneListPerMaterial)
{
    SceneBuilder b;
    int m0 = b.addMaterial(MaterialDesc{"A"}), m1 = b.addMaterial(MaterialDesc{"B"});
    MeshData mesh = withMaterial(box(1, 1, 1), m0);
    append(mesh, withMaterial(transformed(box(1, 1, 1), translation(float3(2, 0, 0))), m1));
    append(mesh, withMaterial(transformed(box(1, 1, 1), translation(float3(4, 0, 0))), m0));
    int node = b.addMesh("Fence", mesh, 0, Track{identity()}, 5);
    const Engine2Scene& s = b.scene();
    const Engine2Scene::Node& n = s.node.at(size_t(node));
    EXPECT_EQ(n.layer_number, 5);
    const Engine2Scene::Mesh& me = s.mesh.at(size_t(n.mesh));
    EXPECT_EQ(me.node, node);
    EXPECT_EQ(me.visibility, std::vector<float>({1}));
    EXPECT_EQ(me.is_skined, 0);
    expectNear(me.inv0_matrix, identity(), "inv0");
    const Engine2Scene::TriangleBuffer& tb = s.trianglebuffer.at(size_t(me.trianglebuffer));
    EXPECT_EQ(tb.material, std::vector<int32_t>({m0, m1}));
    EXPECT_EQ(tb.triangle.at(0).size(), 24u);
    EXPECT_EQ(tb.triangle.at(1).size(), 12u);
    EXPECT_EQ(s.vertexbuffer.at(size_t(tb.vertexbuffer)).xyz.size(), 72u);
    EXPECT_TRUE(s.vertexbuffer[size_t(tb.vertexbuffer)].bone[0].empty());
    b.setVisibility(node, {1, 0, 1});
    EXPECT_EQ(b.scene().mesh[size_t(n.mesh)].visibility.size(), 3u);
}

TEST(SceneBuilderLayout, TheSideFileListsItsEntriesInOrder)
{
    TempDir dir;
    SideFile side;
    side.setLayer("Kennel*", 3);
    side.swapSlots("Grass & \"Sand\"", 1, 5);
    side.setOptions(true, true);
    side.setLayer("Pond", 2);
    std::string scene = dir.file("main3D.3dn");
    ASSERT_TRUE(side.save(scene));

    TiXmlDocument doc;
    ASSERT_TRUE(doc.LoadFile((scene + ".xml").c_str()));
    TiXmlElement* root = doc.FirstChildElement();
    ASSERT_NE(root, nullptr);
    TiXmlElement* e = root->FirstChildElement();
    ASSERT_NE(e, nullptr);
    EXPECT_STREQ(e->Value(), "node");
    EXPECT_STREQ(e->Attribute("name"), "Kennel*");
    EXPECT_STREQ(e->Attribute("layer"), "3");
    e = e->NextSiblingElement();
    EXPECT_STREQ(e->Value(), "material");
    EXPECT_STREQ(e->Attribute("name"), "Grass & \"Sand\"");
    EXPECT_STREQ(e->Attribute("a"), "1");
    EXPECT_STREQ(e->Attribute("b"), "5");
    e = e->NextSiblingElement();
    EXPECT_STREQ(e->Value(), "options");
    EXPECT_NE(e->FirstChild("no-selfillum"), nullptr);
    EXPECT_NE(e->FirstChild("spread-layers"), nullptr);
    e = e->NextSiblingElement();
    EXPECT_STREQ(e->Attribute("name"), "Pond");
    EXPECT_EQ(e->NextSiblingElement(), nullptr);
}

// ---- matrices as the game will evaluate them

TEST(SceneBuilderMatrices, NodesEndUpWhereTheirLocalTracksPutThem)
{
    SceneBuilder b;
    b.setAnimation(2, 25);
    Track spin = {rotationZ(0), rotationZ(kPi / 2), rotationZ(0)};
    for (float4x4& m : spin)
        m = mul(m, translation(float3(10, 0, 0)));
    int carousel = b.addNode("Carousel", 0, spin);
    int seat = b.addNode("Seat", carousel, Track{translation(float3(2, 0, 1))});
    int flag = b.addNode("Flag", seat, animate({{0, {}}, {2, {float3(0, 0, 2)}}}, 2));
    int post = b.addHelper("Post", float3(-3, 4, 0), 1, flag);
    Engine2Scene read = saveAndLoad(b);

    for (int key = 0; key <= 2; ++key) {
        std::string at = " at key " + std::to_string(key);
        float4x4 carouselWorld = spin[size_t(key)];
        float4x4 seatWorld = mul(translation(float3(2, 0, 1)), carouselWorld);
        float4x4 flagWorld = mul(translation(float3(0, 0, float(key))), seatWorld);
        expectNear(loadedWorld(read, carousel, key), carouselWorld, "carousel" + at);
        expectNear(loadedWorld(read, seat, key), seatWorld, "seat" + at);
        expectNear(loadedWorld(read, flag, key), flagWorld, "flag" + at);
        expectNear(loadedWorld(read, post, key), mul(translation(float3(-3, 4, 0)), flagWorld), "post" + at);
        expectNear(b.world(flag, key), flagWorld, "builder's flag" + at);
    }
    // At key 1 the carousel has turned a quarter: the seat's offset (2, 0) points along +y.
    expectNear(translationOf(loadedWorld(read, seat, 1)), float3(10, 2, 1), "seat position");
    expectNear(b.world(seat, 1), mul(translation(float3(2, 0, 1)), spin[1]), "builder's seat");
}

TEST(SceneBuilderMatrices, SkinnedVerticesRestInPlaceAndFollowTheirBones)
{
    Animal a;
    Engine2Scene read = saveAndLoad(a.b);
    const Engine2Scene::Mesh& mesh = read.mesh.at(size_t(read.node.at(size_t(a.mesh)).mesh));
    EXPECT_EQ(mesh.is_skined, 1);
    const Engine2Scene::VertexBuffer& vb =
        read.vertexbuffer.at(size_t(read.trianglebuffer.at(size_t(mesh.trianglebuffer)).vertexbuffer));
    ASSERT_EQ(vb.xyz.size(), 48u);
    ASSERT_EQ(vb.bone[0].size(), 48u);
    EXPECT_EQ(vb.bone[0][0], a.b.boneIndex(a.body));
    EXPECT_EQ(vb.bone[0][47], a.b.boneIndex(a.leg));
    EXPECT_EQ(vb.weight[0][0], 1.0f);
    EXPECT_EQ(vb.weight[1][0], 0.0f);

    // Key 0 is the rest pose: skinning leaves every vertex where it is.
    for (size_t v = 0; v < vb.xyz.size(); ++v)
        expectNear(skinned(read, vb, v, 0), vb.xyz[v], "vertex " + std::to_string(v) + " at rest");
    // Key 1: the body rises by 0.5, the leg swings a quarter turn about y around its joint.
    expectNear(skinned(read, vb, 0, 1), add(vb.xyz[0], float3(0, 0, 0.5f)), "body vertex");
    float3 footInLeg = float3(0.1f, 0.1f, -0.5f); // a bottom corner of the leg's box
    float3 expected = transformPoint(footInLeg, a.b.world(a.leg, 1));
    bool found = false;
    for (size_t v = 24; v < 48; ++v) {
        float3 rest = transformPoint(footInLeg, a.b.restWorld(a.leg));
        if (std::fabs(vb.xyz[v].x - rest.x) + std::fabs(vb.xyz[v].y - rest.y) + std::fabs(vb.xyz[v].z - rest.z) < 1e-4f) {
            expectNear(skinned(read, vb, v, 1), expected, "foot");
            found = true;
        }
    }
    EXPECT_TRUE(found);
    // The hip (0.5, 0, 1 after the body rose) turned the foot from below it to its side.
    expectNear(expected, float3(0, 0.1f, 0.9f), "foot beside the hip", 1e-3f);
}

TEST(SceneBuilderMatrices, CamerasLookAtTheirTargetWithTheHorizontalFieldOfView)
{
    SceneBuilder b;
    int cam = b.addCamera("Slide01", CameraKey{float3(0, -10, 5), float3(0, 0, 0), float3(0, 0, 1), 45});
    const Engine2Scene::Camera& c = b.scene().camera.at(size_t(b.scene().node.at(size_t(cam)).camera));
    const float4x4& m = c.matrix.at(0);
    // The game takes eye = (0,0,0,1)*M, target = (0,0,-1,1)*M and up = (0,1,0,0)*M.
    expectNear(transformPoint(float3(0, 0, 0), m), float3(0, -10, 5), "eye");
    float3 ahead = sub(transformPoint(float3(0, 0, -1), m), float3(0, -10, 5));
    expectNear(ahead, normalize(float3(0, 10, -5)), "view direction");
    float3 up = transformDirection(float3(0, 1, 0), m);
    EXPECT_NEAR(dot(up, ahead), 0, 1e-5);
    EXPECT_GT(up.z, 0);
    expectNear(crossProduct(transformDirection(float3(1, 0, 0), m), up), scaled(ahead, -1), "right-handed");
    double h = c.fov_deg.at(0) * kPi / 180;
    EXPECT_NEAR(2 * std::atan(0.75 * std::tan(h / 2)) * 180 / kPi, 45.0, 1e-3);
}

TEST(SceneBuilderMatrices, KeyframesInterpolateAndHoldAtTheEnds)
{
    Track t = animate({{2, {float3(0, 0, 0)}}, {6, {float3(4, 0, 0)}}}, 8);
    ASSERT_EQ(t.size(), 9u);
    EXPECT_EQ(translationOf(t[0]).x, 0.0f);
    EXPECT_EQ(translationOf(t[2]).x, 0.0f);
    EXPECT_NEAR(translationOf(t[3]).x, 1.0f, 1e-6);
    EXPECT_NEAR(translationOf(t[5]).x, 3.0f, 1e-6);
    EXPECT_EQ(translationOf(t[6]).x, 4.0f);
    EXPECT_EQ(translationOf(t[8]).x, 4.0f);
    Pose turned;
    turned.rotation = float3(0, 0, kPi / 2);
    turned.position = float3(1, 0, 0);
    expectNear(transformPoint(float3(1, 0, 0), poseMatrix(turned)), float3(1, 1, 0), "turn then move");
}

// ---- primitives

TEST(SceneBuilderPrimitives, CountsAndOutwardFacingTriangles)
{
    MeshData b = box(2, 3, 4);
    EXPECT_EQ(b.vertexCount(), 24);
    EXPECT_EQ(b.triangleCount(), 12);
    expectOutwardWinding(b, "box");
    for (size_t v = 0; v < b.xyz.size(); ++v) // each normal points out of the face it belongs to
        EXPECT_GT(dot(b.normal[v], b.xyz[v]), 0);
    MeshData p = plane(10, 10, 4);
    EXPECT_EQ(p.vertexCount(), 4);
    EXPECT_EQ(p.triangleCount(), 2);
    expectOutwardWinding(p, "plane");
    EXPECT_EQ(p.uv[2].x, 4.0f);
    MeshData c = cylinder(1, 2, 12);
    EXPECT_EQ(c.triangleCount(), 12 * 4);
    expectOutwardWinding(c, "cylinder");
    MeshData s = sphere(1, 6, 10);
    EXPECT_EQ(s.triangleCount(), 2 * 10 * (6 - 1));
    expectOutwardWinding(s, "sphere");
    for (const float3& v : s.xyz)
        EXPECT_NEAR(std::sqrt(dot(v, v)), 1.0f, 1e-5);
}

TEST(SceneBuilderPrimitives, TransformsKeepTrianglesFacingOutEvenWhenMirrored)
{
    MeshData m = transformed(box(1, 1, 1), scaling(float3(-1, 2, 1)));
    expectOutwardWinding(m, "mirrored box");
    for (const float3& n : m.normal)
        EXPECT_NEAR(std::sqrt(dot(n, n)), 1.0f, 1e-5);
    MeshData r = transformed(sphere(1), mul(rotationX(0.7f), translation(float3(5, 0, 0))));
    expectOutwardWinding(r, "moved sphere");
}

TEST(SceneBuilderPrimitives, MergingFillsMissingColoursAndCoordinatesAndShiftsIndices)
{
    MeshData a = painted(box(1, 1, 1), float3(1, 0, 0));
    MeshData b = box(1, 1, 1);
    b.uv.clear();
    append(a, b);
    ASSERT_EQ(a.vertexCount(), 48);
    EXPECT_EQ(a.color.size(), 48u);
    EXPECT_EQ(a.color[47].x, 1.0f);
    EXPECT_EQ(a.color[47].y, 1.0f); // white where the piece had no colour
    EXPECT_EQ(a.uv.size(), 48u);
    ASSERT_EQ(a.parts.size(), 1u);
    EXPECT_EQ(a.parts[0].triangles.size(), 24u);
    EXPECT_EQ(a.parts[0].triangles[12].a, b.parts[0].triangles[0].a + 24);
    MeshData c;
    append(c, a);
    EXPECT_EQ(c.vertexCount(), 48);
    EXPECT_EQ(c.color.size(), 48u);
    EXPECT_TRUE(c.skin.empty());
}

// ---- mistakes in a generator stop it

TEST(SceneBuilderDeathTest, MismatchedTrackLengthsStopTheGenerator)
{
    SceneBuilder b;
    int parent = b.addNode("p", 0, Track(3, identity()));
    EXPECT_DEATH(b.addNode("c", parent, Track(2, identity())), "equally many keys");
}

TEST(SceneBuilderDeathTest, AMeshWithoutItsMaterialStopsTheGenerator)
{
    SceneBuilder b;
    EXPECT_DEATH(b.addMesh("m", box(1, 1, 1)), "material that was not added");
}

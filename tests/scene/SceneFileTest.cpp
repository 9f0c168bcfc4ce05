#include "render/scene_file.h"

#include "render/SuperBase.h"
#include "scene/SceneCompare.h"
#include "scene/SceneSamples.h"
#include "fixtures/TempDir.h"
#include "scene/FileBytes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

namespace {

using scenesamples::fullScene;
using scenesamples::translation;

std::vector<char> saved(const Engine2Scene& s, TempDir& dir)
{
    std::string path = dir.file("s.3dn");
    EXPECT_TRUE(scene_save(s, path.c_str()));
    return readBytes(path);
}

// Structure index of the root's index record of a kind, element i.
int structureOf(const SuperBase& sb, const char* kind, int i)
{
    std::vector<int32_t> index;
    sb.tget(0, kind, index);
    return index.at(size_t(i));
}

} // namespace

// ---- round trip and layout

TEST(SceneFileRoundTrip, EveryMemberComesBackButBinormalsTangentsAndTheSecondMultiplier)
{
    TempDir dir;
    Engine2Scene written = fullScene();
    std::string why;
    ASSERT_TRUE(scene_check(written, why)) << why;
    std::vector<char> bytes = saved(written, dir);

    Engine2Scene read;
    ASSERT_TRUE(scene_load(read, bytes, "s.3dn"));
    EXPECT_EQ(scenecompare::roundTripDifference(written, read), "");
    EXPECT_EQ(read.light[1].multiply2, read.light[1].multiply);
}

TEST(SceneFileRoundTrip, TangentsOnFileAreNotRead)
{
    TempDir dir;
    Engine2Scene s = fullScene();
    s.vertexbuffer[1].binormal = {{1, 0, 0}};
    s.vertexbuffer[1].tangent = {{0, 1, 0}};
    Engine2Scene read;
    ASSERT_TRUE(scene_load(read, saved(s, dir)));
    EXPECT_TRUE(read.vertexbuffer[1].binormal.empty());
    EXPECT_TRUE(read.vertexbuffer[1].tangent.empty());
}

TEST(SceneFileLayout, RootRecordsKindOrderAndHeader)
{
    TempDir dir;
    std::vector<char> bytes = saved(fullScene(), dir);
    ASSERT_GT(bytes.size(), 64u);
    EXPECT_EQ(std::string(bytes.data(), 37), "Vorlen file format, Jorek Balmun 2005");

    SuperBase sb;
    ASSERT_TRUE(sb.load_memory(bytes));
    const SuperBase::SuperStructure& root = sb.structure(0);
    std::vector<std::string> names;
    for (const auto& r : root.records)
        names.push_back(r.name.data());
    EXPECT_EQ(names, std::vector<std::string>({"units", "file_name", "Frames", "Fps", "comments", "file",
                                               "texture_map", "material", "vertexbuffer", "trianglebuffer", "mesh",
                                               "bone", "node", "camera", "light", "helper"}));
    EXPECT_EQ(std::string(sb.find(0, "units")->data.data()), "m");
    EXPECT_EQ(std::string(sb.find(0, "file_name")->data.data()), dir.file("s.3dn"));
    // Structures follow kind by kind: 2 files first (1, 2), the helpers last.
    EXPECT_EQ(structureOf(sb, "file", 0), 1);
    EXPECT_EQ(structureOf(sb, "texture_map", 0), 3);
    EXPECT_EQ(structureOf(sb, "helper", 1), sb.count() - 1);

    // A triangle buffer's lists and a light's two multipliers.
    int tbs = structureOf(sb, "trianglebuffer", 1);
    int32_t lists = 0;
    sb.tget(tbs, "triangle_ile", lists);
    EXPECT_EQ(lists, 2);
    EXPECT_EQ(sb.get_size(tbs, "triangle0"), 12);
    EXPECT_EQ(sb.get_size(tbs, "triangle1"), 24);
    int ls = structureOf(sb, "light", 1);
    int multiplies = 0;
    for (const auto& r : sb.structure(ls).records)
        multiplies += std::string(r.name.data()) == "multiply";
    EXPECT_EQ(multiplies, 2);
    EXPECT_EQ(sb.get_size(structureOf(sb, "material", 0), "texture_map"), 1536);
    EXPECT_EQ(sb.get_size(structureOf(sb, "material", 0), "maxmat"), 224);
}

namespace {

std::vector<std::string> recordNames(const SuperBase& sb, int structure)
{
    std::vector<std::string> names;
    for (const auto& r : sb.structure(structure).records)
        names.push_back(r.name.data());
    return names;
}

std::vector<std::string> numberedNames(std::vector<std::string> names, const std::vector<std::string>& stems,
                                       int count, const char* format)
{
    for (int i = 0; i < count; ++i)
        for (const std::string& stem : stems) {
            char name[64];
            std::snprintf(name, sizeof name, format, stem.c_str(), i);
            names.push_back(name);
        }
    return names;
}

} // namespace

TEST(SceneFileLayout, EveryKindWritesItsRecordsInTheWritersOrder)
{
    TempDir dir;
    SuperBase sb;
    ASSERT_TRUE(sb.load_memory(saved(fullScene(), dir)));
    auto names = [&](const char* kind) { return recordNames(sb, structureOf(sb, kind, 1)); };
    using Names = std::vector<std::string>;

    Names file = numberedNames({"file_name", "data"}, {"data6"}, 6, "%s[%d]");
    file.push_back("only_link");
    EXPECT_EQ(names("file"), file);
    EXPECT_EQ(names("texture_map"), (Names{"name", "amt", "blur", "bluroff", "chanel", "file", "umirror", "uoff",
                                           "uscl", "utille", "vmirror", "voff", "vscl", "vtille", "autogencube"}));
    EXPECT_EQ(names("material"), (Names{"name", "shader_file", "texture_map", "maxmat"}));
    EXPECT_EQ(names("vertexbuffer"),
              numberedNames({"xyz", "color", "normal", "binormal", "tangent", "illumination", "alpha"},
                            {"uvw", "weight", "bone"}, 16, "%s%d"));
    EXPECT_EQ(names("trianglebuffer"),
              (Names{"color", "vertexbuffer", "triangle_ile", "triangle0", "triangle1", "material"}));
    EXPECT_EQ(names("mesh"), (Names{"name", "node", "is_skined", "is_moving", "visibility", "matrix", "inv0_matrix",
                                    "trianglebuffer"}));
    EXPECT_EQ(names("bone"), (Names{"name", "node", "matrix", "inv0_matrix", "dimension", "anchor", "rotation",
                                    "center", "width", "height", "taper"}));
    EXPECT_EQ(names("node"),
              (Names{"name", "type", "xref_file_name", "user_text", "parent", "subnode", "layer_number", "is_xref",
                     "is_hide", "is_frozen", "is_renderable", "is_group", "mesh", "bone", "camera", "light",
                     "helper", "wire_color", "image_multiplier", "matrix", "inv0_matrix"}));
    EXPECT_EQ(names("camera"), (Names{"node", "matrix", "fov_deg", "near_clip", "far_clip"}));
    EXPECT_EQ(names("light"),
              (Names{"node", "is_omni", "is_direct", "is_spot", "type", "texture", "shadows", "on",
                     "decay_start_stop", "decay_inv", "decay_inv_sqrt", "aspect", "AtmosColAmt", "AtmosOpacity",
                     "Contrast", "DiffuseSoft", "spot_circle", "spot_rectangle", "affect_difuse", "affect_specular",
                     "affect_ambient", "LightAffectsShadow", "AtmosShadows", "ShadowType", "Overshoot",
                     "ConeDisplay", "angle_small", "angle_big", "near_atten_start", "near_atten_end",
                     "far_atten_start", "far_atten_end", "decay_start", "excluded", "color", "color_shadow",
                     "multiply", "multiply", "matrix"}));
    // Each text list: its count, then its texts (two node names, two strings, one of the others).
    EXPECT_EQ(names("helper"),
              (Names{"type", "p_node", "p_int", "p_float", "p_float3", "p_float4", "p_float3x3", "pn_node.size()",
                     "pn_node 0", "pn_node 1", "pn_int.size()", "pn_int 0", "pn_float.size()", "pn_float 0",
                     "pn_string.size()", "pn_string 0", "p_string.size()", "p_string 0", "p_string 1",
                     "pn_float3.size()", "pn_float3 0", "pn_float4.size()", "pn_float4 0", "pn_float3x3.size()",
                     "pn_float3x3 0"}));
}

TEST(SceneFileLayout, AKindWithoutElementsStillWritesAnEmptyIndex)
{
    TempDir dir;
    Engine2Scene s = fullScene();
    s.helper.clear();
    for (auto& n : s.node)
        n.helper = 0;
    SuperBase sb;
    ASSERT_TRUE(sb.load_memory(saved(s, dir)));
    ASSERT_NE(sb.find(0, "helper"), nullptr);
    EXPECT_EQ(sb.get_size(0, "helper"), 0);
}

TEST(SceneFileLayout, NumbersAreLittleEndianOnFile)
{
    TempDir dir;
    Engine2Scene s = fullScene();
    s.Fps = 25;
    SuperBase sb;
    ASSERT_TRUE(sb.load_memory(saved(s, dir)));
    const std::vector<char>& fps = sb.find(0, "Fps")->data;
    ASSERT_EQ(fps.size(), 4u);
    // 25.0f is 0x41C80000.
    EXPECT_EQ(std::vector<unsigned char>(fps.begin(), fps.end()), std::vector<unsigned char>({0, 0, 0xC8, 0x41}));
}

// ---- reading files written by other hands

namespace {

// A minimal loadable container: a root with the given index records and one node structure.
struct HandFile {
    SuperBase sb;
    int root;
    HandFile()
    {
        root = sb.add_structure();
        int node = sb.add_structure();
        float4x4 id = translation(0, 0, 0);
        sb.add_record(node, "matrix", &id, 64);
        int32_t idx = node;
        sb.add_record(root, "node", &idx, 4);
    }
    std::vector<char> bytes(TempDir& dir)
    {
        std::string path = dir.file("hand.3dn");
        EXPECT_TRUE(sb.save(path.c_str()));
        return readBytes(path);
    }
};

} // namespace

TEST(SceneFileReading, AbsentKindsAndEmptyIndexesGiveNoElements)
{
    TempDir dir;
    HandFile f;
    f.sb.add_record(f.root, "material", nullptr, 0);
    Engine2Scene s;
    ASSERT_TRUE(scene_load(s, f.bytes(dir)));
    EXPECT_EQ(s.node.size(), 1u);
    EXPECT_TRUE(s.material.empty());
    EXPECT_TRUE(s.helper.empty());
    EXPECT_EQ(s.Frames, 0.0f);
}

TEST(SceneFileReading, TriangleListsWithoutTheirRecordReadEmpty)
{
    TempDir dir;
    HandFile f;
    int vb = f.sb.add_structure();
    float xyz[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    f.sb.add_record(vb, "xyz", xyz, sizeof(xyz));
    int tb = f.sb.add_structure();
    int32_t two = 2, tri[3] = {0, 1, 2}, mats[2] = {0, 0};
    f.sb.add_record(tb, "triangle_ile", &two, 4);
    f.sb.add_record(tb, "triangle0", tri, 12);
    f.sb.add_record(tb, "material", mats, 8);
    int mat = f.sb.add_structure();
    f.sb.add_record(mat, "name", "m", 2);
    f.sb.add_record(f.root, "vertexbuffer", &vb, 4);
    f.sb.add_record(f.root, "trianglebuffer", &tb, 4);
    f.sb.add_record(f.root, "material", &mat, 4);
    // A second triangle buffer without "triangle_ile" has no lists.
    int tb2 = f.sb.add_structure();
    f.sb.set_record(f.root, "trianglebuffer", std::vector<int32_t>({tb, tb2}).data(), 8);

    Engine2Scene s;
    ASSERT_TRUE(scene_load(s, f.bytes(dir)));
    ASSERT_EQ(s.trianglebuffer.size(), 2u);
    ASSERT_EQ(s.trianglebuffer[0].triangle.size(), 2u);
    EXPECT_EQ(s.trianglebuffer[0].triangle[0].size(), 1u);
    EXPECT_TRUE(s.trianglebuffer[0].triangle[1].empty());
    EXPECT_TRUE(s.trianglebuffer[1].triangle.empty());
}

TEST(SceneFileReading, BothMultipliersReadTheFirstRecord)
{
    TempDir dir;
    HandFile f;
    int light = f.sb.add_structure();
    float a[2] = {2, 3}, b[1] = {9};
    f.sb.add_record(light, "multiply", a, 8);
    f.sb.add_record(light, "multiply", b, 4);
    f.sb.add_record(f.root, "light", &light, 4);
    Engine2Scene s;
    ASSERT_TRUE(scene_load(s, f.bytes(dir)));
    ASSERT_EQ(s.light.size(), 1u);
    EXPECT_EQ(s.light[0].multiply, std::vector<float>({2, 3}));
    EXPECT_EQ(s.light[0].multiply2, std::vector<float>({2, 3}));
}

TEST(SceneFileReading, AnAbsentTextIsEmptyNotTheTextReadBefore)
{
    TempDir dir;
    HandFile f;
    int m1 = f.sb.add_structure(), m2 = f.sb.add_structure();
    f.sb.add_record(m1, "name", "first", 6);
    f.sb.add_record(m2, "shader_file", &m1, 4);
    int32_t idx[2] = {m1, m2};
    f.sb.add_record(f.root, "material", idx, 8);
    Engine2Scene s;
    ASSERT_TRUE(scene_load(s, f.bytes(dir)));
    ASSERT_EQ(s.material.size(), 2u);
    EXPECT_EQ(s.material[0].name, "first");
    EXPECT_EQ(s.material[1].name, "");
}

TEST(SceneFileReading, OversizedFixedRecordsFillOnlyTheirMember)
{
    TempDir dir;
    HandFile f;
    int mat = f.sb.add_structure();
    std::vector<int32_t> block(500, 5);
    f.sb.add_record(mat, "texture_map", block.data(), int(block.size() * 4));
    std::vector<int32_t> many(10, 0);
    f.sb.add_record(mat, "shader_file", many.data(), 40);
    f.sb.add_record(f.root, "material", &mat, 4);
    // Slot references of 5 need texture maps 0..5.
    std::vector<int32_t> maps;
    for (int i = 0; i < 6; ++i) {
        int t = f.sb.add_structure();
        maps.push_back(t);
    }
    f.sb.add_record(f.root, "texture_map", maps.data(), int(maps.size() * 4));
    int file = f.sb.add_structure();
    f.sb.add_record(f.root, "file", &file, 4);
    Engine2Scene s;
    ASSERT_TRUE(scene_load(s, f.bytes(dir)));
    EXPECT_EQ(s.material[0].texture_map[383], 5);
    EXPECT_EQ(s.material[0].shader_file, 0);
}

// ---- damaged files are refused with a warning naming them

TEST(SceneFileDamage, AnIndexOutsideTheContainerIsRefusedAndNamed)
{
    TempDir dir;
    HandFile f;
    int32_t far = 99;
    f.sb.add_record(f.root, "mesh", &far, 4);
    Engine2Scene s;
    s.comments = "stale";
    testing::internal::CaptureStderr();
    EXPECT_FALSE(scene_load(s, f.bytes(dir), "data/3dn/broken.3dn"));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Warning: damaged scene file data/3dn/broken.3dn"), std::string::npos) << err;
    EXPECT_TRUE(s.node.empty());
    EXPECT_EQ(s.comments, "");
}

TEST(SceneFileDamage, AnEmptyOrForeignFileIsRefused)
{
    Engine2Scene s;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(scene_load(s, {}, "empty.3dn"));
    EXPECT_FALSE(scene_load(s, std::vector<char>(100, 'x'), "text.3dn"));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("empty.3dn"), std::string::npos);
    EXPECT_NE(err.find("text.3dn"), std::string::npos);
}

TEST(SceneFileDamage, AHugeListCountIsRefused)
{
    TempDir dir;
    HandFile f;
    int tb = f.sb.add_structure();
    int32_t huge = 2000000000;
    f.sb.add_record(tb, "triangle_ile", &huge, 4);
    f.sb.add_record(f.root, "trianglebuffer", &tb, 4);
    Engine2Scene s;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(scene_load(s, f.bytes(dir), "t.3dn"));
    testing::internal::GetCapturedStderr();
}

// ---- links a loader follows

struct BrokenLink {
    const char* what;
    void (*breakIt)(Engine2Scene&);
};

class SceneCheckLinks : public testing::TestWithParam<BrokenLink> {};

TEST_P(SceneCheckLinks, IsRefused)
{
    Engine2Scene s = fullScene();
    std::string why;
    ASSERT_TRUE(scene_check(s, why)) << why;
    GetParam().breakIt(s);
    EXPECT_FALSE(scene_check(s, why)) << GetParam().what;
    EXPECT_FALSE(why.empty());
}

const BrokenLink kBrokenLinks[] = {
    {"no nodes", [](Engine2Scene& s) { s.node.clear(); }},
    {"parent out of range", [](Engine2Scene& s) { s.node[2].parent = 60; }},
    {"negative mesh link", [](Engine2Scene& s) { s.node[1].mesh = -1; }},
    {"mesh link past the end", [](Engine2Scene& s) { s.node[1].mesh = 2; }},
    {"light link past the end", [](Engine2Scene& s) { s.node[4].light = 5; }},
    {"child listed twice", [](Engine2Scene& s) { s.node[1].subnode.push_back(2); }},
    {"child of another parent", [](Engine2Scene& s) { s.node[3].parent = 2; }},
    {"node missing from its parent's list", [](Engine2Scene& s) { s.node[1].subnode = {2}; }},
    {"cycle off the tree",
     [](Engine2Scene& s) {
         s.node[4].parent = 5, s.node[5].parent = 4;
         s.node[4].subnode = {5}, s.node[5].subnode = {4};
     }},
    {"node without matrix keys", [](Engine2Scene& s) { s.node[5].matrix.clear(); }},
    {"linked track replaces a good one",
     [](Engine2Scene& s) { s.camera[1].matrix.clear(); }},
    {"child and parent track lengths differ",
     [](Engine2Scene& s) { s.camera[1].matrix.resize(2); }},
    {"negative layer", [](Engine2Scene& s) { s.node[1].layer_number = -1; }},
    {"triangle buffer out of range", [](Engine2Scene& s) { s.mesh[1].trianglebuffer = 7; }},
    {"vertex buffer out of range", [](Engine2Scene& s) { s.trianglebuffer[1].vertexbuffer = 2; }},
    {"triangle index outside the vertices", [](Engine2Scene& s) { s.trianglebuffer[1].triangle[1][0].c = 4; }},
    {"negative triangle index", [](Engine2Scene& s) { s.trianglebuffer[1].triangle[0][0].a = -1; }},
    {"list without material", [](Engine2Scene& s) { s.trianglebuffer[1].material = {0}; }},
    {"material out of range", [](Engine2Scene& s) { s.trianglebuffer[1].material[1] = 2; }},
    {"vertex bone out of range", [](Engine2Scene& s) { s.vertexbuffer[1].bone[3][0] = 2; }},
    {"vertex bones without bones",
     [](Engine2Scene& s) {
         s.bone.clear();
         s.node[2].bone = 0;
     }},
    {"bone node out of range", [](Engine2Scene& s) { s.bone[1].node = 6; }},
    {"slot names a missing texture map", [](Engine2Scene& s) { s.material[0].slot(15) = 2; }},
    {"texture map names a missing file", [](Engine2Scene& s) { s.texture_map[1].file = 2; }},
    {"camera node out of range", [](Engine2Scene& s) { s.camera[0].node = -3; }},
    {"decaying light without distances", [](Engine2Scene& s) { s.light[1].far_atten_end.clear(); }},
    {"shadow spot without angle", [](Engine2Scene& s) { s.light[1].angle_big.clear(); }},
    {"frame count not finite", [](Engine2Scene& s) { s.Frames = NAN; }},
    {"frame rate not finite", [](Engine2Scene& s) { s.Fps = INFINITY; }},
    {"negative frame count", [](Engine2Scene& s) { s.Frames = -1; }},
};

INSTANTIATE_TEST_SUITE_P(Scene, SceneCheckLinks, testing::ValuesIn(kBrokenLinks));

TEST(SceneFileDamage, AScenesBrokenLinkIsRefusedOnLoad)
{
    TempDir dir;
    Engine2Scene s = fullScene();
    s.trianglebuffer[1].material[0] = 9;
    std::vector<char> bytes = saved(s, dir);
    Engine2Scene read;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(scene_load(read, bytes, "links.3dn"));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("links.3dn: triangle buffer 1 uses material 9"), std::string::npos) << err;
}

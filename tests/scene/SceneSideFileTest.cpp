// The side file of a scene: node layers by name or name prefix, swapped material slots and
// the two whole-scene options.

#include "render/scene_side_file.h"

#include <gtest/gtest.h>

#include <tinyxml.h>

namespace {

Engine2Scene sceneWith(const std::vector<std::string>& nodes, const std::vector<std::string>& materials)
{
    Engine2Scene s;
    for (const std::string& n : nodes) {
        Engine2Scene::Node node;
        node.name = n;
        node.layer_number = 1;
        s.node.push_back(node);
    }
    for (const std::string& m : materials) {
        Engine2Scene::Material mat;
        mat.name = m;
        for (int slot = 0; slot < 16; ++slot)
            mat.slot(slot) = 100 + slot;
        s.material.push_back(mat);
    }
    return s;
}

int apply(Engine2Scene& scene, const char* xml)
{
    TiXmlDocument doc;
    doc.Parse(xml);
    return apply_xml_options(scene, doc.FirstChildElement());
}

TEST(SceneSideFile, NamesMatchExactlyOrByAPrefixInAnyCase)
{
    Engine2Scene s = sceneWith({"", "Fence01", "fence02", "FENCE", "Fen", "Fence*", "gate", "Gate"}, {});
    EXPECT_EQ(apply(s, "<scene><node name='fence*' layer='4'/><node name='gate' layer='x7'/></scene>"), 0);
    EXPECT_EQ(s.node[1].layer_number, 4);
    EXPECT_EQ(s.node[2].layer_number, 4);
    EXPECT_EQ(s.node[3].layer_number, 4);
    EXPECT_EQ(s.node[4].layer_number, 1);  // shorter than the prefix
    EXPECT_EQ(s.node[5].layer_number, 4);
    EXPECT_EQ(s.node[6].layer_number, 0);  // not a number: atoi gives 0
    EXPECT_EQ(s.node[7].layer_number, 1);  // without '*' the case counts

    // Without a layer, or without a name, nothing changes.
    EXPECT_EQ(apply(s, "<scene><node name='Gate'/><node layer='9'/></scene>"), 0);
    EXPECT_EQ(s.node[7].layer_number, 1);
    EXPECT_EQ(s.node[0].layer_number, 1);
}

TEST(SceneSideFile, MaterialSlotsSwapOnlyWithinTheKeptSlots)
{
    Engine2Scene s = sceneWith({}, {"Grass", "grass2", "Wall"});
    apply(s, "<x><material name='Grass*' a='1' b='5'/><material name='Wall' a='3' b='16'/>"
             "<material name='Wall' a='-1' b='2'/><material name='Wall' a='2'/></x>");
    EXPECT_EQ(s.material[0].slot(1), 105);
    EXPECT_EQ(s.material[0].slot(5), 101);
    EXPECT_EQ(s.material[1].slot(1), 105);
    for (int slot = 0; slot < 16; ++slot)
        EXPECT_EQ(s.material[2].slot(slot), 100 + slot);
}

TEST(SceneSideFile, OptionsMoveSelfIlluminationFirstThenNumberTheLayers)
{
    Engine2Scene s = sceneWith({"root", "a", "b"}, {"lit", "plain"});
    s.material[1].slot(5) = 0;
    ::testing::internal::CaptureStdout();
    apply(s, "<s><node name='a' layer='9'/><options><spread-layers/><no-selfillum/></options>"
             "<node name='b' layer='7'/></s>");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "root: set to layer 0\na: set to layer 1\nb: set to layer 2\n");
    EXPECT_EQ(s.node[1].layer_number, 1);  // the later options win
    EXPECT_EQ(s.node[2].layer_number, 7);  // and a later node element over them
    EXPECT_EQ(s.material[0].slot(1), 105);
    EXPECT_EQ(s.material[0].slot(5), 0);
    EXPECT_EQ(s.material[1].slot(1), 101);  // no self-illumination map: unchanged
}

TEST(SceneSideFile, AnEmptyOrMissingDocumentChangesNothing)
{
    Engine2Scene s = sceneWith({"root", "a"}, {"m"});
    EXPECT_EQ(apply(s, "<scene/>"), 0);
    EXPECT_EQ(apply(s, "not xml at all <"), 0);
    EXPECT_EQ(apply_xml_options(s, nullptr), 0);
    EXPECT_EQ(s.node[1].layer_number, 1);
    EXPECT_EQ(s.material[0].slot(1), 101);
}

} // namespace

// The generated scenes of the visitors and cars against "data/game/public.txt": every path,
// parking place, figure layer, car model and animation the file names is there, and the paths
// keep to the park's ways, from outside the gate back out.

#include "ParkTestSupport.h"

#include "park/PublicManager.h"
#include "render/object.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <set>

namespace {

const std::string kData = std::string(PETPARK_APP_DIR) + "/Resources/";

class VisitorScenes : public testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::path old = std::filesystem::current_path();
        std::filesystem::current_path(kData);
        manager = Singleton<PublicManager>::get();
        testing::internal::CaptureStdout();
        LoadPublicConfig(*manager);
        std::string out = testing::internal::GetCapturedStdout();
        std::filesystem::current_path(old);
        EXPECT_EQ(out.find("Warning: data/game/public.txt"), std::string::npos) << out;
    }

    std::unique_ptr<CRender::Object> scene(const std::string& name)
    {
        auto object = std::make_unique<CRender::Object>();
        testing::internal::CaptureStdout();
        bool loaded = object->load(kData + "data/3dn/" + name);
        testing::internal::GetCapturedStdout();
        EXPECT_TRUE(loaded) << name;
        return object;
    }

    // The layers the scene's nodes are on.
    static std::set<int> layers(CRender::Object& object)
    {
        std::set<int> out;
        for (int i = 0; i < object.find_node(nullptr); ++i) {
            CRender::Object::NodeInfo info;
            if (object.get_node_info(i, &info) && (info.flags & 1))
                out.insert(info.layer);
        }
        return out;
    }

    static float3 at(CRender::Object& object, int node, float t)
    {
        float4x3 m;
        object.get_node_matrix(node, t, &m);
        return float3(m.m[0][3], m.m[1][3], m.m[2][3]);
    }

    PublicManager* manager = nullptr;
};

// Whether a point stands on an animal's or a building's plot (rows at y +-13 and +-31, columns
// at x +-13.5, +-30.5, +-47.5, 14 x 14).
bool onAPlot(float3 p)
{
    for (float y : {-31.0f, -13.0f, 13.0f, 31.0f})
        for (float x : {-47.5f, -30.5f, -13.5f, 13.5f, 30.5f, 47.5f})
            if (std::fabs(p.x - x) < 6.8f && std::fabs(p.y - y) < 6.8f)
                return true;
    return false;
}

TEST_F(VisitorScenes, EveryPathWalksFromOutsideTheGateAlongTheWaysAndBackOut)
{
    auto paths = scene("Public_Helpers.3dn");
    ASSERT_FALSE(manager->mWalkingHelpers.empty());
    for (const auto& path : manager->mWalkingHelpers) {
        int node = paths->find_node(path.first.c_str());
        ASSERT_GE(node, 0) << path.first;
        EXPECT_GE(paths->get_frame_count(), path.second) << path.first;
        // The track loops: its last frame is the first again, so the walk ends just before it.
        float end = float(path.second) - 0.01f;
        float3 first = at(*paths, node, 0), last = at(*paths, node, end);
        EXPECT_LT(first.y, -42.0f) << path.first;
        EXPECT_LT(last.y, -42.0f) << path.first;
        float deepest = first.y;
        float3 previous = first;
        for (float t = 0.5f; t <= end + 0.5f; t += 0.5f) {
            float3 p = at(*paths, node, std::min(t, end));
            ASSERT_FALSE(onAPlot(p)) << path.first << " at frame " << t << ": " << p.x << ", " << p.y;
            ASSERT_LT(std::fabs(p.x), 56.0f) << path.first;
            ASSERT_LT(p.y, 40.0f) << path.first;
            // Through the gate, not the fence.
            if ((previous.y < -42.0f) != (p.y < -42.0f)) {
                EXPECT_LT(std::fabs(p.x), 4.0f) << path.first;
            }
            // A stroll: no jumps.
            float step = std::hypot(p.x - previous.x, p.y - previous.y);
            ASSERT_LT(step, 0.5f) << path.first << " at frame " << t;
            EXPECT_NEAR(p.z, 0.0f, 1e-3f);
            deepest = std::max(deepest, p.y);
            previous = p;
        }
        EXPECT_GT(deepest, -2.0f) << path.first << " never reaches the east-west avenue";
    }
}

TEST_F(VisitorScenes, EveryParkingPlaceHasItsNode)
{
    auto places = scene("Cars_Helpers.3dn");
    ASSERT_EQ(manager->mParkingPlaces.size(), 3u);
    std::set<std::pair<int, int>> spots;
    for (const std::vector<int>& area : manager->mParkingPlaces)
        for (int place : area) {
            int node = places->find_node((manager->mCarHelperName + std::to_string(place)).c_str());
            ASSERT_GE(node, 0) << place;
            // Outside the fence, and no two places on one spot.
            float3 p = at(*places, node, 0);
            EXPECT_LT(p.y, -44.0f) << place;
            spots.insert({int(std::lround(p.x * 2)), int(std::lround(p.y * 2))});
        }
    EXPECT_EQ(spots.size(), manager->mParkingPlaces.back().size());
}

TEST_F(VisitorScenes, EveryAvatarHasAFigureAndEveryCarModelABody)
{
    auto characters = scene("ZEB_Character_animations.3dn");
    std::set<int> figureLayers = layers(*characters);
    for (auto* list : {&manager->mFemaleAvatars, &manager->mMaleAvatars})
        for (PublicAvatar* avatar : *list)
            EXPECT_TRUE(figureLayers.count(avatar->mPart)) << avatar->mFile;
    for (const auto& entry : peopleAnimations)
        EXPECT_LE(entry.second.mEnd, characters->get_frame_count()) << wideToString(entry.first);
    for (const wchar_t* name : {L"chodzenie", L"chodzenie i rozgladanie sie", L"siedzenie idle"})
        EXPECT_TRUE(peopleAnimations.count(name)) << wideToString(name);

    auto cars = scene("Cars.3dn");
    std::set<int> carLayers = layers(*cars);
    for (int layer = 0; layer <= 9; ++layer)
        EXPECT_TRUE(carLayers.count(layer)) << layer;
}

} // namespace

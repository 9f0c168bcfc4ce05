// The scenes the scene tool writes into the application folder: each one reads back and loads
// as an object without duplicate node names, and holds what the shipped game data relies on:
// the species figures' layers, animation frames and coats; the animals' places in their
// enclosures; the park's layers, the buildings' helpers and slide shows; the effects and lights.

#include "fixtures/HeadlessEngine.h"
#include "game/DataBuilding.h"
#include "game/DataStorage.h"
#include "game/GlobalSettings.h"
#include "game/KeyFile.h"
#include "park/SlideCamera.h"
#include "render/object.h"
#include "render/scene_file.h"
#include "scene/FileBytes.h"
#include "toolkit/utils/misc.h"
#include "source_menu/ScreenParkEvents.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <set>

namespace {

std::string sceneDir()
{
    return std::string(PETPARK_APP_DIR) + "/Resources/data/3dn/";
}

Engine2Scene readScene(const std::string& name)
{
    Engine2Scene scene;
    std::string path = sceneDir() + name;
    std::vector<char> bytes = readBytes(path);
    EXPECT_FALSE(bytes.empty()) << path;
    EXPECT_TRUE(scene_load(scene, bytes, path.c_str())) << path;
    std::string why;
    EXPECT_TRUE(scene_check(scene, why)) << path << ": " << why;
    return scene;
}

// The node tracks a scene holds (the loader takes the linked element's).
const std::vector<float4x4>& track(const Engine2Scene& s, const Engine2Scene::Node& n)
{
    if (n.mesh)
        return s.mesh[size_t(n.mesh)].matrix;
    if (n.bone)
        return s.bone[size_t(n.bone)].matrix;
    if (n.camera)
        return s.camera[size_t(n.camera)].matrix;
    if (n.light)
        return s.light[size_t(n.light)].matrix;
    return n.matrix;
}

int triangleCount(const Engine2Scene& s, const Engine2Scene::Mesh& m)
{
    int n = 0;
    for (const auto& list : s.trianglebuffer[size_t(m.trianglebuffer)].triangle)
        n += int(list.size());
    return n;
}

bool isPng(const std::string& path)
{
    std::vector<char> bytes = readBytes(path);
    return bytes.size() > 8 && bytes[1] == 'P' && bytes[2] == 'N' && bytes[3] == 'G';
}

// The shipped game data, read once from the source folder, with an engine for its pictures
// and for loading scenes as objects.
class GeneratedScenes : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        engine = new HeadlessEngine();
        installParkEvents(Singleton<ScreenParkEvents>::get());
        std::filesystem::path old = std::filesystem::current_path();
        std::filesystem::current_path(PETPARK_SOURCE_DIR);
        std::srand(3);
        testing::internal::CaptureStdout();
        storage = Singleton<DataStorage>::get();
        loadGameData(storage, "data/game/");
        testing::internal::GetCapturedStdout();
        std::filesystem::current_path(old);
    }
    // The engine stays: the data's picture requests keep pointing at it.

    static DataStorage* storage;
    static HeadlessEngine* engine;
};

DataStorage* GeneratedScenes::storage = nullptr;
HeadlessEngine* GeneratedScenes::engine = nullptr;

// Loads a scene as the game does, into an object of the current (headless) engine; the
// loader reports duplicate node names on its output.
class LoadedObject {
public:
    explicit LoadedObject(const std::string& name)
    {
        testing::internal::CaptureStdout();
        object.load((sceneDir() + name).c_str());
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_TRUE(object.is_loaded()) << name;
        EXPECT_EQ(out.find("DUPLICATE"), std::string::npos) << name << ": " << out;
    }
    ~LoadedObject() { object.unload(); }

    float3 position(int node, float t)
    {
        float4x3 m;
        object.get_node_matrix(node, t, &m);
        return float3(m.m[0][3], m.m[1][3], m.m[2][3]);
    }

    Object object;
};

// The first value line of each entry of a key in a data file.
std::vector<std::wstring> keyValues(const std::string& path, const wchar_t* key)
{
    std::vector<std::wstring> values;
    KeyFileReader r(path);
    for (; r.more(); r.advance())
        if (r.key(key))
            values.push_back(r.value());
    return values;
}

// The ground area (x0, y0, x1, y1) the park scene's meshes on a layer cover.
float4 layerArea(const Engine2Scene& s, int layer)
{
    float4 area(1e9f, 1e9f, -1e9f, -1e9f);
    for (const Engine2Scene::Node& n : s.node) {
        if (!n.mesh || n.layer_number != layer)
            continue;
        const Engine2Scene::Mesh& mesh = s.mesh[size_t(n.mesh)];
        const float4x4& m = mesh.matrix.at(0);
        const Engine2Scene::TriangleBuffer& tb = s.trianglebuffer[size_t(mesh.trianglebuffer)];
        for (const float3& v : s.vertexbuffer[size_t(tb.vertexbuffer)].xyz) {
            float x = v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0] + m.m[3][0];
            float y = v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1] + m.m[3][1];
            area = float4(std::min(area.x, x), std::min(area.y, y), std::max(area.z, x), std::max(area.w, y));
        }
    }
    return area;
}

DataBuilding* buildingOfLevel(DataStorage* storage, const std::wstring& species, int level)
{
    for (DataBuilding* b : storage->mBuildingDefinitions)
        if (b->mType == species && b->mLevelNum == level)
            return b;
    return nullptr;
}

// ---- the species figures

TEST_F(GeneratedScenes, EachSpeciesFigureHoldsTheLayersFramesAndCoatsTheDataNames)
{
    ASSERT_EQ(storage->mAnimalObjects.size(), 5u);
    for (auto& entry : storage->mAnimalObjects) {
        std::wstring species = toLowerWide(entry.first);
        ASSERT_EQ(entry.second.size(), 1u);
        std::string file = wideToString(entry.second[0]);
        SCOPED_TRACE(file);
        Engine2Scene s = readScene(file);

        // Every animation of the species lies on the timeline, and every track plays it.
        int frames = int(s.Frames);
        ASSERT_FALSE(storage->mAnimations[species].empty());
        for (auto& a : storage->mAnimations[species]) {
            EXPECT_LE(a.second.mStart, a.second.mEnd);
            EXPECT_LT(a.second.mEnd, frames) << wideToString(a.first);
        }
        EXPECT_GT(s.Fps, 0);
        for (const Engine2Scene::Node& n : s.node) {
            size_t keys = track(s, n).size();
            EXPECT_TRUE(keys == 1 || keys == size_t(frames) + 1) << n.name << " " << keys;
        }

        // Layers: the unwell and hungry markers on 2 and 3, and a mesh for every layer a
        // coat switches on; the body on 4 is skinned to bones.
        std::set<int> meshLayers;
        int triangles = 0;
        for (const Engine2Scene::Node& n : s.node)
            if (n.mesh) {
                meshLayers.insert(n.layer_number);
                triangles += triangleCount(s, s.mesh[size_t(n.mesh)]);
            }
        EXPECT_TRUE(meshLayers.count(2));
        EXPECT_TRUE(meshLayers.count(3));
        ASSERT_EQ(storage->mSkins[species].size(), 3u);
        for (auto& skin : storage->mSkins[species]) {
            for (size_t layer = 0; layer < skin.second.size(); ++layer) {
                if (skin.second[layer] == L'1') {
                    EXPECT_TRUE(meshLayers.count(int(layer))) << "layer " << layer;
                }
            }
        }
        EXPECT_LT(triangles, 1500);
        EXPECT_GT(s.bone.size(), 10u);
        bool skinnedBody = false;
        for (const Engine2Scene::Node& n : s.node) {
            if (n.mesh && n.layer_number == 4 && s.mesh[size_t(n.mesh)].is_skined)
                skinnedBody = true;
        }
        EXPECT_TRUE(skinnedBody);

        // The coat: material "Pingwin" with a diffuse map, and every coat picture beside it.
        bool coated = false;
        for (const Engine2Scene::Material& m : s.material)
            if (m.name == "Pingwin" && m.slot(1)) {
                const Engine2Scene::TextureMap& map = s.texture_map[size_t(m.slot(1))];
                std::string name = s.file[size_t(map.file)].file_name;
                ASSERT_EQ(name[0], '!');
                EXPECT_TRUE(isPng(sceneDir() + name.substr(1))) << name;
                coated = true;
            }
        EXPECT_TRUE(coated);
        for (const std::string& coat : storage->mSkinFiles[species])
            EXPECT_TRUE(isPng(sceneDir() + "tex/" + coat)) << coat;
    }
}

TEST_F(GeneratedScenes, AFigureStandsOnTheGroundAndWalksOnTheSpot)
{
    for (auto& entry : storage->mAnimalObjects) {
        std::wstring species = toLowerWide(entry.first);
        std::string file = wideToString(entry.second[0]);
        SCOPED_TRACE(file);
        LoadedObject loaded(file);
        Object& o = loaded.object;
        ASSERT_TRUE(o.is_loaded());
        EXPECT_GE(o.layer_count, 7);

        // At rest the feet touch the ground: the lowest vertex of the body is at height 0.
        Engine2Scene s = readScene(file);
        float lowest = 1e9f;
        for (const Engine2Scene::Node& n : s.node)
            if (n.mesh && n.layer_number == 4) {
                const Engine2Scene::TriangleBuffer& tb = s.trianglebuffer[size_t(s.mesh[size_t(n.mesh)].trianglebuffer)];
                for (const float3& v : s.vertexbuffer[size_t(tb.vertexbuffer)].xyz)
                    lowest = std::min(lowest, v.z);
            }
        EXPECT_NEAR(lowest, 0, 0.01f);

        // Walking (or hopping), the figure keeps its place (the place node moves it): the root
        // bone stays within a few centimetres of the origin on the ground plane.
        int root = o.find_node("root");
        ASSERT_GE(root, 0);
        const Animation& walk = storage->mAnimations[species][L"chodzenie"];
        for (int f = walk.mStart; f <= walk.mEnd; ++f) {
            float4x3 m;
            o.get_node_matrix(root, float(f), &m);
            EXPECT_LT(std::fabs(m.m[0][3]), 0.08f) << f;
            EXPECT_LT(std::fabs(m.m[1][3]), 0.08f) << f;
        }
    }
}

// ---- the animals' places

TEST_F(GeneratedScenes, EachAnimalPlaceWalksALoopInTheEnclosureOfItsLevelFacingTheWay)
{
    std::vector<std::wstring> helpersScene = keyValues(std::string(PETPARK_SOURCE_DIR) + "/data/game/animals.txt",
                                                       L"[animals helpers]");
    ASSERT_EQ(helpersScene.size(), 1u);
    LoadedObject places(wideToString(helpersScene[0]));
    Engine2Scene park = readScene("main3D.3dn");
    ASSERT_EQ(storage->mAnimalHelpers.size(), 5u);
    for (auto& species : storage->mAnimalHelpers) {
        ASSERT_EQ(species.second.size(), 3u);
        for (size_t n = 0; n < species.second.size(); ++n) {
            std::string name = wideToString(species.second[n].mNode);
            SCOPED_TRACE(name);
            int node = places.object.find_node(name.c_str());
            ASSERT_GE(node, 0);
            // Inside the enclosure of the species' building of level n + 1: the ground its
            // layer covers in the park, less a metre for the fence.
            DataBuilding* home = buildingOfLevel(storage, species.first, int(n) + 1);
            ASSERT_NE(home, nullptr);
            ASSERT_FALSE(home->mLayersShow.empty());
            float4 area = layerArea(park, home->mLayersShow[0]);
            ASSERT_LT(area.x, area.z);
            const Object::Node& track = places.object.nodes[size_t(node)];
            int frames = int(track.frame_index.size()) - 1;
            ASSERT_GT(frames, 100);
            float3 first = places.position(node, 0);
            for (int f = 0; f < frames; f += 7) {
                float3 p = places.position(node, float(f));
                float3 q = places.position(node, float(f) + 2);
                EXPECT_NEAR(p.z, 0, 1e-3f);
                EXPECT_GT(p.x, area.x + 1) << f;
                EXPECT_GT(p.y, area.y + 1) << f;
                EXPECT_LT(p.x, area.z - 1) << f;
                EXPECT_LT(p.y, area.w - 1) << f;
                // It keeps moving, facing the way it goes (its x axis).
                float4x3 m;
                places.object.get_node_matrix(node, float(f), &m);
                float dx = q.x - p.x, dy = q.y - p.y, len = std::sqrt(dx * dx + dy * dy);
                ASSERT_GT(len, 0.01f) << f;
                EXPECT_GT((m.m[0][0] * dx + m.m[1][0] * dy) / len, 0.9f) << f;
            }
            // The loop closes: the last frame stands where the first did.
            float3 last = places.position(node, float(frames));
            EXPECT_NEAR(last.x, first.x, 1e-3f);
            EXPECT_NEAR(last.y, first.y, 1e-3f);
        }
    }
}

// ---- the park

TEST_F(GeneratedScenes, TheParkHoldsEveryLayerTheRulesAndBuildingsSwitch)
{
    Engine2Scene s = readScene("main3D.3dn");
    std::set<int> layers;
    int triangles = 0;
    for (const Engine2Scene::Node& n : s.node) {
        if (n.mesh) {
            layers.insert(n.layer_number);
            triangles += triangleCount(s, s.mesh[size_t(n.mesh)]);
        }
        size_t keys = track(s, n).size();
        EXPECT_TRUE(keys == 1 || keys == size_t(s.Frames) + 1) << n.name;
    }
    EXPECT_LT(triangles, 30000);
    const GlobalSettings* settings = storage->mGlobalSettings;
    for (int layer : settings->mStartingLayers)
        EXPECT_TRUE(layers.count(layer)) << "starting layer " << layer;
    for (const auto& rule : settings->mLayerRules) {
        EXPECT_TRUE(layers.count(std::abs(rule.first))) << "rule layer " << rule.first;
        for (int condition : rule.second)
            EXPECT_TRUE(layers.count(condition)) << "condition layer " << condition;
    }
    ASSERT_EQ(storage->mBuildingDefinitions.size(), 24u);
    for (DataBuilding* b : storage->mBuildingDefinitions) {
        ASSERT_FALSE(b->mLayersShow.empty()) << b->mPath;
        for (int layer : b->mLayersShow) {
            EXPECT_TRUE(layers.count(layer)) << b->mPath;
            EXPECT_TRUE(layers.count(layer + 100)) << b->mPath << " has no empty plot";
        }
    }
    LoadedObject park("main3D.3dn");
    EXPECT_GE(park.object.layer_count, 170);
    LoadedObject effects("mBackground3DFX.3dn");
    EXPECT_GT(effects.object.frame_count, 0);
}

TEST_F(GeneratedScenes, EveryBuildingHasItsHelperAndEverySlideShowItsMarkerAndFlight)
{
    LoadedObject helpers("Buildings_Helpers.3dn");
    LoadedObject slides("Slide_cameras.3dn");
    int shows = 0;
    for (DataBuilding* b : storage->mBuildingDefinitions) {
        SCOPED_TRACE(b->mPath);
        ASSERT_FALSE(b->mCameraTarget.empty());
        int helper = helpers.object.find_node(wideToString(b->mCameraTarget).c_str());
        ASSERT_GE(helper, 0);
        float3 at = helpers.position(helper, 0);
        EXPECT_LT(std::fabs(at.x), 60);
        EXPECT_LT(std::fabs(at.y), 62);
        for (SlideCamera* slide : b->mSlideCameras) {
            ++shows;
            EXPECT_GE(slides.object.find_node(wideToString(slide->mNodeName).c_str()), 0);
            std::string camera = wideToString(slide->mCameraName);
            int node = slides.object.find_node(camera.c_str());
            ASSERT_GE(node, 0) << camera;
            EXPECT_NE(slides.object.nodes[size_t(node)].camera, 0) << camera;
            // The flight ends where the show stops its clock (a step past its frames) without
            // wrapping back to its start: the track runs beyond, holding the last view.
            size_t keys = slides.object.nodes[size_t(node)].frame_index.size();
            EXPECT_GT(keys, size_t(slide->mFrames) + 2) << camera;
            float4x4 end, after, start;
            float fov;
            ASSERT_TRUE(slides.object.get_camera(float(slide->mFrames), camera.c_str(), &end, &fov));
            ASSERT_TRUE(slides.object.get_camera(float(slide->mFrames) + 0.5f, camera.c_str(), &after, &fov));
            ASSERT_TRUE(slides.object.get_camera(0, camera.c_str(), &start, &fov));
            float moved = 0, flown = 0;
            for (int r = 0; r < 4; ++r)
                for (int c = 0; c < 4; ++c) {
                    moved += std::fabs(end.m[r][c] - after.m[r][c]);
                    flown += std::fabs(end.m[r][c] - start.m[r][c]);
                }
            EXPECT_LT(moved, 1e-3f) << camera;
            EXPECT_GT(flown, 1.0f) << camera;
        }
    }
    EXPECT_EQ(shows, 3);
}

// ---- the trick show

TEST_F(GeneratedScenes, TheTrickShowHasACameraAndAPlaceForEachSpeciesInItsView)
{
    LoadedObject show("Trick_cameras.3dn");
    // The show takes the scene's first camera.
    std::string first;
    for (const Object::Node& n : show.object.nodes)
        if (n.camera && first.empty())
            first = n.name;
    ASSERT_FALSE(first.empty());
    float4x4 camera;
    float fov = 0;
    ASSERT_TRUE(show.object.get_camera(0, first.c_str(), &camera, &fov));
    EXPECT_GT(fov, 20);
    float3 eye(camera.m[0][3], camera.m[1][3], camera.m[2][3]);
    for (auto& entry : storage->mAnimalObjects) {
        std::string species = wideToString(toLowerWide(entry.first));
        int node = show.object.find_node(("trick_stage_" + species).c_str());
        ASSERT_GE(node, 0) << species;
        // In front of the camera, a few metres away, on the stage floor.
        float3 at = show.position(node, 0);
        float dx = at.x - eye.x, dy = at.y - eye.y;
        float d = std::sqrt(dx * dx + dy * dy);
        EXPECT_GT(d, 1.5f) << species;
        EXPECT_LT(d, 8.0f) << species;
        EXPECT_GT(at.z, 0.0f) << species;
        EXPECT_LT(at.z, 0.5f) << species;
    }
}

// ---- the effects

TEST_F(GeneratedScenes, EveryNamedEffectLoadsAndPlays)
{
    std::vector<std::wstring> effects = keyValues(std::string(PETPARK_SOURCE_DIR) + "/data/game/animals.txt", L"[fx]");
    ASSERT_EQ(effects.size(), 3u);
    for (const std::wstring& line : effects) {
        std::vector<std::wstring> items = splitWide(line, L" ");
        ASSERT_EQ(items.size(), 2u);
        LoadedObject fx(wideToString(items[1]));
        EXPECT_GT(fx.object.frame_count, 0);
        EXPECT_GT(fx.object.meshes.size(), 2u);
    }
}

// ---- the park's lights

TEST_F(GeneratedScenes, TheParkLightSceneLightsThePark)
{
    Engine2Scene s = readScene("mBackground3DLight.3dn");
    ASSERT_GE(s.light.size(), 3u);
    LoadedObject loaded("mBackground3DLight.3dn");
    ASSERT_TRUE(loaded.object.is_loaded());
    // Every light is a sun far above the park whose light reaches every corner of it with
    // about the same strength (attenuation 1 / (c0 + c1 d + c2 d^2) near 1 at its distance).
    const Object& o = loaded.object;
    for (size_t k = 0; k < o.nodes.size(); ++k) {
        const Object::Node& n = o.nodes[k];
        if (!n.light)
            continue;
        const Object::Light& light = o.lights.at(size_t(n.light));
        EXPECT_LT(light.fog[0], 0) << n.name;
        float4x3 m;
        loaded.object.get_node_matrix(int(k), 0, &m);
        float3 p(m.m[0][3], m.m[1][3], m.m[2][3]);
        EXPECT_GT(p.z, 100) << n.name;
        for (float3 corner : {float3(-70, -70, 0), float3(70, 70, 0), float3(0, 0, 0)}) {
            float dx = p.x - corner.x, dy = p.y - corner.y, dz = p.z - corner.z;
            float d = std::sqrt(dx * dx + dy * dy + dz * dz);
            EXPECT_GT(light.decay[3], d) << n.name;
            float attenuation = 1 / (light.decay[0] + light.decay[1] * d + light.decay[2] * d * d);
            EXPECT_NEAR(attenuation, 1, 0.15f) << n.name;
        }
    }
}

} // namespace

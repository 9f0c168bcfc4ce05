// The park screen: its layer flags, its show transition, the building slide shows from hover to
// the end of the flight (fades, exit lock, camera and HUD), and what a frame queues.

#include "ParkTestSupport.h"

#include "game/DataAnimal.h"
#include "game/DataBuilding.h"
#include "park/AnimalAvatar.h"
#include "park/GameBackground3D.h"
#include "park/GameCamera.h"
#include "park/SlideCamera.h"
#include "park/TeachTrick.h"
#include "render/object.h"
#include "render/render.h"
#include "source_menu/MenuBuyFood.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

using namespace parktest;
using namespace scenelib;

namespace {

const int kVkRight = 39;

// The layers of the object's mesh nodes queued in this frame.
std::set<int> queuedLayers(CRender::Object* object)
{
    std::set<int> layers;
    ::Object* engine = object->engine();
    Render& render = headlessEngine().render;
    for (const auto* list : {&render.opaque_list(), &render.transparent_list()})
        for (const RenderArgs3Dsub& sub : *list)
            if (sub.object == engine)
                for (const ::Object::Node& node : engine->nodes)
                    if (node.mesh == sub.mesh)
                        layers.insert(node.layer);
    return layers;
}

// A scene of one small box per layer, animated over 20 frames at 100 frames a second.
SceneBuilder boxesOnLayers(std::initializer_list<int> layers)
{
    SceneBuilder b;
    b.addMaterial(MaterialDesc("plain"));
    b.setAnimation(20, 100);
    int k = 0;
    for (int layer : layers)
        b.addMesh("box" + std::to_string(layer), box(1, 1, 1), 0, Track{translation(float3(float(k++), 0, 0))}, layer);
    return b;
}

class ParkScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        quietInput();
        park = Singleton<GameBackground3D>::get();
        if (park->mCamera)
            *park->mCamera = GameCamera();
        else
            park->mCamera = new GameCamera();
        camera = park->mCamera;
        storage = Singleton<DataStorage>::get();
        savedBuildings.swap(storage->mParkBuildings);
        savedAnimals.swap(storage->mParkAnimals);
        hideNow(park);
        hideNow(Singleton<TeachTrick>::get());
        park->mSlidePlaying = 0;
        park->mBackgroundTime = park->mFXTime = 0.0f;
    }
    void TearDown() override
    {
        for (DataBuilding* building : storage->mParkBuildings)
            delete building;
        storage->mParkBuildings.swap(savedBuildings);
        storage->mParkAnimals.swap(savedAnimals);
        park->mBackground3D = park->mBackground3DLight = park->mBackground3DFX = nullptr;
        park->mSlideCameras = park->mBuildingsHelpers = nullptr;
    }

    // The ground point under the middle of the screen.
    float3 centreGround() const
    {
        float3 p = camera->mPosition;
        EXPECT_TRUE(walkToGround(p, camera->mForward));
        return float3(p.x, p.y, 0);
    }

    // A slide scene with the markers at the given places, an animated camera "cam" over 20
    // frames at 100 frames a second, and a box on layer 3 for the flight.
    void slideScene(const std::vector<std::pair<std::string, float3>>& markers)
    {
        SceneBuilder b;
        b.addMaterial(MaterialDesc("plain"));
        b.setAnimation(20, 100);
        for (const auto& marker : markers)
            b.addHelper(marker.first, marker.second);
        std::vector<CameraKey> keys;
        for (int i = 0; i <= 20; ++i)
            keys.emplace_back(float3(float(i), -10, 5), float3(0, 0, 0));
        b.addCamera("cam", keys);
        b.addMesh("flight", box(1, 1, 1), 0, Track{identity()}, 3);
        slides = folder.scene("data/3dn/Slide_cameras.3dn", b);
        park->mSlideCameras = slides.get();
    }

    // A built building with one slide entry per marker, frames 10, layer flags "0001".
    DataBuilding* building(const std::string& file, const std::vector<std::string>& markers,
                           const std::string& layers = "11")
    {
        std::string text = "[name]\n" + file + "\n\n[layers show]\n" + layers + "\n\n";
        for (const std::string& marker : markers)
            text += "[slide camera]\nLook at " + marker + "\n" + marker + "\ncam 10 0001\n\n";
        folder.write("data/game/Buildings/" + file, text);
        auto* b = new DataBuilding("data/game/Buildings/" + file);
        storage->mParkBuildings.push_back(b);
        return b;
    }

    // Logic steps of the park screen and of the HUD screens it hides and shows.
    void step(int n = 1)
    {
        for (int i = 0; i < n; ++i) {
            park->update();
            for (Container* hud : std::initializer_list<Container*>{
                     Singleton<MenuDateBar>::get(), Singleton<MenuIngame>::get(), Singleton<Cursors>::get(),
                     Singleton<MenuIngameFold1>::get(), Singleton<MenuIngameFold2>::get(),
                     Singleton<MenuIngameFold3>::get()})
                hud->update();
        }
    }

    ParkFolder folder;
    GameBackground3D* park = nullptr;
    GameCamera* camera = nullptr;
    DataStorage* storage = nullptr;
    std::unique_ptr<CRender::Object> slides;
    std::vector<DataBuilding*> savedBuildings;
    std::vector<DataAnimal*> savedAnimals;
};

} // namespace

// ---- layer flags

TEST(LayerFlags, RulesApplyInOrderOnWhatEarlierOnesLeft)
{
    LayerFlags flags;
    EXPECT_EQ(std::string(flags.c_str()).size(), 199u);
    EXPECT_EQ(std::string(flags.c_str()).find('1'), std::string::npos);
    flags.show(0);
    flags.show(5);
    flags.show(7);
    flags.apply({{0, {5}},       // layer 0 off, because 5 is on
                 {-5, {}},       // 5 off, unconditionally
                 {9, {5}},       // 5 is off now: nothing
                 {12, {7}},      // 12 on
                 {-7, {12, 7}},  // both on: 7 off
                 {20, {300}}});  // a condition without a character holds never
    EXPECT_FALSE(flags.isOn(0));
    EXPECT_FALSE(flags.isOn(5));
    EXPECT_FALSE(flags.isOn(9));
    EXPECT_TRUE(flags.isOn(12));
    EXPECT_FALSE(flags.isOn(7));
    EXPECT_FALSE(flags.isOn(20));
}

TEST(LayerFlags, ALayerOutsideTheStringIsReportedOnceAndIgnored)
{
    ::testing::internal::CaptureStdout();
    LayerFlags flags;
    flags.show(199);
    flags.show(199);
    flags.show(-3);
    flags.apply({{-250, {}}, {250, {}}});
    std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::string(flags.c_str()), std::string(199, '0'));
    EXPECT_NE(out.find("park layer 199"), std::string::npos) << out;
    EXPECT_EQ(out.find("park layer 199"), out.rfind("park layer 199")) << out;
    EXPECT_NE(out.find("park layer 250"), std::string::npos) << out;
}

// ---- the screen's states

TEST_F(ParkScreen, IsVisibleFromItsFirstAppearingStep)
{
    EXPECT_FALSE(park->isVisible());
    park->setStateAll("game", 2, 250);
    park->setVisible(0);
    step();
    EXPECT_TRUE(park->isVisible());
    EXPECT_EQ(park->getShowStates().second, 1);
}

TEST_F(ParkScreen, WithoutBuildingsNothingIsHoveredAndTheCameraFollowsTheKeys)
{
    showNow(park);
    holdKey(kVkRight, 1);
    float3 before = camera->mTargetPosition;
    step(3);
    EXPECT_EQ(Singleton<MenuManager>::get()->mExitBlocked, 0);
    EXPECT_EQ(Singleton<Cursors>::get()->hoverFlag, 0);
    EXPECT_NE(camera->mTargetPosition.x, before.x);
}

TEST_F(ParkScreen, ResetAndAnimationStepsTouchOnlyLoadedScenes)
{
    auto main3D = folder.scene("data/3dn/main3D.3dn", boxesOnLayers({0}));
    CRender::Object notLoaded;
    park->mBackground3D = main3D.get();
    park->mBackground3DFX = &notLoaded;
    park->stepAnimationTime();
    park->stepAnimationTime();
    EXPECT_FLOAT_EQ(park->mBackgroundTime, 2.0f);
    EXPECT_FLOAT_EQ(park->mFXTime, 0.0f);
    park->reset();
    EXPECT_FLOAT_EQ(park->mBackgroundTime, 0.0f);
}

// ---- slide shows

TEST_F(ParkScreen, ASlideShowRunsFromTheClickThroughItsFlightAndBack)
{
    auto main3D = folder.scene("data/3dn/main3D.3dn", boxesOnLayers({0}));
    park->mBackground3D = main3D.get();
    slideScene({{"marker_a", centreGround()}});
    MenuManager* menus = Singleton<MenuManager>::get();
    Cursors* cursors = Singleton<Cursors>::get();
    showNow(park);
    DataBuilding* hotel = building("OtherHotel.txt", {"marker_a"});
    SlideCamera* entry = hotel->mSlideCameras.at(0);
    showNow(Singleton<MenuDateBar>::get());
    showNow(Singleton<MenuIngame>::get());
    showNow(cursors);

    step();
    EXPECT_NE(entry->mNodeIndex, -1);
    EXPECT_EQ(entry->mHovered, 0) << "the first step only finds the marker";
    step();
    EXPECT_LT(entry->mHoverDistance, 0.01f);
    EXPECT_EQ(entry->mHovered, 1);
    EXPECT_EQ(cursors->hoverFlag, 1);
    EXPECT_EQ(cursors->hoverText, L"Look at marker_a");
    EXPECT_EQ(menus->mExitBlocked, 0);

    // The click hides the date bar at once and the rest of the HUD over 250 ms.
    setPointer(0.5f, 0.5f, 1);
    step();
    setPointer(0.5f, 0.5f, 0);
    EXPECT_EQ(entry->mFadingIn, 1);
    EXPECT_EQ(Singleton<MenuIngame>::get()->getShowStates().second, 3);
    step();
    EXPECT_EQ(Singleton<MenuDateBar>::get()->getShowStates().second, 0);
    EXPECT_EQ(Singleton<MenuIngame>::get()->getShowStates().second, 3);
    EXPECT_EQ(cursors->getShowStates().second, 3);

    // About 40 steps up to the backdrop, the park unchanged and "exit" ignored.
    int steps = 1;
    while (!entry->mPlaying && steps < 100) {
        step();
        ++steps;
        EXPECT_EQ(menus->mExitBlocked, 1);
    }
    EXPECT_GE(steps, 39);
    EXPECT_LE(steps, 42);
    EXPECT_EQ(park->mSlidePlaying, 1);
    EXPECT_EQ(entry->mFadingOut, 1);

    // While the flight plays the camera stays and the park's scenes go on.
    holdKey(kVkRight, 1);
    float3 position = camera->mTargetPosition;
    float parkTime = park->mBackgroundTime;
    steps = 0;
    while (entry->mFadingOut && steps < 100) {
        step();
        ++steps;
    }
    EXPECT_GE(steps, 24);
    EXPECT_LE(steps, 27);
    EXPECT_FLOAT_EQ(entry->mTime, 0.0f);
    steps = 0;
    while (!entry->mFadingIn && steps < 100) {
        step();
        ++steps;
    }
    EXPECT_EQ(steps, 11) << "the flight runs until its time passes its 10 frames";
    EXPECT_NE(Singleton<MenuDateBar>::get()->getShowStates().second, 0) << "the HUD comes back";
    EXPECT_NE(cursors->getShowStates().second, 0);
    EXPECT_EQ(Singleton<MenuIngameFold1>::get()->isVisible(), 0) << "the folds stay closed";
    float flightEnd = entry->mTime;
    while (entry->mPlaying && steps < 300) {
        EXPECT_FLOAT_EQ(camera->mTargetPosition.x, position.x) << "the camera waits for the flight";
        step();
        ++steps;
    }
    EXPECT_FLOAT_EQ(entry->mTime, flightEnd) << "the last frame stays under the backdrop";
    EXPECT_GT(park->mBackgroundTime, parkTime);
    holdKey(kVkRight, 0);

    // Then the park is back at once and the backdrop clears.
    EXPECT_EQ(park->mSlidePlaying, 0);
    EXPECT_EQ(menus->mExitBlocked, 1);
    while (entry->mFadingOut && steps < 400) {
        step();
        ++steps;
    }
    step();
    EXPECT_EQ(menus->mExitBlocked, 0);
    EXPECT_FLOAT_EQ(entry->mFade, 0.0f);
}

TEST_F(ParkScreen, AFlightOfNoFramesEndsOneStepAfterItAppears)
{
    slideScene({{"marker_a", centreGround()}});
    showNow(park);
    SlideCamera* entry = building("OtherHotel.txt", {"marker_a"})->mSlideCameras.at(0);
    entry->mFrames = 0;
    step(2);
    setPointer(0.5f, 0.5f, 1);
    step();
    setPointer(0.5f, 0.5f, 0);
    int steps = 0;
    while (!entry->mPlaying && steps < 100) {
        step();
        ++steps;
    }
    while (entry->mFadingOut && steps < 200) {
        step();
        ++steps;
    }
    EXPECT_EQ(entry->mPlaying, 1);
    EXPECT_EQ(entry->mFadingIn, 0);
    step();
    EXPECT_EQ(entry->mFadingIn, 1) << "its time passed 0 frames in the first playing step";
}

TEST_F(ParkScreen, AClickDuringTheFlightEndsItAfterItsFade)
{
    slideScene({{"marker_a", centreGround()}});
    showNow(park);
    SlideCamera* entry = building("OtherHotel.txt", {"marker_a"})->mSlideCameras.at(0);
    step(2);
    setPointer(0.5f, 0.5f, 1);
    step();
    setPointer(0.5f, 0.5f, 0);
    int steps = 0;
    while ((!entry->mPlaying || entry->mFadingOut) && steps < 200) {
        step();
        ++steps;
    }
    step(2);
    ASSERT_EQ(entry->mPlaying, 1);
    EXPECT_LT(entry->mTime, 10.0f);
    setPointer(0.5f, 0.5f, 1);
    step();
    setPointer(0.5f, 0.5f, 0);
    EXPECT_EQ(entry->mFadingIn, 1);
    while (entry->mFadingIn && steps < 400) {
        step();
        ++steps;
    }
    EXPECT_EQ(entry->mPlaying, 0);
}

TEST_F(ParkScreen, OfTwoEntriesAtTheSameDistanceTheFirstIsHovered)
{
    float3 g = centreGround();
    slideScene({{"marker_a", g}, {"marker_b", g}});
    DataBuilding* first = building("CatHouse1.txt", {"marker_a"});
    DataBuilding* second = building("DogHouse1.txt", {"marker_b"});
    showNow(park);
    step(2);
    EXPECT_FLOAT_EQ(first->mSlideCameras[0]->mHoverDistance, second->mSlideCameras[0]->mHoverDistance);
    EXPECT_EQ(first->mSlideCameras[0]->mHovered, 1);
    EXPECT_EQ(second->mSlideCameras[0]->mHovered, 0);
}

TEST_F(ParkScreen, AMissingMarkerIsNeverHovered)
{
    slideScene({{"marker_a", centreGround()}});
    building("CatHouse1.txt", {"marker_elsewhere"});
    showNow(park);
    setPointer(0.5f, 0.5f, 1);
    step(5);
    SlideCamera* entry = storage->mParkBuildings[0]->mSlideCameras[0];
    EXPECT_EQ(entry->mNodeIndex, -1);
    EXPECT_EQ(entry->mHovered, 0);
    EXPECT_EQ(entry->mFadingIn, 0);
    EXPECT_EQ(Singleton<Cursors>::get()->hoverFlag, 0);
}

TEST_F(ParkScreen, AClickOnAnOpenPanelOrWhilePausedStartsNoShowBehindIt)
{
    slideScene({{"marker_a", centreGround()}});
    building("OtherHotel.txt", {"marker_a"});
    showNow(park);
    step(2);
    SlideCamera* entry = storage->mParkBuildings[0]->mSlideCameras[0];
    ASSERT_EQ(entry->mHovered, 1);
    Singleton<MenuBuyFood>::get()->setVisible(1);
    setPointer(0.5f, 0.5f, 1);
    step();
    Singleton<MenuBuyFood>::get()->setVisible(0);
    EXPECT_EQ(entry->mFadingIn, 0);
    EXPECT_EQ(entry->mHovered, 0);

    // Paused, then going on after a whole show's time: the HUD, which stands while paused, and
    // the date bar are still there and take clicks.
    MenuDateBar* bar = Singleton<MenuDateBar>::get();
    showNow(bar);
    showNow(Singleton<MenuIngame>::get());
    bar->onWidget4(2, kLayerReleased);
    step(2);
    setPointer(0.5f, 0.5f, 1);
    step();
    setPointer(0.5f, 0.5f, 0);
    step(300);
    bar->onWidget4(2, kLayerReleased);
    step(30);
    for (Container* screen : std::initializer_list<Container*>{bar, Singleton<MenuIngame>::get()})
        EXPECT_TRUE(screen->getShowStates().second == kShowShown && screen->isEnabled()) << screen->name;
    EXPECT_EQ(bar->paused, 0);
}

TEST_F(ParkScreen, AMarkerAboveTheEyeIsMeasuredFromTheEye)
{
    float3 eye = camera->mPosition;
    slideScene({{"marker_a", float3(eye.x + 1, eye.y + 2, eye.z + 5)}});
    building("OtherHotel.txt", {"marker_a"});
    showNow(park);
    step(2);
    EXPECT_NEAR(storage->mParkBuildings[0]->mSlideCameras[0]->mHoverDistance, 5.0f, 1e-3f);
}

// ---- the frame

TEST_F(ParkScreen, AFrameQueuesTheScenesWithTheLayersTheParkShows)
{
    auto main3D = folder.scene("data/3dn/main3D.3dn", boxesOnLayers({0, 1, 5, 11, 111, 198, 200}));
    auto light = folder.scene("data/3dn/mBackground3DLight.3dn", boxesOnLayers({0, 7}));
    auto fx = folder.scene("data/3dn/mBackground3DFX.3dn", boxesOnLayers({1, 7}));
    park->mBackground3D = main3D.get();
    park->mBackground3DLight = light.get();
    park->mBackground3DFX = fx.get();
    slideScene({{"marker_a", centreGround()}});
    building("DogHouse1.txt", {"marker_a"}, "11");
    GlobalSettings* settings = globalSettings();
    std::vector<int> savedStarting = settings->mStartingLayers;
    auto savedRules = settings->mLayerRules;
    settings->mStartingLayers = {0, 1, 111};
    settings->mLayerRules = {{-111, {11}}, {5, {}}};
    showNow(park);

    Render& render = headlessEngine().render;
    render.begin(nullptr, 0.0f, 1.3333f);
    park->draw();
    EXPECT_EQ(queuedLayers(main3D.get()), (std::set<int>{0, 1, 5, 11, 200}));
    EXPECT_EQ(queuedLayers(light.get()), (std::set<int>{0, 7}));
    EXPECT_EQ(queuedLayers(fx.get()), (std::set<int>{1}));
    EXPECT_TRUE(queuedLayers(slides.get()).empty()) << "no show plays";
    render.end(true, true, true);

    // A playing flight draws the slide scene with its own flags.
    SlideCamera* entry = storage->mParkBuildings[0]->mSlideCameras[0];
    entry->mPlaying = 1;
    render.begin(nullptr, 0.0f, 1.3333f);
    park->draw();
    EXPECT_EQ(queuedLayers(slides.get()), (std::set<int>{3}));
    render.end(true, true, true);
    entry->mPlaying = 0;

    settings->mStartingLayers = savedStarting;
    settings->mLayerRules = savedRules;
}

TEST_F(ParkScreen, TheTrickShowHidesTheParkAnimals)
{
    SceneBuilder places;
    places.addHelper("helper_pies1", centreGround());
    auto placeScene = folder.scene("data/3dn/Animals_Helpers.3dn", places);
    SceneBuilder figureScene = boxesOnLayers({4});
    auto figure = folder.scene("data/3dn/dog.3dn", figureScene);
    DataAnimal dog(L"Rex", L"dog", 0, 0, 0);
    AnimalAvatar avatar("data/3dn/dog_missing.3dn", "helper_pies1", 0, placeScene.get(), L"dog", 0);
    avatar.mFigure = figure.get();
    dog.mAvatar = &avatar;
    storage->mParkAnimals.push_back(&dog);
    showNow(park);

    Render& render = headlessEngine().render;
    render.begin(nullptr, 0.0f, 1.3333f);
    park->draw();
    EXPECT_EQ(queuedLayers(figure.get()), (std::set<int>{4}));
    render.end(true, true, true);

    Singleton<TeachTrick>::get()->setVisible(1);
    render.begin(nullptr, 0.0f, 1.3333f);
    park->draw();
    EXPECT_TRUE(queuedLayers(figure.get()).empty());
    render.end(true, true, true);
    Singleton<TeachTrick>::get()->setVisible(0);
    storage->mParkAnimals.clear();
}

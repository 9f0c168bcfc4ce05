// The park screen drawn on the real OpenGL device (Mesa's software renderer under Xvfb): a small
// park of unlit coloured boxes seen through the game camera, a building's layer switched on by
// building it, the view following the camera, and a playing slide show taking the view over.

#include "ParkTestSupport.h"

#include "fixtures/GLTestWindow.h"
#include "game/DataBuilding.h"
#include "park/GameBackground3D.h"
#include "park/GameCamera.h"
#include "park/SlideCamera.h"
#include "render/render.h"
#include "source_menu/ScreenParkEvents.h"

#include <gtest/gtest.h>

using namespace parktest;
using namespace scenelib;

namespace {

bool nearRgb(const Rgba& got, int r, int g, int b, int tolerance = 16)
{
    return near_rgba(Rgba{got.r, got.g, got.b, 0}, r, g, b, 0, tolerance);
}

Render& engine()
{
    static Render* render = [] {
        Render* r = new Render("");
        r->init(gl_test_device());
        return r;
    }();
    return *render;
}

int material(SceneBuilder& b, const std::string& name, float3 colour)
{
    MaterialDesc m(name + " NO_LIGHT", colour);
    return b.addMaterial(m);
}

class ParkViewGL : public ::testing::Test {
protected:
    void SetUp() override
    {
        Render::set_current(&engine());
        quietInput();
        installParkEvents(Singleton<ScreenParkEvents>::get());
        park = Singleton<GameBackground3D>::get();
        if (park->mCamera)
            *park->mCamera = GameCamera();
        else
            park->mCamera = new GameCamera();
        storage = Singleton<DataStorage>::get();
        storage->mParkBuildings.clear();
        showNow(park);

        // Green ground on layer 0; a red house on layer 11 and a grey empty plot on layer 111 at
        // the point the camera looks at; a blue pool far away on layer 0.
        float3 seen = park->mCamera->mPosition;
        walkToGround(seen, park->mCamera->mForward);
        SceneBuilder b;
        int green = material(b, "grass", float3(0.1f, 0.8f, 0.1f));
        int red = material(b, "house", float3(0.9f, 0.1f, 0.1f));
        int grey = material(b, "plot", float3(0.5f, 0.5f, 0.5f));
        int blue = material(b, "pool", float3(0.1f, 0.1f, 0.9f));
        b.setAnimation(10, 30);
        b.addMesh("ground", withMaterial(plane(400, 400), green), 0, Track{identity()}, 0);
        b.addMesh("house", withMaterial(box(6, 6, 3), red), 0, Track{translation(float3(seen.x, seen.y, 1.5f))}, 11);
        b.addMesh("plot", withMaterial(box(6, 6, 0.2f), grey), 0, Track{translation(float3(seen.x, seen.y, 0.1f))},
                  111);
        b.addMesh("pool", withMaterial(box(8, 8, 0.4f), blue), 0,
                  Track{translation(float3(seen.x + 30, seen.y, 0.2f))}, 0);
        main3D = folder.scene("data/3dn/main3D.3dn", b);
        park->mBackground3D = main3D.get();

        GlobalSettings* settings = globalSettings();
        savedStarting = settings->mStartingLayers;
        savedRules = settings->mLayerRules;
        settings->mStartingLayers = {0, 111};
        settings->mLayerRules = {{-111, {11}}};
    }
    void TearDown() override
    {
        for (DataBuilding* building : storage->mParkBuildings)
            delete building;
        storage->mParkBuildings.clear();
        GlobalSettings* settings = globalSettings();
        settings->mStartingLayers = savedStarting;
        settings->mLayerRules = savedRules;
        park->mBackground3D = park->mSlideCameras = nullptr;
        hideNow(park);
        Render::set_current(nullptr);
    }

    void frame()
    {
        engine().begin(nullptr, 0, 1.3333f);
        engine().end(true, true, false);
        engine().begin(nullptr, 0, 1.3333f);
        park->draw();
        engine().end(false, false, false);
    }
    Rgba centre() { return read_pixel(128, 128); }

    ParkFolder folder;
    GameBackground3D* park = nullptr;
    DataStorage* storage = nullptr;
    std::unique_ptr<CRender::Object> main3D;
    std::unique_ptr<CRender::Object> slides;
    std::vector<int> savedStarting;
    std::vector<std::pair<int, std::vector<int>>> savedRules;
};

} // namespace

TEST_F(ParkViewGL, TheEmptyPlotShowsUntilItsBuildingStands)
{
    frame();
    Rgba c = centre();
    EXPECT_TRUE(nearRgb(c, 128, 128, 128)) << c.r << " " << c.g << " " << c.b;
    // Around the plot the ground.
    Rgba low = read_pixel(128, 20);
    EXPECT_TRUE(nearRgb(low, 26, 204, 26)) << low.r << " " << low.g << " " << low.b;

    folder.write("data/game/Buildings/House.txt", "[name]\nHouse\n\n[layers show]\n11\n");
    storage->mParkBuildings.push_back(new DataBuilding("data/game/Buildings/House.txt"));
    frame();
    c = centre();
    EXPECT_TRUE(nearRgb(c, 230, 26, 26)) << c.r << " " << c.g << " " << c.b;
}

TEST_F(ParkViewGL, TheViewFollowsTheCameraAcrossThePark)
{
    GameCamera* camera = park->mCamera;
    // Thirty units to the right the pool comes under the middle of the screen.
    float3 right = normalize(crossProduct(camera->mForward, camera->mUp));
    camera->mPosition = float3(camera->mPosition.x + 30 * right.x, camera->mPosition.y + 30 * right.y,
                               camera->mPosition.z);
    frame();
    Rgba c = centre();
    EXPECT_TRUE(nearRgb(c, 26, 26, 230)) << c.r << " " << c.g << " " << c.b;
}

TEST_F(ParkViewGL, APlayingSlideShowTakesTheViewOver)
{
    SceneBuilder b;
    int yellow = material(b, "stage", float3(0.9f, 0.9f, 0.1f));
    b.setAnimation(20, 100);
    b.addHelper("marker", float3(0, 0, 0));
    std::vector<CameraKey> keys;
    for (int i = 0; i <= 20; ++i)
        keys.emplace_back(float3(0, -10, 0), float3(0, 0, 0), float3(0, 0, 1), 45);
    b.addCamera("cam", keys);
    b.addMesh("stage", withMaterial(box(4, 1, 4), yellow), 0, Track{identity()}, 2);
    slides = folder.scene("data/3dn/Slide_cameras.3dn", b);
    park->mSlideCameras = slides.get();
    folder.write("data/game/Buildings/Hotel.txt", "[slide camera]\nHotel\nmarker\ncam 10 001\n");
    storage->mParkBuildings.push_back(new DataBuilding("data/game/Buildings/Hotel.txt"));
    SlideCamera* entry = storage->mParkBuildings[0]->mSlideCameras.at(0);
    entry->mPlaying = 1;
    park->mSlidePlaying = 1;
    frame();
    Rgba c = centre();
    EXPECT_TRUE(nearRgb(c, 230, 230, 26)) << c.r << " " << c.g << " " << c.b;
    park->mSlidePlaying = 0;
}

// Visitors and cars drawn by the park screen on the real OpenGL device (Mesa's software renderer
// under Xvfb): a car stands on its parking place, a walker shows its own figure of the shared
// scene on its path node, and walkers are left out while the trick show is open.

#include "ParkTestSupport.h"

#include "fixtures/GLTestWindow.h"
#include "park/GameBackground3D.h"
#include "park/GameCamera.h"
#include "park/OnePerson.h"
#include "park/PublicManager.h"
#include "park/TeachTrick.h"
#include "render/render.h"

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

int unlit(SceneBuilder& b, const std::string& name, float3 colour)
{
    return b.addMaterial(MaterialDesc(name + " NO_LIGHT", colour));
}

class VisitorsGL : public ::testing::Test {
protected:
    void SetUp() override
    {
        Render::set_current(&engine());
        quietInput();
        park = Singleton<GameBackground3D>::get();
        if (park->mCamera)
            *park->mCamera = GameCamera();
        else
            park->mCamera = new GameCamera();
        showNow(park);
        hideNow(Singleton<TeachTrick>::get());
        globalSettings();
        Singleton<DataStorage>::get()->mParkBuildings.clear();

        // The point the camera looks at: green ground round it, and there the car place and the
        // walkers' path node.
        float3 seen = park->mCamera->mPosition;
        walkToGround(seen, park->mCamera->mForward);
        SceneBuilder ground;
        ground.addMesh("ground", withMaterial(plane(400, 400), unlit(ground, "grass", float3(0.1f, 0.8f, 0.1f))), 0,
                       Track{identity()}, 0);
        main3D = folder.scene("data/3dn/main3D.3dn", ground);
        park->mBackground3D = main3D.get();

        // Every car body yellow on its own layer; wheels (layer 0) off to the side.
        SceneBuilder cars;
        int yellow = unlit(cars, "body", float3(0.9f, 0.9f, 0.1f));
        int black = unlit(cars, "wheels", float3(0.05f, 0.05f, 0.05f));
        cars.addMesh("wheels", withMaterial(box(0.5f, 0.5f, 0.5f), black), 0, Track{translation(float3(8, 0, 0))}, 0);
        for (int model = 1; model <= 9; ++model)
            cars.addMesh("body" + std::to_string(model), withMaterial(box(4, 4, 1.5f), yellow), 0, Track{identity()},
                         model);
        carsScene = folder.scene("data/3dn/Cars.3dn", cars);
        SceneBuilder places;
        places.addHelper("car_place_1", float3(seen.x, seen.y, 0));
        placesScene = folder.scene("data/3dn/Cars_Helpers.3dn", places);

        // Figure layer 1 red, layer 5 blue; the path node standing at the seen point.
        SceneBuilder people;
        people.addMesh("f", withMaterial(box(2, 2, 2), unlit(people, "red", float3(0.9f, 0.1f, 0.1f))), 0,
                       Track{identity()}, 1);
        people.addMesh("m", withMaterial(box(2, 2, 2), unlit(people, "blue", float3(0.1f, 0.1f, 0.9f))), 0,
                       Track{identity()}, 5);
        peopleScene = folder.scene("data/3dn/ZEB_Character_animations.3dn", people);
        SceneBuilder paths;
        paths.addHelper("path_a", float3(seen.x, seen.y, 0));
        pathsScene = folder.scene("data/3dn/Public_Helpers.3dn", paths);

        manager = Singleton<PublicManager>::get();
        saved[0] = manager->mCarsScene;
        saved[1] = manager->mCharacterScene;
        saved[2] = manager->mCarsHelpersScene;
        saved[3] = manager->mPublicHelpersScene;
        manager->mCarsScene = carsScene.get();
        manager->mCharacterScene = peopleScene.get();
        manager->mCarsHelpersScene = placesScene.get();
        manager->mPublicHelpersScene = pathsScene.get();
        manager->mCarHelperName = "car_place_";
        manager->mParkingPlaces = {{1}};
    }

    void TearDown() override
    {
        for (OneCar* car : manager->mCars)
            delete car;
        manager->mCars.clear();
        for (OnePerson* person : manager->mWalkers)
            delete person;
        manager->mWalkers.clear();
        manager->mCarsScene = saved[0];
        manager->mCharacterScene = saved[1];
        manager->mCarsHelpersScene = saved[2];
        manager->mPublicHelpersScene = saved[3];
        park->mBackground3D = nullptr;
        hideNow(Singleton<TeachTrick>::get());
        hideNow(park);
        Render::set_current(nullptr);
    }

    OnePerson* walker(int part)
    {
        OnePerson* person = new OnePerson();
        person->mHelperName = L"path_a";
        person->mPathLength = 300.0f;
        person->mAvatarPart = part;
        manager->mWalkers.push_back(person);
        return person;
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
    PublicManager* manager = nullptr;
    std::unique_ptr<CRender::Object> main3D, carsScene, placesScene, peopleScene, pathsScene;
    CRender::Object* saved[4] = {};
};

} // namespace

TEST_F(VisitorsGL, ACarStandsOnItsParkingPlace)
{
    manager->mVisitors = 0;
    manager->setupCars();
    frame();
    Rgba c = centre();
    EXPECT_TRUE(nearRgb(c, 26, 204, 26)) << c.r << " " << c.g << " " << c.b;
    manager->mVisitors = 2;
    ASSERT_EQ(manager->setupCars(), 1);
    frame();
    c = centre();
    EXPECT_TRUE(nearRgb(c, 230, 230, 26)) << c.r << " " << c.g << " " << c.b;
}

TEST_F(VisitorsGL, AWalkerShowsItsOwnFigureOnItsPathNode)
{
    OnePerson* person = walker(1);
    frame();
    Rgba c = centre();
    EXPECT_TRUE(nearRgb(c, 230, 26, 26)) << c.r << " " << c.g << " " << c.b;
    EXPECT_GE(person->mNodeIndex, 0);
    person->mAvatarPart = 5;
    frame();
    c = centre();
    EXPECT_TRUE(nearRgb(c, 26, 26, 230)) << c.r << " " << c.g << " " << c.b;

    // Not while the trick show is open.
    // The show on screen (its own steps and files are not needed here).
    Singleton<TeachTrick>::get()->setVisible(1);
    frame();
    c = centre();
    EXPECT_TRUE(nearRgb(c, 26, 204, 26)) << c.r << " " << c.g << " " << c.b;
}

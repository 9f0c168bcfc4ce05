// The visitors among the park's screens: standing still while the clock stands, the show's
// audience stepping instead of the walkers, pointing at a walker and clicking it to follow it,
// and drawing walkers on their path nodes and cars on their places.

#include "ParkTestSupport.h"
#include "game/ParkTestData.h"

#include "park/GameBackground3D.h"
#include "park/GameCamera.h"
#include "park/OnePerson.h"
#include "park/PublicManager.h"
#include "park/TeachTrick.h"
#include "render/object.h"
#include "source_menu/MenuBuyFood.h"
#include "source_menu/MenuPetShowSummary.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace scenelib;

namespace {

const char* const kPublic =
    "[helper walking]\npath_a 300\n\n[helper car]\ncar_place_\n0 0\n\n[parking]\n1 2 3\n\n"
    "[walking people max]\n20\n\n[walking interval min]\n1500\n\n[walking interval max]\n5000\n\n"
    "[walking name]\nAnna F\n\n[walking name]\nBen M\n\n[walking surename]\nSmith\n\n"
    "[avatar]\nf.png 1 F\n\n[avatar]\nm.png 5 M\n\n"
    "[walking opinion]\n0 Bad\nBad.\n0\n\n[walking opinion]\n1 Poor\nPoor.\n0\n\n[walking opinion]\n2 Fine\nFine.\n0\n\n"
    "[walking opinion]\n3 Good\nGood.\n0\n\n[walking opinion]\n4 Great\nGreat.\n0\n\n"
    "[helper sitting]\ndog seat_ 1\n1 6\n\n[helper sitting]\ndog seat_ 2\n7 9\n\n"
    "[animation]\nchodzenie\n0 29\n\n[animation]\nchodzenie i rozgladanie sie\n30 89\n\n"
    "[animation]\nsiedzenie idle\n90 119\n";

class VisitorsInThePark : public testing::Test {
protected:
    void SetUp() override
    {
        data.writeDefault();
        data.write("data/game/public.txt", kPublic);
        data.write("data/game/camera.txt", parktest::cameraText());
        std::filesystem::create_directories(data.dir().file("data/3dn"));
        storage = ParkTestData::load(5);
        storage->mGlobalSettings->mMouseRadiusAccuracy = 1.5f;
        // No walker enters by itself.
        storage->mGlobalSettings->mAccommodationTicketPrice =
            storage->mGlobalSettings->scrollReference(L"AccomodationTicket");
        manager = Singleton<PublicManager>::get();
        testing::internal::CaptureStdout();
        LoadPublicConfig(*manager);
        testing::internal::GetCapturedStdout();
        camera = Singleton<GameBackground3D>::get()->mCamera;
        *camera = GameCamera();
        parktest::quietInput();
        parktest::hideNow(Singleton<TeachTrick>::get());
        parktest::hideNow(Singleton<MenuBuyFood>::get());
    }

    OnePerson* walker(int kind = 0)
    {
        OnePerson* person = new OnePerson();
        manager->spawnVisitor(person, kind, L"path_a", 300.0f);
        (kind ? manager->mAudience : manager->mWalkers).push_back(person);
        return person;
    }

    // A walker already drawn once, standing on the ground where the pointer at (x, y) points.
    OnePerson* walkerUnderPointer(float x, float y)
    {
        OnePerson* person = walker();
        person->mNodeIndex = 0;
        float3 dir = camera->mouseRay(x, y);
        float3 point = camera->mPosition;
        for (int step = 0; step < 250 && point.z > 0.0f; ++step)
            point = float3(point.x + dir.x, point.y + dir.y, point.z + dir.z);
        person->mPosition = float3(point.x, point.y, 0.0f);
        return person;
    }

    // Loads the scene at once from the test's folder.
    std::unique_ptr<CRender::Object> scene(const std::string& name, const SceneBuilder& builder)
    {
        EXPECT_TRUE(builder.save(data.dir().file(name)));
        auto object = std::make_unique<CRender::Object>();
        testing::internal::CaptureStdout();
        EXPECT_TRUE(object->load(name)) << name;
        testing::internal::GetCapturedStdout();
        return object;
    }

    // A scene of small boxes, one per layer.
    std::unique_ptr<CRender::Object> figures(const std::string& name, std::vector<int> layers)
    {
        SceneBuilder b;
        int material = b.addMaterial(MaterialDesc("figure"));
        for (int layer : layers)
            b.addMesh("part" + std::to_string(layer), withMaterial(box(1, 1, 1), material), 0,
                      Track{identity()}, layer);
        return scene(name, b);
    }

    ParkTestData data;
    DataStorage* storage = nullptr;
    PublicManager* manager = nullptr;
    GameCamera* camera = nullptr;
};

TEST_F(VisitorsInThePark, NothingMovesWhileTheClockStands)
{
    OnePerson* person = walker();
    MenuDateBar* dateBar = Singleton<MenuDateBar>::get();
    dateBar->paused = 1;
    manager->mSpawnTimer = 100;
    manager->update();
    dateBar->paused = 0;
    dateBar->modal = 1;
    manager->update();
    dateBar->modal = 0;
    EXPECT_EQ(person->mProgress, 0.0f);
    EXPECT_EQ(manager->mSpawnTimer, 100);
    manager->update();
    EXPECT_FLOAT_EQ(person->mProgress, 0.027f);
    EXPECT_EQ(manager->mSpawnTimer, 90);
}

TEST_F(VisitorsInThePark, DuringTheTrickShowOnlyTheAudienceSteps)
{
    OnePerson* walking = walker();
    OnePerson* seated = walker(1);
    EXPECT_EQ(seated->mAnimName, L"siedzenie idle");
    EXPECT_EQ(seated->mAnimTime, 90.0f);
    manager->update();
    EXPECT_GT(walking->mProgress, 0.0f);
    EXPECT_EQ(seated->mAnimTime, 90.0f);
    // The show on screen (its own steps and files are not needed here).
    Singleton<TeachTrick>::get()->setVisible(1);
    float before = walking->mProgress;
    for (int step = 0; step < 200; ++step)
        manager->update();
    EXPECT_EQ(walking->mProgress, before);
    // The audience keeps sitting, its idle cycle over and over.
    EXPECT_EQ(seated->mAnimName, L"siedzenie idle");
    EXPECT_GE(seated->mAnimTime, 90.0f);
    EXPECT_LE(seated->mAnimTime, 120.0f);
    parktest::hideNow(Singleton<TeachTrick>::get());
}

TEST_F(VisitorsInThePark, AWalkerUnderThePointerIsHoveredAndAClickFollowsIt)
{
    OnePerson* person = walkerUnderPointer(0.5f, 0.5f);
    OnePerson* other = walkerUnderPointer(0.5f, 0.5f);
    other->mPosition.x += 10.0f;
    manager->update();
    EXPECT_EQ(Singleton<Cursors>::get()->hoverFlag, 1);
    EXPECT_EQ(Singleton<Cursors>::get()->hoverText, L"");
    EXPECT_EQ(camera->mFollowPerson, nullptr);

    MenuIngameFold1* fold = Singleton<MenuIngameFold1>::get();
    parktest::showNow(fold);
    Singleton<MenuIngame>::get()->mOpenFold = 1;
    parktest::setPointer(0.5f, 0.5f, 1);
    manager->update();
    EXPECT_EQ(camera->mFollowPerson, person);
    EXPECT_EQ(manager->mPickedPerson, person);
    EXPECT_EQ(manager->mPickDistance, 2); // trunc(1.5 x 1.5)
    EXPECT_EQ(person->mClickLatch, 1);
    EXPECT_EQ(other->mClickLatch, 0);
    EXPECT_EQ(fold->getShowStates().second, kShowDisappearing);
    EXPECT_EQ(Singleton<MenuIngame>::get()->mOpenFold, 0);
    parktest::setPointer(0.5f, 0.5f, 0);
    parktest::hideNow(fold);
}

TEST_F(VisitorsInThePark, AHeldButtonPicksOnceAndAReleaseAnywhereLetsItPickAgain)
{
    OnePerson* person = walkerUnderPointer(0.5f, 0.5f);
    parktest::setPointer(0.5f, 0.5f, 1);
    manager->update();
    EXPECT_EQ(camera->mFollowPerson, person);
    camera->reset();
    EXPECT_EQ(manager->mPickDistance, 1000);
    manager->update();
    EXPECT_EQ(camera->mFollowPerson, nullptr);
    // Released away from the person: the next press over it follows it again.
    parktest::setPointer(0.1f, 0.1f, 0);
    manager->update();
    EXPECT_EQ(person->mClickLatch, 0);
    parktest::setPointer(0.5f, 0.5f, 1);
    manager->update();
    EXPECT_EQ(camera->mFollowPerson, person);
    parktest::setPointer(0.5f, 0.5f, 0);
}

TEST_F(VisitorsInThePark, NoPointingWhileFollowingZoomedInOverAPanelOrNeverDrawn)
{
    OnePerson* person = walkerUnderPointer(0.5f, 0.5f);
    auto hovered = [&]() {
        Singleton<Cursors>::get()->hoverFlag = 0;
        manager->update();
        return Singleton<Cursors>::get()->hoverFlag;
    };
    ASSERT_EQ(hovered(), 1);
    camera->mFollowAnimal = storage->mParkAnimals[0];
    EXPECT_EQ(hovered(), 0);
    camera->mFollowAnimal = nullptr;
    float fov = camera->mFov;
    camera->mFov = 50.0f;
    EXPECT_EQ(hovered(), 0);
    camera->mFov = fov;
    parktest::showNow(Singleton<MenuBuyFood>::get());
    EXPECT_EQ(hovered(), 0);
    parktest::hideNow(Singleton<MenuBuyFood>::get());
    person->mNodeIndex = -1;
    EXPECT_EQ(hovered(), 0);
    person->mNodeIndex = 0;
    // Far from the pointer's ground point.
    person->mPosition.x += 1.6f;
    EXPECT_EQ(hovered(), 0);
}

TEST_F(VisitorsInThePark, WalkersAreDrawnOnTheirPathNodeAndCarsOnTheirPlaces)
{
    SceneBuilder pathBuilder;
    pathBuilder.setAnimation(300, 30);
    pathBuilder.addNode("path_a", 0, animate({{0, Pose(float3(0, 0, 0))}, {300, Pose(float3(150, 0, 0))}}, 300));
    std::unique_ptr<CRender::Object> paths = scene("data/3dn/paths.3dn", pathBuilder);
    SceneBuilder placeBuilder;
    placeBuilder.addHelper("car_place_1", float3(5, 6, 0));
    placeBuilder.addHelper("car_place_2", float3(9, 6, 0));
    std::unique_ptr<CRender::Object> places = scene("data/3dn/places.3dn", placeBuilder);
    // The manager's own scenes (requested from the loader) are put back at the end.
    CRender::Object* requested[4] = {manager->mPublicHelpersScene, manager->mCarsHelpersScene, manager->mCarsScene,
                                     manager->mCharacterScene};
    manager->mPublicHelpersScene = paths.get();
    manager->mCarsHelpersScene = places.get();
    std::unique_ptr<CRender::Object> characters = figures("data/3dn/people.3dn", {1, 5, 100});
    std::unique_ptr<CRender::Object> cars = figures("data/3dn/cars.3dn", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});

    OnePerson* person = walker();
    person->mProgress = 100.0f;
    OnePerson* lost = walker();
    lost->mHelperName = L"path_nowhere";
    manager->mVisitors = 6;
    manager->mParkingPlaces = {{1, 2, 3}};
    ASSERT_EQ(manager->setupCars(), 3);

    HeadlessEngine& engine = parktest::headlessEngine();
    // Nothing before both shared scenes are there.
    manager->mCarsScene = nullptr;
    manager->mCharacterScene = characters.get();
    engine.render.begin(nullptr, 0, 0);
    manager->draw();
    EXPECT_EQ(characters->engine()->in_use, 0);
    EXPECT_EQ(person->mNodeIndex, -1);

    manager->mCarsScene = cars.get();
    manager->draw();
    // Two cars on the places there are; the walker without a path node is not drawn.
    EXPECT_EQ(cars->engine()->in_use, 2);
    EXPECT_EQ(characters->engine()->in_use, 1);
    EXPECT_GE(person->mNodeIndex, 0);
    EXPECT_EQ(lost->mNodeIndex, -1);
    EXPECT_NEAR(person->mPosition.x, 50.0f, 1e-3f);
    EXPECT_NEAR(person->mPosition.y, 0.0f, 1e-3f);
    engine.render.end(true, true, false);

    // Under the trick show the walkers are not drawn.
    // The show on screen (its own steps and files are not needed here).
    Singleton<TeachTrick>::get()->setVisible(1);
    engine.render.begin(nullptr, 0, 0);
    manager->draw();
    EXPECT_EQ(characters->engine()->in_use, 0);
    engine.render.end(true, true, false);
    parktest::hideNow(Singleton<TeachTrick>::get());

    manager->mPublicHelpersScene = requested[0];
    manager->mCarsHelpersScene = requested[1];
    manager->mCarsScene = requested[2];
    manager->mCharacterScene = requested[3];
}

TEST_F(VisitorsInThePark, AnAudienceFillsTheSeatsOfTheGroupsBuildings)
{
    MenuPetShowSummary* summary = Singleton<MenuPetShowSummary>::get();
    // One dog building: the first row only, every seat taken.
    manager->spawnAtSittingPlaces(L"Dog", 1.0f);
    ASSERT_EQ(manager->mAudience.size(), 6u);
    EXPECT_EQ(summary->spectators, 6);
    EXPECT_EQ(manager->mAudience[5]->mHelperName, L"seat_6");
    EXPECT_EQ(manager->mAudience[5]->mPathLength, 6.0f);
    EXPECT_EQ(manager->mAudience[5]->mKind, 1);
    manager->spawnAtSittingPlaces(L"dog", 0.0f);
    EXPECT_TRUE(manager->mAudience.empty());
    EXPECT_EQ(summary->spectators, 0);
    manager->spawnAtSittingPlaces(L"cat", 1.0f);
    EXPECT_TRUE(manager->mAudience.empty());
}

} // namespace

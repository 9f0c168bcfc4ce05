// The park camera: its settings file, the zoom, turn and scroll guards, the bound ellipse, the
// smoothing, gliding to a helper point, following, the idle states and the HUD's pointer zones.

#include "ParkTestSupport.h"

#include "game/DataAnimal.h"
#include "game/DataStorage.h"
#include "park/AnimalAvatar.h"
#include "park/GameCamera.h"
#include "park/OnePerson.h"
#include "park/PublicManager.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace parktest;

namespace {

const int kVkLeft = 37, kVkUp = 38, kVkRight = 39;

void expectNear(float3 a, float3 b, float tolerance = 1e-4f)
{
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

float3 groundPoint(float3 p, float3 dir)
{
    EXPECT_TRUE(walkToGround(p, dir));
    return p;
}

class Camera : public ::testing::Test {
protected:
    void SetUp() override { quietInput(); }

    ParkFolder folder;
};

} // namespace

// ---- settings

TEST_F(Camera, StartsAtTheStartPointLookingDownByItsHeight)
{
    GameCamera camera;
    EXPECT_FLOAT_EQ(camera.mFov, 60.0f);
    EXPECT_FLOAT_EQ(camera.mFovTarget, 60.0f);
    EXPECT_FLOAT_EQ(camera.mScrollBorder, 0.03f);
    EXPECT_FLOAT_EQ(camera.getScrollBorder(), 0.03f);
    expectNear(camera.mPosition, float3(0, -20, 30));
    expectNear(camera.mTargetPosition, float3(0, -20, 30));
    // Height 30 lies half way between 10 and 50: half way between the two pitches.
    EXPECT_FLOAT_EQ(camera.mPitch, -0.75f);
    EXPECT_FLOAT_EQ(camera.mYaw, 1.5f);
    EXPECT_FLOAT_EQ(camera.mTargetYaw, 1.5f);
    expectNear(camera.mForward, GameCamera::direction(-0.75f, 1.5f));
    expectNear(camera.mUp, GameCamera::direction(-0.75f + 1.5707963f, 1.5f));
    EXPECT_FLOAT_EQ(camera.mMoveSpeed, 0.1f);
    EXPECT_EQ(camera.mScrollDirection, 0);
    EXPECT_EQ(camera.isBusy(), 0);
    EXPECT_FLOAT_EQ(camera.mBoundOffset.x, 0.0f);
    EXPECT_FLOAT_EQ(camera.mBoundRadius.x, 40.0f);
    EXPECT_FLOAT_EQ(camera.mBoundRadius.y, 30.0f);
    // pitchFor extrapolates beyond the height range.
    EXPECT_FLOAT_EQ(camera.pitchFor(60.0f), -1.125f);
}

TEST_F(Camera, AMissingOrMalformedValueKeepsTheBuiltInOneWithAWarning)
{
    folder.write("data/game/camera.txt", "[zoom step]\nabc\n\n[start point xy]\n3,4\n\n[bound ellipse offset&radius]\n1 2\n");
    ::testing::internal::CaptureStdout();
    GameCamera camera;
    std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("[zoom step]"), std::string::npos) << out;
    EXPECT_NE(out.find("[fov]"), std::string::npos) << out;
    EXPECT_NE(out.find("[bound ellipse offset&radius]"), std::string::npos) << out;
    EXPECT_FLOAT_EQ(camera.mZoomStep, 0.12f);
    EXPECT_FLOAT_EQ(camera.mFov, 55.0f);
    EXPECT_FLOAT_EQ(camera.mStartPoint.x, 3.0f);
    EXPECT_FLOAT_EQ(camera.mStartPoint.y, 4.0f);
    // The ellipse cut off by the end of the file keeps its built-in size.
    EXPECT_GT(camera.mBoundRadius.x, 0.0f);
    EXPECT_TRUE(std::isfinite(camera.pitchFor(camera.mZoomStart)));
}

TEST_F(Camera, SettingsWithoutAGroundToLookAtAreReplacedAsAGroup)
{
    std::string text = cameraText();
    text.replace(text.find("-0.5 -1.0"), 9, "0.2 -1.0");
    text.replace(text.find("[zoom max]\n50"), 13, "[zoom max]\n10");
    text.replace(text.find("40 30"), 5, "0 30");
    folder.write("data/game/camera.txt", text);
    ::testing::internal::CaptureStdout();
    GameCamera camera;
    std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("[beta range]"), std::string::npos) << out;
    EXPECT_NE(out.find("[zoom min]"), std::string::npos) << out;
    EXPECT_NE(out.find("ellipse"), std::string::npos) << out;
    EXPECT_LT(camera.mPitchAtMin, 0.0f);
    EXPECT_LT(camera.mPitchAtMax, 0.0f);
    EXPECT_GT(camera.mZoomMax, camera.mZoomMin);
    EXPECT_GT(camera.mBoundRadius.x, 0.0f);
}

TEST_F(Camera, TheShippedSettingsReadCleanlyAndStartWithAPointableViewOfThePark)
{
    folder.write("data/game/camera.txt", ParkFolder::sourceFile("data/game/camera.txt"));
    ::testing::internal::CaptureStdout();
    GameCamera camera;
    std::string out = ::testing::internal::GetCapturedStdout();
    // Only the camera's own warnings count: the loader thread of earlier tests may print too.
    EXPECT_EQ(out.find("camera.txt"), std::string::npos) << out;
    // Animals and visitors can be pointed at only with a field of view above 50 degrees.
    EXPECT_GT(camera.mFov, 50.0f);
    EXPECT_TRUE(camera.isViewInsideBounds(camera.mYaw, camera.mPitch, camera.mPosition));
    EXPECT_LT(camera.mRotateMin, camera.mRotateStart);
    EXPECT_LT(camera.mRotateStart, camera.mRotateMax);
    EXPECT_LE(camera.mZoomMin, camera.mZoomStart);
    EXPECT_LE(camera.mZoomStart, camera.mZoomMax);
    // The pointer's ray walks in steps of about one unit, at most 250 of them.
    EXPECT_LT(camera.mZoomMax / std::sin(-camera.pitchFor(camera.mZoomMax)), 200.0f);
}

// ---- zoom and turn

TEST_F(Camera, ZoomOutFromJustBelowTheTopMayPassItByOneStepThenStops)
{
    GameCamera camera;
    camera.mTargetPosition.z = 49.5f;
    camera.zoomStepA(1.0f);
    float z = camera.mTargetPosition.z;
    EXPECT_GT(z, 50.0f);
    EXPECT_LT(z, 50.5f);
    camera.zoomStepA(1.0f);
    EXPECT_FLOAT_EQ(camera.mTargetPosition.z, z);
}

TEST_F(Camera, ZoomInStopsAtTheLowestHeight)
{
    GameCamera camera;
    camera.mTargetPosition.z = 10.0f;
    float3 before = camera.mTargetPosition;
    camera.zoomStepB(1.0f);
    expectNear(camera.mTargetPosition, before, 0.0f);
    camera.mTargetPosition.z = 10.5f;
    camera.zoomStepB(1.0f);
    EXPECT_LT(camera.mTargetPosition.z, 10.0f);
}

TEST_F(Camera, TheHudZoomMovesOneStepAlongTheView)
{
    GameCamera camera;
    float3 before = camera.mTargetPosition;
    camera.zoomStepB(1.0f);
    float3 d(camera.mTargetPosition.x - before.x, camera.mTargetPosition.y - before.y,
             camera.mTargetPosition.z - before.z);
    expectNear(d, camera.mTargetForward);
}

TEST_F(Camera, AHeldPageKeyZoomsNineStepsAtTheFirstFreeStep)
{
    GameCamera camera;
    inputState.zoomAccumulator = 40;
    Singleton<MenuDateBar>::get()->paused = 1;
    camera.control();
    EXPECT_EQ(inputState.zoomAccumulator, 40) << "an idle camera leaves the zoom input alone";
    Singleton<MenuDateBar>::get()->paused = 0;
    float3 before = camera.mTargetPosition;
    float3 forward = camera.mTargetForward;
    camera.control();
    EXPECT_EQ(inputState.zoomAccumulator, 0);
    EXPECT_NEAR(camera.mTargetPosition.z, before.z + 9.0f * forward.z, 1e-3f);
}

TEST_F(Camera, ATurnThatReachesALimitExactlyIsRefused)
{
    GameCamera camera;
    camera.rotateStepPlus();
    EXPECT_FLOAT_EQ(camera.mTargetYaw, 1.75f);
    camera.rotateStepPlus();
    EXPECT_FLOAT_EQ(camera.mTargetYaw, 1.75f);
    camera.rotateStepMinus();
    camera.rotateStepMinus();
    EXPECT_FLOAT_EQ(camera.mTargetYaw, 1.25f);
    camera.rotateStepMinus();
    EXPECT_FLOAT_EQ(camera.mTargetYaw, 1.25f);
}

// ---- scrolling and the bound ellipse

TEST_F(Camera, AHeldArrowKeySpeedsTheScrollUpToTheMoveStepAndReleasingDropsIt)
{
    GameCamera camera;
    holdKey(kVkUp, 1);
    const float speeds[] = {0.15f, 0.225f, 0.3375f, 0.50625f, 0.6f, 0.6f};
    for (float speed : speeds) {
        float3 before = camera.mTargetPosition;
        camera.control();
        EXPECT_FLOAT_EQ(camera.mMoveSpeed, speed);
        float3 flat = normalize(float3(camera.mTargetForward.x, camera.mTargetForward.y, 0));
        expectNear(camera.mTargetPosition,
                   float3(before.x + flat.x * speed, before.y + flat.y * speed, before.z), 1e-3f);
    }
    EXPECT_EQ(camera.mScrollDirection, 3);
    holdKey(kVkUp, 0);
    camera.setScrollDirection(0);
    float3 before = camera.mTargetPosition;
    camera.control();
    EXPECT_FLOAT_EQ(camera.mMoveSpeed, 0.1f);
    expectNear(camera.mTargetPosition, before, 0.0f);
}

TEST_F(Camera, ADiagonalMovesBothWaysAtFullSpeed)
{
    GameCamera camera;
    holdKey(kVkLeft, 1);
    holdKey(kVkUp, 1);
    float3 before = camera.mTargetPosition;
    camera.control();
    EXPECT_EQ(camera.mScrollDirection, 5);
    float3 flat = normalize(float3(camera.mTargetForward.x, camera.mTargetForward.y, 0));
    float3 left = normalize(crossProduct(camera.mTargetUp, camera.mTargetForward));
    expectNear(camera.mTargetPosition, float3(before.x + 0.15f * (flat.x + left.x),
                                              before.y + 0.15f * (flat.y + left.y), before.z), 1e-3f);
}

TEST_F(Camera, TheScreenEdgeScrollsLikeTheKeys)
{
    GameCamera camera;
    camera.setScrollDirection(2);
    float3 before = camera.mTargetPosition;
    camera.control();
    float3 right = normalize(crossProduct(camera.mTargetForward, camera.mTargetUp));
    expectNear(camera.mTargetPosition, float3(before.x + 0.15f * right.x, before.y + 0.15f * right.y, before.z),
               1e-3f);
}

TEST_F(Camera, AMoveThatTakesTheViewOutOfTheEllipseIsRefusedWhole)
{
    GameCamera camera;
    // The viewed ground point just inside the right end of the ellipse.
    float3 ground = groundPoint(camera.mTargetPosition, camera.mTargetForward);
    camera.mTargetPosition.x += 39.95f - ground.x;
    float3 before = camera.mTargetPosition;
    camera.setScrollDirection(2);
    for (int i = 0; i < 5; ++i)
        camera.control();
    expectNear(camera.mTargetPosition, before, 0.0f);
    EXPECT_FALSE(camera.isViewInsideBounds(camera.mTargetYaw, camera.mTargetPitch,
                                           float3(before.x + 0.2f, before.y, before.z)));
}

TEST_F(Camera, AViewThatNeverReachesTheGroundIsOutOfBounds)
{
    GameCamera camera;
    EXPECT_FALSE(camera.insideBounds(float3(0, 0, 10), float3(1, 0, 0)));
    EXPECT_FALSE(camera.insideBounds(float3(0, 0, 10), float3(0, 0, 1)));
    EXPECT_TRUE(camera.insideBounds(float3(0, 0, 0), float3(0, 0, 1)));
}

TEST_F(Camera, EachStepTakesTheSmoothingShareOfWhatIsLeft)
{
    GameCamera camera;
    camera.mTargetPosition = float3(10, -20, 30);
    camera.mFovTarget = 40.0f;
    Singleton<MenuDateBar>::get()->paused = 1;
    camera.control();
    EXPECT_FLOAT_EQ(camera.mPosition.x, 0.0f) << "an idle camera does not smooth";
    Singleton<MenuDateBar>::get()->paused = 0;
    camera.mGliding = 1;
    camera.mGlideTarget = float3(0, 0, 10);
    camera.control();
    // The glide moved the target on; the position took a tenth of the way to the new target.
    EXPECT_NEAR(camera.mPosition.x, camera.mTargetPosition.x * 0.1f, 1e-4f);
    EXPECT_FLOAT_EQ(camera.mFov, 60.0f);
}

// ---- idle states

TEST_F(Camera, IsIdleWhileModalPausedOrAMenuIsCurrent)
{
    GameCamera camera;
    holdKey(kVkRight, 1);
    Singleton<MenuDateBar>::get()->modal = 1;
    camera.control();
    Singleton<MenuDateBar>::get()->modal = 0;
    Singleton<MenuManager>::get()->mCurrentMenu = L"buyfood";
    camera.control();
    expectNear(camera.mTargetPosition, float3(0, -20, 30), 0.0f);
    EXPECT_EQ(camera.mScrollDirection, 0);
    for (const wchar_t* menu : {L"popupend", L"scrollpopupend", L"returnfromoptions", L"nomenu"}) {
        Singleton<MenuManager>::get()->mCurrentMenu = menu;
        float3 before = camera.mTargetPosition;
        camera.control();
        EXPECT_NE(camera.mTargetPosition.x, before.x);
    }
}

// ---- gliding and following

TEST_F(Camera, GlidesToAHelperPointUntilItsViewIsWithinOneUnit)
{
    scenelib::SceneBuilder b;
    b.addHelper("helper_Hotel", float3(12, 8, 0));
    auto helpers = folder.scene("data/3dn/Buildings_Helpers.3dn", b);

    GameCamera camera;
    camera.moveToHelper("helper_Nothing", helpers.get());
    EXPECT_EQ(camera.isBusy(), 0);
    camera.moveToHelper("helper_Hotel", helpers.get());
    EXPECT_EQ(camera.isBusy(), 1);
    expectNear(camera.mGlideTarget, float3(12, 8, 10));
    int steps = 0;
    while (camera.isBusy() && steps < 2000) {
        camera.control();
        ++steps;
    }
    EXPECT_EQ(camera.isBusy(), 0);
    EXPECT_GT(steps, 10);
    float3 seen = groundPoint(camera.mTargetPosition, camera.mTargetForward);
    EXPECT_LT(std::fabs(seen.x - 12.0f), 1.1f);
    EXPECT_LT(std::fabs(seen.y - 8.0f), 1.1f);
    // Arrow keys do nothing while gliding.
    camera.moveToHelper("helper_Hotel", helpers.get());
    camera.mGlideTarget = float3(30, 20, 10);
    camera.mGliding = 1;
    holdKey(kVkRight, 1);
    camera.control();
    EXPECT_EQ(camera.mScrollDirection, 0);
}

TEST_F(Camera, FollowingAVisitorLooksAtItFromTheLowestHeightAndEndsTheGlide)
{
    GameCamera camera;
    camera.mGliding = 1;
    OnePerson person;
    person.mPosition = float3(5, 6, 1);
    camera.followPerson(&person);
    EXPECT_EQ(camera.isBusy(), 0);
    ASSERT_EQ(camera.mFollowPerson, &person);
    camera.control();
    EXPECT_FLOAT_EQ(camera.mFovTarget, 22.0f);
    float3 f = camera.mForward;
    float t = (10.0f - 1.0f) / f.z;
    expectNear(camera.mTargetPosition, float3(5 + t * f.x, 6 + t * f.y, 10), 1e-3f);

    OnePerson audience;
    audience.mKind = 1;
    camera.reset();
    camera.followPerson(&audience);
    EXPECT_EQ(camera.mFollowPerson, nullptr);
}

TEST_F(Camera, FollowingASealTurnsToTheLimitAndANeverDrawnFigureHoldsTheTarget)
{
    GameCamera camera;
    DataAnimal seal(L"Sammy", L"seal", 0, 0, 0);
    AnimalAvatar figure("data/3dn/seal.3dn", "helper_seal1", 0, nullptr, L"seal", 0);
    seal.mAvatar = &figure;
    camera.focusOn(&seal);
    ASSERT_EQ(camera.mFollowAnimal, &seal);
    float3 before = camera.mTargetPosition;
    camera.control();
    EXPECT_FLOAT_EQ(camera.mTargetYaw, 2.0f);
    expectNear(camera.mTargetPosition, before, 0.0f);
    seal.mAvatar->mPosition = float3(3, 4, 0);
    seal.mAvatar->mDrawn = 1;
    camera.control();
    EXPECT_FLOAT_EQ(camera.mTargetPosition.z, 10.0f);

    camera.reset();
    EXPECT_EQ(camera.mFollowAnimal, nullptr);
    EXPECT_FLOAT_EQ(camera.mTargetYaw, 1.5f);
}

TEST_F(Camera, ResetClearsTheVisitorsPendingPick)
{
    GameCamera camera;
    OnePerson person;
    PublicManager* visitors = Singleton<PublicManager>::get();
    visitors->mPickDistance = 3.0f;
    visitors->mPickedPerson = &person;
    camera.reset();
    EXPECT_FLOAT_EQ(visitors->mPickDistance, 1000.0f);
    EXPECT_EQ(visitors->mPickedPerson, nullptr);
}

// ---- pointer

TEST_F(Camera, ThePointerIsOverTheHudOnlyWhereAVisiblePartLies)
{
    GameCamera camera;
    setPointer(0.1f, 0.9f);
    EXPECT_FALSE(camera.isPointerOverHud());
    Singleton<MenuIngame>::get()->setVisible(1);
    EXPECT_TRUE(camera.isPointerOverHud());
    setPointer(0.5f, 0.9f);
    EXPECT_FALSE(camera.isPointerOverHud());
    Singleton<MenuIngameFold3>::get()->setVisible(1);
    setPointer(0.42f, 0.84f);
    EXPECT_TRUE(camera.isPointerOverHud());
    Singleton<MenuIngameFold1>::get()->setVisible(1);
    setPointer(0.8f, 0.9f);
    EXPECT_FALSE(camera.isPointerOverHud());
    setPointer(0.7f, 0.9f);
    EXPECT_TRUE(camera.isPointerOverHud());

    // A click on the HUD follows nothing.
    OnePerson person;
    camera.followPerson(&person);
    EXPECT_EQ(camera.mFollowPerson, nullptr);
}

TEST_F(Camera, TheRayThroughTheMiddleIsTheViewDirection)
{
    GameCamera camera;
    expectNear(camera.mouseRay(0.5f, 0.5f), camera.mForward);
    float3 right = camera.mouseRay(1.0f, 0.5f);
    float3 side = normalize(crossProduct(camera.mForward, camera.mUp));
    // Half the width of a 4:3 view at one unit: tan(30 degrees) x 1.33.
    float along = right.x * side.x + right.y * side.y + right.z * side.z;
    EXPECT_NEAR(along, std::tan(0.5235988f) * 1.33f, 1e-3f);
}

// The animal figure: its animations, the hungry and unwell markers it draws, its walk along the
// place path, pointing and clicking, the park animal's step; and the named effects.

#include "ParkTestSupport.h"

#include "game/DataAnimal.h"
#include "park/AnimalAvatar.h"
#include "park/FX.h"
#include "park/FXManager.h"
#include "park/GameBackground3D.h"
#include "park/GameCamera.h"
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

// Mesh layers of the object queued in this frame, and the place of its first queued part.
std::set<int> queuedLayers(CRender::Object* object, float3* place = nullptr)
{
    std::set<int> layers;
    ::Object* engine = object->engine();
    for (const RenderArgs3Dsub& sub : headlessEngine().render.opaque_list())
        if (sub.object == engine) {
            if (place && layers.empty())
                *place = float3(sub.model.m[0][3], sub.model.m[1][3], sub.model.m[2][3]);
            for (const ::Object::Node& node : engine->nodes)
                if (node.mesh == sub.mesh)
                    layers.insert(node.layer);
        }
    return layers;
}

class Figure : public ::testing::Test {
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
        hideNow(Singleton<TeachTrick>::get());

        DataStorage* storage = Singleton<DataStorage>::get();
        auto& animations = storage->mAnimations[L"dog"];
        animations.clear();
        animations[L"chodzenie"] = Animation(L"chodzenie", 0, 39);
        animations[L"jedzenie"] = Animation(L"jedzenie", 40, 79);
        animations[L"jedzenie_chodzac"] = Animation(L"jedzenie_chodzac", 80, 99);
        storage->mSkins[L"dog"] = {{nullptr, L"0000100"}, {nullptr, L"1"}};

        // The figure: marker boxes on layers 2 and 3, the body on 4, at 30 frames a second.
        SceneBuilder figureScene;
        figureScene.addMaterial(MaterialDesc("Pingwin"));
        figureScene.setAnimation(100, 30);
        for (int layer : {2, 3, 4})
            figureScene.addMesh("part" + std::to_string(layer), box(0.5f, 0.5f, 0.5f), 0, Track{identity()}, layer);
        figure = folder.scene("data/3dn/dog.3dn", figureScene);

        // The place: a node walking 10 units along x over 50 frames, from under the middle of
        // the screen.
        float3 start = camera->mPosition;
        walkToGround(start, camera->mForward);
        start.z = 0;
        SceneBuilder places;
        places.setAnimation(50, 30);
        Track walk;
        for (int i = 0; i <= 50; ++i)
            walk.push_back(translation(float3(start.x + 0.2f * float(i), start.y, 0)));
        places.addNode("helper_pies1", 0, walk);
        placeScene = folder.scene("data/3dn/Animals_Helpers.3dn", places);
        placeStart = start;

        dog = std::make_unique<DataAnimal>(L"Rex", L"dog", 0.0f, 0.0f, 0);
        dog->mHunger = dog->mHealth = 7;
        dog->mAtDoctor = 0;
        avatar = std::make_unique<AnimalAvatar>("data/3dn/dog.3dn", "helper_pies1", 1, placeScene.get(), L"dog", 0);
        avatar->mFigure = figure.get();
        avatar->setAnimation(L"Chodzenie");
        dog->mAvatar = avatar.get();
    }
    void TearDown() override { dog->mAvatar = nullptr; }

    // Draws the figure in a frame of its own and returns the layers queued.
    std::set<int> drawnLayers(float3* place = nullptr)
    {
        Render& render = headlessEngine().render;
        render.begin(nullptr, 0.0f, 1.3333f);
        camera->applyView();
        avatar->draw();
        std::set<int> layers = queuedLayers(figure.get(), place);
        render.end(true, true, true);
        return layers;
    }

    ParkFolder folder;
    GameBackground3D* park = nullptr;
    GameCamera* camera = nullptr;
    std::unique_ptr<CRender::Object> figure;
    std::unique_ptr<CRender::Object> placeScene;
    float3 placeStart;
    std::unique_ptr<DataAnimal> dog;
    std::unique_ptr<AnimalAvatar> avatar;
};

} // namespace

// ---- animations

TEST_F(Figure, AnAnimationPlayedOnceReturnsToTheOneBeforeFromItsStart)
{
    EXPECT_EQ(avatar->mAnimation, L"chodzenie");
    for (int i = 0; i < 50; ++i)
        avatar->update(dog.get());
    avatar->playThen(L"jedzenie");
    EXPECT_FLOAT_EQ(avatar->mAnimTime, 40.0f);
    EXPECT_TRUE(avatar->isPlaying(L"jedzenie"));
    int steps = 0;
    while (avatar->mAnimation == L"jedzenie" && steps < 1000) {
        avatar->update(dog.get());
        ++steps;
    }
    // 39 frames at 0.3 a step, until the time passes the end frame.
    EXPECT_NEAR(steps, 130, 1);
    EXPECT_EQ(avatar->mAnimation, L"chodzenie");
    EXPECT_FLOAT_EQ(avatar->mAnimTime, 0.0f);
    EXPECT_TRUE(avatar->mNextAnimation.empty());
}

TEST_F(Figure, IsPlayingIncludesBothEndsAndAnUnknownNameIsFrameZero)
{
    avatar->mAnimTime = 40.0f;
    EXPECT_TRUE(avatar->isPlaying(L"jedzenie"));
    EXPECT_FALSE(avatar->isPlaying(L"chodzenie"));
    avatar->mAnimTime = 79.0f;
    EXPECT_TRUE(avatar->isPlaying(L"JEDZENIE"));
    avatar->mAnimTime = 79.01f;
    EXPECT_FALSE(avatar->isPlaying(L"jedzenie"));
    avatar->setAnimation(L"taniec");
    EXPECT_FLOAT_EQ(avatar->mAnimTime, 0.0f);
    EXPECT_TRUE(avatar->isPlaying(L"taniec"));
    avatar->update(dog.get());
    EXPECT_FLOAT_EQ(avatar->mAnimTime, 0.0f) << "a range of 0..0 starts again every step";
}

TEST_F(Figure, AnEatingFigureKeepsItsPlaceOnThePath)
{
    avatar->update(dog.get());
    EXPECT_FLOAT_EQ(avatar->mPlaceTime, 0.2f);
    avatar->playThen(L"jedzenie");
    avatar->update(dog.get());
    EXPECT_FLOAT_EQ(avatar->mPlaceTime, 0.2f);
    avatar->setAnimation(L"jedzenie_chodzac");
    avatar->update(dog.get());
    EXPECT_FLOAT_EQ(avatar->mPlaceTime, 0.2f);
}

// ---- markers and drawing

TEST_F(Figure, AHungryAnimalShowsLayerThreeAndAnUnwellOneLayerTwoOnly)
{
    float3 place;
    EXPECT_EQ(drawnLayers(&place), (std::set<int>{4}));
    EXPECT_NEAR(place.x, placeStart.x, 1e-3f);
    EXPECT_NEAR(avatar->mPosition.y, placeStart.y, 1e-3f);
    EXPECT_EQ(avatar->mDrawn, 1);

    dog->mHunger = 3;
    avatar->update(dog.get());
    EXPECT_EQ(drawnLayers(), (std::set<int>{3, 4}));
    dog->mHealth = 6;
    avatar->update(dog.get());
    EXPECT_EQ(drawnLayers(), (std::set<int>{2, 4}));

    // Neither while the camera follows an animal, nor on the trick show's stage.
    camera->mFollowAnimal = dog.get();
    EXPECT_EQ(drawnLayers(), (std::set<int>{4}));
    camera->mFollowAnimal = nullptr;
    Singleton<TeachTrick>::get()->setVisible(1);
    avatar->update(dog.get());
    Singleton<TeachTrick>::get()->setVisible(0);
    EXPECT_EQ(drawnLayers(), (std::set<int>{4}));
}

TEST_F(Figure, AShortCoatMaskIsPaddedSoTheMarkersKeepTheirLayers)
{
    avatar.reset(new AnimalAvatar("data/3dn/dog.3dn", "helper_pies1", 1, placeScene.get(), L"dog", 1));
    avatar->mFigure = figure.get();
    dog->mAvatar = avatar.get();
    dog->mHunger = 2;
    avatar->update(dog.get());
    // Mask "1" becomes "1001": layer 2 stays off, the hungry layer 3 on, the body beyond the mask.
    EXPECT_EQ(drawnLayers(), (std::set<int>{3, 4}));
}

TEST_F(Figure, WalksAlongItsPlacePathAndStaysHiddenAtAPlaceTheSceneLacks)
{
    for (int i = 0; i < 50; ++i)
        avatar->update(dog.get());
    float3 place;
    drawnLayers(&place);
    EXPECT_NEAR(place.x, placeStart.x + 0.2f * 10.0f, 1e-2f) << "ten place frames on";

    AnimalAvatar lost("data/3dn/dog.3dn", "helper_nowhere", 1, placeScene.get(), L"dog", 0);
    lost.mFigure = figure.get();
    Render& render = headlessEngine().render;
    render.begin(nullptr, 0.0f, 1.3333f);
    lost.draw();
    EXPECT_TRUE(queuedLayers(figure.get()).empty());
    render.end(true, true, true);
    EXPECT_EQ(lost.mDrawn, 0);
}

// ---- pointing and clicking

TEST_F(Figure, APointedAnimalShowsItsNameAndAHeldButtonClicksItOnce)
{
    drawnLayers();
    // Held while away from the animal, then moved onto it: one click.
    setPointer(0.1f, 0.1f, 1);
    avatar->update(dog.get());
    EXPECT_EQ(camera->mFollowAnimal, nullptr);
    EXPECT_EQ(Singleton<Cursors>::get()->hoverFlag, 0);
    Singleton<MenuIngame>::get()->mOpenFold = 2;
    setPointer(0.5f, 0.5f, 1);
    avatar->update(dog.get());
    EXPECT_EQ(Singleton<Cursors>::get()->hoverFlag, 1);
    EXPECT_EQ(Singleton<Cursors>::get()->hoverText, L"Rex");
    EXPECT_EQ(camera->mFollowAnimal, dog.get());
    EXPECT_EQ(Singleton<MenuIngame>::get()->mOpenFold, 0);

    // Still held after the camera let go: no second click until the button is up.
    camera->reset();
    avatar->update(dog.get());
    EXPECT_EQ(camera->mFollowAnimal, nullptr);
    setPointer(0.5f, 0.5f, 0);
    avatar->update(dog.get());
    EXPECT_EQ(avatar->mClickLatch, 0);
    setPointer(0.5f, 0.5f, 1);
    avatar->update(dog.get());
    EXPECT_EQ(camera->mFollowAnimal, dog.get());
}

TEST_F(Figure, NothingIsPointedAtWhileAPanelIsOpenOrTheCameraZoomsIn)
{
    drawnLayers();
    setPointer(0.5f, 0.5f, 1);
    Singleton<MenuBuyFood>::get()->setVisible(1);
    avatar->update(dog.get());
    Singleton<MenuBuyFood>::get()->setVisible(0);
    EXPECT_EQ(Singleton<Cursors>::get()->hoverFlag, 0);
    camera->mFov = 40.0f;
    avatar->update(dog.get());
    EXPECT_EQ(Singleton<Cursors>::get()->hoverFlag, 0);
    EXPECT_EQ(camera->mFollowAnimal, nullptr);
    camera->mFov = 60.0f;
    avatar->update(dog.get());
    EXPECT_EQ(camera->mFollowAnimal, dog.get()) << "the latch stayed open meanwhile";
}

// ---- the park animal's step

TEST_F(Figure, TheParkStepSetsHappinessAndEndsTheMealWhenEatingStops)
{
    dog->mHunger = 3;
    dog->mHealth = 4;
    AnimalAvatar::updateInPark(dog.get());
    EXPECT_EQ(dog->mHappiness, 2);
    dog->mHunger = dog->mHealth = 7;
    dog->mFed = 1;
    avatar->playThen(L"jedzenie");
    AnimalAvatar::updateInPark(dog.get());
    EXPECT_EQ(dog->mHappiness, 4);
    EXPECT_EQ(dog->mFed, 1);
    for (int i = 0; i < 200; ++i)
        AnimalAvatar::updateInPark(dog.get());
    EXPECT_EQ(dog->mFed, 0);

    // At the doctor the figure stands still and is not drawn.
    dog->mAtDoctor = 1;
    float time = avatar->mAnimTime;
    AnimalAvatar::updateInPark(dog.get());
    EXPECT_FLOAT_EQ(avatar->mAnimTime, time);
    Render& render = headlessEngine().render;
    render.begin(nullptr, 0.0f, 1.3333f);
    dog->drawAvatar();
    EXPECT_TRUE(queuedLayers(figure.get()).empty());
    render.end(true, true, true);
}

// ---- named effects

TEST(Effects, NamesDifferingInCaseShareOneEntryHoldingTheLaterEffect)
{
    ParkFolder folder;
    FXManager* effects = Singleton<FXManager>::get();
    effects->clear();
    FX* first = new FX("fx_a.3dn");
    FX* second = new FX("fx_b.3dn");
    effects->add(L"Sparkle", first);
    effects->add(L"SPARKLE", second);
    ASSERT_EQ(effects->mEffects.size(), 1u);
    EXPECT_EQ(effects->mEffects.begin()->first, L"sparkle");
    EXPECT_EQ(effects->mEffects.begin()->second, second);
    for (int i = 0; i < 100; ++i)
        effects->update();
    EXPECT_NEAR(second->mTime, 3.0f, 1e-4f);
    effects->clear();
    EXPECT_TRUE(effects->mEffects.empty());
}

TEST(Effects, AnEffectDrawsEveryLayerOfItsSceneWhereItIsPut)
{
    ParkFolder folder;
    SceneBuilder b;
    b.addMaterial(MaterialDesc("plain"));
    b.setAnimation(10, 30);
    for (int layer : {0, 8, 20})
        b.addMesh("part" + std::to_string(layer), box(1, 1, 1), 0, Track{identity()}, layer);
    auto scene = folder.scene("data/3dn/fx_test.3dn", b);
    FX fx("fx_test.3dn");
    CRender::Object* requested = fx.mScene;
    fx.mScene = scene.get();
    float4x3 world;
    world.m[0][0] = world.m[1][1] = world.m[2][2] = 1;
    world.m[0][3] = 5;
    Render& render = headlessEngine().render;
    render.begin(nullptr, 0.0f, 1.3333f);
    fx.draw(world);
    float3 place;
    EXPECT_EQ(queuedLayers(scene.get(), &place), (std::set<int>{0, 8, 20}));
    EXPECT_FLOAT_EQ(place.x, 5.0f);
    render.end(true, true, true);
    fx.mScene = requested;
}

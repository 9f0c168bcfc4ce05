// The in-game HUD: treating and feeding the animal the camera is on, the fold buttons, the
// camera buttons, the park-wide buttons, the pause, and the places of what follows the edges.

#include "HudTestSupport.h"

#include "fixtures/RecordingDevice.h"
#include "render/render.h"
#include "game/MonthBalance.h"
#include "park/AnimalAvatar.h"
#include "park/GameCamera.h"
#include "park/OnePerson.h"
#include "park/PublicManager.h"
#include "park/SlideCamera.h"
#include "render/external/bg_loader.h"
#include "source_menu/HudFold.h"
#include "source_menu/Happiness.h"
#include "source_menu/Progress.h"

using namespace hud;

namespace {

// ---- treatment

class Treatment : public HudTest {
protected:
    void SetUp() override
    {
        HudTest::SetUp();
        storage->mGlobalSettings->mAnimalTreatCost = 700;
        animal = addAnimal(L"dog", 7, 0);
        camera()->mFollowAnimal = animal;
    }

    void clickTreat() { clickButton(hudScreen->mTreatButton); }
    // The popup closed again: the HUD stands while it is open.
    void closePopup()
    {
        screens::hideNow(screens::of<Popup>());
        Singleton<MenuDateBar>::get()->checkModal();
        Singleton<MenuManager>::get()->mCurrentMenu = L"popupend";
    }
    // The answer the popup writes.
    void answer(int value)
    {
        Popup* popup = Singleton<Popup>::get();
        ASSERT_EQ(popup->result, &hudScreen->mTreatAnswer);
        *popup->result = value;
        closePopup();
    }

    DataAnimal* animal = nullptr;
};

TEST_F(Treatment, CostsTheFullPriceAtHealthZeroAndASeventhRoundedDownAtSix)
{
    clickTreat();
    EXPECT_EQ(hudScreen->mTreatCost, 700);
    Popup* popup = Singleton<Popup>::get();
    EXPECT_EQ(popup->buttons, 1);
    EXPECT_EQ(popup->title, L"Vet");
    EXPECT_EQ(popup->text, L"Pay 700 coins (100%) for the vet?");

    closePopup();
    animal->mHealth = 6;
    storage->mGlobalSettings->mAnimalTreatCost = 100;
    hudScreen->mTreatAnswer = -1;
    clickTreat();
    EXPECT_EQ(hudScreen->mTreatCost, 14);
}

TEST_F(Treatment, OkCuresChargesAndBooksIt)
{
    animal->mSick = 1;
    clickTreat();
    answer(1);
    const int before = cash()->mCash;
    hudScreen->update();
    EXPECT_EQ(animal->mHealth, 7);
    EXPECT_EQ(animal->mSick, 0);
    EXPECT_EQ(cash()->mCash, before - 700);
    EXPECT_EQ(storage->mBalanceThisMonth->mValues[t_PetsMedicalCare], -700);
    EXPECT_EQ(storage->mStatThisMonth->mValues[t_PetsMedicalCare], 1);
    EXPECT_EQ(hudScreen->mTreatAnswer, -1);
}

TEST_F(Treatment, CancelLeavesAnimalAndCashAlone)
{
    clickTreat();
    answer(0);
    const int before = cash()->mCash;
    for (int i = 0; i < 3; ++i)
        hudScreen->update();
    EXPECT_EQ(animal->mHealth, 0);
    EXPECT_EQ(cash()->mCash, before);
}

TEST_F(Treatment, CashBelowTheFullPriceSaysSoEvenWhenTheCostWouldBeLess)
{
    animal->mHealth = 6;   // would cost 100
    cash()->mCash = 100;
    clickTreat();
    Popup* popup = Singleton<Popup>::get();
    EXPECT_EQ(popup->text, L"Not enough cash.");
    EXPECT_EQ(popup->buttons, 0);
    EXPECT_EQ(popup->result, nullptr);
    EXPECT_EQ(hudScreen->mTreatCost, 0);
    EXPECT_EQ(cash()->mCash, 100);
}

TEST_F(Treatment, TheParksVetCuresForNothingAndStillCountsTheTreatment)
{
    addBuilding("OtherVet.txt");
    const int before = cash()->mCash;
    clickTreat();
    hudScreen->update();
    EXPECT_EQ(animal->mHealth, 7);
    EXPECT_EQ(cash()->mCash, before);
    EXPECT_EQ(storage->mStatThisMonth->mValues[t_PetsMedicalCare], 1);
}

TEST_F(Treatment, AnOkGivenForOneAnimalIsNotSpentOnAnother)
{
    clickTreat();
    answer(1);
    DataAnimal* other = addAnimal(L"cat", 7, 2);
    camera()->mFollowAnimal = other;
    const int before = cash()->mCash;
    hudScreen->update();
    EXPECT_EQ(other->mHealth, 2);
    EXPECT_EQ(animal->mHealth, 0);
    EXPECT_EQ(cash()->mCash, before);
    EXPECT_EQ(hudScreen->mTreatAnswer, -1);
}

TEST_F(Treatment, AHealthyAnimalHasNoTreatButtonToClick)
{
    animal->mHealth = 7;
    clickTreat();
    EXPECT_EQ(hudScreen->mTreatAnswer, -1);
    EXPECT_EQ(Singleton<MenuManager>::get()->currentMenu(), L"nomenu");
}

// ---- feeding

TEST_F(HudTest, FeedGivesOnePortionAndClosesThePanels)
{
    DataAnimal* animal = addAnimal(L"dog", 3, 7);
    storage->mGlobalSettings->mFoodStored = 5;
    Singleton<MenuManager>::get()->runCommand(L"buyfood");
    screens::settle();
    camera()->mFollowAnimal = animal;
    ASSERT_TRUE(Singleton<MenuBuyFood>::get()->isVisible());
    clickButton(hudScreen->mFeedButton);
    EXPECT_EQ(animal->mHunger, 4);
    EXPECT_EQ(storage->mGlobalSettings->mFoodStored, 4);
    EXPECT_EQ(Singleton<MenuManager>::get()->currentMenu(), L"nomenu");
    EXPECT_EQ(screens::showState(Singleton<MenuBuyFood>::get()), kShowDisappearing);
}

// ---- fold buttons

class FoldButtons : public HudTest {
protected:
    // A release over the fold button of fold n.
    int release(int n)
    {
        return soundsPlayed("click", [&] {
            if (n == 1)
                hudScreen->onWidget4(2, kLayerReleased);
            else if (n == 2)
                hudScreen->onWidget3(2, kLayerReleased);
            else
                hudScreen->onWidget2(2, kLayerReleased);
        });
    }
    Container* fold(int n)
    {
        return n == 1 ? screens::of<MenuIngameFold1>() : n == 2 ? screens::of<MenuIngameFold2>()
                                                                : screens::of<MenuIngameFold3>();
    }
};

TEST_F(FoldButtons, OpenSwapAndCloseOneFoldAtATime)
{
    EXPECT_EQ(release(1), 1);
    EXPECT_EQ(hudScreen->mOpenFold, 1);
    EXPECT_EQ(screens::showState(fold(1)), kShowAppearing);
    screens::settle();

    camera()->mFollowAnimal = addAnimal(L"dog", 7, 7);
    EXPECT_EQ(release(2), 1);
    EXPECT_EQ(hudScreen->mOpenFold, 2);
    EXPECT_EQ(screens::showState(fold(1)), kShowDisappearing);
    EXPECT_EQ(screens::showState(fold(2)), kShowAppearing);
    EXPECT_EQ(camera()->mFollowAnimal, nullptr);   // opening a fold ends following
    screens::settle();

    EXPECT_EQ(release(2), 1);
    EXPECT_EQ(hudScreen->mOpenFold, 0);
    EXPECT_EQ(screens::showState(fold(2)), kShowDisappearing);
}

TEST_F(FoldButtons, AClickDuringATransitionDoesNothingAndIsSilent)
{
    release(3);
    ASSERT_EQ(screens::showState(fold(3)), kShowAppearing);
    EXPECT_EQ(release(1), 0);
    EXPECT_EQ(hudScreen->mOpenFold, 3);
    EXPECT_EQ(screens::showState(fold(1)), kShowHidden);
}

TEST_F(FoldButtons, AfterTheParkHidTheFoldTheFirstClickOnlyForgetsIt)
{
    release(1);
    screens::settle();
    screens::hideNow(fold(1));   // as the park view does when a visitor is picked
    EXPECT_EQ(release(1), 1);
    EXPECT_EQ(hudScreen->mOpenFold, 0);
    EXPECT_EQ(screens::showState(fold(1)), kShowHidden);
    release(1);
    EXPECT_EQ(hudScreen->mOpenFold, 1);
    EXPECT_EQ(screens::showState(fold(1)), kShowAppearing);
}

TEST_F(FoldButtons, ThePointerOverFoldThreesButtonIsReported)
{
    EXPECT_FALSE(hudScreen->isFold3ButtonActive());
    hudScreen->mWidget2->setLayerState(kLayerOver);
    EXPECT_TRUE(hudScreen->isFold3ButtonActive());
    hudScreen->mWidget2->setLayerState(kLayerNormal);
}

// ---- camera buttons

TEST_F(HudTest, HeldCameraButtonsTurnAndZoomEveryUpdateAndAllButZoomOutClickOnRelease)
{
    GameCamera* cam = camera();
    const float yaw = cam->mTargetYaw;
    hudScreen->onWidget6(2, kLayerClick);
    hudScreen->onWidget6(2, kLayerClick);
    EXPECT_NE(cam->mTargetYaw, yaw);
    const float3 position = cam->mTargetPosition;
    hudScreen->onWidget7(2, kLayerClick);
    EXPECT_NE(cam->mTargetPosition.z, position.z);

    EXPECT_EQ(soundsPlayed("click", [&] { hudScreen->onWidget5(2, kLayerReleased); }), 1);
    EXPECT_EQ(soundsPlayed("click", [&] { hudScreen->onWidget6(2, kLayerReleased); }), 1);
    EXPECT_EQ(soundsPlayed("click", [&] { hudScreen->onWidget7(2, kLayerReleased); }), 0);
    EXPECT_EQ(soundsPlayed("click", [&] { hudScreen->onWidget8(2, kLayerReleased); }), 1);
}

TEST_F(HudTest, ClosingAPanelEndsFollowingOnlyWhenThereIsSomethingToClose)
{
    EXPECT_EQ(soundsPlayed("click", [&] { hudScreen->onWidget16(1, kLayerClick); }), 0);
    camera()->mFollowAnimal = addAnimal(L"dog", 7, 7);
    EXPECT_EQ(soundsPlayed("click", [&] { hudScreen->onWidget16(1, kLayerClick); }), 1);
    EXPECT_EQ(camera()->mFollowAnimal, nullptr);
}

// ---- presses on the HUD over the park

// A dog, a walker and a hotel's marker lie behind every point of the screen (the pointing radius
// spans the park). A press on the middle of a shown widget of the HUD, a fold or a panel, or of a
// button they draw, found on the live widgets at 4:3 and 16:9, is the widget's alone.
TEST_F(HudTest, APressOnAShownWidgetPicksNothingInTheParkBehindIt)
{
    GameBackground3D* park = Singleton<GameBackground3D>::get();
    MenuIngameFold1* fold1 = Singleton<MenuIngameFold1>::get();
    MenuIngameFold2* fold2 = Singleton<MenuIngameFold2>::get();
    MenuIngameFold3* fold3 = Singleton<MenuIngameFold3>::get();
    Container* const hudScreens[4] = {hudScreen, fold1, fold2, fold3};   // the HUD, then fold n
    Container* const dateBar = bound<MenuDateBar>("MenuDateBar");
    for (Container* screen : std::initializer_list<Container*>{hudScreen, fold1, fold2, fold3, dateBar})
        screen->load();   // a widget button takes a press on an opaque texel of its picture
    bgLoader.waitUntilIdle();
    storage->mGlobalSettings->mMouseRadiusAccuracy = 1e4f;
    data.write("data/game/Buildings/OtherHotel.txt", "[slide camera]\nHotel\nmarker\ncam 10 1\n");
    SlideCamera* marker = addBuilding("OtherHotel.txt")->mSlideCameras.at(0);
    DataAnimal* dog = addAnimal(L"dog", 7, 7);
    AnimalAvatar figure("data/3dn/dog.3dn", "helper_pies1", 0, nullptr, L"dog", 0);
    figure.mPlaceNode = 0;
    OnePerson walker, panelVisitor;
    walker.mNodeIndex = 0;
    walker.mPathLength = 1e9f;
    std::vector<OnePerson*>& walkers = Singleton<PublicManager>::get()->mWalkers;
    walkers.push_back(&walker);
    DataAnimal* panelAnimal = addAnimal(L"cat", 7, 7);

    auto step = [&] {
        for (Container* screen : hudScreens)
            screen->update();
        dateBar->Container::update();   // its widgets only: no park step
        park->update();
        figure.update(dog);
    };
    struct Scene {
        int fold;
        DataAnimal* animal;
        OnePerson* visitor;
    };
    // A frame: the HUD's panels show or hide as the camera follows.
    auto draw = [&](int fold) {
        hudScreen->draw();
        hudScreens[fold]->draw();
        dateBar->draw();   // its shade shows only while paused
    };
    // The HUD at rest over the shown park: fold n open (0: none), the camera on the panel's animal
    // or visitor, one notice, and the park-wide buttons when the park has its assistants.
    auto prepare = [&](const Scene& scene) {
        point(-1.0f, -1.0f, 0);
        screens::hideAll();
        Singleton<MenuManager>::get()->mCurrentMenu = L"nomenu";
        Singleton<MenuDateBar>::get()->modal = 0;
        camera()->reset();
        camera()->mFollowAnimal = scene.animal;
        camera()->mFollowPerson = scene.visitor;
        panelAnimal->mHunger = panelAnimal->mHealth = 3;   // Feed and Treat show
        marker->mFadingIn = marker->mFadingOut = marker->mPlaying = 0;
        marker->mHoverDistance = 0.0f;   // measured right under the pointer
        hudScreen->removeAchievementNotice(0);
        hudScreen->mNotices.push_back(new Achievement(storage->mAchievements[0]));
        hudScreen->mAllButtonsAlpha = storage->hasAssistants() ? 1.0f : 0.0f;
        hudScreen->mOpenFold = scene.fold;
        for (Container* screen : std::initializer_list<Container*>{park, dateBar, hudScreen, hudScreens[scene.fold]})
            screen->setStateAll("game", kShowShown, 250);
        dateBar->update();
        step();   // the screens' first appearing step shows them
        screens::settle();
        draw(scene.fold);
    };

    RecordingDevice* device = dynamic_cast<RecordingDevice*>(Render::current()->getDevice());
    for (const Scene& scene : {Scene{1, nullptr, nullptr}, Scene{3, nullptr, nullptr}, Scene{0, panelAnimal, nullptr},
                               Scene{0, nullptr, &panelVisitor}, Scene{2, nullptr, nullptr}}) {
        if (scene.fold == 2)
            addBuilding("OtherAssistants.txt");   // the park-wide buttons show beside fold 2
        for (int width : {1024, 1366}) {
            device->setScreenSize(width, 768);
            prepare(scene);
            struct Press {
                float x, y;
                WidgetBase* widget;
                const Button* button;
            };
            std::vector<Press> presses;
            for (Container* screen : std::initializer_list<Container*>{hudScreen, fold1, fold2, fold3, dateBar})
                for (WidgetBase* widget : screen->mChildren)
                    if (screen->isVisible() && widget->isVisible()) {
                        const float4 r = widget->getCurrentRect(), t = widget->getTransform();
                        presses.push_back(
                            {t.x + r.x + 0.5f * r.z * t.z, t.y + r.y + 0.5f * r.w * t.w, widget, nullptr});
                    }
            const float left = hudfold::offsetOf(hudScreens[scene.fold]->mChildren[0]).first;
            const float right = MenuIngame::rightEdge() - 1.0f;
            const std::vector<std::pair<const Button*, float>> buttons[4] = {
                {{hudScreen->mFeedButton, 0.0f}, {hudScreen->mTreatButton, 0.0f}},
                {{fold1->mFoodButton, left}, {fold1->mPetBuySellButton, left}, {fold1->mPetsListButton, left}},
                {{fold2->mBuildingsButton, left}, {fold2->mBuildingBuySellButton, left}, {fold2->mFinancesButton, left},
                 {hudScreen->mCleanAllButton, right}, {hudScreen->mRepairAllButton, right},
                 {hudScreen->mFeedAllButton, right}},
                {{fold3->mOptionsButton, left}, {fold3->mTutorialButton, left}, {fold3->mExitButton, left}}};
            for (const auto& [button, offset] : buttons[scene.fold]) {
                const float4 picture = Singleton<ButtonBar>::get()->getIconImage(button->kind, 0)->getRect();
                if (!scene.visitor)
                    presses.push_back({button->x + offset + 0.5f * picture.z, button->y, nullptr, button});
            }

            for (const Press& press : presses) {
                SCOPED_TRACE(std::to_string(width) + " fold " + std::to_string(scene.fold) + " " +
                             (press.widget ? press.widget->name : "button") + " at " + std::to_string(press.x) + " " +
                             std::to_string(press.y));
                prepare(scene);
                point(press.x, press.y, 1);
                step();
                auto* widgetButton = dynamic_cast<WidgetButton*>(press.widget);
                EXPECT_EQ(widgetButton ? widgetButton->getLayerStates().second : kLayerClick, kLayerClick);
                // Held over frames: a widget that hides on the press (a panel's close button)
                // leaves the press over the park, which it still does not reach.
                for (int held = 0; held < 3; ++held) {
                    draw(scene.fold);
                    step();
                }
                point(press.x, press.y, 0);
                const int clicks = soundsPlayed("click", step);
                EXPECT_TRUE(!press.button || clicks == 1);   // the button's click
                EXPECT_NE(camera()->mFollowAnimal, dog);
                EXPECT_NE(camera()->mFollowPerson, &walker);
                EXPECT_FALSE(marker->mFadingIn || marker->mFadingOut || marker->mPlaying);
                if (press.widget == hudScreen->mWidget16 || press.widget == hudScreen->mWidget22) {
                    // The panel closed; a new press there begins over the park and picks.
                    EXPECT_FALSE(camera()->mFollowAnimal || camera()->mFollowPerson);
                    draw(scene.fold);
                    point(press.x, press.y, 1);
                    step();
                    EXPECT_EQ(marker->mFadingIn, 1);
                }
            }
        }
    }
    device->setScreenSize(1024, 768);

    // Paused, the date bar's shade lies over the park: a marker under it is hovered, but a press
    // starts no show; nor does one under a popup.
    MenuDateBar* bar = Singleton<MenuDateBar>::get();
    for (int paused : {1, 0}) {
        SCOPED_TRACE(paused ? "paused" : "a popup");
        prepare(Scene{0, nullptr, nullptr});
        bar->paused = paused;
        bar->modal = !paused;
        draw(0);
        point(0.5f, 0.5f, 0);
        step();
        EXPECT_EQ(marker->mHovered, 1);
        point(0.5f, 0.5f, 1);
        step();
        EXPECT_EQ(marker->mFadingIn, 0);
    }
    bar->paused = bar->modal = 0;

    walkers.erase(std::find(walkers.begin(), walkers.end(), &walker));
    for (Container* screen : std::initializer_list<Container*>{hudScreen, fold1, fold2, fold3, dateBar})
        screen->unload();
}

// ---- park-wide buttons

class ParkWide : public HudTest {
protected:
    void SetUp() override
    {
        HudTest::SetUp();
        Singleton<MenuIngameFold2>::get()->setStateAll("game", kShowShown, 250);
        screens::settle();
    }
    void clickAll(Button* button)
    {
        clickButton(button, MenuIngame::rightEdge() - 1.0f);
    }
};

TEST_F(ParkWide, FadeInOnlyWithTheAssistantsAndAFoldOut)
{
    hudScreen->update();
    EXPECT_EQ(hudScreen->mAllButtonsAlpha, 0.0f);
    addBuilding("OtherAssistants.txt");
    for (int i = 0; i < 10; ++i)
        hudScreen->update();
    EXPECT_NEAR(hudScreen->mAllButtonsAlpha, 0.3f, 1e-5);
    for (int i = 0; i < 30; ++i)
        hudScreen->update();
    EXPECT_EQ(hudScreen->mAllButtonsAlpha, 1.0f);
    screens::hideNow(screens::of<MenuIngameFold2>());
    hudScreen->update();
    EXPECT_NEAR(hudScreen->mAllButtonsAlpha, 0.97f, 1e-5);
}

TEST_F(ParkWide, RepairAllOrdersEachWornBuildingOnce)
{
    addBuilding("OtherAssistants.txt");
    DataBuilding* worn = addBuilding("DogHouse2.txt");
    worn->mCondition = 4;
    const int before = cash()->mCash;
    clickAll(hudScreen->mRepairAllButton);
    EXPECT_EQ(worn->mRepairing, 1);
    const int charged = before - cash()->mCash;
    EXPECT_EQ(charged, 3 * storage->mGlobalSettings->mBuildingRepairCostPerPart);
    clickAll(hudScreen->mRepairAllButton);
    EXPECT_EQ(before - cash()->mCash, charged);   // already ordered: not charged again
}

TEST_F(ParkWide, CleanAllOrdersEachDirtyBuilding)
{
    addBuilding("OtherAssistants.txt");
    DataBuilding* dirty = addBuilding("DogHouse2.txt");
    dirty->mCleanness = 6;
    clickAll(hudScreen->mCleanAllButton);
    EXPECT_EQ(dirty->mCleaning, 1);
    for (DataBuilding* building : storage->mParkBuildings)
        EXPECT_EQ(building->mCleaning, building == dirty ? 1 : 0);
}

TEST_F(ParkWide, FeedAllFillsUpInListOrderAndStopsWhenTheStoreIsEmpty)
{
    addBuilding("OtherAssistants.txt");
    for (DataAnimal* animal : storage->mParkAnimals)
        animal->mHunger = 7;
    DataAnimal* first = addAnimal(L"dog", 4, 7);
    DataAnimal* second = addAnimal(L"cat", 2, 7);
    storage->mGlobalSettings->mFoodStored = 5;
    clickAll(hudScreen->mFeedAllButton);
    EXPECT_EQ(first->mHunger, 7);
    EXPECT_EQ(second->mHunger, 4);
    EXPECT_EQ(storage->mGlobalSettings->mFoodStored, 0);
    EXPECT_EQ(Singleton<Popup>::get()->title, L"No food");
}

TEST_F(ParkWide, NothingReactsWhileThePauseIsOn)
{
    addBuilding("OtherAssistants.txt");
    DataBuilding* worn = addBuilding("DogHouse2.txt");
    worn->mCondition = 4;
    Singleton<MenuDateBar>::get()->paused = 1;
    clickAll(hudScreen->mRepairAllButton);
    EXPECT_EQ(worn->mRepairing, 0);
    EXPECT_EQ(hudScreen->mAllButtonsAlpha, 0.0f);
    Singleton<MenuDateBar>::get()->paused = 0;
}

// ---- what follows the edges

class HudEdges : public HudTest {
protected:
    void TearDown() override
    {
        device()->setScreenSize(1024, 768);
        HudTest::TearDown();
    }
    RecordingDevice* device() { return dynamic_cast<RecordingDevice*>(Render::current()->getDevice()); }
    // A wide window: the layout's 4:3 band in the middle of a 16:10 screen.
    void widen() { device()->setScreenSize(1280, 800); }
};

TEST_F(HudEdges, OnAWideScreenTheBarHugsTheLeftEdgeAndTheNoticesTheRight)
{
    widen();
    const float left = MenuIngame::leftEdge();
    const float right = MenuIngame::rightEdge();
    EXPECT_NEAR(left, -0.1f, 1e-4);
    EXPECT_NEAR(right, 1.1f, 1e-4);
    storage->mAchievements[0]->mDone = 1;
    hudScreen->mNotices.push_back(new Achievement(storage->mAchievements[0]));
    hudScreen->draw();
    EXPECT_EQ(hudScreen->mWidget0->getImages()[0]->getRect().x, left);
    MyImage* foldButton = hudScreen->mWidget4->getImages()[0];
    EXPECT_NEAR(foldButton->getRect().x, left + foldButton->getInitialRect().x, 1e-6);
    // A camera button's pressed picture follows the edge too: a held press is tested on it.
    ASSERT_EQ(hudScreen->mWidget5->getImages().size(), 3u);
    for (MyImage* picture : hudScreen->mWidget5->getImages())
        EXPECT_NEAR(picture->getRect().x, left + picture->getInitialRect().x, 1e-6);
    MyImage* backdrop = hudScreen->mWidget1->getImages()[0];
    EXPECT_NEAR(backdrop->getRect().x, right - 1.0f + backdrop->getInitialRect().x, 1e-6);
    EXPECT_NEAR(hudScreen->mButtons2[0]->getOffset().first, right - 1.0f, 1e-6);
    EXPECT_EQ(Singleton<Tutorial>::get()->bandLeft, left);
    EXPECT_TRUE(hudScreen->mButtons2[0]->isVisible());
    EXPECT_FALSE(hudScreen->mButtons2[1]->isVisible());
}

TEST_F(HudTest, ThePanelsShowWhatTheCameraIsOn)
{
    hudScreen->draw();
    EXPECT_FALSE(hudScreen->mWidget12->isVisible());
    EXPECT_FALSE(hudScreen->mWidget17->isVisible());

    DataAnimal* animal = addAnimal(L"dog", 3, 9, 4);
    animal->mName = L"Bello";
    camera()->mFollowAnimal = animal;
    hudScreen->draw();
    EXPECT_TRUE(hudScreen->mWidget12->isVisible());
    EXPECT_TRUE(hudScreen->mWidget16->isVisible());
    EXPECT_EQ(hudScreen->mWidget13->getText(0), L"Bello");
    EXPECT_EQ(hudScreen->mHungerGauge->level, 3);
    EXPECT_EQ(hudScreen->mHealthGauge->level, 7);
    EXPECT_EQ(hudScreen->mPetHappiness->level, 4);
    EXPECT_FALSE(hudScreen->mWidget17->isVisible());

    Opinion opinion;
    opinion.mTag = L"Lovely";
    opinion.mText = L"What a clean park.";
    opinion.mRating = 3;
    OnePerson person;
    person.mName = L"Ann Lee";
    person.mOpinion = &opinion;
    camera()->reset();
    camera()->mFollowPerson = &person;
    hudScreen->draw();
    EXPECT_FALSE(hudScreen->mWidget12->isVisible());
    EXPECT_TRUE(hudScreen->mWidget22->isVisible());
    EXPECT_EQ(hudScreen->mWidget18->getText(0), L"Ann Lee");
    EXPECT_EQ(hudScreen->mWidget19->getText(0), L"Lovely");
    EXPECT_EQ(hudScreen->mWidget21->getText(0), L"What a clean park.");
    EXPECT_EQ(hudScreen->mVisitorHappiness->level, 3);
    camera()->reset();
}

} // namespace

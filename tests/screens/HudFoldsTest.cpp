// The HUD's folds: the gauges per kind, the food label, the command words of their buttons and
// the tutorial switch.

#include "HudTestSupport.h"

#include "fixtures/RecordingDevice.h"

#include "source_menu/Happiness.h"
#include "source_menu/Progress.h"

using namespace hud;

namespace {

class Folds : public HudTest {
protected:
    void SetUp() override
    {
        HudTest::SetUp();
        for (DataAnimal* animal : storage->mParkAnimals)
            storage->retire(animal);
        storage->mParkAnimals.clear();
        storage->mParkBuildings.clear();
    }

    template <class Fold>
    Fold* open()
    {
        Fold* fold = Singleton<Fold>::get();
        screens::settle();  // a fold still going out cannot be shown
        fold->setStateAll("game", kShowShown, 250);
        screens::settle();
        return fold;
    }
};

TEST_F(Folds, AnimalGaugesAverageAndRoundDown)
{
    addAnimal(L"dog", 7, 6, 4);
    addAnimal(L"dog", 3, 2, 1);
    addAnimal(L"cat", 5, 5, 3);
    const MenuIngameFold1::KindSummary dogs = MenuIngameFold1::summarize(L"dog");
    EXPECT_EQ(dogs.count, 2);
    EXPECT_EQ(dogs.care, 4);   // (18 / 2) / 2
    EXPECT_EQ(dogs.mood, 2);   // 5 / 2
    EXPECT_EQ(MenuIngameFold1::summarize(L"cat").care, 5);
    EXPECT_EQ(MenuIngameFold1::summarize(L"horse").count, 0);
}

TEST_F(Folds, BuildingGaugesAverageConditionAndCleanness)
{
    DataBuilding* kennel = addBuilding("DogHouse1.txt");
    kennel->mCondition = 7;
    kennel->mCleanness = 4;
    addBuilding("OtherVet.txt");
    int count = 0;
    EXPECT_EQ(MenuIngameFold2::careOfKind(L"dog", &count), 5);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(MenuIngameFold2::careOfKind(L"horse", &count), 0);
    EXPECT_EQ(count, 0);
}

TEST_F(Folds, TheDrawSetsTheLevelsOfThePresentKindsAndTheFoodLabel)
{
    addAnimal(L"cat", 7, 7, 4);
    storage->mGlobalSettings->mFoodStored = 0;
    MenuIngameFold1* fold = open<MenuIngameFold1>();
    fold->mCareGauges[4]->setLevel(3);   // horse: no horse, left alone
    fold->draw();
    EXPECT_EQ(fold->mCareGauges[1]->level, 7);
    EXPECT_EQ(fold->mMoodIndicators[1]->level, 4);
    EXPECT_EQ(fold->mCareGauges[4]->level, 3);
    EXPECT_EQ(fold->mWidget8->getText(0), L"Food in store : 0");
}

TEST_F(Folds, ButtonsSendTheirWords)
{
    // The fold stays open under the panel its button opened: its next button works at once.
    MenuManager* router = Singleton<MenuManager>::get();
    MenuIngameFold1* first = open<MenuIngameFold1>();
    const float left = MenuIngame::leftEdge();
    auto updateFirst = [first] { first->update(); };
    clickButton(first->mFoodButton, left, updateFirst);
    EXPECT_EQ(router->currentMenu(), L"buyfood");
    screens::settle();
    EXPECT_EQ(screens::showState(first), kShowShown);
    clickButton(first->mPetsListButton, left, updateFirst);
    EXPECT_EQ(router->currentMenu(), L"petslist");
    clickButton(first->mPetBuySellButton, left, updateFirst);
    EXPECT_EQ(router->currentMenu(), L"petbuysell");
    first->onWidget7(2, kLayerReleased);
    EXPECT_EQ(router->currentMenu(), L"petsshow");

    first->setStateAll("game", kShowHidden, 250);
    MenuIngameFold2* second = open<MenuIngameFold2>();
    auto updateSecond = [second] { second->update(); };
    clickButton(second->mBuildingsButton, left, updateSecond);
    EXPECT_EQ(router->currentMenu(), L"buildingslist");
    clickButton(second->mBuildingBuySellButton, left, updateSecond);
    EXPECT_EQ(router->currentMenu(), L"buildingsbuysell");
    clickButton(second->mFinancesButton, left, updateSecond);
    EXPECT_EQ(router->currentMenu(), L"finances");
    screens::settle();
    EXPECT_EQ(screens::showState(second), kShowShown);
    EXPECT_EQ(screens::showState(Singleton<MenuOrange>::get()), kShowShown);
    // Another fold opened over the frame leaves it open too.
    hudScreen->mOpenFold = 2;
    hudScreen->onWidget4(2, kLayerReleased);
    EXPECT_EQ(screens::showState(first), kShowAppearing);
    EXPECT_EQ(screens::showState(Singleton<MenuOrange>::get()), kShowShown);
    EXPECT_EQ(router->currentMenu(), L"finances");
    screens::settle();

    router->closeAllPanels();
    MenuIngameFold3* third = open<MenuIngameFold3>();
    clickButton(third->mOptionsButton, left, [third] { third->update(); });
    EXPECT_EQ(router->currentMenu(), L"options");

    // On a wide screen every picture of the pet show buttons follows the left edge, the pressed
    // one too: a press shows it and is tested on it, so the release lands on the button.
    router->closeAllPanels();
    RecordingDevice* screen = dynamic_cast<RecordingDevice*>(Render::current()->getDevice());
    screen->setScreenSize(1280, 800);
    const float wideLeft = MenuIngame::leftEdge();
    open<MenuIngameFold1>()->draw();
    open<MenuIngameFold2>()->draw();
    for (WidgetBase* button : {static_cast<WidgetBase*>(first->mWidget7), static_cast<WidgetBase*>(second->mWidget6)}) {
        ASSERT_GE(button->getImages().size(), 3u);
        for (MyImage* picture : button->getImages())
            EXPECT_NEAR(picture->getRect().x, wideLeft + picture->getInitialRect().x, 1e-6);
    }
    screen->setScreenSize(1024, 768);
}

TEST_F(Folds, NoButtonReactsWhileAPopupIsOpen)
{
    MenuIngameFold1* fold = open<MenuIngameFold1>();
    Singleton<MenuDateBar>::get()->modal = 1;
    clickButton(fold->mFoodButton, MenuIngame::leftEdge(), [fold] { fold->update(); });
    Singleton<MenuDateBar>::get()->modal = 0;
    EXPECT_EQ(Singleton<MenuManager>::get()->currentMenu(), L"nomenu");
}

TEST_F(Folds, TheTutorialSwitchTurnsItOnAndStartsOver)
{
    ASSERT_TRUE(saveProfile("data/game/Profiles/profile1.txt", L"Anna", L"a.png", 0, 0, -1, 0, 0, 0));
    storage->scanProfiles("data/game/");
    ASSERT_EQ(storage->mProfiles.size(), 1u);
    storage->mCurrentProfile = 0;
    Tutorial* tutorial = Singleton<Tutorial>::get();
    TutMessage message(1, 2, 0, L"Hello", L"Welcome");
    message.shown = 1;
    tutorial->messages.push_back(&message);
    tutorial->step = 9;
    tutorial->pointerTarget = 4;

    MenuIngameFold3* fold = open<MenuIngameFold3>();
    clickButton(fold->mTutorialButton, MenuIngame::leftEdge(), [fold] { fold->update(); });
    EXPECT_EQ(storage->mProfiles[0]->mTutorial, 1);
    EXPECT_EQ(tutorial->step, 0);
    EXPECT_EQ(tutorial->pointerTarget, -1);
    EXPECT_EQ(message.shown, 0);
    tutorial->messages.pop_back();
    for (DataProfile* profile : storage->mProfiles)
        storage->retire(profile);
    storage->mProfiles.clear();
    storage->mCurrentProfile = -1;
}

TEST_F(Folds, WithoutACurrentProfileTheTutorialSwitchDoesNothing)
{
    Tutorial* tutorial = Singleton<Tutorial>::get();
    tutorial->step = 5;
    storage->mCurrentProfile = -1;
    MenuIngameFold3::restartTutorial();
    EXPECT_EQ(tutorial->step, 5);
    tutorial->step = 0;
}

} // namespace

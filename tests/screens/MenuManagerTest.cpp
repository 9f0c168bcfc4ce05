#include "MainMenuTestSupport.h"
#include "ScreenTestSupport.h"
#include "HudTestSupport.h"
#include "ScreenLayouts.h"

#include "game/ParkTestData.h"

#include "game/CashAccount.h"
#include "game/GameOptions.h"
#include "game/GlobalSettings.h"
#include "game/Profiles.h"
#include "source_menu/Tutorial.h"
#include "source_menu/MenuIngame.h"
#include "park/GameBackground3D.h"
#include "park/GameCamera.h"
#include "game/DataAnimal.h"

#include <gtest/gtest.h>

using namespace screens;

namespace {

const char* const kPublic = "[walking people max]\n10\n\n[helper walking]\npath_a 300\n\n[parking]\n1 2 3\n";
const char* const kTexts = "quitpopuptitle Leaving?\nquitpopuptext Do you really want to go?\n"
                           "Ok Ok\nCancel Cancel\ncurrency coins\nparkdamaged Damaged park\n"
                           "parkdamagedmessage Kept as %ls.\nsavefailed Not saved\n"
                           "savefailedoccupied Something stands at %ls.tmp.\n"
                           "homeless Homeless\nhomelessmessage %d without a home.\n";

class Router : public testing::Test {
protected:
    void SetUp() override
    {
        // The screens the router shows run their own resets.
        menus::bindMenuScreens();
        data.writeDefault();
        data.write("data/game/public.txt", kPublic);
        data.write("data/dat/texts.dat", kTexts);
        textsManager.load("data/dat/texts.dat");
        storage = ParkTestData::load();
        forgetProfiles();
        delete storage->mOptions;
        storage->createOptions("data/game/");
        menu = Singleton<MenuManager>::get();
        menu->mCurrentMenu = L"nomenu";
        menu->mPetsShowOpened = 0;
        menu->mCreditsPending = 0;
        menu->mExitBlocked = 0;
        Singleton<MainMenuChooseProfile>::get()->setSelected(-1);
        Singleton<Tutorial>::get()->seenBy.clear();
        Singleton<Tutorial>::get()->seenByOthers.clear();
        hideAll();
    }
    void TearDown() override
    {
        hideAll();
        forgetProfiles();
        delete storage->mOptions;
        storage->mOptions = nullptr;
    }

    void forgetProfiles()
    {
        for (DataProfile* profile : storage->mProfiles)
            storage->retire(profile);
        storage->mProfiles.clear();
        storage->mCurrentProfile = -1;
    }

    // One profile file, scanned into the list, and the options file.
    void makeProfile(int tutorial = 1)
    {
        ASSERT_TRUE(saveProfile("data/game/Profiles/profile1.txt", L"Anna", L"a.png", tutorial, 0, -1, 0, 0, 0));
        storage->scanProfiles("data/game/");
        ASSERT_EQ(storage->mProfiles.size(), 1u);
        delete storage->mOptions;
        storage->createOptions("data/game/");
    }

    // From the main menu into the game with the first profile.
    void startGame(int tutorial = 1)
    {
        makeProfile(tutorial);
        Singleton<MainMenuChooseProfile>::get()->setSelected(0);
        menu->runCommand(L"mainmenustart");
        settle();
        menu->runCommand(L"gamestart");
        settle();
    }

    ParkTestData data;
    DataStorage* storage = nullptr;
    MenuManager* menu = nullptr;
};

TEST_F(Router, ManagementWordsSwapThePanelsAndKeepTheirOwn)
{
    menu->runCommand(L"finances");
    EXPECT_EQ(showState(of<MenuOrange>()), kShowAppearing);
    EXPECT_EQ(showState(of<MenuOrangeFolds>()), kShowAppearing);
    EXPECT_EQ(menu->currentMenu(), L"finances");
    settle();
    EXPECT_EQ(showState(of<MenuOrange>()), kShowShown);

    // The same word again does nothing: a panel shown meanwhile stays.
    of<MenuBank>()->setStateAll("game", 2, 250);
    menu->runCommand(L"finances");
    EXPECT_EQ(showState(of<MenuBank>()), kShowAppearing);
    settle();

    menu->runCommand(L"buyfood");
    EXPECT_EQ(showState(of<MenuOrange>()), kShowDisappearing);
    EXPECT_EQ(showState(of<MenuOrangeFolds>()), kShowDisappearing);
    EXPECT_EQ(showState(of<MenuTickets>()), kShowDisappearing);
    EXPECT_EQ(showState(of<MenuBuyFood>()), kShowAppearing);
    EXPECT_EQ(menu->currentMenu(), L"buyfood");
    settle();

    // The finance words keep their tab's screen and open the frame on it.
    const struct {
        const wchar_t* word;
        int tab;
    } tabs[] = {{L"tickets", 0}, {L"bank", 1}, {L"statistics", 2}, {L"ranking", 4}};
    for (const auto& entry : tabs) {
        menu->runCommand(entry.word);
        EXPECT_EQ(Singleton<MenuOrange>::get()->requestedTab, entry.tab) << entry.word;
        EXPECT_NE(showState(of<MenuOrange>()), kShowHidden) << entry.word;
        settle();
    }
    EXPECT_EQ(showState(of<MenuBuyFood>()), kShowHidden);
    menu->runCommand(L"buildingslist");
    EXPECT_EQ(Singleton<MenuBlueFolds>::get()->getTabCount(), 6);
    for (Container* screen : {of<MenuBlueFolds>(), of<MenuBuildings>(), of<BuildingsDiscription>()})
        EXPECT_EQ(showState(screen), kShowAppearing);
    EXPECT_EQ(showState(of<MenuOrange>()), kShowDisappearing);
    settle();
    menu->runCommand(L"petslist");
    EXPECT_EQ(Singleton<MenuBlueFolds>::get()->getTabCount(), 5);
    EXPECT_EQ(showState(of<MenuBlueFolds>()), kShowShown);
    EXPECT_EQ(showState(of<MenuPetsList>()), kShowAppearing);
    EXPECT_EQ(showState(of<BuildingsDiscription>()), kShowDisappearing);
}

TEST_F(Router, APanelOpensBesideTheOpenFoldAndTheHudsAnimalPanel)
{
    // Only the HUD opens and closes its folds; the panels lie where no fold or HUD panel covers them.
    startGame();
    MenuIngame* hud = Singleton<MenuIngame>::get();
    GameCamera* camera = Singleton<GameBackground3D>::get()->mCamera;
    ASSERT_NE(camera, nullptr);
    DataAnimal rex(L"Rex", L"dog", 0.1f, 0.1f, 0);
    of<MenuIngameFold2>()->setStateAll("game", 2, 250);
    hud->mOpenFold = 2;
    settle();
    camera->mFollowAnimal = &rex;
    for (const wchar_t* word : {L"buildingsbuysell", L"petslist", L"finances", L"buyfood"}) {
        menu->runCommand(word);
        settle();
        EXPECT_EQ(showState(of<MenuIngameFold2>()), kShowShown) << word;
        EXPECT_EQ(hud->mOpenFold, 2) << word;
        EXPECT_EQ(camera->mFollowAnimal, &rex) << word;
    }
    camera->mFollowAnimal = nullptr;
}

TEST_F(Router, EveryProfileSeesTheTutorialsMessagesFromItsOwnStep)
{
    // A second profile made in the same run starts with the welcome message like the first.
    Tutorial* tutorial = Singleton<Tutorial>::get();
    std::vector<TutMessage*> saved = tutorial->messages;
    TutMessage welcome(1, -1, 0, L"Welcome", L"Hello");
    welcome.shown = 1;
    tutorial->messages = {&welcome};
    makeProfile();
    Singleton<MainMenuChooseProfile>::get()->setSelected(0);
    menu->runCommand(L"mainmenustart");
    EXPECT_EQ(welcome.shown, 0);
    settle();

    // The same player, leaving with Ok and playing again, sees no message twice; another does.
    TutMessage tip(-1, -1, 0, L"Pets", L"Your pets");
    tutorial->messages = {&welcome, &tip};
    welcome.shown = tip.shown = 1;
    for (int round = 1; round <= 2; ++round) {
        menu->runCommand(L"gamestart");
        settle();
        menu->runCommand(L"exit");
        settle();
        Popup* popup = Singleton<Popup>::get();
        ASSERT_NE(popup->result, &menu->mCreditsPending) << "the game's quit question";
        *popup->result = 1;
        menu->runCommand(L"popupend");
        settle();
        EXPECT_EQ(welcome.shown + tip.shown, 2) << "back " << round;
    }

    // Each player sees each message once in the run, whoever played in between; a new profile
    // sees them all.
    auto playAs = [&](int index, const char* who, int welcomeSeen, int tipSeen) {
        menu->runCommand(L"chooseprofile");
        Singleton<MainMenuChooseProfile>::get()->setSelected(index);
        menu->runCommand(L"mainmenustart");
        settle();
        EXPECT_EQ(welcome.shown, welcomeSeen) << who;
        EXPECT_EQ(tip.shown, tipSeen) << who;
    };
    for (const char* name : {"profile2.txt", "profile3.txt"})
        ASSERT_TRUE(saveProfile(std::string("data/game/Profiles/") + name, L"Ben", L"a.png", 1, 0, -1, 0, 0, 0));
    storage->scanProfiles("data/game/");
    playAs(1, "Ben", 0, 0);
    tip.shown = 1;
    playAs(0, "Anna", 1, 1);
    playAs(1, "Ben again", 0, 1);
    welcome.shown = 1;
    playAs(0, "Anna again", 1, 1);
    playAs(2, "a new profile", 0, 0);
    playAs(1, "Ben at last", 1, 1);
    tutorial->messages = saved;
}

TEST_F(Router, PetsShowKeepsItsCardPageAndMarksTheVisit)
{
    of<MenuPetsShow1>()->setStateAll("game", 2, 250);
    of<MenuOptions>()->setStateAll("game", 2, 250);
    menu->runCommand(L"petsshow");
    EXPECT_EQ(menu->mPetsShowOpened, 1);
    EXPECT_EQ(showState(of<MenuPetsShow1>()), kShowAppearing);
    EXPECT_EQ(showState(of<MenuOptions>()), kShowAppearing);
    EXPECT_EQ(showState(of<MenuPetsShow>()), kShowAppearing);
    EXPECT_EQ(showState(of<MenuBlueFolds>()), kShowAppearing);
}

TEST_F(Router, CloseAllPanelsHidesTheListAndEndsTheMenu)
{
    for (Container* panel : panels())
        panel->setStateAll("game", 2, 0);
    settle();
    menu->mCurrentMenu = L"finances";
    EXPECT_TRUE(menu->isAnyPanelOpen());
    menu->closeAllPanels();
    for (Container* panel : panels())
        EXPECT_EQ(showState(panel), kShowDisappearing) << panel->name;
    EXPECT_EQ(menu->currentMenu(), L"nomenu");
    settle();
    EXPECT_FALSE(menu->isAnyPanelOpen());

    for (Container* panel : {of<MenuPetsShow>(), of<MenuOrange>(), of<MenuBuildingBuySell>(), of<MenuPetsList>(),
                             of<MenuBuildings>(), of<MenuBuyFood>(), of<MenuPetBuySell>(), of<MenuOptions>()}) {
        panel->setStateAll("game", 2, 250);
        EXPECT_TRUE(menu->isAnyPanelOpen()) << panel->name;
        hideNow(panel);
    }
    // Pages and tab strips alone are no open panel.
    of<MenuTickets>()->setStateAll("game", 2, 250);
    of<MenuBlueFolds>()->setStateAll("game", 2, 250);
    EXPECT_FALSE(menu->isAnyPanelOpen());
}

TEST_F(Router, QuitFromTheMainMenuEndsInTheCredits)
{
    of<MainMenuStart>()->setStateAll("game", 2, 250);
    settle();
    menu->mCurrentMenu = L"mainmenustart";
    menu->runCommand(L"exit");
    Popup* popup = Singleton<Popup>::get();
    EXPECT_EQ(popup->title, L"Leaving?");
    EXPECT_EQ(popup->text, L"Do you really want to go?");
    EXPECT_EQ(popup->result, &menu->mCreditsPending);
    EXPECT_EQ(popup->buttons, 1);
    EXPECT_EQ(popup->variant, 0);
    EXPECT_EQ(popup->savedMenu, L"mainmenustart");
    EXPECT_EQ(showState(popup), kShowAppearing);
    EXPECT_EQ(menu->currentMenu(), L"exit");
    EXPECT_EQ(Singleton<MenuDateBar>::get()->modal, 1);

    // Escape held: the next "exit" is the current menu and does nothing.
    popup->setTitle(L"changed");
    menu->runCommand(L"exit");
    EXPECT_EQ(popup->title, L"changed");

    settle();
    *popup->result = 1;
    menu->runCommand(L"popupend");
    EXPECT_EQ(showState(popup), kShowDisappearing);
    EXPECT_EQ(showState(of<Credits>()), kShowAppearing);
    EXPECT_EQ(menu->currentMenu(), L"popupend");
}

TEST_F(Router, CancelledQuitOnlyClosesThePopup)
{
    of<MainMenuChooseProfile>()->setStateAll("game", 2, 250);
    settle();
    menu->mCurrentMenu = L"chooseprofile";
    menu->runCommand(L"exit");
    Popup* popup = Singleton<Popup>::get();
    EXPECT_EQ(popup->result, &menu->mCreditsPending);
    settle();
    *popup->result = 0;
    menu->runCommand(L"popupend");
    EXPECT_EQ(showState(popup), kShowDisappearing);
    EXPECT_EQ(showState(of<Credits>()), kShowHidden);
    EXPECT_EQ(showState(of<MainMenuChooseProfile>()), kShowShown);
    EXPECT_EQ(menu->currentMenu(), L"popupend");
    settle();
    Singleton<MenuDateBar>::get()->checkModal();
    EXPECT_EQ(Singleton<MenuDateBar>::get()->modal, 0);
}

TEST_F(Router, QuitFromTheGameSavesAndReturnsToTheMainMenu)
{
    startGame();
    EXPECT_EQ(storage->mCurrentProfile, 0);
    // The options remember the profile played from its first start on.
    EXPECT_NE(data.read("data/game/save.txt").find("[profile]\n0"), std::string::npos);
    EXPECT_EQ(menu->currentMenu(), L"nomenu");
    for (Container* screen : {of<MenuDateBar>(), of<MenuIngame>(), of<GameBackground3D>(), of<Cursors>()})
        EXPECT_EQ(showState(screen), kShowShown) << screen->name;
    EXPECT_EQ(showState(of<MainMenuStart>()), kShowHidden);

    menu->runCommand(L"petsshow");
    settle();
    storage->mGlobalSettings->mCashAccount->mCash = 4321;
    menu->runCommand(L"exit");
    Popup* popup = Singleton<Popup>::get();
    ASSERT_NE(popup->result, nullptr);
    EXPECT_NE(popup->result, &menu->mCreditsPending);
    settle();
    *popup->result = 1;
    menu->runCommand(L"popupend");

    EXPECT_NE(data.read("data/game/Profiles/profile1.txt").find("[cash]\n4321"), std::string::npos);
    EXPECT_NE(data.read("data/game/save.txt").find("[profile]\n0"), std::string::npos);
    EXPECT_EQ(storage->mGlobalSettings->mCashAccount->mCash, 4321);
    EXPECT_EQ(showState(of<MainMenuStart>()), kShowAppearing);
    for (Container* screen : {of<GameBackground3D>(), of<MenuPetsShow>(), of<MenuBlueFolds>()})
        EXPECT_EQ(showState(screen), kShowDisappearing) << screen->name;
    // The date bar and the HUD go at once, without waiting for a step of theirs.
    for (Container* screen : {of<MenuDateBar>(), of<MenuIngame>()})
        EXPECT_EQ(showState(screen), kShowHidden) << screen->name;
    // The visit to the pets show ends without starting the game again.
    EXPECT_EQ(menu->mPetsShowOpened, 0);
    EXPECT_EQ(showState(of<Credits>()), kShowHidden);
    EXPECT_EQ(menu->currentMenu(), L"popupend");

    // A later quit question from the main menu is one for the credits again.
    settle();
    menu->mCurrentMenu = L"mainmenustart";
    menu->runCommand(L"exit");
    EXPECT_EQ(popup->result, &menu->mCreditsPending);
}

TEST_F(Router, ADamagedParkAndAFailedSaveAreToldOnTheMainMenuOnce)
{
    storage->mPlayerNotices.clear();
    makeProfile();
    // A dog, but no kennel for it.
    const std::string damaged = "[name]\nAnna\n\n[cash]\nlots\n\n"
                                "[animal]\ndog Rex 0\nhelper_pies1 0\n5 0 0\n7 0 0 0\n0.5 0.5\n1 1 1\n5 0\n";
    data.write("data/game/Profiles/profile1.txt", damaged);
    Singleton<MainMenuChooseProfile>::get()->setSelected(0);
    menu->runCommand(L"mainmenustart");
    settle();
    Popup* popup = Singleton<Popup>::get();
    MainMenuStart* start = Singleton<MainMenuStart>::get();
    // Ok answered and the popup faded out.
    auto closePopup = [this, popup] {
        menu->runCommand(L"popupend");
        settle();
        hideNow(popup);
    };
    EXPECT_FALSE(popup->isVisible());
    start->update();
    ASSERT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->title, L"Damaged park");
    EXPECT_EQ(popup->text, L"Kept as data/game/Profiles/profile1.txt.damaged.");
    EXPECT_EQ(data.read("data/game/Profiles/profile1.txt.damaged"), damaged);
    closePopup();
    start->update();
    ASSERT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->title, L"Homeless");
    EXPECT_EQ(popup->text, L"1 without a home.");
    closePopup();
    start->update();
    EXPECT_FALSE(popup->isVisible());

    // The game's quit cannot save: told once back on the main menu, though the day's autosave
    // told the same failure already.
    menu->runCommand(L"gamestart");
    settle();
    // Its file can still be read, but no new one can be written beside it.
    std::filesystem::create_directories("data/game/Gone/profile1.txt.tmp");
    data.write("data/game/Gone/profile1.txt", "[name]\nAnna\n");
    storage->mProfiles[0]->mPath = "data/game/Gone/profile1.txt";
    testing::internal::CaptureStdout();
    EXPECT_FALSE(storage->saveCurrentProfile());
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(storage->mPlayerNotices.size(), 1u);
    storage->mPlayerNotices.clear();   // shown in the park
    menu->runCommand(L"exit");
    settle();
    ASSERT_NE(popup->result, nullptr);
    *popup->result = 1;
    closePopup();
    start->update();
    ASSERT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->title, L"Not saved");
    EXPECT_EQ(popup->text, L"Something stands at data/game/Gone/profile1.txt.tmp.");
    closePopup();
    start->update();
    EXPECT_FALSE(popup->isVisible()) << wideToString(popup->title) << " " << wideToString(popup->text);
}

TEST_F(Router, CancelledQuitInTheGameGoesOn)
{
    startGame();
    menu->runCommand(L"exit");
    settle();
    *Singleton<Popup>::get()->result = 0;
    menu->runCommand(L"popupend");
    EXPECT_EQ(showState(of<MenuIngame>()), kShowShown);
    EXPECT_EQ(showState(of<MainMenuStart>()), kShowHidden);
    EXPECT_EQ(menu->currentMenu(), L"popupend");
}

// Pause, leave, and Play released on every step from the first on which the main menu takes a
// click to ten steps later: the park comes back with its HUD and its date bar, both taking clicks.
// The screens are stepped as the main loop steps them, in the order of its list.
TEST_F(Router, AParkPausedAndLeftComesBackWithItsHudOnPlay)
{
    hud::bindHudScreens();
    screens::bindLayouts();
    ControlMngr* input = Singleton<ControlMngr>::get();
    if (input->mPointerDevices.empty())
        input->addDevice(DEVICE_POINTER, -1);
    sDevice* pointer = input->mPointerDevices.front();
    auto point = [pointer](float x, float y, int down) {
        pointer->data[kPointerXWord].f = x;
        pointer->data[kPointerYWord].f = y;
        pointer->data[kPointerButtonWord].i = down;
    };
    MenuIngame* hud = Singleton<MenuIngame>::get();
    MenuDateBar* bar = Singleton<MenuDateBar>::get();
    MainMenuStart* start = Singleton<MainMenuStart>::get();
    const std::vector<Container*> list = {of<MenuIngameFold1>(), of<MenuIngameFold2>(), of<MenuIngameFold3>(),
                                          hud, bar, start, of<Popup>()};
    auto step = [&list](int steps) {
        for (int i = 0; i < steps; ++i)
            updateScreens(list);
    };
    auto pointAt = [&](const Button* button, int down) {
        const float4 picture = Singleton<ButtonBar>::get()->getIconImage(button->kind, 0)->getRect();
        point(button->x + 0.5f * picture.z, button->y, down);
    };
    point(-1.0f, -1.0f, 0);
    startGame(0);   // no tip to read on the way
    step(30);
    DataAnimal* rex = new DataAnimal(L"Rex", L"dog", 0.1f, 0.1f, 0);
    storage->retire(rex);
    storage->mParkAnimals.push_back(rex);
    storage->mGlobalSettings->mFoodStored = 100;
    GameCamera* camera = Singleton<GameBackground3D>::get()->mCamera;
    ASSERT_NE(camera, nullptr);

    for (int late = 0; late <= 10; ++late) {
        SCOPED_TRACE("Play released " + std::to_string(late + 1) + " steps after the main menu shows");
        hud->onWidget4(2, kLayerReleased);
        step(30);
        ASSERT_EQ(showState(of<MenuIngameFold1>()), kShowShown);

        // Paused, then left through the quit question.
        bar->onWidget4(2, kLayerReleased);
        ASSERT_EQ(bar->paused, 1);
        menu->runCommand(L"exit");
        step(30);
        *Singleton<Popup>::get()->result = 1;
        menu->runCommand(L"popupend");
        // Play held from the first step on which the menu takes clicks, while the question may
        // still fade out, and released late steps later.
        pointAt(start->buttons[0], 1);
        for (int steps = 0; showState(start) != kShowShown && steps < 50; ++steps)
            step(1);
        step(late);
        pointAt(start->buttons[0], 0);
        step(1);
        point(-1.0f, -1.0f, 0);
        ASSERT_EQ(showState(bar), kShowAppearing) << "Play";
        step(30);
        EXPECT_TRUE(hud->isVisible() && bar->isVisible());
        const int clock = storage->mGlobalSettings->mDayClock;
        step(1);
        EXPECT_NE(storage->mGlobalSettings->mDayClock, clock) << "the date bar runs its buttons and the clock";
        rex->mHunger = 3;
        camera->mFollowAnimal = rex;
        pointAt(hud->mFeedButton, 1);
        step(1);
        pointAt(hud->mFeedButton, 0);
        step(1);
        point(-1.0f, -1.0f, 0);
        EXPECT_EQ(rex->mHunger, 4) << "the HUD's Feed takes the click";
        camera->mFollowAnimal = nullptr;
        if (HasFailure())
            break;
    }
}

TEST_F(Router, ExitIsRefusedWhileBlockedOrWhileAnotherPopupIsOpen)
{
    menu->mExitBlocked = 1;
    menu->runCommand(L"exit");
    EXPECT_EQ(menu->currentMenu(), L"nomenu");
    EXPECT_EQ(showState(of<Popup>()), kShowHidden);
    menu->mExitBlocked = 0;

    // The game-over question stays what it is: its answer must reach the money rules.
    int answer = 0;
    Popup* popup = Singleton<Popup>::get();
    popup->setTitle(L"Game over");
    popup->setResult(&answer);
    popup->setMode(0, 1);
    menu->runCommand(L"popupstart");
    menu->runCommand(L"exit");
    EXPECT_EQ(popup->title, L"Game over");
    EXPECT_EQ(popup->result, &answer);
    EXPECT_EQ(menu->currentMenu(), L"popupstart");
    hideNow(popup);

    Singleton<ScrollPopup>::get()->setStateAll("game", 2, 250);
    menu->runCommand(L"exit");
    EXPECT_EQ(showState(popup), kShowHidden);
    hideNow(of<ScrollPopup>());

    // A tutorial tip or the options are answered first: the question would show under the tip,
    // or its Ok and Cancel beside the options' own. The credits, coming or shown, end the game.
    menu->mCurrentMenu = L"nomenu";
    for (Container* first : {of<Tutorial>(), of<MenuOptions>(), of<Credits>()}) {
        first->setStateAll("game", 2, 250);
        menu->runCommand(L"exit");
        EXPECT_EQ(showState(popup), kShowHidden) << first->name;
        hideNow(first);
    }
    menu->runCommand(L"exit");
    EXPECT_EQ(showState(popup), kShowAppearing);
}

TEST_F(Router, TerminateRequestSavesTheParkBeingPlayed)
{
    startGame();
    storage->mGlobalSettings->mCashAccount->mCash = 4321;
    menu->quitAtOnce();
    EXPECT_NE(data.read("data/game/Profiles/profile1.txt").find("[cash]\n4321"), std::string::npos);
    EXPECT_EQ(showState(of<Popup>()), kShowHidden) << "no question asked";

    // Over the main menu the park was saved when the player left it: the file stays.
    menu->runCommand(L"exit");
    settle();
    *Singleton<Popup>::get()->result = 1;
    menu->runCommand(L"popupend");
    settle();
    storage->mGlobalSettings->mCashAccount->mCash = 1;
    menu->quitAtOnce();
    EXPECT_NE(data.read("data/game/Profiles/profile1.txt").find("[cash]\n4321"), std::string::npos);
}

TEST_F(Router, ChooseProfileWithoutProfilesCreatesOne)
{
    of<MainMenuStart>()->setStateAll("game", 2, 250);
    menu->runCommand(L"chooseprofile");
    EXPECT_EQ(menu->currentMenu(), L"createprofile");
    EXPECT_EQ(showState(of<MainMenuCreateProfile>()), kShowAppearing);
    EXPECT_EQ(showState(of<MainMenuChooseProfile>()), kShowHidden);
    EXPECT_EQ(showState(of<MainMenuStart>()), kShowAppearing);
    EXPECT_EQ(showState(of<Cursors>()), kShowAppearing);

    settle();
    makeProfile();
    menu->runCommand(L"returnfromcreate");
    EXPECT_EQ(showState(of<MainMenuCreateProfile>()), kShowDisappearing);
    EXPECT_EQ(showState(of<MainMenuChooseProfile>()), kShowAppearing);
    settle();
    menu->runCommand(L"deleteprofile");
    EXPECT_EQ(showState(of<MainMenuDeleteProfile>()), kShowAppearing);
    EXPECT_EQ(showState(of<MainMenuChooseProfile>()), kShowDisappearing);
    settle();
    menu->runCommand(L"returnfromdeleteprofile");
    EXPECT_EQ(showState(of<MainMenuDeleteProfile>()), kShowDisappearing);
    EXPECT_EQ(showState(of<MainMenuChooseProfile>()), kShowAppearing);
    settle();
    of<MainMenuStart>()->setStateAll("game", 2, 250);
    menu->runCommand(L"chooseprofile");
    EXPECT_EQ(menu->currentMenu(), L"chooseprofile");
    EXPECT_EQ(showState(of<MainMenuStart>()), kShowDisappearing);
}

TEST_F(Router, MainMenuStartWithoutAValidSelectionChoosesAProfile)
{
    Singleton<MainMenuChooseProfile>::get()->setSelected(3);
    menu->runCommand(L"mainmenustart");
    EXPECT_EQ(storage->mCurrentProfile, -1);
    EXPECT_EQ(menu->currentMenu(), L"createprofile");
    EXPECT_EQ(showState(of<MainMenuStart>()), kShowHidden);
    EXPECT_EQ(showState(of<MainMenuCreateProfile>()), kShowAppearing);
}

TEST_F(Router, ValuePopupSavesTheMenuAndEndsInNoMenu)
{
    menu->mCurrentMenu = L"bank";
    menu->runCommand(L"scrollpopupstart");
    EXPECT_EQ(Singleton<ScrollPopup>::get()->savedMenu, L"bank");
    EXPECT_EQ(showState(of<ScrollPopup>()), kShowAppearing);
    EXPECT_EQ(Singleton<MenuDateBar>::get()->modal, 1);
    EXPECT_EQ(menu->currentMenu(), L"scrollpopupstart");
    settle();
    menu->runCommand(L"scrollpopupend");
    EXPECT_EQ(showState(of<ScrollPopup>()), kShowDisappearing);
    EXPECT_EQ(menu->currentMenu(), L"nomenu");
    settle();
    Singleton<MenuDateBar>::get()->checkModal();
    EXPECT_EQ(Singleton<MenuDateBar>::get()->modal, 0);
}

// The camera scrolls at the screen edges only under the words of no open menu: a popup that
// closes over a panel still open gives the panel its word back.
TEST_F(Router, APopupClosingOverAnOpenPanelLeavesThePanelsMenuState)
{
    menu->runCommand(L"bank");
    settle();
    menu->runCommand(L"scrollpopupstart");
    settle();
    menu->runCommand(L"scrollpopupend");
    EXPECT_EQ(menu->currentMenu(), L"bank");
    EXPECT_EQ(showState(of<MenuBank>()), kShowShown);

    // The quit question over the panel, cancelled.
    settle();
    menu->runCommand(L"exit");
    Popup* popup = Singleton<Popup>::get();
    ASSERT_NE(popup->result, nullptr);
    settle();
    *popup->result = 0;
    menu->runCommand(L"popupend");
    EXPECT_EQ(menu->currentMenu(), L"bank");

    // The panel closed while the popup was open: the popup's own word stays.
    settle();
    menu->runCommand(L"popupstart");
    settle();
    menu->closeAllPanels();
    menu->runCommand(L"popupend");
    EXPECT_EQ(menu->currentMenu(), L"popupend");
}

TEST_F(Router, TrickShowHidesTheGameAndItsEndBringsItBack)
{
    startGame();
    menu->runCommand(L"petsshow");
    of<MenuOptions>()->setStateAll("game", 2, 250);
    of<BuildingsDiscription>()->setStateAll("game", 2, 250);
    settle();
    menu->runCommand(L"teachstart");
    for (Container* panel : panels()) {
        const bool kept = panel == of<MenuOptions>() || panel == of<BuildingsDiscription>();
        EXPECT_EQ(showState(panel), kept ? kShowShown : panel->isVisible() ? kShowDisappearing : kShowHidden)
            << panel->name;
    }
    EXPECT_EQ(of<MenuDateBar>()->getTransitionTimer(), 0);
    EXPECT_EQ(showState(of<MenuIngame>()), kShowDisappearing);
    EXPECT_EQ(showState(of<GameBackground3D>()), kShowShown);
    settle();

    menu->runCommand(L"teachend");
    EXPECT_EQ(menu->currentMenu(), L"nomenu");
    EXPECT_EQ(menu->mPetsShowOpened, 0);
    for (Container* screen : {of<MenuDateBar>(), of<MenuIngame>()})
        EXPECT_EQ(showState(screen), kShowAppearing) << screen->name;
}

TEST_F(Router, GameOverLeavesTheGameWithTheProfilesHeaderKept)
{
    startGame();
    storage->mGlobalSettings->mCashAccount->mCash = -777;
    menu->runCommand(L"gameover");
    EXPECT_EQ(menu->currentMenu(), L"gameover");
    EXPECT_EQ(showState(of<MainMenuStart>()), kShowAppearing);
    EXPECT_EQ(showState(of<GameBackground3D>()), kShowDisappearing);
    for (Container* screen : {of<MenuDateBar>(), of<MenuIngame>()})
        EXPECT_EQ(showState(screen), kShowHidden) << screen->name;
    // The park starts again from the game data; the profile keeps its name.
    EXPECT_EQ(storage->mGlobalSettings->mCashAccount->mCash, 1000);
    const std::string saved = data.read("data/game/Profiles/profile1.txt");
    EXPECT_NE(saved.find("[cash]\n1000"), std::string::npos);
    EXPECT_NE(saved.find("Anna"), std::string::npos);
}

TEST_F(Router, UnknownWordsAreRecordedAndRepeatsIgnored)
{
    menu->runCommand(L"seal");
    EXPECT_EQ(menu->currentMenu(), L"seal");
    menu->runCommand(L"options");
    EXPECT_EQ(showState(of<MenuOptions>()), kShowAppearing);
    settle();
    menu->runCommand(L"returnfromoptions");
    EXPECT_EQ(showState(of<MenuOptions>()), kShowDisappearing);
    EXPECT_EQ(menu->currentMenu(), L"returnfromoptions");
    menu->runCommand(L"credits");
    EXPECT_EQ(showState(of<Credits>()), kShowAppearing);
}

} // namespace

#include "core/GameMain.h"

#include "core/ControlMngr.h"
#include "core/sdl_layer.h"
#include "fixtures/HeadlessEngine.h"
#include "fixtures/TempDir.h"
#include "game/DataStorage.h"
#include "game/GameOptions.h"
#include "source_menu/Cursors.h"
#include "source_menu/MenuLoading.h"
#include "source_menu/MenuManager.h"
#include "source_menu/ButtonBar.h"
#include "source_menu/Credits.h"
#include "source_menu/Popup.h"
#include "toolkit/utils/FontStyle.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/utils/Timer.h"
#include "toolkit/widgets/Container.h"

#include <gtest/gtest.h>

#include <csignal>

#include <climits>
#include <cstdlib>
#include <set>
#include <unistd.h>
#include <string>
#include <vector>

// Sections: step schedule - working folder - first command - one pass of the frame loop - loading.

namespace {

// ---- step schedule

// Steps the schedule runs at a clock that stands still while they run.
int stepsDueAt(StepSchedule& schedule, int now)
{
    int steps = 0;
    while (schedule.due(now)) {
        schedule.advance();
        ++steps;
    }
    return steps;
}

TEST(StepSchedule, ClockAtTheNextStepTimeRunsNone)
{
    StepSchedule schedule;
    schedule.start(5000);
    EXPECT_EQ(stepsDueAt(schedule, 5000), 0);
    EXPECT_EQ(stepsDueAt(schedule, 4990), 0);
    EXPECT_EQ(stepsDueAt(schedule, 5001), 1);
    EXPECT_EQ(stepsDueAt(schedule, 5010), 0);
}

TEST(StepSchedule, KeepsSteppingAcrossTheClockWrap)
{
    StepSchedule schedule;
    schedule.start(INT_MAX - 15);
    // INT_MAX - 15 + 35 wraps to INT_MIN + 19.
    EXPECT_EQ(stepsDueAt(schedule, INT_MIN + 19), 4);
    EXPECT_EQ(schedule.next(), INT_MIN + 24);
    EXPECT_EQ(stepsDueAt(schedule, INT_MIN + 24), 0);

    schedule.start(-5);
    EXPECT_EQ(stepsDueAt(schedule, 30), 4);
    schedule.start(static_cast<int>(0xFFFFFFF0u));
    EXPECT_EQ(stepsDueAt(schedule, 0x14), 4);
}

// ---- working folder

TEST(ResourcesFolder, IsTheExecutablesFolderThenResources)
{
    std::string folder = "unchanged";
    ASSERT_TRUE(resourcesFolder("/opt/PetPark/bin/petpark", folder));
    EXPECT_EQ(folder, "/opt/PetPark/bin/../Resources");
    ASSERT_TRUE(resourcesFolder("./bin/petpark", folder));
    EXPECT_EQ(folder, "./bin/../Resources");
}

TEST(ResourcesFolder, PathWithoutSlashLeavesTheFolderAlone)
{
    std::string folder = "unchanged";
    EXPECT_FALSE(resourcesFolder("petpark", folder));
    EXPECT_FALSE(resourcesFolder("", folder));
    EXPECT_FALSE(resourcesFolder(nullptr, folder));
    EXPECT_EQ(folder, "unchanged");
}

TEST(ResourcesFolder, LongPathsAreKeptWhole)
{
    std::string exe;
    for (int i = 0; i < 300; ++i)
        exe += "/folder" + std::to_string(i);
    std::string folder;
    ASSERT_TRUE(resourcesFolder((exe + "/bin/petpark").c_str(), folder));
    EXPECT_EQ(folder, exe + "/bin/../Resources");
}

// ---- first command

TEST(StartingProfile, OnlyAProfileThatWasFoundIsTaken)
{
    TempDir dir;
    dir.write("save.txt", "[profile]\n1\n");
    GameOptions options(dir.path() + "/");
    DataStorage data;
    EXPECT_EQ(startingProfile(data), -1) << "no options";

    data.mOptions = &options;
    data.mProfiles.resize(2);
    EXPECT_EQ(startingProfile(data), 1);
    options.mProfile = 2;
    EXPECT_EQ(startingProfile(data), -1) << "past the profiles found";
    options.mProfile = -3;
    EXPECT_EQ(startingProfile(data), -1);
    data.mProfiles.clear();
    options.mProfile = 0;
    EXPECT_EQ(startingProfile(data), -1) << "no profile at all";
}

// ---- one pass of the frame loop

int fakeNow = 0;
int fakeClock()
{
    return fakeNow;
}

// A screen that logs what the loop asks of it, with what had happened by then.
class ProbeScreen : public Container {
public:
    void update() override
    {
        const PointerPosition pointer = Singleton<ControlMngr>::get()->getPointer(-1);
        log.push_back("update x=" + std::to_string(pointer.x) +
                      " hover=" + std::to_string(Singleton<Cursors>::get()->hoverFlag) +
                      " presents=" + std::to_string(device->count("Present")));
        Singleton<Cursors>::get()->hoverFlag = 1;
        fakeNow += stepCost;
    }
    void onFrame() override { log.push_back("frame presents=" + std::to_string(device->count("Present"))); }
    void draw() override { log.push_back("draw presents=" + std::to_string(device->count("Present"))); }

    RecordingDevice* device = nullptr;
    std::vector<std::string> log;
    int stepCost = 0;
};

class FrameLoop : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        probe = new ProbeScreen;
        Singleton<ContainersMngr>::get()->add(probe, "data/psd/Probe.txt", 0);
    }

    void SetUp() override
    {
        loopClock = fakeClock;
        fakeNow = 100000;
        Singleton<TimeMgr>::get()->init(StepSchedule::kStepMs);
        probe->device = &engine.device;
        probe->log.clear();
        probe->stepCost = 0;
        clear_events();
    }

    void TearDown() override
    {
        loopClock = game_time_ms;
        set_stepped_clock(0);
        inputState.keyState = nullptr;
        // A quit question a test opened is closed: "exit" is refused while a popup shows.
        Popup* popup = Singleton<Popup>::get();
        popup->setStateDirect(kShowHidden);
        popup->setStateDirect(kShowHidden);
        popup->Container::setVisible(0);
        popup->Container::setEnabled(0);
    }

    HeadlessEngine engine;
    static ProbeScreen* probe;
};

ProbeScreen* FrameLoop::probe = nullptr;

TEST_F(FrameLoop, ThirtyFiveMillisecondsBehindRunsFourStepsThenOneFrame)
{
    StepSchedule schedule;
    schedule.start(fakeNow - 35);
    const int stepTime = Singleton<TimeMgr>::get()->getTime();

    runPass(schedule);

    ASSERT_EQ(probe->log.size(), 6u);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(probe->log[i].substr(0, 6), "update");
    EXPECT_EQ(probe->log[4], "frame presents=0");
    EXPECT_EQ(probe->log[5], "draw presents=0");
    EXPECT_EQ(engine.device.count("Present"), 1);
    EXPECT_EQ(Singleton<TimeMgr>::get()->getTime(), stepTime + 40);
    EXPECT_EQ(schedule.next(), fakeNow + 5);

    probe->log.clear();
    runPass(schedule);
    EXPECT_EQ(probe->log.size(), 2u) << "the clock is behind the next step: frame only";
}

// The tests' stepped clock: each pass moves the game by one step, however long the pass took
// on the wall clock and however long its step, and the input pump reads the same clock.
TEST_F(FrameLoop, OnTheSteppedClockEveryPassRunsOneStep)
{
    loopClock = game_time_ms;
    set_stepped_clock(StepSchedule::kStepMs);
    StepSchedule schedule;
    schedule.start(loopClock());
    Singleton<TimeMgr>::get()->init(StepSchedule::kStepMs);
    const int stepTime = Singleton<TimeMgr>::get()->getTime();
    probe->stepCost = 50;
    for (int pass = 0; pass < 3; ++pass) {
        sleep_ms(25);
        runPass(schedule);
    }
    ASSERT_EQ(probe->log.size(), 9u) << "one step, one frame, one drawing a pass";
    for (int pass = 0; pass < 3; ++pass)
        EXPECT_EQ(probe->log[3 * pass].substr(0, 6), "update");
    EXPECT_EQ(Singleton<TimeMgr>::get()->getTime(), stepTime + 30);
    EXPECT_EQ(inputClock(), loopClock());
}

TEST_F(FrameLoop, InputIsTakenBeforeTheStepsAndAClickLastsIntoTheNextPass)
{
    event motion;
    motion.setInt(0, EV_MOTION);
    motion.setFloat(7, 0.25f);
    motion.setFloat(8, 0.5f);
    push_event(motion);
    event press;
    press.setInt(0, EV_BUTTON_DOWN);
    press.setFloat(5, 0.25f);
    push_event(press);
    event release = press;
    release.setInt(0, EV_BUTTON_UP);
    push_event(release);
    StepSchedule schedule;
    schedule.start(fakeNow - 1);

    runPass(schedule);

    ASSERT_EQ(probe->log.size(), 3u);
    EXPECT_EQ(probe->log[0], "update x=0.250000 hover=0 presents=0");
    EXPECT_EQ(Singleton<ControlMngr>::get()->isPointerDown(), 1);
    // The release was not seen by a step yet: the pump keeps it for the next pass.
    fakeNow += 10;
    runPass(schedule);
    EXPECT_EQ(Singleton<ControlMngr>::get()->isPointerDown(), 0);
    event left;
    EXPECT_EQ(pop_event(left), 0);
}

TEST_F(FrameLoop, EachStepClearsTheHoverHintBeforeTheScreens)
{
    // The probe sets the hint in its update, as a hovered park object does.
    Singleton<Cursors>::get()->hoverFlag = 1;
    StepSchedule schedule;
    schedule.start(fakeNow - 20);
    EXPECT_EQ(runLogicSteps(schedule), 2);
    ASSERT_EQ(probe->log.size(), 2u);
    EXPECT_NE(probe->log[0].find("hover=0"), std::string::npos);
    EXPECT_NE(probe->log[1].find("hover=0"), std::string::npos);
    EXPECT_EQ(Singleton<Cursors>::get()->hoverFlag, 1) << "set during the last step, kept for the frame";
}

TEST_F(FrameLoop, SlowStepsAreReportedFromTwoMilliseconds)
{
    StepSchedule schedule;
    probe->stepCost = 1;
    schedule.start(fakeNow - 1);
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(runLogicSteps(schedule), 1);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");

    probe->stepCost = 2;
    schedule.start(fakeNow - 1);
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(runLogicSteps(schedule), 1);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "work:2, ");
}

TEST_F(FrameLoop, EveryFramePrintsItsDrawingTime)
{
    ::testing::internal::CaptureStdout();
    drawFrame();
    drawFrame();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "\nsay:0\n\nsay:0\n");
}

TEST_F(FrameLoop, EscapeHeldSendsExitInEveryPass)
{
    Uint8 keys[SDLK_LAST] = {};
    keys[SDLK_ESCAPE] = 1;
    MenuManager* menus = Singleton<MenuManager>::get();
    menus->mCurrentMenu = L"mainmenustart";

    inputState.keyState = keys;
    sendQuitCommands();
    EXPECT_EQ(menus->currentMenu(), L"exit");

    menus->mCurrentMenu = L"mainmenustart";
    keys[SDLK_ESCAPE] = 0;
    sendQuitCommands();
    EXPECT_EQ(menus->currentMenu(), L"mainmenustart");
}

TEST_F(FrameLoop, AnEscapeTapWithinOneFrameSendsExit)
{
    MenuManager* menus = Singleton<MenuManager>::get();
    menus->mCurrentMenu = L"mainmenustart";
    for (int code : {EV_KEY_DOWN, EV_KEY_UP}) {
        event key;
        key.setInt(0, code);
        key.setInt(2, 27);
        push_event(key);
    }
    StepSchedule schedule;
    schedule.start(fakeNow - 20);
    runPass(schedule);
    EXPECT_EQ(menus->currentMenu(), L"exit");
    EXPECT_EQ(Singleton<ControlMngr>::get()->mKeyboardDevices.front()->isHeld(27), 0);
}

TEST_F(FrameLoop, CloseButtonSendsExitOncePerPress)
{
    MenuManager* menus = Singleton<MenuManager>::get();
    menus->mCurrentMenu = L"gamestart";
    event close;
    close.setInt(0, EV_CLOSE);
    push_event(close);
    Singleton<ControlMngr>::get()->update();

    sendQuitCommands();
    EXPECT_EQ(menus->currentMenu(), L"exit");

    menus->mCurrentMenu = L"gamestart";
    sendQuitCommands();
    EXPECT_EQ(menus->currentMenu(), L"gamestart") << "one press, one question";
}

TEST_F(FrameLoop, ATerminateSignalEndsTheLoopWithoutTheQuitQuestion)
{
    MenuManager* menus = Singleton<MenuManager>::get();
    menus->mCurrentMenu = L"nomenu";
    catchTerminateSignal();
    answerTerminateRequest();
    EXPECT_EQ(quitRequested, 0);
    std::raise(SIGTERM);
    ::testing::internal::CaptureStdout();
    answerTerminateRequest();
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(quitRequested, 1);
    EXPECT_EQ(menus->currentMenu(), L"nomenu") << "no quit question";
    EXPECT_NE(out.find("nothing saved"), std::string::npos) << "no profile is being played: " << out;
    quitRequested = 0;
    std::signal(SIGTERM, SIG_DFL);
}

TEST_F(FrameLoop, CreditsPressEndsTheLoopOnlyWhenFullyShown)
{
    Credits* credits = Singleton<Credits>::get();
    event press;
    press.setInt(0, EV_BUTTON_DOWN);
    press.setInt(4, 1);
    push_event(press);
    Singleton<ControlMngr>::get()->update();

    credits->setStateAll("game", 2, 20);
    credits->update();
    EXPECT_EQ(quitRequested, 0) << "still appearing";
    for (int i = 0; i < 4; ++i)
        credits->update();
    EXPECT_EQ(credits->getShowStates().second, kShowShown);
    EXPECT_EQ(quitRequested, 1);
    quitRequested = 0;

    event release;
    release.setInt(0, EV_BUTTON_UP);
    push_event(release);
    Singleton<ControlMngr>::get()->clearStep();
    Singleton<ControlMngr>::get()->update();
    credits->setStateAll("game", 0, 0);
    for (int i = 0; i < 3; ++i)
        credits->update();
}

// ---- game clock

TEST(GameClock, IsTheWallClockUnlessStepped)
{
    EXPECT_EQ(loopClock, &game_time_ms);
    EXPECT_EQ(inputClock, &game_time_ms);
    const int wall = get_time_ms();
    EXPECT_LE(std::abs(time_diff_ms(game_time_ms(), wall)), 5);
    advance_game_clock();
    sleep_ms(30);
    EXPECT_GE(time_diff_ms(game_time_ms(), wall), 30) << "off: the wall clock";

    set_stepped_clock(10);
    const int stepped = game_time_ms();
    EXPECT_LE(std::abs(time_diff_ms(stepped, get_time_ms())), 5) << "it goes on from the wall clock";
    sleep_ms(30);
    EXPECT_EQ(game_time_ms(), stepped) << "it stands between passes";
    advance_game_clock();
    advance_game_clock();
    EXPECT_EQ(time_diff_ms(game_time_ms(), stepped), 20);

    set_stepped_clock(0);
    EXPECT_LE(std::abs(time_diff_ms(game_time_ms(), get_time_ms())), 5) << "the wall clock again";
}

// ---- loading

TEST(LoadWatch, NamesTheScreensStillLoadingAfterAStall)
{
    class Unloaded : public Container {
    public:
        bool isLoaded() override { return loaded; }
        bool loaded = false;
    };
    Unloaded a, b;
    b.loaded = true;
    const std::vector<std::pair<const char*, Container*>> screens = {{"MenuBank", &a}, {"MenuTickets", &b}};

    LoadWatch watch(0);
    ::testing::internal::CaptureStdout();
    EXPECT_FALSE(watch.check(screens, 100));
    EXPECT_FALSE(watch.check(screens, LoadWatch::kStallReportMs));
    EXPECT_TRUE(watch.check(screens, LoadWatch::kStallReportMs + 100));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "Still loading after 10 s without progress: MenuBank\n");

    // Progress ends the stall and restarts the wait.
    a.loaded = true;
    ::testing::internal::CaptureStdout();
    EXPECT_FALSE(watch.check(screens, 2 * LoadWatch::kStallReportMs));
    a.loaded = false;
    EXPECT_FALSE(watch.check(screens, 2 * LoadWatch::kStallReportMs + 50));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
}

TEST(LoadAllScreens, AddsTheLoadingScreenThenTheOtherFortyThree)
{
    // The screens' layouts name texts and font styles, read before the screens as at start-up
    // (without an engine the fonts' pictures are not loaded).
    textsManager.load(PETPARK_APP_DIR "/Resources/data/dat/texts.dat");
    Render* current = Render::current();
    Render::set_current(nullptr);
    Singleton<FontStylesMgr>::get()->load(PETPARK_APP_DIR "/Resources/data/dat/fonts.dat");
    Render::set_current(current);
    // The engine all core tests share: the pictures the loader keeps cached stay valid for the
    // tests after this one, and the loads still queued at its end go on with that engine.
    RecordingDevice* device = dynamic_cast<RecordingDevice*>(current->getDevice());
    ASSERT_NE(device, nullptr);
    const int presentsBefore = device->count("Present");
    // The wall clock: the screens' pictures load on the loader thread meanwhile.
    loopClock = game_time_ms;
    Singleton<TimeMgr>::get()->init(StepSchedule::kStepMs);
    char previous[4096];
    ASSERT_TRUE(getcwd(previous, sizeof previous));
    ASSERT_EQ(chdir(PETPARK_APP_DIR "/Resources"), 0);

    const std::vector<Container*>& list = Singleton<ContainersMngr>::get()->getList();
    const size_t before = list.size();
    LoadAllScreens();
    ASSERT_EQ(list.size(), before + 44);
    EXPECT_EQ(list[before], Singleton<MenuLoading>::get());
    EXPECT_EQ(list[before + 1], Singleton<ButtonBar>::get());
    EXPECT_EQ(list[before + 42], Singleton<Credits>::get());
    EXPECT_EQ(list.back(), Singleton<Cursors>::get());
    EXPECT_EQ(std::set<Container*>(list.begin() + before, list.end()).size(), 44u);
    EXPECT_GT(device->count("Present"), presentsBefore) << "the loading screen was drawn";
    // It stood before it was asked to go (a hide asked while it appears would be dropped).
    EXPECT_EQ(Singleton<MenuLoading>::get()->getShowStates().second, kShowDisappearing);

    ASSERT_EQ(chdir(previous), 0);
}

} // namespace

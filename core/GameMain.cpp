#include "core/GameMain.h"

// Sections: entry - game entry - screens - load watch - loading - frame loop - start-up and end.

#include "core/Assert.h"
#include "core/ControlMngr.h"
#include "core/sdl_layer.h"
#include "core/sound.h"
#include "render/CRender.h"
#include "render/external/Sounds.h"
#include "render/external/bg_loader.h"
#include "toolkit/utils/FontStyle.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/utils/Timer.h"
// The one exception to the layers: the entry and the main loop start the game above them, so
// they include the rules' store and options, the visitors' settings, the screens they drive
// (loading, pointer, menu commands, profile choice), the screen list and the rules' events.
#include "game/DataStorage.h"
#include "game/GameOptions.h"
#include "park/PublicManager.h"
#include "source_menu/Cursors.h"
#include "source_menu/MainMenuChooseProfile.h"
#include "source_menu/MenuLoading.h"
#include "source_menu/MenuManager.h"
#include "source_menu/ScreenList.h"
#include "source_menu/ScreenParkEvents.h"

#include <SDL/SDL.h>

#include <chrono>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <new>
#include <unistd.h>

// Set by the terminate signal's handler; the frame loop answers it after the pass.
volatile std::sig_atomic_t terminateRequested = 0;
int (*loopClock)() = game_time_ms;

namespace {

constexpr int kStepMs = StepSchedule::kStepMs;
constexpr int kEscapeKey = 27;          // virtual-key code of Escape
constexpr float kAspect2d = 1.3333f;    // the 2D canvas, as the screens' layouts expect it
constexpr int kFrameFlags = 7;          // clear colour, clear depth, present
constexpr std::chrono::milliseconds kLoadingFrame(33); // the loading screen's frame pace

const char* const kDataFolder = "data/game/";
const char* const kTextsFile = "data/dat/texts.dat";

void emptyFrame()
{
    CRender::begin(nullptr, 0.0f, kAspect2d);
    CRender::end(kFrameFlags);
}

// For the tests that play the game: with PETPARK_STEP_CLOCK=ms the game's clock moves by ms at
// each pass (10: one logic step a frame) instead of with the wall clock. 0: the wall clock.
int steppedClockMs()
{
    const char* text = std::getenv("PETPARK_STEP_CLOCK");
    const long ms = text ? std::strtol(text, nullptr, 10) : 0;
    return ms > 0 && ms <= 1000 ? static_cast<int>(ms) : 0;
}

} // namespace

// ---- entry

bool resourcesFolder(const char* exePath, std::string& folder)
{
    if (!exePath)
        return false;
    const std::string path(exePath);
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return false;
    folder = path.substr(0, slash) + "/../Resources";
    return true;
}

int SDL_main(int argc, char** argv)
{
    // The path is kept whole, however long; a failed change of directory is ignored and
    // the data are then looked for below the directory the program was started in.
    std::string folder;
    if (argc > 0 && resourcesFolder(argv[0], folder)) {
        const int failed = chdir(folder.c_str());
        static_cast<void>(failed);
    }
    return GameMain(argc, argv);
}

// ---- game entry

int GameMain(int argc, char** argv)
{
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    set_stepped_clock(steppedClockMs());
    // Audio first: applying the options sets the volumes, which need the device open.
    sound_open_audio();
    Singleton<DataStorage>::get()->createOptions(kDataFolder);
    CRender::check_sizes(SIZEOF_RENDER, SIZEOF_OBJECT, SIZEOF_IMAGE, SIZEOF_FONT);
    // The engine lives for the whole run and is reached through CRender::current.
    alignas(CRender) static unsigned char engineStorage[sizeof(CRender)];
    new (engineStorage) CRender("DISABLE_FBO NO_VSYNC NO_SLEEP", "");
    return MainLoop();
}

// ---- screens

namespace {

std::string layoutPath(const char* screen)
{
    return std::string("data/psd/") + screen + ".txt";
}

} // namespace

// ---- load watch

LoadWatch::LoadWatch(int now) : mSince(now) {}

bool LoadWatch::check(const std::vector<std::pair<const char*, Container*>>& screens, int now)
{
    int loaded = 0;
    for (const auto& screen : screens)
        loaded += screen.second->isLoaded() ? 1 : 0;
    if (loaded != mLoaded) {
        mLoaded = loaded;
        mSince = now;
        mStalled = false;
    }
    if (time_diff_ms(now, mSince) >= kStallReportMs) {
        std::printf("Still loading after %d s without progress:", kStallReportMs / 1000);
        for (const auto& screen : screens)
            if (!screen.second->isLoaded())
                std::printf(" %s", screen.first);
        std::printf("\n");
        std::fflush(stdout);
        mSince = now;
        mStalled = true;
    }
    return mStalled;
}

// ---- loading

void LoadAllScreens()
{
    ContainersMngr* screens = Singleton<ContainersMngr>::get();
    MenuLoading* loading = Singleton<MenuLoading>::get();
    std::vector<std::pair<const char*, Container*>> added;

    screens->add(loading, layoutPath("MenuLoading"), 0);
    added.emplace_back("MenuLoading", loading);

    // The loading screen's own pictures first: clearing a frame is when the render thread
    // serves the GPU work the loader hands over.
    loading->load();
    // A stall is one of real time, whatever clock the game runs on.
    LoadWatch watch(get_time_ms());
    while (!loading->isLoaded()) {
        emptyFrame();
        if (watch.check(added, get_time_ms()))
            pump_events(1);
    }
    loading->setStateAll("game", 2, kTransitionMs);

    size_t count = 0;
    const ScreenEntry* list = gameScreens(count);
    for (size_t i = 0; i < count; ++i) {
        const ScreenEntry& entry = list[i];
        Container* screen = entry.get();
        screens->add(screen, layoutPath(entry.name), 0);
        added.emplace_back(entry.name, screen);
    }

    // Only the loading screen runs while the others load; input of this time is dropped.
    StepSchedule schedule;
    schedule.start(loopClock());
    watch = LoadWatch(get_time_ms());
    for (;;) {
        const auto frameStart = std::chrono::steady_clock::now();
        advance_game_clock();
        while (schedule.due(loopClock())) {
            Singleton<TimeMgr>::get()->update(kStepMs);
            schedule.advance();
            loading->update();
        }
        CRender::begin(nullptr, 0.0f, kAspect2d);
        loading->draw();
        CRender::end(kFrameFlags);
        pump_events(1);
        // The loads start as the loading screen starts to show and may end before it stands;
        // it is hidden only once shown, since a hide asked while it appears would be dropped.
        if (loading->getShowStates().second == kShowShown && screens->isAllLoaded())
            break;
        watch.check(added, get_time_ms());
        // A loading frame is drawn at most every kLoadingFrameMs: until then the render thread
        // serves the loader's uploads, which would otherwise wait while frames are drawn faster
        // than the bar needs.
        while (std::chrono::steady_clock::now() < frameStart + kLoadingFrame && !screens->isAllLoaded())
            BGLoader::serveRenderTasks();
    }
    loading->setStateAll("game", 0, kTransitionMs);
}

// ---- frame loop

// An Escape tap shorter than a frame is over by the time the frame is drawn; the step that saw
// it held sends "exit" as a held key does after the frame.
void sendEscapeTap()
{
    const std::vector<sDevice*>& keyboards = Singleton<ControlMngr>::get()->mKeyboardDevices;
    if (!keyboards.empty() && keyboards.front()->isHeld(kEscapeKey))
        Singleton<MenuManager>::get()->runCommand(L"exit");
}

int runLogicSteps(StepSchedule& schedule)
{
    int steps = 0;
    while (schedule.due(loopClock())) {
        const int start = loopClock();
        Singleton<Cursors>::get()->hoverFlag = 0;
        Singleton<TimeMgr>::get()->update(kStepMs);
        Singleton<ControlMngr>::get()->update();
        // The screens' step. The park's day advances in it: the date bar's update (MenuDateBar)
        // runs the rules' step (DataStorage::update) while the bar is shown and not paused.
        Singleton<ContainersMngr>::get()->update();
        sendEscapeTap();
        Singleton<ControlMngr>::get()->clearStep();
        const int took = time_diff_ms(loopClock(), start);
        if (took > 1)
            std::printf("work:%d, ", took);
        schedule.advance();
        ++steps;
    }
    return steps;
}

void drawFrame()
{
    const int start = loopClock();
    ContainersMngr* screens = Singleton<ContainersMngr>::get();
    screens->frameAll();
    CRender::begin(nullptr, 0.0f, kAspect2d);
    screens->draw();
    CRender::end(kFrameFlags);
    std::printf("\nsay:%d\n", time_diff_ms(loopClock(), start));
}

void sendQuitCommands()
{
    // The close button asks the same quit question as Escape; each press is taken once.
    bool closePressed = false;
    if (sDevice* system = Singleton<ControlMngr>::get()->mSystemDevice) {
        closePressed = system->data[kSystemCloseWord].i != 0;
        system->data[kSystemCloseWord].i = 0;
    }
    if (is_key_down(kEscapeKey) || closePressed)
        Singleton<MenuManager>::get()->runCommand(L"exit");
}

namespace {

extern "C" void onTerminateSignal(int)
{
    terminateRequested = 1;
}

} // namespace

void catchTerminateSignal()
{
    std::signal(SIGTERM, onTerminateSignal);
}

void answerTerminateRequest()
{
    if (!terminateRequested)
        return;
    terminateRequested = 0;
    std::printf("Terminate request: saving and leaving\n");
    Singleton<MenuManager>::get()->quitAtOnce();
    quitRequested = 1;
}

void runPass(StepSchedule& schedule)
{
    advance_game_clock();
    Singleton<ControlMngr>::get()->update();
    runLogicSteps(schedule);
    drawFrame();
    sendQuitCommands();
    // Records the steps have not taken yet (a click or keys spread over the steps) stay queued.
    pump_events(0);
}

// ---- start-up and end

// One line when the first frame of the main menu has been presented, with the peak resident
// memory so far, flushed at once so that a start-up measurement can time it from outside.
static void reportFirstMenuFrame()
{
    long peakKiB = -1;
    if (std::FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status))
            if (std::sscanf(line, "VmHWM: %ld", &peakKiB) == 1)
                break;
        std::fclose(status);
    }
    std::printf("\nfirst menu frame: peak resident %ld KiB\n", peakKiB);
    std::fflush(stdout);
}

int startingProfile(const DataStorage& data)
{
    const int profile = data.mOptions ? data.mOptions->mProfile : -1;
    if (profile < 0 || profile >= static_cast<int>(data.mProfiles.size()))
        return -1;
    return profile;
}

namespace {

// For runs without a player (the window tests): with PETPARK_QUIT_AFTER_FRAMES=n in the
// environment the loop ends after n frames, as if the credits had been clicked. 0: never.
int framesBeforeQuit()
{
    const char* text = std::getenv("PETPARK_QUIT_AFTER_FRAMES");
    if (!text)
        return 0;
    const long frames = std::strtol(text, nullptr, 10);
    return frames > 0 && frames < 1000000000L ? static_cast<int>(frames) : 0;
}

// Lets the process end promptly: the loader thread stops (the render thread keeps serving
// the GPU work a load in progress waits for), then audio and the window close.
void shutdownEngine()
{
    bgLoader.shutdown();
    std::fflush(stdout);
    if (audioOpen) {
        music_stop();
        Mix_CloseAudio();
        audioOpen = 0;
    }
    keep_libraries_loaded();
    SDL_Quit();
}

} // namespace

int MainLoop()
{
    // Taken before the start-up, so the first pass catches up with the time it took.
    StepSchedule schedule;
    schedule.start(loopClock());

    // The park rules reach the screens and the park view from here on.
    installParkEvents(Singleton<ScreenParkEvents>::get());
    Singleton<ControlMngr>::get()->clearStep();
    Singleton<TimeMgr>::get()->init(kStepMs);
    textsManager.load(kTextsFile);
    // Every text the player sees comes from this file: like the other required files, the
    // game does not start without it.
    if (textsManager.empty())
        std::fprintf(stderr, "no dat file loaded! %s\n", kTextsFile);
    PP_ASSERT_MSG(!textsManager.empty(), "no dat file loaded!");
    set_window_title(textsManager.get(L"gametitle"));
    Singleton<FontStylesMgr>::get()->load();
    show_cursor(0);
    Singleton<Sounds>::get()->loadAll();
    LoadPublicConfig(*Singleton<PublicManager>::get());
    LoadAllScreens();

    DataStorage* data = Singleton<DataStorage>::get();
    loadGameData(data, kDataFolder);
    data->scanProfiles(kDataFolder);
    data->computePopularity();

    const int profile = startingProfile(*data);
    if (data->mOptions)
        data->mOptions->mProfile = profile;
    Singleton<MainMenuChooseProfile>::get()->setSelected(profile);
    Singleton<MenuManager>::get()->runCommand(profile == -1 ? L"chooseprofile" : L"mainmenustart");

    music_play("data/music/zorvan.ogg", -1);

    // Taken over from SDL, which would turn the signal into the window's close button and the
    // quit question.
    catchTerminateSignal();
    const int quitAfter = framesBeforeQuit();
    int frames = 0;
    // With a frame count to quit after, the frames after the first are timed.
    std::chrono::steady_clock::time_point firstFrameEnd;
    std::clock_t firstFrameCpu = 0;
    while (!quitRequested) {
        runPass(schedule);
        if (frames == 0) {
            reportFirstMenuFrame();
            firstFrameEnd = std::chrono::steady_clock::now();
            firstFrameCpu = std::clock();
        }
        answerTerminateRequest();
        // Counted in every run: the first frame's report is made once, with or without a count.
        if (frames < INT_MAX)
            ++frames;
        if (quitAfter && frames >= quitAfter)
            quitRequested = 1;
    }
    if (quitAfter && frames > 1) {
        const double wall =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - firstFrameEnd).count();
        const double cpu = double(std::clock() - firstFrameCpu) * 1000.0 / CLOCKS_PER_SEC;
        std::printf("\nframes after the first: %.3f ms wall, %.3f ms processor per frame over %d\n",
                    wall / (frames - 1), cpu / (frames - 1), frames - 1);
    }
    shutdownEngine();
    return 0;
}

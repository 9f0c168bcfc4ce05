#pragma once

// The program's entry, the start-up of every service and screen in its fixed order, the
// loading of all screens behind the loading screen, and the frame loop: input once per
// pass, logic in fixed 10 ms steps caught up with the clock, one frame per pass.

#include "core/StepSchedule.h"

#include <string>
#include <utility>
#include <vector>

class Container;
class DataStorage;

// Makes the working directory the executable's folder + "/../Resources", then runs GameMain.
int SDL_main(int argc, char** argv);
// Process-wide set-up (random seed, audio, options, engine and window), then MainLoop.
int GameMain(int argc, char** argv);
// Initialisation, first command and music, then the frame loop until quitRequested; 0.
int MainLoop();
// Adds and loads every screen while the loading screen shows.
void LoadAllScreens();

// Watches a wait for screens to load. When no further screen has loaded for kStallReportMs,
// the screens still loading are named on standard output, so a stalled start never hangs
// silently; the report repeats while the stall lasts.
class LoadWatch {
public:
    static constexpr int kStallReportMs = 10000;

    explicit LoadWatch(int now);
    // Reports a stall as above; true while stalled (the caller then keeps the window alive).
    bool check(const std::vector<std::pair<const char*, Container*>>& screens, int now);

private:
    int mLoaded = -1;
    int mSince;
    bool mStalled = false;
};

// ---- the pieces of MainLoop, in the order of one pass

// The clock the loops read; game_time_ms (the wall clock, or the stepped clock of the tests).
extern int (*loopClock)();

// The logic steps due by the clock, each 10 ms of step time; returns how many ran.
int runLogicSteps(StepSchedule& schedule);
// One frame: every screen's per-frame pass, then their drawing between begin and end.
void drawFrame();
// "exit" while Escape is held, and once for each press of the window's close button.
void sendQuitCommands();
// A whole pass: the stepped clock's step (when it runs), input, logic steps, frame, quit
// commands, event pump.
void runPass(StepSchedule& schedule);
// SIGTERM from now on asks the loop to end (the flag below) instead of SDL's quit question.
void catchTerminateSignal();
// After a terminate signal: saves the park being played as a confirmed quit does and sets
// quitRequested.
void answerTerminateRequest();

// The profile the game starts with: the options' profile when it names one of the profiles
// found, else -1 (none, the profile choice is shown).
int startingProfile(const DataStorage& data);

// The working directory for an executable path: everything up to its last "/" followed by
// "/../Resources". False (folder untouched) when the path holds no "/".
bool resourcesFolder(const char* exePath, std::string& folder);

#pragma once

// The step clock and the timers that run on it.
// TimeMgr counts milliseconds in fixed logic steps (never re-read from the wall clock after
// init). A Timer moves at a constant rate from a start value to an end value over a
// duration on that clock, evaluated at most once per step.

#include "core/Singleton.h"

#include <vector>

class Timer;

class TimeMgr : public Singleton<TimeMgr> {
public:
    // Starts the step clock 1 ms before the game's clock (game_time_ms); step is the step length in ms.
    void init(int step);
    // One step: the clock advances by step and every timer is marked for a new evaluation.
    void update(int step);
    // The step length; asserts that init has run.
    int getTimeDiff() const;
    int getTime() const { return mTime; }
    int getPrevTime() const { return mPrevTime; }

    void registerTimer(Timer* timer);
    void unregisterTimer(Timer* timer);

private:
    friend class Timer;

    int mTimeDiff = 0;
    int mTime = 0;
    int mPrevTime = 0;
    std::vector<Timer*> mTimers;
};

class Timer {
public:
    Timer();
    // A copy is a timer of its own, registered like any other.
    Timer(const Timer& other);
    Timer& operator=(const Timer& other) = default;
    ~Timer();

    // Starts a run of duration ms from `from` to `to`, beginning at fraction of the way.
    // With onlyAtEnd set, a run in progress (value at neither end) is not interrupted.
    void start(int duration, float from, float to, float fraction, int onlyAtEnd);
    // The value for the current step.
    float value();
    // Runs back toward the start value from where the value is now, at the same rate.
    // With onlyAtEnd set, only once the value has reached the end value.
    void retarget(int onlyAtEnd);
    // Idle: the value reads the start value for the rest of this step, then 0.
    void reset();
    // 1 when the run has passed its end value (or start and end are equal).
    int isDone();

    int mLastTime;
    float mSpeed;
    int mDone;
    int mDuration; // -1: idle
    float mFrom;
    float mTo;
    float mDurationF;
    float mRate; // change of the value per step
    int mComputed;
    float mValue;
    int mPaused;

private:
    float evaluate();
};

#include "toolkit/utils/Timer.h"

#include "core/Assert.h"
#include "core/platform.h"

#include <algorithm>
#include <cmath>

// The assertion text is one of the game's fixed messages, which are written in Windows-1250: the
// letter "ł" is its single byte 0xB3, not UTF-8. A death test checks the exact bytes.
#define ASSERT_TIME_MGR_INITIALISED(timeDiff) \
    PP_ASSERT_MSG((timeDiff) > 0, "mTimeDiff>0&&L\"init TimeMgr jest odpalany po tym wywo\xB3" "aniu\"")

// ---- TimeMgr

void TimeMgr::init(int step)
{
    mTimeDiff = step;
    mTime = time_add_ms(game_time_ms(), -1);
}

void TimeMgr::update(int step)
{
    mTimeDiff = step;
    mPrevTime = mTime;
    mTime = time_add_ms(mTime, step);
    for (Timer* timer : mTimers)
        timer->mComputed = 0;
}

int TimeMgr::getTimeDiff() const
{
    ASSERT_TIME_MGR_INITIALISED(mTimeDiff);
    return mTimeDiff;
}

void TimeMgr::registerTimer(Timer* timer)
{
    mTimers.push_back(timer);
}

void TimeMgr::unregisterTimer(Timer* timer)
{
    auto found = std::find(mTimers.begin(), mTimers.end(), timer);
    if (found != mTimers.end())
        mTimers.erase(found);
}

// ---- Timer

Timer::Timer()
    : mLastTime(0), mSpeed(1.0f), mDone(0), mDuration(0), mFrom(0.0f), mTo(1.0f), mDurationF(0.0f),
      mRate(0.0f), mComputed(0), mValue(0.0f), mPaused(0)
{
    TimeMgr::get()->registerTimer(this);
}

Timer::Timer(const Timer& other) : Timer()
{
    *this = other;
}

Timer::~Timer()
{
    TimeMgr::get()->unregisterTimer(this);
}

float Timer::evaluate()
{
    if (mComputed)
        return mValue;
    mDone = 0;
    if (mDuration == -1) {
        mComputed = 1;
        mValue = 0.0f;
        return 0.0f;
    }
    TimeMgr* clock = TimeMgr::get();
    const float dt = static_cast<float>(time_diff_ms(clock->mTime, mLastTime));
    ASSERT_TIME_MGR_INITIALISED(clock->mTimeDiff);
    mLastTime = clock->mTime;
    mValue += dt / static_cast<float>(clock->mTimeDiff) * mRate * mSpeed;
    mComputed = 1;
    if ((mRate > 0.0f && mValue > mTo) || (mRate < 0.0f && mValue < mTo)) {
        mValue = mTo;
        mDone = 1;
        return mTo;
    }
    return mValue;
}

void Timer::start(int duration, float from, float to, float fraction, int onlyAtEnd)
{
    if (onlyAtEnd && mValue != from && mValue != to)
        return;
    TimeMgr* clock = TimeMgr::get();
    mDuration = duration;
    mDurationF = static_cast<float>(duration);
    mFrom = from;
    mTo = to;
    mSpeed = 1.0f;
    mLastTime = clock->mTime;
    ASSERT_TIME_MGR_INITIALISED(clock->mTimeDiff);
    // One step more than duration / step: the end is reported at the first step past `to`.
    mRate = (to - from) / (static_cast<float>(duration) / static_cast<float>(clock->mTimeDiff) + 1.0f);
    if (std::fabs(mRate) < 0.0001f)
        mRate = 0.0f;
    mComputed = 0;
    mDone = 0;
    mPaused = 0;
    mValue = from + fraction * (to - from);
    evaluate();
}

float Timer::value()
{
    return evaluate();
}

void Timer::retarget(int onlyAtEnd)
{
    if (onlyAtEnd && mValue != mTo)
        return;
    const float v = evaluate();
    const float oldFrom = mFrom;
    const float oldTo = mTo;
    // A run whose ends are equal has no direction to turn back in.
    if (oldFrom == oldTo)
        return;
    start(static_cast<int>(mDurationF), oldTo, oldFrom, (v - oldFrom) / (oldFrom - oldTo) + 1.0f, 0);
}

void Timer::reset()
{
    mPaused = 0;
    mComputed = 1;
    mDuration = -1;
    mDone = 0;
    mValue = mFrom;
}

int Timer::isDone()
{
    if (mFrom == mTo)
        return 1;
    evaluate();
    return mDone;
}

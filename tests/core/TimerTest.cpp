#include "toolkit/utils/Timer.h"

#include "core/platform.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class Timers : public testing::Test {
protected:
    void SetUp() override { TimeMgr::get()->init(10); }
    void step() { TimeMgr::get()->update(10); }
};

TEST_F(Timers, StepClockStartsBeforeTheGameClockAndAdvancesBySteps)
{
    TimeMgr* clock = TimeMgr::get();
    const int now = get_time_ms();
    clock->init(10);
    EXPECT_LE(time_diff_ms(clock->getTime(), now), 0);
    EXPECT_GE(time_diff_ms(clock->getTime(), now), -50);
    EXPECT_EQ(clock->getTimeDiff(), 10);
    const int start = clock->getTime();
    for (int i = 0; i < 3; ++i)
        step();
    EXPECT_EQ(time_diff_ms(clock->getTime(), start), 30);
    EXPECT_EQ(time_diff_ms(clock->getTime(), clock->getPrevTime()), 10);

    // On the tests' stepped clock the step clock starts from that clock, which the wall
    // clock's passing leaves where it is.
    set_stepped_clock(10);
    advance_game_clock();
    sleep_ms(20);
    clock->init(10);
    EXPECT_EQ(time_diff_ms(clock->getTime(), game_time_ms()), -1);
    set_stepped_clock(0);
}

TEST_F(Timers, RunMovesOneStepLongerThanItsDurationAndClampsAtTheEnd)
{
    Timer timer;
    EXPECT_EQ(timer.value(), 0.0f);
    timer.start(250, 0.0f, 1.0f, 0.0f, 0);
    EXPECT_EQ(timer.value(), 0.0f);
    step();
    const float rate = 1.0f / 26.0f;
    EXPECT_FLOAT_EQ(timer.value(), rate);

    float expected = rate;
    int steps = 1;
    while (expected + rate * 1.0f <= 1.0f) {
        expected += rate;
        step();
        ++steps;
        EXPECT_EQ(timer.value(), expected);
        EXPECT_EQ(timer.isDone(), 0);
    }
    step();
    EXPECT_EQ(timer.value(), 1.0f);
    EXPECT_EQ(timer.isDone(), 1);
    EXPECT_GE(steps, 25);
    EXPECT_LE(steps, 27);
}

TEST_F(Timers, ValueChangesAtMostOncePerStep)
{
    Timer timer;
    timer.start(100, 2.0f, 0.0f, 0.0f, 0);
    step();
    const float first = timer.value();
    EXPECT_LT(first, 2.0f);
    EXPECT_EQ(timer.value(), first);
    EXPECT_EQ(timer.value(), first);
}

TEST_F(Timers, ResetReadsStartValueUntilNextStepThenZero)
{
    Timer timer;
    timer.start(100, 0.5f, 1.0f, 0.5f, 0);
    timer.reset();
    EXPECT_EQ(timer.value(), 0.5f);
    step();
    EXPECT_EQ(timer.value(), 0.0f);
    step();
    EXPECT_EQ(timer.value(), 0.0f);
}

TEST_F(Timers, RetargetTurnsBackFromWhereTheValueIs)
{
    Timer timer;
    timer.start(250, 0.0f, 2.0f, 0.4f, 0);
    EXPECT_FLOAT_EQ(timer.value(), 0.8f);
    timer.retarget(0);
    EXPECT_FLOAT_EQ(timer.value(), 0.8f);
    EXPECT_EQ(timer.mFrom, 2.0f);
    EXPECT_EQ(timer.mTo, 0.0f);
    step();
    EXPECT_FLOAT_EQ(timer.value(), 0.8f - 2.0f / 26.0f);

    // Only at the end: mid-run nothing changes.
    timer.retarget(1);
    EXPECT_EQ(timer.mTo, 0.0f);

    // Equal ends: nothing to turn back to, the value stays.
    Timer flat;
    flat.start(100, 1.0f, 1.0f, 0.0f, 0);
    flat.retarget(0);
    EXPECT_EQ(flat.value(), 1.0f);
    EXPECT_EQ(flat.isDone(), 1);
}

TEST_F(Timers, StartOnlyAtAnEndDoesNotInterruptARun)
{
    Timer timer;
    timer.start(100, 0.0f, 1.0f, 0.0f, 0);
    step();
    const float mid = timer.value();
    timer.start(500, 5.0f, 6.0f, 0.0f, 1);
    EXPECT_EQ(timer.mTo, 1.0f);
    EXPECT_EQ(timer.value(), mid);

    timer.start(100, 0.0f, 1.0f, 1.0f, 0);
    timer.start(100, 1.0f, 0.0f, 0.0f, 1);
    EXPECT_EQ(timer.mTo, 0.0f);
    EXPECT_EQ(timer.value(), 1.0f);
}

TEST_F(Timers, TinyRateNeverMoves)
{
    Timer timer;
    timer.start(100000000, 0.0f, 1.0f, 0.0f, 0);
    EXPECT_EQ(timer.mRate, 0.0f);
    for (int i = 0; i < 10; ++i)
        step();
    EXPECT_EQ(timer.value(), 0.0f);
    EXPECT_EQ(timer.isDone(), 0);
}

TEST_F(Timers, DestroyedTimersAreNoLongerAdvanced)
{
    auto timer = std::make_unique<Timer>();
    timer->start(100, 0.0f, 1.0f, 0.0f, 0);
    Timer copy(*timer);
    timer.reset();
    step(); // would write into freed memory if the timer were still listed
    EXPECT_GT(copy.value(), 0.0f);
}

TEST_F(Timers, StepsAcrossTheClockWrap)
{
    // Move the step clock to 25 ms before the 32-bit wrap in large jumps.
    TimeMgr* clock = TimeMgr::get();
    uint32_t distance = static_cast<uint32_t>(INT32_MAX - 25) - static_cast<uint32_t>(clock->getTime());
    while (distance > 0) {
        const uint32_t jump = distance > (1u << 30) ? (1u << 30) : distance;
        clock->update(static_cast<int>(jump));
        distance -= jump;
    }
    ASSERT_EQ(clock->getTime(), INT32_MAX - 25);
    step();

    Timer timer;
    timer.start(100, 0.0f, 1.0f, 0.0f, 0);
    for (int i = 1; i <= 5; ++i) {
        step();
        EXPECT_FLOAT_EQ(timer.value(), i / 11.0f);
    }
    EXPECT_LT(clock->getTime(), 0); // wrapped
}

using TimersDeathTest = testing::Test;

TEST_F(TimersDeathTest, StartBeforeInitStopsTheProgram)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            Timer timer;
            timer.start(250, 0.0f, 1.0f, 0.0f, 0);
        },
        "toolkit/utils/Timer.cpp:[0-9]+: failed assertion `mTimeDiff>0&&L\"init TimeMgr jest odpalany po tym "
        "wywo\xB3" "aniu\"'");
}

} // namespace

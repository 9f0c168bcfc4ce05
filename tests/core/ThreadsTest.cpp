#include "core/macosx/threads.h"

#include "core/platform.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

class Returns : public Thread {
public:
    explicit Returns(int result) : mResult(result) {}
    int run() override
    {
        ran = true;
        return mResult;
    }
    std::atomic<bool> ran{false};

private:
    int mResult;
};

// Sleeps in long naps until asked to quit; the wake-up signal of stop() cuts a nap short.
class Sleeper : public Thread {
public:
    int run() override
    {
        asleep = true;
        while (!quit)
            sleep_ms(10000);
        return 7;
    }
    std::atomic<bool> asleep{false};
    std::atomic<bool> quit{false};
};

TEST(Threads, StopJoinsAndReturnsTheBodysResult)
{
    Returns thread(-42);
    thread.start();
    while (!thread.ran)
        sleep_ms(1);
    sleep_ms(5);
    EXPECT_EQ(thread.stop(), -42);

    // Stopped threads can run again.
    thread.start();
    EXPECT_EQ(thread.stop(), -42);
}

TEST(Threads, StopBreaksASleepInProgress)
{
    Sleeper thread;
    thread.start();
    while (!thread.asleep)
        sleep_ms(1);
    sleep_ms(20);
    const int64_t before = get_time_us();
    thread.quit = true;
    EXPECT_EQ(thread.stop(), 7);
    EXPECT_LT(get_time_us() - before, 2000000);
}

using ThreadsDeathTest = testing::Test;

TEST_F(ThreadsDeathTest, MisuseStopsTheProgram)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            Returns thread(0);
            thread.start();
            thread.start();
        },
        "core/macosx/threads.cpp:[0-9]+: failed assertion `!started && !running'");
    EXPECT_DEATH(
        {
            Returns thread(0);
            thread.stop();
        },
        "failed assertion `started'");
    // The body has run before the object goes, so only the missing stop is at fault.
    EXPECT_DEATH(
        {
            Returns thread(0);
            thread.start();
            while (!thread.ran)
                sleep_ms(1);
        },
        "failed assertion `!started'");
}

} // namespace

#include "core/GameMain.h"

#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// ---- the step schedule on the wrapping clock

// Steps the schedule would run at a clock that does not move while they run.
int stepsDueAt(StepSchedule& schedule, int now)
{
    int steps = 0;
    while (schedule.due(now)) {
        schedule.advance();
        ++steps;
    }
    return steps;
}

TEST(StepSchedule, CatchesUpInTenMillisecondSteps)
{
    StepSchedule schedule;
    schedule.start(1000);
    EXPECT_EQ(stepsDueAt(schedule, 1035), 4);
    EXPECT_EQ(schedule.next(), 1040);
    EXPECT_EQ(stepsDueAt(schedule, 1035), 0);
    EXPECT_EQ(stepsDueAt(schedule, 1041), 1);
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

TEST(StepSchedule, KeepsStepsAcrossTheClockWrap)
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

// ---- the working directory

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
    exe += "/bin/petpark";
    std::string folder;
    ASSERT_TRUE(resourcesFolder(exe.c_str(), folder));
    EXPECT_EQ(folder, exe.substr(0, exe.size() - 8) + "/../Resources");
}

} // namespace

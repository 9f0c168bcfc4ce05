// The 3D object as the loader uses it: load refuses names that are not scene files, unload
// waits for queued draws, and a second load of a loaded object stops.

#include "fixtures/HeadlessEngine.h"
#include "render/CRender.h"
#include "render/object.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

namespace {

std::string loadCapturingErrors(CRender::Object& object, const std::string& path, bool* loaded)
{
    ::testing::internal::CaptureStderr();
    *loaded = object.load(path);
    return ::testing::internal::GetCapturedStderr();
}

TEST(Object, OnlySceneFilesAreTakenWhateverTheCaseOfTheirExtension)
{
    HeadlessEngine engine;
    CRender::Object object;
    bool loaded = true;
    EXPECT_EQ(loadCapturingErrors(object, "data/3dn/dog.obj", &loaded),
              "Can't load data/3dn/dog.obj: unknown format\n");
    EXPECT_FALSE(loaded);
    EXPECT_EQ(loadCapturingErrors(object, "3dn", &loaded), "Can't load 3dn: unknown format\n");
    EXPECT_EQ(loadCapturingErrors(object, "data/3dn/dog.3DN", &loaded).find("unknown format"),
              std::string::npos);
    EXPECT_FALSE(object.is_loaded());
    int progress = -1, total = -1;
    object.get_counts(&progress, &total);
    EXPECT_EQ(progress, 0);
    EXPECT_EQ(total, 0);
    EXPECT_EQ(object.get_fps(), 0.0f);
}

TEST(Object, WithoutAnEngineNothingLoads)
{
    Render* previous = Render::current();
    Render::set_current(nullptr);
    CRender::Object object;
    bool loaded = true;
    EXPECT_EQ(loadCapturingErrors(object, "x.obj", &loaded), "");
    EXPECT_FALSE(loaded);
    object.unload();  // not loaded: nothing to do
    EXPECT_FALSE(object.is_loaded());
    Render::set_current(previous);
}

TEST(Object, UnloadWaitsWhileQueuedDrawsUseTheObject)
{
    HeadlessEngine engine;
    Object object;
    object.device = &engine.device;  // as a successful load leaves it
    object.in_use = 1;
    std::atomic<bool> drawn{false};
    std::thread pass([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(40));
        std::lock_guard<std::mutex> lock(object.mutex);
        drawn = true;
        --object.in_use;
    });
    object.unload();
    EXPECT_TRUE(drawn.load());
    EXPECT_FALSE(object.is_loaded());
    pass.join();
}

TEST(ObjectDeathTest, LoadingALoadedObjectStops)
{
    EXPECT_DEATH(
        {
            HeadlessEngine engine;
            Object object;
            object.device = &engine.device;
            object.load("again.3dn");
        },
        "object.cpp:[0-9]+: failed assertion `!is_loaded\\(\\)'");
}

} // namespace

// Sound resources of the loader and the registry of the interface effects, on SDL's dummy
// audio driver with the generated sound files.

#include "render/external/Sounds.h"
#include "render/external/bg_loader.h"

#include "core/platform.h"
#include "fixtures/HeadlessEngine.h"

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <set>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

const std::string kResources = std::string(PETPARK_APP_DIR) + "/Resources";

bool waitForChunk(NSound* sound)
{
    for (int i = 0; i < 5000 && !sound->mChunk; ++i)
        std::this_thread::sleep_for(1ms);
    return sound->mChunk != nullptr;
}

// Audio open on the dummy driver, an engine for the loader thread, and the working folder
// the game has ("data/..." paths).
class SoundLoading : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        sound_open_audio();
        engine = std::make_unique<HeadlessEngine>();
        char cwd[4096];
        savedCwd = getcwd(cwd, sizeof cwd) ? cwd : ".";
        ASSERT_EQ(chdir(kResources.c_str()), 0);
    }
    static void TearDownTestSuite()
    {
        // The registry's resources live in the program-wide loader: stop it while the engine
        // still exists.
        bgLoader.shutdown();
        engine.reset();
        if (audioOpen) {
            Mix_CloseAudio();
            audioOpen = 0;
        }
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        (void)!chdir(savedCwd.c_str());
    }
    void SetUp() override { ASSERT_EQ(audioOpen, 1) << Mix_GetError(); }

    static std::unique_ptr<HeadlessEngine> engine;
    static std::string savedCwd;
};
std::unique_ptr<HeadlessEngine> SoundLoading::engine;
std::string SoundLoading::savedCwd;

TEST_F(SoundLoading, SoundIsChargedItsFileSizeAndPlaysOnceLoaded)
{
    BGLoader loader(kLoaderBudget);
    const std::string path = "data/sounds/ZEB_Click.wav";
    auto* sound = static_cast<BGLoader::SoundResource*>(
        loader.request(path, 100, &loader.soundFactory, 1));
    ASSERT_TRUE(waitForChunk(sound));
    testing::internal::CaptureStdout();
    loader.dumpCache();
    std::string dump = testing::internal::GetCapturedStdout();
    EXPECT_NE(dump.find("RAM usage: " + std::to_string(file_size(path.c_str()))), std::string::npos)
        << dump;
    EXPECT_GE(sound->play(), 0);
}

TEST_F(SoundLoading, MissingSoundIsAWeightlessFailedEntryThatPlaysNothing)
{
    BGLoader loader(kLoaderBudget);
    auto* sound = static_cast<BGLoader::SoundResource*>(
        loader.request("data/sounds/missing.wav", 100, &loader.soundFactory, 1));
    EXPECT_EQ(sound->estimate_weight("data/sounds/missing.wav"), 0);
    std::string dump;
    for (int i = 0; i < 5000 && dump.find("state: loaded") == std::string::npos; ++i) {
        std::this_thread::sleep_for(1ms);
        testing::internal::CaptureStdout();
        loader.dumpCache();
        dump = testing::internal::GetCapturedStdout();
    }
    EXPECT_NE(dump.find("state: loaded\npriority: 100\nreferences: 1\nRAM usage: 0\n"),
              std::string::npos)
        << dump;
    EXPECT_EQ(sound->mChunk, nullptr);
    EXPECT_EQ(sound->play(), -1);
}

TEST_F(SoundLoading, RegistryHoldsTheSevenEffectsInKeyOrderAndPlaysThemByKey)
{
    Sounds* sounds = Sounds::get();
    sounds->loadAll();
    std::vector<std::string> keys;
    std::set<NSound*> distinct;
    for (auto& entry : sounds->sounds) {
        keys.push_back(entry.first);
        distinct.insert(entry.second);
    }
    const std::vector<std::string> expected = {"a_done", "a_new", "buy",        "click",
                                               "exit",   "popup", "wrong_click"};
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(distinct.size(), 7u);

    for (auto& entry : sounds->sounds)
        ASSERT_TRUE(waitForChunk(entry.second)) << entry.first;
    for (const std::string& key : expected)
        EXPECT_GE(sounds->play(key), 0) << key;

    testing::internal::CaptureStdout();
    EXPECT_EQ(sounds->play("applause"), -1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Warning: no sound effect named applause\n");
}

} // namespace

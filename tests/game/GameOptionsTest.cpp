#include "game/GameOptions.h"

#include "core/sdl_layer.h"
#include "toolkit/utils/misc.h"

#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const char* const kDefault = "[resolution]\n0\n0\n\n[fullscreen]\n0\n\n[music volume]\n0.5\n\n"
                             "[sound volume]\n1\n\n[profile]\n-1\n";

TEST(GameOptions, FirstRunReadsTheDefaultsAndWritesSaveTxt)
{
    TempDir dir;
    dir.write("defaultsave.txt", kDefault);
    GameOptions options(dir.path() + "/");
    // The first save keeps the width of 0; applying then takes the display's mode.
    EXPECT_EQ(dir.read("save.txt"), std::string("\xEF\xBB\xBF") + "[resolution]\n0\n0\n\n[fullscreen]\n0\n\n"
                                                                  "[music volume]\n0.5\n\n[sound volume]\n1\n\n"
                                                                  "[profile]\n-1");
    EXPECT_GT(options.mWidth, 0);
    EXPECT_GT(options.mHeight, 0);
    EXPECT_EQ(options.mMusicVolume, 0.5f);
    EXPECT_EQ(options.mProfile, -1);

    // From now on "save.txt" is read.
    dir.write("save.txt", "[Resolution]\n1024\n768\n\n[fullscreen]\n1\n\n[music volume]\n0.25\n\n"
                          "[sound volume]\n0\n\n[profile]\n2");
    GameOptions again(dir.path() + "/");
    EXPECT_EQ(again.mWidth, 1024);
    EXPECT_EQ(again.mHeight, 768);
    EXPECT_EQ(again.mFullscreen, 1);
    EXPECT_EQ(again.mMusicVolume, 0.25f);
    EXPECT_EQ(again.mSoundVolume, 0.0f);
    EXPECT_EQ(again.mProfile, 2);
}

TEST(GameOptions, WritesTheFiveSectionsExactly)
{
    TempDir dir;
    dir.write("save.txt", kDefault);
    GameOptions options(dir.path() + "/");
    options.mWidth = 1024;
    options.mHeight = 768;
    options.mFullscreen = 0;
    options.mMusicVolume = 0.5f;
    options.mSoundVolume = 1.0f;
    options.mProfile = -1;
    ASSERT_TRUE(options.save());
    EXPECT_EQ(dir.read("save.txt"), std::string("\xEF\xBB\xBF") + "[resolution]\n1024\n768\n\n[fullscreen]\n0\n\n"
                                                                  "[music volume]\n0.5\n\n[sound volume]\n1\n\n"
                                                                  "[profile]\n-1");
}

TEST(GameOptions, AFolderThatCannotBeWrittenGivesTheKindOfFailure)
{
    TempDir dir;
    dir.write("defaultsave.txt", kDefault);
    testing::internal::CaptureStdout();
    WriteFailure failure = WriteFailure::None;
    GameOptions options(dir.path() + "/Gone/", &failure);
    EXPECT_EQ(failure, WriteFailure::Open);
    EXPECT_GT(options.mWidth, 0);
    GameOptions written(dir.path() + "/", &failure);
    EXPECT_EQ(failure, WriteFailure::None);
    // The save replaces the file by a rename: a folder in its place cannot be replaced.
    std::filesystem::remove(dir.path() + "/save.txt");
    std::filesystem::create_directories(dir.path() + "/save.txt/inside");
    EXPECT_FALSE(written.save(&failure));
    EXPECT_EQ(failure, WriteFailure::Rename);
    testing::internal::GetCapturedStdout();
}

TEST(GameOptions, AppliesFullScreenAsANegativeSize)
{
    TempDir dir;
    dir.write("save.txt", "[resolution]\n800\n600\n\n[fullscreen]\n1\n\n[music volume]\n0.5\n\n"
                          "[sound volume]\n1\n\n[profile]\n-1");
    GameOptions options(dir.path() + "/");
    EXPECT_EQ(inputState.windowMode, 0);
    EXPECT_EQ(inputState.windowWidth, 800);
    EXPECT_EQ(inputState.windowHeight, 600);
    options.mFullscreen = 0;
    options.apply();
    EXPECT_EQ(inputState.windowMode, 2);
    EXPECT_EQ(inputState.windowWidth, 800);
    EXPECT_EQ(inputState.windowHeight, 600);
}

TEST(GameOptions, MissingOrBadValuesGetSafeDefaults)
{
    TempDir dir;
    testing::internal::CaptureStdout();
    GameOptions none(dir.path() + "/");
    EXPECT_EQ(none.mFullscreen, 0);
    EXPECT_EQ(none.mMusicVolume, 1.0f);
    EXPECT_EQ(none.mSoundVolume, 1.0f);
    EXPECT_EQ(none.mProfile, -1);
    EXPECT_GT(none.mWidth, 0);

    dir.write("save.txt", "[resolution]\n-800\n600\n\n[music volume]\n7\n\n[sound volume]\n-2\n\n"
                          "[profile]\nabc\n\n[fullscreen]\n");
    GameOptions bad(dir.path() + "/");
    testing::internal::GetCapturedStdout();
    // A negative width means "the display's mode", never a flipped window mode.
    EXPECT_GT(bad.mWidth, 0);
    EXPECT_NE(bad.mWidth, 800);
    EXPECT_EQ(bad.mFullscreen, 0);
    EXPECT_EQ(bad.mMusicVolume, 1.0f);
    EXPECT_EQ(bad.mSoundVolume, 0.0f);
    EXPECT_EQ(bad.mProfile, -1);
}

TEST(GameOptions, SizesTheDisplayCannotShowFallBackToItsMode)
{
    TempDir dir;
    GameOptions shown(dir.path() + "/");
    const int displayWidth = shown.mWidth, displayHeight = shown.mHeight;
    for (const char* size : {"100000\n100000", "1\n1", "100000\n600", "800\n1"}) {
        dir.write("save.txt", std::string("[resolution]\n") + size + "\n\n[fullscreen]\n0\n");
        testing::internal::CaptureStdout();
        GameOptions options(dir.path() + "/");
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_NE(out.find(dir.path() + "/save.txt: [resolution]"), std::string::npos) << size;
        EXPECT_EQ(options.mWidth, displayWidth) << size;
        EXPECT_EQ(options.mHeight, displayHeight) << size;
        EXPECT_EQ(inputState.windowWidth, displayWidth) << size;
        EXPECT_NE(dir.read("save.txt").find("[resolution]\n0\n0\n"), std::string::npos) << size;
    }
    // A size the display shows is kept without a word.
    dir.write("save.txt", "[resolution]\n800\n600\n");
    testing::internal::CaptureStdout();
    GameOptions kept(dir.path() + "/");
    EXPECT_EQ(testing::internal::GetCapturedStdout().find("[resolution]"), std::string::npos);
    EXPECT_EQ(kept.mWidth, 800);
}

} // namespace

// The options screen: volume steps clamped at both ends with the wrong-click sound, the knob
// dragged and held at the ends, the resolution wrapping round, ok writing and applying the
// choices (told on screen when they cannot be written), cancel and close putting back the
// options as they were without writing.

#include "MainMenuTestSupport.h"

#include "core/sdl_layer.h"
#include "core/sound.h"
#include "toolkit/widgets/WidgetButton.h"

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <cmath>

using namespace menus;

namespace {

class Options : public MenuTest {
protected:
    void SetUp() override
    {
        MenuTest::SetUp();
        options = Singleton<MenuOptions>::get();
        savedModes = options->modes;
        options->modes = {{800, 600}, {1024, 768}, {1280, 1024}};
        GameOptions* o = storage->mOptions;
        o->mWidth = 1024;
        o->mHeight = 768;
        o->mFullscreen = 0;
        o->mSoundVolume = 0.5f;
        o->mMusicVolume = 0.5f;
        ASSERT_TRUE(o->save());
        menu->runCommand(L"options");
        showFully(options);
    }
    void TearDown() override
    {
        options->modes = savedModes;
        MenuTest::TearDown();
    }

    // A click on a layout widget: its handler with the press released over it (the layout's
    // pictures are not loaded here, so the pointer cannot reach them).
    void clickWidget(void (MenuOptions::*handler)(int, int)) { (options->*handler)(kLayerClick, kLayerReleased); }
    float knobOffset(WidgetButton* knob) { return knob->getOffset().first; }

    MenuOptions* options = nullptr;
    std::vector<std::pair<int, int>> savedModes;
};

TEST_F(Options, TheSlidersStartFromTheOptions)
{
    EXPECT_GT(options->soundMax, options->soundMin);
    EXPECT_GT(options->musicMax, options->musicMin);
    EXPECT_FLOAT_EQ(knobOffset(options->mWidget3), 0.5f * (options->soundMax - options->soundMin));
    EXPECT_EQ(options->resolutionIndex, 1);
    EXPECT_EQ(options->savedResolutionIndex, 1);
}

TEST_F(Options, StepsStopAtBothEndsWithTheWrongClick)
{
    // Six steps down from 0.5 reach 0.05, each with a click; the seventh holds 0.
    int clicks = soundsPlayed("click", [&] {
        for (int k = 0; k < 6; ++k)
            clickWidget(&MenuOptions::onWidget4);
    });
    EXPECT_EQ(clicks, 6);
    EXPECT_NEAR(options->soundVolume, 0.05f, 1e-5f);
    EXPECT_EQ(soundsPlayed("wrong_click", [&] { clickWidget(&MenuOptions::onWidget4); }), 1);
    EXPECT_EQ(options->soundVolume, 0.0f);
    EXPECT_EQ(knobOffset(options->mWidget3), 0.0f);

    options->musicVolume = 1.0f;
    EXPECT_EQ(soundsPlayed("wrong_click", [&] { clickWidget(&MenuOptions::onWidget9); }), 1);
    EXPECT_EQ(options->musicVolume, 1.0f);
    EXPECT_FLOAT_EQ(knobOffset(options->mWidget7), options->musicMax - options->musicMin);
}

TEST_F(Options, TheKnobFollowsThePointerAndHoldsAtTheEnds)
{
    WidgetButton* knob = options->mWidget7;
    const float4 r = knob->getImages()[0]->getRect();
    const float y = r.y + 0.5f * r.w;
    // Pressed on the knob: the drag starts with a click. The pointer moves on with the button
    // held, out of the knob (its layer state stays pressed).
    point(r.x + knobOffset(knob) + 0.5f * r.z, y, 1);
    EXPECT_EQ(soundsPlayed("click", [&] { options->onWidget7(kLayerOver, kLayerClick); }), 1);
    EXPECT_EQ(options->musicDragging, 1);

    // A quarter of the way along.
    const float length = options->musicMax - options->musicMin;
    point(options->musicMin + 0.25f * length + 0.5f * r.z, y + 0.1f, 1);
    options->onWidget7(kLayerClick, kLayerClick);
    EXPECT_NEAR(options->musicVolume, 0.25f, 1e-4f);
    EXPECT_NEAR(knobOffset(knob), 0.25f * length, 1e-5f);

    // Far past the right end, then far past the left.
    point(2.0f, y, 1);
    options->onWidget7(kLayerClick, kLayerNormal);
    EXPECT_EQ(options->musicVolume, 1.0f);
    EXPECT_FLOAT_EQ(knobOffset(knob), length);
    point(-1.0f, y, 1);
    options->onWidget7(kLayerNormal, kLayerNormal);
    EXPECT_EQ(options->musicVolume, 0.0f);
    EXPECT_EQ(knobOffset(knob), 0.0f);

    // Released anywhere: the drag ends and the knob stays.
    point(0.5f, 0.9f, 0);
    options->onWidget7(kLayerNormal, kLayerNormal);
    EXPECT_EQ(options->musicDragging, 0);
    point(2.0f, y, 0);
    options->onWidget7(kLayerNormal, kLayerNormal);
    EXPECT_EQ(options->musicVolume, 0.0f);
}

TEST_F(Options, OkWritesAndAppliesTheChoices)
{
    click(options, options->resolutionButton);
    EXPECT_EQ(options->resolutionIndex, 2);
    click(options, options->resolutionButton);
    EXPECT_EQ(options->resolutionIndex, 0);
    click(options, options->fullscreenButton);
    EXPECT_EQ(options->fullscreen, 1);
    click(options, options->fullscreenButton);
    click(options, options->fullscreenButton);
    clickWidget(&MenuOptions::onWidget5);
    click(options, options->okButton);

    GameOptions* o = storage->mOptions;
    EXPECT_EQ(o->mWidth, 800);
    EXPECT_EQ(o->mHeight, 600);
    EXPECT_EQ(o->mFullscreen, 1);
    EXPECT_NEAR(o->mSoundVolume, 0.575f, 1e-6f);
    EXPECT_EQ(inputState.windowMode, 0);  // full screen
    EXPECT_EQ(inputState.windowWidth, 800);
    const std::string saved = data.read("data/game/save.txt");
    EXPECT_NE(saved.find("[resolution]\n800\n600"), std::string::npos);
    EXPECT_NE(saved.find("[fullscreen]\n1"), std::string::npos);
    EXPECT_EQ(menu->currentMenu(), L"returnfromoptions");
    EXPECT_EQ(screens::showState(options), kShowDisappearing);
}

// A folder that cannot be written (read-only, full): the player is told at every Ok, and the
// choices stay in force for the run.
TEST_F(Options, OptionsThatCannotBeWrittenAreToldAndKeptForTheRun)
{
    GameOptions* o = storage->mOptions;
    const std::string path = o->mPath;
    o->mPath = "data/game/Gone/save.txt";
    storage->mPlayerNotices.clear();
    click(options, options->resolutionButton);
    clickWidget(&MenuOptions::onWidget5);
    testing::internal::CaptureStdout();
    click(options, options->okButton);
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(storage->mPlayerNotices.size(), 1u);
    EXPECT_EQ(storage->mPlayerNotices[0].mTitleKey, L"savefailed");
    EXPECT_EQ(storage->mPlayerNotices[0].mTextKey, L"optionsfailedopen");
    EXPECT_EQ(storage->mPlayerNotices[0].mFile, L"data/game/Gone/save.txt");
    EXPECT_EQ(o->mWidth, 1280);
    EXPECT_NEAR(o->mSoundVolume, 0.575f, 1e-6f);
    EXPECT_EQ(inputState.windowWidth, 1280);

    // The main menu shows the message once the options have gone.
    makeProfiles(1);
    storage->mCurrentProfile = 0;
    MainMenuStart* start = Singleton<MainMenuStart>::get();
    showFully(start);
    EXPECT_TRUE(Singleton<Popup>::get()->isVisible());
    EXPECT_TRUE(storage->mPlayerNotices.empty());

    // Shown again, the options are the ones chosen; a second Ok is told again.
    screens::hideNow(Singleton<Popup>::get());
    menu->runCommand(L"options");
    showFully(options);
    EXPECT_EQ(options->resolutionIndex, 2);
    EXPECT_NEAR(options->soundVolume, 0.575f, 1e-6f);
    testing::internal::CaptureStdout();
    click(options, options->okButton);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(storage->mPlayerNotices.size(), 1u);
    o->mPath = path;
}

TEST_F(Options, CancelAndCloseRestoreWithoutWriting)
{
    const std::string before = data.read("data/game/save.txt");
    clickWidget(&MenuOptions::onWidget8);
    click(options, options->resolutionButton);
    click(options, options->fullscreenButton);
    click(options, options->cancelButton);
    GameOptions* o = storage->mOptions;
    EXPECT_EQ(o->mMusicVolume, 0.5f);
    EXPECT_EQ(o->mWidth, 1024);
    EXPECT_EQ(o->mFullscreen, 0);
    EXPECT_EQ(inputState.windowMode, 2);
    EXPECT_EQ(inputState.windowWidth, 1024);
    EXPECT_EQ(data.read("data/game/save.txt"), before);
    EXPECT_EQ(menu->currentMenu(), L"returnfromoptions");

    showFully(options);
    clickWidget(&MenuOptions::onWidget4);
    EXPECT_EQ(soundsPlayed("exit", [&] { clickWidget(&MenuOptions::onWidget1); }), 1);
    EXPECT_EQ(o->mSoundVolume, 0.5f);
    EXPECT_EQ(data.read("data/game/save.txt"), before);
    EXPECT_EQ(menu->currentMenu(), L"nomenu");
    EXPECT_EQ(screens::showState(options), kShowDisappearing);
}

TEST_F(Options, ASizeTheDisplayDoesNotListIsOfferedAsItIs)
{
    menu->runCommand(L"returnfromoptions");
    storage->mOptions->mWidth = 1100;
    storage->mOptions->mHeight = 700;
    showFully(options);
    ASSERT_EQ(options->modes.size(), 4u);
    EXPECT_EQ(options->modes[options->resolutionIndex], std::make_pair(1100, 700));
    click(options, options->cancelButton);
    EXPECT_EQ(storage->mOptions->mWidth, 1100);
    EXPECT_EQ(inputState.windowWidth, 1100);
}

TEST_F(Options, TheVolumesAreHeardAtOnce)
{
    sound_open_audio();
    if (!audioOpen)
        GTEST_SKIP() << "no audio device";
    clickWidget(&MenuOptions::onWidget8);  // music 0.425
    EXPECT_EQ(Mix_VolumeMusic(-1), int(0.425f * 128));
    clickWidget(&MenuOptions::onWidget5);  // sound 0.575
    EXPECT_EQ(Mix_Volume(0, -1), int(0.575f * 128));
}

} // namespace

#include "core/sound.h"

#include <SDL/SDL.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace {

const std::string kData = std::string(PETPARK_APP_DIR) + "/Resources/data/";

const char* const kEffects[] = {"ZEB_Click.wav",          "ZEB_AchievementDone.wav",
                                "ZEB_Buy.wav",            "ZEB_NewAchievement.wav",
                                "ZEB_Popup.wav",          "ZEB_WrongClick.wav",
                                "ZEB_Exit.wav"};

std::string effect_path(const char* name)
{
    return kData + "sounds/" + name;
}

const std::string kMusic = kData + "music/zorvan.ogg";

void close_audio()
{
    music_stop();
    if (audioOpen) {
        Mix_CloseAudio();
        audioOpen = 0;
    }
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

// Audio on the dummy driver (the test environment's), closed again after each test.
class Audio : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        sound_open_audio();
        ASSERT_EQ(audioOpen, 1) << Mix_GetError();
    }
    void TearDown() override { close_audio(); }
};

TEST(SilentAudio, WithoutAnAudioDeviceEverythingIsSilentAndSafe)
{
    setenv("SDL_AUDIODRIVER", "nonexistent", 1);
    sound_open_audio();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_EQ(audioOpen, 0);

    NSound sound;
    sound.mChannel = 3;
    EXPECT_FALSE(sound.load(effect_path("ZEB_Click.wav").c_str()));
    EXPECT_EQ(sound.play(), -1);
    EXPECT_EQ(sound.mChannel, 3);   // untouched while audio is closed
    music_play(kMusic.c_str(), -1);
    EXPECT_EQ(currentMusic, nullptr);
    sound_set_volume(0.5f);
    music_set_volume(0.5f);
    music_stop();
    sound.unload();
    close_audio();
}

TEST_F(Audio, VolumesMapToMixerLevelsTruncated)
{
    sound_set_volume(0.5f);
    EXPECT_EQ(Mix_Volume(0, -1), 64);
    EXPECT_EQ(Mix_Volume(-1, -1), 64);
    sound_set_volume(1.0f);
    EXPECT_EQ(Mix_Volume(3, -1), 128);
    sound_set_volume(0.999f);
    EXPECT_EQ(Mix_Volume(0, -1), 127);

    music_set_volume(0.5f);
    EXPECT_EQ(Mix_VolumeMusic(-1), 64);
    music_set_volume(0.999f);
    EXPECT_EQ(Mix_VolumeMusic(-1), 127);
}

TEST_F(Audio, GeneratedEffectsLoadAndPlayOnAChannel)
{
    std::set<std::string> samples;   // the seven effects sound different
    for (const char* name : kEffects) {
        SCOPED_TRACE(name);
        NSound sound;
        ASSERT_TRUE(sound.load(effect_path(name).c_str())) << Mix_GetError();
        Mix_Chunk* chunk = sound.mChunk;
        // Short: 40 ms to 1 s of 44.1 kHz 16-bit stereo once converted.
        double seconds = chunk->alen / (44100.0 * 4);
        EXPECT_GE(seconds, 0.04);
        EXPECT_LE(seconds, 1.0);
        EXPECT_TRUE(samples.insert(std::string(reinterpret_cast<const char*>(chunk->abuf), chunk->alen)).second);
        int channel = sound.play();
        EXPECT_GE(channel, 0);
        EXPECT_EQ(sound.mChannel, channel);
        EXPECT_EQ(Mix_Playing(channel), 1);
        Mix_HaltChannel(channel);
        sound.unload();
        EXPECT_EQ(sound.mChunk.load(), nullptr);
    }
}

TEST_F(Audio, AFailedEffectLoadWarnsAndPlaysNothing)
{
    NSound sound;
    std::string missing = kData + "sounds/none.wav";
    testing::internal::CaptureStderr();
    EXPECT_FALSE(sound.load(missing.c_str()));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("none.wav"), std::string::npos) << err;
    EXPECT_EQ(sound.play(), -1);
    EXPECT_EQ(sound.mChannel, -1);
}

TEST_F(Audio, MusicPlaysAndIsReplaced)
{
    music_play(kMusic.c_str(), -1);
    ASSERT_NE(currentMusic, nullptr) << Mix_GetError();
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    music_play(effect_path("ZEB_Popup.wav").c_str(), -1);
    ASSERT_NE(currentMusic, nullptr);
    EXPECT_EQ(Mix_GetMusicType(currentMusic), MUS_WAV);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    music_stop();
    EXPECT_EQ(currentMusic, nullptr);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    music_stop();   // nothing playing: harmless
}

TEST_F(Audio, AFailedMusicLoadWarnsAndPlaysNothing)
{
    music_play(kMusic.c_str(), -1);
    testing::internal::CaptureStderr();
    music_play((kData + "music/none.ogg").c_str(), -1);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("none.ogg"), std::string::npos) << err;
    EXPECT_EQ(currentMusic, nullptr);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
}

TEST_F(Audio, MusicEndingByItselfIsFreedLaterOnTheMainThread)
{
    music_play(effect_path("ZEB_Click.wav").c_str(), 1);
    ASSERT_NE(currentMusic, nullptr);
    for (int i = 0; i < 300 && Mix_PlayingMusic(); ++i)
        SDL_Delay(10);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    EXPECT_NE(currentMusic, nullptr);   // not freed on the mixer's thread
    music_stop();
    EXPECT_EQ(currentMusic, nullptr);
}

TEST_F(Audio, MusicIsAnOggVorbisLoopOfTwentyToFortySecondsWithoutASeam)
{
    std::ifstream file(kMusic, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 1000u);
    EXPECT_EQ(bytes.compare(0, 4, "OggS"), 0);
    EXPECT_NE(bytes.find("\x01vorbis"), std::string::npos);

    // Decoded whole, at the mixer's format (44.1 kHz, 16-bit, stereo).
    Mix_Chunk* chunk = Mix_LoadWAV(kMusic.c_str());
    ASSERT_NE(chunk, nullptr) << Mix_GetError();
    const int16_t* s = reinterpret_cast<const int16_t*>(chunk->abuf);
    const int frames = int(chunk->alen / 4);
    double seconds = frames / 44100.0;
    EXPECT_GE(seconds, 20.0);
    EXPECT_LE(seconds, 40.0);

    // The step from the last frame to the first is no bigger than the steps inside.
    double meanStep = 0.0, peak = 0.0;
    for (int i = 1; i < frames; ++i) {
        meanStep += std::abs(s[2 * i] - s[2 * i - 2]);
        peak = std::max(peak, double(std::abs(s[2 * i])));
    }
    meanStep /= frames - 1;
    EXPECT_GT(peak, 8000.0);   // not silence
    for (int c = 0; c < 2; ++c) {
        double seam = std::abs(s[c] - s[2 * (frames - 1) + c]);
        EXPECT_LT(seam, 4.0 * meanStep) << "channel " << c;
    }
    Mix_FreeChunk(chunk);
}

} // namespace

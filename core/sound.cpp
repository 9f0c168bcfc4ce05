#include "core/sound.h"

#include <cstdio>

int audioOpen = 0;
Mix_Music* currentMusic = nullptr;

namespace {

const int kMixerVolume = MIX_MAX_VOLUME;   // 128

int mixer_volume(float volume)
{
    return int(volume * kMixerVolume);
}

} // namespace

void sound_open_audio()
{
    audioOpen = Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 4096) == 0 ? 1 : 0;
}

bool NSound::load(const char* path)
{
    SDL_RWops* file = SDL_RWFromFile(path, "rb");
    Mix_Chunk* chunk = file ? Mix_LoadWAV_RW(file, 1) : nullptr;
    if (!chunk && audioOpen)
        std::fprintf(stderr, "Warning: can't load sound %s: %s\n", path, Mix_GetError());
    mChunk = chunk;
    return chunk != nullptr;
}

void NSound::unload()
{
    if (Mix_Chunk* chunk = mChunk.exchange(nullptr))
        Mix_FreeChunk(chunk);
}

int NSound::play(float volume)
{
    if (!audioOpen)
        return -1;
    Mix_Chunk* chunk = mChunk;
    if (!chunk)
        return mChannel = -1;
    // The effect's own volume; the channel volume (sound_set_volume) scales it.
    Mix_VolumeChunk(chunk, mixer_volume(volume < 0.0f ? 0.0f : volume > 1.0f ? 1.0f : volume));
    mChannel = Mix_PlayChannelTimed(-1, chunk, 0, -1);
    return mChannel;
}

void sound_set_volume(float volume)
{
    if (audioOpen)
        Mix_Volume(-1, mixer_volume(volume));
}

void music_play(const char* path, int loops)
{
    if (!audioOpen)
        return;
    music_stop();
    currentMusic = Mix_LoadMUS(path);
    if (!currentMusic) {
        std::fprintf(stderr, "Warning: can't load music %s: %s\n", path, Mix_GetError());
        return;
    }
    // No music-finished hook: it would run on the mixer's thread, where halting and
    // freeing the music is not allowed. A music that ends by itself is freed on this
    // thread by the next music_play or music_stop.
    if (Mix_PlayMusic(currentMusic, loops) != 0)
        std::fprintf(stderr, "Warning: can't play music %s: %s\n", path, Mix_GetError());
}

void music_stop()
{
    if (!currentMusic)
        return;
    Mix_HaltMusic();
    Mix_FreeMusic(currentMusic);
    currentMusic = nullptr;
}

void music_set_volume(float volume)
{
    if (audioOpen)
        Mix_VolumeMusic(mixer_volume(volume));
}

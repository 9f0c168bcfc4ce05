#include "core/sound.h"

#include <cstdio>
#include <cstring>
#include <vector>

int audioOpen = 0;
Mix_Music* currentMusic = nullptr;

namespace {

const int kMixerVolume = MIX_MAX_VOLUME;   // 128

int mixer_volume(float volume)
{
    return int(volume * kMixerVolume);
}

// An Ogg stream ends with a whole page flagged end of stream. The mixer plays a cut-off file
// as far as it goes without a word; this tells whether the file's last page is complete.
bool oggEndsWhole(const char* path)
{
    FILE* f = std::fopen(path, "rb");
    if (!f)
        return true;
    const long kTail = 65536 + 512;
    std::vector<unsigned char> tail;
    if (std::fseek(f, 0, SEEK_END) == 0) {
        const long size = std::ftell(f);
        const long from = size > kTail ? size - kTail : 0;
        if (size > 0 && std::fseek(f, from, SEEK_SET) == 0) {
            tail.resize(size_t(size - from));
            tail.resize(std::fread(tail.data(), 1, tail.size(), f));
        }
    }
    std::fclose(f);
    // The last page header: "OggS", flags at byte 5, its segment table from byte 27 on (count
    // at byte 26), then its data up to the end of the file.
    for (size_t at = tail.size() >= 4 ? tail.size() - 4 + 1 : 0; at-- > 0;) {
        if (std::memcmp(&tail[at], "OggS", 4) != 0)
            continue;
        if (at + 27 > tail.size() || at + 27 + tail[at + 26] > tail.size())
            return false;
        size_t length = 27 + tail[at + 26];
        for (size_t k = 0; k < tail[at + 26]; ++k)
            length += tail[at + 27 + k];
        return (tail[at + 5] & 0x04) != 0 && at + length == tail.size();
    }
    return true;  // no Ogg page: not for this check
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
    if (!oggEndsWhole(path))
        std::fprintf(stderr, "Warning: music %s is cut off; it plays as far as it goes\n", path);
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

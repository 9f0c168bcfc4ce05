#pragma once

// Sound effects and streamed music over SDL_mixer. While the audio device is not open
// (audioOpen 0) every play, volume and music operation does nothing: the game runs silent.

#include <SDL/SDL_mixer.h>

#include <atomic>

extern int audioOpen;             // 1 once the audio device is open
extern Mix_Music* currentMusic;   // the music being played, or null

// Opens the audio device (44.1 kHz, 16-bit native order, stereo) and sets audioOpen.
void sound_open_audio();

// One loaded sound effect. It is loaded and unloaded on the background loader's thread
// and played on the main thread, so the chunk pointer is atomic.
class NSound {
public:
    std::atomic<Mix_Chunk*> mChunk{nullptr};
    int mChannel = -1;   // mixer channel of the last play

    // Reads a sound file; false (with a warning) when no chunk was made.
    bool load(const char* path);
    void unload();
    // Plays the effect once on the first free channel at volume (0..1) of the effect
    // volume: the channel, or -1 when nothing plays.
    int play(float volume = 1.0f);
};

// Volume of every effect channel, 0..1 mapped to 0..128 (truncated).
void sound_set_volume(float volume);

// Plays a music file loops times (-1 forever), replacing the music that plays.
void music_play(const char* path, int loops);
void music_stop();
void music_set_volume(float volume);

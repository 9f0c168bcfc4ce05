#pragma once

// The player's settings, kept in "save.txt": window size, full screen, volumes and the profile
// chosen last. The first run reads the shipped "defaultsave.txt" and writes "save.txt" at once.

#include <string>

enum class WriteFailure; // toolkit/utils/misc.h

class GameOptions {
public:
    // Reads folder + "save.txt", or folder + "defaultsave.txt" when it does not exist; then
    // saves (a failure's kind in saveFailure) and applies. Without a file: a window of the
    // display's size, volumes 1, profile -1.
    explicit GameOptions(const std::string& folder, WriteFailure* saveFailure = nullptr);

    // Writes the five sections to "save.txt" (replaced as a whole); false (the kind in failure)
    // when it could not be written.
    bool save(WriteFailure* failure = nullptr) const;
    // Sets the video mode (the display's mode when no size is chosen) and both volumes.
    void apply();

    std::string mPath;
    int mWidth = 0;       // 0: take the display's current mode
    int mHeight = 0;
    int mFullscreen = 0;
    float mMusicVolume = 1.0f;
    float mSoundVolume = 1.0f;
    int mProfile = -1;
};

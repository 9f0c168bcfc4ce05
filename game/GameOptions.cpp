#include "game/GameOptions.h"

#include "core/platform.h"
#include "core/sdl_layer.h"
#include "core/sound.h"
#include "game/KeyFile.h"
#include "toolkit/utils/misc.h"

// Index: reading - writing - applying

namespace {
const int kFallbackWidth = 1024;
const int kFallbackHeight = 768;

float clampVolume(float volume)
{
    return volume < 0.0f ? 0.0f : volume > 1.0f ? 1.0f : volume;
}
} // namespace

// ---- reading

GameOptions::GameOptions(const std::string& folder) : mPath(folder + "save.txt")
{
    std::string path = file_exists(mPath.c_str()) ? mPath : folder + "defaultsave.txt";
    KeyFileReader r(path);
    for (; r.more(); r.advance()) {
        if (r.key(L"[resolution]", 2)) {
            r.readInt(mWidth);
            r.readInt(mHeight);
        }
        if (r.key(L"[fullscreen]")) {
            int fullscreen = 0;
            if (r.readInt(fullscreen))
                mFullscreen = fullscreen != 0;
        }
        if (r.key(L"[music volume]"))
            r.readFloat(mMusicVolume);
        if (r.key(L"[sound volume]"))
            r.readFloat(mSoundVolume);
        if (r.key(L"[profile]"))
            r.readInt(mProfile);
    }
    // A size of 0 or less means "the display's mode"; it must never flip the window mode.
    if (mWidth <= 0 || mHeight <= 0)
        mWidth = mHeight = 0;
    mMusicVolume = clampVolume(mMusicVolume);
    mSoundVolume = clampVolume(mSoundVolume);
    if (mProfile < -1)
        mProfile = -1;
    save();
    apply();
}

// ---- writing

bool GameOptions::save() const
{
    KeyFileWriter w;
    w.key(L"[resolution]").line(intText(mWidth)).line(intText(mHeight)).end();
    w.key(L"[fullscreen]").line(flagText(mFullscreen)).end();
    w.key(L"[music volume]").line(realText(mMusicVolume)).end();
    w.key(L"[sound volume]").line(realText(mSoundVolume)).end();
    w.key(L"[profile]").line(intText(mProfile));
    return w.write(mPath);
}

// ---- applying

void GameOptions::apply()
{
    if (mWidth <= 0 || mHeight <= 0) {
        DisplayModeList modes;
        int current = -1;
        listDisplayModes(modes, current);
        std::pair<int, int> mode(0, 0);
        if (current >= 0 && current < static_cast<int>(modes.size()))
            mode = modes[current];
        else if (!modes.empty())
            mode = modes[0];
        // A display that reports no size (no screen at all) gets the fallback mode.
        if (mode.first <= 0 || mode.second <= 0)
            mode = std::make_pair(kFallbackWidth, kFallbackHeight);
        mWidth = mode.first;
        mHeight = mode.second;
    }
    if (mFullscreen)
        set_window_mode(-mWidth, -mHeight);
    else
        set_window_mode(mWidth, mHeight);
    music_set_volume(mMusicVolume);
    sound_set_volume(mSoundVolume);
}

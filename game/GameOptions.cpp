#include "game/GameOptions.h"

#include "core/platform.h"
#include "core/sdl_layer.h"
#include "core/sound.h"
#include "game/KeyFile.h"
#include "toolkit/utils/misc.h"

#include <algorithm>
#include <cstdio>

// Index: reading - writing - applying

namespace {
const int kFallbackWidth = 1024;
const int kFallbackHeight = 768;

// A window is never smaller than this (or the display's smallest mode, when smaller); without
// a list of the display's modes it is held within these sides.
const int kSmallestWidth = 640;
const int kSmallestHeight = 480;
const int kLargestSide = 16384;

// True when the display can show a window of that size: no smaller than its smallest mode (a
// window as small as 640 x 480 is always fine) and no larger than its largest.
bool displayCanShow(int width, int height)
{
    DisplayModeList modes;
    int current = -1;
    listDisplayModes(modes, current);
    int minW = 0, minH = 0, maxW = 0, maxH = 0;
    for (const std::pair<int, int>& mode : modes) {
        if (mode.first <= 0 || mode.second <= 0)
            continue;
        minW = minW == 0 ? mode.first : std::min(minW, mode.first);
        minH = minH == 0 ? mode.second : std::min(minH, mode.second);
        maxW = std::max(maxW, mode.first);
        maxH = std::max(maxH, mode.second);
    }
    if (maxW == 0) {
        minW = kSmallestWidth;
        minH = kSmallestHeight;
        maxW = maxH = kLargestSide;
    }
    minW = std::min(minW, kSmallestWidth);
    minH = std::min(minH, kSmallestHeight);
    return width >= minW && height >= minH && width <= maxW && height <= maxH;
}

float clampVolume(float volume)
{
    return volume < 0.0f ? 0.0f : volume > 1.0f ? 1.0f : volume;
}
} // namespace

// ---- reading

GameOptions::GameOptions(const std::string& folder, WriteFailure* saveFailure) : mPath(folder + "save.txt")
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
    if (mWidth <= 0 || mHeight <= 0) {
        mWidth = mHeight = 0;
    } else if (!displayCanShow(mWidth, mHeight)) {
        std::printf("Warning: %s: [resolution] %d x %d is not a size the display can show, the display's mode "
                    "taken\n",
                    path.c_str(), mWidth, mHeight);
        mWidth = mHeight = 0;
    }
    mMusicVolume = clampVolume(mMusicVolume);
    mSoundVolume = clampVolume(mSoundVolume);
    if (mProfile < -1)
        mProfile = -1;
    save(saveFailure);
    apply();
}

// ---- writing

bool GameOptions::save(WriteFailure* failure) const
{
    KeyFileWriter w;
    w.key(L"[resolution]").line(intText(mWidth)).line(intText(mHeight)).end();
    w.key(L"[fullscreen]").line(flagText(mFullscreen)).end();
    w.key(L"[music volume]").line(realText(mMusicVolume)).end();
    w.key(L"[sound volume]").line(realText(mSoundVolume)).end();
    w.key(L"[profile]").line(intText(mProfile));
    return w.write(mPath, failure);
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

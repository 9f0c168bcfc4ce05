#pragma once

// The screens of the flow bound to their shipped layouts (no pictures loaded), the shipped font
// styles read without an engine so labels draw no glyphs, the pointer set by hand, and the
// effects played counted from the sound registry's warnings (the tests load no effects).

#include "core/ControlMngr.h"
#include "fixtures/RecordingDevice.h"
#include "park/GameBackground3D.h"
#include "park/GameCamera.h"
#include "render/render.h"
#include "source_menu/ButtonBar.h"
#include "source_menu/Credits.h"
#include "source_menu/Cursors.h"
#include "source_menu/MenuDateBar.h"
#include "source_menu/MenuLoading.h"
#include "source_menu/Popup.h"
#include "source_menu/ScrollPopup.h"
#include "toolkit/utils/FontStyle.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

// The device of the screen tests' engine.
RecordingDevice& screensDevice();

namespace screens {

inline std::string layout(const char* screen)
{
    return std::string(PETPARK_APP_DIR "/Resources/data/psd/") + screen + ".txt";
}

// Binds the flow's screens once per test program.
inline void bindLayouts()
{
    static bool bound = false;
    if (bound)
        return;
    bound = true;
    // Styles another test has loaded already stay: reloading would release fonts whose
    // pictures the loader may still hold.
    if (Singleton<FontStylesMgr>::get()->styleCount() == 0) {
        Render* engine = Render::current();
        Render::set_current(nullptr);
        Singleton<FontStylesMgr>::get()->load(PETPARK_APP_DIR "/Resources/data/dat/fonts.dat");
        Render::set_current(engine);
    }
    // The button bank first: the popups' buttons take their pictures from it. A screen another
    // test bound already is left as it is.
    Container* const flow[] = {Singleton<ButtonBar>::get(), Singleton<Popup>::get(),  Singleton<ScrollPopup>::get(),
                               Singleton<MenuDateBar>::get(), Singleton<Cursors>::get(), Singleton<Credits>::get(),
                               Singleton<MenuLoading>::get()};
    const char* const names[] = {"ButtonBar", "Popup", "ScrollPopup", "MenuDateBar", "Cursors", "Credits", "MenuLoading"};
    for (size_t i = 0; i < sizeof(flow) / sizeof(flow[0]); ++i)
        if (flow[i]->mChildren.empty())
            flow[i]->init(layout(names[i]).c_str());
}

// The park view's camera, made once with the shipped camera settings.
inline GameCamera* parkCamera()
{
    GameBackground3D* park = Singleton<GameBackground3D>::get();
    if (!park->mCamera) {
        const std::filesystem::path folder = std::filesystem::current_path();
        std::filesystem::current_path(PETPARK_APP_DIR "/Resources");
        park->mCamera = new GameCamera();
        std::filesystem::current_path(folder);
    }
    return park->mCamera;
}

inline void pointAt(float x, float y, int down = 0)
{
    sDevice* mouse = Singleton<ControlMngr>::get()->mPointerDevices.front();
    mouse->data[kPointerXWord].f = x;
    mouse->data[kPointerYWord].f = y;
    mouse->data[kPointerButtonWord].i = down;
}

// Counts the effects played while it lives, by key.
class SoundLog {
public:
    SoundLog() { testing::internal::CaptureStdout(); }
    ~SoundLog()
    {
        if (!mDone)
            testing::internal::GetCapturedStdout();
    }
    // Stops counting; the number of plays of each key is then count(key).
    void stop()
    {
        mText = testing::internal::GetCapturedStdout();
        mDone = true;
    }
    int count(const std::string& key) const
    {
        const std::string line = "no sound effect named " + key + "\n";
        int n = 0;
        for (size_t at = mText.find(line); at != std::string::npos; at = mText.find(line, at + 1))
            ++n;
        return n;
    }

private:
    std::string mText;
    bool mDone = false;
};

} // namespace screens

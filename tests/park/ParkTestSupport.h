#pragma once

// Shared set-up of the park view's tests: a temporary folder made the working folder with a
// camera file, scenes built in code and loaded at once on the headless engine, and the input and
// HUD state the park view reads put back to a quiet start (no modal screen, not paused, no menu,
// HUD hidden, pointer in the middle, no key held, no zoom).

#include "core/ControlMngr.h"
#include "core/sdl_layer.h"
#include "fixtures/HeadlessEngine.h"
#include "fixtures/TempDir.h"
#include "game/DataStorage.h"
#include "game/GlobalSettings.h"
#include "render/CRender.h"
#include "scenelib/SceneBuilder.h"
#include "source_menu/Cursors.h"
#include "source_menu/MenuDateBar.h"
#include "source_menu/MenuIngame.h"
#include "source_menu/MenuIngameFold1.h"
#include "source_menu/MenuIngameFold2.h"
#include "source_menu/MenuIngameFold3.h"
#include "source_menu/MenuManager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace parktest {

// The one engine of the test program (a Render over a RecordingDevice), current throughout.
HeadlessEngine& headlessEngine();

// A camera file with round numbers: start (0, -20) at height 30, yaw 1.5 between 1 and 2 in
// steps of 0.25, heights 10..50 with pitches -0.5..-1, the ellipse 40 x 30 round the origin.
inline const char* cameraText()
{
    return "[fov]\n60\n\n[beta range]\n-0.5 -1.0\n\n[screen scroll border]\n0.03\n\n"
           "[accelerate motion]\n1.5\n\n[move step]\n0.6\n\n[rotate step]\n0.25\n\n[rotate start]\n1.5\n\n"
           "[zoom step]\n1\n\n[zoom start]\n30\n\n[zoom max]\n50\n\n[zoom min]\n10\n\n[rotate max]\n2\n\n"
           "[rotate min]\n1\n\n[smooth motion]\n0.1\n\n[start point xy]\n0,-20\n\n"
           "[bound ellipse offset&radius]\n0 0\n40 30\n";
}

class ParkFolder {
public:
    explicit ParkFolder(const std::string& camera = cameraText()) : mOldDir(std::filesystem::current_path())
    {
        std::filesystem::create_directories(mDir.file("data/game/Buildings"));
        std::filesystem::create_directories(mDir.file("data/3dn"));
        mDir.write("data/game/camera.txt", camera);
        std::filesystem::current_path(mDir.path());
    }
    ~ParkFolder() { std::filesystem::current_path(mOldDir); }
    ParkFolder(const ParkFolder&) = delete;
    ParkFolder& operator=(const ParkFolder&) = delete;

    void write(const std::string& name, const std::string& text) const { mDir.write(name, text); }
    // Writes the scene below the folder ("data/3dn/x.3dn") and loads it at once on the current
    // engine.
    std::unique_ptr<CRender::Object> scene(const std::string& name, const scenelib::SceneBuilder& builder) const
    {
        EXPECT_TRUE(builder.save(mDir.file(name)));
        auto object = std::make_unique<CRender::Object>();
        ::testing::internal::CaptureStdout();
        bool loaded = object->load(name);
        ::testing::internal::GetCapturedStdout();
        EXPECT_TRUE(loaded) << name;
        return object;
    }
    const TempDir& dir() const { return mDir; }
    // A file of the project's own data, as text.
    static std::string sourceFile(const std::string& name)
    {
        std::ifstream in(std::string(PETPARK_SOURCE_DIR) + "/" + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    TempDir mDir;
    std::filesystem::path mOldDir;
};

// The pointer of the mouse at (x, y) of the canvas, its button held or not.
inline void setPointer(float x, float y, int down = 0)
{
    sDevice* pointer = Singleton<ControlMngr>::get()->mPointerDevices.at(0);
    pointer->data[kPointerXWord].f = x;
    pointer->data[kPointerYWord].f = y;
    pointer->data[kPointerButtonWord].i = down;
}

// Holds or releases a key of the keyboard device by its virtual-key code.
inline void holdKey(int code, int held)
{
    Singleton<ControlMngr>::get()->mKeyboardDevices.at(0)->data[kKeyboardHeldWord + code].i = held;
}

// A screen hidden at once, with its children.
inline void hideNow(Container* screen)
{
    screen->setStateAll("game", 0, 0);
    for (int i = 0; i < 3; ++i)
        screen->update();
    screen->setVisible(0);
}

// A screen shown at once (show state 2).
inline void showNow(Container* screen)
{
    screen->setStateAll("game", 2, 0);
    for (int i = 0; i < 3; ++i)
        screen->update();
}

// The park's rules, read once from a small "global.txt": pointing radius 1.5, starting layers
// 0 and 1. Tests change the fields they need and put them back.
inline GlobalSettings* globalSettings()
{
    DataStorage* storage = Singleton<DataStorage>::get();
    if (!storage->mGlobalSettings) {
        TempDir dir;
        dir.write("global.txt", "[cash]\n1000\n\n[date]\n1 1 2010\n\n[mouse radius accuracy]\n1.5\n\n"
                                "[starting layers]\n0 1\n");
        ::testing::internal::CaptureStdout();
        storage->mGlobalSettings = new GlobalSettings(dir.file("global.txt"));
        ::testing::internal::GetCapturedStdout();
    }
    return storage->mGlobalSettings;
}

// The state of the HUD screens, the menu router and the input devices back to a quiet start.
inline void quietInput()
{
    MenuDateBar* dateBar = Singleton<MenuDateBar>::get();
    dateBar->modal = 0;
    dateBar->paused = 0;
    MenuManager* menus = Singleton<MenuManager>::get();
    menus->mCurrentMenu = L"nomenu";
    menus->mExitBlocked = 0;
    hideNow(dateBar);
    hideNow(Singleton<MenuIngame>::get());
    hideNow(Singleton<MenuIngameFold1>::get());
    hideNow(Singleton<MenuIngameFold2>::get());
    hideNow(Singleton<MenuIngameFold3>::get());
    hideNow(Singleton<Cursors>::get());
    Singleton<Cursors>::get()->hoverFlag = 0;
    Singleton<Cursors>::get()->hoverText.clear();
    setPointer(0.5f, 0.5f, 0);
    for (int code : {37, 38, 39, 40})
        holdKey(code, 0);
    inputState.zoomAccumulator = 0;
    globalSettings();
}

} // namespace parktest

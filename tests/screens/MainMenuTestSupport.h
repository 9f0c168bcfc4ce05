#pragma once

// The main-menu screens' tests: a small park (ParkTestData, profiles in its temporary folder)
// with the main menu, the profile screens, the options and the tutorial bound to the built
// layouts, a pointer device to move and press, a keyboard, and the effects played counted from
// the warnings of an empty effects registry.

#include "ScreenTestSupport.h"
#include "game/ParkTestData.h"

#include "core/ControlMngr.h"
#include "game/GameOptions.h"
#include "game/Profiles.h"
#include "render/external/Sounds.h"
#include "source_menu/Button.h"
#include "source_menu/ButtonBar.h"
#include "toolkit/utils/FontStyle.h"
#include "toolkit/utils/MyImage.h"

#include <IL/il.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace menus {

const char* const kTexts =
    "playgame Play\nchangeprofile Change profile\noptions Options\nexit Exit\n"
    "createnewprofile New profile\nselectprofile Play\ndeleteprofile Delete\ncreate Create\n"
    "delete Delete\ncancel Cancel\nok Ok\nentername Your name\nOn On\nOff Off\n"
    "TutorialTurnOff Turn off\nquitpopuptitle Leaving?\nquitpopuptext Really?\ncurrency coins\n"
    "savefailed Not saved\nprofilefailedoccupied Not made: %ls.tmp is taken.\n";

const char* const kPublic = "[walking people max]\n10\n\n[helper walking]\npath_a 300\n\n[parking]\n1 2 3\n";

// Binds a screen to its built layout once per test program, in the application's folder (the
// layout's pictures, the name entry's characters, the avatars).
template <class T>
T* bound(const char* screen)
{
    T* instance = Singleton<T>::get();
    if (instance->mChildren.empty()) {
        const std::filesystem::path home = std::filesystem::current_path();
        std::filesystem::current_path(std::string(PETPARK_APP_DIR) + "/Resources");
        instance->init((std::string("data/psd/") + screen + ".txt").c_str());
        std::filesystem::current_path(home);
    }
    return instance;
}

// Every screen hidden at once, its widgets too, so the next show starts them all afresh.
inline void hideAllCompletely()
{
    screens::hideAll();
    for (Container* screen : screens::all())
        for (WidgetBase* child : screen->mChildren) {
            child->setStateDirect(kShowHidden);
            child->setStateDirect(kShowHidden);
        }
}

// The button bank first: buttons take their pictures' sizes when made.
inline void bindMenuScreens()
{
    FontStylesMgr* styles = Singleton<FontStylesMgr>::get();
    if (styles->styleCount() < 9) {
        static const bool imageLibrary = (ilInit(), true);
        (void)imageLibrary;
        const std::filesystem::path home = std::filesystem::current_path();
        std::filesystem::current_path(std::string(PETPARK_APP_DIR) + "/Resources");
        styles->load("data/dat/fonts.dat");
        std::filesystem::current_path(home);
    }
    bound<ButtonBar>("ButtonBar");
    bound<Popup>("Popup");
    bound<MainMenuStart>("MainMenuStart");
    bound<MainMenuChooseProfile>("MainMenuChooseProfile");
    bound<MainMenuCreateProfile>("MainMenuCreateProfile");
    bound<MainMenuDeleteProfile>("MainMenuDeleteProfile");
    bound<MenuOptions>("MenuOptions");
    bound<Tutorial>("Tutorial");
}

// How often the effect was asked for while fn ran (the registry is empty, so each request
// prints a warning naming it).
template <class Fn>
int soundsPlayed(const std::string& key, Fn fn)
{
    testing::internal::CaptureStdout();
    fn();
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string line = "no sound effect named " + key + "\n";
    int count = 0;
    for (size_t at = out.find(line); at != std::string::npos; at = out.find(line, at + 1))
        ++count;
    return count;
}

class MenuTest : public testing::Test {
protected:
    void SetUp() override
    {
        bindMenuScreens();
        data.writeDefault();
        data.write("data/game/public.txt", kPublic);
        data.write("data/dat/texts.dat", kTexts);
        textsManager.load("data/dat/texts.dat");
        storage = ParkTestData::load();
        storage->mPlayerNotices.clear();
        forgetProfiles();
        delete storage->mOptions;
        storage->createOptions("data/game/");

        Singleton<Sounds>::get()->sounds.clear();
        ControlMngr* input = Singleton<ControlMngr>::get();
        if (input->mPointerDevices.empty())
            input->addDevice(DEVICE_POINTER, -1);
        if (input->mKeyboardDevices.empty())
            input->addDevice(DEVICE_KEYBOARD, -1);
        pointer = input->mPointerDevices[0];
        keyboard = input->mKeyboardDevices[0];
        point(-1.0f, -1.0f, 0);
        menu = Singleton<MenuManager>::get();
        menu->mCurrentMenu = L"nomenu";
        menu->mCreditsPending = 0;
        menu->mExitBlocked = 0;
        Singleton<MainMenuChooseProfile>::get()->setSelected(-1);
        Singleton<Tutorial>::get()->seenBy.clear();
        Singleton<Tutorial>::get()->seenByOthers.clear();
        hideAllCompletely();
    }

    void TearDown() override
    {
        hideAllCompletely();
        keyboard->data[kKeyboardHeldWord + 13].i = 0;
        keyboard->data[kKeyboardCharWord].i = -1;
        point(-1.0f, -1.0f, 0);
        forgetProfiles();
        delete storage->mOptions;
        storage->mOptions = nullptr;
    }

    void forgetProfiles()
    {
        for (DataProfile* profile : storage->mProfiles)
            storage->retire(profile);
        storage->mProfiles.clear();
        storage->mCurrentProfile = -1;
    }

    // Profile files 1..count named by letters from 'A', scanned into the list.
    void makeProfiles(int count)
    {
        for (int n = 1; n <= count; ++n)
            ASSERT_TRUE(saveProfile(profilePath(n), std::wstring(1, wchar_t(L'A' + n - 1)), L"avatar1.png", 1, 0, -1,
                                    0, 0, 0));
        storage->scanProfiles("data/game/");
        ASSERT_EQ(storage->mProfiles.size(), size_t(count));
    }

    static std::string profilePath(int n) { return "data/game/Profiles/profile" + std::to_string(n) + ".txt"; }

    // The name stored in a profile file, empty when there is none.
    std::wstring nameIn(const std::string& path)
    {
        DataProfile profile(path);
        loadProfile(&profile, 1);
        return profile.mName;
    }

    void point(float x, float y, int down)
    {
        pointer->data[kPointerXWord].f = x;
        pointer->data[kPointerYWord].f = y;
        pointer->data[kPointerButtonWord].i = down;
    }

    // The centre of a button's picture.
    static std::pair<float, float> centreOf(const Button* button)
    {
        const float4 picture = Singleton<ButtonBar>::get()->getIconImage(button->kind, 0)->getRect();
        return {button->x + 0.5f * picture.z, button->y};
    }

    // Pressed and released over the button, one update each.
    void click(Container* screen, const Button* button)
    {
        const std::pair<float, float> at = centreOf(button);
        point(at.first, at.second, 1);
        screen->update();
        point(at.first, at.second, 0);
        screen->update();
        point(-1.0f, -1.0f, 0);
    }

    // Shown and stepped until fully shown, running the screen's own update.
    void showFully(Container* screen)
    {
        // A screen still fading out finishes first.
        for (int k = 0; k < 40 && screen->getShowStates().second == kShowDisappearing; ++k)
            screen->Container::update();
        screen->setStateAll("game", kShowShown, 250);
        for (int k = 0; k < 40 && screen->getShowStates().second != kShowShown; ++k)
            screen->update();
        ASSERT_EQ(screen->getShowStates().second, kShowShown) << screen->name;
    }

    ParkTestData data;
    DataStorage* storage = nullptr;
    MenuManager* menu = nullptr;
    sDevice* pointer = nullptr;
    sDevice* keyboard = nullptr;
};

} // namespace menus

#pragma once

// The in-game HUD's tests: a small park (ParkTestData) with the HUD, its folds and the picture
// banks bound to the built layouts, the HUD shown, a pointer device to move and press, and the
// effects played counted from the warnings of an empty effects registry.

#include "ScreenTestSupport.h"
#include "game/ParkTestData.h"

#include "core/ControlMngr.h"
#include "game/CashAccount.h"
#include "game/DataAchievement.h"
#include "game/DataAnimal.h"
#include "game/DataBuilding.h"
#include "game/GlobalSettings.h"
#include "game/Profiles.h"
#include "render/external/Sounds.h"
#include "render/render.h"
#include "source_menu/Button.h"
#include "source_menu/ButtonBar.h"
#include "source_menu/HappinessBar.h"
#include "source_menu/ProgressBar.h"
#include "toolkit/utils/FontStyle.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/widgets/WidgetButton.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <gtest/gtest.h>


#include <string>

namespace hud {

const char* const kTexts =
    "Feed Feed\nTreat Treat\ncleanall Clean all\nrepairall Repair all\nfeedall Feed all\n"
    "treatpopup Vet\nnocashfortreat Not enough cash.\nwantpaytreat Pay %d %ls (100%) for the vet?\n"
    "currency coins\nbuyfoodtitle Buy food\npetbuyselltitle Take in pets\npetslisttitle Your pets\n"
    "buildingstitle Buildings\nbuildingbuyselltitle Buy buildings\nstatisticstitle Finances\n"
    "options Options\nTurnTutorialOn Tutorial\nexit Exit\nfoodstored Food in store\n"
    "achievementinformation Well done!\nnofood No food\nbuysomefood Buy food.\nname \n"
    "quitpopuptitle Leaving?\nquitpopuptext Really?\n";

const char* const kPublic = "[walking people max]\n10\n\n[helper walking]\npath_a 300\n\n[parking]\n1 2 3\n";

// Binds a screen to its built layout once per test program.
template <class T>
T* bound(const char* screen)
{
    T* instance = Singleton<T>::get();
    if (instance->mChildren.empty())
        instance->init((std::string(PETPARK_APP_DIR) + "/Resources/data/psd/" + screen + ".txt").c_str());
    return instance;
}

// The banks first: the HUD's buttons and gauges take their pictures' sizes when made.
inline void bindHudScreens()
{
    // Labels check their style against the table (other tests load smaller ones); the fonts'
    // pictures are not loaded (no engine while reading).
    FontStylesMgr* styles = Singleton<FontStylesMgr>::get();
    if (styles->styleCount() < 9) {
        Render* engine = Render::current();
        Render::set_current(nullptr);
        styles->load(std::string(PETPARK_APP_DIR) + "/Resources/data/dat/fonts.dat");
        Render::set_current(engine);
    }
    bound<ButtonBar>("ButtonBar");
    bound<HappinessBar>("HappinessBar");
    bound<ProgressBar>("ProgressBar");
    bound<MenuIngame>("MenuIngame");
    bound<MenuIngameFold1>("MenuIngameFold1");
    bound<MenuIngameFold2>("MenuIngameFold2");
    bound<MenuIngameFold3>("MenuIngameFold3");
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

class HudTest : public testing::Test {
protected:
    void SetUp() override
    {
        bindHudScreens();
        data.writeDefault();
        data.write("data/game/public.txt", kPublic);
        data.write("data/game/Buildings/OtherAssistants.txt",
                   ParkTestData::buildingText("Assistants", "Other", -1, 900));
        data.write("data/dat/texts.dat", kTexts);
        textsManager.load("data/dat/texts.dat");
        storage = ParkTestData::load();
        cash()->mCash = 10000;

        Singleton<Sounds>::get()->sounds.clear();
        ControlMngr* input = Singleton<ControlMngr>::get();
        if (input->mPointerDevices.empty())
            input->addDevice(DEVICE_POINTER, -1);
        pointer = input->mPointerDevices[0];
        point(-1.0f, -1.0f, 0);

        MenuDateBar* dateBar = Singleton<MenuDateBar>::get();
        dateBar->paused = 0;
        dateBar->modal = 0;
        Singleton<MenuManager>::get()->mCurrentMenu = L"nomenu";
        screens::hideAll();
        camera()->reset();
        hudScreen = Singleton<MenuIngame>::get();
        for (Achievement* notice : hudScreen->mNotices)
            delete notice;
        hudScreen->mNotices.clear();
        hudScreen->mAllButtonsAlpha = 0.0f;
        hudScreen->setStateAll("game", kShowShown, 250);
        screens::settle();
    }

    void TearDown() override
    {
        screens::hideAll();
        camera()->reset();
    }

    CashAccount* cash() { return storage->mGlobalSettings->mCashAccount; }
    GameCamera* camera() { return Singleton<GameBackground3D>::get()->mCamera; }

    void point(float x, float y, int down)
    {
        pointer->data[kPointerXWord].f = x;
        pointer->data[kPointerYWord].f = y;
        pointer->data[kPointerButtonWord].i = down;
    }

    // Presses and releases the pointer over the middle of a button placed at the offset, one
    // HUD update each (the update runs fn).
    template <class Fn>
    void clickButton(const Button* button, float offsetX, Fn update)
    {
        const float4 picture = Singleton<ButtonBar>::get()->getIconImage(button->kind, 0)->getRect();
        point(button->x + offsetX + 0.5f * picture.z, button->y, 1);
        update();
        point(button->x + offsetX + 0.5f * picture.z, button->y, 0);
        update();
        point(-1.0f, -1.0f, 0);
    }
    void clickButton(const Button* button, float offsetX = 0.0f)
    {
        clickButton(button, offsetX, [this] { hudScreen->update(); });
    }

    // A park building read from the test data, put in the park.
    DataBuilding* addBuilding(const std::string& file)
    {
        DataBuilding* building = new DataBuilding("data/game/Buildings/" + file);
        storage->retire(building);
        storage->mParkBuildings.push_back(building);
        return building;
    }

    DataAnimal* addAnimal(const std::wstring& type, int hunger, int health, int happiness = 2)
    {
        DataAnimal* animal = new DataAnimal(L"Rex", type, 0.0f, 0.0f, 0);
        storage->retire(animal);
        animal->mHunger = hunger;
        animal->mHealth = health;
        animal->mHappiness = happiness;
        storage->mParkAnimals.push_back(animal);
        return animal;
    }

    ParkTestData data;
    DataStorage* storage = nullptr;
    MenuIngame* hudScreen = nullptr;
    sDevice* pointer = nullptr;
};

} // namespace hud

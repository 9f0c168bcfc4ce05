#include "ScreenLayouts.h"
#include "ScreenTestSupport.h"

#include "core/GameMain.h"
#include "source_menu/Button.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/widgets/WidgetCanvas.h"

#include <gtest/gtest.h>

using namespace screens;

namespace {

constexpr float kBand = 0.3750094f;

// A screen of the list that counts the loads asked of it.
class LoadProbe : public Container {
public:
    void init(const char*) override {}
    void load() override { ++loads; }
    bool isLoaded() override { return loads > 0; }
    int loads = 0;
};

TEST(LoadingScreen, EveryScreenLoadsOnceAsTheLoadingScreenStartsToShow)
{
    bindLayouts();
    hideAll();
    MenuLoading* loading = Singleton<MenuLoading>::get();
    hideNow(loading);
    static LoadProbe probe;
    static LoadProbe waiting;
    ContainersMngr* list = Singleton<ContainersMngr>::get();
    list->add(&probe, "data/psd/Probe.txt", 0);
    list->add(&waiting, "data/psd/Probe.txt", 0);

    loading->setStateAll("game", 2, 250);
    EXPECT_EQ(probe.loads, 0);
    loading->update();
    ASSERT_EQ(showState(loading), kShowAppearing);
    EXPECT_TRUE(loading->isVisible());
    EXPECT_EQ(probe.loads, 1) << "the loads run while the loading screen fades in";
    for (int i = 0; i < 100 && showState(loading) != kShowShown; ++i)
        loading->update();
    EXPECT_EQ(showState(loading), kShowShown);
    EXPECT_EQ(probe.loads, 1);
    for (int i = 0; i < 10; ++i)
        loading->update();
    EXPECT_EQ(probe.loads, 1);

    // Half the screens loaded and no park scene yet (a scene that is not there adds nothing).
    waiting.loads = 0;
    GameBackground3D* park = Singleton<GameBackground3D>::get();
    CRender::Object* const scenes[2] = {park->mBackground3D, park->mBuildingsHelpers};
    park->mBackground3D = park->mBuildingsHelpers = nullptr;
    EXPECT_FLOAT_EQ(MenuLoading::progress(), 0.34f * 0.5f);
    loading->draw();
    park->mBackground3D = scenes[0];
    park->mBuildingsHelpers = scenes[1];
    const float4 bar = loading->mWidget3->getImages()[0]->getRect();
    const float4 clip = loading->mWidget3->getClipRect();
    EXPECT_FLOAT_EQ(clip.x, 0.0f);
    EXPECT_FLOAT_EQ(clip.z, bar.x + 0.17f * bar.z);
    EXPECT_FLOAT_EQ(clip.w, 1.0f);

    screensDevice().setScreenSize(1280, 800);
    loading->draw();
    const float4 background = loading->mWidget0->getImages()[0]->getRect();
    EXPECT_FLOAT_EQ(background.x, 0.5f - kBand * 1.6f);
    EXPECT_FLOAT_EQ(background.z, 0.7500188f * 1.6f);
    EXPECT_FLOAT_EQ(background.w, 1.0f);
    screensDevice().setScreenSize(1024, 768);
    hideNow(loading);
}

TEST(CreditsScreen, APressEndsTheGameOnlyOnceFullyShown)
{
    bindLayouts();
    hideAll();
    Credits* credits = Singleton<Credits>::get();
    quitRequested = 0;
    pointAt(0.5f, 0.5f, 1);
    credits->setStateAll("game", 2, 250);
    int updates = 0;
    while (showState(credits) != kShowShown && updates < 100) {
        credits->update();
        ++updates;
        if (showState(credits) != kShowShown) {
            ASSERT_EQ(quitRequested, 0) << "still appearing";
        }
    }
    EXPECT_TRUE(credits->isVisible());
    EXPECT_EQ(quitRequested, 1);
    quitRequested = 0;

    credits->draw();
    const float4 picture = credits->mWidget0->getImages()[0]->getRect();
    EXPECT_FLOAT_EQ(picture.x, 0.5f - kBand * (4.0f / 3.0f));
    EXPECT_FLOAT_EQ(picture.y, 0.0f);
    EXPECT_FLOAT_EQ(picture.w, 1.0f);
    pointAt(-1.0f, -1.0f);
    hideAll();
}

} // namespace

namespace {

// Steps the screen until its show transition has ended.
void stepUntilSettled(Container* screen)
{
    for (int i = 0; i < 40; ++i)
        screen->update();
}

TEST(QuitFlow, EscapeOverTheMainMenuThenOkThenAPressEndsTheGameAndEscapeOnTheCreditsAsksNothing)
{
    bindLayouts();
    hideAll();
    quitRequested = 0;
    MenuManager* menu = Singleton<MenuManager>::get();
    Popup* popup = Singleton<Popup>::get();
    Credits* credits = Singleton<Credits>::get();
    menu->mCurrentMenu = L"mainmenustart";
    menu->mCreditsPending = 0;
    Singleton<MainMenuStart>::get()->Container::setVisible(1);

    menu->runCommand(L"exit");
    stepUntilSettled(popup);
    const float4 ok = Singleton<ButtonBar>::get()->getIconImage(popup->okButton->kind, 0)->getRect();
    const float x = popup->okButton->x + 0.5f * ok.z;
    pointAt(x, popup->okButton->y, 1);
    popup->update();
    pointAt(x, popup->okButton->y, 0);
    popup->update();
    EXPECT_EQ(menu->mCreditsPending, 1);
    EXPECT_EQ(showState(credits), kShowAppearing);

    // Escape (or the window's close button) on the credits asks nothing: the credits already end
    // the game, and a question opened under them would hold the press. The screens are stepped as
    // the main loop steps them, the popup before the credits.
    const std::vector<Container*> screens = {popup, credits};
    menu->runCommand(L"exit");
    for (int i = 0; i < 40; ++i)
        updateScreens(screens);
    ASSERT_EQ(showState(credits), kShowShown);
    menu->runCommand(L"exit");
    updateScreens(screens);
    EXPECT_EQ(showState(popup), kShowHidden);
    EXPECT_EQ(quitRequested, 0);

    // The press that ends the game must come once the credits stand.
    pointAt(0.5f, 0.5f, 1);
    updateScreens(screens);
    EXPECT_EQ(quitRequested, 1);

    quitRequested = 0;
    menu->mCreditsPending = 0;
    menu->mCurrentMenu = L"nomenu";
    pointAt(-1.0f, -1.0f);
    hideAll();
}

} // namespace

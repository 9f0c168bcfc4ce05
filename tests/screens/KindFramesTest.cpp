// The blue tab strip's click rule and fades, the kind frames' panel swap and close button, the
// places per kind of the pets intake frame, and what the building description panel draws.

#include "ScreenTestSupport.h"

#include "game/ParkTestData.h"

#include "game/DataAnimal.h"
#include "game/DataBuilding.h"
#include "render/render.h"
#include "toolkit/utils/FontStyle.h"
#include "toolkit/widgets/WidgetButton.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <gtest/gtest.h>

#include <string>

using namespace screens;

namespace {

const std::string kResources = std::string(PETPARK_APP_DIR) + "/Resources";

// Reads a screen's layout once per process (a second init would bind its lists twice).
void initOnce(Container* screen, const char* name)
{
    if (screen->mChildren.empty())
        screen->init((kResources + "/data/psd/" + name + ".txt").c_str());
}

class KindFrames : public testing::Test {
protected:
    void SetUp() override
    {
        data.writeDefault();
        storage = ParkTestData::load();
        Render* engine = Render::current();
        Render::set_current(nullptr);
        Singleton<FontStylesMgr>::get()->load(kResources + "/data/dat/fonts.dat");
        Render::set_current(engine);
        initOnce(of<MenuBlueFolds>(), "MenuBlueFolds");
        initOnce(of<MenuBuildingBuySell>(), "MenuBuildingBuySell");
        initOnce(of<MenuBuildingBuySell1>(), "MenuBuildingBuySell1");
        initOnce(of<MenuBuildingBuySell2>(), "MenuBuildingBuySell2");
        initOnce(of<MenuBuildings>(), "MenuBuildings");
        initOnce(of<MenuPetBuySell>(), "MenuPetBuySell");
        initOnce(of<MenuPetsList>(), "MenuPetsList");
        initOnce(of<MenuPetsShow>(), "MenuPetsShow");
        initOnce(of<BuildingsDiscription>(), "BuildingsDiscription");
        strip = Singleton<MenuBlueFolds>::get();
        strip->setTab(0);
        strip->takeTabChanged();
        bar = Singleton<MenuDateBar>::get();
        bar->modal = 0;
        bar->paused = 0;
        hideAll();
    }
    void TearDown() override
    {
        hideAll();
        bar->modal = 0;
        bar->paused = 0;
    }

    // Shows a screen as the router does and steps it (its own update) until shown.
    void open(Container* screen)
    {
        screen->setStateAll("game", kShowShown, 250);
        for (int i = 0; i < 30; ++i)
            screen->update();
    }

    // One logic step of the given screens' own updates and the other panels' transitions.
    void step(std::initializer_list<Container*> screens, int times = 1)
    {
        for (int t = 0; t < times; ++t) {
            for (Container* screen : screens)
                screen->update();
            for (Container* panel : {of<MenuBuildingBuySell1>(), of<MenuBuildingBuySell2>(),
                                     of<MenuBuildings1>(), of<MenuBuildings2>(), of<MenuPetsList1>(),
                                     of<MenuPetsShow1>(), of<MenuPetBuySell1>()})
                panel->Container::update();
        }
    }

    ParkTestData data;
    DataStorage* storage = nullptr;
    MenuBlueFolds* strip = nullptr;
    MenuDateBar* bar = nullptr;
};

TEST_F(KindFrames, StripAcceptsAClickOnAnotherTabOnlyAfterHalfASecond)
{
    strip->setTabCount(6);
    open(strip);                         // 30 updates: 300 ms since the reset
    strip->onWidget2(2, 3);
    EXPECT_EQ(strip->getTab(), 0);
    EXPECT_EQ(strip->takeTabChanged(), 0);
    for (int i = 0; i < 21; ++i)
        strip->update();                 // 510 ms
    strip->onWidget0(2, 3);              // the selected tab: nothing
    EXPECT_EQ(strip->takeTabChanged(), 0);
    strip->onWidget2(2, 3);
    EXPECT_EQ(strip->getTab(), 2);
    EXPECT_EQ(strip->takeTabChanged(), 1);
    EXPECT_EQ(strip->takeTabChanged(), 0);
    strip->onWidget3(2, 3);              // within 500 ms of the accepted click
    EXPECT_EQ(strip->getTab(), 2);
}

TEST_F(KindFrames, StripWithFiveTabsIgnoresTheSixthAndKeepsItsAlpha)
{
    strip->setTabCount(5);
    open(strip);
    for (int i = 0; i < 60; ++i)
        strip->update();
    strip->onWidget5(2, 3);
    EXPECT_EQ(strip->getTab(), 0);
    EXPECT_FLOAT_EQ(strip->tabAlpha[5], 0.0f);
    EXPECT_FLOAT_EQ(strip->tabAlpha[0], 1.0f);
    EXPECT_FLOAT_EQ(strip->tabAlpha[1], 0.25f);
    strip->draw();
    EXPECT_FALSE(strip->mWidget5->isVisible());
}

TEST_F(KindFrames, StripStandsWhileModal)
{
    open(strip);
    const int timer = strip->switchTimer;
    bar->modal = 1;
    strip->update();
    EXPECT_EQ(strip->switchTimer, timer);
}

TEST_F(KindFrames, BuildingsFrameOnTheSixthTabShowsTheNoKindPanelAtOnce)
{
    strip->setTabCount(6);
    strip->setTab(5);
    of<MenuBuildingBuySell>()->setStateAll("game", kShowShown, 250);
    EXPECT_EQ(showState(of<MenuBuildingBuySell2>()), kShowAppearing);
    EXPECT_EQ(showState(of<MenuBuildingBuySell1>()), kShowHidden);
}

TEST_F(KindFrames, SwitchHidesTheOldPanelThenShowsTheNewOneWithItsKind)
{
    strip->setTabCount(6);
    MenuBuildings* frame = Singleton<MenuBuildings>::get();
    open(frame);
    step({frame}, 30);
    EXPECT_EQ(showState(of<MenuBuildings1>()), kShowShown);
    EXPECT_EQ(Singleton<MenuBuildings1>::get()->mKind, L"dog");

    // The strip reports tab 5: the kind panel hides (250 ms) before the other panel shows.
    strip->selectedTab = 5;
    strip->tabChanged = 1;
    step({frame});
    EXPECT_EQ(frame->pendingTab, 5);
    EXPECT_EQ(showState(of<MenuBuildings2>()), kShowHidden);
    step({frame}, 30);
    EXPECT_EQ(showState(of<MenuBuildings1>()), kShowHidden);
    EXPECT_EQ(frame->pendingTab, -1);
    EXPECT_NE(showState(of<MenuBuildings2>()), kShowHidden);

    // And back to the cat tab.
    step({frame}, 30);
    strip->selectedTab = 1;
    strip->tabChanged = 1;
    step({frame}, 40);
    EXPECT_EQ(showState(of<MenuBuildings2>()), kShowHidden);
    EXPECT_NE(showState(of<MenuBuildings1>()), kShowHidden);
    EXPECT_EQ(Singleton<MenuBuildings1>::get()->mKind, L"cat");
}

TEST_F(KindFrames, SwapWaitsWhileModal)
{
    MenuPetsList* frame = Singleton<MenuPetsList>::get();
    open(frame);
    step({frame}, 30);
    strip->selectedTab = 3;
    strip->tabChanged = 1;
    bar->modal = 1;
    step({frame}, 5);
    EXPECT_EQ(strip->tabChanged, 1);
    bar->modal = 0;
    step({frame}, 60);
    // The frame hands "Rabbit"; the panel's own reset then takes the tab's lower-case word.
    EXPECT_EQ(Singleton<MenuPetsList1>::get()->mKind, L"rabbit");
    EXPECT_EQ(showState(of<MenuPetsList1>()), kShowShown);
}

TEST_F(KindFrames, PetsFramesSetFiveTabsAndKeepTheSixthSelected)
{
    strip->setTabCount(6);
    strip->setTab(5);
    Singleton<MenuPetsShow1>::get()->setKind(L"Cat");
    of<MenuPetsShow>()->setStateAll("game", kShowShown, 250);
    EXPECT_EQ(strip->getTabCount(), 5);
    EXPECT_EQ(strip->getTab(), 5);
    EXPECT_EQ(Singleton<MenuPetsShow1>::get()->mKind, L"Cat");
    EXPECT_EQ(showState(of<MenuPetsShow1>()), kShowAppearing);

    // The intake frame shows nothing on a switch to tab 5.
    MenuPetBuySell* intake = Singleton<MenuPetBuySell>::get();
    strip->setTab(0);
    open(intake);
    step({intake}, 30);
    strip->selectedTab = 5;
    strip->tabChanged = 1;
    step({intake}, 40);
    EXPECT_EQ(showState(of<MenuPetBuySell1>()), kShowHidden);
    EXPECT_EQ(intake->pendingTab, -1);
}

TEST_F(KindFrames, CloseButtonClosesEveryPanelOnARelease)
{
    MenuBuildingBuySell* frame = Singleton<MenuBuildingBuySell>::get();
    open(frame);
    frame->onWidget1(1, 2);
    EXPECT_EQ(showState(frame), kShowShown);
    frame->onWidget1(2, 3);
    EXPECT_EQ(showState(frame), kShowDisappearing);
    EXPECT_EQ(showState(of<MenuBlueFolds>()), kShowHidden);
}

TEST_F(KindFrames, PlacesPerKindCountAnimalsOverBuildings)
{
    MenuPetBuySell* frame = Singleton<MenuPetBuySell>::get();
    storage->mParkBuildings.push_back(storage->mBuildingDefinitions[1]);  // a second dog building
    frame->refreshParcels();
    EXPECT_EQ(frame->mWidget6->getText(0), L"1/2");
    EXPECT_EQ(frame->mWidget7->getText(0), L"0/0");
    EXPECT_EQ(frame->mWidget10->getText(0), L"0/0");
    EXPECT_EQ(frame->mWidget1->getText(0).back(), L':');
}

TEST_F(KindFrames, DescriptionShowsOnlyAHandedAreaBesideAVisibleBuildingPanel)
{
    BuildingsDiscription* panel = Singleton<BuildingsDiscription>::get();
    panel->setStateAll("game", kShowShown, 250);
    panel->update();
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->descriptionAreas.size(), 3u);
    panel->mLabels0[1]->setText(L"", 0, 1);

    panel->setDescription(L"A warm house", 1);
    panel->draw();                                   // no building panel visible
    EXPECT_EQ(panel->mLabels0[1]->getText(0), L"");

    of<MenuBuildings1>()->WidgetBase::setVisible(1);
    Singleton<Popup>::get()->WidgetBase::setVisible(1);
    panel->draw();                                   // a message popup is up
    EXPECT_EQ(panel->mLabels0[1]->getText(0), L"");

    Singleton<Popup>::get()->WidgetBase::setVisible(0);
    panel->draw();
    EXPECT_EQ(panel->mLabels0[1]->getText(0), L"A warm house");

    // Its show state never advances: the update only made it visible.
    EXPECT_EQ(showState(panel), kShowAppearing);
}

} // namespace

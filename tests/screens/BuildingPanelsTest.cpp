// The building panels: buying and selling per kind and of no kind with their bookings, the sale
// refused while animals live in the building, the browser of the buildings of no kind, the care
// orders with their button texts, and the description after the pointer rests on a card.

#include "ScreenLayouts.h"
#include "ScreenTestSupport.h"

#include "game/ParkTestData.h"

#include "core/ControlMngr.h"
#include "game/CashAccount.h"
#include "game/DataAnimal.h"
#include "game/DataBuilding.h"
#include "game/GlobalSettings.h"
#include "game/MonthBalance.h"
#include "render/render.h"
#include "source_menu/ButtonBar.h"
#include "source_menu/Button.h"
#include "source_menu/ProgressBar.h"
#include "toolkit/utils/FontStyle.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/widgets/WidgetButton.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <gtest/gtest.h>

#include <string>

using namespace screens;

namespace {

const std::string kResources = std::string(PETPARK_APP_DIR) + "/Resources";

void initOnce(Container* screen, const char* name)
{
    if (screen->mChildren.empty())
        screen->init((kResources + "/data/psd/" + name + ".txt").c_str());
}

class BuildingPanels : public testing::Test {
protected:
    void SetUp() override
    {
        data.writeDefault("[animal]\ndog\n\n[building]\nDogHouse1.txt\n\n");
        data.write("data/game/Buildings/DogHouse3.txt", ParkTestData::buildingText("Palace", "Dog", 3, 3000));
        for (int i = 1; i <= 3; ++i)
            data.write("data/game/Buildings/OtherExtra" + std::to_string(i) + ".txt",
                       ParkTestData::buildingText("Extra " + std::to_string(i), "Other", -1, 100));
        data.write("data/game/Buildings/OtherBuilding1.txt",
                   ParkTestData::buildingText("Cleaners", "Other", -1, 100));
        storage = ParkTestData::load();
        textsManager.load(kResources + "/data/dat/texts.dat");
        Render* engine = Render::current();
        Render::set_current(nullptr);
        Singleton<FontStylesMgr>::get()->load(kResources + "/data/dat/fonts.dat");
        Render::set_current(engine);
        initOnce(of<ButtonBar>(), "ButtonBar");
        initOnce(of<ProgressBar>(), "ProgressBar");
        initOnce(of<MenuBlueFolds>(), "MenuBlueFolds");
        initOnce(of<BuildingsDiscription>(), "BuildingsDiscription");
        initOnce(of<MenuBuildingBuySell1>(), "MenuBuildingBuySell1");
        initOnce(of<MenuBuildingBuySell2>(), "MenuBuildingBuySell2");
        initOnce(of<MenuBuildings1>(), "MenuBuildings1");
        initOnce(of<MenuBuildings2>(), "MenuBuildings2");
        ControlMngr* input = Singleton<ControlMngr>::get();
        if (input->mPointerDevices.empty())
            input->addDevice(DEVICE_POINTER, -1);
        point(0.0f, 0.0f, 0);
        Singleton<MenuBlueFolds>::get()->setTab(0);
        Singleton<MenuDateBar>::get()->modal = 0;
        Singleton<MenuDateBar>::get()->paused = 0;
        hideAll();
        cash()->mCash = 10000;
    }
    void TearDown() override { hideAll(); }

    CashAccount* cash() { return storage->mGlobalSettings->mCashAccount; }

    void point(float x, float y, int down)
    {
        sDevice* mouse = Singleton<ControlMngr>::get()->mPointerDevices.front();
        mouse->data[kPointerXWord].f = x;
        mouse->data[kPointerYWord].f = y;
        mouse->data[kPointerButtonWord].i = down;
    }

    void open(Container* panel)
    {
        panel->setStateAll("game", kShowShown, 250);
        for (int i = 0; i < 30; ++i)
            panel->update();
        ASSERT_EQ(showState(panel), kShowShown);
    }

    // A press and a release over the button, one update each.
    void click(Container* panel, Button* button)
    {
        const float4 picture = Singleton<ButtonBar>::get()->getIconImage(button->kind, 0)->getRect();
        point(button->x + 0.5f * picture.z, button->y, 1);
        panel->update();
        point(button->x + 0.5f * picture.z, button->y, 0);
        panel->update();
        point(0.0f, 0.0f, 0);
        panel->update();
    }

    DataBuilding* definition(const std::wstring& name)
    {
        for (DataBuilding* building : storage->mBuildingDefinitions)
            if (building->mName == name)
                return building;
        return nullptr;
    }

    bool parkHas(const std::wstring& name)
    {
        for (DataBuilding* building : storage->mParkBuildings)
            if (building->mName == name)
                return true;
        return false;
    }

    ParkTestData data;
    DataStorage* storage = nullptr;
};

TEST_F(BuildingPanels, BuyingBooksTheCostAndPutsTheDefinitionIntoThePark)
{
    MenuBuildingBuySell1* panel = Singleton<MenuBuildingBuySell1>::get();
    open(panel);
    ASSERT_EQ(panel->mKind, L"dog");
    ASSERT_EQ(panel->mBuildings.size(), 3u);
    ASSERT_EQ(panel->mBuildings[1]->mName, L"Villa");
    cash()->mCash = 2000;
    click(panel, panel->mBuyButtons[1]);
    EXPECT_TRUE(parkHas(L"Villa"));
    EXPECT_EQ(cash()->mCash, 0);
    EXPECT_EQ(storage->mBalanceThisMonth->mValues[t_NewBuildings], -2000);
    EXPECT_EQ(storage->mStatThisMonth->mValues[t_NewBuildings], 1);
    EXPECT_EQ(Singleton<Tutorial>::get()->buildingBought, 1);

    // Not enough cash for the palace: nothing changes but one "wrong_click".
    SoundLog sounds;
    click(panel, panel->mBuyButtons[2]);
    sounds.stop();
    EXPECT_EQ(sounds.count("wrong_click"), 1);
    EXPECT_FALSE(parkHas(L"Palace"));
    EXPECT_EQ(storage->mStatThisMonth->mValues[t_NewBuildings], 1);

    // An owned building is never bought a second time.
    cash()->mCash = 10000;
    const size_t owned = storage->mParkBuildings.size();
    click(panel, panel->mBuyButtons[0]);
    EXPECT_EQ(storage->mParkBuildings.size(), owned);
}

TEST_F(BuildingPanels, OnlyTheLastOwnedBuildingSellsAndNotWhileAnAnimalLivesInIt)
{
    storage->mParkBuildings.push_back(definition(L"Villa"));
    MenuBuildingBuySell1* panel = Singleton<MenuBuildingBuySell1>::get();
    open(panel);
    // Card 0 is not the last owned one.
    click(panel, panel->mSellButtons[0]);
    EXPECT_TRUE(parkHas(L"Kennel"));
    // The villa (place 2) holds no animal: sold for its sale value.
    DataBuilding* villa = definition(L"Villa");
    villa->mSaleValue = 1400;
    click(panel, panel->mSellButtons[1]);
    EXPECT_FALSE(parkHas(L"Villa"));
    EXPECT_EQ(cash()->mCash, 11400);
    EXPECT_EQ(storage->mBalanceThisMonth->mValues[t_BuildingsSold], 1400);
    EXPECT_EQ(storage->mStatThisMonth->mValues[t_BuildingsSold], 1);

    // The kennel holds the starting dog at place 1: the sale is refused with a message.
    ASSERT_FALSE(storage->mParkAnimals.empty());
    ASSERT_TRUE(storage->isPlaceTaken(L"dog", 1));
    click(panel, panel->mSellButtons[0]);
    EXPECT_TRUE(parkHas(L"Kennel"));
    EXPECT_EQ(Singleton<Popup>::get()->title, L"Not possible");
}

TEST_F(BuildingPanels, DrawShowsPricesOrMissingRequirements)
{
    definition(L"Palace")->mRequirements = L"b:DogHouse2.txt";
    MenuBuildingBuySell1* panel = Singleton<MenuBuildingBuySell1>::get();
    open(panel);
    cash()->mCash = 1999;  // short of cash, a building whose requirements are met shows its price in white
    panel->draw();
    EXPECT_EQ(panel->mLabels1[1]->getText(0), L"Price: 2000 coins");
    EXPECT_FLOAT_EQ(panel->mLabels1[1]->getColor().y, 1.0f);
    EXPECT_TRUE(panel->mLabels4[2]->isVisible());
    EXPECT_EQ(panel->mLabels4[2]->getText(0), L"Required:");
    EXPECT_FLOAT_EQ(panel->mLabels1[2]->getColor().y, 0.0f);
    EXPECT_EQ(panel->mLabels3[0]->getText(0), L"100 coins a month");
    EXPECT_FALSE(panel->mLabels4[1]->isVisible());
}

TEST_F(BuildingPanels, OtherBrowserKeepsThreeCardsFilled)
{
    MenuBuildingBuySell2* panel = Singleton<MenuBuildingBuySell2>::get();
    panel->mFirst = 0;
    open(panel);
    const int count = static_cast<int>(panel->mBuildings.size());
    ASSERT_EQ(count, 6);
    panel->onWidget3(2, 3);
    panel->onWidget3(2, 3);
    panel->onWidget3(2, 3);
    EXPECT_EQ(panel->mFirst, 3);
    panel->onWidget3(2, 3);
    EXPECT_EQ(panel->mFirst, 3);
    for (int i = 0; i < 5; ++i)
        panel->onWidget1(2, 3);
    EXPECT_EQ(panel->mFirst, 0);

    // Dragging the knob along the whole track moves the first index by count - 3.
    ASSERT_GT(panel->mTrackLength, 0.0f);
    point(0.3f, 0.8f, 1);
    panel->onWidget2(1, 2);
    point(0.3f + panel->mTrackLength, 0.8f, 1);
    panel->onWidget2(2, 2);
    EXPECT_EQ(panel->mFirst, count - 3);
    EXPECT_FLOAT_EQ(panel->mWidget2->getOffset().first, panel->mTrackLength);
    point(0.3f + 2 * panel->mTrackLength, 0.8f, 0);
    panel->onWidget2(2, 3);
    EXPECT_EQ(panel->mFirst, count - 3);
    EXPECT_EQ(panel->mDragging, 0);
    panel->mFirst = 0;
    point(0.0f, 0.0f, 0);

    // Selling an owned building of no kind succeeds whatever animals the park holds.
    storage->mParkBuildings.push_back(panel->mBuildings[0]);
    panel->mBuildings[0]->mSaleValue = 70;
    const std::wstring name = panel->mBuildings[0]->mName;
    click(panel, panel->mSellButtons[0]);
    EXPECT_FALSE(parkHas(name));
    EXPECT_EQ(cash()->mCash, 10070);
}

TEST_F(BuildingPanels, CareOrdersChargeAndTheButtonsSayWhatIsUnderWay)
{
    DataBuilding* kennel = definition(L"Kennel");
    kennel->mCondition = 3;
    kennel->mCleanness = 5;
    MenuBuildings1* panel = Singleton<MenuBuildings1>::get();
    open(panel);
    panel->draw();
    EXPECT_EQ(panel->mRepairButtons[0]->text, L"Repair (120 coins)");
    EXPECT_EQ(panel->mCleanButtons[0]->text, L"Clean (40 coins)");
    click(panel, panel->mRepairButtons[0]);
    EXPECT_EQ(kennel->mRepairing, 1);
    EXPECT_EQ(cash()->mCash, 10000 - 120);
    panel->draw();
    EXPECT_EQ(panel->mRepairButtons[0]->text, L"Repairing (4 day(s))");
    EXPECT_EQ(panel->mRepairButtons[0]->enabled, 0);

    // With the cleaning service the order costs nothing.
    storage->mParkBuildings.push_back(definition(L"Cleaners"));
    panel->reset();
    panel->draw();
    EXPECT_EQ(panel->mCleanButtons[0]->text, L"Clean");
    click(panel, panel->mCleanButtons[0]);
    EXPECT_EQ(kennel->mCleaning, 1);
    EXPECT_EQ(cash()->mCash, 10000 - 120);

    // An unowned definition shows only its name.
    EXPECT_TRUE(panel->mLabels4[1]->isVisible());
    EXPECT_FALSE(panel->mLabels0[1]->isVisible());
}

TEST_F(BuildingPanels, CarePanelShowsAndOrdersThroughTheParksOwnRecords)
{
    // A loaded park holds records of its own, read from the same file as the definition.
    DataBuilding* definitionOfKennel = definition(L"Kennel");
    DataBuilding* kennel = new DataBuilding(definitionOfKennel->mPath);
    storage->retire(kennel);
    kennel->mCleanness = 2;
    kennel->mCondition = 4;
    storage->mParkBuildings[0] = kennel;
    // The unowned villa's definition is worn too: its hidden buttons must still order nothing.
    DataBuilding* villa = definition(L"Villa");
    villa->mCleanness = 1;
    villa->mCondition = 1;

    MenuBuildings1* panel = Singleton<MenuBuildings1>::get();
    open(panel);
    panel->draw();
    ASSERT_EQ(panel->mBuildings[0], kennel);
    EXPECT_EQ(panel->mCleanButtons[0]->text, L"Clean (40 coins)");
    EXPECT_EQ(panel->mRepairButtons[0]->text, L"Repair (90 coins)");
    click(panel, panel->mRepairButtons[0]);
    EXPECT_EQ(kennel->mRepairing, 1);
    EXPECT_EQ(definitionOfKennel->mRepairing, 0);
    EXPECT_EQ(cash()->mCash, 10000 - 90);

    for (Button* hidden : {panel->mCleanButtons[1], panel->mRepairButtons[1]})
        click(panel, hidden);
    EXPECT_EQ(villa->mCleaning, 0);
    EXPECT_EQ(villa->mRepairing, 0);
    EXPECT_EQ(cash()->mCash, 10000 - 90);
    EXPECT_EQ(storage->mBalanceThisMonth->mValues[t_Other], 0);
}

TEST_F(BuildingPanels, OtherCarePanelListsOwnBuildingsAndHidesAnIdleBrowser)
{
    storage->mParkBuildings.push_back(definition(L"Extra 1"));
    MenuBuildings2* panel = Singleton<MenuBuildings2>::get();
    open(panel);
    panel->draw();
    ASSERT_EQ(panel->mBuildings.size(), 1u);  // the park's own, not the definitions
    EXPECT_FALSE(panel->mWidget0->isVisible());
    panel->onWidget3(2, 3);
    EXPECT_EQ(panel->mFirst, 0);
    EXPECT_FALSE(panel->mLabels0[1]->isVisible());

    for (const wchar_t* name : {L"Extra 2", L"Extra 3", L"Cleaners"})
        storage->mParkBuildings.push_back(definition(name));
    panel->reset();
    panel->draw();
    EXPECT_TRUE(panel->mWidget0->isVisible());
    panel->onWidget3(2, 3);
    EXPECT_EQ(panel->mFirst, 1);
}

TEST_F(BuildingPanels, DescriptionFollowsAPointerRestingOnACard)
{
    BuildingsDiscription* description = Singleton<BuildingsDiscription>::get();
    MenuBuildings1* panel = Singleton<MenuBuildings1>::get();
    open(panel);
    const float4 area = description->descriptionAreas[1]->getRect();
    point(area.x + 0.5f * area.z, area.y + 0.5f * area.w, 0);
    for (int i = 0; i < 120; ++i)
        panel->update();
    panel->draw();
    EXPECT_EQ(description->areaIndex, -1);
    panel->update();
    panel->draw();
    EXPECT_EQ(description->areaIndex, 1);
    EXPECT_EQ(description->description, panel->mBuildings[1]->mDescription);
    point(0.0f, 0.0f, 0);
    panel->update();
    panel->draw();
    EXPECT_EQ(description->areaIndex, -1);
}

} // namespace

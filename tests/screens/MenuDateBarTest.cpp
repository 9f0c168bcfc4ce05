#include "ScreenLayouts.h"
#include "ScreenTestSupport.h"

#include "game/ParkTestData.h"

#include "game/DataAnimal.h"
#include "game/DataBuilding.h"
#include "game/GameDate.h"
#include "game/GlobalSettings.h"
#include "park/GameCamera.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/widgets/WidgetButton.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <gtest/gtest.h>

using namespace screens;

namespace {

const char* const kPublic = "[walking people max]\n10\n\n[helper walking]\npath_a 300\n\n[parking]\n1 2 3\n";

class DateBar : public testing::Test {
protected:
    void SetUp() override
    {
        bindLayouts();
        data.writeDefault();
        data.write("data/game/public.txt", kPublic);
        data.write("data/dat/texts.dat", "january January\nseptember September\nparcel(s)free parcels free\n"
                                         "freeparcelinday(s) a parcel frees in %d day(s) (100%s)\n");
        textsManager.load("data/dat/texts.dat");
        storage = ParkTestData::load();
        parkCamera();
        hideAll();
        bar->setStateAll("game", 2, 250);
        for (int i = 0; i < 30; ++i)
            bar->update();
    }
    void TearDown() override { hideAll(); }

    int clock() const { return storage->mGlobalSettings->mDayClock; }

    ParkTestData data;
    DataStorage* storage = nullptr;
    MenuDateBar* bar = Singleton<MenuDateBar>::get();
};

TEST_F(DateBar, TheClockRunsOnlyWhileShownAndNeitherModalNorPaused)
{
    ASSERT_EQ(showState(bar), kShowShown);
    const int start = clock();
    for (int i = 0; i < 5; ++i)
        bar->update();
    EXPECT_EQ(clock(), start + 50);
    const std::wstring date = storage->mGlobalSettings->mDate->toText();
    EXPECT_EQ(bar->mWidget2->getText(0), date);

    // A popup holds the clock and the date label.
    bar->mWidget2->setText(L"stale", 0, 1);
    Singleton<Popup>::get()->Container::setVisible(1);
    bar->update();
    EXPECT_EQ(bar->modal, 1);
    EXPECT_EQ(clock(), start + 50);
    EXPECT_EQ(bar->mWidget2->getText(0), L"stale");
    hideNow(Singleton<Popup>::get());
    Singleton<Tutorial>::get()->Container::setVisible(1);
    bar->update();
    EXPECT_EQ(clock(), start + 50);
    hideNow(Singleton<Tutorial>::get());

    // Paused: the label still follows the calendar, the clock stands.
    bar->onWidget4(2, 3);
    EXPECT_EQ(bar->paused, 1);
    bar->update();
    EXPECT_EQ(clock(), start + 50);
    EXPECT_EQ(bar->mWidget2->getText(0), date);
    bar->onWidget4(3, 0);
    bar->onWidget4(2, 3);
    EXPECT_EQ(bar->paused, 0);

    // The trick show stops the clock too.
    Singleton<TeachTrick>::get()->Container::setVisible(1);
    bar->update();
    EXPECT_EQ(clock(), start + 50);
    hideNow(Singleton<TeachTrick>::get());
    bar->update();
    EXPECT_EQ(clock(), start + 60);

    // Hidden, the bar does nothing.
    hideNow(bar);
    bar->update();
    EXPECT_EQ(clock(), start + 60);
}

TEST_F(DateBar, TheClockStartsADayAfterTheGameSpeed)
{
    const int day = storage->mGlobalSettings->mDate->mDay;
    storage->mGlobalSettings->mDayClock = 0;
    for (int i = 0; i < 101; ++i)
        bar->update();
    EXPECT_NE(storage->mGlobalSettings->mDate->mDay, day);
    EXPECT_EQ(clock(), 0);
}

TEST_F(DateBar, EveryShowingStartsUnpaused)
{
    bar->onWidget4(2, 3);
    bar->draw();
    EXPECT_TRUE(bar->mWidget1->isVisible());
    hideNow(bar);
    bar->setStateAll("game", 2, 250);
    EXPECT_EQ(bar->paused, 0);
    EXPECT_EQ(bar->modal, 0);
    bar->draw();
    EXPECT_FALSE(bar->mWidget1->isVisible());
}

TEST_F(DateBar, ParcelsCountHousesButNotOtherOrKindlessBuildings)
{
    // The starting kennel and its dog: no parcel free, the next frees with the shortest stay.
    ASSERT_EQ(storage->mParkBuildings.size(), 1u);
    ASSERT_EQ(storage->mParkAnimals.size(), 1u);
    storage->mParkAnimals[0]->mStayDays = 6;
    EXPECT_EQ(MenuDateBar::parcelsText(), L"a parcel frees in 6 day(s) (100%s)");

    for (DataBuilding* building : storage->mBuildingDefinitions)
        if (building->mType == L"other")
            storage->mParkBuildings.push_back(building);
    // Nor does a building kept from a saved game after its file has gone.
    DataBuilding* gone = new DataBuilding("data/game/Buildings/Gone.txt");
    storage->retire(gone);
    storage->mParkBuildings.push_back(gone);
    EXPECT_EQ(MenuDateBar::parcelsText(), L"a parcel frees in 6 day(s) (100%s)");

    storage->mParkBuildings.push_back(storage->mParkBuildings[0]);
    EXPECT_EQ(MenuDateBar::parcelsText(), L"1 parcels free");
    storage->mParkBuildings.clear();
    for (DataAnimal* animal : storage->mParkAnimals)
        storage->retire(animal);
    storage->mParkAnimals.clear();
    EXPECT_EQ(MenuDateBar::parcelsText(), L"0 parcels free");

    bar->draw();
    EXPECT_EQ(bar->mWidget3->getText(0), L"0 parcels free");

    // More animals than parcels: never a negative count; a parcel frees after the 2 extra.
    for (int stay : {6, 9, 4}) {
        storage->mParkAnimals.push_back(new DataAnimal(L"Rex", L"dog", 0.5f, 0.5f, 0));
        storage->mParkAnimals.back()->mStayDays = stay;
    }
    EXPECT_EQ(MenuDateBar::parcelsText(), L"0 parcels free");
    storage->mParkBuildings.push_back(storage->mBuildingDefinitions[0]);
    EXPECT_EQ(MenuDateBar::parcelsText(), L"a parcel frees in 9 day(s) (100%s)");
    // Places are counted per kind: the dogs beyond their kennel take no cat's place.
    storage->mParkBuildings.push_back(gone);
    gone->mType = L"cat";
    EXPECT_EQ(MenuDateBar::parcelsText(), L"1 parcels free");
}

TEST_F(DateBar, PicturesArePinnedToTheLeftEdgeOfTheBand)
{
    screensDevice().setScreenSize(1280, 800);
    bar->draw();
    const float x0 = 0.5f - 0.3750094f * 1.6f;
    EXPECT_FLOAT_EQ(bar->mWidget0->getImages()[0]->getRect().x, x0 + bar->mWidget0->getRects()[0].x);
    // Every picture of the button, the pressed one too.
    for (MyImage* picture : bar->mWidget4->getImages())
        EXPECT_FLOAT_EQ(picture->getRect().x, x0 + bar->mWidget4->getRects()[0].x);
    const float4 shade = bar->mWidget1->getImages()[0]->getRect();
    EXPECT_FLOAT_EQ(shade.x, x0);
    EXPECT_FLOAT_EQ(shade.w, 1.0f);
    EXPECT_FLOAT_EQ(bar->mWidget1->getColor().w, 0.5f);
    screensDevice().setScreenSize(1024, 768);
}

} // namespace

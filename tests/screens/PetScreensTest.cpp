// The pets screens over their built layouts in a small park: the offers panel takes an animal
// in only while its kind has a free building, the card panel's buttons tell the animal's state
// and fly the camera to it, the teaching panel starts the show or says how long to wait.

#include "ScreenTestSupport.h"
#include "game/ParkTestData.h"

#include "core/ControlMngr.h"
#include "game/CashAccount.h"
#include "game/DataAnimal.h"
#include "game/DataBuilding.h"
#include "game/GlobalSettings.h"
#include "game/MonthBalance.h"
#include "render/external/Sounds.h"
#include "render/render.h"
#include "source_menu/Button.h"
#include "source_menu/ButtonBar.h"
#include "source_menu/HappinessBar.h"
#include "source_menu/MenuPetShowSummary.h"
#include "source_menu/Progress.h"
#include "source_menu/ProgressBar.h"
#include "toolkit/utils/FontStyle.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/widgets/WidgetButton.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <gtest/gtest.h>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include <filesystem>
#include <string>

using namespace screens;

namespace {

const char* const kTexts =
    "accomodate Take in\nNoPlaceForPet No place\nNoPlaceForPetText Build a house first.\ncurrency coins\n"
    "day(s) days\nPeriod Period\nisfeeded Fed\nfeed Feed\nfeeding Eating\nishealthy Healthy\ntreat Treat\n"
    "treating At the vet\nDogs Dogs\nCats Cats\nDinos Dinos\nRabbits Rabbits\nHorses Horses\nHungry Hungry\n"
    "daysleftcap Days left\nteachtrick Teach\ndaystoteach Not yet\n"
    "daystoteach_message Wait %d days (100%) %s.\ndogparcell Dogs\ncatparcell Cats\ndinoparcell Dinos\n"
    "rabbitparcell Rabbits\nhorseparcell Horses\nOK OK\nname \n";

const char* const kPublic = "[walking people max]\n10\n\n[helper walking]\npath_a 300\n\n[parking]\n1 2 3\n";

template <class T>
T* bound(const char* screen)
{
    T* instance = Singleton<T>::get();
    if (instance->mChildren.empty())
        instance->init((std::string(PETPARK_APP_DIR) + "/Resources/data/psd/" + screen + ".txt").c_str());
    return instance;
}

// The picture banks first: buttons and gauges take their pictures' sizes when made.
void bindScreens()
{
    // The styles are read without an engine: no font picture is requested.
    FontStylesMgr* styles = Singleton<FontStylesMgr>::get();
    if (styles->styleCount() < 10) {
        Render* engine = Render::current();
        Render::set_current(nullptr);
        styles->load(std::string(PETPARK_APP_DIR) + "/Resources/data/dat/fonts.dat");
        Render::set_current(engine);
    }
    bound<ButtonBar>("ButtonBar");
    bound<HappinessBar>("HappinessBar");
    bound<ProgressBar>("ProgressBar");
    bound<MenuBlueFolds>("MenuBlueFolds");
    bound<MenuPetBuySell1>("MenuPetBuySell1");
    bound<MenuPetBuySell>("MenuPetBuySell");
    bound<MenuPetsList1>("MenuPetsList1");
    bound<MenuPetsShow1>("MenuPetsShow1");
    bound<MenuPetShowSummary>("MenuPetShowSummary");
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

class PetScreens : public testing::Test {
protected:
    void SetUp() override
    {
        bindScreens();
        data.writeDefault();
        data.write("data/game/public.txt", kPublic);
        data.write("data/dat/texts.dat", kTexts);
        std::filesystem::create_directories(data.dir().file("data/game/show"));
        std::filesystem::copy_file(PETPARK_SOURCE_DIR "/data/game/show/dog.txt", data.dir().file("data/game/show/dog.txt"));
        textsManager.load("data/dat/texts.dat");
        storage = ParkTestData::load();
        storage->mGlobalSettings->mCashAccount->mCash = 1000;
        for (DataAnimal* offer : storage->mAnimalsForSale)
            storage->retire(offer);
        storage->mAnimalsForSale.clear();

        Singleton<Sounds>::get()->sounds.clear();
        ControlMngr* input = Singleton<ControlMngr>::get();
        if (input->mPointerDevices.empty())
            input->addDevice(DEVICE_POINTER, -1);
        pointer = input->mPointerDevices[0];
        point(-1.0f, -1.0f, 0);

        MenuDateBar* bar = Singleton<MenuDateBar>::get();
        bar->paused = 0;
        bar->modal = 0;
        Singleton<MenuManager>::get()->mCurrentMenu = L"nomenu";
        Singleton<MenuBlueFolds>::get()->setTab(kTabDog);
        Singleton<MenuBlueFolds>::get()->tabChanged = 0;
        Singleton<Tutorial>::get()->petAccepted = 0;
        hideAll();
        hideNow(Singleton<MenuPetShowSummary>::get());
        camera()->reset();
    }

    void TearDown() override
    {
        hideAll();
        camera()->reset();
    }

    // The popup closed at once, as its Ok would close it.
    static void closePopup()
    {
        hideNow(of<Popup>());
        Singleton<MenuDateBar>::get()->checkModal();
    }

    GameCamera* camera() { return Singleton<GameBackground3D>::get()->mCamera; }
    CashAccount* cash() { return storage->mGlobalSettings->mCashAccount; }

    void point(float x, float y, int down)
    {
        pointer->data[kPointerXWord].f = x;
        pointer->data[kPointerYWord].f = y;
        pointer->data[kPointerButtonWord].i = down;
    }

    // Shows a screen and runs its own updates until it is shown.
    static void showScreen(Container* screen)
    {
        screen->setStateAll("game", 2, 250);
        for (int i = 0; i < 40 && screen->getShowStates().second != kShowShown; ++i)
            screen->update();
        screen->update();
    }

    // Presses and releases the pointer over the middle of a button, one update each.
    void click(const Button* button, Container* screen)
    {
        const float4 picture = Singleton<ButtonBar>::get()->getIconImage(button->kind, 0)->getRect();
        point(button->x + 0.5f * picture.z, button->y, 1);
        screen->update();
        point(button->x + 0.5f * picture.z, button->y, 0);
        screen->update();
        point(-1.0f, -1.0f, 0);
    }

    DataAnimal* addOffer(const std::wstring& type, const std::wstring& name, int fee, int days)
    {
        DataAnimal* offer = new DataAnimal(name, type, 0.0f, 0.0f, 0);
        storage->retire(offer);
        offer->mAccommodationFee = fee;
        offer->mStayDays = days;
        offer->mHappiness = 3;
        storage->mAnimalsForSale.push_back(offer);
        return offer;
    }

    DataAnimal* addAnimal(const std::wstring& type, int hunger, int health)
    {
        DataAnimal* animal = new DataAnimal(L"Bella", type, 0.0f, 0.0f, 0);
        storage->retire(animal);
        animal->mHunger = hunger;
        animal->mHealth = health;
        storage->mParkAnimals.push_back(animal);
        return animal;
    }

    DataBuilding* addBuilding(const std::string& file)
    {
        DataBuilding* building = new DataBuilding("data/game/Buildings/" + file);
        storage->retire(building);
        storage->mParkBuildings.push_back(building);
        return building;
    }

    ParkTestData data;
    DataStorage* storage = nullptr;
    sDevice* pointer = nullptr;
};

// ---- guest offers

TEST_F(PetScreens, AnOfferIsTakenInOnlyWhileItsKindHasAFreeBuilding)
{
    // The starting dog fills the one kennel.
    ASSERT_EQ(storage->parkAnimalsOfKind(L"dog").size(), 1u);
    addOffer(L"dog", L"Max", 200, 10);
    DataAnimal* second = addOffer(L"dog", L"Bobo", 300, 12);
    addOffer(L"cat", L"Tom", 90, 3);
    MenuPetBuySell1* panel = Singleton<MenuPetBuySell1>::get();
    showScreen(panel);
    panel->draw();
    ASSERT_EQ(panel->mAccommodateButtons.size(), 2u);

    const int cashBefore = cash()->mCash;
    click(panel->mAccommodateButtons[0].get(), panel);
    EXPECT_EQ(cash()->mCash, cashBefore);
    EXPECT_EQ(storage->mParkAnimals.size(), 1u);
    EXPECT_EQ(storage->mAnimalsForSale.size(), 3u);
    EXPECT_EQ(storage->mBalanceThisMonth->mValues[t_PetsHosted], 0);
    EXPECT_TRUE(Singleton<Popup>::get()->isVisible() || showState(of<Popup>()) != kShowHidden);
    EXPECT_EQ(Singleton<Popup>::get()->title, L"No place");
    closePopup();

    // A second kennel: one dog can come, the first offer's fee is earned and booked.
    addBuilding("DogHouse2.txt");
    Singleton<MenuManager>::get()->mCurrentMenu = L"nomenu";
    const int played = soundsPlayed("buy", [&] { click(panel->mAccommodateButtons[0].get(), panel); });
    EXPECT_EQ(played, 1);
    EXPECT_EQ(cash()->mCash, cashBefore + 200);
    EXPECT_EQ(storage->mBalanceThisMonth->mValues[t_PetsHosted], 200);
    EXPECT_EQ(storage->mStatThisMonth->mValues[t_PetsHosted], 1);
    ASSERT_EQ(storage->mParkAnimals.size(), 2u);
    EXPECT_EQ(storage->mParkAnimals.back()->mName, L"Max");
    EXPECT_EQ(Singleton<Tutorial>::get()->petAccepted, 1);
    EXPECT_EQ(showState(panel), kShowDisappearing);
    // The remaining dog moved up to the first card.
    ASSERT_EQ(panel->offers().size(), 1u);
    EXPECT_EQ(panel->offers()[0], second);
    EXPECT_EQ(panel->mAccommodateButtons.size(), 1u);

    // Both kennels taken: the next dog finds no place.
    hideAll();
    showScreen(panel);
    panel->draw();
    click(panel->mAccommodateButtons[0].get(), panel);
    EXPECT_EQ(storage->mParkAnimals.size(), 2u);
    EXPECT_EQ(cash()->mCash, cashBefore + 200);
    EXPECT_EQ(Singleton<Popup>::get()->title, L"No place");
}

TEST_F(PetScreens, AClickTakesInTheAnimalItsCardShowedOrNothingWhenTheOffersChanged)
{
    addBuilding("DogHouse2.txt");
    addBuilding("DogHouse2.txt");
    addOffer(L"dog", L"Max", 200, 10);
    MenuPetBuySell1* panel = Singleton<MenuPetBuySell1>::get();
    // The offers renewed as a new day renews them: the old ones leave the list.
    auto renew = [&](const wchar_t* name, int fee) {
        for (DataAnimal* offer : storage->mAnimalsForSale)
            storage->retire(offer);
        storage->mAnimalsForSale.clear();
        return addOffer(L"dog", name, fee, 5);
    };
    auto pressRow0 = [&](int down) {
        const Button* button = panel->mAccommodateButtons[0].get();
        const float4 picture = Singleton<ButtonBar>::get()->getIconImage(button->kind, 0)->getRect();
        point(button->x + 0.5f * picture.z, button->y, down);
        panel->update();
    };
    showScreen(panel);
    panel->draw();
    const int cashBefore = cash()->mCash;

    // Pressed on Max; the offers renew and the cards are rebuilt before the release.
    pressRow0(1);
    DataAnimal* rex = renew(L"Rex", 300);
    panel->rebuildOffers();
    pressRow0(1);
    pressRow0(0);
    // Pressed after the rebuild but before the new cards were drawn.
    pressRow0(1);
    panel->draw();
    pressRow0(0);
    EXPECT_EQ(storage->mParkAnimals.size(), 1u);
    EXPECT_EQ(cash()->mCash, cashBefore);

    // The offers renewed without a rebuild: the row still shows Max, who is gone.
    panel->draw();
    DataAnimal* zed = renew(L"Zed", 400);
    click(panel->mAccommodateButtons[0].get(), panel);
    EXPECT_EQ(storage->mParkAnimals.size(), 1u);
    EXPECT_EQ(cash()->mCash, cashBefore);
    ASSERT_EQ(panel->offers()[0], zed);
    EXPECT_NE(panel->offers()[0], rex);

    // Seen and clicked: that animal comes, for its own fee.
    panel->draw();
    click(panel->mAccommodateButtons[0].get(), panel);
    ASSERT_EQ(storage->mParkAnimals.size(), 2u);
    EXPECT_EQ(storage->mParkAnimals.back()->mName, L"Zed");
    EXPECT_EQ(cash()->mCash, cashBefore + 400);
}

TEST_F(PetScreens, OffersFollowTheTabAndIgnoreClicksWhileModal)
{
    addOffer(L"cat", L"Tom", 90, 3);
    addBuilding("DogHouse2.txt");
    for (int i = 0; i < 12; ++i)
        addOffer(L"dog", L"Dog" + std::to_wstring(i), 10, 1);
    MenuPetBuySell1* panel = Singleton<MenuPetBuySell1>::get();
    MenuBlueFolds* folds = Singleton<MenuBlueFolds>::get();

    folds->setTab(kTabCat);
    panel->reset();
    EXPECT_EQ(panel->mKind, L"cat");
    EXPECT_EQ(panel->mAccommodateButtons.size(), 1u);
    // The tab of no kind keeps the panel's kind.
    folds->setTab(kTabOther);
    panel->reset();
    EXPECT_EQ(panel->mKind, L"cat");
    panel->setKind(L"Dog");
    EXPECT_EQ(panel->mKind, L"dog");

    // More offers than card rows: one card per row, no more.
    folds->setTab(kTabDog);
    showScreen(panel);
    EXPECT_EQ(panel->mAccommodateButtons.size(), 10u);
    panel->draw();
    EXPECT_EQ(panel->mLabels1[9]->getText(0), L"Dog9");
    EXPECT_EQ(panel->mLabels0[0]->getText(0), L"10 coins");
    EXPECT_EQ(panel->mLabels2[0]->getText(0), L"1 days");

    Singleton<MenuDateBar>::get()->modal = 1;
    click(panel->mAccommodateButtons[0].get(), panel);
    EXPECT_EQ(storage->mParkAnimals.size(), 1u);
    Singleton<MenuDateBar>::get()->modal = 0;
}

// ---- pet cards

TEST_F(PetScreens, CardButtonsTellTheAnimalsState)
{
    for (DataAnimal* animal : storage->mParkAnimals)
        storage->retire(animal);
    storage->mParkAnimals.clear();
    DataAnimal* full = addAnimal(L"dog", 7, 4);
    DataAnimal* hungry = addAnimal(L"dog", 3, 7);
    DataAnimal* eating = addAnimal(L"dog", 5, 2);
    eating->mFed = 1;
    eating->mAtDoctor = 1;
    addAnimal(L"dog", 5, 5);  // a fourth card has no place
    MenuPetsList1* panel = Singleton<MenuPetsList1>::get();
    panel->setKind(L"Dog");
    showScreen(panel);
    ASSERT_EQ(panel->mAnimals.size(), 3u);
    panel->draw();

    EXPECT_EQ(panel->mWidget3->getText(1), L"Dogs");
    EXPECT_EQ(panel->mFeedButtons[0]->text, L"Fed");
    EXPECT_EQ(panel->mFeedButtons[0]->enabled, 0);
    EXPECT_EQ(panel->mTreatButtons[0]->text, L"Treat (3)");
    EXPECT_EQ(panel->mTreatButtons[0]->enabled, 1);
    EXPECT_EQ(panel->mFeedButtons[1]->text, L"Feed");
    EXPECT_EQ(panel->mFeedButtons[1]->enabled, 1);
    EXPECT_EQ(panel->mTreatButtons[1]->text, L"Healthy");
    EXPECT_EQ(panel->mTreatButtons[1]->enabled, 0);
    EXPECT_EQ(panel->mFeedButtons[2]->text, L"Eating");
    EXPECT_EQ(panel->mFeedButtons[2]->enabled, 0);
    EXPECT_EQ(panel->mTreatButtons[2]->text, L"At the vet (5)");
    EXPECT_EQ(panel->mTreatButtons[2]->enabled, 0);
    EXPECT_EQ(panel->mLabels0[1]->getText(0), std::to_wstring(hungry->mStayDays) + L" days");

    // Being fed and at the vet: a click only clicks.
    click(panel->mFeedButtons[2].get(), panel);
    click(panel->mTreatButtons[2].get(), panel);
    EXPECT_EQ(showState(panel), kShowShown);
    // The disabled "fed" button still flies the camera to the animal and closes the panels.
    click(panel->mFeedButtons[0].get(), panel);
    EXPECT_EQ(camera()->mFollowAnimal, full);
    EXPECT_EQ(showState(panel), kShowDisappearing);
}

TEST_F(PetScreens, CardsOfAnEmptyKindAndOfDepartedAnimals)
{
    MenuPetsList1* panel = Singleton<MenuPetsList1>::get();
    Singleton<MenuBlueFolds>::get()->setTab(kTabCat);
    showScreen(panel);
    EXPECT_EQ(panel->mKind, L"cat");
    EXPECT_TRUE(panel->mAnimals.empty());
    panel->draw();
    EXPECT_EQ(panel->mWidget3->getText(1), L"Cats");
    for (size_t k = 0; k < 3; ++k) {
        EXPECT_FALSE(panel->mLabels1[k]->isVisible());
        EXPECT_FALSE(panel->mLabels0[k]->isVisible());
    }

    // A dog leaves the park while its card is shown: the card goes with it, and the cards below
    // move up whole, each row's name, gauges and buttons those of one animal on the row's places.
    hideAll();
    Singleton<MenuBlueFolds>::get()->setTab(kTabDog);
    DataAnimal* second = addAnimal(L"dog", 3, 2);
    showScreen(panel);
    ASSERT_EQ(panel->mAnimals.size(), 2u);
    DataAnimal* first = storage->mParkAnimals[0];
    storage->mParkAnimals.erase(storage->mParkAnimals.begin());
    storage->retire(first);
    panel->update();
    ASSERT_EQ(panel->mAnimals.size(), 1u);
    EXPECT_EQ(panel->mAnimals[0], second);
    EXPECT_EQ(panel->mFeedButtons.size(), 1u);
    panel->draw();
    EXPECT_EQ(panel->mLabels1[0]->getText(0), second->mName);
    EXPECT_EQ(panel->mHungerGauges[0]->level, 3);
    EXPECT_EQ(panel->mHealthGauges[0]->level, 2);
    const auto row = [](WidgetHelper* place) { return place->getRect().y + 0.5f * place->getRect().w; };
    EXPECT_FLOAT_EQ(panel->mFeedButtons[0]->y, row(panel->mHelpers0[0]));
    EXPECT_FLOAT_EQ(panel->mTreatButtons[0]->y, row(panel->mHelpers1[0]));
    EXPECT_FLOAT_EQ(panel->mHungerGauges[0]->y, row(panel->mHelpers4[0]));
    EXPECT_FLOAT_EQ(panel->mHealthGauges[0]->y, row(panel->mHelpers5[0]));
    click(panel->mFeedButtons[0].get(), panel);
    EXPECT_EQ(camera()->mFollowAnimal, second);

    panel->draw();
    EXPECT_FALSE(panel->mLabels0[1]->isVisible());
}

// ---- trick teaching

TEST_F(PetScreens, TeachingStartsTheShowOrSaysHowLongToWait)
{
    DataAnimal* dog = storage->mParkAnimals[0];
    DataAnimal* cat = addAnimal(L"cat", 5, 5);
    cat->mTrickFees[1] = 40;
    dog->mTrickFees[0] = 50;
    dog->mDaysToTeach = 3;
    // A dog in the first row leaves while the panel is shown: the next row moves up whole.
    DataAnimal* leaving = addAnimal(L"dog", 5, 5);
    storage->mParkAnimals.pop_back();
    storage->mParkAnimals.insert(storage->mParkAnimals.begin(), leaving);
    MenuPetsShow1* panel = Singleton<MenuPetsShow1>::get();
    panel->setKind(L"Dog");
    showScreen(panel);
    ASSERT_EQ(panel->mAnimals.size(), 2u);
    storage->mParkAnimals.erase(storage->mParkAnimals.begin());
    panel->update();
    ASSERT_EQ(panel->mAnimals.size(), 1u);
    panel->draw();
    EXPECT_EQ(panel->mLabels1[0]->getText(0), dog->mName);
    EXPECT_EQ(panel->mLabels0[0]->getText(0), std::to_wstring(dog->mTeachingPrice));
    EXPECT_FALSE(panel->mLabels1[1]->isVisible());

    // Three days to wait: the message carries the number, nothing else is filled in.
    click(panel->mTeachButtons[0].get(), panel);
    EXPECT_EQ(Singleton<Popup>::get()->title, L"Not yet");
    EXPECT_EQ(Singleton<Popup>::get()->text, L"Wait 3 days (100%) %s.");
    EXPECT_EQ(Singleton<MenuManager>::get()->currentMenu(), L"popupstart");
    EXPECT_EQ(dog->mTrickFees[0], 50);
    closePopup();

    // A new animal (-1) may be taught: the show starts for it with the kind in lower case and
    // every park animal's trick values cleared.
    dog->mDaysToTeach = -1;
    Singleton<MenuManager>::get()->mCurrentMenu = L"nomenu";
    // The show's figure, made by the show's own reset, outlives this test's park.
#if defined(__SANITIZE_ADDRESS__)
    __lsan_disable();
#endif
    click(panel->mTeachButtons[0].get(), panel);
#if defined(__SANITIZE_ADDRESS__)
    __lsan_enable();
#endif
    EXPECT_EQ(Singleton<MenuManager>::get()->currentMenu(), L"teachstart");
    TeachTrick* show = Singleton<TeachTrick>::get();
    EXPECT_EQ(show->mSpecies, L"dog");
    EXPECT_EQ(show->mAnimal, dog);
    EXPECT_NE(showState(show), kShowHidden);
    EXPECT_EQ(dog->mTrickFees[0], 0);
    EXPECT_EQ(cat->mTrickFees[1], 0);
    hideNow(show);
    show->setAnimal(nullptr);
}

TEST_F(PetScreens, NoAnimalOfTheKindLeavesNothingToClick)
{
    MenuPetsShow1* panel = Singleton<MenuPetsShow1>::get();
    panel->setKind(L"Horse");
    showScreen(panel);
    EXPECT_TRUE(panel->mAnimals.empty());
    click(panel->mTeachButtons[0].get(), panel);
    EXPECT_EQ(Singleton<MenuManager>::get()->currentMenu(), L"nomenu");
    panel->draw();
    EXPECT_FALSE(panel->mLabels1[0]->isVisible());
}

// ---- show summary

TEST_F(PetScreens, TheShowSummaryClosesOnOk)
{
    MenuPetShowSummary* summary = Singleton<MenuPetShowSummary>::get();
    summary->spectators = 4;
    showScreen(summary);
    EXPECT_EQ(summary->total, 4 * storage->mGlobalSettings->mTeachingPrice);
    click(summary->okButton.get(), summary);
    EXPECT_EQ(showState(summary), kShowDisappearing);
    summary->spectators = 0;
}

} // namespace

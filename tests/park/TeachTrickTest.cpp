// The trick show: tries that succeed by the trick's level, the lesson paid on confirmation, the
// mastered trick's reward and message, the all-tricks reward, the clock and the exit, the money
// label, and the trick file.

#include "ParkTestSupport.h"
#include "game/ParkTestData.h"

#include "game/CashAccount.h"
#include "game/DataAnimal.h"
#include "game/KeyFile.h"
#include "game/MonthBalance.h"
#include "park/AnimalAvatar.h"
#include "park/TeachTrick.h"
#include "source_menu/Button.h"
#include "source_menu/ButtonBar.h"
#include "source_menu/Popup.h"
#include "source_menu/ProgressBar.h"
#include "toolkit/utils/FontStyle.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/widgets/WidgetButton.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <IL/il.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>

namespace {

const char* const kTexts = "exit Exit\nsecond_unit s\ntrickteached Mastered!\n"
                           "trickteached_message The trick pays %d coins. 100%\nalltricksteached Star!\n"
                           "alltricksteached_message All three: %d coins.\nDogTrick1 Sit up\nDogTrick2 Spin\n"
                           "DogTrick3 Play dead\n";

const char* const kDogShow = "[helper]\ntrick_stage_dog\n\n[object 3dn]\ndog\n\n[reward price]\n5\n\n"
                             "[idle]\n80 119\n\n[trick]\n120 169\n\n[trick]\n170 219\n\n[trick]\n220 269\n";

// A screen bound once per test program to the layout the build made.
template <class T>
T* bound(const char* screen)
{
    T* instance = Singleton<T>::get();
    if (instance->mChildren.empty())
        instance->init((std::string(PETPARK_APP_DIR) + "/Resources/data/psd/" + screen + ".txt").c_str());
    return instance;
}

class TrickShow : public testing::Test {
protected:
    void SetUp() override
    {
        // Labels check their styles against the table; buttons and gauges take their pictures'
        // sizes from the banks when made.
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
        bound<ProgressBar>("ProgressBar");
        show = bound<TeachTrick>("TeachTrick");

        std::string animations;
        for (const char* a : {"idle 80 119", "trick1 120 169", "trick2 170 219", "trick3 220 269", "notrick 270 299"})
            animations += std::string("[animation]\ndog ") + a + "\n\n";
        data.writeDefault();
        data.write("data/game/animals.txt", ParkTestData::animalsText() + "\n" + animations);
        std::filesystem::create_directories(data.dir().file("data/game/show"));
        data.write("data/game/show/dog.txt", kDogShow);
        data.write("data/dat/texts.dat", kTexts);
        textsManager.load("data/dat/texts.dat");
        storage = ParkTestData::load();
        cash = storage->mGlobalSettings->mCashAccount;
        storage->mGlobalSettings->mDaysToNextTeaching = 3;

        animal = new DataAnimal(L"Rex", L"dog", 0.0f, 0.0f, 0);
        storage->retire(animal);
        animal->mTeachingPrice = 50;
        animal->mAllTricksPrice = 300;
        for (int& level : animal->mTrickProgress)
            level = 0;
        parktest::quietInput();
        parktest::hideNow(Singleton<Popup>::get());
        show->setSpecies(L"Dog");
        show->setAnimal(animal);
        parktest::hideNow(show);
        show->reset();
        // Shown (show state 2) without running its own update.
        show->setStateAll("game", kShowShown, 0);
        for (int i = 0; i < 3; ++i)
            show->Container::update();
        ASSERT_EQ(show->getShowStates().second, kShowShown);
    }

    void TearDown() override
    {
        parktest::hideNow(Singleton<Popup>::get());
        parktest::hideNow(show);
        show->setAnimal(nullptr);
    }

    // The figure's trick animation played to its end (it returns to idle), then one step of the show.
    void finishTrick()
    {
        show->mAvatar->mAnimTime = 300.0f;
        show->update();
        ASSERT_EQ(show->mAvatar->mAnimation, L"idle");
    }

    int money(int word) const { return storage->mBalanceThisMonth->mValues[word]; }
    int count(int word) const { return storage->mStatThisMonth->mValues[word]; }

    ParkTestData data;
    DataStorage* storage = nullptr;
    CashAccount* cash = nullptr;
    DataAnimal* animal = nullptr;
    TeachTrick* show = nullptr;
};

TEST_F(TrickShow, ResetPreparesTheShowForTheSpecies)
{
    EXPECT_EQ(show->mSpecies, L"dog");
    EXPECT_EQ(show->mTimeLeft, 30000);
    EXPECT_EQ(animal->mDaysToTeach, 3);
    EXPECT_EQ(show->mRewardPrice, 5);
    EXPECT_EQ(show->mHelperName, "trick_stage_dog");
    EXPECT_EQ(show->mTrickRanges.size(), 3u);
    EXPECT_EQ(show->mIdleRanges, (std::vector<std::pair<int, int>>{{80, 119}}));
    ASSERT_NE(show->mAvatar, nullptr);
    EXPECT_EQ(show->mAvatar->mAnimation, L"idle");
    EXPECT_EQ(show->mAvatar->mPlaceNodeName, "trick_stage_dog");
    EXPECT_EQ(show->mAmount, -1);
    EXPECT_EQ(show->mPlayingTrick, -1);
    EXPECT_EQ(show->mFinishedTrick, -1);
    ASSERT_NE(show->mWidget6->getLabel(), nullptr);
    EXPECT_EQ(show->mWidget6->getLabel()->getText(0), L"Sit up");
    EXPECT_EQ(show->mWidget8->getLabel()->getText(0), L"Play dead");
}

TEST_F(TrickShow, AtLevelSixATrySucceedsAndTheConfirmationMastersIt)
{
    animal->mTrickProgress[0] = 6;
    int before = cash->mCash;
    show->playTrick(1, kLayerReleased);
    EXPECT_EQ(show->mPlayingTrick, 1);
    EXPECT_EQ(show->mAvatar->mAnimation, L"trick1");
    // Nothing to confirm while it plays.
    show->onTrickTaught(kLayerClick, kLayerReleased);
    EXPECT_EQ(animal->mTrickProgress[0], 6);
    finishTrick();
    EXPECT_EQ(show->mFinishedTrick, 1);
    EXPECT_EQ(show->mPlayingTrick, -1);

    show->onTrickTaught(kLayerClick, kLayerReleased);
    EXPECT_EQ(animal->mTrickProgress[0], 7);
    EXPECT_EQ(show->mFinishedTrick, -1);
    // The reward less the lesson, in one change of the cash.
    EXPECT_EQ(cash->mCash - before, 50 - 5);
    EXPECT_TRUE(cash->mAmounts.empty());
    EXPECT_EQ(show->mAmount, 45);
    EXPECT_FLOAT_EQ(show->mAmountAlpha, 1.0f);
    EXPECT_EQ(money(t_Other), -5);
    EXPECT_EQ(money(t_TricksTeached), 50);
    EXPECT_EQ(count(t_TricksTeached), 1);
    EXPECT_EQ(animal->mTrickFees[0], 50);
    Popup* popup = Singleton<Popup>::get();
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->title, L"Mastered!");
    EXPECT_EQ(popup->text, L"The trick pays 50 coins. 100%");
    EXPECT_EQ(popup->buttons, 0);
    EXPECT_EQ(popup->result, nullptr);
    // The popup holds the show's clock.
    int left = show->mTimeLeft;
    show->update();
    EXPECT_EQ(show->mTimeLeft, left);
}

TEST_F(TrickShow, AtTheTopLevelTheTrickAlwaysPlaysAndALessonStillCosts)
{
    animal->mTrickProgress[1] = 7;
    std::srand(1);
    for (int i = 0; i < 20; ++i) {
        show->playTrick(2, kLayerReleased);
        ASSERT_EQ(show->mPlayingTrick, 2);
        finishTrick();
    }
    int before = cash->mCash;
    show->onTrickTaught(kLayerClick, kLayerReleased);
    EXPECT_EQ(animal->mTrickProgress[1], 7);
    EXPECT_EQ(cash->mCash - before, -5);
    EXPECT_EQ(show->mAmount, -5);
    EXPECT_FALSE(Singleton<Popup>::get()->isVisible());
    EXPECT_EQ(count(t_TricksTeached), 0);
}

TEST_F(TrickShow, AFailedTryShowsNoTrickAndDropsTheWaitingOne)
{
    // At level 0 one try in seven succeeds: find a failing one.
    int failures = 0, successes = 0;
    for (unsigned seed = 1; seed <= 70; ++seed) {
        std::srand(seed);
        show->mFinishedTrick = 3;
        show->mAvatar->setAnimation(L"idle");
        show->playTrick(1, kLayerReleased);
        if (show->mPlayingTrick == 1) {
            ++successes;
            EXPECT_EQ(show->mFinishedTrick, 3);
            show->mPlayingTrick = -1;
        } else {
            ++failures;
            EXPECT_EQ(show->mAvatar->mAnimation, L"notrick");
            EXPECT_EQ(show->mFinishedTrick, -1);
        }
    }
    EXPECT_GT(failures, 40);
    EXPECT_GT(successes, 2);
}

TEST_F(TrickShow, ButtonsActOnAReleaseWithTheFigureIdleAndNothingPlaying)
{
    animal->mTrickProgress[0] = 6;
    show->playTrick(1, kLayerClick);
    EXPECT_EQ(show->mPlayingTrick, -1);
    show->mAvatar->setAnimation(L"notrick");
    show->playTrick(1, kLayerReleased);
    EXPECT_EQ(show->mPlayingTrick, -1);
    show->mAvatar->setAnimation(L"idle");
    show->playTrick(1, kLayerReleased);
    EXPECT_EQ(show->mPlayingTrick, 1);
    animal->mTrickProgress[2] = 6;
    show->mAvatar->setAnimation(L"idle");
    show->playTrick(3, kLayerReleased);
    EXPECT_EQ(show->mPlayingTrick, 1);
}

TEST_F(TrickShow, MasteringTheLastTrickPaysTheAllTricksRewardAfterItsMessage)
{
    animal->mTrickProgress[0] = 7;
    animal->mTrickProgress[1] = 7;
    animal->mTrickProgress[2] = 6;
    show->playTrick(3, kLayerReleased);
    finishTrick();
    int before = cash->mCash;
    show->onTrickTaught(kLayerClick, kLayerReleased);
    EXPECT_EQ(cash->mCash - before, 45);
    EXPECT_EQ(show->mAllTaughtFlag, 1);
    Popup* popup = Singleton<Popup>::get();
    EXPECT_EQ(popup->title, L"Mastered!");
    // The message closed, the next step brings the all-tricks reward, once.
    parktest::hideNow(popup);
    show->update();
    EXPECT_EQ(popup->title, L"Star!");
    EXPECT_EQ(popup->text, L"All three: 300 coins.");
    EXPECT_EQ(cash->mCash - before, 45 + 300);
    EXPECT_EQ(show->mAmount, 300);
    EXPECT_EQ(money(t_TricksTeached), 350);
    EXPECT_EQ(show->mAllTaughtFlag, 0);
    parktest::hideNow(popup);
    show->update();
    EXPECT_EQ(cash->mCash - before, 345);
}

TEST_F(TrickShow, TheShowLastsThirtySecondsOrUntilTheExitButton)
{
    show->update();
    show->draw();
    EXPECT_EQ(show->mWidget4->getText(0), L"29 s");
    int steps = 1;
    while (show->getShowStates().second == kShowShown && steps < 4000) {
        show->update();
        ++steps;
    }
    EXPECT_EQ(steps, 3001);
    EXPECT_EQ(show->mTimeLeft, 0);
    EXPECT_EQ(Singleton<MenuManager>::get()->currentMenu(), L"nomenu");
}

TEST_F(TrickShow, TheExitButtonEndsTheShow)
{
    Button* exit = show->mExitButton;
    const float4 picture = Singleton<ButtonBar>::get()->getIconImage(exit->kind, 0)->getRect();
    parktest::setPointer(exit->x + 0.5f * picture.z, exit->y, 1);
    show->update();
    EXPECT_EQ(show->getShowStates().second, kShowShown);
    parktest::setPointer(exit->x + 0.5f * picture.z, exit->y, 0);
    show->update();
    EXPECT_EQ(show->mTimeLeft, 0);
    EXPECT_EQ(show->getShowStates().second, kShowDisappearing);
}

TEST_F(TrickShow, TheMoneyLabelFadesOutInOneAndAHalfSeconds)
{
    animal->mTrickProgress[0] = 2;
    show->mFinishedTrick = 1;
    show->onTrickTaught(kLayerClick, kLayerReleased);
    EXPECT_EQ(show->mAmount, -5);
    show->draw();
    EXPECT_TRUE(show->mWidget1->isVisible());
    EXPECT_EQ(show->mWidget1->getText(0), L"-5");
    EXPECT_FLOAT_EQ(show->mWidget1->getColor().x, 1.0f);
    for (int i = 0; i < 150; ++i)
        show->update();
    EXPECT_EQ(show->mAmount, -5);
    show->update();
    EXPECT_EQ(show->mAmount, 0);
    // The confirm widget shows only while a trick waits.
    show->draw();
    EXPECT_FALSE(show->mWidget5->isVisible());
    show->mFinishedTrick = 2;
    show->draw();
    EXPECT_TRUE(show->mWidget5->isVisible());
}

TEST_F(TrickShow, WithoutAnAnimalNothingHappens)
{
    show->setAnimal(nullptr);
    show->reset();
    show->playTrick(1, kLayerReleased);
    EXPECT_EQ(show->mPlayingTrick, -1);
    show->mFinishedTrick = 1;
    show->onTrickTaught(kLayerClick, kLayerReleased);
    show->update();
    show->draw();
    EXPECT_EQ(show->mAmount, -1);
}

TEST_F(TrickShow, ADamagedTrickFileNamesWhatTheShowLacks)
{
    data.write("data/game/show/odd.txt", "[object 3dn]\ndog\n\n[helper]\ntrick_stage_dog\n\n[reward price]\nfree\n");
    show->mRewardPrice = 9;
    testing::internal::CaptureStdout();
    LoadTrick(*show, "data/game/show/odd.txt");
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("\"[helper]\" must come first"), std::string::npos) << out;
    EXPECT_NE(out.find("[reward price]: not an integer"), std::string::npos) << out;
    EXPECT_EQ(show->mAvatar->mPlaceNodeName, "");
    EXPECT_EQ(show->mHelperName, "trick_stage_dog");
    EXPECT_EQ(show->mRewardPrice, 9);
    EXPECT_NE(out.find("odd.txt: no \"[idle]\" frames"), std::string::npos) << out;
    EXPECT_NE(out.find("odd.txt: 0 \"[trick]\" frame ranges, the show has 3 tricks"), std::string::npos) << out;
    EXPECT_DEATH(LoadTrick(*show, "data/game/show/none.txt"), "no dat file loaded!");

    // Cut short, or with a key mistyped, a file names what the show lacks.
    std::string mistyped = kDogShow;
    mistyped.replace(mistyped.find("[reward price]"), 14, "[reward prize]");
    const std::pair<std::string, const char*> damaged[] = {
        {std::string(kDogShow).substr(0, std::string(kDogShow).find("[trick]\n170")), "1 \"[trick]\" frame ranges"},
        {mistyped, "no \"[reward price]\""},
        {"[helper]\ntrick_stage_dog\n\n[reward price]\n5\n", "no \"[object 3dn]\", the show has no figure"}};
    for (const auto& file : damaged) {
        data.write("data/game/show/cut.txt", file.first);
        testing::internal::CaptureStdout();
        LoadTrick(*show, "data/game/show/cut.txt");
        out = testing::internal::GetCapturedStdout();
        EXPECT_NE(out.find(std::string("cut.txt: ") + file.second), std::string::npos) << out;
    }
}

} // namespace

namespace {

// The shipped trick files against the shipped scenes and the species' animations.
TEST(ShippedTrickShows, EverySpeciesStandsOnItsStageWithItsTricks)
{
    const std::string data = std::string(PETPARK_APP_DIR) + "/Resources/";
    CRender::Object stage;
    testing::internal::CaptureStdout();
    ASSERT_TRUE(stage.load(data + "data/3dn/Trick_cameras.3dn"));
    testing::internal::GetCapturedStdout();
    float4x4 camera;
    float fov = 0;
    EXPECT_TRUE(stage.get_camera(0, "trick_camera", &camera, &fov));

    // The animations of animals.txt, by species and name.
    std::map<std::wstring, std::map<std::wstring, std::pair<int, int>>> animations;
    KeyFileReader animals(data + "data/game/animals.txt");
    for (; animals.more(); animals.advance())
        if (animals.key(L"[animation]")) {
            std::vector<std::wstring> items = animals.items();
            if (items.size() == 4)
                animations[items[0]][items[1]] = {std::stoi(items[2]), std::stoi(items[3])};
        }

    TeachTrick* show = Singleton<TeachTrick>::get();
    const std::filesystem::path home = std::filesystem::current_path();
    std::filesystem::current_path(data);
    for (const wchar_t* species : {L"dog", L"cat", L"dino", L"rabbit", L"horse"}) {
        std::string path = "data/game/show/" + wideToString(species) + ".txt";
        testing::internal::CaptureStdout();
        LoadTrick(*show, path);
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out.find("Warning"), std::string::npos) << out;
        EXPECT_GE(stage.find_node(show->mHelperName.c_str()), 0) << path;
        ASSERT_NE(show->mAvatar, nullptr);
        EXPECT_TRUE(std::filesystem::exists("data/3dn/" + wideToString(species) + ".3dn"));
        EXPECT_EQ(show->mAvatar->mPlaceNodeName, show->mHelperName);
        EXPECT_GT(show->mRewardPrice, 0);
        EXPECT_LE(show->mRewardPrice, 10);
        ASSERT_EQ(show->mTrickRanges.size(), 3u) << path;
        for (int n = 0; n < 3; ++n)
            EXPECT_EQ(show->mTrickRanges[size_t(n)], animations[species][L"trick" + std::to_wstring(n + 1)]) << path;
        ASSERT_EQ(show->mIdleRanges.size(), 1u);
        EXPECT_EQ(show->mIdleRanges[0], animations[species][L"idle"]) << path;
    }
    std::filesystem::current_path(home);
    delete show->mAvatar;
    show->mAvatar = nullptr;
}

} // namespace

// The tutorial: its message file, the step machine (one message per step, none while a message is
// open, waiting for the camera), the switch that silences it, the screens' own messages shown
// once, and the panel's two buttons.

#include "MainMenuTestSupport.h"

#include "park/GameBackground3D.h"
#include "park/GameCamera.h"
#include "toolkit/utils/misc.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <gtest/gtest.h>

using namespace menus;

namespace {

std::string message(int id, int sound, int pointer, const std::string& title)
{
    return "[tutorial message]\n" + std::to_string(id) + "\nsound " + std::to_string(sound) + "\npointer " +
           std::to_string(pointer) + "\n" + title + "\nText of " + title + "\n\n";
}

TEST(TutorialFile, MessagesAreReadInFileOrderAndBadNumbersAreNamed)
{
    TempDir dir;
    const std::string path = dir.write(
        "tutorial.txt", "a comment line\n\n[Tutorial Message]\n3\nsound 1\npointer 11\nThird\nGo on.\n\n" +
                            message(-2, 0, -1, "Own") +
                            "[tutorial message]\nx\nsound 1\npointer 0\nNo id\nSkipped.\n"
                            "[tutorial message]\n5\nsound\npointer 12\nBad flags\nKept.\n"
                            "[tutorial message]\n6\nsound 1\npointer 2\nCut off\n");
    testing::internal::CaptureStdout();
    std::vector<TutMessage*> messages = readTutorialMessages(path);
    const std::string warnings = testing::internal::GetCapturedStdout();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0]->id, 3);
    EXPECT_EQ(messages[0]->withSound, 1);
    EXPECT_EQ(messages[0]->pointer, 11);
    EXPECT_EQ(messages[0]->title, L"Third");
    EXPECT_EQ(messages[0]->text, L"Go on.");
    EXPECT_EQ(messages[0]->shown, 0);
    EXPECT_EQ(messages[1]->id, -2);
    EXPECT_EQ(messages[1]->withSound, 0);
    EXPECT_EQ(messages[1]->pointer, -1);
    EXPECT_EQ(messages[2]->id, 5);
    EXPECT_EQ(messages[2]->withSound, 0);
    EXPECT_EQ(messages[2]->pointer, -1);
    EXPECT_EQ(messages[2]->title, L"Bad flags");
    EXPECT_NE(warnings.find("tutorial.txt"), std::string::npos);
    for (TutMessage* m : messages)
        delete m;
    for (const std::string& file : {dir.file("missing.txt"), dir.write("empty.txt", "")}) {
        testing::internal::CaptureStderr();
        EXPECT_TRUE(readTutorialMessages(file).empty());
        EXPECT_NE(testing::internal::GetCapturedStderr().find(file + " holds no tutorial message"),
                  std::string::npos);
    }
}

TEST(TutorialFile, TheShippedFileHoldsEveryMessage)
{
    std::vector<TutMessage*> messages =
        readTutorialMessages(std::string(PETPARK_SOURCE_DIR) + "/data/game/tutorial.txt");
    std::vector<int> ids;
    for (TutMessage* m : messages) {
        ids.push_back(m->id);
        EXPECT_FALSE(m->title.empty());
        EXPECT_FALSE(m->text.empty());
        // The prices tip names the buttons the prices screen shows.
        if (m->id == 15) {
            EXPECT_NE(m->text.find(L"Click Change"), std::wstring::npos) << wideToString(m->text);
        }
        delete m;
    }
    std::vector<int> expected;
    for (int id = 1; id <= 16; ++id)
        expected.push_back(id);
    for (int id = -1; id >= -6; --id)
        expected.push_back(id);
    EXPECT_EQ(ids, expected);
}

class TutorialSteps : public MenuTest {
protected:
    void SetUp() override
    {
        MenuTest::SetUp();
        tutorial = Singleton<Tutorial>::get();
        savedMessages = tutorial->messages;
        std::string file;
        for (int id = 1; id <= 16; ++id)
            file += message(id, id % 2, id == 3 ? 0 : -1, "Step " + std::to_string(id));
        file += message(-1, 1, -1, "Pets list");
        data.write("data/game/tutorial.txt", file);
        tutorial->messages = readTutorialMessages("data/game/tutorial.txt");
        tutorial->step = 0;
        tutorial->pointerTarget = -1;
        tutorial->buildingBought = tutorial->petAccepted = tutorial->foodBought = tutorial->priceChanged = 0;
        makeProfiles(1);
        storage->mCurrentProfile = 0;
        camera = Singleton<GameBackground3D>::get()->mCamera;
        if (camera)
            camera->mGliding = 0;
    }
    void TearDown() override
    {
        for (TutMessage* m : tutorial->messages)
            delete m;
        tutorial->messages = savedMessages;
        if (camera)
            camera->mGliding = 0;
        MenuTest::TearDown();
    }
    // The step machine once, as the date bar runs it.
    void trigger() { tutorial->checkTriggers(); }
    // The message panel closed at once.
    void closeMessage() { screens::hideNow(tutorial); }
    static void setShown(Container* screen, bool shown)
    {
        screen->setStateDirect(shown ? kShowShown : kShowHidden);
    }

    Tutorial* tutorial = nullptr;
    GameCamera* camera = nullptr;
    std::vector<TutMessage*> savedMessages;
};

TEST_F(TutorialSteps, EachStepShowsItsMessageAfterThePreviousOneIsClosed)
{
    trigger();
    EXPECT_EQ(tutorial->step, 0);  // the date bar is not shown
    setShown(screens::of<MenuDateBar>(), true);
    EXPECT_EQ(soundsPlayed("popup", [&] { trigger(); }), 1);
    EXPECT_EQ(tutorial->step, 1);
    EXPECT_EQ(screens::showState(tutorial), kShowAppearing);
    EXPECT_EQ(tutorial->mWidget13->getText(0), L"Step 1");

    // While a message is open nothing further is tested.
    trigger();
    EXPECT_EQ(tutorial->step, 1);
    closeMessage();
    EXPECT_EQ(soundsPlayed("popup", [&] { trigger(); }), 0);  // message 2 is silent
    EXPECT_EQ(tutorial->mWidget13->getText(0), L"Step 2");
    closeMessage();
    trigger();
    EXPECT_EQ(tutorial->step, 3);
    EXPECT_EQ(tutorial->pointerTarget, 0);
    closeMessage();
    trigger();
    EXPECT_EQ(tutorial->step, 3);  // waits for the buildings fold
    setShown(screens::of<MenuIngameFold2>(), true);
    trigger();
    EXPECT_EQ(tutorial->step, 4);
    EXPECT_EQ(tutorial->pointerTarget, -1);
}

TEST_F(TutorialSteps, PurchasesWaitForTheCameraToRest)
{
    tutorial->step = 6;
    tutorial->buildingBought = 1;
    ASSERT_NE(camera, nullptr);
    camera->mGliding = 1;
    trigger();
    EXPECT_EQ(tutorial->step, 6);
    camera->mGliding = 0;
    trigger();
    EXPECT_EQ(tutorial->step, 7);
    EXPECT_EQ(tutorial->mWidget13->getText(0), L"Step 7");

    closeMessage();
    tutorial->step = 10;
    tutorial->petAccepted = 1;
    camera->mGliding = 1;
    trigger();
    EXPECT_EQ(tutorial->step, 10);
    camera->mGliding = 0;
    trigger();
    EXPECT_EQ(tutorial->step, 11);
}

TEST_F(TutorialSteps, TheLastStepsEndTheTutorialAndClearThePointer)
{
    tutorial->step = 15;
    tutorial->priceChanged = 1;
    trigger();
    EXPECT_EQ(tutorial->step, 16);
    closeMessage();
    tutorial->pointerTarget = 4;
    setShown(screens::of<MenuPetsShow>(), true);
    trigger();
    EXPECT_EQ(tutorial->step, 17);
    EXPECT_EQ(screens::showState(tutorial), kShowHidden);
    trigger();
    EXPECT_EQ(tutorial->step, 17);
    EXPECT_EQ(tutorial->pointerTarget, -1);
}

TEST_F(TutorialSteps, SwitchedOffTheStepsAdvanceSilently)
{
    storage->mProfiles[0]->mTutorial = 0;
    setShown(screens::of<MenuDateBar>(), true);
    for (int k = 0; k < 3; ++k)
        trigger();
    EXPECT_EQ(tutorial->step, 3);
    EXPECT_EQ(screens::showState(tutorial), kShowHidden);
    EXPECT_EQ(tutorial->pointerTarget, -1);
    tutorial->showMessage(-1);
    EXPECT_EQ(screens::showState(tutorial), kShowHidden);
}

TEST_F(TutorialSteps, AScreensOwnMessageShowsOnce)
{
    tutorial->showMessage(-1);
    EXPECT_EQ(tutorial->mWidget13->getText(0), L"Pets list");
    EXPECT_EQ(screens::showState(tutorial), kShowAppearing);
    closeMessage();
    tutorial->showMessage(-1);
    EXPECT_EQ(screens::showState(tutorial), kShowHidden);
    tutorial->showMessage(-5);  // no such message
    EXPECT_EQ(screens::showState(tutorial), kShowHidden);
}

TEST_F(TutorialSteps, OkClosesAndTurnOffAlsoSwitchesTheTutorialOff)
{
    tutorial->showMessage(1);
    showFully(tutorial);
    click(tutorial, tutorial->okButton);
    EXPECT_EQ(screens::showState(tutorial), kShowDisappearing);
    EXPECT_EQ(storage->mProfiles[0]->mTutorial, 1);

    tutorial->showMessage(2);
    showFully(tutorial);
    click(tutorial, tutorial->turnOffButton);
    EXPECT_EQ(screens::showState(tutorial), kShowDisappearing);
    EXPECT_EQ(storage->mProfiles[0]->mTutorial, 0);
}

} // namespace

// The profile screens: the numbers of the profile files, renumbering after a delete without ever
// replacing a file, the chooser's rows, selection and scrolling, creating a profile by button or
// Return (a file that cannot be written told on the screen), and deleting one with the options'
// stored profile forgotten.

#include "MainMenuTestSupport.h"

#include "park/OnePerson.h"
#include "park/PublicManager.h"
#include "source_menu/generated/_MainMenuCreateProfile.h"
#include "toolkit/widgets/WidgetEdit.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace menus;

namespace {

namespace fs = std::filesystem;

// ---- file numbers

TEST(ProfileNumbers, OnlyProfileFileNamesCarryANumber)
{
    int n = -1;
    EXPECT_TRUE(profileNumber(L"profile12.txt", n));
    EXPECT_EQ(n, 12);
    EXPECT_TRUE(profileNumber(L"Profile3.TXT", n));
    EXPECT_EQ(n, 3);
    EXPECT_FALSE(profileNumber(L"profile.txt", n));
    EXPECT_FALSE(profileNumber(L"profile1a.txt", n));
    EXPECT_FALSE(profileNumber(L"notes.txt", n));
    EXPECT_FALSE(profileNumber(L"profile99999999999.txt", n));
}

class Renumbering : public testing::Test {
protected:
    void SetUp() override { fs::create_directories(dir.file("Profiles")); }
    std::string folder() const { return dir.file("Profiles/"); }
    void make(const std::string& name) const { dir.write("Profiles/" + name, name); }
    // The folder's files as "name=first content", in natural order.
    std::vector<std::string> contents() const
    {
        std::vector<std::string> out;
        for (const std::wstring& name : listDirectory(folder(), "*.txt"))
            out.push_back(wideToString(name) + "=" + dir.read("Profiles/" + wideToString(name)));
        return out;
    }
    TempDir dir;
};

TEST_F(Renumbering, TheFilesAfterAGapMoveDownInTheirOrder)
{
    for (int n : {1, 3, 4})
        make("profile" + std::to_string(n) + ".txt");
    renumberProfiles(folder());
    EXPECT_EQ(contents(), (std::vector<std::string>{"profile1.txt=profile1.txt", "profile2.txt=profile3.txt",
                                                    "profile3.txt=profile4.txt"}));
}

TEST_F(Renumbering, NumbersCountAsNumbersNotAsText)
{
    // Deleting number 1 of twelve: 2 -> 1, ..., 10 -> 9, 11 -> 10, 12 -> 11; profile10 never
    // lands on profile2's name while that one still exists.
    for (int n = 2; n <= 12; ++n)
        make("profile" + std::to_string(n) + ".txt");
    renumberProfiles(folder());
    std::vector<std::string> expected;
    for (int n = 1; n <= 11; ++n)
        expected.push_back("profile" + std::to_string(n) + ".txt=profile" + std::to_string(n + 1) + ".txt");
    EXPECT_EQ(contents(), expected);
}

TEST_F(Renumbering, NoFileIsEverReplaced)
{
    // "profile0" would take number 1 while profile1 still stands there: it keeps its name.
    make("profile0.txt");
    make("profile1.txt");
    make("zz.txt");
    testing::internal::CaptureStdout();
    const std::vector<std::pair<std::string, std::string>> renamed = renumberProfiles(folder());
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("not renamed"), std::string::npos);
    // Only the renames done are reported.
    EXPECT_EQ(renamed, (std::vector<std::pair<std::string, std::string>>{
                           {folder() + "profile1.txt", folder() + "profile2.txt"},
                           {folder() + "zz.txt", folder() + "profile3.txt"}}));
    // Every file is still there with its own content; the unnumbered one comes last.
    EXPECT_EQ(contents(), (std::vector<std::string>{"profile0.txt=profile0.txt", "profile2.txt=profile1.txt",
                                                    "profile3.txt=zz.txt"}));
}

TEST_F(Renumbering, ANewProfileTakesANumberAboveEveryFile)
{
    EXPECT_EQ(newProfilePath(folder(), 0), folder() + "profile1.txt");
    make("profile1.txt");
    make("profile3.txt");
    // Two profiles would give number 3, which is taken.
    EXPECT_EQ(newProfilePath(folder(), 2), folder() + "profile4.txt");
    // The highest number has no successor: it is passed over, and if the number above the
    // others is taken then, the lowest free one is used.
    make("profile2147483647.txt");
    EXPECT_EQ(newProfilePath(folder(), 3), folder() + "profile4.txt");
    make("profile2147483646.txt");
    EXPECT_EQ(newProfilePath(folder(), 4), folder() + "profile2.txt");
}

// ---- the chooser

class Chooser : public MenuTest {
protected:
    void SetUp() override
    {
        MenuTest::SetUp();
        chooser = Singleton<MainMenuChooseProfile>::get();
    }
    // Presses and releases inside row r's area.
    void pressRow(int r)
    {
        const float4 area = chooser->rowArea(r)->getRect();
        point(area.x + 0.5f * area.z, area.y + 0.5f * area.w, 1);
        chooser->update();
        point(area.x + 0.5f * area.z, area.y + 0.5f * area.w, 0);
        chooser->update();
    }
    MainMenuChooseProfile* chooser = nullptr;
};

TEST_F(Chooser, APressOnARowSelectsItAndOnlyTheSelectedRowPlaysOrDeletes)
{
    makeProfiles(2);
    showFully(chooser);
    EXPECT_EQ(chooser->selected, -1);

    // The select button of an unselected row does nothing.
    click(chooser, chooser->rowButtons[1].select);
    EXPECT_EQ(menu->currentMenu(), L"nomenu");

    // Hovering marks the row without selecting it.
    const float4 area = chooser->rowArea(1)->getRect();
    point(area.x + 0.5f * area.z, area.y + 0.5f * area.w, 0);
    chooser->update();
    EXPECT_EQ(chooser->hoverRow, 1);
    EXPECT_EQ(chooser->selected, -1);

    pressRow(1);
    EXPECT_EQ(chooser->selected, 1);
    click(chooser, chooser->rowButtons[1].remove);
    EXPECT_EQ(menu->currentMenu(), L"deleteprofile");
    EXPECT_EQ(screens::showState(screens::of<MainMenuDeleteProfile>()), kShowAppearing);
}

TEST_F(Chooser, SelectMakesTheProfileCurrentAndOpensTheMainMenu)
{
    makeProfiles(2);
    showFully(chooser);
    pressRow(0);
    click(chooser, chooser->rowButtons[0].select);
    EXPECT_EQ(storage->mCurrentProfile, 0);
    EXPECT_EQ(menu->currentMenu(), L"mainmenustart");
    EXPECT_EQ(screens::showState(screens::of<MainMenuStart>()), kShowAppearing);
    EXPECT_EQ(Singleton<MainMenuStart>::get()->profile->mName, L"A");
}

TEST_F(Chooser, AProfileThatCannotBeReadIsNotPlayedAndTheChooserSaysWhy)
{
    makeProfiles(3);
    // A folder named as the first profile; the second is damaged and cannot be copied aside,
    // every copy's name being taken.
    fs::remove(profilePath(1));
    fs::create_directory(profilePath(1));
    const std::string damaged = data.read(profilePath(2)) + "\n[cash]\nlots\n";
    data.write(profilePath(2), damaged);
    fs::create_symlink("Gone/copy", profilePath(2) + ".damaged");
    for (int n = 2; n <= 100; ++n)
        fs::create_directory(profilePath(2) + ".damaged" + std::to_string(n));
    testing::internal::CaptureStdout();
    storage->scanProfiles("data/game/");
    showFully(chooser);
    pressRow(0);
    click(chooser, chooser->rowButtons[0].select);
    testing::internal::GetCapturedStdout();
    // Still choosing, no profile played, the message queued with the file's name.
    EXPECT_EQ(menu->currentMenu(), L"chooseprofile");
    EXPECT_EQ(storage->mCurrentProfile, -1);
    EXPECT_NE(screens::showState(screens::of<MainMenuStart>()), kShowAppearing);
    ASSERT_EQ(storage->mPlayerNotices.size(), 1u);
    EXPECT_EQ(storage->mPlayerNotices[0].mTextKey, L"parkunreadablemessage");
    EXPECT_EQ(storage->mPlayerNotices[0].mFile, stringToWide(profilePath(1)));
    chooser->update();
    Popup* popup = Singleton<Popup>::get();
    EXPECT_TRUE(popup->isVisible());
    // The row shows the file's name.
    chooser->draw();
    EXPECT_EQ(chooser->mWidget2->getText(0), L"profile1.txt");

    // The damaged one keeps its name and is not played either, for its own reason.
    EXPECT_EQ(chooser->mWidget3->getText(0), L"B");
    menu->runCommand(L"popupend");
    screens::hideNow(popup);
    showFully(chooser);
    pressRow(1);
    testing::internal::CaptureStdout();
    click(chooser, chooser->rowButtons[1].select);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(storage->mCurrentProfile, -1);
    EXPECT_EQ(storage->mPlayerNotices.back().mTextKey, L"parkuncopiedmany");
    EXPECT_EQ(data.read(profilePath(2)), damaged);

    // With the messages answered, the third profile plays.
    menu->runCommand(L"popupend");
    screens::hideNow(popup);
    showFully(chooser);
    pressRow(2);
    click(chooser, chooser->rowButtons[2].select);
    EXPECT_EQ(storage->mCurrentProfile, 2);
    EXPECT_EQ(menu->currentMenu(), L"mainmenustart");
    storage->mPlayerNotices.clear();
}

TEST_F(Chooser, ASingleProfileIsSelectedWhenShown)
{
    makeProfiles(1);
    showFully(chooser);
    EXPECT_EQ(chooser->getSelected(), 0);
    click(chooser, chooser->createButton);
    EXPECT_EQ(menu->currentMenu(), L"createprofile");
}

TEST_F(Chooser, ScrollingKeepsThreeRowsFilled)
{
    makeProfiles(5);
    showFully(chooser);
    click(chooser, chooser->scrollUpButton);
    EXPECT_EQ(chooser->firstRow, 0);
    for (int k = 0; k < 4; ++k)
        click(chooser, chooser->scrollDownButton);
    EXPECT_EQ(chooser->firstRow, 2);
    click(chooser, chooser->scrollUpButton);
    EXPECT_EQ(chooser->firstRow, 1);

    // The rows show profiles firstRow .. firstRow + 2.
    pressRow(2);
    EXPECT_EQ(chooser->selected, 3);
}

TEST_F(Chooser, WithThreeProfilesTheScrollButtonsDoNothing)
{
    makeProfiles(3);
    showFully(chooser);
    click(chooser, chooser->scrollDownButton);
    EXPECT_EQ(chooser->firstRow, 0);
    pressRow(2);
    EXPECT_EQ(chooser->selected, 2);
}

TEST_F(Chooser, ASelectionScrollsIntoView)
{
    chooser->setSelected(6);
    EXPECT_EQ(chooser->firstRow, 4);
    chooser->setSelected(1);
    EXPECT_EQ(chooser->firstRow, 0);
}

// ---- creating

class Create : public MenuTest {
protected:
    void SetUp() override
    {
        MenuTest::SetUp();
        create = Singleton<MainMenuCreateProfile>::get();
    }
    void type(const std::wstring& text)
    {
        for (wchar_t c : text) {
            keyboard->data[kKeyboardCharWord].i = c;
            create->update();
        }
    }
    MainMenuCreateProfile* create = nullptr;
};

TEST_F(Create, TheFirstProfileGoesStraightToTheMainMenu)
{
    menu->runCommand(L"chooseprofile");
    EXPECT_EQ(menu->currentMenu(), L"createprofile");
    showFully(create);

    // Without a name neither the button nor Return creates, and there is no way back.
    keyboard->data[kKeyboardHeldWord + 13].i = 1;
    create->update();
    keyboard->data[kKeyboardHeldWord + 13].i = 0;
    click(create, create->createButton);
    click(create, create->cancelButton);
    EXPECT_EQ(menu->currentMenu(), L"createprofile");
    EXPECT_FALSE(fs::exists("data/game/Profiles/profile1.txt"));

    type(L"Zoe");
    // Something at the temporary name: no file can be made. Told over this screen at once, in
    // words for a profile not made; a Return held meanwhile and after the notice tries no more.
    // The screens are stepped as the main loop steps them: the notice holds the keyboard.
    const std::string blocker = "data/game/Profiles/profile1.txt.tmp";
    fs::create_directories(blocker);
    Popup* popup = Singleton<Popup>::get();
    const std::vector<Container*> screens = {create, popup};
    keyboard->data[kKeyboardHeldWord + 13].i = 1;
    testing::internal::CaptureStdout();
    updateScreens(screens);
    updateScreens(screens);
    const bool told = popup->isVisible();
    for (int i = 0; i < 30; ++i)
        updateScreens(screens);
    const std::pair<float, float> ok = centreOf(popup->okButton);
    point(ok.first, ok.second, 1);
    updateScreens(screens);
    point(ok.first, ok.second, 0);
    for (int i = 0; i < 30; ++i)
        updateScreens(screens);
    point(-1.0f, -1.0f, 0);
    const std::string printed = testing::internal::GetCapturedStdout();
    ASSERT_TRUE(told);
    EXPECT_EQ(popup->title, L"Not saved");
    EXPECT_EQ(popup->text, L"Not made: data/game/Profiles/profile1.txt.tmp is taken.");
    EXPECT_EQ(printed.find("could not be written"), printed.rfind("could not be written")) << printed;
    EXPECT_TRUE(storage->mPlayerNotices.empty());
    EXPECT_FALSE(popup->isVisible());
    EXPECT_FALSE(fs::exists("data/game/Profiles/profile1.txt"));
    EXPECT_EQ(menu->currentMenu(), L"popupend");
    keyboard->data[kKeyboardHeldWord + 13].i = 0;
    create->update();

    // The cause gone, Create makes it.
    fs::remove(blocker);
    click(create, create->nextButton);
    click(create, create->createButton);
    ASSERT_TRUE(fs::exists("data/game/Profiles/profile1.txt"));
    EXPECT_EQ(nameIn("data/game/Profiles/profile1.txt"), L"Zoe");
    ASSERT_EQ(storage->mProfiles.size(), 1u);
    EXPECT_EQ(storage->mProfiles[0]->mAvatarFile, create->avatarNames[1]);
    EXPECT_EQ(storage->mProfiles[0]->mTutorial, 1);
    EXPECT_EQ(storage->mCurrentProfile, 0);
    EXPECT_EQ(menu->currentMenu(), L"mainmenustart");
    EXPECT_EQ(screens::showState(screens::of<MainMenuStart>()), kShowAppearing);
    EXPECT_EQ(screens::showState(create), kShowDisappearing);
}

TEST_F(Create, ReturnCreatesALaterProfileAndTheChooserSelectsIt)
{
    makeProfiles(3);
    Singleton<PublicManager>::get()->mWalkers.push_back(new OnePerson());
    showFully(create);
    type(L"Ola");
    keyboard->data[kKeyboardHeldWord + 13].i = 1;
    create->update();
    keyboard->data[kKeyboardHeldWord + 13].i = 0;
    EXPECT_EQ(nameIn("data/game/Profiles/profile4.txt"), L"Ola");
    ASSERT_EQ(storage->mProfiles.size(), 4u);
    EXPECT_EQ(menu->currentMenu(), L"returnfromcreate");
    MainMenuChooseProfile* chooser = Singleton<MainMenuChooseProfile>::get();
    EXPECT_EQ(chooser->getSelected(), 3);
    EXPECT_EQ(chooser->firstRow, 1);
    // The new park starts without the walkers of the park shown before.
    EXPECT_EQ(data.read("data/game/Profiles/profile4.txt").find("[person walking]"), std::string::npos);
}

TEST_F(Create, ANewProfileNeverReplacesAFileLeftAfterAGap)
{
    makeProfiles(2);
    ASSERT_EQ(0, std::rename(profilePath(2).c_str(), profilePath(3).c_str()));
    storage->scanProfiles("data/game/");
    showFully(create);
    type(L"Kim");
    click(create, create->createButton);
    EXPECT_EQ(nameIn(profilePath(3)), L"B");
    EXPECT_EQ(nameIn(profilePath(4)), L"Kim");
    EXPECT_EQ(Singleton<MainMenuChooseProfile>::get()->getSelected(), 2);
}

TEST_F(Create, CancelReturnsAndTheArrowsWrapRound)
{
    makeProfiles(1);
    showFully(create);
    // A profile that cannot be written is told here as on a first run.
    fs::create_directories(profilePath(2) + ".tmp");
    type(L"Ola");
    testing::internal::CaptureStdout();
    click(create, create->createButton);
    testing::internal::GetCapturedStdout();
    create->update();
    ASSERT_TRUE(Singleton<Popup>::get()->isVisible());
    EXPECT_EQ(Singleton<Popup>::get()->text, L"Not made: " + stringToWide(profilePath(2)) + L".tmp is taken.");
    menu->runCommand(L"popupend");
    screens::hideNow(Singleton<Popup>::get());

    const int count = static_cast<int>(create->avatarNames.size());
    ASSERT_GE(count, 2);
    EXPECT_EQ(create->avatarIndex, 0);
    click(create, create->previousButton);
    EXPECT_EQ(create->avatarIndex, count - 1);
    click(create, create->nextButton);
    EXPECT_EQ(create->avatarIndex, 0);
    click(create, create->cancelButton);
    EXPECT_EQ(menu->currentMenu(), L"returnfromcreate");
    EXPECT_EQ(storage->mProfiles.size(), 1u);
}

// ---- deleting

class Delete : public MenuTest {
protected:
    // The tutorial holds one tip of the test's own while it runs.
    void SetUp() override
    {
        MenuTest::SetUp();
        remover = Singleton<MainMenuDeleteProfile>::get();
        tutorial = Singleton<Tutorial>::get();
        savedMessages = tutorial->messages;
        tutorial->messages = {&tip};
    }
    void TearDown() override
    {
        tutorial->messages = savedMessages;
        MenuTest::TearDown();
    }
    MainMenuDeleteProfile* remover = nullptr;
    Tutorial* tutorial = nullptr;
    TutMessage tip{-1, -1, 0, L"Pets", L"Your pets"};
    std::vector<TutMessage*> savedMessages;
};

TEST_F(Delete, TheOthersAreRenumberedAndTheStoredProfileAfterItForgotten)
{
    makeProfiles(4);
    storage->mOptions->mProfile = 3;
    storage->mOptions->save();
    Singleton<MainMenuChooseProfile>::get()->setSelected(1);
    menu->runCommand(L"deleteprofile");
    showFully(remover);
    EXPECT_EQ(remover->profile->mName, L"B");
    // B saw the tip.
    tutorial->playedBy(profilePath(2));
    tip.shown = 1;
    click(remover, remover->deleteButton);

    EXPECT_EQ(nameIn(profilePath(1)), L"A");
    EXPECT_EQ(nameIn(profilePath(2)), L"C");
    EXPECT_EQ(nameIn(profilePath(3)), L"D");
    EXPECT_FALSE(fs::exists(profilePath(4)));
    ASSERT_EQ(storage->mProfiles.size(), 3u);
    EXPECT_EQ(storage->mProfiles[1]->mName, L"C");
    EXPECT_EQ(storage->mOptions->mProfile, -1);
    EXPECT_NE(data.read("data/game/save.txt").find("[profile]\n-1"), std::string::npos);
    EXPECT_EQ(Singleton<MainMenuChooseProfile>::get()->getSelected(), -1);
    EXPECT_EQ(menu->currentMenu(), L"returnfromdeleteprofile");

    // C, moved to B's number, is another player; C and then D at number 3 see the tip. Both move
    // down when A is deleted and keep it.
    tutorial->playedBy(profilePath(2));
    EXPECT_EQ(tip.shown, 0);
    tip.shown = 1;
    tutorial->playedBy(profilePath(3));
    EXPECT_EQ(tip.shown, 0);
    tip.shown = 1;
    Singleton<MainMenuChooseProfile>::get()->setSelected(0);
    showFully(remover);
    click(remover, remover->deleteButton);
    ASSERT_EQ(nameIn(profilePath(1)), L"C");
    ASSERT_EQ(nameIn(profilePath(2)), L"D");
    tutorial->playedBy(profilePath(2));
    EXPECT_EQ(tip.shown, 1);
    tutorial->playedBy(profilePath(1));
    EXPECT_EQ(tip.shown, 1);
}

TEST_F(Delete, AStoredProfileBeforeItStaysAndCancelDeletesNothing)
{
    makeProfiles(3);
    storage->mOptions->mProfile = 0;
    Singleton<MainMenuChooseProfile>::get()->setSelected(2);
    showFully(remover);
    click(remover, remover->cancelButton);
    EXPECT_EQ(menu->currentMenu(), L"returnfromdeleteprofile");
    EXPECT_TRUE(fs::exists(profilePath(3)));

    // C saw the tip: a profile made at its number after it is deleted sees it anew.
    tutorial->playedBy(profilePath(3));
    tip.shown = 1;
    showFully(remover);
    click(remover, remover->deleteButton);
    EXPECT_FALSE(fs::exists(profilePath(3)));
    EXPECT_EQ(storage->mOptions->mProfile, 0);
    EXPECT_EQ(storage->mProfiles.size(), 2u);
    ASSERT_TRUE(Singleton<MainMenuCreateProfile>::get()->createProfile(L"C"));
    ASSERT_TRUE(fs::exists(profilePath(3)));
    tutorial->playedBy(profilePath(3));
    EXPECT_EQ(tip.shown, 0);
}

} // namespace

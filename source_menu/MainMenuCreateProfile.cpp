#include "source_menu/MainMenuCreateProfile.h"

#include "core/ControlMngr.h"
#include "game/DataStorage.h"
#include "game/Profiles.h"
#include "park/OnePerson.h"
#include "park/PublicManager.h"
#include "source_menu/Button.h"
#include "source_menu/MainMenuBand.h"
#include "source_menu/MainMenuChooseProfile.h"
#include "source_menu/MainMenuDeleteProfile.h"
#include "source_menu/MenuManager.h"
#include "source_menu/Popup.h"
#include "source_menu/Tutorial.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/utils/misc.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetEdit.h"
#include "toolkit/widgets/WidgetHelper.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <set>

namespace {

const char* const kDataFolder = "data/game/";
const char* const kProfilesFolder = "data/game/Profiles/";
const char* const kAvatarsFolder = "data/game/Profiles/Avatars/";
const char* const kAllowedChars = "data/characters.txt";
const int kReturnKey = 13;

// Tutorial values of a new profile: on, step 0, no pointer, no progress.
const int kNewTutorialSwitch = 1;
const int kNewTutorialStep = 0;
const int kNewPointerTarget = -1;

} // namespace

std::string newProfilePath(const std::string& folder, int profileCount)
{
    // Above every numbered file. The highest number has no successor: it is passed over, and
    // should the number found then be taken (the highest itself), the lowest free one is used.
    std::set<int> taken;
    int n = profileCount + 1;
    for (const std::wstring& name : listDirectory(folder, "*.txt")) {
        int number = 0;
        if (!profileNumber(name, number))
            continue;
        taken.insert(number);
        if (number < INT_MAX)
            n = std::max(n, number + 1);
    }
    if (taken.count(n))
        for (n = 1; taken.count(n);)
            ++n;
    char path[512];
    std::snprintf(path, sizeof(path), "%sprofile%d.txt", folder.c_str(), n);
    return path;
}

MainMenuCreateProfile::~MainMenuCreateProfile()
{
    delete previousButton;
    delete nextButton;
    delete createButton;
    delete cancelButton;
}

void MainMenuCreateProfile::init(const char* path)
{
    assignIfEmpty(name, nameFromPath(path));
    _MainMenuCreateProfile::init(path);
    previousButton = new Button(mHelper3, 11, 6);
    nextButton = new Button(mHelper2, 12, 6);
    createButton = new Button(mHelper1, 9, 9);
    createButton->setText(textsManager.get(L"create"));
    cancelButton = new Button(mHelper4, 9, 9);
    cancelButton->setText(textsManager.get(L"cancel"));
    mWidget3->loadAllowedChars(kAllowedChars);
    mWidget3->setPlaceholder(textsManager.get(L"entername"));
    avatarNames = listDirectory(kAvatarsFolder, "*.png");
    for (const std::wstring& file : avatarNames)
        avatarImages.push_back(requestImage(kAvatarsFolder + wideToString(file)));
}

void MainMenuCreateProfile::reset()
{
    _MainMenuCreateProfile::reset();
    avatarIndex = 0;
}

bool MainMenuCreateProfile::createProfile(const std::wstring& profileName)
{
    DataStorage* storage = Singleton<DataStorage>::get();
    const std::string path = newProfilePath(kProfilesFolder, static_cast<int>(storage->mProfiles.size()));
    // A fresh park from the data files, without the walkers of the park shown before.
    loadGameData(storage, kDataFolder);
    PublicManager* visitors = Singleton<PublicManager>::get();
    for (OnePerson* person : visitors->mWalkers) {
        if (visitors->mPickedPerson == person)
            visitors->mPickedPerson = nullptr;
        delete person;
    }
    visitors->mWalkers.clear();
    const std::wstring avatar = avatarNames.empty() ? std::wstring() : avatarNames[avatarIndex];
    WriteFailure failure = WriteFailure::None;
    if (!saveProfile(path, profileName, avatar, kNewTutorialSwitch, kNewTutorialStep, kNewPointerTarget, 0, 0, 0,
                     &failure)) {
        std::printf("MainMenuCreateProfile: the profile %s could not be written\n", path.c_str());
        storage->reportProfileFailure(failure, path);
        return false;
    }
    // A new player, though the file may take the name of one whose messages were seen.
    Singleton<Tutorial>::get()->forgetPlayer(path);
    storage->scanProfiles(kDataFolder);
    // The new file is found by its path: other files may sort after it.
    int index = -1;
    for (size_t i = 0; i < storage->mProfiles.size(); ++i)
        if (storage->mProfiles[i]->mPath == path)
            index = static_cast<int>(i);
    if (index < 0)
        return false;
    loadProfile(storage->mProfiles[index], 1);
    storage->scanProfiles(kDataFolder);
    Singleton<MainMenuChooseProfile>::get()->setSelected(index);
    MenuManager* menu = Singleton<MenuManager>::get();
    if (storage->mProfiles.size() == 1) {
        menu->runCommand(L"mainmenustart");
        storage->mCurrentProfile = 0;
    } else {
        menu->runCommand(L"returnfromcreate");
    }
    return true;
}

void MainMenuCreateProfile::update()
{
    if (!isEnabled())
        return;
    _MainMenuCreateProfile::update();
    // The entry steps twice per update on this screen: its cursor blinks at double speed.
    mWidget3->update();
    const std::pair<int, int> states = getShowStates();
    if (states.second == kShowAppearing && states.first == kShowHidden)
        Container::setVisible(1);
    if (states.second != kShowShown)
        return;
    // A profile that could not be made is told over this screen, which takes nothing meanwhile.
    Popup::showPlayerNotice();
    if (Singleton<Popup>::get()->isVisible())
        return;

    sDevice* keyboard = nullptr;
    ControlMngr* input = Singleton<ControlMngr>::get();
    if (!input->mKeyboardDevices.empty())
        keyboard = input->mKeyboardDevices[0];
    const bool returnHeld = keyboard && keyboard->isHeld(kReturnKey);
    if (!returnHeld)
        returnSpent = false;
    const std::wstring typed = mWidget3->getText();
    if (!typed.empty()) {
        const int clicked = createButton->isClicked(0.0f, 0.0f, 1);
        if (clicked || (returnHeld && !returnSpent)) {
            if (createProfile(typed))
                return;
            returnSpent = true;
        }
    }
    MenuManager* menu = Singleton<MenuManager>::get();
    if (!Singleton<DataStorage>::get()->mProfiles.empty() && cancelButton->isClicked(0.0f, 0.0f, 1))
        menu->runCommand(L"returnfromcreate");
    const int count = static_cast<int>(avatarNames.size());
    if (previousButton->isClicked(0.0f, 0.0f, 1) && count > 0)
        avatarIndex = avatarIndex - 1 < 0 ? count - 1 : avatarIndex - 1;
    if (nextButton->isClicked(0.0f, 0.0f, 1) && count > 0)
        avatarIndex = avatarIndex + 1 >= count ? 0 : avatarIndex + 1;
}

void MainMenuCreateProfile::draw()
{
    if (!isVisible())
        return;
    stretchOverBand(mWidget0);
    _MainMenuCreateProfile::draw();
    const float alpha = mWidget5->getColor().w;
    if (!mWidget3->getText().empty())
        createButton->draw(alpha, 0.0f, 0.0f, 1);
    if (!Singleton<DataStorage>::get()->mProfiles.empty())
        cancelButton->draw(alpha, 0.0f, 0.0f, 1);
    if (avatarIndex >= 0 && avatarIndex < static_cast<int>(avatarImages.size()) && avatarImages[avatarIndex]) {
        const float4 r = mHelper0->getRect();
        avatarImages[avatarIndex]->draw(r.x, r.y, r.z, r.w, 1.0f, 1.0f, 1.0f, alpha, 1);
    }
    previousButton->draw(alpha, 0.0f, 0.0f, 1);
    nextButton->draw(alpha, 0.0f, 0.0f, 1);
}

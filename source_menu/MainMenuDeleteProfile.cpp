#include "source_menu/MainMenuDeleteProfile.h"

#include "core/platform.h"
#include "game/DataStorage.h"
#include "game/GameOptions.h"
#include "game/Profiles.h"
#include "source_menu/Button.h"
#include "source_menu/MainMenuBand.h"
#include "source_menu/MainMenuChooseProfile.h"
#include "source_menu/MenuManager.h"
#include "source_menu/Tutorial.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/utils/misc.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetHelper.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cwctype>
#include <utility>
#include <vector>

namespace {

const char* const kDataFolder = "data/game/";
const char* const kProfilesFolder = "data/game/Profiles/";

} // namespace

// ---- profile numbers

bool profileNumber(const std::wstring& fileName, int& number)
{
    const std::wstring prefix = L"profile";
    const std::wstring suffix = L".txt";
    if (fileName.size() <= prefix.size() + suffix.size())
        return false;
    if (toLowerWide(fileName.substr(0, prefix.size())) != prefix
        || toLowerWide(fileName.substr(fileName.size() - suffix.size())) != suffix)
        return false;
    const std::wstring digits = fileName.substr(prefix.size(), fileName.size() - prefix.size() - suffix.size());
    long value = 0;
    for (wchar_t c : digits) {
        if (c < L'0' || c > L'9')
            return false;
        value = value * 10 + (c - L'0');
        if (value > INT_MAX)
            return false;
    }
    number = static_cast<int>(value);
    return true;
}

std::vector<std::pair<std::string, std::string>> renumberProfiles(const std::string& folder)
{
    // Numbered files by number (a stable sort keeps the listing order of equal numbers), then
    // the others.
    std::vector<std::pair<long long, std::wstring>> files;
    for (const std::wstring& name : listDirectory(folder, "*.txt")) {
        int number = 0;
        files.emplace_back(profileNumber(name, number) ? number : LLONG_MAX, name);
    }
    std::stable_sort(files.begin(), files.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::pair<std::string, std::string>> renamed;
    for (size_t k = 0; k < files.size(); ++k) {
        char target[64];
        std::snprintf(target, sizeof(target), "profile%d.txt", static_cast<int>(k + 1));
        const std::string from = folder + wideToString(files[k].second);
        const std::string to = folder + target;
        if (from == to)
            continue;
        if (file_exists(to.c_str())) {
            std::printf("Warning: %s not renamed, %s exists\n", from.c_str(), to.c_str());
            continue;
        }
        if (std::rename(from.c_str(), to.c_str()) != 0)
            std::printf("Warning: %s could not be renamed to %s\n", from.c_str(), to.c_str());
        else
            renamed.emplace_back(from, to);
    }
    return renamed;
}

// ---- the screen

MainMenuDeleteProfile::~MainMenuDeleteProfile()
{
    delete cancelButton;
    delete deleteButton;
}

void MainMenuDeleteProfile::init(const char* path)
{
    assignIfEmpty(name, nameFromPath(path));
    _MainMenuDeleteProfile::init(path);
    cancelButton = new Button(mHelper2, 9, 9);
    cancelButton->setText(textsManager.get(L"cancel"));
    deleteButton = new Button(mHelper1, 10, 9);
    deleteButton->setText(textsManager.get(L"delete"));
}

void MainMenuDeleteProfile::reset()
{
    _MainMenuDeleteProfile::reset();
    const std::vector<DataProfile*>& profiles = Singleton<DataStorage>::get()->mProfiles;
    const int selected = Singleton<MainMenuChooseProfile>::get()->getSelected();
    profile = selected >= 0 && selected < static_cast<int>(profiles.size()) ? profiles[selected] : nullptr;
}

void MainMenuDeleteProfile::deleteProfile()
{
    DataStorage* storage = Singleton<DataStorage>::get();
    const int selected = Singleton<MainMenuChooseProfile>::get()->getSelected();
    if (profile) {
        // The tutorial's messages seen stay with their player: forgotten with the deleted
        // profile, kept by one that only moves to another number.
        Tutorial* tutorial = Singleton<Tutorial>::get();
        if (std::remove(profile->mPath.c_str()) != 0)
            std::printf("Warning: the profile %s could not be removed\n", profile->mPath.c_str());
        else
            tutorial->forgetPlayer(profile->mPath);
        // Indexes at or after the deleted one name another profile now.
        GameOptions* options = storage->mOptions;
        if (options && options->mProfile >= selected) {
            options->mProfile = -1;
            storage->saveOptions();
        }
        if (storage->mCurrentProfile >= selected)
            storage->mCurrentProfile = -1;
        for (const std::pair<std::string, std::string>& rename : renumberProfiles(kProfilesFolder))
            tutorial->playerMoved(rename.first, rename.second);
        storage->scanProfiles(kDataFolder);
    }
    Singleton<MainMenuChooseProfile>::get()->setSelected(-1);
    Singleton<MenuManager>::get()->runCommand(L"returnfromdeleteprofile");
}

void MainMenuDeleteProfile::update()
{
    if (!isEnabled())
        return;
    _MainMenuDeleteProfile::update();
    const std::pair<int, int> states = getShowStates();
    if (states.second == kShowAppearing && states.first == kShowHidden)
        Container::setVisible(1);
    if (states.second != kShowShown)
        return;
    if (cancelButton->isClicked(0.0f, 0.0f, 1))
        Singleton<MenuManager>::get()->runCommand(L"returnfromdeleteprofile");
    if (deleteButton->isClicked(0.0f, 0.0f, 1))
        deleteProfile();
}

void MainMenuDeleteProfile::draw()
{
    if (!isVisible())
        return;
    stretchOverBand(mWidget0);
    _MainMenuDeleteProfile::draw();
    const float alpha = mWidget4->getColor().w;
    if (profile && profile->mAvatar) {
        const float4 r = mHelper0->getRect();
        profile->mAvatar->draw(r.x, r.y, r.z, r.w, 1.0f, 1.0f, 1.0f, alpha, 1);
    }
    cancelButton->draw(alpha, 0.0f, 0.0f, 1);
    deleteButton->draw(alpha, 0.0f, 0.0f, 1);
}

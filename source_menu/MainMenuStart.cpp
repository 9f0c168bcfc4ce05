#include "source_menu/MainMenuStart.h"

#include "game/DataStorage.h"
#include "game/Profiles.h"
#include "source_menu/Button.h"
#include "source_menu/MainMenuBand.h"
#include "source_menu/MenuManager.h"
#include "source_menu/Popup.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

namespace {

const char* const kDataFolder = "data/game/";
const int kButtonKind = 5;
const int kButtonStyle = 8;

struct MenuEntry {
    const wchar_t* label;
    const wchar_t* command;
};

// In the order of the helpers mHelper0 .. mHelper3.
const MenuEntry kEntries[] = {
    {L"playgame", L"gamestart"},
    {L"changeprofile", L"chooseprofile"},
    {L"options", L"options"},
    {L"exit", L"exit"},
};

} // namespace

MainMenuStart::~MainMenuStart()
{
    for (Button* button : buttons)
        delete button;
}

void MainMenuStart::init(const char* path)
{
    assignIfEmpty(name, nameFromPath(path));
    _MainMenuStart::init(path);
    WidgetHelper* places[] = {mHelper0, mHelper1, mHelper2, mHelper3};
    for (int i = 0; i < 4; ++i) {
        Button* button = new Button(places[i], kButtonKind, kButtonStyle);
        button->setText(textsManager.get(kEntries[i].label));
        buttons.push_back(button);
    }
}

void MainMenuStart::reset()
{
    _MainMenuStart::reset();
    DataStorage* storage = Singleton<DataStorage>::get();
    loadGameData(storage, kDataFolder);
    storage->scanProfiles(kDataFolder);
    storage->computePopularity();
    const int current = storage->mCurrentProfile;
    profile = current >= 0 && current < static_cast<int>(storage->mProfiles.size()) ? storage->mProfiles[current]
                                                                                       : nullptr;
    if (profile)
        loadProfile(profile, 0);
    // Shown before its layout was read (by the tests of other screens) it has no label to fill.
    if (mWidget2)
        mWidget2->setText(profile ? profile->mName : std::wstring(), 0, 1);
}

void MainMenuStart::update()
{
    if (!isEnabled())
        return;
    _MainMenuStart::update();
    // The options screen or the quit question lies over the menu.
    const std::wstring& menu = Singleton<MenuManager>::get()->currentMenu();
    if (menu == L"options" || menu == L"exit")
        return;
    const std::pair<int, int> states = getShowStates();
    if (states.second == kShowAppearing && states.first == kShowHidden)
        Container::setVisible(1);
    if (states.second != kShowShown)
        return;
    Popup::showPlayerNotice();
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (!buttons[i]->isClicked(0.0f, 0.0f, 1))
            continue;
        // Without a current profile there is no park to play.
        if (i == 0 && !profile)
            continue;
        Singleton<MenuManager>::get()->runCommand(kEntries[i].command);
    }
}

void MainMenuStart::draw()
{
    if (!isVisible())
        return;
    mWidget2->setVisible(0);
    stretchOverBand(mWidget0);
    _MainMenuStart::draw();
    const float alpha = mWidget3->getColor().w;
    if (profile && profile->mAvatar) {
        const float4 r = mHelper4->getRect();
        profile->mAvatar->draw(r.x, r.y, r.z, r.w, 1.0f, 1.0f, 1.0f, alpha, 1);
    }
    mWidget2->setVisible(1);
    mWidget2->draw();
    for (size_t i = 0; i < buttons.size(); ++i)
        if (i != 0 || profile)
            buttons[i]->draw(alpha, 0.0f, 0.0f, 1);
}

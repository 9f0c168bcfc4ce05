#include "source_menu/MainMenuChooseProfile.h"

#include "core/ControlMngr.h"
#include "game/DataStorage.h"
#include "game/Profiles.h"
#include "source_menu/Button.h"
#include "source_menu/MainMenuBand.h"
#include "source_menu/MenuManager.h"
#include "source_menu/Popup.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/utils/misc.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <algorithm>
#include <cmath>

namespace {

const int kStyle = 9;
const float kPhaseStep = 0.05f;
// The hover highlight pulses between these alphas.
const float kHoverAlpha = 0.4f;
const float kHoverPulse = 0.16f;

Button* makeButton(WidgetHelper* place, int kind, const wchar_t* label)
{
    Button* button = new Button(place, kind, kStyle);
    if (label)
        button->setText(textsManager.get(label));
    return button;
}

int profileCount()
{
    return static_cast<int>(Singleton<DataStorage>::get()->mProfiles.size());
}

} // namespace

MainMenuChooseProfile::~MainMenuChooseProfile()
{
    delete scrollUpButton;
    delete scrollDownButton;
    delete createButton;
    for (RowButtons& row : rowButtons) {
        delete row.select;
        delete row.remove;
    }
}

void MainMenuChooseProfile::init(const char* path)
{
    assignIfEmpty(name, nameFromPath(path));
    _MainMenuChooseProfile::init(path);
    scrollUpButton = makeButton(mHelper11, 11, nullptr);
    scrollDownButton = makeButton(mHelper10, 12, nullptr);
    createButton = makeButton(mHelper9, 6, L"createnewprofile");
    WidgetHelper* selectPlaces[kRows] = {mHelper4, mHelper6, mHelper8};
    WidgetHelper* deletePlaces[kRows] = {mHelper3, mHelper5, mHelper7};
    for (int r = 0; r < kRows; ++r) {
        rowButtons[r].select = makeButton(selectPlaces[r], 7, L"selectprofile");
        rowButtons[r].remove = makeButton(deletePlaces[r], 8, L"deleteprofile");
    }
    firstRow = 0;
    selected = -1;
}

WidgetHelper* MainMenuChooseProfile::rowArea(int row) const
{
    WidgetHelper* areas[kRows] = {mHelper2, mHelper1, mHelper0};
    return areas[row];
}

void MainMenuChooseProfile::setSelected(int index)
{
    selected = index;
    firstRow = std::max(index - 2, 0);
}

void MainMenuChooseProfile::reset()
{
    _MainMenuChooseProfile::reset();
    hoverRow = -1;
    phase = 0.0f;
    if (profileCount() == 1)
        selected = 0;
}

void MainMenuChooseProfile::update()
{
    if (!isEnabled())
        return;
    _MainMenuChooseProfile::update();
    const std::pair<int, int> states = getShowStates();
    if (states.second == kShowAppearing && states.first == kShowHidden)
        Container::setVisible(1);
    if (states.second == kShowShown) {
        // A profile refused for an unreadable file is told over this screen.
        Popup::showPlayerNotice();
        MenuManager* menu = Singleton<MenuManager>::get();
        ControlMngr* input = Singleton<ControlMngr>::get();
        DataStorage* storage = Singleton<DataStorage>::get();
        const int count = profileCount();
        hoverRow = -1;
        for (int r = 0; r < kRows && firstRow + r < count; ++r) {
            const int i = firstRow + r;
            const float4 area = rowArea(r)->getRect();
            const PointerPosition p = input->getPointer(-1);
            if (p.x > area.x && p.x < area.x + area.z && p.y > area.y && p.y < area.y + area.w) {
                hoverRow = i;
                if (input->isPointerDown())
                    selected = i;
            }
            if (i != selected)
                continue;
            if (rowButtons[r].select->isClicked(0.0f, 0.0f, 1)) {
                storage->mCurrentProfile = i;
                menu->runCommand(L"mainmenustart");
            }
            if (rowButtons[r].remove->isClicked(0.0f, 0.0f, 1))
                menu->runCommand(L"deleteprofile");
        }
        if (createButton->isClicked(0.0f, 0.0f, 1))
            menu->runCommand(L"createprofile");
        if (count > kRows) {
            if (scrollUpButton->isClicked(0.0f, 0.0f, 1))
                firstRow = std::max(firstRow - 1, 0);
            if (scrollDownButton->isClicked(0.0f, 0.0f, 1)) {
                ++firstRow;
                if (firstRow >= count - 2)
                    firstRow = count - 3;
            }
        }
    }
    phase += kPhaseStep;
}

void MainMenuChooseProfile::draw()
{
    if (!isVisible())
        return;
    WidgetLabel* names[kRows] = {mWidget2, mWidget3, mWidget4};
    mWidget1->setVisible(0);
    for (WidgetLabel* label : names)
        label->setVisible(0);
    stretchOverBand(mWidget0);
    _MainMenuChooseProfile::draw();
    mWidget1->setVisible(1);
    for (WidgetLabel* label : names)
        label->setVisible(1);

    createButton->draw(1.0f, 0.0f, 0.0f, 1);
    const float alpha = mWidget5->getColor().w;
    const std::vector<DataProfile*>& profiles = Singleton<DataStorage>::get()->mProfiles;
    const int count = static_cast<int>(profiles.size());
    for (int r = 0; r < kRows && firstRow + r < count; ++r) {
        const int i = firstRow + r;
        DataProfile* profile = profiles[i];
        const float4 area = rowArea(r)->getRect();
        if (profile->mAvatar)
            profile->mAvatar->draw(area.x, area.y, area.z, area.w, 1.0f, 1.0f, 1.0f, alpha, 1);
        MyImage* highlight = mWidget1->getImages().empty() ? nullptr : mWidget1->getImages()[0];
        if (i == selected) {
            mWidget1->setColor(1.0f, 1.0f, 1.0f, alpha);
            if (highlight)
                highlight->setRect(area.x, area.y, area.z, area.w);
            mWidget1->draw();
            rowButtons[r].select->draw(alpha, 0.0f, 0.0f, 1);
            rowButtons[r].remove->draw(alpha, 0.0f, 0.0f, 1);
        } else if (i == hoverRow) {
            mWidget1->setColor(1.0f, 1.0f, 1.0f, kHoverAlpha + kHoverPulse * std::sin(phase));
            if (highlight)
                highlight->setRect(area.x, area.y, area.z, area.w);
            mWidget1->draw();
        }
        names[r]->setColor(1.0f, 1.0f, 1.0f, alpha);
        // A file that cannot be read has no name: its file's is shown, so it can be told apart.
        const std::string& path = profile->mPath;
        const bool nameless = profile->mUnreadable && profile->mCopyFailure == CopyFailure::None;
        names[r]->setText(nameless ? stringToWide(path.substr(path.rfind('/') + 1)) : profile->mName, 0, 1);
        names[r]->draw();
    }
    if (count > kRows) {
        scrollUpButton->draw(alpha, 0.0f, 0.0f, 1);
        scrollDownButton->draw(alpha, 0.0f, 0.0f, 1);
    }
}

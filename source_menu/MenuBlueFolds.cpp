#include "source_menu/MenuBlueFolds.h"

#include "render/external/Sounds.h"
#include "source_menu/MenuDateBar.h"
#include "toolkit/widgets/WidgetButton.h"

#include <algorithm>

namespace {

// A step added in double precision and stored as a float.
float stepped(float value, double step)
{
    return static_cast<float>(value + step);
}

} // namespace

std::wstring MenuBlueFolds::kindWord(int tab)
{
    static const wchar_t* const words[5] = {L"Dog", L"Cat", L"Horse", L"Rabbit", L"Dino"};
    return tab >= 0 && tab < 5 ? words[tab] : L"";
}

std::wstring MenuBlueFolds::kindKey(int tab)
{
    static const wchar_t* const words[5] = {L"dog", L"cat", L"horse", L"rabbit", L"dino"};
    return tab >= 0 && tab < 5 ? words[tab] : L"";
}

void MenuBlueFolds::init(const char* path)
{
    _MenuBlueFolds::init(path);
    tabCount = 6;
}

void MenuBlueFolds::reset()
{
    _MenuBlueFolds::reset();
    std::fill(tabAlpha, tabAlpha + 6, 0.0f);
    switchTimer = 0;
    hoverTab = -1;
}

int MenuBlueFolds::takeTabChanged()
{
    const int changed = tabChanged;
    tabChanged = 0;
    return changed;
}

void MenuBlueFolds::onTab(int tab, int current)
{
    if (tab == kTabOther && tabCount <= 5)
        return;
    if (current == 3) {
        if (selectedTab != tab && switchTimer > 500) {
            switchTimer = 0;
            selectedTab = tab;
            tabChanged = 1;
            Singleton<Sounds>::get()->play("click");
        }
    } else if (current == 1) {
        hoverTab = tab;
    }
}

void MenuBlueFolds::update()
{
    const MenuDateBar* bar = Singleton<MenuDateBar>::get();
    if (!isEnabled() || bar->modal || bar->paused)
        return;
    hoverTab = -1;
    _MenuBlueFolds::update();

    const auto [previous, current] = getShowStates();
    if (current == kShowAppearing && previous == kShowHidden)
        Container::setVisible(1);
    const int count = std::min(tabCount, 6);
    for (int i = 0; i < count; ++i) {
        float& alpha = tabAlpha[i];
        if (current == kShowAppearing) {
            alpha = std::min(stepped(alpha, 0.04), 0.25f);
        } else if (current == kShowShown) {
            if (i == selectedTab) {
                alpha = std::min(stepped(alpha, 0.014), 1.0f);
            } else if (i == hoverTab) {
                alpha = std::max(std::min(stepped(alpha, 0.014), 0.5f), 0.25f);
            } else {
                alpha = std::max(stepped(alpha, -0.014), 0.25f);
            }
        } else if (current == kShowDisappearing) {
            alpha = std::max(stepped(alpha, -0.04), 0.0f);
        }
    }
    switchTimer += 10;
}

void MenuBlueFolds::draw()
{
    if (!isVisible())
        return;
    WidgetButton* tabs[5] = {mWidget0, mWidget1, mWidget2, mWidget3, mWidget4};
    for (int i = 0; i < 5; ++i)
        tabs[i]->setColor(1, 1, 1, tabAlpha[i]);
    if (tabCount == 6) {
        mWidget5->setVisible(1);
        mWidget5->setColor(1, 1, 1, tabAlpha[5]);
    } else {
        mWidget5->setVisible(0);
    }
    _MenuBlueFolds::draw();
}

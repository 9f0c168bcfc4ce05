#include "source_menu/MenuOrangeFolds.h"

#include "render/external/Sounds.h"
#include "source_menu/MenuDateBar.h"
#include "source_menu/MenuOrange.h"
#include "toolkit/widgets/WidgetButton.h"

#include <algorithm>

namespace {

const float kFadeStep = 0.014f;
const float kRestAlpha = 0.25f;
const float kHoverAlpha = 0.5f;
const int kStepMs = StepSchedule::kStepMs;

} // namespace

void MenuOrangeFolds::init(const char* path)
{
    _MenuOrangeFolds::init(path);
    tabCount = kTabs;
    switchTimer = 0;
}

void MenuOrangeFolds::reset()
{
    _MenuOrangeFolds::reset();
    std::fill(tabAlpha, tabAlpha + kTabs, kRestAlpha);
    switchTimer = 0;
    hoverTab = -1;
}

int MenuOrangeFolds::takeTabChanged()
{
    const int changed = tabChanged;
    tabChanged = 0;
    return changed;
}

void MenuOrangeFolds::onTab(int tab, int current)
{
    if (tab == kTabRanking && tabCount <= 4)
        return;
    if (current == kLayerReleased) {
        if (selectedTab != tab && switchTimer > MenuOrange::kSwitchMs) {
            switchTimer = 0;
            selectedTab = tab;
            tabChanged = 1;
            Singleton<Sounds>::get()->play("click");
        }
    } else if (current == kLayerOver) {
        hoverTab = tab;
    }
}

void MenuOrangeFolds::update()
{
    const MenuDateBar* bar = Singleton<MenuDateBar>::get();
    if (!isEnabled() || bar->modal || bar->paused)
        return;
    hoverTab = -1;
    _MenuOrangeFolds::update();
    const std::pair<int, int> states = getShowStates();
    if (states.second == kShowAppearing && states.first == kShowHidden)
        Container::setVisible(1);
    if (states.second != kShowShown)
        return;
    const int count = std::min(tabCount, static_cast<int>(kTabs));
    for (int i = 0; i < count; ++i) {
        float& alpha = tabAlpha[i];
        if (i == selectedTab)
            alpha = std::min(alpha + kFadeStep, 1.0f);
        else if (i == hoverTab)
            alpha = std::max(std::min(alpha + kFadeStep, kHoverAlpha), kRestAlpha);
        else
            alpha = std::max(alpha - kFadeStep, kRestAlpha);
    }
    switchTimer += kStepMs;
}

void MenuOrangeFolds::draw()
{
    if (!isVisible() || !mWidget0)
        return;
    WidgetButton* tabs[kTabs] = {mWidget0, mWidget1, mWidget2, mWidget3, mWidget4};
    for (int i = 0; i < kTabs; ++i)
        tabs[i]->setColor(1, 1, 1, tabAlpha[i]);
    _MenuOrangeFolds::draw();
}

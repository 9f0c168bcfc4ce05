#include "source_menu/MenuOrange.h"

#include "source_menu/MenuAchievements.h"
#include "source_menu/MenuBank.h"
#include "source_menu/MenuDateBar.h"
#include "source_menu/MenuOrangeFolds.h"
#include "source_menu/MenuRanking.h"
#include "source_menu/MenuStatistics.h"
#include "source_menu/MenuTickets.h"

namespace {

const char* const kTransition = "game";
const int kStepMs = StepSchedule::kStepMs;

} // namespace

Container* MenuOrange::screenOf(int tab)
{
    switch (tab) {
    case kTabTickets:
        return Singleton<MenuTickets>::get();
    case kTabBank:
        return Singleton<MenuBank>::get();
    case kTabStatistics:
        return Singleton<MenuStatistics>::get();
    case kTabAchievements:
        return Singleton<MenuAchievements>::get();
    case kTabRanking:
        return Singleton<MenuRanking>::get();
    default:
        return nullptr;
    }
}

bool MenuOrange::allScreensHidden()
{
    for (int tab = 0; tab < MenuOrangeFolds::kTabs; ++tab)
        if (screenOf(tab)->getShowStates().second != kShowHidden)
            return false;
    return true;
}

void MenuOrange::init(const char* path)
{
    _MenuOrange::init(path);
    pendingTab = -1;
    Singleton<MenuOrangeFolds>::get()->setTab(kTabTickets);
    requestedTab = kTabTickets;
}

void MenuOrange::reset()
{
    _MenuOrange::reset();
    switchTimer = 0;
    MenuOrangeFolds* strip = Singleton<MenuOrangeFolds>::get();
    strip->reset();
    strip->setTab(requestedTab);
    strip->setTabCount(MenuOrangeFolds::kTabs);
    prevTab = curTab = strip->getTab();
    // A screen already appearing or shown is left as it is.
    if (Container* screen = screenOf(requestedTab)) {
        const int state = screen->getShowStates().second;
        if (state == kShowHidden || state == kShowDisappearing)
            screen->setStateAll(kTransition, kShowShown, kTransitionMs);
    }
}

void MenuOrange::update()
{
    const MenuDateBar* bar = Singleton<MenuDateBar>::get();
    if (!isEnabled() || bar->modal || bar->paused)
        return;
    _MenuOrange::update();
    const std::pair<int, int> states = getShowStates();
    if (states.second == kShowAppearing && states.first == kShowHidden)
        Container::setVisible(1);
    if (states.second != kShowShown || switchTimer <= kSwitchMs) {
        switchTimer += kStepMs;
        return;
    }
    MenuOrangeFolds* strip = Singleton<MenuOrangeFolds>::get();
    prevTab = curTab;
    curTab = strip->getTab();
    if (strip->takeTabChanged()) {
        pendingTab = curTab;
        if (Container* old = screenOf(prevTab)) {
            const int state = old->getShowStates().second;
            if (state == kShowShown || state == kShowAppearing)
                old->setStateAll(kTransition, kShowHidden, kTransitionMs);
        }
    }
    // The frame never stands empty: a screen hidden from outside (the router hides every panel
    // but the frame when "finances" comes again while it is open) comes back.
    if (pendingTab < 0 && allScreensHidden())
        pendingTab = curTab;
    if (pendingTab >= 0 && allScreensHidden()) {
        if (Container* next = screenOf(pendingTab))
            next->setStateAll(kTransition, kShowShown, kTransitionMs);
        switchTimer = 0;
        pendingTab = -1;
    }
    switchTimer += kStepMs;
}

void MenuOrange::draw()
{
    if (isVisible())
        _MenuOrange::draw();
}

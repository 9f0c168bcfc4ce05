#include "source_menu/KindFrame.h"

#include "core/Singleton.h"
#include "render/external/Sounds.h"
#include "source_menu/MenuBlueFolds.h"
#include "source_menu/MenuDateBar.h"
#include "source_menu/MenuManager.h"

namespace {

const int kShowMs = kTransitionMs;

} // namespace

std::wstring KindFrame::kindWord(int tab)
{
    return MenuBlueFolds::kindWord(tab);
}

bool KindFrame::isHeld(const Container& frame)
{
    const MenuDateBar* bar = Singleton<MenuDateBar>::get();
    return !frame.isEnabled() || bar->modal || bar->paused;
}

bool KindFrame::isShownAfterUpdate(Container& frame)
{
    const std::pair<int, int> states = frame.getShowStates();
    if (states.second == kShowAppearing) {
        if (states.first == kShowHidden)
            frame.Container::setVisible(1);
        return false;
    }
    return states.second == kShowShown;
}

void KindFrame::closeOnRelease(int current)
{
    if (current != 3)
        return;
    Singleton<MenuManager>::get()->closeAllPanels();
    Singleton<Sounds>::get()->play("exit");
}

void KindFrame::showPanel(Container* panel)
{
    panel->setStateAll("game", kShowShown, kShowMs);
}

void KindFrame::hidePanel(Container* panel, int ms)
{
    panel->setStateAll("game", kShowHidden, ms);
}

bool KindFrame::isHidden(const Container* panel)
{
    return panel->getShowStates().second == kShowHidden;
}

void KindFrame::followTab()
{
    MenuBlueFolds* strip = Singleton<MenuBlueFolds>::get();
    prevTab = curTab;
    curTab = strip->getTab();
    if (strip->takeTabChanged()) {
        pendingTab = curTab;
        hidePanelOf(prevTab);
    }
    if (pendingTab >= 0 && allPanelsHidden()) {
        showPanelOf(pendingTab);
        pendingTab = -1;
    }
}

void KindFrame::takeTabAtReset()
{
    MenuBlueFolds* strip = Singleton<MenuBlueFolds>::get();
    strip->reset();
    prevTab = curTab = strip->getTab();
}

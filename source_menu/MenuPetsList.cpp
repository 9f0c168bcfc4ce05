#include "source_menu/MenuPetsList.h"

#include "source_menu/MenuBlueFolds.h"
#include "source_menu/MenuPetsList1.h"
#include "source_menu/Tutorial.h"
#include "toolkit/widgets/WidgetLabel.h"

namespace {

const int kHideMs = kTransitionMs;
const int kKindTabs = 5;

} // namespace

void MenuPetsList::init(const char* path)
{
    _MenuPetsList::init(path);
    pendingTab = -1;
}

// The panel reads the selected tab itself at its reset, so the frame hands it no word here.
void MenuPetsList::reset()
{
    _MenuPetsList::reset();
    Singleton<MenuBlueFolds>::get()->setTabCount(kKindTabs);
    takeTabAtReset();
    showPanel(Singleton<MenuPetsList1>::get());
}

void MenuPetsList::update()
{
    if (isHeld(*this))
        return;
    _MenuPetsList::update();
    if (!isShownAfterUpdate(*this))
        return;
    // Asked at every full appearance; the tutorial shows each message once.
    if (getShowStates().first == kShowAppearing)
        Singleton<Tutorial>::get()->showMessage(-1);
    followTab();
}

void MenuPetsList::draw()
{
    if (!isVisible())
        return;
    mWidget2->mWrap = 0;
    _MenuPetsList::draw();
}

void MenuPetsList::onWidget1(int, int current)
{
    closeOnRelease(current);
}

void MenuPetsList::hidePanelOf(int)
{
    hidePanel(Singleton<MenuPetsList1>::get(), kHideMs);
}

bool MenuPetsList::allPanelsHidden() const
{
    return isHidden(Singleton<MenuPetsList1>::get());
}

// Tab 5 (only selectable on the buildings screens) shows the panel with its kind unchanged.
void MenuPetsList::showPanelOf(int tab)
{
    MenuPetsList1* panel = Singleton<MenuPetsList1>::get();
    if (tab >= 0 && tab < kKindTabs)
        panel->setKind(kindWord(tab));
    showPanel(panel);
}

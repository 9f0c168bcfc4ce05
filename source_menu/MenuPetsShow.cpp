#include "source_menu/MenuPetsShow.h"

#include "source_menu/MenuBlueFolds.h"
#include "source_menu/MenuPetsShow1.h"
#include "source_menu/Tutorial.h"
#include "toolkit/widgets/WidgetLabel.h"

namespace {

const int kHideMs = kTransitionMs;
const int kKindTabs = 5;

} // namespace

void MenuPetsShow::init(const char* path)
{
    _MenuPetsShow::init(path);
    pendingTab = -1;
}

// The panel has no reading of the strip of its own: it works with the word handed here.
void MenuPetsShow::reset()
{
    _MenuPetsShow::reset();
    Singleton<MenuBlueFolds>::get()->setTabCount(kKindTabs);
    takeTabAtReset();
    showPanelOf(curTab);
}

void MenuPetsShow::update()
{
    if (isHeld(*this))
        return;
    _MenuPetsShow::update();
    if (!isShownAfterUpdate(*this))
        return;
    // Asked at every full appearance; the tutorial shows each message once.
    if (getShowStates().first == kShowAppearing)
        Singleton<Tutorial>::get()->showMessage(-2);
    followTab();
}

void MenuPetsShow::draw()
{
    if (!isVisible())
        return;
    mWidget2->mWrap = 0;
    _MenuPetsShow::draw();
}

void MenuPetsShow::onWidget1(int, int current)
{
    closeOnRelease(current);
}

void MenuPetsShow::hidePanelOf(int)
{
    hidePanel(Singleton<MenuPetsShow1>::get(), kHideMs);
}

bool MenuPetsShow::allPanelsHidden() const
{
    return isHidden(Singleton<MenuPetsShow1>::get());
}

// Tab 5 (only selectable on the buildings screens) shows the panel with its kind unchanged.
void MenuPetsShow::showPanelOf(int tab)
{
    MenuPetsShow1* panel = Singleton<MenuPetsShow1>::get();
    if (tab >= 0 && tab < kKindTabs)
        panel->setKind(kindWord(tab));
    showPanel(panel);
}

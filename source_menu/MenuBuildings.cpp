#include "source_menu/MenuBuildings.h"

#include "source_menu/MenuBuildings1.h"
#include "source_menu/MenuBuildings2.h"
#include "toolkit/widgets/WidgetLabel.h"

namespace {

const int kHideMs = kTransitionMs;
const int kOtherTab = 5;

} // namespace

void MenuBuildings::init(const char* path)
{
    _MenuBuildings::init(path);
    pendingTab = -1;
}

void MenuBuildings::reset()
{
    _MenuBuildings::reset();
    takeTabAtReset();
    showPanelOf(curTab);
}

void MenuBuildings::update()
{
    if (isHeld(*this))
        return;
    _MenuBuildings::update();
    if (!isShownAfterUpdate(*this))
        return;
    followTab();
}

void MenuBuildings::draw()
{
    if (!isVisible())
        return;
    mWidget1->mWrap = 0;
    _MenuBuildings::draw();
}

void MenuBuildings::onWidget2(int, int current)
{
    closeOnRelease(current);
}

void MenuBuildings::hidePanelOf(int tab)
{
    if (tab == kOtherTab)
        hidePanel(Singleton<MenuBuildings2>::get(), kHideMs);
    else
        hidePanel(Singleton<MenuBuildings1>::get(), kHideMs);
}

bool MenuBuildings::allPanelsHidden() const
{
    return isHidden(Singleton<MenuBuildings1>::get()) && isHidden(Singleton<MenuBuildings2>::get());
}

void MenuBuildings::showPanelOf(int tab)
{
    if (tab == kOtherTab) {
        showPanel(Singleton<MenuBuildings2>::get());
        return;
    }
    MenuBuildings1* panel = Singleton<MenuBuildings1>::get();
    panel->setKind(kindWord(tab));
    showPanel(panel);
}

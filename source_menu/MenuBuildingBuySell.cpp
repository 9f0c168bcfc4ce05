#include "source_menu/MenuBuildingBuySell.h"

#include "source_menu/MenuBuildingBuySell1.h"
#include "source_menu/MenuBuildingBuySell2.h"
#include "toolkit/widgets/WidgetLabel.h"

namespace {

const int kHideMs = 50;
const int kOtherTab = 5;

} // namespace

void MenuBuildingBuySell::init(const char* path)
{
    _MenuBuildingBuySell::init(path);
    pendingTab = -1;
}

void MenuBuildingBuySell::reset()
{
    _MenuBuildingBuySell::reset();
    takeTabAtReset();
    showPanelOf(curTab);
}

void MenuBuildingBuySell::update()
{
    if (isHeld(*this))
        return;
    _MenuBuildingBuySell::update();
    if (!isShownAfterUpdate(*this))
        return;
    followTab();
}

void MenuBuildingBuySell::draw()
{
    if (!isVisible())
        return;
    mWidget2->mWrap = 0;
    _MenuBuildingBuySell::draw();
}

void MenuBuildingBuySell::onWidget1(int, int current)
{
    closeOnRelease(current);
}

void MenuBuildingBuySell::hidePanelOf(int tab)
{
    if (tab == kOtherTab)
        hidePanel(Singleton<MenuBuildingBuySell2>::get(), kHideMs);
    else
        hidePanel(Singleton<MenuBuildingBuySell1>::get(), kHideMs);
}

bool MenuBuildingBuySell::allPanelsHidden() const
{
    return isHidden(Singleton<MenuBuildingBuySell1>::get()) && isHidden(Singleton<MenuBuildingBuySell2>::get());
}

void MenuBuildingBuySell::showPanelOf(int tab)
{
    if (tab == kOtherTab) {
        showPanel(Singleton<MenuBuildingBuySell2>::get());
        return;
    }
    MenuBuildingBuySell1* panel = Singleton<MenuBuildingBuySell1>::get();
    panel->setKind(kindWord(tab));
    showPanel(panel);
}

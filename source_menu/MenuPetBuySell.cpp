#include "source_menu/MenuPetBuySell.h"

#include "game/DataAnimal.h"
#include "game/DataBuilding.h"
#include "game/DataStorage.h"
#include "source_menu/MenuBlueFolds.h"
#include "source_menu/MenuPetBuySell1.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <cwchar>

namespace {

const int kHideMs = kTransitionMs;
const int kKindTabs = 5;

} // namespace

// The strip's selected tab starts here, at loading.
void MenuPetBuySell::init(const char* path)
{
    _MenuPetBuySell::init(path);
    pendingTab = -1;
    Singleton<MenuPetBuySell1>::get()->setKind(L"Dog");
    Singleton<MenuBlueFolds>::get()->setTab(kTabDog);
}

// The panel reads the selected tab itself at its reset, so the frame hands it no word here.
void MenuPetBuySell::reset()
{
    _MenuPetBuySell::reset();
    Singleton<MenuBlueFolds>::get()->setTabCount(kKindTabs);
    takeTabAtReset();
    showPanel(Singleton<MenuPetBuySell1>::get());
}

void MenuPetBuySell::update()
{
    if (isHeld(*this))
        return;
    _MenuPetBuySell::update();
    if (!isShownAfterUpdate(*this))
        return;
    followTab();
}

void MenuPetBuySell::draw()
{
    if (!isVisible())
        return;
    mWidget12->mWrap = 0;
    _MenuPetBuySell::draw();
}

void MenuPetBuySell::onWidget11(int, int current)
{
    closeOnRelease(current);
}

void MenuPetBuySell::hidePanelOf(int)
{
    hidePanel(Singleton<MenuPetBuySell1>::get(), kHideMs);
}

bool MenuPetBuySell::allPanelsHidden() const
{
    return isHidden(Singleton<MenuPetBuySell1>::get());
}

// The offers exist per animal kind only: tab 5 shows nothing.
void MenuPetBuySell::showPanelOf(int tab)
{
    if (tab < 0 || tab >= kKindTabs)
        return;
    MenuPetBuySell1* panel = Singleton<MenuPetBuySell1>::get();
    panel->setKind(kindWord(tab));
    showPanel(panel);
}

// Each building of a kind gives one place; the count shows animals before places.
void MenuPetBuySell::refreshParcels()
{
    struct Row {
        const wchar_t* kind;
        const wchar_t* nameKey;
        WidgetLabel* name;
        WidgetLabel* count;
    };
    const Row rows[5] = {{L"dog", L"dogparcell", mWidget1, mWidget6},
                         {L"cat", L"catparcell", mWidget2, mWidget7},
                         {L"dino", L"dinoparcell", mWidget3, mWidget8},
                         {L"rabbit", L"rabbitparcell", mWidget4, mWidget9},
                         {L"horse", L"horseparcell", mWidget5, mWidget10}};
    const DataStorage* storage = Singleton<DataStorage>::get();
    for (const Row& row : rows) {
        if (!row.name || !row.count)
            return;
        int buildings = 0;
        for (const DataBuilding* building : storage->mParkBuildings)
            buildings += building->mType == row.kind;
        int animals = 0;
        for (const DataAnimal* animal : storage->mParkAnimals)
            animals += animal->mType == row.kind;
        wchar_t text[100];
        std::swprintf(text, 100, L"%ls:", textsManager.get(row.nameKey));
        row.name->setText(text, 0, 1);
        std::swprintf(text, 100, L"%d/%d", animals, buildings);
        row.count->setText(text, 0, 1);
    }
}

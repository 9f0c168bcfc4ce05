#include "source_menu/MenuBuildings1.h"

#include "game/DataBuilding.h"
#include "game/DataStorage.h"
#include "render/external/Sounds.h"
#include "source_menu/BuildingCards.h"
#include "source_menu/Button.h"
#include "source_menu/MenuBlueFolds.h"
#include "source_menu/MenuDateBar.h"
#include "source_menu/MenuManager.h"
#include "source_menu/Progress.h"
#include "source_menu/Tutorial.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

using namespace BuildingCards;

namespace {

const int kFullLevel = 7;

} // namespace

void MenuBuildings1::init(const char* path)
{
    _MenuBuildings1::init(path);
    for (int i = 0; i < kCards; ++i) {
        mCleannessGauges.push_back(new Progress(mHelpers3[i]));
        mConditionGauges.push_back(new Progress(mHelpers4[i]));
        mCleanButtons.push_back(new Button(mHelpers0[i], 0, 6));
        mRepairButtons.push_back(new Button(mHelpers1[i], 0, 6));
    }
}

void MenuBuildings1::reset()
{
    _MenuBuildings1::reset();
    const std::wstring kind = MenuBlueFolds::kindKey(Singleton<MenuBlueFolds>::get()->getTab());
    if (!kind.empty())
        mKind = kind;
    DataStorage* storage = Singleton<DataStorage>::get();
    mCleaningService = storage->findParkBuilding("OtherBuilding1.txt");
    mWorkshop = storage->findParkBuilding("OtherBuilding2.txt");
    for (int& time : mHoverTime)
        time = 0;
    // Each definition the park owns is shown through the park's own record: a loaded park holds
    // records of its own, with the levels and orders the saved game gave them.
    mBuildings = storage->buildingDefinitionsOfKind(mKind);
    for (DataBuilding*& building : mBuildings)
        if (DataBuilding* owned = parkBuildingOf(building))
            building = owned;
    if (mBuildings.size() > static_cast<size_t>(kCards))
        mBuildings.resize(kCards);
}

void MenuBuildings1::update()
{
    const MenuDateBar* bar = Singleton<MenuDateBar>::get();
    if (!isEnabled() || bar->paused || bar->modal)
        return;
    _MenuBuildings1::update();
    const std::pair<int, int> states = getShowStates();
    if (states.second == kShowAppearing && states.first == kShowHidden)
        Container::setVisible(1);
    if (states.second != kShowShown || mCleanButtons.empty())
        return;
    if (states.first == kShowAppearing) {
        Singleton<Tutorial>::get()->showMessage(-6);
        if (getShowStates().second != kShowShown)
            return;
    }
    for (size_t i = 0; i < mBuildings.size(); ++i) {
        DataBuilding* building = mBuildings[i];
        // An unowned building's buttons are not drawn: their clicks order nothing.
        const int owned = isOwned(building) ? 1 : 0;
        if (mCleanButtons[i]->isClicked(0, 0, owned) && owned && building->mCleaning == 0
            && building->mCleanness < kFullLevel) {
            building->orderCleaning();
            reset();
        }
        if (mRepairButtons[i]->isClicked(0, 0, owned) && owned && building->mRepairing == 0
            && building->mCondition < kFullLevel) {
            building->orderRepair();
            reset();
        }
    }
    countHover(mHoverTime);
}

void MenuBuildings1::draw()
{
    if (!isVisible() || mCleanButtons.empty())
        return;
    for (auto* list : {&mLabels0, &mLabels1, &mLabels2, &mLabels3, &mLabels4})
        for (WidgetLabel* label : *list)
            label->setVisible(0);
    for (size_t i = 0; i < mBuildings.size(); ++i) {
        const DataBuilding* building = mBuildings[i];
        const float a = alphaOf(mLabels4[i]);
        const bool owned = isOwned(building);
        if (owned)
            fillCare(building, mCleannessGauges[i], mConditionGauges[i], mCleanButtons[i], mRepairButtons[i],
                     mCleaningService, mWorkshop);
        mLabels4[i]->setText(building->mName, 0, 1);
        mLabels2[i]->setText(L"maintenancecost", 1, 1);
        mLabels3[i]->setText(maintenanceLine(building->mMaintenance), 0, 1);
        mLabels0[i]->setText(L"cleanness", 1, 1);
        mLabels1[i]->setText(L"condition", 1, 1);
        mLabels4[i]->setVisible(1);
        if (owned) {
            for (auto* list : {&mLabels0, &mLabels1, &mLabels2, &mLabels3})
                (*list)[i]->setVisible(1);
            mCleannessGauges[i]->draw(a, 0, 0);
            mConditionGauges[i]->draw(a, 0, 0);
            mCleanButtons[i]->draw(a, 0, 0, 1);
            mRepairButtons[i]->draw(a, 0, 0, 1);
            drawIcon(building->mIcon, mHelpers2[i], a);
        } else {
            drawIcon(building->mIconGreyed, mHelpers2[i], a);
        }
    }
    _MenuBuildings1::draw();
    handDescription(mBuildings, 0, mHoverTime);
}

void MenuBuildings1::onClose(int, int current)
{
    if (current != 3)
        return;
    Singleton<MenuManager>::get()->closeAllPanels();
    Singleton<Sounds>::get()->play("exit");
}

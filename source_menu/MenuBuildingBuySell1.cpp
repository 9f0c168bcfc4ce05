#include "source_menu/MenuBuildingBuySell1.h"

#include "core/ControlMngr.h"
#include "game/DataBuilding.h"
#include "game/DataStorage.h"
#include "game/MonthBalance.h"
#include "park/GameBackground3D.h"
#include "park/GameCamera.h"
#include "render/external/Sounds.h"
#include "source_menu/BuildingCards.h"
#include "source_menu/Button.h"
#include "source_menu/MenuBlueFolds.h"
#include "source_menu/MenuDateBar.h"
#include "source_menu/MenuManager.h"
#include "source_menu/Popup.h"
#include "source_menu/Tutorial.h"
#include "toolkit/utils/misc.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

using namespace BuildingCards;

void MenuBuildingBuySell1::init(const char* path)
{
    _MenuBuildingBuySell1::init(path);
    for (int i = 0; i < kCards; ++i) {
        mBuyButtons.push_back(new Button(mHelpers0[i], 3, 6));
        mSellButtons.push_back(new Button(mHelpers1[i], 4, 6));
    }
}

void MenuBuildingBuySell1::reset()
{
    _MenuBuildingBuySell1::reset();
    mClickLatch = 0;
    const std::wstring kind = MenuBlueFolds::kindKey(Singleton<MenuBlueFolds>::get()->getTab());
    if (!kind.empty())
        mKind = kind;
    for (int& time : mHoverTime)
        time = 0;
    DataStorage* storage = Singleton<DataStorage>::get();
    mBuildings = storage->buildingDefinitionsOfKind(mKind);
    // The panel has three cards: a kind holds at most three definitions.
    if (mBuildings.size() > static_cast<size_t>(kCards))
        mBuildings.resize(kCards);
    for (DataBuilding* building : mBuildings)
        building->mRequirementsMet = storage->checkRequirements(building->mRequirements, &building->mRequirementsText);
}

void MenuBuildingBuySell1::update()
{
    const MenuDateBar* bar = Singleton<MenuDateBar>::get();
    if (!isEnabled() || bar->paused || bar->modal)
        return;
    _MenuBuildingBuySell1::update();
    const std::pair<int, int> states = getShowStates();
    if (states.second == kShowAppearing && states.first == kShowHidden)
        Container::setVisible(1);
    if (states.second == kShowShown && !mBuyButtons.empty()) {
        if (!Singleton<ControlMngr>::get()->isPointerDown())
            mClickLatch = 0;
        bool owned[kCards] = {};
        for (size_t i = 0; i < mBuildings.size(); ++i)
            owned[i] = isOwned(mBuildings[i]);
        for (size_t i = 0; i < mBuildings.size(); ++i)
            countHover(mHoverTime);
        for (size_t i = 0; i < mBuildings.size(); ++i) {
            // Ownership is by name on every card, so an owned record is never bought twice.
            const int buyClick = mBuyButtons[i]->isClicked(0, 0, 0);
            if (buyClick && !owned[i] && mBuildings[i]->mRequirementsMet && mClickLatch == 0) {
                if (buy(static_cast<int>(i)))
                    break;
            }
            const int sellClick = mSellButtons[i]->isClicked(0, 0, 1);
            bool lastOwned = owned[i];
            for (size_t later = i + 1; later < mBuildings.size(); ++later)
                lastOwned = lastOwned && !owned[later];
            if (sellClick && lastOwned)
                sell(static_cast<int>(i));
        }
    }
    setOffset(0.25f, 0.0f);
}

bool MenuBuildingBuySell1::buy(int i)
{
    if (!buyBuilding(mBuildings[i])) {
        if (mClickLatch == 0) {
            Singleton<Sounds>::get()->play("wrong_click");
            mClickLatch = 1;
        }
        return false;
    }
    reset();
    Singleton<Sounds>::get()->play("buy");
    Singleton<Tutorial>::get()->buildingBought = 1;
    return true;
}

void MenuBuildingBuySell1::sell(int i)
{
    DataStorage* storage = Singleton<DataStorage>::get();
    DataBuilding* building = mBuildings[i];
    const int entry = parkIndexOf(building);
    if (entry < 0)
        return;
    if (storage->isPlaceTaken(building->mType, building->mLevelNum)) {
        Popup* popup = Singleton<Popup>::get();
        popup->setMode(0, 0);
        popup->setTitle(text(L"problem"));
        popup->setText(text(L"SellAnimalBefore"));
        popup->setResult(nullptr);
        Singleton<MenuManager>::get()->runCommand(L"popupstart");
    } else {
        storage->sellBuilding(building, entry);
    }
    reset();
}

void MenuBuildingBuySell1::draw()
{
    if (!isVisible() || mBuyButtons.empty())
        return;
    bool shownOwned[kCards] = {};
    for (int i = 0; i < kCards; ++i) {
        if (i >= static_cast<int>(mBuildings.size())) {
            for (auto* list : {&mLabels0, &mLabels1, &mLabels2, &mLabels3, &mLabels4})
                (*list)[i]->setVisible(0);
            continue;
        }
        const DataBuilding* building = mBuildings[i];
        const float a = alphaOf(mLabels0[i]);
        shownOwned[i] = isOwned(building) && building->mRequirementsMet;
        mLabels0[i]->setVisible(1);
        mLabels0[i]->setText(building->mName, 0, 1);
        mBuyButtons[i]->setText(text(L"buy"));
        mSellButtons[i]->setText(text(L"sell"));
        if (shownOwned[i]) {
            mLabels4[i]->setVisible(1);
            mLabels4[i]->setText(costLine(building->mSaleValue), 0, 1);
            mLabels1[i]->setVisible(0);
        } else {
            fillPriceLines(building, mLabels4[i], mLabels1[i], a);
        }
        mLabels2[i]->setVisible(1);
        mLabels2[i]->setText(L"maintenancecost", 1, 1);
        mLabels3[i]->setVisible(1);
        mLabels3[i]->setText(maintenanceLine(building->mMaintenance), 0, 1);
    }
    _MenuBuildingBuySell1::draw();
    for (size_t i = 0; i < mBuildings.size(); ++i) {
        const DataBuilding* building = mBuildings[i];
        const float a = alphaOf(mLabels0[i]);
        if (shownOwned[i]) {
            drawIcon(building->mIcon, mHelpers2[i], a);
            mSellButtons[i]->draw(a, 0, 0, 1);
        } else {
            drawIcon(building->mIconGreyed, mHelpers2[i], a);
            if (building->mRequirementsMet)
                mBuyButtons[i]->draw(a, 0, 0, 1);
        }
    }
    handDescription(mBuildings, 0, mHoverTime);
}

void MenuBuildingBuySell1::onClose(int, int current)
{
    if (current != 3)
        return;
    Singleton<MenuManager>::get()->closeAllPanels();
    Singleton<Sounds>::get()->play("exit");
}

#include "source_menu/MenuBuildingBuySell2.h"

#include "core/ControlMngr.h"
#include "game/DataBuilding.h"
#include "game/DataStorage.h"
#include "game/MonthBalance.h"
#include "park/GameBackground3D.h"
#include "park/GameCamera.h"
#include "park/PublicManager.h"
#include "render/external/Sounds.h"
#include "source_menu/BuildingCards.h"
#include "source_menu/Button.h"
#include "source_menu/MenuDateBar.h"
#include "source_menu/MenuManager.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/utils/misc.h"
#include "toolkit/widgets/WidgetButton.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <algorithm>

using namespace BuildingCards;

namespace {

bool isCarPark(const DataBuilding* building)
{
    return building->hasFileName("OtherParking1.txt") || building->hasFileName("OtherParking2.txt");
}

float firstImageWidth(WidgetBase* widget)
{
    const std::vector<MyImage*>& images = widget->getImages();
    return images.empty() ? 0.0f : images[0]->getRect().z;
}

void play(const char* key)
{
    Singleton<Sounds>::get()->play(key);
}

} // namespace

void MenuBuildingBuySell2::init(const char* path)
{
    _MenuBuildingBuySell2::init(path);
    mFirst = 0;
    mTrackLength = firstImageWidth(mWidget0) - firstImageWidth(mWidget2);
    for (int i = 0; i < kCards; ++i) {
        mBuyButtons.push_back(new Button(mHelpers0[i], 3, 6));
        mSellButtons.push_back(new Button(mHelpers1[i], 4, 6));
    }
}

void MenuBuildingBuySell2::reset()
{
    _MenuBuildingBuySell2::reset();
    mDragging = 0;
    for (int& time : mHoverTime)
        time = 0;
    mKind = L"Other";
    DataStorage* storage = Singleton<DataStorage>::get();
    mBuildings = storage->buildingDefinitionsOfKind(mKind);
    for (DataBuilding* building : mBuildings)
        building->mRequirementsMet = storage->checkRequirements(building->mRequirements, &building->mRequirementsText);
    mFirst = std::min(mFirst, lastFirst());
}

int MenuBuildingBuySell2::lastFirst() const
{
    return std::max(0, static_cast<int>(mBuildings.size()) - kCards);
}

void MenuBuildingBuySell2::onWidget1(int, int current)
{
    if (current != 3)
        return;
    mFirst -= 1;
    if (mFirst < 0) {
        mFirst = 0;
        play("wrong_click");
    } else {
        play("click");
    }
}

void MenuBuildingBuySell2::onWidget3(int, int current)
{
    if (current != 3)
        return;
    mFirst += 1;
    if (mFirst >= static_cast<int>(mBuildings.size()) - 2) {
        mFirst = lastFirst();
        play("wrong_click");
    } else {
        play("click");
    }
}

// The knob: a drag moves the first index by the share of the track the pointer travelled; the
// knob always sits at the index's place on the track.
void MenuBuildingBuySell2::onWidget2(int, int current)
{
    ControlMngr* input = Singleton<ControlMngr>::get();
    const int range = lastFirst();
    if (current == 2 && mDragging == 0) {
        mDragging = 1;
        mDragStartFirst = mFirst;
        mDragStartX = input->getPointer(-1).x;
    }
    if (current == 3)
        play("click");
    if (mDragging == 1) {
        const float travelled = mTrackLength > 0.0f ? (input->getPointer(-1).x - mDragStartX) / mTrackLength : 0.0f;
        mFirst = mDragStartFirst + static_cast<int>(travelled * range);
        mFirst = std::max(0, std::min(mFirst, range));
        if (!input->isPointerDown())
            mDragging = 0;
    }
    const float place = range > 0 ? static_cast<float>(mFirst) / range * mTrackLength : 0.0f;
    mWidget2->setOffset(place, 0.0f);
}

void MenuBuildingBuySell2::update()
{
    const MenuDateBar* bar = Singleton<MenuDateBar>::get();
    if (!isEnabled() || bar->paused || bar->modal)
        return;
    _MenuBuildingBuySell2::update();
    const std::pair<int, int> states = getShowStates();
    if (states.second == kShowAppearing && states.first == kShowHidden)
        Container::setVisible(1);
    if (states.second != kShowShown || mBuyButtons.empty())
        return;
    DataStorage* storage = Singleton<DataStorage>::get();
    const int end = std::min(mFirst + kCards, static_cast<int>(mBuildings.size()));
    for (int i = mFirst; i < end; ++i)
        countHover(mHoverTime);
    for (int i = mFirst; i < end; ++i) {
        const int c = i - mFirst;
        DataBuilding* building = mBuildings[i];
        const bool owned = isOwned(building);
        if (mBuyButtons[c]->isClicked(0, 0, 0) && !owned && building->mRequirementsMet) {
            if (buyBuilding(building)) {
                reset();
                play("buy");
                if (isCarPark(building))
                    Singleton<PublicManager>::get()->setupCars();
                return;
            }
            play("wrong_click");
        }
        if (mSellButtons[c]->isClicked(0, 0, 1) && owned) {
            const int entry = parkIndexOf(building);
            if (entry >= 0) {
                storage->sellBuilding(building, entry);
                if (isCarPark(building))
                    Singleton<PublicManager>::get()->setupCars();
            }
            reset();
            return;
        }
    }
}

void MenuBuildingBuySell2::draw()
{
    if (!isVisible() || mBuyButtons.empty())
        return;
    for (int c = 0; c < kCards; ++c)
        for (auto* list : {&mLabels0, &mLabels1, &mLabels2, &mLabels3, &mLabels4})
            (*list)[c]->setVisible(0);
    const int end = std::min(mFirst + kCards, static_cast<int>(mBuildings.size()));
    bool owned[kCards] = {};
    for (int i = mFirst; i < end; ++i) {
        const int c = i - mFirst;
        const DataBuilding* building = mBuildings[i];
        const float a = alphaOf(mLabels0[c]);
        owned[c] = isOwned(building);
        mLabels0[c]->setVisible(1);
        mLabels2[c]->setVisible(1);
        mLabels3[c]->setVisible(1);
        mLabels0[c]->setText(building->mName, 0, 1);
        mBuyButtons[c]->setText(text(L"buy"));
        mSellButtons[c]->setText(text(L"sell"));
        if (owned[c]) {
            mLabels4[c]->setVisible(1);
            mLabels4[c]->setText(costLine(building->mSaleValue), 0, 1);
            mLabels1[c]->setVisible(0);
        } else {
            fillPriceLines(building, mLabels4[c], mLabels1[c], a);
        }
        mLabels2[c]->setText(L"maintenancecost", 1, 1);
        mLabels3[c]->setText(maintenanceLine(building->mMaintenance), 0, 1);
    }
    _MenuBuildingBuySell2::draw();
    for (int i = mFirst; i < end; ++i) {
        const int c = i - mFirst;
        const DataBuilding* building = mBuildings[i];
        const float a = alphaOf(mLabels0[c]);
        if (owned[c]) {
            drawIcon(building->mIcon, mHelpers2[c], a);
            mSellButtons[c]->draw(a, 0, 0, 1);
        } else {
            drawIcon(building->mIconGreyed, mHelpers2[c], a);
            if (building->mRequirementsMet)
                mBuyButtons[c]->draw(a, 0, 0, 1);
        }
    }
    handDescription(mBuildings, mFirst, mHoverTime);
}

void MenuBuildingBuySell2::onClose(int, int current)
{
    if (current != 3)
        return;
    Singleton<MenuManager>::get()->closeAllPanels();
    play("exit");
}

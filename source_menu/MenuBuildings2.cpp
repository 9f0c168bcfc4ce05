#include "source_menu/MenuBuildings2.h"

#include "core/ControlMngr.h"
#include "game/DataBuilding.h"
#include "game/DataStorage.h"
#include "render/external/Sounds.h"
#include "source_menu/BuildingCards.h"
#include "source_menu/Button.h"
#include "source_menu/MenuDateBar.h"
#include "source_menu/MenuManager.h"
#include "source_menu/Progress.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/widgets/WidgetButton.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <algorithm>

using namespace BuildingCards;

namespace {

const int kFullLevel = 7;

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

void MenuBuildings2::init(const char* path)
{
    _MenuBuildings2::init(path);
    mFirst = 0;
    mTrackLength = firstImageWidth(mWidget0) - firstImageWidth(mWidget2);
    for (int i = 0; i < kCards; ++i) {
        mCleannessGauges.push_back(new Progress(mHelpers3[i]));
        mConditionGauges.push_back(new Progress(mHelpers4[i]));
        mCleanButtons.push_back(new Button(mHelpers0[i], 0, 6));
        mRepairButtons.push_back(new Button(mHelpers1[i], 0, 6));
    }
}

void MenuBuildings2::reset()
{
    _MenuBuildings2::reset();
    DataStorage* storage = Singleton<DataStorage>::get();
    mCleaningService = storage->findParkBuilding("OtherBuilding1.txt");
    mWorkshop = storage->findParkBuilding("OtherBuilding2.txt");
    mDragging = 0;
    for (int& time : mHoverTime)
        time = 0;
    mKind = L"Other";
    mBuildings.clear();
    for (DataBuilding* building : storage->mParkBuildings)
        if (building->mType == L"other")
            mBuildings.push_back(building);
    // A sale elsewhere may have shortened the list since the index was set.
    mFirst = std::min(mFirst, lastFirst());
}

int MenuBuildings2::lastFirst() const
{
    return std::max(0, static_cast<int>(mBuildings.size()) - kCards);
}

void MenuBuildings2::onWidget1(int, int current)
{
    if (!mWidget0->isVisible() || current != 3)
        return;
    mFirst -= 1;
    if (mFirst < 0) {
        mFirst = 0;
        play("wrong_click");
    } else {
        play("click");
    }
}

void MenuBuildings2::onWidget3(int, int current)
{
    if (!mWidget0->isVisible() || current != 3)
        return;
    mFirst += 1;
    if (mFirst >= static_cast<int>(mBuildings.size()) - 2) {
        mFirst = lastFirst();
        play("wrong_click");
    } else {
        play("click");
    }
}

void MenuBuildings2::onWidget2(int, int current)
{
    if (!mWidget0->isVisible())
        return;
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

void MenuBuildings2::update()
{
    const MenuDateBar* bar = Singleton<MenuDateBar>::get();
    if (!isEnabled() || bar->paused || bar->modal)
        return;
    _MenuBuildings2::update();
    const std::pair<int, int> states = getShowStates();
    if (states.second == kShowAppearing && states.first == kShowHidden)
        Container::setVisible(1);
    if (states.second != kShowShown || mCleanButtons.empty())
        return;
    const int end = std::min(mFirst + kCards, static_cast<int>(mBuildings.size()));
    for (int i = mFirst; i < end; ++i) {
        const int c = i - mFirst;
        DataBuilding* building = mBuildings[i];
        if (mCleanButtons[c]->isClicked(0, 0, 1) && building->mCleaning == 0 && building->mCleanness < kFullLevel)
            building->orderCleaning();
        if (mRepairButtons[c]->isClicked(0, 0, 1) && building->mRepairing == 0 && building->mCondition < kFullLevel)
            building->orderRepair();
    }
    countHover(mHoverTime);
}

void MenuBuildings2::draw()
{
    if (!isVisible() || mCleanButtons.empty())
        return;
    for (auto* list : {&mLabels0, &mLabels1, &mLabels2})
        for (WidgetLabel* label : *list)
            label->setVisible(0);
    const int browse = mBuildings.size() > static_cast<size_t>(kCards);
    for (WidgetBase* widget : {static_cast<WidgetBase*>(mWidget0), static_cast<WidgetBase*>(mWidget1),
                               static_cast<WidgetBase*>(mWidget2), static_cast<WidgetBase*>(mWidget3)})
        widget->setVisible(browse);
    const int end = std::min(mFirst + kCards, static_cast<int>(mBuildings.size()));
    bool owned[kCards] = {};
    for (int i = mFirst; i < end; ++i) {
        const int c = i - mFirst;
        const DataBuilding* building = mBuildings[i];
        owned[c] = isOwned(building);
        mLabels0[c]->setVisible(1);
        if (owned[c])
            fillCare(building, mCleannessGauges[c], mConditionGauges[c], mCleanButtons[c], mRepairButtons[c],
                     mCleaningService, mWorkshop);
        mLabels0[c]->setText(building->mName, 0, 1);
        mLabels1[c]->setText(L"cleanness", 1, 1);
        mLabels2[c]->setText(L"condition", 1, 1);
        mLabels1[c]->setVisible(owned[c]);
        mLabels2[c]->setVisible(owned[c]);
    }
    _MenuBuildings2::draw();
    for (int i = mFirst; i < end; ++i) {
        const int c = i - mFirst;
        const DataBuilding* building = mBuildings[i];
        const float a = alphaOf(mLabels0[c]);
        if (owned[c]) {
            drawIcon(building->mIcon, mHelpers2[c], a);
            mCleannessGauges[c]->draw(a, 0, 0);
            mConditionGauges[c]->draw(a, 0, 0);
            mCleanButtons[c]->draw(a, 0, 0, 1);
            mRepairButtons[c]->draw(a, 0, 0, 1);
        } else {
            drawIcon(building->mIconGreyed, mHelpers2[c], a);
        }
    }
    handDescription(mBuildings, mFirst, mHoverTime);
}

void MenuBuildings2::onClose(int, int current)
{
    if (current != 3)
        return;
    Singleton<MenuManager>::get()->closeAllPanels();
    play("exit");
}

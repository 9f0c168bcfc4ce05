#include "source_menu/MenuBuyFood.h"

#include "game/DataFood.h"
#include "game/DataStorage.h"
#include "game/GlobalSettings.h"
#include "render/external/Sounds.h"
#include "source_menu/BuildingCards.h"
#include "source_menu/Button.h"
#include "source_menu/MenuDateBar.h"
#include "source_menu/MenuManager.h"
#include "source_menu/Tutorial.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

using BuildingCards::alphaOf;
using BuildingCards::costLine;
using BuildingCards::drawIcon;

namespace {

const int kBuyButtonKind = 3;
const int kBuyButtonStyle = 6;

} // namespace

MenuBuyFood::~MenuBuyFood()
{
    for (Button* button : mBuyButtons)
        delete button;
}

void MenuBuyFood::init(const char* path)
{
    _MenuBuyFood::init(path);
    for (int i = 0; i < kFoods; ++i) {
        mBuyButtons[i] = new Button(mHelpers0[i], kBuyButtonKind, kBuyButtonStyle);
        mBuyButtons[i]->setText(textsManager.get(L"Buy"));
        mLabels3[i]->setText(std::wstring(textsManager.get(L"Required")) + L":", 0, 1);
    }
}

void MenuBuyFood::reset()
{
    _MenuBuyFood::reset();
    DataStorage* storage = Singleton<DataStorage>::get();
    for (int i = 0; i < kFoods; ++i) {
        mFoods[i] = storage->mFoods[i];
        mRequirementTexts[i].clear();
        mAllowed[i] = mFoods[i] && storage->checkRequirements(mFoods[i]->mRequirements, &mRequirementTexts[i]) ? 1 : 0;
        // A press seen before this show never completes a click in it.
        if (mBuyButtons[i])
            mBuyButtons[i]->wasDown = 0;
    }
}

void MenuBuyFood::update()
{
    const MenuDateBar* bar = Singleton<MenuDateBar>::get();
    if (!isEnabled() || bar->paused || bar->modal)
        return;
    _MenuBuyFood::update();
    const std::pair<int, int> states = getShowStates();
    if (states.second == kShowAppearing && states.first == kShowHidden)
        Container::setVisible(1);
    if (states.second != kShowShown || !mBuyButtons[0])
        return;
    // A purchase the park cannot pay or store is ignored after the button's click.
    for (int i = 0; i < kFoods; ++i)
        if (mBuyButtons[i]->isClicked(0.0f, 0.0f, 1) && mAllowed[i] && mFoods[i] &&
            Singleton<DataStorage>::get()->buyFood(mFoods[i]))
            Singleton<Tutorial>::get()->foodBought = 1;
}

void MenuBuyFood::draw()
{
    if (!isVisible() || !mBuyButtons[0])
        return;
    for (int i = 0; i < kFoods; ++i) {
        mLabels3[i]->setVisible(0);
        const DataFood* food = mFoods[i];
        if (!food)
            continue;
        const float alpha = alphaOf(mLabels2[i]);
        mLabels2[i]->setText(food->mName, 0, 1);
        mLabels1[i]->setText(food->mDescription, 0, 1);
        if (mAllowed[i]) {
            mLabels0[i]->setText(costLine(food->mCost), 0, 1);
            mLabels0[i]->setColor(1.0f, 1.0f, 1.0f, alpha);
        } else {
            mLabels0[i]->setText(mRequirementTexts[i], 0, 1);
            mLabels0[i]->setColor(1.0f, 0.0f, 0.0f, alpha);
        }
    }
    const std::wstring store = std::wstring(textsManager.get(L"foodstored")) + L" : " +
                               std::to_wstring(Singleton<DataStorage>::get()->mGlobalSettings->mFoodStored);
    mWidget14->setText(store, 0, 1);
    mWidget15->mWrap = 0;

    _MenuBuyFood::draw();

    const float buttonAlpha = alphaOf(mLabels2[0]);
    for (int i = 0; i < kFoods; ++i) {
        const DataFood* food = mFoods[i];
        if (!food)
            continue;
        const float alpha = alphaOf(mLabels2[i]);
        if (mAllowed[i]) {
            drawIcon(food->mIcon, mHelpers1[i], alpha);
            mBuyButtons[i]->draw(buttonAlpha, 0.0f, 0.0f, 1);
        } else {
            drawIcon(food->mIconGreyed, mHelpers1[i], alpha);
            mLabels3[i]->setVisible(1);
            mLabels3[i]->draw();
        }
    }
}

void MenuBuyFood::onWidget1(int, int current)
{
    if (current != kLayerReleased)
        return;
    Singleton<MenuManager>::get()->closeAllPanels();
    Singleton<Sounds>::get()->play("exit");
}

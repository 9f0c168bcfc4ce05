#include "source_menu/MenuIngameFold2.h"

#include "game/DataBuilding.h"
#include "game/DataStorage.h"
#include "render/external/Sounds.h"
#include "source_menu/Button.h"
#include "source_menu/HudFold.h"
#include "source_menu/MenuManager.h"
#include "source_menu/Progress.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/widgets/WidgetButton.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

namespace {

const wchar_t* const kKindWords[MenuIngameFold2::kKinds] = {L"dog", L"cat", L"dino", L"rabbit", L"horse"};

} // namespace

MenuIngameFold2::~MenuIngameFold2()
{
    delete mBuildingsButton;
    delete mBuildingBuySellButton;
    delete mFinancesButton;
    for (Progress* gauge : mCareGauges)
        delete gauge;
}

void MenuIngameFold2::init(const char* path)
{
    _MenuIngameFold2::init(path);
    mBuildingsButton = new Button(mHelper0, 1, 6);
    mBuildingsButton->setText(textsManager.get(L"buildingstitle"));
    mBuildingBuySellButton = new Button(mHelper1, 0, 6);
    mBuildingBuySellButton->setText(textsManager.get(L"buildingbuyselltitle"));
    mFinancesButton = new Button(mHelper2, 2, 6);
    mFinancesButton->setText(textsManager.get(L"statisticstitle"));
    WidgetHelper* careAnchors[kKinds] = {mHelper4, mHelper3, mHelper6, mHelper5, mHelper7};
    for (int k = 0; k < kKinds; ++k)
        mCareGauges[k] = new Progress(careAnchors[k]);
}

void MenuIngameFold2::update()
{
    if (!hudfold::acceptsInput(*this))
        return;
    _MenuIngameFold2::update();
    if (!hudfold::settleShowState(*this))
        return;
    const std::pair<float, float> offset = hudfold::offsetOf(mWidget0);
    MenuManager* router = Singleton<MenuManager>::get();
    if (mBuildingsButton->isClicked(offset.first, offset.second, 1))
        router->runCommand(L"buildingslist");
    if (mBuildingBuySellButton->isClicked(offset.first, offset.second, 1))
        router->runCommand(L"buildingsbuysell");
    if (mFinancesButton->isClicked(offset.first, offset.second, 1))
        router->runCommand(L"finances");
}

void MenuIngameFold2::onWidget6(int previous, int current)
{
    if (current != kLayerReleased)
        return;
    Singleton<Sounds>::get()->play("click");
    Singleton<MenuManager>::get()->runCommand(L"petsshow");
}

int MenuIngameFold2::careOfKind(const std::wstring& kind, int* count)
{
    int buildings = 0;
    int levels = 0;
    for (const DataBuilding* building : Singleton<DataStorage>::get()->mParkBuildings) {
        if (building->mType != kind)
            continue;
        ++buildings;
        levels += building->mCondition + building->mCleanness;
    }
    if (count)
        *count = buildings;
    return buildings > 0 ? levels / (2 * buildings) : 0;
}

void MenuIngameFold2::draw()
{
    if (!isVisible() || !mWidget0)
        return;
    const float left = MenuIngame::leftEdge();
    MyImage* panel = mWidget0->getImages()[0];
    panel->setPosition(left, panel->getRect().y);
    // Every picture of the button, the pressed one too: a press shows it and hit-tests on it.
    for (size_t i = 0; i < mWidget6->getImages().size(); ++i)
        hudfold::pinImage(mWidget6, i, left);
    if (mWidget6->getLabel())
        hudfold::pinImage(mWidget6->getLabel(), 0, left);
    for (WidgetBase* w : {static_cast<WidgetBase*>(mWidget7), static_cast<WidgetBase*>(mWidget2),
                          static_cast<WidgetBase*>(mWidget4), static_cast<WidgetBase*>(mWidget3),
                          static_cast<WidgetBase*>(mWidget5), static_cast<WidgetBase*>(mWidget1)})
        hudfold::pinImage(w, 0, left);

    _MenuIngameFold2::draw();

    const float alpha = mWidget0->getColor().w;
    const std::pair<float, float> offset = hudfold::offsetOf(mWidget0);
    for (int k = 0; k < kKinds; ++k) {
        int count = 0;
        const int care = careOfKind(kKindWords[k], &count);
        if (count == 0)
            continue;
        mCareGauges[k]->setLevel(care);
        mCareGauges[k]->draw(alpha, offset.first, offset.second);
    }

    mBuildingsButton->draw(alpha, offset.first, offset.second, 1);
    mBuildingBuySellButton->draw(alpha, offset.first, offset.second, 1);
    mFinancesButton->draw(alpha, offset.first, offset.second, 1);
}

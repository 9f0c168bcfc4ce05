#include "source_menu/BuildingCards.h"

#include "core/ControlMngr.h"
#include "core/Singleton.h"
#include "game/DataBuilding.h"
#include "game/DataStorage.h"
#include "game/GlobalSettings.h"
#include "park/GameBackground3D.h"
#include "park/GameCamera.h"
#include "source_menu/Button.h"
#include "source_menu/Progress.h"
#include "source_menu/BuildingsDiscription.h"
#include "source_menu/MenuManager.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/utils/misc.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <cwchar>

namespace BuildingCards {

bool isOwned(const DataBuilding* building)
{
    return parkIndexOf(building) >= 0;
}

bool buyBuilding(DataBuilding* building)
{
    if (!Singleton<DataStorage>::get()->buyBuilding(building))
        return false;
    if (!building->mCameraTarget.empty()) {
        GameBackground3D* park = Singleton<GameBackground3D>::get();
        if (park->mCamera)
            park->mCamera->moveToHelper(wideToString(building->mCameraTarget), park->mBuildingsHelpers);
        Singleton<MenuManager>::get()->closeAllPanels();
    }
    return true;
}

int parkIndexOf(const DataBuilding* building)
{
    const std::vector<DataBuilding*>& park = Singleton<DataStorage>::get()->mParkBuildings;
    for (size_t i = 0; i < park.size(); ++i)
        if (park[i]->mName == building->mName)
            return static_cast<int>(i);
    return -1;
}

DataBuilding* parkBuildingOf(const DataBuilding* building)
{
    const int entry = parkIndexOf(building);
    if (entry < 0)
        return nullptr;
    DataBuilding* owned = Singleton<DataStorage>::get()->mParkBuildings[entry];
    return owned->mType == building->mType ? owned : nullptr;
}

void countHover(int hoverTime[kCards])
{
    const std::vector<WidgetHelper*>& areas = Singleton<BuildingsDiscription>::get()->descriptionAreas;
    const PointerPosition p = Singleton<ControlMngr>::get()->getPointer(-1);
    for (size_t k = 0; k < areas.size() && k < static_cast<size_t>(kCards); ++k) {
        const float4 r = areas[k]->getRect();
        const bool inside = p.x > r.x && p.x < r.x + r.z && p.y > r.y && p.y < r.y + r.w;
        hoverTime[k] = inside ? hoverTime[k] + 10 : 0;
    }
}

void handDescription(const std::vector<DataBuilding*>& buildings, int first, const int hoverTime[kCards])
{
    BuildingsDiscription* panel = Singleton<BuildingsDiscription>::get();
    const size_t areas = panel->descriptionAreas.size();
    for (size_t k = 0; k < areas && k < static_cast<size_t>(kCards); ++k) {
        const size_t i = first + k;
        if (i < buildings.size() && hoverTime[k] > kDescriptionDelayMs) {
            panel->setDescription(buildings[i]->mDescription, static_cast<int>(k));
            return;
        }
    }
    panel->setDescription(L"", -1);
}

std::wstring costLine(int amount)
{
    wchar_t line[200];
    std::swprintf(line, 200, L"%ls: %d %ls", textsManager.get(L"cost"), amount, textsManager.get(L"currency"));
    return line;
}

void fillPriceLines(const DataBuilding* building, WidgetLabel* heading, WidgetLabel* line, float alpha)
{
    line->setVisible(1);
    heading->setVisible(building->mRequirementsMet ? 0 : 1);
    if (building->mRequirementsMet) {
        line->setColor(1, 1, 1, alpha);
        line->setText(costLine(building->mCost), 0, 1);
        return;
    }
    heading->setText(text(L"Required") + L":", 0, 1);
    line->setColor(1, 0, 0, alpha);
    line->setText(building->mRequirementsText, 0, 1);
}

std::wstring maintenanceLine(int maintenance)
{
    return std::to_wstring(maintenance) + L" " + text(L"usdpermonth");
}

float alphaOf(const WidgetBase* widget)
{
    return widget->getColor().w;
}

void drawIcon(CRender::Image* icon, const WidgetHelper* place, float alpha)
{
    if (!icon)
        return;
    const float4 r = place->getRect();
    icon->draw(r.x, r.y, r.z, r.w, 1.0f, 1.0f, 1.0f, alpha, 1);
}

namespace {

const int kFullLevel = 7;

std::wstring withAmount(const wchar_t* key, int amount, const wchar_t* unitKey)
{
    wchar_t line[200];
    std::swprintf(line, 200, L"%ls (%d %ls)", textsManager.get(key), amount, textsManager.get(unitKey));
    return line;
}

} // namespace

void fillCare(const DataBuilding* building, Progress* cleanness, Progress* condition, Button* clean, Button* repair,
              const DataBuilding* cleaningService, const DataBuilding* workshop)
{
    cleanness->setLevel(building->mCleanness);
    condition->setLevel(building->mCondition);
    if (building->mCleanness == kFullLevel) {
        clean->setEnabled(0);
        clean->setText(text(L"isclean"));
    } else if (building->mCleaning == 0) {
        clean->setEnabled(1);
        if (cleaningService)
            clean->setText(text(L"clean"));
        else
            clean->setText(withAmount(L"clean", Singleton<DataStorage>::get()->mGlobalSettings->mBuildingCleanCost,
                                      L"currency"));
    } else {
        clean->setEnabled(0);
        clean->setText(text(L"cleaning"));
    }
    if (building->mCondition == kFullLevel) {
        repair->setEnabled(0);
        repair->setText(text(L"isrepaired"));
    } else if (building->mRepairing == 0) {
        repair->setEnabled(1);
        if (workshop)
            repair->setText(text(L"repair"));
        else
            repair->setText(withAmount(L"repair", building->repairCost(), L"currency"));
    } else {
        repair->setEnabled(0);
        repair->setText(withAmount(L"repairing", kFullLevel - building->mCondition, L"day(s)"));
    }
}

std::wstring text(const wchar_t* key)
{
    return textsManager.get(key);
}

} // namespace BuildingCards

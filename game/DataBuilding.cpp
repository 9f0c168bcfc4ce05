#include "game/DataBuilding.h"

#include "game/CashAccount.h"
#include "game/DataStorage.h"
#include "game/GlobalSettings.h"
#include "game/KeyFile.h"
#include "game/MonthBalance.h"
#include "game/ParkEvents.h"
#include "game/Ranges.h"
#include "toolkit/utils/misc.h"

// Index: reading - daily decay - charges

namespace {
const int kTopLevel = 7;
const char* const kIconFolder = "data/game/Buildings/Icons/";

// A line of layer numbers; negative ones are skipped.
void readLayers(KeyFileReader& r, std::vector<int>& layers)
{
    for (const std::wstring& item : r.items()) {
        int layer = 0;
        if (r.toInt(item, layer) && layer >= 0)
            layers.push_back(layer);
    }
}
} // namespace

// ---- reading

DataBuilding::DataBuilding(const std::string& path) : mPath(path)
{
    GlobalSettings* settings = Singleton<DataStorage>::get()->mGlobalSettings;
    if (settings)
        mFoodStoredMax = settings->mFoodStoredMax;
    KeyFileReader r(path);
    for (; r.more(); r.advance()) {
        if (r.key(L"[name]"))
            mName = r.value();
        if (r.key(L"[type]"))
            mType = toLowerWide(r.value());
        if (r.key(L"[cost]")) {
            if (r.readInt(mCost, 0, kMaxPrice) && settings)
                mSaleValue = static_cast<int>(mCost * settings->mBuildingSaleFactors[1]);
        }
        if (r.key(L"[mainstanence]"))
            r.readInt(mMaintenance, 0, kMaxPrice);
        if (r.key(L"[layers show]"))
            readLayers(r, mLayersShow);
        if (r.key(L"[layers hide]"))
            readLayers(r, mLayersHide);
        if (r.key(L"[requirements]"))
            mRequirements = r.value();
        if (r.key(L"[description]"))
            mDescription = r.value();
        if (r.key(L"[helper]"))
            mCameraTarget = r.value();
        if (r.key(L"[food stored max]"))
            r.readInt(mFoodStoredMax, 0, kMaxCount);
        if (r.key(L"[cleanness drop]"))
            r.readFloat(mCleannessDrop, 0.0f, static_cast<float>(kTopLevel));
        if (r.key(L"[condition drop]"))
            r.readFloat(mConditionDrop, 0.0f, static_cast<float>(kTopLevel));
        if (r.key(L"[level num]"))
            r.readInt(mLevelNum);
        if (r.key(L"[popularity worth]"))
            r.readFloat(mPopularityWorth, 0.0f, 1.0e6f);
        if (r.key(L"[icon image]"))
            readIcon(r, kIconFolder, mIconFile, mIcon);
        if (r.key(L"[icon image greyed]"))
            readIcon(r, kIconFolder, mIconGreyedFile, mIconGreyed);
        if (r.key(L"[slide camera]", 3)) {
            std::wstring hoverText = r.value();
            std::wstring node = r.value();
            std::vector<std::wstring> items = r.items();
            int frames = 0;
            if (items.size() < 3)
                r.warn("needs a camera, a frame count and layer flags");
            else if (r.toInt(items[1], frames)) {
                if (SlideCamera* slide = parkEvents().makeSlideCamera(node, items[0], frames, items[2], hoverText))
                    mSlideCameras.push_back(slide);
            }
        }
    }
}

DataBuilding::~DataBuilding()
{
    for (SlideCamera* slide : mSlideCameras)
        parkEvents().removeSlideCamera(slide);
}

std::string DataBuilding::fileName() const
{
    size_t slash = mPath.rfind('/');
    return slash == std::string::npos ? mPath : mPath.substr(slash + 1);
}

bool DataBuilding::hasFileName(const std::string& name) const
{
    size_t slash = mPath.rfind('/');
    size_t start = slash == std::string::npos ? 0 : slash + 1;
    return mPath.compare(start, std::string::npos, name) == 0;
}

// ---- daily decay

void DataBuilding::newDay()
{
    if (mCleaning) {
        mCleanness = kTopLevel;
        mCleaning = 0;
    } else {
        mCleannessAcc += mCleannessDrop;
        if (mCleannessAcc > 1.0f) {
            mCleannessAcc = 0.0f;
            if (mCleanness > 0)
                --mCleanness;
        }
    }
    if (mRepairing) {
        if (++mCondition > kTopLevel) {
            mCondition = kTopLevel;
            mRepairing = 0;
        }
    } else {
        mConditionAcc += mConditionDrop;
        if (mConditionAcc > 1.0f) {
            mConditionAcc = 0.0f;
            if (mCondition > 0)
                --mCondition;
        }
    }
    const float* factors = Singleton<DataStorage>::get()->mGlobalSettings->mBuildingSaleFactors;
    mSaleValue = static_cast<int>(
        mCost * (factors[0] + (factors[1] - factors[0]) * (mCleanness + mCondition) * 0.07142857142857142));
}

// ---- charges

int DataBuilding::repairCost() const
{
    return (kTopLevel - mCondition) * Singleton<DataStorage>::get()->mGlobalSettings->mBuildingRepairCostPerPart;
}

void DataBuilding::orderCleaning()
{
    mCleaning = 1;
    DataStorage* storage = Singleton<DataStorage>::get();
    if (storage->findParkBuilding("OtherBuilding1.txt"))
        return;
    int cost = storage->mGlobalSettings->mBuildingCleanCost;
    storage->mGlobalSettings->mCashAccount->addCash(-cost);
    storage->mBalanceThisMonth->book(t_Other, -static_cast<long long>(cost));
}

void DataBuilding::orderRepair()
{
    mRepairing = 1;
    DataStorage* storage = Singleton<DataStorage>::get();
    if (storage->findParkBuilding("OtherBuilding2.txt"))
        return;
    storage->transaction(t_BuildingsRepairs, -repairCost());
}

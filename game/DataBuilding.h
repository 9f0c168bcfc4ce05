#pragma once

// One building definition of "data/game/Buildings/", or one building standing in the park.

#include "render/CRender.h"

#include <string>
#include <vector>

class SlideCamera;

class DataBuilding {
public:
    // Reads one building file. "[type]" is lower-cased; before reading: level -1, cleanness
    // and condition 7, food store capacity = the global "[food stored max]".
    explicit DataBuilding(const std::string& path);
    ~DataBuilding();
    DataBuilding(const DataBuilding&) = delete;
    DataBuilding& operator=(const DataBuilding&) = delete;

    // The file name after the last "/" of the path.
    std::string fileName() const;
    // Whether the file name after the last "/" of the path is name (exact), without copying.
    bool hasFileName(const std::string& name) const;

    // One day of a park building: cleaning, repair and the decay of both levels, then the
    // sale value from the state.
    void newDay();
    // (7 - condition) x "[building repair cost per part]".
    int repairCost() const;
    // Orders a cleaning for the next day; charged unless the park has the cleaning service.
    void orderCleaning();
    // Orders a repair; charged by the missing levels unless the park has the workshop.
    void orderRepair();

    std::string mPath;
    std::vector<SlideCamera*> mSlideCameras;
    std::wstring mName;
    std::wstring mType;           // lower case: dog, cat, dino, rabbit, horse or other
    std::wstring mDescription;
    int mCost = 0;
    int mSaleValue = 0;
    int mLevelNum = -1;
    int mMaintenance = 0;         // per month
    int mFoodStoredMax = 0;
    std::wstring mRequirements;
    std::vector<int> mLayersShow;
    std::vector<int> mLayersHide;
    std::wstring mIconFile;
    std::wstring mIconGreyedFile;
    std::wstring mCameraTarget;   // "[helper]": node of "Buildings_Helpers.3dn", empty for none
    CRender::Image* mIcon = nullptr;
    CRender::Image* mIconGreyed = nullptr;
    int mCleanness = 7;
    int mCondition = 7;
    int mCleaning = 0;
    int mRepairing = 0;
    float mCleannessDrop = 0.0f;
    float mCleannessAcc = 0.0f;
    float mConditionDrop = 0.0f;
    float mConditionAcc = 0.0f;
    int mRequirementsMet = 0;     // set by the buy panels when they refill
    std::wstring mRequirementsText;
    float mPopularityWorth = 0.0f;
};

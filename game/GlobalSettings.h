#pragma once

// The rules of "global.txt" with the park's money, calendar and rival parks, which it owns.
// One object, held by DataStorage; a saved game puts its values over a fresh one.

#include <map>
#include <string>
#include <utility>
#include <vector>

class CashAccount;
class DataRankingPark;
class GameDate;

// One "[advertise]" entry (kept as read).
struct Advertise {
    Advertise(int value, const std::wstring& name) : mValue(value), mName(name) {}
    int mValue;
    std::wstring mName;
};

// Five price presets of the tickets screen and the item's reference price (or venue limit).
struct ScrollValues {
    int mPresets[5] = {};
    int mReference = 0;
};

class GlobalSettings {
public:
    // Reads "global.txt". Without "[cash]" or "[date]" the account starts with 0 or the date
    // with 1 January 2010, with a warning.
    explicit GlobalSettings(const std::string& path);
    ~GlobalSettings();
    GlobalSettings(const GlobalSettings&) = delete;
    GlobalSettings& operator=(const GlobalSettings&) = delete;

    // The reference price of a "[scroll values]" item, 0 when the item is missing.
    int scrollReference(const std::wstring& item) const;
    // The popularity of one level of an animal of the species, 0 for an unknown species.
    float speciesPopularity(const std::wstring& species) const;

    int mAnimalsPerPlace = 0;
    CashAccount* mCashAccount = nullptr;
    std::vector<std::pair<int, std::vector<int>>> mLayerRules;
    std::vector<Advertise*> mAdvertises;
    int mDaysToGameOver = 0;
    float mMouseRadiusAccuracy = 0.0f;
    GameDate* mDate = nullptr;
    int mDaysBetweenNewAnimals = 0;
    int mDaysToNextTeaching = 0;
    int mAnimalTakenAwayCost = 0;
    int mFoodStored = 0;
    int mFoodStoredMax = 0;
    int mAnimalTreatCost = 0;
    int mBuildingCleanCost = 0;
    int mBuildingRepairCostPerPart = 0;
    int mAccommodationTicketPrice = 0;
    int mTeachingPrice = 0;
    int mAllTricksTeachingPrice = 0;
    int mDinnerPrice = 0;
    int mDrinksPrice = 0;
    int mSaladPrice = 0;
    int mSaltInFood = 0;
    int mOwnersAccommodationPrice = 0;
    int mCarParkingTicketPrice = 0;
    std::map<std::wstring, ScrollValues> mScrollValues;
    int mAnimalsToAccommodationMin = 0;
    int mAnimalsToAccommodationMax = 0;
    std::map<std::wstring, std::pair<int, int>> mBaseIncome;
    std::map<std::wstring, std::pair<float, float>> mTrickProgressRanges;
    std::map<std::wstring, std::pair<int, int>> mDaysToLearnRanges; // the length of a stay
    int mActivePromotion = -1;
    float mAnimalHungerDrop = 0.0f;
    float mAnimalHealthDrop = 0.0f;
    int mGameSpeed = 0;
    int mDayClock = 0;
    int mAnimalsPricesAccuracy = 0;
    float mDogPopularity = 0.0f;
    float mRabbitPopularity = 0.0f;
    float mHorsePopularity = 0.0f;
    float mDinoPopularity = 0.0f;
    float mCatPopularity = 0.0f;
    float mMaxPopularity = 0.0f;
    float mBuildingSaleFactors[2] = {};
    float mAnimalSaleFactors[2] = {};
    std::vector<DataRankingPark*> mRankingParks;
    std::vector<std::wstring> mStartingAnimals;
    std::vector<std::wstring> mStartingBuildings;
    std::vector<int> mStartingLayers;
    float mAnimalsStartingHunger = 0.0f;
    float mAnimalsStartingHealth = 0.0f;
    float mAnimalsStartingHappiness = 0.0f;
};

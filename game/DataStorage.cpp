#include "game/DataStorage.h"

#include "core/ControlMngr.h"
#include "core/StepSchedule.h"
#include "game/CashAccount.h"
#include "game/DataAchievement.h"
#include "game/DataAnimal.h"
#include "game/DataBuilding.h"
#include "game/DataFood.h"
#include "game/GameDate.h"
#include "game/GameOptions.h"
#include "game/GlobalSettings.h"
#include "game/MonthBalance.h"
#include "game/ParkEvents.h"
#include "game/Ranges.h"
#include "game/Profiles.h"
#include "game/Promotion.h"
#include "render/external/Sounds.h"
#include "toolkit/utils/misc.h"

#include <algorithm>
#include <cstdlib>
#include <set>

// Index: queries - park services - the logic step and the day - the player's actions - the month -
// offers - popularity - debug texts - options - messages to the player - ownership

namespace {
const int kStepMs = StepSchedule::kStepMs;
const int kAchievementCheckMs = 1000;
const int kMaxOffersPerKind = 9;
const int kDumpKey = 'g';
const int kTopLevel = 7;
const wchar_t* const kSpecies[5] = {L"dog", L"cat", L"dino", L"rabbit", L"horse"};
} // namespace

// ---- queries

int DataStorage::foodStoreCapacity() const
{
    int capacity = mGlobalSettings ? mGlobalSettings->mFoodStoredMax : 0;
    for (DataBuilding* building : mParkBuildings)
        if (building->mFoodStoredMax > capacity)
            capacity = building->mFoodStoredMax;
    return capacity;
}

std::vector<DataBuilding*> DataStorage::buildingDefinitionsOfKind(const std::wstring& kind) const
{
    std::wstring lower = toLowerWide(kind);
    std::vector<DataBuilding*> found;
    for (DataBuilding* building : mBuildingDefinitions)
        if (toLowerWide(building->mType) == lower)
            found.push_back(building);
    return found;
}

std::vector<DataAnimal*> DataStorage::parkAnimalsOfKind(const std::wstring& kind) const
{
    std::wstring lower = toLowerWide(kind);
    std::vector<DataAnimal*> found;
    for (DataAnimal* animal : mParkAnimals)
        if (toLowerWide(animal->mType) == lower)
            found.push_back(animal);
    return found;
}

int DataStorage::freePlaces(int* daysToNext) const
{
    int houses[5] = {};
    int guests[5] = {};
    for (int k = 0; k < 5; ++k) {
        for (const DataBuilding* building : mParkBuildings)
            houses[k] += building->mType == kSpecies[k] ? 1 : 0;
        for (const DataAnimal* animal : mParkAnimals)
            guests[k] += animal->mType == kSpecies[k] ? 1 : 0;
    }
    int free = 0;
    for (int k = 0; k < 5; ++k)
        free += std::max(houses[k] - guests[k], 0);
    if (!daysToNext)
        return free;
    *daysToNext = -1;
    for (int k = 0; k < 5 && free == 0; ++k) {
        if (houses[k] == 0)
            continue;
        std::vector<int> stays;
        for (const DataAnimal* animal : mParkAnimals)
            if (animal->mType == kSpecies[k])
                stays.push_back(animal->mStayDays);
        // The guests beyond the houses have to leave before a place of the kind frees.
        const auto next = stays.begin() + (guests[k] - houses[k]);
        std::nth_element(stays.begin(), next, stays.end());
        if (*daysToNext < 0 || *next < *daysToNext)
            *daysToNext = *next;
    }
    return free;
}

bool DataStorage::isPlaceTaken(const std::wstring& kind, int place) const
{
    for (DataAnimal* animal : mParkAnimals)
        if (animal->mType == kind && animal->placeNumber() == place)
            return true;
    return false;
}

void DataStorage::achievementReached(DataAchievement* achievement)
{
    achievement->mDone = 1;
    parkEvents().queueAchievementNotice(achievement);
    Singleton<Sounds>::get()->play("a_done");
}

// ---- park services

DataBuilding* DataStorage::findParkBuilding(const std::string& fileName) const
{
    for (DataBuilding* building : mParkBuildings)
        if (building->hasFileName(fileName))
            return building;
    return nullptr;
}

int DataStorage::hasAssistants() const
{
    return findParkBuilding("OtherAssistants.txt") != nullptr;
}

int DataStorage::hasVet() const
{
    return findParkBuilding("OtherVet.txt") != nullptr;
}

int DataStorage::hasHotel() const
{
    return findParkBuilding("OtherHotel.txt") != nullptr;
}

int DataStorage::hasRestaurant() const
{
    return findParkBuilding("OtherRestaurant.txt") != nullptr;
}

// ---- the logic step and the day

void DataStorage::update()
{
    ControlMngr* input = Singleton<ControlMngr>::get();
    if (!input->mKeyboardDevices.empty() && input->mKeyboardDevices[0]->data[kKeyboardCharWord].i == kDumpKey)
        dumpTexts();
    if (mAchievementTick > kAchievementCheckMs) {
        for (DataAchievement* achievement : mAchievements)
            if (!achievement->mDone && !parkEvents().cameraBusy() && checkRequirements(achievement->mRequirements))
                achievementReached(achievement);
        mAchievementTick = 0;
    }
    mAchievementTick += kStepMs;
    mGlobalSettings->mDayClock += kStepMs;
    if (mGlobalSettings->mDayClock > mGlobalSettings->mGameSpeed) {
        mGlobalSettings->mDayClock = 0;
        newDay();
    }
    mGlobalSettings->mCashAccount->update();
}

void DataStorage::newDay()
{
    mGlobalSettings->mDate->advance();
    for (DataAnimal* animal : mParkAnimals)
        animal->newDay();
    for (size_t i = 0; i < mParkAnimals.size();) {
        if (mParkAnimals[i]->mLeaving) {
            retire(mParkAnimals[i]);
            mParkAnimals.erase(mParkAnimals.begin() + i);
            parkEvents().resetCamera();
        } else {
            ++i;
        }
    }
    for (DataBuilding* building : mParkBuildings)
        building->newDay();
    for (Promotion* promotion : mPromotions)
        promotion->newDay();
    computePopularity();
    parkEvents().runVisitorsDay();
    parkEvents().refillFinanceScreens();
    mGlobalSettings->mCashAccount->newDay();
    rankParks();
    parkEvents().showRanking();

    // The autosave of the current profile; with no profile chosen there is nothing to save.
    saveCurrentProfile();
}

bool DataStorage::saveCurrentProfile(bool askedByPlayer)
{
    if (mCurrentProfile < 0 || mCurrentProfile >= static_cast<int>(mProfiles.size()))
        return false;
    DataProfile* profile = mProfiles[mCurrentProfile];
    if (profile->mUnreadable)
        return false; // a file that could not be read is left as it is
    const TutorialProgress tutorial = parkEvents().tutorialProgress();
    WriteFailure failure = WriteFailure::None;
    if (saveProfile(profile->mPath, profile->mName, profile->mAvatarFile, profile->mTutorial, tutorial.step,
                    tutorial.pointerTarget, tutorial.buildingBought, tutorial.petAccepted, tutorial.foodBought,
                    &failure)) {
        // The disk has room again or the folder is writable again: a later failure is news.
        mSaveFailuresTold = 0;
        return true;
    }
    reportSaveFailure(failure, profile->mPath, askedByPlayer);
    return false;
}

// ---- the player's actions

void DataStorage::transaction(int row, int amount)
{
    mGlobalSettings->mCashAccount->addCash(amount);
    mBalanceThisMonth->book(row, amount);
    mStatThisMonth->book(row, 1);
}

bool DataStorage::buyBuilding(DataBuilding* building)
{
    if (!mGlobalSettings->mCashAccount->canPay(building->mCost))
        return false;
    transaction(t_NewBuildings, -building->mCost);
    mParkBuildings.push_back(building);
    return true;
}

void DataStorage::sellBuilding(const DataBuilding* building, int entry)
{
    transaction(t_BuildingsSold, building->mSaleValue);
    mParkBuildings.erase(mParkBuildings.begin() + entry);
}

// An order already placed is not placed (and charged) again.
void DataStorage::repairAll()
{
    for (DataBuilding* building : mParkBuildings)
        if (building->mCondition < kTopLevel && !building->mRepairing)
            building->orderRepair();
}

void DataStorage::cleanAll()
{
    for (DataBuilding* building : mParkBuildings)
        if (building->mCleanness < kTopLevel && !building->mCleaning)
            building->orderCleaning();
}

// Stops at the first portion the empty store cannot give (the animal reports it).
void DataStorage::feedAll()
{
    bool storeEmpty = false;
    for (size_t i = 0; i < mParkAnimals.size() && !storeEmpty; ++i) {
        DataAnimal* animal = mParkAnimals[i];
        for (int portions = kTopLevel - animal->mHunger; portions > 0 && !storeEmpty; --portions)
            storeEmpty = !animal->feed();
    }
}

DataAnimal* DataStorage::hostAnimal(DataAnimal* offer)
{
    size_t buildings = 0;
    for (const DataBuilding* building : mParkBuildings)
        buildings += building->mType == offer->mType ? 1 : 0;
    DataAnimal* animal =
        parkAnimalsOfKind(offer->mType).size() < buildings ? DataAnimal::placeInPark(offer) : nullptr;
    if (!animal)
        return nullptr;
    mGlobalSettings->mCashAccount->addCash(offer->mAccommodationFee);
    mBalanceThisMonth->book(t_PetsHosted, offer->mAccommodationFee);
    mParkAnimals.push_back(animal);
    mAnimalsForSale.erase(std::remove(mAnimalsForSale.begin(), mAnimalsForSale.end(), offer), mAnimalsForSale.end());
    retire(offer);
    mStatThisMonth->book(t_PetsHosted, 1);
    return animal;
}

// A food of no amount or of a negative price is no purchase (only a broken food file has one).
bool DataStorage::buyFood(const DataFood* food)
{
    if (food->mFood <= 0 || food->mCost < 0 || !mGlobalSettings->mCashAccount->canPay(food->mCost) ||
        static_cast<long long>(mGlobalSettings->mFoodStored) + food->mFood > foodStoreCapacity())
        return false;
    mGlobalSettings->mFoodStored += food->mFood;
    transaction(t_PetsFood, -food->mCost);
    return true;
}

namespace {

// The share of a venue's base sales at a price below its limit: 1 - 1 / (limit - price). A price
// at or above the limit sells nothing (rather than dividing by zero or selling more than all).
float demand(int limit, int price)
{
    int gap = limit - price;
    return gap >= 1 ? 1.0f - 1.0f / static_cast<float>(gap) : 0.0f;
}

// A count of sales, truncated, never below 0.
int salesCount(float count)
{
    return truncatedWithin(count, 0, kMaxCount);
}

} // namespace

void DataStorage::visitorsSpend(int visitors, int cars)
{
    GlobalSettings* settings = mGlobalSettings;
    float v = static_cast<float>(visitors);
    int dinners = 0, drinks = 0, salads = 0, hotel = 0;
    if (hasRestaurant()) {
        float d = (200 + std::rand() % 300) * v * demand(settings->scrollReference(L"Dinner"), settings->mDinnerPrice) * 0.001f;
        float k = (300 + std::rand() % 600) * v * demand(settings->scrollReference(L"Drinks"), settings->mDrinksPrice) * 0.001f;
        float s = (std::rand() % 500 + 400.0f) * v * demand(settings->scrollReference(L"Salads"), settings->mSaladPrice) * 0.001f;
        float salt = settings->mSaltInFood * 0.1f;
        s = (salt - salt * salt) * s;
        k = k * (1.0f - salt) * 1.5f;
        dinners = salesCount(d);
        drinks = salesCount(k);
        salads = salesCount(s);
    }
    if (hasHotel()) {
        float h = (std::rand() % 200 + 50.0f) * v *
                  demand(settings->scrollReference(L"Hotel"), settings->mOwnersAccommodationPrice) * 0.001f;
        hotel = salesCount(h);
    }
    int restaurant = moneySum(moneySum(moneyProduct(dinners, settings->mDinnerPrice),
                                       moneyProduct(salads, settings->mSaladPrice)),
                              moneyProduct(drinks, settings->mDrinksPrice));
    int rooms = moneyProduct(hotel, settings->mOwnersAccommodationPrice);
    int tickets = moneyProduct(cars, settings->mCarParkingTicketPrice);
    settings->mCashAccount->addCash(moneySum(moneySum(restaurant, rooms), tickets));
    mBalanceThisMonth->book(t_RestaurantSales, restaurant);
    mBalanceThisMonth->book(t_OwnersHotelSales, rooms);
    mBalanceThisMonth->book(t_ParkTicketsSale, tickets);
    mStatThisMonth->book(t_ParkTicketsSale, static_cast<long long>(cars) + visitors);
    mStatThisMonth->book(t_RestaurantSales, static_cast<long long>(dinners) + salads + drinks);
    mStatThisMonth->book(t_OwnersHotelSales, hotel);
}

// ---- the month

void DataStorage::closeMonth()
{
    int maintenance = 0;
    for (DataBuilding* building : mParkBuildings)
        maintenance = moneySum(maintenance, building->mMaintenance);
    mGlobalSettings->mCashAccount->addCash(-maintenance);
    mBalanceThisMonth->book(t_BuildingsMaintenance, -static_cast<long long>(maintenance));

    delete mBalanceLastMonth;
    mBalanceLastMonth = mBalanceThisMonth->clone();
    delete mBalanceThisMonth;
    mBalanceThisMonth = new MonthBalance();
    delete mStatLastMonth;
    mStatLastMonth = mStatThisMonth->clone();
    delete mStatThisMonth;
    mStatThisMonth = new MonthBalance();
}

// ---- offers

void DataStorage::generateAnimalsForSale()
{
    // Offers are reached only through this list (the offers screen reads it each time, an
    // offer taken in leaves it first), so the replaced ones are freed: new offers come every
    // few days for as long as the game runs.
    for (DataAnimal* offer : mAnimalsForSale)
        delete offer;
    mAnimalsForSale.clear();

    int happiness = 0;
    for (DataAnimal* animal : mParkAnimals)
        happiness += animal->mHappiness;
    float average = happiness == 0 ? 0.0f : static_cast<float>(happiness) / mParkAnimals.size();
    int lo = mGlobalSettings->mAnimalsToAccommodationMin;
    int hi = mGlobalSettings->mAnimalsToAccommodationMax;
    float spread = static_cast<float>(hi - lo + 1);
    int count = static_cast<int>(spread * mAttraction * 0.5f + spread * average * 0.125f);
    if (count > hi)
        count = hi;
    count = count < 1 ? 1 : count > kMaxOffersPerKind ? kMaxOffersPerKind : count;

    GlobalSettings* settings = mGlobalSettings;
    for (const wchar_t* species : kSpecies) {
        size_t pictures = mSkinFiles[species].size();
        if (pictures == 0 || mAnimalNames.empty())
            continue; // no coat or no name to give: this species gets no offers
        for (int i = 0; i < count; ++i) {
            int picture = std::rand() % pictures;
            const std::wstring& name = mAnimalNames[std::rand() % mAnimalNames.size()];
            float hungerDrop = settings->mAnimalHungerDrop * ((std::rand() % 1500) + 500) * 0.001f;
            float healthDrop = settings->mAnimalHealthDrop * ((std::rand() % 1500) + 500) * 0.001f;
            DataAnimal* offer = new DataAnimal(name, species, hungerDrop, healthDrop, picture);
            mAnimalsForSale.push_back(offer);
            offer->loadPicture(picture);
        }
    }
}

// ---- popularity

float DataStorage::computePopularity()
{
    GlobalSettings* settings = mGlobalSettings;
    float p = 0.0f;
    for (DataAnimal* animal : mParkAnimals)
        p += settings->speciesPopularity(animal->mType) * (animal->mHunger + animal->mHealth);
    float b = 0.0f;
    for (DataBuilding* building : mParkBuildings)
        b += building->mPopularityWorth * (building->mCleanness + building->mCondition);
    p += b;
    for (Promotion* promotion : mPromotions)
        if (promotion->mDaysLeft > 0) {
            p += promotion->mPopularityWorth;
            break;
        }
    mPopularity = truncatedWithin(p, 0, kMaxMoney);

    // A zero reference or maximum (warned when read) leaves the park without attraction.
    int refA = settings->scrollReference(L"AccomodationTicket");
    int refC = settings->scrollReference(L"CarTicket");
    if (refA == 0 || refC == 0 || settings->mMaxPopularity <= 0.0f) {
        mAttraction = 0.0f;
        return mAttraction;
    }
    float r = p / settings->mMaxPopularity;
    float a = 1.0f - static_cast<float>(settings->mAccommodationTicketPrice) / refA;
    if (a > 1.0f)
        a = 1.0f;
    float c = static_cast<float>(1.0 - static_cast<double>(settings->mCarParkingTicketPrice) / refC + 0.25);
    if (c > 1.0f)
        c = 1.0f;
    // Held in 0..1 before squaring, so a price above its reference never attracts visitors.
    float x = c * (a * r);
    x = x < 0.0f ? 0.0f : x > 1.0f ? 1.0f : x;
    mAttraction = x * x;
    return mAttraction;
}

// ---- debug texts

void DataStorage::dumpTexts() const
{
    std::vector<std::wstring> achievements;
    for (DataAchievement* achievement : mAchievements) {
        achievements.push_back(achievement->mName);
        achievements.push_back(achievement->mDescription);
        achievements.push_back(achievement->mCongratulations);
        achievements.emplace_back();
    }
    writeUtf8Lines("lok_achiev.txt", achievements);
    std::vector<std::wstring> buildings;
    for (DataBuilding* building : mBuildingDefinitions) {
        buildings.push_back(building->mName);
        buildings.push_back(building->mDescription);
        buildings.emplace_back();
    }
    writeUtf8Lines("lok_buildings.txt", buildings);
}

// ---- options

void DataStorage::createOptions(const std::string& folder)
{
    WriteFailure failure = WriteFailure::None;
    mOptions = new GameOptions(folder, &failure);
    if (failure != WriteFailure::None)
        reportOptionsFailure(failure, false);
}

bool DataStorage::saveOptions(bool confirmedByPlayer)
{
    if (!mOptions)
        return false;
    WriteFailure failure = WriteFailure::None;
    if (mOptions->save(&failure))
        return true;
    reportOptionsFailure(failure, confirmedByPlayer);
    return false;
}

// ---- messages to the player

void DataStorage::tellPlayer(const wchar_t* titleKey, const wchar_t* textKey, const std::string& file, int number)
{
    PlayerNotice notice{titleKey, textKey, stringToWide(file), number};
    for (const PlayerNotice& queued : mPlayerNotices)
        if (queued.mTitleKey == notice.mTitleKey && queued.mTextKey == notice.mTextKey && queued.mFile == notice.mFile &&
            queued.mNumber == notice.mNumber)
            return;
    mPlayerNotices.push_back(notice);
}

void DataStorage::reportSaveFailure(WriteFailure failure, const std::string& path, bool askedByPlayer)
{
    // The autosave runs every game day: each kind of failure is told once, not every day.
    static const wchar_t* const kTexts[4] = {L"savefailedopen", L"savefailedwrite", L"savefailedrename",
                                             L"savefailedoccupied"};
    tellWriteFailure(failure, path, kTexts, mSaveFailuresTold, askedByPlayer);
}

void DataStorage::reportProfileFailure(WriteFailure failure, const std::string& path)
{
    // No park was saved before: the texts claim none kept.
    static const wchar_t* const kTexts[4] = {L"profilefailedopen", L"profilefailedwrite", L"profilefailedrename",
                                             L"profilefailedoccupied"};
    unsigned told = 0;
    tellWriteFailure(failure, path, kTexts, told, true);
}

void DataStorage::reportOptionsFailure(WriteFailure failure, bool always)
{
    static const wchar_t* const kTexts[4] = {L"optionsfailedopen", L"optionsfailedwrite", L"optionsfailedrename",
                                             L"optionsfailedoccupied"};
    tellWriteFailure(failure, mOptions->mPath, kTexts, mOptionsFailuresTold, always);
}

void DataStorage::tellWriteFailure(WriteFailure failure, const std::string& path, const wchar_t* const texts[4],
                                   unsigned& told, bool always)
{
    const unsigned bit = 1u << static_cast<int>(failure);
    if ((told & bit) && !always)
        return;
    told |= bit;
    // In WriteFailure's order after None.
    const int kind = std::max(static_cast<int>(failure), 1) - 1;
    tellPlayer(L"savefailed", texts[kind], path);
}

// ---- ownership

void DataStorage::retireGameData()
{
    for (DataAchievement* achievement : mAchievements)
        retire(achievement);
    mAchievements.clear();
    // Park buildings are definitions themselves (a starting building may stand twice) or
    // copies read by a saved game: each record is retired once.
    std::set<DataBuilding*> buildings(mBuildingDefinitions.begin(), mBuildingDefinitions.end());
    buildings.insert(mParkBuildings.begin(), mParkBuildings.end());
    for (DataBuilding* building : buildings)
        retire(building);
    mBuildingDefinitions.clear();
    mParkBuildings.clear();
    for (DataAnimal* animal : mParkAnimals)
        retire(animal);
    mParkAnimals.clear();
    for (DataAnimal* offer : mAnimalsForSale)
        retire(offer);
    mAnimalsForSale.clear();
    for (Promotion* promotion : mPromotions)
        retire(promotion);
    mPromotions.clear();
    for (DataFood*& food : mFoods) {
        retire(food);
        food = nullptr;
    }
    retire(mStatLastMonth);
    retire(mStatThisMonth);
    retire(mBalanceLastMonth);
    retire(mBalanceThisMonth);
    mStatLastMonth = mStatThisMonth = mBalanceLastMonth = mBalanceThisMonth = nullptr;
}

#include "game/GlobalSettings.h"

#include "game/CashAccount.h"
#include "game/DataRankingPark.h"
#include "game/GameDate.h"
#include "game/KeyFile.h"
#include "game/ParkEvents.h"
#include "game/Ranges.h"
#include "toolkit/utils/misc.h"

#include <cstdio>
#include <type_traits>

namespace {
const int kTopLevel = 7;
const int kMaxSalt = 10;      // the salt's tenths: 0 (none) to 10
const int kMaxOffers = 100;
const float kMaxPopularity = 1.0e6f;
// One game day lasts at least a second (each day ends with the autosave), at most a game hour.
const int kMinGameSpeed = 1000;
const int kMaxGameSpeed = 3600000;
const int kDefaultGameSpeed = 3000;

// "species min max" lines: the lower-cased species and two numbers.
// The range is held within lo..hi, its top not below its bottom.
template <class T>
void readRange(KeyFileReader& r, std::map<std::wstring, std::pair<T, T>>& ranges, T lo, T hi)
{
    std::vector<std::wstring> items = r.items();
    if (items.size() < 3) {
        r.warn("needs a species and two numbers");
        return;
    }
    std::pair<T, T> range;
    bool ok;
    if constexpr (std::is_same<T, int>::value)
        ok = r.toInt(items[1], range.first) && r.toInt(items[2], range.second);
    else
        ok = r.toFloat(items[1], range.first) && r.toFloat(items[2], range.second);
    if (ok) {
        range.first = r.within(range.first, lo, hi);
        range.second = r.within(range.second, range.first, hi);
        ranges[toLowerWide(items[0])] = range;
    }
}

// A line of integers; malformed items are skipped with a warning.
std::vector<int> readInts(KeyFileReader& r)
{
    std::vector<int> numbers;
    for (const std::wstring& item : r.items()) {
        int n = 0;
        if (r.toInt(item, n))
            numbers.push_back(n);
    }
    return numbers;
}

// Two reals of one line into out[0], out[1], each held within lo..hi.
void readPair(KeyFileReader& r, float* out, float lo, float hi)
{
    std::vector<std::wstring> items = r.items();
    if (items.size() < 2) {
        r.warn("needs two numbers");
        return;
    }
    float a = out[0], b = out[1];
    if (r.toFloat(items[0], a) && r.toFloat(items[1], b)) {
        out[0] = r.within(a, lo, hi);
        out[1] = r.within(b, lo, hi);
    }
}

} // namespace

GlobalSettings::GlobalSettings(const std::string& path)
{
    KeyFileReader r(path);
    bool gameSpeedRead = false;
    for (; r.more(); r.advance()) {
        if (r.key(L"[cash]")) {
            int cash = 0;
            if (r.readInt(cash, -kMaxMoney, kMaxMoney)) {
                delete mCashAccount;
                mCashAccount = new CashAccount(cash);
                mCashAccount->setLabel(parkEvents().cashLabel());
            }
        }
        if (r.key(L"[days to next teaching]"))
            r.readInt(mDaysToNextTeaching, 0, kMaxDays);
        if (r.key(L"[animal days to learn trick min-max]"))
            readRange(r, mDaysToLearnRanges, 1, kMaxDays);
        if (r.key(L"[base income min-max]"))
            readRange(r, mBaseIncome, 0, kMaxPrice);
        if (r.key(L"[scroll values]", 2)) {
            std::vector<std::wstring> items = r.items();
            ScrollValues values;
            bool ok = items.size() >= 6;
            for (int i = 0; ok && i < 5; ++i)
                ok = r.toInt(items[i + 1], values.mPresets[i]);
            ok = r.toInt(r.value(), values.mReference) && ok;
            if (items.size() < 6) {
                r.warn("needs an item and five presets");
            } else if (ok) {
                for (int& preset : values.mPresets)
                    preset = r.within(preset, 0, kMaxPrice);
                values.mReference = r.within(values.mReference, 0, kMaxPrice);
                mScrollValues[items[0]] = values;
            }
        }
        if (r.key(L"[animal tricks starting progress min-max]"))
            readRange(r, mTrickProgressRanges, 0.0f, static_cast<float>(kTopLevel));
        if (r.key(L"[animal taken away cost]"))
            r.readInt(mAnimalTakenAwayCost, 0, kMaxPrice);
        if (r.key(L"[days to game over after minus balance]"))
            r.readInt(mDaysToGameOver, 0, kMaxDays);
        if (r.key(L"[animals per place]"))
            r.readInt(mAnimalsPerPlace, 0, kMaxCount);
        if (r.key(L"[animals prices accuracy]"))
            r.readInt(mAnimalsPricesAccuracy, 0, kMaxPrice);
        if (r.key(L"[all tricks teaching price]"))
            r.readInt(mAllTricksTeachingPrice, 0, kMaxPrice);
        if (r.key(L"[random animals to buy after (days)]"))
            r.readInt(mDaysBetweenNewAnimals, 1, kMaxDays);
        if (r.key(L"[mouse radius accuracy]"))
            r.readFloat(mMouseRadiusAccuracy, 0.0f, 100.0f);
        if (r.key(L"[advertise]")) {
            std::vector<std::wstring> items = r.items();
            int value = 0;
            if (items.size() < 2)
                r.warn("needs a name and a number");
            else if (r.toInt(items[1], value))
                mAdvertises.push_back(new Advertise(r.within(value, 0, kMaxPrice), items[0]));
        }
        if (r.key(L"[date]")) {
            std::vector<std::wstring> items = r.items();
            int day = 0, month = 0, year = 0;
            if (items.size() < 3 || !r.toInt(items[0], day) || !r.toInt(items[1], month) ||
                !r.toInt(items[2], year) || !GameDate::isValid(day, month, year)) {
                r.warn("not a valid date");
            } else {
                delete mDate;
                mDate = new GameDate(day, month, year);
            }
        }
        if (r.key(L"[accomodation ticket price]"))
            r.readInt(mAccommodationTicketPrice, 0, kMaxPrice);
        if (r.key(L"[teaching price]"))
            r.readInt(mTeachingPrice, 0, kMaxPrice);
        if (r.key(L"[dinner price]"))
            r.readInt(mDinnerPrice, 0, kMaxPrice);
        if (r.key(L"[drinks price]"))
            r.readInt(mDrinksPrice, 0, kMaxPrice);
        if (r.key(L"[salad price]"))
            r.readInt(mSaladPrice, 0, kMaxPrice);
        if (r.key(L"[salt in food]"))
            r.readInt(mSaltInFood, 0, kMaxSalt);
        if (r.key(L"[car parking ticket price]"))
            r.readInt(mCarParkingTicketPrice, 0, kMaxPrice);
        if (r.key(L"[owners accomodation price]"))
            r.readInt(mOwnersAccommodationPrice, 0, kMaxPrice);
        if (r.key(L"[start park promotion]"))
            r.readInt(mActivePromotion);
        if (r.key(L"[animals to accomodation]")) {
            std::vector<int> n = readInts(r);
            if (n.size() >= 2) {
                mAnimalsToAccommodationMin = r.within(n[0], 0, kMaxOffers);
                mAnimalsToAccommodationMax = r.within(n[1], mAnimalsToAccommodationMin, kMaxOffers);
            } else {
                r.warn("needs two numbers");
            }
        }
        if (r.key(L"[animals starting hunger]"))
            r.readFloat(mAnimalsStartingHunger, 0.0f, static_cast<float>(kTopLevel));
        if (r.key(L"[animals starting health]"))
            r.readFloat(mAnimalsStartingHealth, 0.0f, static_cast<float>(kTopLevel));
        if (r.key(L"[animals starting happiness]"))
            r.readFloat(mAnimalsStartingHappiness, 0.0f, static_cast<float>(kTopLevel));
        if (r.key(L"[game speed]")) {
            gameSpeedRead = r.readInt(mGameSpeed, kMinGameSpeed, kMaxGameSpeed) || gameSpeedRead;
        }
        if (r.key(L"[food stored]"))
            r.readInt(mFoodStored, 0, kMaxCount);
        if (r.key(L"[food stored max]"))
            r.readInt(mFoodStoredMax, 0, kMaxCount);
        if (r.key(L"[animal treat cost]"))
            r.readInt(mAnimalTreatCost, 0, kMaxPrice);
        if (r.key(L"[building clean cost]"))
            r.readInt(mBuildingCleanCost, 0, kMaxPrice);
        if (r.key(L"[building repair cost per part]"))
            r.readInt(mBuildingRepairCostPerPart, 0, kMaxPrice);
        if (r.key(L"[ranking park]"))
            mRankingParks.push_back(new DataRankingPark(r.value(), 0, 0));
        if (r.key(L"[layers if]")) {
            std::vector<int> n = readInts(r);
            if (!n.empty())
                mLayerRules.emplace_back(n[0], std::vector<int>(n.begin() + 1, n.end()));
        }
        if (r.key(L"[starting layers]")) {
            for (int layer : readInts(r))
                mStartingLayers.push_back(layer);
        }
        if (r.key(L"[buildings sell percentage losses]"))
            readPair(r, mBuildingSaleFactors, 0.0f, 1.0f);
        if (r.key(L"[animals sell percentage losses]"))
            readPair(r, mAnimalSaleFactors, 0.0f, 1.0f);
        if (r.key(L"[animal]"))
            mStartingAnimals.push_back(r.value());
        if (r.key(L"[dog popularity]"))
            r.readFloat(mDogPopularity, 0.0f, kMaxPopularity);
        if (r.key(L"[cat popularity]"))
            r.readFloat(mCatPopularity, 0.0f, kMaxPopularity);
        if (r.key(L"[dino popularity]"))
            r.readFloat(mDinoPopularity, 0.0f, kMaxPopularity);
        if (r.key(L"[rabbit popularity]"))
            r.readFloat(mRabbitPopularity, 0.0f, kMaxPopularity);
        if (r.key(L"[horse popularity]"))
            r.readFloat(mHorsePopularity, 0.0f, kMaxPopularity);
        if (r.key(L"[max popularity]"))
            r.readFloat(mMaxPopularity, 0.0f, kMaxPopularity);
        if (r.key(L"[building]"))
            mStartingBuildings.push_back(r.value());
    }
    if (!mCashAccount) {
        std::printf("Warning: %s: no [cash], the park starts with 0\n", path.c_str());
        mCashAccount = new CashAccount(0);
        mCashAccount->setLabel(parkEvents().cashLabel());
    }
    // The park's attraction divides by these; without them the park attracts nobody.
    for (const wchar_t* item : {L"AccomodationTicket", L"CarTicket"})
        if (scrollReference(item) == 0)
            std::printf("Warning: %s: no reference price for %ls, the park attracts nobody\n", path.c_str(), item);
    if (mMaxPopularity <= 0.0f)
        std::printf("Warning: %s: [max popularity] is not above 0, the park attracts nobody\n", path.c_str());
    if (mDaysBetweenNewAnimals <= 0) {
        std::printf("Warning: %s: [random animals to buy after (days)] is %d, taken as 1\n", path.c_str(),
                    mDaysBetweenNewAnimals);
        mDaysBetweenNewAnimals = 1;
    }
    // Every step would otherwise be a new day with its autosave.
    if (!gameSpeedRead) {
        std::printf("Warning: %s: no valid [game speed], a day lasts %d ms\n", path.c_str(), kDefaultGameSpeed);
        mGameSpeed = kDefaultGameSpeed;
    }
    if (!mDate) {
        std::printf("Warning: %s: no valid [date], the park starts on 1 January 2010\n", path.c_str());
        mDate = new GameDate(1, 1, 2010);
    }
}

GlobalSettings::~GlobalSettings()
{
    delete mCashAccount;
    delete mDate;
    for (Advertise* advertise : mAdvertises)
        delete advertise;
    for (DataRankingPark* rival : mRankingParks)
        delete rival;
}

int GlobalSettings::scrollReference(const std::wstring& item) const
{
    auto found = mScrollValues.find(item);
    return found == mScrollValues.end() ? 0 : found->second.mReference;
}

float GlobalSettings::speciesPopularity(const std::wstring& species) const
{
    if (species == L"dog")
        return mDogPopularity;
    if (species == L"cat")
        return mCatPopularity;
    if (species == L"dino")
        return mDinoPopularity;
    if (species == L"rabbit")
        return mRabbitPopularity;
    if (species == L"horse")
        return mHorsePopularity;
    return 0.0f;
}

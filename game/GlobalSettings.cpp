#include "game/GlobalSettings.h"

#include "game/CashAccount.h"
#include "game/DataRankingPark.h"
#include "game/GameDate.h"
#include "game/KeyFile.h"
#include "game/ParkEvents.h"
#include "toolkit/utils/misc.h"

#include <cstdio>

namespace {

// "species min max" lines: the lower-cased species and two numbers.
template <class T>
void readRange(KeyFileReader& r, std::map<std::wstring, std::pair<T, T>>& ranges)
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
    if (ok)
        ranges[toLowerWide(items[0])] = range;
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

// Two reals of one line into out[0], out[1].
void readPair(KeyFileReader& r, float* out)
{
    std::vector<std::wstring> items = r.items();
    if (items.size() < 2) {
        r.warn("needs two numbers");
        return;
    }
    float a = out[0], b = out[1];
    if (r.toFloat(items[0], a) && r.toFloat(items[1], b)) {
        out[0] = a;
        out[1] = b;
    }
}

} // namespace

GlobalSettings::GlobalSettings(const std::string& path)
{
    KeyFileReader r(path);
    for (; r.more(); r.advance()) {
        if (r.key(L"[cash]")) {
            int cash = 0;
            if (r.readInt(cash)) {
                delete mCashAccount;
                mCashAccount = new CashAccount(cash);
                mCashAccount->setLabel(parkEvents().cashLabel());
            }
        }
        if (r.key(L"[days to next teaching]"))
            r.readInt(mDaysToNextTeaching);
        if (r.key(L"[animal days to learn trick min-max]"))
            readRange(r, mDaysToLearnRanges);
        if (r.key(L"[base income min-max]"))
            readRange(r, mBaseIncome);
        if (r.key(L"[scroll values]", 2)) {
            std::vector<std::wstring> items = r.items();
            ScrollValues values;
            bool ok = items.size() >= 6;
            for (int i = 0; ok && i < 5; ++i)
                ok = r.toInt(items[i + 1], values.mPresets[i]);
            ok = r.toInt(r.value(), values.mReference) && ok;
            if (items.size() < 6)
                r.warn("needs an item and five presets");
            else if (ok)
                mScrollValues[items[0]] = values;
        }
        if (r.key(L"[animal tricks starting progress min-max]"))
            readRange(r, mTrickProgressRanges);
        if (r.key(L"[animal taken away cost]"))
            r.readInt(mAnimalTakenAwayCost);
        if (r.key(L"[days to game over after minus balance]"))
            r.readInt(mDaysToGameOver);
        if (r.key(L"[animals per place]"))
            r.readInt(mAnimalsPerPlace);
        if (r.key(L"[animals prices accuracy]"))
            r.readInt(mAnimalsPricesAccuracy);
        if (r.key(L"[all tricks teaching price]"))
            r.readInt(mAllTricksTeachingPrice);
        if (r.key(L"[random animals to buy after (days)]"))
            r.readInt(mDaysBetweenNewAnimals);
        if (r.key(L"[mouse radius accuracy]"))
            r.readFloat(mMouseRadiusAccuracy);
        if (r.key(L"[advertise]")) {
            std::vector<std::wstring> items = r.items();
            int value = 0;
            if (items.size() < 2)
                r.warn("needs a name and a number");
            else if (r.toInt(items[1], value))
                mAdvertises.push_back(new Advertise(value, items[0]));
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
            r.readInt(mAccommodationTicketPrice);
        if (r.key(L"[teaching price]"))
            r.readInt(mTeachingPrice);
        if (r.key(L"[dinner price]"))
            r.readInt(mDinnerPrice);
        if (r.key(L"[drinks price]"))
            r.readInt(mDrinksPrice);
        if (r.key(L"[salad price]"))
            r.readInt(mSaladPrice);
        if (r.key(L"[salt in food]"))
            r.readInt(mSaltInFood);
        if (r.key(L"[car parking ticket price]"))
            r.readInt(mCarParkingTicketPrice);
        if (r.key(L"[owners accomodation price]"))
            r.readInt(mOwnersAccommodationPrice);
        if (r.key(L"[start park promotion]"))
            r.readInt(mActivePromotion);
        if (r.key(L"[animals to accomodation]")) {
            std::vector<int> n = readInts(r);
            if (n.size() >= 2) {
                mAnimalsToAccommodationMin = n[0];
                mAnimalsToAccommodationMax = n[1];
            } else {
                r.warn("needs two numbers");
            }
        }
        if (r.key(L"[animals starting hunger]"))
            r.readFloat(mAnimalsStartingHunger);
        if (r.key(L"[animals starting health]"))
            r.readFloat(mAnimalsStartingHealth);
        if (r.key(L"[animals starting happiness]"))
            r.readFloat(mAnimalsStartingHappiness);
        if (r.key(L"[game speed]"))
            r.readInt(mGameSpeed);
        if (r.key(L"[food stored]"))
            r.readInt(mFoodStored);
        if (r.key(L"[food stored max]"))
            r.readInt(mFoodStoredMax);
        if (r.key(L"[animal treat cost]"))
            r.readInt(mAnimalTreatCost);
        if (r.key(L"[building clean cost]"))
            r.readInt(mBuildingCleanCost);
        if (r.key(L"[building repair cost per part]"))
            r.readInt(mBuildingRepairCostPerPart);
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
            readPair(r, mBuildingSaleFactors);
        if (r.key(L"[animals sell percentage losses]"))
            readPair(r, mAnimalSaleFactors);
        if (r.key(L"[animal]"))
            mStartingAnimals.push_back(r.value());
        if (r.key(L"[dog popularity]"))
            r.readFloat(mDogPopularity);
        if (r.key(L"[cat popularity]"))
            r.readFloat(mCatPopularity);
        if (r.key(L"[dino popularity]"))
            r.readFloat(mDinoPopularity);
        if (r.key(L"[rabbit popularity]"))
            r.readFloat(mRabbitPopularity);
        if (r.key(L"[horse popularity]"))
            r.readFloat(mHorsePopularity);
        if (r.key(L"[max popularity]"))
            r.readFloat(mMaxPopularity);
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
    if (mDaysBetweenNewAnimals <= 0)
        std::printf("Warning: %s: [random animals to buy after (days)] is %d, taken as 1\n", path.c_str(),
                    mDaysBetweenNewAnimals);
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

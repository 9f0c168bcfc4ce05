#include "park/PublicManager.h"

#include "game/CashAccount.h"
#include "game/DataBuilding.h"
#include "game/DataStorage.h"
#include "game/GlobalSettings.h"
#include "game/KeyFile.h"
#include "game/MonthBalance.h"
#include "park/OnePerson.h"
#include "toolkit/utils/misc.h"

#include <cstdlib>

// Index: configuration - visitors - the day's spending

// ---- configuration

void LoadPublicConfig(PublicManager& manager)
{
    manager.mVisitors = 0;
    manager.mCars = 0;
    for (OnePerson* person : manager.mWalkers)
        delete person;
    manager.mWalkers.clear();
    manager.mParkingPlaces.clear();
    manager.mWalkingHelpers.clear();
    KeyFileReader r("data/game/public.txt");
    for (; r.more(); r.advance()) {
        if (r.key(L"[helper walking]")) {
            std::vector<std::wstring> items = r.items();
            int length = 0;
            if (items.size() >= 2 && r.toInt(items[1], length))
                manager.mWalkingHelpers.emplace_back(wideToString(items[0]), length);
        }
        if (r.key(L"[parking]")) {
            std::vector<int> places;
            for (const std::wstring& item : r.items()) {
                int place = 0;
                if (r.toInt(item, place))
                    places.push_back(place);
            }
            manager.mParkingPlaces.push_back(places);
        }
        if (r.key(L"[walking people max]"))
            r.readInt(manager.mWalkingPeopleMax);
    }
}

// ---- visitors

void PublicManager::update()
{
    float attraction = Singleton<DataStorage>::get()->computePopularity();
    mVisitors = static_cast<int>(attraction * mWalkingPeopleMax);
}

void PublicManager::spawnVisitorC1(OnePerson* person, int kind, const std::wstring& helper, float length)
{
    person->mKind = kind;
    person->mHelperName = helper;
    person->mPathLength = length;
    person->mProgress = 0.0f;
}

int PublicManager::setupCars()
{
    int cars = static_cast<int>(mVisitors * 0.5f);
    if (mWalkers.size() == 1)
        ++cars;
    DataStorage* storage = Singleton<DataStorage>::get();
    size_t level = 0;
    for (DataBuilding* building : storage->mParkBuildings) {
        if (building->fileName() == "OtherParking1.txt")
            level = 1;
        if (building->fileName() == "OtherParking2.txt")
            level = 2;
    }
    int places = level < mParkingPlaces.size() ? static_cast<int>(mParkingPlaces[level].size()) : 0;
    mCars = cars < places ? cars : places;
    return mCars;
}

// ---- the day's spending

namespace {
// Sales of a venue: base x visitors x (1 - 1 / (limit - price)) x 0.001, in single precision.
// A price equal to the limit sells nothing.
float sales(float base, int visitors, int limit, int price)
{
    if (limit == price)
        return 0.0f;
    return base * visitors * (1.0f - 1.0f / static_cast<float>(limit - price)) * 0.001f;
}
} // namespace

void PublicManager::newDay()
{
    DataStorage* storage = Singleton<DataStorage>::get();
    GlobalSettings* settings = storage->mGlobalSettings;
    int cars = setupCars();
    int v = mVisitors;
    int dinners = 0, drinks = 0, salads = 0, hotel = 0;
    if (storage->hasRestaurant()) {
        float d = sales(200.0f + std::rand() % 300, v, settings->scrollReference(L"Dinner"), settings->mDinnerPrice);
        float k = sales(300.0f + std::rand() % 600, v, settings->scrollReference(L"Drinks"), settings->mDrinksPrice);
        float s = sales(std::rand() % 500 + 400.0f, v, settings->scrollReference(L"Salads"), settings->mSaladPrice);
        float salt = settings->mSaltInFood * 0.1f;
        s = (salt - salt * salt) * s;
        k = k * (1.0f - salt) * 1.5f;
        dinners = static_cast<int>(d);
        drinks = static_cast<int>(k);
        salads = static_cast<int>(s);
    }
    if (storage->hasHotel())
        hotel = static_cast<int>(
            sales(std::rand() % 200 + 50.0f, v, settings->scrollReference(L"Hotel"), settings->mOwnersAccommodationPrice));
    int restaurant = dinners * settings->mDinnerPrice + salads * settings->mSaladPrice + drinks * settings->mDrinksPrice;
    int rooms = hotel * settings->mOwnersAccommodationPrice;
    int tickets = cars * settings->mCarParkingTicketPrice;
    settings->mCashAccount->addCash(restaurant + rooms + tickets);
    storage->mBalanceThisMonth->mValues[t_RestaurantSales] += restaurant;
    storage->mBalanceThisMonth->mValues[t_OwnersHotelSales] += rooms;
    storage->mBalanceThisMonth->mValues[t_ParkTicketsSale] += tickets;
    storage->mStatThisMonth->mValues[t_ParkTicketsSale] += cars + v;
    storage->mStatThisMonth->mValues[t_RestaurantSales] += dinners + salads + drinks;
    storage->mStatThisMonth->mValues[t_OwnersHotelSales] += hotel;
}

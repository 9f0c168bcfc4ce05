#include "game/DataAnimal.h"

#include "game/CashAccount.h"
#include "game/DataStorage.h"
#include "game/GlobalSettings.h"
#include "game/MonthBalance.h"
#include "game/ParkEvents.h"
#include "game/Ranges.h"
#include "game/TextFormat.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/utils/misc.h"

#include <cstdio>
#include <cstdlib>

// Index: a new animal - the park's animal - feeding - treatment and tricks - the animal's day

namespace {
const int kTopLevel = 7;
const int kTopHappiness = 4;
const double kHappinessFactor = 0.2857214285714285;
const char* const kPictureFolder = "data/game/Animals/Avatars/";

// trunc(lo + (hi - lo + 1) x r) with r = (rand() % 1000) x 0.001.
template <class T>
int drawInRange(T lo, T hi)
{
    double r = (std::rand() % 1000) * 0.001;
    double low = static_cast<double>(lo);
    return truncatedWithin(low + (static_cast<double>(hi) - low + 1.0) * r, INT_MIN, INT_MAX);
}

// Falling ill, by hunger level 0 to 7: one chance in this many (0: no draw).
const int kIllnessOdds[8] = {0, 3, 10, 20, 40, 90, 140, 220};
} // namespace

// ---- a new animal

DataAnimal::DataAnimal(const std::wstring& name, const std::wstring& type, float hungerDrop, float healthDrop,
                       int pictureIndex)
    : mPictureIndex(pictureIndex), mName(name), mType(type), mHungerDrop(hungerDrop), mHealthDrop(healthDrop)
{
    if (std::rand() % 3 == 0) {
        mSick = 1;
        mHealth = std::rand() % 5 + 3;
    } else {
        mSick = 0;
        mHealth = kTopLevel;
    }
    mHunger = std::rand() % 6 + 2;
    mHappiness = happinessOf(mHunger, mHealth);

    GlobalSettings* settings = Singleton<DataStorage>::get()->mGlobalSettings;
    std::pair<float, float> progress(0.0f, 0.0f);
    auto found = settings->mTrickProgressRanges.find(mType);
    if (found != settings->mTrickProgressRanges.end())
        progress = found->second;
    for (int& trick : mTrickProgress)
        trick = drawInRange(progress.first, progress.second);
    randomizeAttributes();
    mTeachingPrice = settings->mTeachingPrice;
    mAllTricksPrice = settings->mAllTricksTeachingPrice;
    mAccommodationFee = moneyProduct(settings->mAccommodationTicketPrice, mStayDays);
}

void DataAnimal::randomizeAttributes()
{
    GlobalSettings* settings = Singleton<DataStorage>::get()->mGlobalSettings;
    std::pair<int, int> stay(0, 0);
    auto found = settings->mDaysToLearnRanges.find(mType);
    if (found != settings->mDaysToLearnRanges.end())
        stay = found->second;
    mStayDays = drawInRange(stay.first, stay.second);
}

void DataAnimal::loadPicture(int index)
{
    mPictureIndex = index;
    const std::vector<std::string>& files = Singleton<DataStorage>::get()->mSkinFiles[mType];
    if (index >= 0 && index < static_cast<int>(files.size()))
        mPicture = requestImage(kPictureFolder + files[index]);
}

int DataAnimal::happinessOf(int hunger, int health)
{
    int happiness = static_cast<int>((hunger + health) * kHappinessFactor);
    return happiness < 0 ? 0 : happiness > kTopHappiness ? kTopHappiness : happiness;
}

int DataAnimal::placeNumber() const
{
    if (!mAvatar)
        return -1;
    const std::string place = parkEvents().figurePlaceName(mAvatar);
    if (place.empty())
        return -1;
    char last = place.back();
    return last >= '0' && last <= '9' ? last - '0' : -1;
}

// ---- the park's animal

DataAnimal* DataAnimal::placeInPark(const DataAnimal* offer)
{
    DataStorage* storage = Singleton<DataStorage>::get();
    const std::vector<AnimalHelper>& places = storage->mAnimalHelpers[offer->mType];
    int free = -1;
    for (size_t i = 0; i < places.size() && free < 0; ++i) {
        bool taken = false;
        for (DataAnimal* animal : storage->mParkAnimals)
            if (animal->mType == offer->mType && animal->mAvatar &&
                stringToWide(parkEvents().figurePlaceName(animal->mAvatar)) == places[i].mNode)
                taken = true;
        if (!taken)
            free = static_cast<int>(i);
    }
    if (free < 0) {
        std::printf("Warning: no free place for a %s in the park\n", wideToString(offer->mType).c_str());
        return nullptr;
    }

    DataAnimal* animal = new DataAnimal(offer->mName, offer->mType, offer->mHungerDrop, offer->mHealthDrop,
                                        offer->mPictureIndex);
    animal->mHunger = offer->mHunger;
    animal->mHealth = offer->mHealth;
    animal->mHappiness = offer->mHappiness;
    animal->mDaysToTeach = offer->mDaysToTeach;
    for (int i = 0; i < 3; ++i) {
        animal->mTrickFees[i] = offer->mTrickFees[i];
        animal->mTrickProgress[i] = offer->mTrickProgress[i];
    }
    animal->mTeachingPrice = offer->mTeachingPrice;
    animal->mAccommodationFee = offer->mAccommodationFee;
    animal->mStayDays = offer->mStayDays;
    animal->mHungerAcc = 0.0f;
    animal->mHealthAcc = 0.0f;
    animal->mAtDoctor = 0;
    animal->mFed = 0;
    animal->loadPicture(offer->mPictureIndex);

    const AnimalHelper& place = places[free];
    animal->mAvatar = parkEvents().makeAnimalFigure(animal->mType, wideToString(place.mNode), free,
                                                    animal->mPictureIndex, place.mAnimation);
    return animal;
}

// ---- feeding

int DataAnimal::feed()
{
    GlobalSettings* settings = Singleton<DataStorage>::get()->mGlobalSettings;
    if (--settings->mFoodStored < 0) {
        settings->mFoodStored = 0;
        parkEvents().showPopup(0, 1, textsManager.get(L"nofood"), textsManager.get(L"buysomefood"), nullptr);
        return 0;
    }
    ++mHunger;
    if (mAvatar && parkEvents().figureAnimation(mAvatar) == L"chodzenie")
        parkEvents().playFigureOnce(mAvatar, L"jedzenie");
    mFed = 1;
    return 1;
}

// ---- treatment and tricks

// The treat cost P x (7 - health) / 7 rounded down: P + h x (-1/7) x P in double precision, the
// health taken as a float first, truncated toward zero.
int DataAnimal::treatmentCost() const
{
    const int price = Singleton<DataStorage>::get()->mGlobalSettings->mAnimalTreatCost;
    return static_cast<int>(price + static_cast<double>(static_cast<float>(mHealth)) * (-1.0 / 7.0) * price);
}

void DataAnimal::treat(int cost)
{
    cure();
    Singleton<DataStorage>::get()->transaction(t_PetsMedicalCare, -cost);
}

int DataAnimal::teachLesson(int n, int price, bool* mastered)
{
    DataStorage* storage = Singleton<DataStorage>::get();
    int& level = mTrickProgress[n];
    *mastered = level == kTopLevel - 1;
    if (level < kTopLevel)
        ++level;
    int amount = -price;
    storage->mBalanceThisMonth->book(t_Other, -static_cast<long long>(price));
    if (*mastered) {
        amount += mTeachingPrice;
        storage->mBalanceThisMonth->book(t_TricksTeached, mTeachingPrice);
        storage->mStatThisMonth->book(t_TricksTeached, 1);
        mTrickFees[n] = mTeachingPrice;
    }
    storage->mGlobalSettings->mCashAccount->addCashUnshown(amount);
    return amount;
}

int DataAnimal::earnAllTricksReward()
{
    DataStorage* storage = Singleton<DataStorage>::get();
    storage->mBalanceThisMonth->book(t_TricksTeached, mAllTricksPrice);
    storage->mGlobalSettings->mCashAccount->addCashUnshown(mAllTricksPrice);
    return mAllTricksPrice;
}

// ---- the animal's day

void DataAnimal::cure()
{
    mSick = 0;
    mHealth = kTopLevel;
    mAtDoctor = 0;
}

void DataAnimal::newDay()
{
    int wasSick = mSick;
    if (mAtDoctor) {
        mHealth = kTopLevel;
        mAtDoctor = 0;
    } else if (mSick) {
        mHealthAcc += mHealthDrop;
        if (mHealthAcc > 1.0f) {
            mHealthAcc = 0.0f;
            if (mHealth > 0)
                --mHealth;
        }
    }

    if (mFed) {
        if (mHunger > kTopLevel)
            mHunger = kTopLevel;
        mFed = 0;
    } else {
        mHungerAcc += mHungerDrop;
        if (mHungerAcc > 1.0f) {
            mHungerAcc = 0.0f;
            if (mHunger > 0)
                --mHunger;
        }
    }

    if (!wasSick) {
        int level = mHunger < 0 ? 0 : mHunger > kTopLevel ? kTopLevel : mHunger;
        int odds = kIllnessOdds[level];
        if (odds && std::rand() % odds == 0) {
            mSick = 1;
            if (mHealth > 0)
                --mHealth;
        }
    }

    if (--mStayDays == 0)
        mLeaving = 1;
    if (mDaysToTeach > 0)
        --mDaysToTeach;

    if (mHunger == 0 || mHealth == 0) {
        DataStorage* storage = Singleton<DataStorage>::get();
        int cost = storage->mGlobalSettings->mAnimalTakenAwayCost;
        storage->mGlobalSettings->mCashAccount->addCash(-cost);
        storage->mBalanceThisMonth->book(t_Other, -static_cast<long long>(cost));
        parkEvents().showPopup(0, 0, textsManager.get(L"doctorvisit"),
                               formatWithNumber(textsManager.get(L"doctorvisitmessage"), cost), nullptr);
        mHealth = kTopLevel;
        mHunger = kTopLevel;
        parkEvents().resetCamera();
        parkEvents().refillPetScreens();
    }
}

void DataAnimal::drawAvatar()
{
    if (!mAtDoctor && mAvatar)
        parkEvents().drawFigure(mAvatar);
}

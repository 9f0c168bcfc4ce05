#include "ParkTestData.h"

#include "game/CashAccount.h"
#include "game/DataAnimal.h"
#include "park/AnimalAvatar.h"
#include "park/GameBackground3D.h"
#include "park/GameCamera.h"

#include <gtest/gtest.h>

namespace {

class Animals : public testing::Test {
protected:
    void SetUp() override
    {
        data.writeDefault();
        storage = ParkTestData::load(5);
        settings = storage->mGlobalSettings;
        dog = storage->mParkAnimals[0];
    }

    ParkTestData data;
    DataStorage* storage = nullptr;
    GlobalSettings* settings = nullptr;
    DataAnimal* dog = nullptr;
};

TEST_F(Animals, NewAnimalsDrawTheirValuesWithinTheRules)
{
    int sick = 0;
    for (int i = 0; i < 300; ++i) {
        DataAnimal animal(L"Rex", L"dog", 0.5f, 0.3f, 1);
        sick += animal.mSick;
        EXPECT_GE(animal.mHealth, animal.mSick ? 3 : 7);
        EXPECT_LE(animal.mHealth, 7);
        EXPECT_GE(animal.mHunger, 2);
        EXPECT_LE(animal.mHunger, 7);
        EXPECT_EQ(animal.mHappiness, DataAnimal::happinessOf(animal.mHunger, animal.mHealth));
        // "[animal tricks starting progress min-max]" dog 1 1 and a stay of 5 to 5 days.
        EXPECT_EQ(animal.mTrickProgress[0], 1);
        EXPECT_EQ(animal.mStayDays, 5);
        EXPECT_EQ(animal.mAccommodationFee, 100);
        EXPECT_EQ(animal.mTeachingPrice, 50);
        EXPECT_EQ(animal.mAllTricksPrice, 300);
        EXPECT_EQ(animal.mDaysToTeach, -1);
        EXPECT_EQ(animal.mTrickFees[2], 0);
    }
    // Ill about one time in three.
    EXPECT_GT(sick, 60);
    EXPECT_LT(sick, 140);
    // A species without ranges stays 0 days and learns from 0.
    DataAnimal seal(L"Sam", L"seal", 0.5f, 0.3f, 0);
    EXPECT_EQ(seal.mStayDays, 0);
    EXPECT_EQ(seal.mTrickProgress[1], 0);
}

TEST_F(Animals, HappinessIsHeldWithinItsPictures)
{
    EXPECT_EQ(DataAnimal::happinessOf(7, 7), 4);
    EXPECT_EQ(DataAnimal::happinessOf(3, 4), 2);
    EXPECT_EQ(DataAnimal::happinessOf(0, 0), 0);
    // Overfed: hunger 11 with health 7 would give 5.
    EXPECT_EQ(DataAnimal::happinessOf(11, 7), 4);
}

TEST_F(Animals, FeedingTakesOnePortionOrShowsTheEmptyStore)
{
    settings->mFoodStored = 1;
    dog->mHunger = 5;
    EXPECT_EQ(dog->feed(), 1);
    EXPECT_EQ(settings->mFoodStored, 0);
    EXPECT_EQ(dog->mHunger, 6);
    EXPECT_EQ(dog->mFed, 1);
    // The walking figure eats, then walks on.
    EXPECT_EQ(dog->mAvatar->mAnimation, L"jedzenie");
    EXPECT_EQ(dog->mAvatar->mNextAnimation, L"chodzenie");
    EXPECT_EQ(dog->mAvatar->mAnimTime, 40.0f);

    EXPECT_EQ(dog->feed(), 0);
    EXPECT_EQ(settings->mFoodStored, 0);
    EXPECT_EQ(dog->mHunger, 6);
    Popup* popup = Singleton<Popup>::get();
    EXPECT_EQ(popup->title, L"No food");
    EXPECT_EQ(popup->text, L"Buy food.");
    EXPECT_EQ(popup->buttons, 0);
    EXPECT_EQ(popup->variant, 1);
    EXPECT_EQ(popup->result, nullptr);
    EXPECT_EQ(Singleton<MenuManager>::get()->mCurrentMenu, L"popupstart");
}

TEST_F(Animals, OverfeedingIsCutBackTheNextDay)
{
    settings->mFoodStored = 10;
    dog->mHunger = 7;
    dog->mSick = 1; // no illness draw
    dog->feed();
    dog->feed();
    EXPECT_EQ(dog->mHunger, 9);
    dog->newDay();
    EXPECT_EQ(dog->mHunger, 7);
    EXPECT_EQ(dog->mFed, 0);
    EXPECT_EQ(dog->mHungerAcc, 0.0f);
}

TEST_F(Animals, AnIllAnimalLosesHealthWhenTheAccumulatorPassesOne)
{
    dog->mSick = 1;
    dog->mHealth = 6;
    dog->mHealthDrop = 0.5f;
    dog->mHungerDrop = 0.0f;
    dog->mStayDays = 100;
    std::vector<int> health;
    for (int day = 0; day < 6; ++day) {
        dog->newDay();
        health.push_back(dog->mHealth);
    }
    // 0.5 + 0.5 is not above 1: a level every third day.
    EXPECT_EQ(health, (std::vector<int>{6, 6, 5, 5, 5, 4}));

    // A healthy animal's health never decays, and a vet visit restores it.
    dog->mSick = 0;
    dog->mAtDoctor = 1;
    dog->newDay();
    EXPECT_EQ(dog->mHealth, 7);
    EXPECT_EQ(dog->mAtDoctor, 0);
}

TEST_F(Animals, HungerFallsAndHungryAnimalsFallIll)
{
    dog->mHungerDrop = 0.6f;
    dog->mStayDays = 100;
    dog->mHunger = 2;
    dog->mSick = 0;
    int ill = 0;
    // At hunger 1 an animal falls ill one time in three.
    for (int i = 0; i < 300; ++i) {
        dog->mHunger = 1;
        dog->mHungerAcc = 0.0f;
        dog->mSick = 0;
        dog->mHealth = 7;
        dog->newDay();
        ill += dog->mSick;
        if (dog->mSick) {
            EXPECT_EQ(dog->mHealth, 6);
        }
    }
    EXPECT_GT(ill, 70);
    EXPECT_LT(ill, 130);
    dog->mHunger = 3;
    dog->mHungerAcc = 0.5f;
    dog->mSick = 1;
    dog->newDay();
    EXPECT_EQ(dog->mHunger, 2);
    EXPECT_EQ(dog->mHungerAcc, 0.0f);
}

TEST_F(Animals, StarvingAnimalIsTakenToTheVetOnceAtThePlayersCost)
{
    GameCamera* camera = Singleton<GameBackground3D>::get()->mCamera;
    camera->mFollowAnimal = dog;
    dog->mHunger = 0;
    dog->mSick = 0;
    dog->mStayDays = 100;
    int cash = settings->mCashAccount->mCash;
    dog->newDay();
    EXPECT_EQ(settings->mCashAccount->mCash, cash - 400);
    EXPECT_EQ(storage->mBalanceThisMonth->mValues[t_Other], -400);
    EXPECT_EQ(storage->mStatThisMonth->mValues[t_Other], 0);
    EXPECT_EQ(dog->mHunger, 7);
    EXPECT_EQ(dog->mHealth, 7);
    EXPECT_EQ(camera->mFollowAnimal, nullptr);
    Popup* popup = Singleton<Popup>::get();
    EXPECT_EQ(popup->title, L"Vet");
    // The text's own "%d" gets the cost; nothing else of it is a format.
    EXPECT_EQ(popup->text, L"The vet took 400 coins (%s %ls).");
    EXPECT_EQ(popup->variant, 0);
    EXPECT_EQ(Singleton<MenuManager>::get()->mCurrentMenu, L"popupstart");

    // The next day starts at 7 and 7: no second visit.
    dog->newDay();
    EXPECT_EQ(settings->mCashAccount->mCash, cash - 400);
}

TEST_F(Animals, StayEndsWhenItsDaysReachZero)
{
    dog->mStayDays = 2;
    dog->mDaysToTeach = 1;
    dog->newDay();
    EXPECT_EQ(dog->mLeaving, 0);
    EXPECT_EQ(dog->mDaysToTeach, 0);
    dog->newDay();
    EXPECT_EQ(dog->mLeaving, 1);
    EXPECT_EQ(dog->mDaysToTeach, 0);
}

TEST_F(Animals, AcceptedOfferTakesTheFirstFreePlace)
{
    DataAnimal offer(L"Luna", L"dog", 0.7f, 0.2f, 1);
    offer.mHunger = 3;
    offer.mHealth = 5;
    offer.mTrickFees[1] = 9;
    offer.mStayDays = 11;
    offer.mAccommodationFee = 220;
    DataAnimal* placed = DataAnimal::placeInPark(&offer);
    ASSERT_NE(placed, nullptr);
    storage->mParkAnimals.push_back(placed);
    EXPECT_EQ(placed->mName, L"Luna");
    EXPECT_EQ(placed->mHunger, 3);
    EXPECT_EQ(placed->mHealth, 5);
    EXPECT_EQ(placed->mHungerDrop, 0.7f);
    EXPECT_EQ(placed->mTrickFees[1], 9);
    EXPECT_EQ(placed->mStayDays, 11);
    EXPECT_EQ(placed->mAccommodationFee, 220);
    EXPECT_EQ(placed->mPictureIndex, 1);
    ASSERT_NE(placed->mAvatar, nullptr);
    EXPECT_EQ(placed->mAvatar->mPlaceNodeName, "helper_pies2");
    EXPECT_EQ(placed->mAvatar->mCreatorWord, 1);
    EXPECT_EQ(placed->mAvatar->mLayerMask, L"0000");
    EXPECT_EQ(placed->mAvatar->mAnimation, L"chodzenie");

    DataAnimal* third = DataAnimal::placeInPark(&offer);
    ASSERT_NE(third, nullptr);
    storage->mParkAnimals.push_back(third);
    EXPECT_EQ(third->mAvatar->mPlaceNodeName, "helper_pies3");
    // No place left: refused, nothing created.
    testing::internal::CaptureStdout();
    EXPECT_EQ(DataAnimal::placeInPark(&offer), nullptr);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("no free place"), std::string::npos);
}

} // namespace

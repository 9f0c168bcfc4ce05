#pragma once

// One animal: a guest living in the park, or one offered for a stay. New animals draw their
// health, hunger, trick progress and length of stay at random; the park's animals go hungry,
// fall ill and leave when their stay is over.

#include "render/CRender.h"

#include <string>

class AnimalAvatar;

class DataAnimal {
public:
    // Draws the random values: ill one time in three, hunger 2 to 7, trick progress and stay
    // from the species' ranges of "global.txt"; the fees from the current prices.
    DataAnimal(const std::wstring& name, const std::wstring& type, float hungerDrop, float healthDrop,
               int pictureIndex);

    // Draws the length of the stay.
    void randomizeAttributes();
    // Sets the picture index and requests the picture (a no-op for an index the species lacks).
    void loadPicture(int index);
    // The park's animal for an accepted offer, standing at the first free place of its species
    // with its figure; null (with a warning) when the species has no free place.
    static DataAnimal* placeInPark(const DataAnimal* offer);
    // Gives one portion from the food store; 0 with the "nofood" popup when the store is empty.
    int feed();
    // Draws the animal's figure in the park, unless the animal is at the doctor.
    void drawAvatar();
    // The animal's day: health, hunger, falling ill, the stay, teaching, the forced vet visit.
    void newDay();
    // Treated: not sick, health 7, not at the doctor.
    void cure();
    // The price of a treatment by the park's treat cost P: P x (7 - health) / 7 rounded down.
    int treatmentCost() const;
    // Cured at cost, paid and booked.
    void treat(int cost);
    // A lesson of trick n (0 to 2) paid at price: the trick's level rises, and reaching the top
    // level earns the animal's trick reward (kept as the trick's fee; *mastered tells). The cash
    // changes by the amount returned without a floating amount: the trick show shows it.
    int teachLesson(int n, int price, bool* mastered);
    // The all-tricks reward earned and booked the same way; returns it.
    int earnAllTricksReward();
    // Happiness of two levels: trunc((hunger + health) x 0.2857214285714285), held in 0..4 so
    // an overfed animal still has a happiness its pictures show.
    static int happinessOf(int hunger, int health);
    // The number of the place the figure stands at (the last digit of its place name), -1 for
    // an animal without a figure.
    int placeNumber() const;

    std::string mText;                  // empty; kept as the record has it
    AnimalAvatar* mAvatar = nullptr;    // none while on offer
    int mPictureIndex = 0;
    CRender::Image* mPicture = nullptr;
    std::wstring mName;
    std::wstring mType;                 // lower case: dog, cat, dino, rabbit, horse
    int mSick = 0;
    int mHunger = 7;
    int mHealth = 7;
    float mHungerDrop = 0.0f;
    float mHungerAcc = 0.0f;
    float mHealthDrop = 0.0f;
    float mHealthAcc = 0.0f;
    int mHappiness = 0;
    int mAtDoctor = 0;
    int mFed = 0;
    int mLeaving = 0;
    int mAccommodationFee = 0;
    int mTeachingPrice = 0;
    int mAllTricksPrice = 0;
    int mTrickProgress[3] = {};
    int mTrickFees[3] = {};
    int mStayDays = 0;
    int mDaysToTeach = -1;
};

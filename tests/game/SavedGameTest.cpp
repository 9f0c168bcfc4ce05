#include "ParkTestData.h"

#include "game/CashAccount.h"
#include "game/DataAchievement.h"
#include "game/DataAnimal.h"
#include "game/DataBuilding.h"
#include "game/GameDate.h"
#include "game/GameOptions.h"
#include "game/ParkEvents.h"
#include "game/Profiles.h"
#include "game/Promotion.h"
#include "park/AnimalAvatar.h"
#include "park/OnePerson.h"
#include "park/PublicManager.h"
#include "source_menu/MenuIngame.h"
#include "source_menu/Tutorial.h"
#include "toolkit/utils/misc.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const char* const kPublic = "[walking people max]\n100\n\n[helper walking]\npath_a 300\n\n[helper walking]\npath_b 500\n\n"
                            "[parking]\n1 2 3\n\n[parking]\n1 2 3 4 5 6\n\n[parking]\n1 2 3 4 5 6 7 8 9\n";

class SavedGame : public testing::Test {
protected:
    void SetUp() override
    {
        data.writeDefault();
        data.write("data/game/public.txt", kPublic);
        storage = ParkTestData::load(11);
        LoadPublicConfig(*Singleton<PublicManager>::get());
        storage->mProfiles.clear();
        storage->mCurrentProfile = -1;
    }
    void TearDown() override
    {
        storage->mCurrentProfile = -1;
        storage->mProfiles.clear();
    }

    std::string save(const std::string& name = "data/game/Profiles/profile1.txt")
    {
        EXPECT_TRUE(saveProfile(name, L"Anna", L"avatar1.png", 1, 3, -1, 1, 0, 1));
        return data.read(name);
    }
    DataProfile* profile(const std::string& name = "data/game/Profiles/profile1.txt")
    {
        DataProfile* p = new DataProfile(name);
        storage->retire(p);
        return p;
    }
    // Empties the park, as a fresh header read leaves it.
    void emptyPark()
    {
        for (DataAnimal* animal : storage->mParkAnimals)
            storage->retire(animal);
        storage->mParkAnimals.clear();
        storage->mParkBuildings.clear();
    }

    ParkTestData data;
    DataStorage* storage = nullptr;
};

TEST_F(SavedGame, EmptyParkWritesTheSingleSectionsExactly)
{
    emptyPark();
    GlobalSettings* settings = storage->mGlobalSettings;
    settings->mCashAccount->mCash = 1234;
    settings->mCashAccount->mLoan = 600;
    storage->mBalanceThisMonth->mValues[0] = -1500;
    storage->mStatThisMonth->mValues[13] = 2;
    std::string expected = std::string("\xEF\xBB\xBF") +
                           "[section counts]\n0 0 0\n\n"
                           "[name]\nAnna\n\n"
                           "[tutorial]\n1 3 -1\n1 0 1\n\n"
                           "[food]\n10\n\n"
                           "[avatar]\navatar1.png\n\n"
                           "[loan]\n600\n\n"
                           "[cash]\n1234\n\n"
                           "[date]\n28 2 2010\n\n"
                           "[mBalanceThisMonth]\n-1500 0 0 0 0 0 0 0 0 0 0 0 0 0\n\n"
                           "[mBalanceLastMonth]\n0 0 0 0 0 0 0 0 0 0 0 0 0 0\n\n"
                           "[mStatLastMonth]\n0 0 0 0 0 0 0 0 0 0 0 0 0 0\n\n"
                           "[mStatThisMonth]\n0 0 0 0 0 0 0 0 0 0 0 0 0 2\n\n"
                           "[food stored]\n10\n\n"
                           "[accomodation ticket price]\n20\n\n"
                           "[teaching price]\n50\n\n"
                           "[dinner price]\n0\n\n"
                           "[drinks price]\n0\n\n"
                           "[salad price]\n0\n\n"
                           "[salt in food]\n0\n\n"
                           "[souvenirs price]\n0\n\n"
                           "[car ticket price]\n4\n\n"
                           "[act park promotion]\n-1\n0\n";
    EXPECT_EQ(save(), expected);
    // Written beside the target and renamed over it: nothing else is left in the folder.
    int files = 0;
    for (auto& entry : std::filesystem::directory_iterator("data/game/Profiles"))
        files += entry.is_regular_file();
    EXPECT_EQ(files, 1);
}

TEST_F(SavedGame, ParkSectionsFollowInTheirOrder)
{
    GlobalSettings* settings = storage->mGlobalSettings;
    settings->mActivePromotion = 2;
    storage->mPromotions[1]->mDaysLeft = 12;
    storage->mAchievements[1]->mDone = 1;
    DataBuilding* kennel = storage->mParkBuildings[0];
    kennel->mCleanness = 5;
    kennel->mCleaning = 1;
    kennel->mCleannessAcc = 0.1f;
    kennel->mConditionAcc = 1e-5f;
    DataAnimal* dog = storage->mParkAnimals[0];
    dog->mName = L"Sir Rex";
    dog->mPictureIndex = 1;
    dog->mHunger = 9;
    dog->mHungerAcc = 0.35f;
    dog->mFed = 1;
    dog->mHealth = 4;
    dog->mHealthAcc = 0.0f;
    dog->mAtDoctor = 0;
    dog->mSick = 1;
    dog->mHungerDrop = 0.5f;
    dog->mHealthDrop = 2.0f;
    dog->mTrickProgress[0] = 3;
    dog->mTrickProgress[1] = 0;
    dog->mTrickProgress[2] = 7;
    dog->mStayDays = 11;
    dog->mDaysToTeach = -1;
    PublicManager* visitors = Singleton<PublicManager>::get();
    for (float progress : {12.5f, 0.0f}) {
        OnePerson* walker = new OnePerson();
        walker->mProgress = progress;
        visitors->mWalkers.push_back(walker);
    }

    std::string text = save();
    EXPECT_NE(text.find("[mStatThisMonth]\n0 0 0 0 0 0 0 0 0 0 0 0 0 0\n\n[achievement]\nLast\n\n[food stored]"),
              std::string::npos);
    // From the promotion on, every line of the park's sections; the file ends with the last
    // walker's value line.
    std::string park = "[act park promotion]\n2\n12\n\n"
                       "[building]\nDogHouse1.txt\n5\n1 0.100000001\n7\n0 9.99999975e-06\n\n"
                       "[animal]\ndog Sir Rex 1\nhelper_pies1 0\n9 0.349999994 1\n4 0 0 1\n0.5 2\n3 0 7\n11 -1\n\n"
                       "[person walking]\n12.5\n[person walking]\n0";
    ASSERT_NE(text.find("[act park promotion]"), std::string::npos);
    EXPECT_EQ(text.substr(text.find("[act park promotion]")), park);
}

TEST_F(SavedGame, AParkRunFortyDaysReadsBackToTheSameFile)
{
    GlobalSettings* settings = storage->mGlobalSettings;
    storage->mProfiles.push_back(profile());
    storage->mProfiles[0]->mName = L"Anna";
    storage->mProfiles[0]->mAvatarFile = L"avatar1.png";
    storage->mCurrentProfile = 0;
    Singleton<Tutorial>::get()->step = 3;
    settings->mFoodStored = 60;
    settings->mActivePromotion = 1;
    storage->mPromotions[0]->buy();
    storage->mParkBuildings.push_back(storage->mBuildingDefinitions[1]);
    storage->mParkBuildings[0]->orderRepair();
    Singleton<PublicManager>::get()->mVisitors = 20;
    for (int day = 0; day < 40; ++day) {
        for (DataAnimal* animal : storage->mParkAnimals)
            if (animal->mHunger < 6)
                animal->feed();
        if (storage->mParkAnimals.size() < 2)
            for (DataAnimal* offer : storage->mAnimalsForSale)
                if (offer->mType == L"dog") {
                    storage->mParkAnimals.push_back(DataAnimal::placeInPark(offer));
                    break;
                }
        OnePerson* walker = new OnePerson();
        walker->mProgress = day * 0.37f;
        Singleton<PublicManager>::get()->mWalkers.push_back(walker);
        storage->newDay();
    }
    ASSERT_EQ(settings->mDate->mMonth, 4);
    std::string first = data.read("data/game/Profiles/profile1.txt");
    ASSERT_FALSE(first.empty());
    EXPECT_NE(first.find("[animal]"), std::string::npos);
    EXPECT_NE(first.find("[person walking]"), std::string::npos);

    // Keep what the file holds, then read it back.
    int cash = settings->mCashAccount->mCash;
    std::vector<int> hunger;
    for (DataAnimal* animal : storage->mParkAnimals)
        hunger.push_back(animal->mHunger);
    MonthBalance last = *storage->mBalanceLastMonth;
    Tutorial* tutorial = Singleton<Tutorial>::get();
    tutorial->step = 0;

    loadProfile(storage->mProfiles[0], 0);
    EXPECT_EQ(settings = storage->mGlobalSettings, storage->mGlobalSettings);
    EXPECT_EQ(settings->mCashAccount->mCash, cash);
    EXPECT_EQ(settings->mDate->mMonth, 4);
    EXPECT_EQ(settings->mDate->mStartYear, 2010);
    ASSERT_EQ(storage->mParkAnimals.size(), hunger.size());
    for (size_t i = 0; i < hunger.size(); ++i) {
        EXPECT_EQ(storage->mParkAnimals[i]->mHunger, hunger[i]);
        EXPECT_EQ(storage->mParkAnimals[i]->mTrickFees[0], 0);
        EXPECT_EQ(storage->mParkAnimals[i]->mHappiness,
                  DataAnimal::happinessOf(storage->mParkAnimals[i]->mHunger, storage->mParkAnimals[i]->mHealth));
    }
    EXPECT_EQ(storage->mParkBuildings.size(), 2u);
    EXPECT_NE(storage->mParkBuildings[0], storage->mBuildingDefinitions[0]);
    EXPECT_EQ(std::vector<int>(last.mValues, last.mValues + 14),
              std::vector<int>(storage->mBalanceLastMonth->mValues, storage->mBalanceLastMonth->mValues + 14));
    EXPECT_EQ(Singleton<PublicManager>::get()->mWalkers.size(), 40u);
    EXPECT_EQ(tutorial->step, 3);
    EXPECT_EQ(storage->mProfiles[0]->mAvatarFile, L"avatar1.png");
    EXPECT_FALSE(storage->mAnimalsForSale.empty());

    Tutorial values = *tutorial;
    ASSERT_TRUE(saveProfile(storage->mProfiles[0]->mPath, storage->mProfiles[0]->mName,
                            storage->mProfiles[0]->mAvatarFile, storage->mProfiles[0]->mTutorial, values.step,
                            values.pointerTarget, values.buildingBought, values.petAccepted, values.foodBought));
    EXPECT_EQ(data.read("data/game/Profiles/profile1.txt"), first);
}

TEST_F(SavedGame, HeaderReadKeepsTheFreshPark)
{
    storage->mGlobalSettings->mCashAccount->mCash = 77;
    save();
    DataProfile* p = profile();
    loadProfile(p, 1);
    EXPECT_EQ(p->mName, L"Anna");
    EXPECT_EQ(p->mAvatarFile, L"avatar1.png");
    EXPECT_EQ(p->mTutorial, 1);
    EXPECT_EQ(Singleton<Tutorial>::get()->foodBought, 1);
    EXPECT_EQ(storage->mGlobalSettings->mCashAccount->mCash, 1000);
    EXPECT_TRUE(storage->mParkAnimals.empty());
    EXPECT_TRUE(storage->mParkBuildings.empty());
    EXPECT_TRUE(Singleton<PublicManager>::get()->mWalkers.empty());
}

TEST_F(SavedGame, KeysCaseAndAchievementNames)
{
    data.write("data/game/Profiles/profile1.txt",
               "[CASH]\n55\n\n[mbalancethismonth]\n1 1 1 1 1 1 1 1 1 1 1 1 1 1\n\n[achievement]\nlast\n\n"
               "[achievement]\nFirst\n\n[achievement]\nFirst\n\n[food stored]\n999\n\n[food]\n12\n");
    loadProfile(profile(), 0);
    EXPECT_EQ(storage->mGlobalSettings->mCashAccount->mCash, 55);
    EXPECT_TRUE(storage->mGlobalSettings->mCashAccount->mAmounts.empty());
    EXPECT_EQ(storage->mBalanceThisMonth->total(), 0);
    EXPECT_EQ(storage->mAchievements[0]->mDone, 1);
    EXPECT_EQ(storage->mAchievements[1]->mDone, 0);
    EXPECT_EQ(storage->mGlobalSettings->mFoodStored, 12);
}

// A notice pays its achievement's reward when the player opens it. One not yet opened is saved
// with the park and waits again, unpaid, once the park is loaded; a notice left from a park no
// longer loaded (the game data read again since) is not saved with this one.
TEST_F(SavedGame, NoticesNotYetOpenedWaitAgainAfterLoading)
{
    std::vector<Achievement*>& notices = Singleton<MenuIngame>::get()->mNotices;
    parkEvents().dropNotices();
    DataAchievement* earlier = new DataAchievement("data/game/Achievements/a1.txt");
    storage->retire(earlier);
    notices.push_back(new Achievement(earlier));
    ASSERT_EQ(storage->mAchievements[1]->mName, L"Last");
    testing::internal::CaptureStderr();
    storage->achievementReached(storage->mAchievements[1]);
    testing::internal::GetCapturedStderr();
    const int cash = storage->mGlobalSettings->mCashAccount->mCash;
    const std::string text = save();
    EXPECT_NE(text.find("[achievement]\nLast\n\n[achievement notice]\nLast\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("[achievement notice]\nFirst"), std::string::npos) << text;

    loadProfile(profile(), 0);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0]->item, storage->mAchievements[1]) << "the loaded park's own record";
    EXPECT_EQ(notices[0]->state, 0);
    EXPECT_EQ(storage->mGlobalSettings->mCashAccount->mCash, cash) << "the reward still waits";
    parkEvents().dropNotices();
}

TEST_F(SavedGame, AnimalNamesWithSpacesReadBackWhole)
{
    storage->mParkAnimals[0]->mName = L"Lady  Grey Paws";
    save();
    loadProfile(profile(), 0);
    ASSERT_EQ(storage->mParkAnimals.size(), 1u);
    EXPECT_EQ(storage->mParkAnimals[0]->mName, L"Lady Grey Paws");
    EXPECT_EQ(storage->mParkAnimals[0]->mAvatar->mPlaceNodeName, "helper_pies1");
}

TEST_F(SavedGame, MalformedSectionsAreSkippedWithAWarning)
{
    data.write("data/game/Profiles/profile1.txt",
               "[cash]\n500\n\n[mBalanceThisMonth]\n1 2 3\n\n[date]\n31 2 2011\n\n"
               "[building]\n../global.txt\n7\n0 0\n7\n0 0\n\n"
               "[building]\nGone.txt\n7\n0 0\n7\n0 0\n\n"
               "[building]\nDogHouse2.txt\n9\n1 0.5\n-3\n0 0\n\n"
               "[animal]\ndog Rex 0\nhelper_pies4 3\n5 0 0\n5 0 0 0\n0.5 0.5\n1 1 1\n5 -1\n\n"
               "[animal]\ndog Rex 0\nhelper_pies1 0\n5 x 0\n5 0 0 0\n0.5 0.5\n1 1 1\n5 -1\n\n"
               "[animal]\ndog Rex 7\nhelper_pies2 1\n5 0 0\n5 0 0 0\n0.5 0.5\n1 1 1\n5 -1\n\n"
               "[animal]\ndog Max 0\nhelper_pies3 2\n-2 0 0\n9 0 0 0\n0.5 0.5\n1 1 1\n5 -1\n\n"
               "[animal]\ndog Fed 0\nhelper_pies1 0\n9 0 1\n-1 0 0 0\n0.5 0.5\n1 1 1\n5 -1\n\n"
               "[act park promotion]\n4\n10\n\n[person walking]\nfast\n\n[tutorial]\n1 2\n0 0 0\n\n"
               "[animal]\ndog Rex 0\n");
    testing::internal::CaptureStdout();
    loadProfile(profile(), 0);
    std::string out = testing::internal::GetCapturedStdout();
    GlobalSettings* settings = storage->mGlobalSettings;
    EXPECT_EQ(settings->mCashAccount->mCash, 500);
    EXPECT_EQ(storage->mBalanceThisMonth->total(), 0);
    EXPECT_EQ(settings->mDate->mMonth, 2);
    EXPECT_EQ(settings->mDate->mDay, 28);
    // A path outside the buildings folder is skipped; a file that has gone keeps its building;
    // levels are held within 0..7.
    ASSERT_EQ(storage->mParkBuildings.size(), 2u);
    EXPECT_EQ(storage->mParkBuildings[0]->fileName(), "Gone.txt");
    EXPECT_EQ(storage->mParkBuildings[1]->mName, L"Villa");
    EXPECT_EQ(storage->mParkBuildings[1]->mCleanness, 7);
    EXPECT_EQ(storage->mParkBuildings[1]->mCondition, 0);
    // The animal at a place the species lacks and the malformed one are skipped; a coat index
    // the species lacks becomes its first coat; levels are held within 0..7, except a hunger
    // above 7 that the next day cuts back.
    ASSERT_EQ(storage->mParkAnimals.size(), 3u);
    EXPECT_EQ(storage->mParkAnimals[0]->mPictureIndex, 0);
    EXPECT_EQ(storage->mParkAnimals[1]->mHunger, 0);
    EXPECT_EQ(storage->mParkAnimals[1]->mHealth, 7);
    EXPECT_EQ(storage->mParkAnimals[2]->mHunger, 9);
    EXPECT_EQ(storage->mParkAnimals[2]->mHealth, 0);
    EXPECT_EQ(storage->mParkAnimals[2]->mHappiness, 2);
    EXPECT_EQ(settings->mActivePromotion, -1);
    EXPECT_TRUE(Singleton<PublicManager>::get()->mWalkers.empty());
    EXPECT_NE(out.find("profile1.txt"), std::string::npos);
    EXPECT_NE(out.find("place index"), std::string::npos);
}

TEST_F(SavedGame, ABuildingWhoseFileHasGoneIsKeptWithItsSavedLevels)
{
    const std::string saved = "[building]\nGone.txt\n3\n1 0.25\n2\n1 0.5\n";
    data.write("data/game/Profiles/profile1.txt", saved);
    testing::internal::CaptureStdout();
    loadProfile(profile(), 0);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("data/game/Buildings/Gone.txt"), std::string::npos) << out;
    ASSERT_EQ(storage->mParkBuildings.size(), 1u);
    DataBuilding* gone = storage->mParkBuildings[0];
    EXPECT_EQ(gone->mName, L"");
    EXPECT_EQ(gone->mMaintenance, 0);
    EXPECT_EQ(gone->mCleanness, 3);
    EXPECT_EQ(gone->mCondition, 2);
    EXPECT_EQ(gone->mRepairing, 1);

    // The next save still holds it, levels and orders as they were.
    EXPECT_NE(save().find("[building]\nGone.txt\n3\n1 0.25\n2\n1 0.5\n"), std::string::npos);
}

TEST_F(SavedGame, ARestoredWalkerTakesItsPathAndLengthFromOneEntry)
{
    std::string walkers;
    for (int i = 0; i < 40; ++i)
        walkers += "[person walking]\n0.5\n\n";
    data.write("data/game/Profiles/profile1.txt", walkers);
    std::srand(5);
    loadProfile(profile(), 0);
    const std::vector<OnePerson*>& restored = Singleton<PublicManager>::get()->mWalkers;
    ASSERT_EQ(restored.size(), 40u);
    for (const OnePerson* person : restored) {
        const float length = person->mHelperName == L"path_a" ? 300.0f : 500.0f;
        EXPECT_EQ(person->mPathLength, length) << wideToString(person->mHelperName);
        EXPECT_FLOAT_EQ(person->mProgress, 0.5f);
    }
}

TEST_F(SavedGame, ActivePromotionIsValidatedBothWays)
{
    storage->mGlobalSettings->mActivePromotion = 7;
    std::string text = save();
    EXPECT_NE(text.find("[act park promotion]\n-1\n0\n"), std::string::npos);
    data.write("data/game/Profiles/profile1.txt", "[act park promotion]\n3\n4\n");
    loadProfile(profile(), 0);
    EXPECT_EQ(storage->mGlobalSettings->mActivePromotion, 3);
    EXPECT_EQ(storage->mPromotions[2]->mDaysLeft, 4);
    data.write("data/game/Profiles/profile1.txt", "[act park promotion]\n0\n4\n");
    testing::internal::CaptureStdout();
    loadProfile(profile(), 0);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(storage->mGlobalSettings->mActivePromotion, -1);
}

TEST_F(SavedGame, ScanListsProfilesInNumberOrder)
{
    std::filesystem::create_directories("data/game");
    data.write("data/game/defaultsave.txt", "[profile]\n4\n");
    storage->createOptions("data/game/");
    for (int n : {10, 2, 1}) {
        storage->mGlobalSettings->mCashAccount->mCash = n;
        ASSERT_TRUE(saveProfile("data/game/Profiles/profile" + std::to_string(n) + ".txt",
                                L"P" + std::to_wstring(n), L"a.png", 0, 0, -1, 0, 0, 0));
    }
    storage->mCurrentProfile = 5;
    storage->scanProfiles("data/game/");
    ASSERT_EQ(storage->mProfiles.size(), 3u);
    EXPECT_EQ(storage->mProfiles[0]->mName, L"P1");
    EXPECT_EQ(storage->mProfiles[1]->mName, L"P2");
    EXPECT_EQ(storage->mProfiles[2]->mName, L"P10");
    EXPECT_EQ(storage->mProfiles[2]->mPath, "data/game/Profiles/profile10.txt");
    EXPECT_EQ(storage->mCurrentProfile, -1);
    EXPECT_EQ(storage->mOptions->mProfile, -1);
    // The park in memory is the last profile's.
    EXPECT_EQ(storage->mGlobalSettings->mCashAccount->mCash, 10);

    for (int n : {10, 2, 1})
        std::filesystem::remove("data/game/Profiles/profile" + std::to_string(n) + ".txt");
    storage->scanProfiles("data/game/");
    EXPECT_TRUE(storage->mProfiles.empty());
    EXPECT_EQ(storage->mOptions->mProfile, -1);
    EXPECT_NE(data.read("data/game/save.txt").find("[profile]\n-1"), std::string::npos);
}

TEST_F(SavedGame, AutosaveNeedsACurrentProfile)
{
    storage->newDay();
    EXPECT_FALSE(std::filesystem::exists("data/game/Profiles/profile1.txt"));
    storage->mProfiles.push_back(profile());
    storage->mCurrentProfile = 0;
    storage->newDay();
    EXPECT_TRUE(std::filesystem::exists("data/game/Profiles/profile1.txt"));
}

} // namespace

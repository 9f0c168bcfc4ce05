// The visitors' life: walkers entering at the spawn interval up to the visitor count, walking
// and leaving; their avatar, name and opinion; the cars on the parking level's places; the
// daily spending in the restaurant and the hotel.

#include "game/ParkTestData.h"

#include "game/CashAccount.h"
#include "game/DataAnimal.h"
#include "game/DataBuilding.h"
#include "park/GameBackground3D.h"
#include "park/GameCamera.h"
#include "park/OnePerson.h"
#include "park/PublicManager.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const char* const kPublic =
    "[helper walking]\npath_a 300\n\n[helper walking]\npath_b 300\n\n[helper car]\ncar_place_\n0 0\n\n"
    "[parking]\n1 2 3\n\n[parking]\n1 2 3 4 5 6\n\n[parking]\n1 2 3 4 5 6 7 8 9\n\n"
    "[walking people max]\n20\n\n[walking interval min]\n1500\n\n[walking interval max]\n5000\n\n"
    "[walking name]\nAnna F\n\n[walking name]\nBen M\n\n[walking surename]\nSmith\n\n"
    "[avatar]\nf.png 1 F\n\n[avatar]\nm.png 5 M\n\n"
    "[walking opinion]\n0 Bad\nBad.\n0\n\n[walking opinion]\n1 Poor\nPoor.\n0\n\n"
    "[walking opinion]\n2 Fine\nFine.\n0\n\n[walking opinion]\n3 Good\nI like %ls.\n0\n\n"
    "[walking opinion]\n3 Tasty\nTasty.\nb:OtherRestaurant.txt\n\n[walking opinion]\n4 Great\nGreat.\n0\n\n"
    "[animation]\nchodzenie\n0 29\n\n[animation]\nchodzenie i rozgladanie sie\n30 89\n\n"
    "[animation]\nsiedzenie idle\n90 119\n";

class Visitors : public testing::Test {
protected:
    void SetUp() override
    {
        data.write("data/game/Buildings/OtherParking1.txt", ParkTestData::buildingText("Car Park", "Other", -1));
        data.write("data/game/Buildings/OtherParking2.txt", ParkTestData::buildingText("Big Car Park", "Other", -1));
        data.write("data/game/Buildings/OtherRestaurant.txt", ParkTestData::buildingText("Diner", "Other", -1));
        data.write("data/game/Buildings/OtherHotel.txt", ParkTestData::buildingText("Inn", "Other", -1));
        data.writeDefault("[animal]\ndog\n\n[building]\nDogHouse1.txt\n\n"
                          "[scroll values]\nDinner 6 8 10 12 14\n16\n\n[scroll values]\nDrinks 2 3 4 5 6\n8\n\n"
                          "[scroll values]\nSalads 3 4 5 6 7\n9\n\n[scroll values]\nHotel 20 30 40 50 60\n62\n\n"
                          "[dinner price]\n8\n\n[drinks price]\n3\n\n[salad price]\n5\n\n[salt in food]\n4\n\n"
                          "[owners accomodation price]\n40\n\n");
        data.write("data/game/public.txt", kPublic);
        storage = ParkTestData::load(5);
        settings = storage->mGlobalSettings;
        manager = Singleton<PublicManager>::get();
        testing::internal::CaptureStdout();
        LoadPublicConfig(*manager);
        testing::internal::GetCapturedStdout();
        camera = Singleton<GameBackground3D>::get()->mCamera;
        camera->reset();
    }

    // Full attraction: the visitor count is "[walking people max]".
    void fullAttraction() { settings->mMaxPopularity = 0.0001f; }
    void noAttraction() { settings->mAccommodationTicketPrice = settings->scrollReference(L"AccomodationTicket"); }

    DataBuilding* build(const std::string& file)
    {
        for (DataBuilding* building : storage->mBuildingDefinitions)
            if (building->hasFileName(file)) {
                storage->mParkBuildings.push_back(building);
                return building;
            }
        ADD_FAILURE() << file;
        return nullptr;
    }

    OnePerson* walker(float progress = 0.0f)
    {
        OnePerson* person = new OnePerson();
        manager->spawnVisitor(person, 0, L"path_a", 300.0f);
        person->mProgress = progress;
        manager->mWalkers.push_back(person);
        return person;
    }

    int money(int word) const { return storage->mBalanceThisMonth->mValues[word]; }
    int count(int word) const { return storage->mStatThisMonth->mValues[word]; }

    ParkTestData data;
    DataStorage* storage = nullptr;
    GlobalSettings* settings = nullptr;
    PublicManager* manager = nullptr;
    GameCamera* camera = nullptr;
};

// ---- entering and leaving

TEST_F(Visitors, WalkersEnterAtTheSpawnIntervalUpToTheVisitorCount)
{
    fullAttraction();
    // The first walker waits for the 5 s after loading.
    for (int step = 0; step < 501; ++step)
        manager->update();
    EXPECT_EQ(manager->mVisitors, 20);
    EXPECT_TRUE(manager->mWalkers.empty());
    std::srand(3);
    manager->update();
    ASSERT_EQ(manager->mWalkers.size(), 1u);
    // The next one comes min + r (r below max - min) later, less this step's 10 ms.
    EXPECT_GE(manager->mSpawnTimer, 1500 - 10);
    EXPECT_LT(manager->mSpawnTimer, 5000 - 10);
    OnePerson* person = manager->mWalkers[0];
    EXPECT_EQ(person->mKind, 0);
    EXPECT_TRUE(person->mHelperName == L"path_a" || person->mHelperName == L"path_b");
    EXPECT_FLOAT_EQ(person->mPathLength, 300.0f);
    EXPECT_EQ(person->mProgress, 0.0f);
}

TEST_F(Visitors, AFullParkKeepsLoweringTheTimerAndTheNextWalkerComesAtOnce)
{
    fullAttraction();
    manager->mWalkingPeopleMax = 2;
    manager->mSpawnTimer = -10;
    manager->update();
    manager->mSpawnTimer = -10;
    manager->update();
    ASSERT_EQ(manager->mWalkers.size(), 2u);
    manager->mSpawnTimer = 0;
    for (int step = 0; step < 1000; ++step)
        manager->update();
    EXPECT_EQ(manager->mWalkers.size(), 2u);
    EXPECT_EQ(manager->mSpawnTimer, -10000);
    manager->mWalkingPeopleMax = 3;
    manager->update();
    EXPECT_EQ(manager->mWalkers.size(), 3u);
}

TEST_F(Visitors, WithoutAttractionNoWalkerEnters)
{
    noAttraction();
    manager->mSpawnTimer = -10;
    for (int step = 0; step < 100; ++step)
        manager->update();
    EXPECT_EQ(manager->mVisitors, 0);
    EXPECT_TRUE(manager->mWalkers.empty());
}

TEST_F(Visitors, WithoutPathsNoWalkerEnters)
{
    fullAttraction();
    manager->mWalkingHelpers.clear();
    manager->mSpawnTimer = -10;
    manager->update();
    EXPECT_TRUE(manager->mWalkers.empty());
}

TEST_F(Visitors, AWalkerPastItsPathLeavesAndTheCameraFollowingItResets)
{
    noAttraction();
    OnePerson* leaving = walker(299.99f);
    OnePerson* staying = walker(100.0f);
    camera->mFollowPerson = leaving;
    manager->mPickDistance = 2;
    manager->update();
    ASSERT_EQ(manager->mWalkers.size(), 1u);
    EXPECT_EQ(manager->mWalkers[0], staying);
    EXPECT_EQ(camera->mFollowPerson, nullptr);
    EXPECT_FLOAT_EQ(staying->mProgress, 100.027f);
}

TEST_F(Visitors, WalkersSwitchBetweenWalkingAndLookingAround)
{
    OnePerson* person = walker();
    EXPECT_EQ(person->mAnimName, L"chodzenie");
    EXPECT_EQ(person->mAnimTime, 0.0f);
    int looks = 0, walks = 0;
    std::srand(8);
    for (int cycle = 0; cycle < 400; ++cycle) {
        person->mAnimName = L"chodzenie";
        person->mAnimTime = 29.0f;
        person->mAnimSpeed = 1.5f;
        manager->walkStep(person);
        if (person->mAnimName == L"chodzenie i rozgladanie sie") {
            EXPECT_EQ(person->mAnimTime, 30.0f);
            ++looks;
        } else {
            EXPECT_EQ(person->mAnimTime, 0.0f);
            ++walks;
        }
    }
    // About 5 in 100.
    EXPECT_GT(looks, 5);
    EXPECT_LT(looks, 40);
    // An unknown animation is entered as frames 0 to 0 and ends at once.
    person->mAnimName = L"tanczenie";
    person->mAnimTime = 0.0f;
    manager->walkStep(person);
    EXPECT_TRUE(person->mAnimName == L"chodzenie" || person->mAnimName == L"chodzenie i rozgladanie sie");
}

// ---- who they are

TEST_F(Visitors, AVisitorGetsSpeedAvatarNameAndAnOpinionOfTheAnimalsMood)
{
    for (DataAnimal* animal : storage->mParkAnimals)
        animal->mHappiness = 3;
    int moods[5] = {};
    for (int i = 0; i < 300; ++i) {
        OnePerson* person = walker();
        EXPECT_GE(person->mAnimSpeed, 30.0f / 107.0f);
        EXPECT_LE(person->mAnimSpeed, 30.0f / 93.0f);
        EXPECT_EQ(person->mNodeIndex, -1);
        if (person->mAvatarPart == 1)
            EXPECT_EQ(person->mName, L"Anna Smith");
        else
            EXPECT_EQ(person->mName, L"Ben Smith");
        ASSERT_NE(person->mOpinion, nullptr);
        // The restaurant's opinion needs the restaurant.
        EXPECT_NE(person->mOpinion->mTag, L"Tasty");
        ++moods[person->mOpinion->mRating];
    }
    // Mostly the mean mood, else one lower or one higher.
    EXPECT_EQ(moods[0] + moods[1], 0);
    EXPECT_GT(moods[3], moods[2] + moods[4]);
    EXPECT_GT(moods[2], 0);
    EXPECT_GT(moods[4], 0);
}

TEST_F(Visitors, AnOpinionIsFilledWithAnAnimalsNameOnceForEveryone)
{
    for (DataAnimal* animal : storage->mParkAnimals)
        animal->mHappiness = 3;
    build("OtherRestaurant.txt");
    Opinion* good = manager->mOpinions[3];
    bool seenTasty = false;
    for (int i = 0; i < 100; ++i) {
        OnePerson* person = walker();
        seenTasty = seenTasty || person->mOpinion->mTag == L"Tasty";
    }
    EXPECT_TRUE(seenTasty);
    EXPECT_TRUE(good->mText == L"I like Rex." || good->mText == L"I like Luna.") << wideToString(good->mText);
}

TEST_F(Visitors, AParkWithoutAnimalsGivesTheLowestMoods)
{
    for (DataAnimal* animal : storage->mParkAnimals)
        storage->retire(animal);
    storage->mParkAnimals.clear();
    for (int i = 0; i < 50; ++i) {
        OnePerson* person = walker();
        ASSERT_NE(person->mOpinion, nullptr);
        EXPECT_LE(person->mOpinion->mRating, 1);
    }
}

TEST_F(Visitors, EmptyListsGiveAVisitorWithoutWhatTheyLack)
{
    data.write("data/game/public.txt", "[helper walking]\npath_a 300\n");
    testing::internal::CaptureStdout();
    LoadPublicConfig(*manager);
    testing::internal::GetCapturedStdout();
    storage->mAnimalNames.clear();
    OnePerson* person = walker();
    EXPECT_EQ(person->mAvatarPart, -1);
    EXPECT_EQ(person->mAvatarImage, nullptr);
    EXPECT_EQ(person->mName, L" ");
    EXPECT_EQ(person->mOpinion, nullptr);
}

// ---- cars

TEST_F(Visitors, CarsFollowTheVisitorsOnTheParkingLevelsPlaces)
{
    manager->mVisitors = 9;
    EXPECT_EQ(manager->setupCars(), 3); // 4 cars, 3 places without a car park
    ASSERT_EQ(manager->mCars.size(), 3u);
    EXPECT_EQ(manager->mCars[2]->mPlace, 3);
    EXPECT_EQ(manager->mCars[2]->mHelperName, L"car_place_3");
    for (OneCar* car : manager->mCars) {
        EXPECT_GE(car->mModel, 1);
        EXPECT_LE(car->mModel, 9);
    }
    build("OtherParking1.txt");
    EXPECT_EQ(manager->setupCars(), 4);
    // The second car park switches to the third list at once, whatever the order.
    storage->mParkBuildings.insert(storage->mParkBuildings.begin(), storage->mBuildingDefinitions[0]);
    build("OtherParking2.txt");
    manager->mVisitors = 40;
    EXPECT_EQ(manager->setupCars(), 9);
    EXPECT_EQ(manager->mCars.size(), 9u);
}

TEST_F(Visitors, OneWalkerBringsOneCarAndNoVisitorsNone)
{
    manager->mVisitors = 0;
    EXPECT_EQ(manager->setupCars(), 0);
    walker();
    EXPECT_EQ(manager->setupCars(), 1);
    walker();
    EXPECT_EQ(manager->setupCars(), 0);
}

TEST_F(Visitors, APlaceIsTakenOnceAndAMissingLevelUsesTheLastList)
{
    manager->mParkingPlaces = {{4, 4, 7}};
    manager->mVisitors = 20;
    EXPECT_EQ(manager->setupCars(), 2);
    EXPECT_EQ(manager->mCars[1]->mPlace, 7);
    build("OtherParking2.txt");
    EXPECT_EQ(manager->setupCars(), 2);
    manager->mParkingPlaces.clear();
    EXPECT_EQ(manager->setupCars(), 0);
    EXPECT_TRUE(manager->mCars.empty());
}

// ---- the day's spending

TEST_F(Visitors, WithoutVenuesOnlyTheCarsPay)
{
    manager->mVisitors = 4;
    int cash = settings->mCashAccount->mCash;
    manager->newDay();
    EXPECT_EQ(manager->mCars.size(), 2u);
    EXPECT_EQ(settings->mCashAccount->mCash - cash, 2 * 4);
    EXPECT_EQ(money(t_ParkTicketsSale), 8);
    EXPECT_EQ(count(t_ParkTicketsSale), 2 + 4);
    EXPECT_EQ(money(t_RestaurantSales), 0);
    EXPECT_EQ(count(t_RestaurantSales), 0);
    EXPECT_EQ(money(t_OwnersHotelSales), 0);
}

TEST_F(Visitors, TheRestaurantAndTheHotelSellByPriceAndSalt)
{
    build("OtherRestaurant.txt");
    build("OtherHotel.txt");
    manager->mVisitors = 50;
    manager->mParkingPlaces = {{}};
    // The same draws as the day: dinners, drinks, salads, hotel.
    std::srand(21);
    int r1 = std::rand() % 300, r2 = std::rand() % 600, r3 = std::rand() % 500, r4 = std::rand() % 200;
    float dinners = (200 + r1) * 50.0f * (1.0f - 1.0f / 8) * 0.001f;      // limit 16, price 8
    float drinks = (300 + r2) * 50.0f * (1.0f - 1.0f / 5) * 0.001f;       // limit 8, price 3
    float salads = (r3 + 400.0f) * 50.0f * (1.0f - 1.0f / 4) * 0.001f;    // limit 9, price 5
    float hotel = (r4 + 50.0f) * 50.0f * (1.0f - 1.0f / 22) * 0.001f;     // limit 62, price 40
    float s = 0.4f;
    int d = int(dinners), k = int(drinks * (1.0f - s) * 1.5f), a = int((s - s * s) * salads), h = int(hotel);
    int cash = settings->mCashAccount->mCash;
    std::srand(21);
    manager->newDay();
    EXPECT_EQ(settings->mCashAccount->mCash - cash, d * 8 + k * 3 + a * 5 + h * 40);
    EXPECT_EQ(money(t_RestaurantSales), d * 8 + k * 3 + a * 5);
    EXPECT_EQ(money(t_OwnersHotelSales), h * 40);
    EXPECT_EQ(count(t_RestaurantSales), d + k + a);
    EXPECT_EQ(count(t_OwnersHotelSales), h);
    EXPECT_EQ(count(t_ParkTicketsSale), 50);
    EXPECT_GT(a, 0);
}

TEST_F(Visitors, SaltDecidesSaladsAndDrinks)
{
    build("OtherRestaurant.txt");
    manager->mVisitors = 100;
    manager->mParkingPlaces = {{}};
    auto salesAtSalt = [&](int salt) {
        settings->mSaltInFood = salt;
        std::srand(4);
        int before = count(t_RestaurantSales);
        manager->newDay();
        return count(t_RestaurantSales) - before;
    };
    std::srand(4);
    int r1 = std::rand() % 300, r2 = std::rand() % 600, r3 = std::rand() % 500;
    int dinners = int((200 + r1) * 100.0f * (1.0f - 1.0f / 8) * 0.001f);
    float drinks = (300 + r2) * 100.0f * (1.0f - 1.0f / 5) * 0.001f;
    float salads = (r3 + 400.0f) * 100.0f * (1.0f - 1.0f / 4) * 0.001f;
    // No salt: no salads and one and a half times the drinks; all salt: neither; half salt
    // sells a quarter of the salads, the most there can be.
    EXPECT_EQ(salesAtSalt(0), dinners + int(drinks * 1.5f));
    EXPECT_EQ(salesAtSalt(10), dinners);
    EXPECT_EQ(salesAtSalt(5), dinners + int(drinks * 0.5f * 1.5f) + int(0.25f * salads));
}

TEST_F(Visitors, APriceAtOrAboveTheLimitSellsNothing)
{
    build("OtherRestaurant.txt");
    build("OtherHotel.txt");
    settings->mDinnerPrice = 16;
    settings->mDrinksPrice = 20;
    settings->mSaladPrice = 8;   // one below the limit: 1 - 1/1
    settings->mOwnersAccommodationPrice = 62;
    manager->mVisitors = 100;
    manager->mParkingPlaces = {{}};
    int cash = settings->mCashAccount->mCash;
    manager->newDay();
    EXPECT_EQ(settings->mCashAccount->mCash, cash);
    EXPECT_EQ(count(t_RestaurantSales), 0);
    EXPECT_EQ(count(t_OwnersHotelSales), 0);
    EXPECT_EQ(count(t_ParkTicketsSale), 100);
}

} // namespace

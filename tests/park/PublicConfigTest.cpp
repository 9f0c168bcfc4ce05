// Reading "data/game/public.txt": every key, lists that grow and values that are replaced,
// entries refused with a warning, a reload that starts from nothing, and the shipped file.

#include "game/ParkTestData.h"

#include "park/OnePerson.h"
#include "park/PublicManager.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

namespace {

const char* const kSample =
    "[public helpers]\nPublic_Helpers.3dn\n\n[cars helpers]\nCars_Helpers.3dn\n\n"
    "[helper walking]\npath_a 300\n\n[helper walking]\npath_b 450\n\n"
    "[helper car]\nlot_\n3 4\n\n[HELPER CAR]\ncar_place_\n5 6\n\n"
    "[parking]\n1 2 3\n\n[parking]\n4 5\n\n"
    "[show popularity formule]\n1.5\n0.5\n0.25\n2\n\n"
    "[walking people max]\n80\n\n[walking people max]\n100\n\n"
    "[walking name]\nAnna F\n\n[walking name]\nBen M\n\n[walking name]\nCleo f\n\n[walking name]\nDora\n\n"
    "[walking surename]\nvan der Berg\n\n"
    "[avatar]\nf1.png 3 F\n\n[avatar]\nm1.png 7 M\n\n[avatar]\nx.png 2 X\n\n[avatar]\ny.png 4\n\n"
    "[walking opinion]\n4 Lovely\nI like %ls.\n0\n\n"
    "[walking opinion]\n2 Meh\nFine.\nb:OtherRestaurant.txt\n\n"
    "[walking interval min]\n1500\n\n[walking interval max]\n5000\n\n"
    "[helper sitting]\nDog seat_ 2\n1 12\n\n"
    "[animation]\nChodzenie\n0 29\n\n[animation]\nchodzenie\n5 30\n\n[animation]\nsiedzenie idle\n90 119\n";

class PublicConfig : public testing::Test {
protected:
    void SetUp() override
    {
        data.writeDefault();
        ParkTestData::load();
        manager = Singleton<PublicManager>::get();
    }

    // Loads the text as "data/game/public.txt"; returns what the loader printed.
    std::string load(const std::string& text)
    {
        data.write("data/game/public.txt", text);
        testing::internal::CaptureStdout();
        LoadPublicConfig(*manager);
        return testing::internal::GetCapturedStdout();
    }

    ParkTestData data;
    PublicManager* manager = nullptr;
};

TEST_F(PublicConfig, EveryKeyIsRead)
{
    load(kSample);
    ASSERT_EQ(manager->mWalkingHelpers.size(), 2u);
    EXPECT_EQ(manager->mWalkingHelpers[1], std::make_pair(std::string("path_b"), 450));
    // A repeated single-value key keeps its last value, a list key adds an entry.
    EXPECT_EQ(manager->mCarHelperName, "car_place_");
    EXPECT_EQ(manager->mCarHelperValues[0], 5);
    EXPECT_EQ(manager->mCarHelperValues[1], 6);
    EXPECT_EQ(manager->mParkingPlaces, (std::vector<std::vector<int>>{{1, 2, 3}, {4, 5}}));
    EXPECT_FLOAT_EQ(manager->mShowPopularityFormula[0], 1.5f);
    EXPECT_FLOAT_EQ(manager->mShowPopularityFormula[3], 2.0f);
    EXPECT_EQ(manager->mWalkingPeopleMax, 100);
    EXPECT_EQ(manager->mWalkingIntervalMin, 1500);
    EXPECT_EQ(manager->mWalkingIntervalMax, 5000);
    EXPECT_EQ(manager->mSurnames, std::vector<std::wstring>{L"van der Berg"});
    ASSERT_EQ(manager->mOpinions.size(), 2u);
    EXPECT_EQ(manager->mOpinions[0]->mRating, 4);
    EXPECT_EQ(manager->mOpinions[0]->mTag, L"Lovely");
    EXPECT_EQ(manager->mOpinions[0]->mText, L"I like %ls.");
    EXPECT_EQ(manager->mOpinions[1]->mRequirements, L"b:OtherRestaurant.txt");
    ASSERT_EQ(manager->mSittingHelpers[L"dog"].size(), 1u);
    SittingHelper* seats = manager->mSittingHelpers[L"dog"][0];
    EXPECT_EQ(seats->mName, L"seat_");
    EXPECT_EQ(seats->mMinBuildings, 2);
    EXPECT_EQ(seats->mFirst, 1);
    EXPECT_EQ(seats->mLast, 12);
    EXPECT_NE(manager->mPublicHelpersScene, nullptr);
    EXPECT_NE(manager->mCarsHelpersScene, nullptr);
    EXPECT_NE(manager->mCarsScene, nullptr);
    EXPECT_NE(manager->mCharacterScene, nullptr);
}

TEST_F(PublicConfig, MarksAreCaseSensitiveAndAnimationsLowerCase)
{
    load(kSample);
    // "f" is no mark and a name without one is dropped.
    EXPECT_EQ(manager->mFemaleNames, std::vector<std::wstring>{L"Anna"});
    EXPECT_EQ(manager->mMaleNames, std::vector<std::wstring>{L"Ben"});
    // An avatar with another mark or none creates nothing.
    ASSERT_EQ(manager->mFemaleAvatars.size(), 1u);
    ASSERT_EQ(manager->mMaleAvatars.size(), 1u);
    EXPECT_EQ(manager->mFemaleAvatars[0]->mFile, "f1.png");
    EXPECT_EQ(manager->mFemaleAvatars[0]->mPart, 3);
    EXPECT_NE(manager->mFemaleAvatars[0]->mImage, nullptr);
    EXPECT_EQ(manager->mMaleAvatars[0]->mPart, 7);
    // Two names differing in case are one animation, the later one.
    ASSERT_EQ(peopleAnimations.size(), 2u);
    EXPECT_EQ(peopleAnimations[L"chodzenie"].mStart, 5);
    EXPECT_EQ(peopleAnimations[L"chodzenie"].mEnd, 30);
    EXPECT_EQ(peopleAnimations[L"chodzenie"].mName, L"chodzenie");
}

TEST_F(PublicConfig, AReloadStartsFromNothing)
{
    load(kSample);
    manager->mVisitors = 30;
    manager->mSpawnTimer = -70;
    manager->mPickDistance = 2;
    manager->setupCars();
    for (int i = 0; i < 3; ++i) {
        OnePerson* person = new OnePerson();
        manager->spawnVisitor(person, 0, L"path_a", 300.0f);
        manager->mWalkers.push_back(person);
    }
    manager->mAudience.push_back(new OnePerson());
    manager->mPickedPerson = manager->mWalkers[0];
    ASSERT_FALSE(manager->mCars.empty());

    load("[walking people max]\n10\n\n[parking]\n9\n");
    EXPECT_EQ(manager->mSpawnTimer, 5000);
    EXPECT_EQ(manager->mPickDistance, 1000);
    EXPECT_EQ(manager->mVisitors, 0);
    EXPECT_EQ(manager->mPickedPerson, nullptr);
    EXPECT_TRUE(manager->mWalkers.empty());
    EXPECT_TRUE(manager->mAudience.empty());
    EXPECT_TRUE(manager->mCars.empty());
    EXPECT_TRUE(manager->mWalkingHelpers.empty());
    EXPECT_TRUE(manager->mFemaleAvatars.empty());
    EXPECT_TRUE(manager->mMaleNames.empty());
    EXPECT_TRUE(manager->mSurnames.empty());
    EXPECT_TRUE(manager->mOpinions.empty());
    EXPECT_TRUE(manager->mSittingHelpers.empty());
    EXPECT_TRUE(peopleAnimations.empty());
    EXPECT_EQ(manager->mPublicHelpersScene, nullptr);
    EXPECT_EQ(manager->mParkingPlaces, (std::vector<std::vector<int>>{{9}}));
    EXPECT_EQ(manager->mWalkingPeopleMax, 10);
}

TEST_F(PublicConfig, MalformedValuesAreSkippedWithAWarning)
{
    manager->mWalkingPeopleMax = 7;
    std::string out = load("[walking people max]\nmany\n\n[helper walking]\npath_a long\n\n[helper walking]\npath_b\n\n"
                           "[parking]\n1 two 3\n\n[avatar]\nf.png 100 F\n\n[animation]\nchodzenie\n0\n\n"
                           "[walking opinion]\nbest Tag\nText\n0\n\n[helper sitting]\ndog seat_\n1 4\n\n"
                           "[walking interval min]\n900\n\n[walking interval max]\n900\n\n[walking surename]\n");
    EXPECT_EQ(manager->mWalkingPeopleMax, 7);
    EXPECT_TRUE(manager->mWalkingHelpers.empty());
    EXPECT_EQ(manager->mParkingPlaces, (std::vector<std::vector<int>>{{1, 3}}));
    EXPECT_TRUE(manager->mFemaleAvatars.empty());
    EXPECT_TRUE(peopleAnimations.empty());
    EXPECT_TRUE(manager->mSittingHelpers.empty());
    // An opinion of no readable mood is kept but never chosen.
    ASSERT_EQ(manager->mOpinions.size(), 1u);
    EXPECT_EQ(manager->mOpinions[0]->mRating, -1);
    // The key at the end has no value line.
    EXPECT_TRUE(manager->mSurnames.empty());
    EXPECT_NE(out.find("data/game/public.txt, [walking people max]: not an integer: \"many\""), std::string::npos)
        << out;
    EXPECT_NE(out.find("[avatar]: figure layer outside 0..99"), std::string::npos) << out;
    EXPECT_NE(out.find("value cut off by the end of the file"), std::string::npos) << out;
    // What the park cannot do without is named.
    EXPECT_NE(out.find("no \"[helper walking]\" path"), std::string::npos) << out;
    EXPECT_NE(out.find("no \"[walking opinion]\" of rating 3"), std::string::npos) << out;
    EXPECT_NE(out.find("\"[walking interval max]\" is not above the minimum"), std::string::npos) << out;
    EXPECT_NE(out.find("three \"[parking]\" lists are needed"), std::string::npos) << out;
}

TEST_F(PublicConfig, AMissingFileStopsTheProgram)
{
    EXPECT_DEATH(LoadPublicConfig(*manager), "no dat file loaded!");
}

// The shipped file loads without a warning and gives the park what it needs.
TEST_F(PublicConfig, TheShippedFileIsComplete)
{
    std::ifstream in(PETPARK_SOURCE_DIR "/data/game/public.txt", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::string out = load(text.str());
    EXPECT_EQ(out.find("Warning: data/game/public.txt"), std::string::npos) << out;
    EXPECT_EQ(manager->mWalkingPeopleMax, 100);
    ASSERT_EQ(manager->mParkingPlaces.size(), 3u);
    EXPECT_EQ(manager->mParkingPlaces[0].size(), 6u);
    EXPECT_EQ(manager->mParkingPlaces[1].size(), 14u);
    EXPECT_EQ(manager->mParkingPlaces[2].size(), 24u);
    EXPECT_GT(manager->mWalkingIntervalMax, manager->mWalkingIntervalMin);
    EXPECT_GE(manager->mFemaleAvatars.size(), 2u);
    EXPECT_GE(manager->mMaleAvatars.size(), 2u);
    // The visitors' animations do not overlap.
    std::vector<Animation> ranges;
    for (const auto& entry : peopleAnimations)
        ranges.push_back(entry.second);
    ASSERT_EQ(ranges.size(), 3u);
    for (size_t a = 0; a < ranges.size(); ++a) {
        EXPECT_LE(ranges[a].mStart, ranges[a].mEnd);
        for (size_t b = a + 1; b < ranges.size(); ++b)
            EXPECT_TRUE(ranges[a].mEnd < ranges[b].mStart || ranges[b].mEnd < ranges[a].mStart);
    }
    // Every path is as long as every other: a walker takes the length of a second random path.
    for (const auto& path : manager->mWalkingHelpers)
        EXPECT_EQ(path.second, manager->mWalkingHelpers[0].second);
    // Every avatar of the figures has its own layer.
    std::set<int> parts;
    for (auto* list : {&manager->mFemaleAvatars, &manager->mMaleAvatars})
        for (PublicAvatar* avatar : *list)
            EXPECT_TRUE(parts.insert(avatar->mPart).second) << avatar->mFile;
}

} // namespace

#include "ParkTestData.h"

#include "game/CashAccount.h"
#include "game/DataAnimal.h"
#include "game/DataBuilding.h"
#include "game/GameDate.h"
#include "game/GameOptions.h"
#include "game/Profiles.h"
#include "game/Ranges.h"
#include "park/AnimalAvatar.h"
#include "source_menu/Tutorial.h"

#include <gtest/gtest.h>

#include <linux/capability.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstddef>
#include <cstdio>
#include <filesystem>

namespace {

const char* const kPublic = "[walking people max]\n100\n\n[helper walking]\npath_a 300\n\n[parking]\n1 2 3\n";
const char* const kProfile = "data/game/Profiles/profile1.txt";

// A saved game of one kennel and one dog, and then whatever follows.
std::string savedPark(const std::string& more = std::string())
{
    return "[name]\nAnna\n\n[cash]\n700\n\n[building]\nDogHouse1.txt\n7\n0 0\n7\n0 0\n\n"
           "[animal]\ndog Rex 0\nhelper_pies1 0\n5 0 0\n7 0 0 0\n0.5 0.5\n1 1 1\n5 0\n\n" +
           more;
}

class DamagedFiles : public testing::Test {
protected:
    void SetUp() override
    {
        data.writeDefault();
        data.write("data/game/public.txt", kPublic);
        storage = ParkTestData::load(3);
        LoadPublicConfig(*Singleton<PublicManager>::get());
        storage->mProfiles.clear();
        storage->mCurrentProfile = -1;
        storage->mPlayerNotices.clear();
    }
    void TearDown() override
    {
        storage->mCurrentProfile = -1;
        storage->mProfiles.clear();
        storage->mPlayerNotices.clear();
        storage->mSaveFailuresTold = 0;
    }

    DataProfile* profile(const std::string& path = kProfile)
    {
        DataProfile* p = new DataProfile(path);
        storage->retire(p);
        return p;
    }
    // Reads the file as the game does, its warnings kept.
    DataProfile* load(const std::string& text, std::string* out = nullptr)
    {
        data.write(kProfile, text);
        DataProfile* p = profile();
        testing::internal::CaptureStdout();
        loadProfile(p, 0);
        std::string printed = testing::internal::GetCapturedStdout();
        if (out)
            *out = printed;
        return p;
    }
    void play(DataProfile* p)
    {
        storage->mProfiles.push_back(p);
        storage->mCurrentProfile = static_cast<int>(storage->mProfiles.size()) - 1;
    }
    // A day ends with its autosave; the file as saved.
    std::string autosave(DataProfile* p)
    {
        play(p);
        testing::internal::CaptureStdout();
        storage->newDay();
        testing::internal::GetCapturedStdout();
        return data.read(kProfile);
    }
    // Two kennels, two cat houses, two dogs, two cats and two walking visitors, as the game
    // saves them.
    std::string wholePark()
    {
        data.write("data/game/Buildings/CatHouse1.txt", ParkTestData::buildingText("Cats", "Cat", 1));
        data.write("data/game/Buildings/CatHouse2.txt", ParkTestData::buildingText("Cattery", "Cat", 2));
        std::string text = "[name]\nAnna\n\n[cash]\n700\n\n";
        for (const char* building : {"DogHouse1", "DogHouse2", "CatHouse1", "CatHouse2"})
            text += std::string("[building]\n") + building + ".txt\n7\n0 0\n7\n0 0\n\n";
        for (const char* animal : {"dog Rex 0\nhelper_pies1 0", "dog Luna 1\nhelper_pies2 1", "cat Tom 0\nhelper_kot1 0",
                                   "cat Kit 1\nhelper_kot2 1"})
            text += std::string("[animal]\n") + animal + "\n5 0 0\n7 0 0 0\n0.5 0.5\n1 1 1\n5 0\n\n";
        text += "[person walking]\n0.25\n\n[person walking]\n0.5\n";
        EXPECT_TRUE(load(text)->mDamagedCopy.empty());
        EXPECT_TRUE(saveProfile(kProfile, L"Anna", L"a.png", 0, 0, -1, 0, 0, 0));
        std::filesystem::remove(std::string(kProfile) + ".damaged");
        return data.read(kProfile);
    }
    std::vector<std::wstring> animalNames() const
    {
        std::vector<std::wstring> names;
        for (const DataAnimal* animal : storage->mParkAnimals)
            names.push_back(animal->mName);
        return names;
    }

    ParkTestData data;
    DataStorage* storage = nullptr;
};

// ---- a saved game read with warnings

TEST_F(DamagedFiles, APartlyReadParkKeepsTheOriginalBeforeTheAutosave)
{
    const std::string damaged = savedPark("[animal]\ndog Luna 0\nhelper_pies2 1\n5 x 0\n7 0 0 0\n0.5 0.5\n1 1 1\n5 0\n");
    std::string printed;
    DataProfile* p = load(damaged, &printed);
    ASSERT_EQ(storage->mParkAnimals.size(), 1u);
    EXPECT_EQ(p->mDamagedCopy, std::string(kProfile) + ".damaged");
    EXPECT_EQ(data.read(p->mDamagedCopy), damaged);
    EXPECT_NE(printed.find("profile1.txt.damaged"), std::string::npos);

    // The autosave writes the park as read; the original stays beside it.
    play(p);
    testing::internal::CaptureStdout();
    storage->newDay();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(data.read(std::string(kProfile) + ".damaged"), damaged);
    EXPECT_EQ(data.read(kProfile).find("Luna"), std::string::npos);

    // Read again, the same damage keeps its one copy; a file read whole makes none.
    DataProfile* again = load(damaged);
    EXPECT_EQ(again->mDamagedCopy, std::string(kProfile) + ".damaged");
    EXPECT_FALSE(std::filesystem::exists(std::string(kProfile) + ".damaged2"));
    EXPECT_TRUE(load(savedPark())->mDamagedCopy.empty());
    // Another damage does not overwrite the older copy.
    const std::string other = savedPark("[cash]\nlots\n");
    EXPECT_EQ(load(other)->mDamagedCopy, std::string(kProfile) + ".damaged2");
    EXPECT_EQ(data.read(std::string(kProfile) + ".damaged"), damaged);
    EXPECT_EQ(data.read(std::string(kProfile) + ".damaged2"), other);
    // A header read (the profile list) copies nothing.
    data.write(kProfile, savedPark("[loan]\nnone\n"));
    DataProfile* header = profile();
    loadProfile(header, 1);
    EXPECT_TRUE(header->mDamagedCopy.empty());
    EXPECT_FALSE(std::filesystem::exists(std::string(kProfile) + ".damaged3"));
    // A folder at a copy's name is passed over and left as it is.
    std::filesystem::create_directories(std::string(kProfile) + ".damaged3");
    EXPECT_EQ(load(savedPark("[food]\nnone\n"))->mDamagedCopy, std::string(kProfile) + ".damaged4");
    EXPECT_TRUE(std::filesystem::is_directory(std::string(kProfile) + ".damaged3"));
    // So is a link, one to a missing file too.
    std::filesystem::create_symlink("Gone/copy", std::string(kProfile) + ".damaged5");
    EXPECT_EQ(load(savedPark("[food]\nnone at all\n"))->mDamagedCopy, std::string(kProfile) + ".damaged6");
    // With every copy's name taken no copy can be kept: the park is not played, so the autosave
    // leaves the file, and the player is told why.
    for (int n = 7; n <= 100; ++n)
        std::filesystem::create_directory(std::string(kProfile) + ".damaged" + std::to_string(n));
    const std::string uncopied = savedPark("[food]\nnothing\n");
    DataProfile* notPlayed = load(uncopied, &printed);
    EXPECT_TRUE(notPlayed->mUnreadable);
    EXPECT_STREQ(notPlayed->notPlayedText(), L"parkuncopiedmany");
    EXPECT_NE(printed.find("could not be kept aside; it is not played"), std::string::npos) << printed;
    EXPECT_EQ(autosave(notPlayed), uncopied);
}

TEST_F(DamagedFiles, ACopyNotWrittenWholeNeverStandsAsOneAndItsCauseIsTold)
{
    const std::string park(65536, 'x');
    data.write(kProfile, park);
    const std::string copy = std::string(kProfile) + ".damaged", temporary = copy + ".tmp";
    auto standing = [](const std::string& path) {
        return std::filesystem::exists(std::filesystem::symlink_status(path));
    };
    CopyFailure cause = CopyFailure::None;
    testing::internal::CaptureStdout();
    EXPECT_EQ(keepDamagedCopy("data/game/Profiles", &cause), "");
    EXPECT_EQ(cause, CopyFailure::Unreadable);
    // A folder the player may not write in (root's override of file modes dropped meanwhile), with
    // a temporary file left by a kill: told as such, not as something standing in the way.
    data.write(temporary, "cut");
    chmod("data/game/Profiles", 0555);
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct caps[2] = {};
    ASSERT_EQ(syscall(SYS_capget, &header, caps), 0);
    __user_cap_data_struct dropped[2] = {caps[0], caps[1]};
    dropped[0].effective &= ~(1u << CAP_DAC_OVERRIDE | 1u << CAP_DAC_READ_SEARCH);
    syscall(SYS_capset, &header, dropped);
    EXPECT_EQ(keepDamagedCopy(kProfile, &cause), "");
    EXPECT_EQ(cause, CopyFailure::NoPermission);
    // A folder that cannot be flushed (one that may not be read cannot be opened) keeps the copy
    // made in it, and the log tells it.
    chmod("data/game/Profiles", 0333);
    EXPECT_EQ(keepDamagedCopy(kProfile, &cause), copy);
    syscall(SYS_capset, &header, caps);
    chmod("data/game/Profiles", 0755);
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("Permission denied"), std::string::npos);
    EXPECT_NE(printed.find("could not be flushed to the disk after keeping " + copy), std::string::npos) << printed;
    EXPECT_FALSE(standing(temporary));
    std::filesystem::remove(copy);
    // A folder at the temporary name is told by that cause, and the log names it.
    std::filesystem::create_directory(temporary);
    testing::internal::CaptureStdout();
    EXPECT_EQ(keepDamagedCopy(kProfile, &cause), "");
    EXPECT_EQ(cause, CopyFailure::Occupied);
    EXPECT_NE(testing::internal::GetCapturedStdout().find(temporary + ": File exists"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(temporary));
    std::filesystem::remove(temporary);

    // A child held to 4096-byte files: the copy fails midway for want of room and leaves
    // nothing; then the limit's signal kills it midway, and only the temporary file holds the
    // part written.
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        const rlimit small{4096, RLIM_INFINITY}, noCore{0, 0};
        setrlimit(RLIMIT_FSIZE, &small);
        setrlimit(RLIMIT_CORE, &noCore);
        std::freopen("/dev/null", "w", stdout);
        std::signal(SIGXFSZ, SIG_IGN);
        const bool told = keepDamagedCopy(kProfile, &cause).empty() && cause == CopyFailure::NoSpace;
        if (!told || standing(copy) || standing(temporary))
            _exit(1);
        std::signal(SIGXFSZ, SIG_DFL);
        keepDamagedCopy(kProfile);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
    EXPECT_FALSE(standing(copy));
    EXPECT_EQ(data.read(temporary).size(), 4096u);
    // The next try keeps it whole.
    EXPECT_EQ(keepDamagedCopy(kProfile), copy);
    EXPECT_EQ(data.read(copy), park);
    EXPECT_FALSE(standing(temporary));
    // A kill between naming the copy and removing the temporary file leaves a second name of the
    // copy: the next try finds the copy kept and removes it.
    std::filesystem::create_hard_link(copy, temporary);
    EXPECT_EQ(keepDamagedCopy(kProfile), copy);
    EXPECT_FALSE(standing(temporary));
}

// Makes this process's link() fail as on a FAT drive (EPERM), and with noPlainRename also its
// rename that replaces nothing as on a drive through FUSE (EINVAL). False when it cannot.
bool withoutHardLinks(bool noPlainRename)
{
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_link, 3, 0),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_linkat, 2, 0),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, noPlainRename ? __NR_renameat2 : ~0u, 2, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EPERM),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EINVAL),
    };
    const sock_fprog program{sizeof(filter) / sizeof(filter[0]), filter};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

TEST_F(DamagedFiles, AFolderWithoutHardLinksKeepsTheCopyAndThePark)
{
    const std::string damaged = savedPark("[cash]\nlots\n");
    const std::string copy = std::string(kProfile) + ".damaged", temporary = copy + ".tmp";
    for (bool noPlainRename : {false, true}) {
        SCOPED_TRACE(noPlainRename);
        std::fflush(stdout);
        const pid_t child = fork();
        if (child == 0) {
            if (!withoutHardLinks(noPlainRename))
                _exit(2);
            // The copy is kept and the park played.
            DataProfile* p = load(damaged);
            _exit(p->mDamagedCopy == copy && !p->mUnreadable ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        EXPECT_EQ(data.read(copy), damaged);
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(temporary)));
        std::filesystem::remove(copy);
    }
}

// ---- damage that reads like something else

TEST_F(DamagedFiles, EverySilentDamageIsToldAndKeptAside)
{
    const std::string whole = wholePark();
    auto replaced = [&whole](const std::string& from, const std::string& to, size_t after = 0) {
        std::string text = whole;
        return text.replace(text.find(from, after), from.size(), to);
    };
    const size_t luna = whole.find("[animal]\ndog Luna");
    const std::vector<std::wstring> all = {L"Rex", L"Luna", L"Tom", L"Kit"}, butLuna = {L"Rex", L"Tom", L"Kit"};
    struct Case {
        const char* what;
        std::string text;
        const char* told; // in a warning
        std::vector<std::wstring> animals;
    };
    const std::vector<Case> cases = {
        // Luna's last two value lines are gone: her section ends at Tom's key line.
        {"an animal two lines short", replaced("1 1 1\n5 0\n", "", luna), "profile1.txt, [animal]: cut short", butLuna},
        {"a blank after a key", replaced("[animal]", "[animal] ", luna), "\"[animal] \" is no key line", butLuna},
        {"a wrong character", replaced("[animal]", "[animal}", luna), "\"[animal}\" is no key line", butLuna},
        {"cut at a line end", whole.substr(0, luna), "profile1.txt, [animal]: 1 of the 4 sections written", {L"Rex"}},
        {"a second [cash], the last kept", replaced("[cash]\n700\n", "[cash]\n99\n\n[cash]\n700\n"),
         "profile1.txt, [cash]: a second section", all},
        {"a month record's key in lower case", replaced("[mStatLastMonth]", "[mstatlastmonth]"),
         "\"[mstatlastmonth]\" is no key line", all},
        {"a name that is not UTF-8", replaced("Anna", "Ann\xE9"), "1 line(s) from line 5 hold bytes that are not UTF-8",
         all},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string printed;
        DataProfile* p = load(c.text, &printed);
        // The warning names the file and the section.
        const size_t told = printed.find(c.told);
        ASSERT_NE(told, std::string::npos) << printed;
        EXPECT_NE(printed.rfind("Warning: data/game/Profiles/profile1.txt", told), std::string::npos);
        EXPECT_EQ(printed.find('\n', printed.rfind("Warning:", told)), printed.find('\n', told)) << printed;
        EXPECT_EQ(storage->mGlobalSettings->mCashAccount->mCash, 700);
        EXPECT_EQ(animalNames(), c.animals);
        EXPECT_EQ(storage->mParkBuildings.size(), 4u);
        // The copy is there before the autosave, which keeps what was read.
        EXPECT_EQ(p->mDamagedCopy, std::string(kProfile) + ".damaged");
        EXPECT_EQ(data.read(p->mDamagedCopy), c.text);
        const std::string saved = autosave(p);
        for (const std::wstring& name : c.animals)
            EXPECT_NE(saved.find(wideToString(name)), std::string::npos);
        storage->mProfiles.clear();
        std::filesystem::remove(p->mDamagedCopy);
    }

    // An empty file is no park: it is not played, so nothing is saved over it.
    std::string printed;
    DataProfile* p = load("", &printed);
    EXPECT_TRUE(p->mUnreadable);
    EXPECT_NE(printed.find("profile1.txt: cannot be read"), std::string::npos) << printed;
    EXPECT_EQ(p->mDamagedCopy, std::string(kProfile) + ".damaged");
    play(p);
    EXPECT_FALSE(storage->saveCurrentProfile());
    EXPECT_EQ(data.read(kProfile), "");
    // A whole file read again is played again.
    data.write(kProfile, whole);
    loadProfile(p, 0);
    EXPECT_FALSE(p->mUnreadable);
    EXPECT_TRUE(storage->saveCurrentProfile());
    EXPECT_EQ(data.read(kProfile), whole);
}

TEST_F(DamagedFiles, AnimalsBeyondTheirHomesAreToldAndKept)
{
    std::string park = savedPark();
    for (const char* place : {"helper_pies2 1", "helper_pies3 2"})
        park += std::string("[animal]\ndog Luna 0\n") + place + "\n5 0 0\n7 0 0 0\n0.5 0.5\n1 1 1\n5 0\n\n";
    std::string printed;
    DataProfile* p = load(park, &printed);
    EXPECT_NE(printed.find("profile1.txt, [animal]: 3 dog animal(s) for 1 home(s)"), std::string::npos) << printed;
    EXPECT_EQ(p->mHomeless, 2);
    // Nothing is lost, so nothing needs a copy: each load would make another.
    EXPECT_TRUE(p->mDamagedCopy.empty());
    ASSERT_EQ(storage->mParkAnimals.size(), 3u);
    EXPECT_EQ(load(autosave(p))->mHomeless, 2);
}

// ---- numbers held within their ranges

TEST_F(DamagedFiles, SavedNumbersAreHeldWithinWhatTheGameCanProduce)
{
    std::string printed;
    load("[cash]\n2147483647\n\n[loan]\n-50\n\n[food]\n-3\n\n[accomodation ticket price]\n2000000000\n\n"
         "[dinner price]\n-8\n\n[salt in food]\n40\n\n"
         "[mBalanceThisMonth]\n2147483647 2147483647 2147483647 0 0 0 0 0 0 0 0 0 0 -2147483648\n\n"
         "[building]\nDogHouse1.txt\n7\n0 0\n7\n0 0\n\n[building]\nDogHouse1.txt\n3\n0 0\n3\n0 0\n\n"
         "[animal]\ndog Rex 0\nhelper_pies1 0\n5 0 0\n7 0 0 0\n0.5 0.5\n9 -1 3\n0 -7\n\n"
         "[animal]\ndog Luna 1\nhelper_pies1 0\n5 0 0\n7 0 0 0\n0.5 0.5\n1 1 1\n5 0\n\n"
         "[animal]\ndog Max 0\nhelper_pies2 1\n5 0 0\n7 0 0 0\n1e30 -4\n1 1 1\n2147483647 0\n",
         &printed);
    GlobalSettings* settings = storage->mGlobalSettings;
    EXPECT_EQ(settings->mCashAccount->mCash, kMaxMoney);
    EXPECT_EQ(settings->mCashAccount->mLoan, 0);
    EXPECT_EQ(settings->mFoodStored, 0);
    EXPECT_EQ(settings->mAccommodationTicketPrice, kMaxPrice);
    EXPECT_EQ(settings->mDinnerPrice, 0);
    EXPECT_EQ(settings->mSaltInFood, 10);
    EXPECT_EQ(storage->mBalanceThisMonth->mValues[0], kMaxMoney);
    EXPECT_EQ(storage->mBalanceThisMonth->mValues[13], -kMaxMoney);
    EXPECT_EQ(storage->mBalanceThisMonth->total(), 2 * kMaxMoney);
    // The same building once; one animal per place.
    ASSERT_EQ(storage->mParkBuildings.size(), 1u);
    ASSERT_EQ(storage->mParkAnimals.size(), 2u);
    DataAnimal* rex = storage->mParkAnimals[0];
    EXPECT_EQ(rex->mTrickProgress[0], 7);
    EXPECT_EQ(rex->mTrickProgress[1], 0);
    EXPECT_EQ(rex->mStayDays, 1);
    EXPECT_EQ(rex->mDaysToTeach, -1);
    DataAnimal* max = storage->mParkAnimals[1];
    EXPECT_EQ(max->mName, L"Max");
    EXPECT_EQ(max->mHungerDrop, 7.0f);
    EXPECT_EQ(max->mHealthDrop, 0.0f);
    EXPECT_EQ(max->mStayDays, kMaxDays);
    EXPECT_EQ(max->mAccommodationFee, kMaxMoney);
    for (const char* named : {"profile1.txt, [cash]", "[loan]", "[food]", "[animal]", "[building]"})
        EXPECT_NE(printed.find(named), std::string::npos) << named;

    // A month of sales, fees and maintenance on these numbers stays within the money range
    // (an overflow would stop the sanitized test run).
    Singleton<PublicManager>::get()->mVisitors = 1000000;
    storage->mParkBuildings[0]->mMaintenance = kMaxPrice;
    testing::internal::CaptureStdout();
    for (int day = 0; day < 40; ++day)
        storage->newDay();
    storage->mGlobalSettings->mCashAccount->addCash(kMaxMoney);
    testing::internal::GetCapturedStdout();
    EXPECT_LE(storage->mGlobalSettings->mCashAccount->mCash, kMaxMoney);
    // The rex's stay of one day has ended.
    for (DataAnimal* animal : storage->mParkAnimals)
        EXPECT_NE(animal->mName, L"Rex");
}

TEST_F(DamagedFiles, GameSpeedAndPeriodsGetAMinimum)
{
    auto days = [this](int steps) {
        GameDate* date = storage->mGlobalSettings->mDate;
        int before = date->mDaysElapsed;
        storage->mGlobalSettings->mDayClock = 0;
        for (int i = 0; i < steps; ++i)
            storage->update();
        return date->mDaysElapsed - before;
    };
    // Without "[game speed]" a day lasts the usual 3 s: one second of steps ends none.
    std::string global = ParkTestData::globalText();
    global.replace(global.find("[game speed]\n1000"), 17, "[game speed]\nfast");
    data.write("data/game/global.txt", global + "[random animals to buy after (days)]\n0\n\n"
                                                "[animal days to learn trick min-max]\ncat 0 -3\n");
    testing::internal::CaptureStdout();
    ParkTestData::load();
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(storage->mGlobalSettings->mGameSpeed, 3000);
    EXPECT_NE(printed.find("global.txt: no valid [game speed]"), std::string::npos);
    EXPECT_EQ(days(100), 0);
    EXPECT_EQ(storage->mGlobalSettings->mDaysBetweenNewAnimals, 1);
    // A stay of 0 days or less would never end: the cats' range is held at one day.
    EXPECT_EQ(storage->mGlobalSettings->mDaysToLearnRanges[L"cat"], std::make_pair(1, 1));

    // A speed of 0 is held at one day a second: 10 s of steps end at most 10 days.
    global.replace(global.find("[game speed]\nfast"), 17, "[game speed]\n0");
    data.write("data/game/global.txt", global);
    testing::internal::CaptureStdout();
    ParkTestData::load();
    printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(storage->mGlobalSettings->mGameSpeed, 1000);
    EXPECT_NE(printed.find("global.txt, [game speed]: number 0 outside"), std::string::npos);
    testing::internal::CaptureStdout();
    EXPECT_LE(days(1000), 10);
    testing::internal::GetCapturedStdout();
}

// ---- values that look like keys

TEST_F(DamagedFiles, TextsEqualToAKeyReadBackAsTheyWereWritten)
{
    DataProfile* p = load(savedPark());
    ASSERT_TRUE(saveProfile(kProfile, L"[cash]", L"[building]", 1, 0, -1, 0, 0, 0));
    const std::string written = data.read(kProfile);
    storage->mGlobalSettings->mCashAccount->mCash = 1;
    loadProfile(p, 0);
    EXPECT_EQ(p->mName, L"[cash]");
    EXPECT_EQ(p->mAvatarFile, L"[building]");
    EXPECT_EQ(storage->mGlobalSettings->mCashAccount->mCash, 700);
    EXPECT_EQ(storage->mParkBuildings.size(), 1u);
    EXPECT_TRUE(p->mDamagedCopy.empty());
    ASSERT_TRUE(saveProfile(kProfile, p->mName, p->mAvatarFile, 1, 0, -1, 0, 0, 0));
    EXPECT_EQ(data.read(kProfile), written);
}

// ---- saves that fail

TEST_F(DamagedFiles, AFailedSaveIsToldOncePerKindOfFailure)
{
    // A folder that is not there cannot take the file.
    play(profile("data/game/Gone/profile1.txt"));
    testing::internal::CaptureStdout();
    storage->newDay();
    storage->newDay();
    EXPECT_FALSE(storage->saveCurrentProfile());
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(storage->mPlayerNotices.size(), 1u);
    EXPECT_EQ(storage->mPlayerNotices[0].mTitleKey, L"savefailed");
    EXPECT_EQ(storage->mPlayerNotices[0].mTextKey, L"savefailedopen");
    EXPECT_EQ(storage->mPlayerNotices[0].mFile, L"data/game/Gone/profile1.txt");

    // A folder standing where the file should be cannot be replaced: another kind, told too.
    std::filesystem::create_directories(kProfile);
    play(profile(kProfile));
    testing::internal::CaptureStdout();
    storage->newDay();
    storage->newDay();
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(storage->mPlayerNotices.size(), 2u);
    EXPECT_EQ(storage->mPlayerNotices[1].mTextKey, L"savefailedrename");
    EXPECT_FALSE(std::filesystem::exists(std::string(kProfile) + ".tmp"));

    // The texts the autosaves of some days queue, each day's taken off as the screens show it.
    auto toldOverDays = [this](int days) {
        std::vector<std::wstring> told;
        for (int day = 0; day < days; ++day) {
            storage->newDay();
            for (const DataStorage::PlayerNotice& notice : storage->mPlayerNotices)
                told.push_back(notice.mTextKey);
            storage->mPlayerNotices.clear();
        }
        return told;
    };
    const std::vector<std::wstring> toldOnce = {L"savefailedopen"};
    // A save that works again makes the same failure after it news: told, once.
    storage->mPlayerNotices.clear();
    play(profile("data/game/Gone/profile1.txt"));
    std::filesystem::create_directories("data/game/Gone");
    EXPECT_TRUE(toldOverDays(1).empty());
    std::filesystem::remove_all("data/game/Gone");
    EXPECT_EQ(toldOverDays(3), toldOnce);
    // Another park loaded starts with nothing told.
    loadGameData(storage, "data/game/");
    play(profile("data/game/Gone/profile1.txt"));
    EXPECT_EQ(toldOverDays(2), toldOnce);

    // The options file: told at the start once per kind, and at every confirmation by the player.
    storage->mPlayerNotices.clear();
    testing::internal::CaptureStdout();
    storage->createOptions("data/game/Gone/");
    EXPECT_FALSE(storage->saveOptions());
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(storage->mPlayerNotices.size(), 1u);
    EXPECT_EQ(storage->mPlayerNotices[0].mTextKey, L"optionsfailedopen");
    EXPECT_EQ(storage->mPlayerNotices[0].mFile, L"data/game/Gone/save.txt");
    storage->mPlayerNotices.clear();
    testing::internal::CaptureStdout();
    storage->saveOptions();
    EXPECT_TRUE(storage->mPlayerNotices.empty());
    storage->saveOptions(true);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(storage->mPlayerNotices.size(), 1u);
    delete storage->mOptions;
    storage->mOptions = nullptr;
    storage->mOptionsFailuresTold = 0;

    // Texts that the player reads exist for every kind.
    textsManager.load(PETPARK_SOURCE_DIR "/data/dat/texts.dat");
    for (const wchar_t* key : {L"savefailed", L"savefailedopen", L"savefailedwrite", L"savefailedrename",
                               L"savefailedoccupied", L"optionsfailedopen", L"optionsfailedwrite",
                               L"optionsfailedrename", L"optionsfailedoccupied", L"parkdamaged",
                               L"parkdamagedmessage", L"parkunreadablemessage", L"parkuncopiedmessage", L"homeless",
                               L"homelessmessage"})
        EXPECT_NE(std::wstring(textsManager.get(key)), L"missing text") << key;
}

// ---- game data files

TEST_F(DamagedFiles, MissingAchievementAndPromotionFilesAreNamedAndTheParkKeepsWhatItReached)
{
    auto loadWarnings = [] {
        testing::internal::CaptureStderr();
        ParkTestData::load();
        return testing::internal::GetCapturedStderr();
    };
    EXPECT_EQ(loadWarnings().find("missing"), std::string::npos);
    std::filesystem::remove(data.dir().file("data/game/Achievements/a1.txt"));
    std::filesystem::remove(data.dir().file("data/game/Promotions/p2.txt"));
    std::string warnings = loadWarnings();
    EXPECT_NE(warnings.find("Warning: data/game/Achievements/a1.txt is missing"), std::string::npos) << warnings;
    EXPECT_NE(warnings.find("Warning: data/game/Promotions/p2.txt is missing"), std::string::npos) << warnings;
    EXPECT_NE(warnings.find("data/game/Promotions/ holds 2 usable promotion file(s); the bank offers 3"),
              std::string::npos)
        << warnings;
    // A park that reached the achievement of a file gone keeps it, read and saved as it was, and
    // is not taken for damaged.
    std::string printed;
    DataProfile* p = load(savedPark("[achievement]\nFirst\n\n[achievement]\nLast\n"), &printed);
    EXPECT_NE(printed.find("profile1.txt, [achievement]: no achievement file of data/game/Achievements/ names "
                           "\"First\"; kept"),
              std::string::npos)
        << printed;
    EXPECT_TRUE(p->mDamagedCopy.empty());
    play(p);
    testing::internal::CaptureStdout();
    ASSERT_TRUE(storage->saveCurrentProfile());
    testing::internal::GetCapturedStdout();
    const std::string saved = data.read(kProfile);
    EXPECT_NE(saved.find("[achievement]\nFirst\n"), std::string::npos);
    EXPECT_NE(saved.find("[achievement]\nLast\n"), std::string::npos);

    std::filesystem::remove(data.dir().file("data/game/Achievements/a2.txt"));
    warnings = loadWarnings();
    EXPECT_NE(warnings.find("data/game/Achievements/ holds no usable achievement file"), std::string::npos)
        << warnings;
    EXPECT_TRUE(storage->mAchievements.empty());
}

} // namespace

#include "game/Profiles.h"

#include "game/CashAccount.h"
#include "game/DataAchievement.h"
#include "game/DataAnimal.h"
#include "game/DataBuilding.h"
#include "game/DataStorage.h"
#include "game/GameDate.h"
#include "game/GameOptions.h"
#include "game/GlobalSettings.h"
#include "game/KeyFile.h"
#include "game/MonthBalance.h"
#include "game/ParkEvents.h"
#include "game/Ranges.h"
#include "game/Promotion.h"
#include "core/platform.h"
#include "toolkit/utils/misc.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <set>
#include <utility>

// Index: writing - reading sections - loadProfile - the profile list

namespace {
const char* const kDataFolder = "data/game/";
const char* const kBuildingsFolder = "data/game/Buildings/";
const char* const kAvatarsFolder = "data/game/Profiles/Avatars/";
const int kTopLevel = 7;
const int kMaxHunger = 100; // hunger stands above 7 until the day after feedings
const int kMaxSalt = 10;
const int kMaxDamagedCopies = 100;

// The file's bytes; false when it cannot be opened or read to its end (a folder, a read error).
bool readWholeFile(const std::string& path, std::string& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    std::string read;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        read.append(buffer, n);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed)
        return false;
    bytes.swap(read);
    return true;
}

const wchar_t* const kMonthKeys[4] = {L"[mBalanceThisMonth]", L"[mBalanceLastMonth]", L"[mStatLastMonth]",
                                      L"[mStatThisMonth]"};
// Written first: how many [building], [animal] and [person walking] sections the file holds, so
// that a file cut short after any section is told from a whole one.
const wchar_t* const kCountsKey = L"[section counts]";
// The sections written once into every file; a file with its counts must hold them all.
const wchar_t* const kSingleKeys[] = {
    L"[name]", L"[tutorial]", L"[food]", L"[avatar]", L"[loan]", L"[cash]", L"[date]",
    L"[food stored]", L"[accomodation ticket price]", L"[teaching price]", L"[dinner price]",
    L"[drinks price]", L"[salad price]", L"[salt in food]", L"[souvenirs price]", L"[car ticket price]",
    L"[act park promotion]"};
// The other key lines of a saved game, for telling where a section ends.
const wchar_t* const kListKeys[] = {L"[achievement]", L"[achievement notice]", L"[building]", L"[animal]",
                                    L"[person walking]", kCountsKey};

MonthBalance** monthRecord(DataStorage* storage, int i)
{
    MonthBalance** records[4] = {&storage->mBalanceThisMonth, &storage->mBalanceLastMonth, &storage->mStatLastMonth,
                                 &storage->mStatThisMonth};
    return records[i];
}

std::vector<std::wstring> wordsOf(const MonthBalance* record)
{
    std::vector<std::wstring> words;
    for (int word : record->mValues)
        words.push_back(intText(word));
    return words;
}
} // namespace

// ---- writing

bool saveProfile(const std::string& path, const std::wstring& name, const std::wstring& avatarFile, int tutorial,
                 int tutorialStep, int tutorialState, int buildingBought, int petAccepted, int thirdTrigger,
                 WriteFailure* failure)
{
    DataStorage* storage = Singleton<DataStorage>::get();
    GlobalSettings* settings = storage->mGlobalSettings;
    CashAccount* account = settings->mCashAccount;
    GameDate* date = settings->mDate;
    KeyFileWriter w;

    int animals = 0;
    for (DataAnimal* animal : storage->mParkAnimals)
        animals += animal->mAvatar != nullptr;
    const std::vector<float> walkers = parkEvents().walkerProgress();
    w.key(kCountsKey)
        .line({intText(static_cast<int>(storage->mParkBuildings.size())), intText(animals),
               intText(static_cast<int>(walkers.size()))})
        .end();
    w.key(L"[name]").line(name).end();
    w.key(L"[tutorial]")
        .line({flagText(tutorial), intText(tutorialStep), intText(tutorialState)})
        .line({flagText(buildingBought), flagText(petAccepted), flagText(thirdTrigger)})
        .end();
    w.key(L"[food]").line(intText(settings->mFoodStored)).end();
    w.key(L"[avatar]").line(avatarFile).end();
    w.key(L"[loan]").line(intText(account->mLoan)).end();
    w.key(L"[cash]").line(intText(account->mCash)).end();
    w.key(L"[date]").line({intText(date->mDay), intText(date->mMonth), intText(date->mYear)}).end();
    for (int i = 0; i < 4; ++i)
        w.key(kMonthKeys[i]).line(wordsOf(*monthRecord(storage, i))).end();
    for (DataAchievement* achievement : storage->mAchievements)
        if (achievement->mDone)
            w.key(L"[achievement]").line(achievement->mName).end();
    for (const std::wstring& name : storage->mAchievementsWithoutFile)
        w.key(L"[achievement]").line(name).end();
    // Reached achievements whose notices the player has not opened yet: opening one pays its
    // reward, which would be lost with the notice.
    for (const DataAchievement* achievement : parkEvents().waitingNotices())
        w.key(L"[achievement notice]").line(achievement->mName).end();
    w.key(L"[food stored]").line(intText(settings->mFoodStored)).end();
    w.key(L"[accomodation ticket price]").line(intText(settings->mAccommodationTicketPrice)).end();
    w.key(L"[teaching price]").line(intText(settings->mTeachingPrice)).end();
    w.key(L"[dinner price]").line(intText(settings->mDinnerPrice)).end();
    w.key(L"[drinks price]").line(intText(settings->mDrinksPrice)).end();
    w.key(L"[salad price]").line(intText(settings->mSaladPrice)).end();
    w.key(L"[salt in food]").line(intText(settings->mSaltInFood)).end();
    w.key(L"[souvenirs price]").line(intText(settings->mOwnersAccommodationPrice)).end();
    w.key(L"[car ticket price]").line(intText(settings->mCarParkingTicketPrice)).end();

    // Only a promotion of the list can be active; anything else is saved as none.
    int active = settings->mActivePromotion;
    if (active >= 1 && active <= static_cast<int>(storage->mPromotions.size()))
        w.key(L"[act park promotion]").line(intText(active)).line(intText(storage->mPromotions[active - 1]->mDaysLeft));
    else
        w.key(L"[act park promotion]").line(L"-1").line(L"0");
    w.end();

    for (DataBuilding* building : storage->mParkBuildings) {
        w.key(L"[building]")
            .line(stringToWide(building->fileName()))
            .line(intText(building->mCleanness))
            .line({flagText(building->mCleaning), realText(building->mCleannessAcc)})
            .line(intText(building->mCondition))
            .line({flagText(building->mRepairing), realText(building->mConditionAcc)})
            .end();
    }
    for (DataAnimal* animal : storage->mParkAnimals) {
        if (!animal->mAvatar)
            continue; // an animal without a place cannot be restored
        w.key(L"[animal]")
            .line({animal->mType, animal->mName, intText(animal->mPictureIndex)})
            .line({stringToWide(parkEvents().figurePlaceName(animal->mAvatar)),
                   intText(parkEvents().figurePlaceIndex(animal->mAvatar))})
            .line({intText(animal->mHunger), realText(animal->mHungerAcc), flagText(animal->mFed)})
            .line({intText(animal->mHealth), realText(animal->mHealthAcc), flagText(animal->mAtDoctor),
                   flagText(animal->mSick)})
            .line({realText(animal->mHungerDrop), realText(animal->mHealthDrop)})
            .line({intText(animal->mTrickProgress[0]), intText(animal->mTrickProgress[1]),
                   intText(animal->mTrickProgress[2])})
            .line({intText(animal->mStayDays), intText(animal->mDaysToTeach)})
            .end();
    }
    for (float progress : walkers)
        w.key(L"[person walking]").line(realText(progress));
    return w.write(path, failure);
}

// ---- reading sections

namespace {

// Integers of one value line, each held within lo..hi; false (with a warning) when fewer than
// count are well formed.
bool readInts(KeyFileReader& r, int* out, size_t count, int lo = INT_MIN, int hi = INT_MAX)
{
    std::vector<std::wstring> items = r.items();
    if (items.size() < count) {
        if (!r.cut())
            r.warn("too few values, section skipped");
        return false;
    }
    for (size_t i = 0; i < count; ++i) {
        if (!r.toInt(items[i], out[i]))
            return false;
        out[i] = r.within(out[i], lo, hi);
    }
    return true;
}

// A flag and a real of one value line.
bool readFlagAndReal(KeyFileReader& r, int& flag, float& real)
{
    std::vector<std::wstring> items = r.items();
    if (items.size() < 2) {
        if (!r.cut())
            r.warn("too few values, section skipped");
        return false;
    }
    return r.toInt(items[0], flag) && r.toFloat(items[1], real);
}

int clampLevel(KeyFileReader& r, int level)
{
    if (level >= 0 && level <= kTopLevel)
        return level;
    r.warn("level outside 0..7, held within");
    return level < 0 ? 0 : kTopLevel;
}

void readBuilding(KeyFileReader& r, DataStorage* storage)
{
    std::wstring file = r.value();
    int cleanness = 0, condition = 0, cleaning = 0, repairing = 0;
    float cleanAcc = 0.0f, conditionAcc = 0.0f;
    bool ok = r.readInt(cleanness);
    ok = readFlagAndReal(r, cleaning, cleanAcc) && ok;
    ok = r.readInt(condition) && ok;
    ok = readFlagAndReal(r, repairing, conditionAcc) && ok;
    std::string name = wideToString(file);
    std::string path = kBuildingsFolder + name;
    if (!ok)
        return;
    if (name.empty() || name.find('/') != std::string::npos || name.find('\\') != std::string::npos) {
        r.warn(("not a building file name \"" + name + "\", section skipped").c_str());
        return;
    }
    if (storage->findParkBuilding(name)) {
        r.warn(("building \"" + name + "\" stands in the park already, section skipped").c_str());
        return;
    }
    // A building whose file has gone stays in the park with the reader's defaults and its saved
    // levels, so the next save still holds it.
    if (!file_exists(path.c_str()))
        r.warn(("no building file \"" + path + "\", the building kept with default values").c_str());
    DataBuilding* building = new DataBuilding(path);
    building->mCleanness = clampLevel(r, cleanness);
    building->mCleaning = cleaning != 0;
    building->mCleannessAcc = cleanAcc;
    building->mCondition = clampLevel(r, condition);
    building->mRepairing = repairing != 0;
    building->mConditionAcc = conditionAcc;
    storage->mParkBuildings.push_back(building);
}

// takenPlaces: the species and place node of the animals read before; one animal a place.
void readAnimal(KeyFileReader& r, DataStorage* storage, std::set<std::pair<std::wstring, std::wstring>>& takenPlaces)
{
    std::vector<std::wstring> line1 = r.items();
    std::vector<std::wstring> line2 = r.items();
    int hunger = 0, fed = 0, health = 0, atDoctor = 0, sick = 0;
    float hungerAcc = 0.0f, healthAcc = 0.0f, hungerDrop = 0.0f, healthDrop = 0.0f;
    int tricks[3] = {}, days[2] = {};
    int picture = 0, placeIndex = 0;

    bool ok = line1.size() >= 3 && line2.size() >= 2;
    std::vector<std::wstring> line3 = r.items();
    std::vector<std::wstring> line4 = r.items();
    std::vector<std::wstring> line5 = r.items();
    ok = ok && line3.size() >= 3 && line4.size() >= 4 && line5.size() >= 2;
    ok = readInts(r, tricks, 3) && ok;
    ok = readInts(r, days, 2) && ok;
    if (!ok) {
        if (!r.cut())
            r.warn("malformed animal, section skipped");
        return;
    }
    ok = r.toInt(line1.back(), picture) && r.toInt(line2[1], placeIndex) && r.toInt(line3[0], hunger) &&
         r.toFloat(line3[1], hungerAcc) && r.toInt(line3[2], fed) && r.toInt(line4[0], health) &&
         r.toFloat(line4[1], healthAcc) && r.toInt(line4[2], atDoctor) && r.toInt(line4[3], sick) &&
         r.toFloat(line5[0], hungerDrop) && r.toFloat(line5[1], healthDrop);
    if (!ok)
        return;

    // Species first, picture index last, the name in between (a name may hold spaces).
    std::wstring species = line1.front();
    std::wstring name = line1[1];
    for (size_t i = 2; i + 1 < line1.size(); ++i)
        name += L" " + line1[i];
    auto places = storage->mAnimalHelpers.find(species);
    if (places == storage->mAnimalHelpers.end() || placeIndex < 0 ||
        placeIndex >= static_cast<int>(places->second.size())) {
        r.warn("place index outside the species' places, animal skipped");
        return;
    }
    if (!takenPlaces.insert(std::make_pair(species, line2[0])).second) {
        r.warn("an animal stands at that place already, animal skipped");
        return;
    }
    auto coats = storage->mSkinFiles.find(species);
    if (picture < 0 || coats == storage->mSkinFiles.end() || picture >= static_cast<int>(coats->second.size())) {
        r.warn("picture index outside the species' coats, the first coat taken");
        picture = 0;
    }

    GlobalSettings* settings = storage->mGlobalSettings;
    DataAnimal* animal = new DataAnimal(name, species, hungerDrop, healthDrop, picture);
    storage->mParkAnimals.push_back(animal);
    animal->loadPicture(picture);
    // Hunger may stand above 7 until the day after a feeding; no level is below 0.
    hunger = r.within(hunger, 0, kMaxHunger);
    animal->mHunger = hunger;
    animal->mHungerAcc = hungerAcc;
    animal->mFed = fed != 0;
    health = clampLevel(r, health);
    animal->mHealth = health;
    animal->mHealthAcc = healthAcc;
    animal->mAtDoctor = atDoctor != 0;
    animal->mSick = sick != 0;
    animal->mHungerDrop = r.within(hungerDrop, 0.0f, static_cast<float>(kTopLevel));
    animal->mHealthDrop = r.within(healthDrop, 0.0f, static_cast<float>(kTopLevel));
    animal->mHappiness = DataAnimal::happinessOf(hunger, health);
    for (int i = 0; i < 3; ++i) {
        animal->mTrickProgress[i] = clampLevel(r, tricks[i]);
        animal->mTrickFees[i] = 0;
    }
    // A stay of 0 days or less would never end.
    animal->mStayDays = r.within(days[0], 1, kMaxDays);
    animal->mDaysToTeach = r.within(days[1], -1, kMaxDays); // -1: never taught yet
    animal->mAccommodationFee = moneyProduct(settings->mAccommodationTicketPrice, animal->mStayDays);
    animal->mTeachingPrice = settings->mTeachingPrice;
    animal->mAllTricksPrice = settings->mAllTricksTeachingPrice;
    animal->mAvatar = parkEvents().makeAnimalFigure(species, wideToString(line2[0]), placeIndex, picture,
                                                    places->second[placeIndex].mAnimation);
}

void readWalker(KeyFileReader& r)
{
    float progress = 0.0f;
    if (!r.readFloat(progress))
        return;
    if (!parkEvents().restoreWalker(progress))
        r.warn("no walking paths to restore a visitor on");
}

// An achievement's name as written: a key line in its place starts the next section unless an
// achievement bears that name. Null when the section is cut short.
const std::wstring* achievementName(KeyFileReader& r, const DataStorage* storage)
{
    bool named = false;
    for (const DataAchievement* achievement : storage->mAchievements)
        named = named || achievement->mName == r.nextLine();
    const std::wstring& name = named ? r.text() : r.value();
    return r.cut() ? nullptr : &name;
}

// Sections meant once: each is read, so the last one holds; a repeated one is warned about.
class OnceSections {
public:
    bool met(KeyFileReader& r)
    {
        if (!mSeen.insert(r.currentKey()).second)
            r.warn("a second section; the last one is kept");
        return true;
    }
    bool seen(const std::wstring& key) const { return mSeen.count(key) != 0; }

private:
    std::set<std::wstring> mSeen;
};

// The animals beyond the homes of their kind (a lost building, an edited file), with a warning
// for each kind. They all stay, so the next save keeps them: the file needs no copy.
int homeless(const std::string& path, const DataStorage* storage)
{
    std::map<std::wstring, int> homes, guests;
    for (const DataBuilding* building : storage->mParkBuildings)
        ++homes[building->mType];
    for (const DataAnimal* animal : storage->mParkAnimals)
        ++guests[animal->mType];
    int beyond = 0;
    for (const auto& kind : guests) {
        if (kind.second <= homes[kind.first])
            continue;
        beyond += kind.second - homes[kind.first];
        std::printf("Warning: %s, [animal]: %d %s animal(s) for %d home(s); those without a home are kept\n",
                    path.c_str(), kind.second, wideToString(kind.first).c_str(), homes[kind.first]);
    }
    return beyond;
}

// A file with its section counts must hold every section written once and as many of the
// others as were written; anything less was cut short or lost.
void checkWhole(KeyFileReader& r, const OnceSections& once, const int* written, const int* found)
{
    for (const wchar_t* key : kSingleKeys)
        if (!once.seen(key))
            r.warn(key, "missing: the file is cut short or damaged");
    for (const wchar_t* key : kMonthKeys)
        if (!once.seen(key))
            r.warn(key, "missing: the file is cut short or damaged");
    const wchar_t* const listed[3] = {L"[building]", L"[animal]", L"[person walking]"};
    for (int i = 0; i < 3; ++i)
        if (found[i] != written[i])
            r.warn(listed[i], (std::to_string(found[i]) + " of the " + std::to_string(written[i]) +
                               " sections written are in the file; it is cut short or damaged")
                                  .c_str());
}

} // namespace

// ---- loadProfile

void loadProfile(DataProfile* profile, int headerOnly)
{
    DataStorage* storage = Singleton<DataStorage>::get();
    KeyFileReader r(profile->mPath);
    std::vector<std::wstring> keys(std::begin(kSingleKeys), std::end(kSingleKeys));
    keys.insert(keys.end(), std::begin(kListKeys), std::end(kListKeys));
    r.setKeys(keys, std::vector<std::wstring>(std::begin(kMonthKeys), std::end(kMonthKeys)));

    // Fresh game data, camera, visitors and notices; an empty park.
    loadGameData(storage, kDataFolder);
    parkEvents().renewCamera();
    parkEvents().reloadVisitors();
    parkEvents().dropNotices();
    for (DataAnimal* animal : storage->mParkAnimals)
        storage->retire(animal);
    storage->mParkAnimals.clear();
    storage->mParkBuildings.clear();
    parkEvents().clearWalkers();

    GlobalSettings* settings = storage->mGlobalSettings;
    CashAccount* account = settings->mCashAccount;
    std::set<std::pair<std::wstring, std::wstring>> takenPlaces;
    std::vector<std::wstring> waitingNotices;
    OnceSections once;
    int written[3] = {}; // buildings, animals, walkers, by the file's counts
    int found[3] = {};   // their sections met
    bool counted = false;
    for (; r.more(); r.advance()) {
        if (r.key(kCountsKey) && once.met(r))
            counted = readInts(r, written, 3, 0, INT_MAX);
        if (r.key(L"[name]") && once.met(r))
            profile->mName = r.text();
        if (r.key(L"[tutorial]", 2) && once.met(r)) {
            int first[3] = {}, second[3] = {};
            bool ok = readInts(r, first, 3);
            if (readInts(r, second, 3) && ok) {
                profile->mTutorial = first[0] != 0;
                TutorialProgress tutorial;
                tutorial.step = first[1];
                tutorial.pointerTarget = first[2];
                tutorial.buildingBought = second[0] != 0;
                tutorial.petAccepted = second[1] != 0;
                tutorial.foodBought = second[2] != 0;
                parkEvents().restoreTutorial(tutorial);
            }
        }
        if (r.key(L"[avatar]") && once.met(r)) {
            profile->mAvatarFile = r.text();
            profile->mAvatar = requestImage(kAvatarsFolder + wideToString(profile->mAvatarFile));
        }
        if (headerOnly)
            continue;
        if (r.key(L"[food]") && once.met(r))
            r.readInt(settings->mFoodStored, 0, kMaxCount);
        if (r.key(L"[food stored]") && once.met(r))
            r.value(); // the same as "[food]"
        for (int i = 0; i < 4; ++i) {
            if (r.exactKey(kMonthKeys[i]) && once.met(r)) {
                MonthBalance record;
                if (readInts(r, record.mValues, MonthBalance::kWords, -kMaxMoney, kMaxMoney))
                    **monthRecord(storage, i) = record;
            }
        }
        if (r.key(L"[cash]") && once.met(r))
            r.readInt(account->mCash, -kMaxMoney, kMaxMoney);
        if (r.key(L"[loan]") && once.met(r))
            r.readInt(account->mLoan, 0, kMaxMoney);
        if (r.key(L"[date]") && once.met(r)) {
            int date[3] = {};
            if (readInts(r, date, 3)) {
                if (GameDate::isValid(date[0], date[1], date[2])) {
                    delete settings->mDate;
                    settings->mDate = new GameDate(date[0], date[1], date[2]);
                } else {
                    r.warn("not a valid date, section skipped");
                }
            }
        }
        if (r.key(L"[achievement]")) {
            if (const std::wstring* saved = achievementName(r, storage)) {
                const std::wstring& name = *saved;
                bool known = false;
                for (DataAchievement* achievement : storage->mAchievements)
                    if (achievement->mName == name) {
                        achievement->mDone = 1;
                        known = true;
                    }
                if (!known && std::find(storage->mAchievementsWithoutFile.begin(),
                                        storage->mAchievementsWithoutFile.end(),
                                        name) == storage->mAchievementsWithoutFile.end()) {
                    // Not damage: nothing of the park is lost (no copy aside, no notice).
                    std::printf("Warning: %s, [achievement]: no achievement file of %sAchievements/ names \"%s\"; "
                                "kept in the park as it is\n",
                                profile->mPath.c_str(), kDataFolder, wideToString(name).c_str());
                    storage->mAchievementsWithoutFile.push_back(name);
                }
            }
        }
        if (r.key(L"[achievement notice]")) {
            if (const std::wstring* name = achievementName(r, storage))
                waitingNotices.push_back(*name);
        }
        if (r.key(L"[building]", 5)) {
            ++found[0];
            readBuilding(r, storage);
        }
        if (r.key(L"[animal]", 7)) {
            ++found[1];
            readAnimal(r, storage, takenPlaces);
        }
        if (r.key(L"[accomodation ticket price]") && once.met(r))
            r.readInt(settings->mAccommodationTicketPrice, 0, kMaxPrice);
        if (r.key(L"[teaching price]") && once.met(r))
            r.readInt(settings->mTeachingPrice, 0, kMaxPrice);
        if (r.key(L"[dinner price]") && once.met(r))
            r.readInt(settings->mDinnerPrice, 0, kMaxPrice);
        if (r.key(L"[drinks price]") && once.met(r))
            r.readInt(settings->mDrinksPrice, 0, kMaxPrice);
        if (r.key(L"[salad price]") && once.met(r))
            r.readInt(settings->mSaladPrice, 0, kMaxPrice);
        if (r.key(L"[salt in food]") && once.met(r))
            r.readInt(settings->mSaltInFood, 0, kMaxSalt);
        if (r.key(L"[souvenirs price]") && once.met(r))
            r.readInt(settings->mOwnersAccommodationPrice, 0, kMaxPrice);
        if (r.key(L"[car ticket price]") && once.met(r))
            r.readInt(settings->mCarParkingTicketPrice, 0, kMaxPrice);
        if (r.key(L"[act park promotion]") && once.met(r)) {
            int active = -1;
            if (r.readInt(active)) {
                // A running promotion (1 to the number of promotions) carries its days left on
                // the next line; anything else means none.
                int daysLeft = 0;
                settings->mActivePromotion = -1;
                if (active >= 0) {
                    if (r.index() + 1 >= r.lineCount())
                        r.warn("days left cut off, no promotion active");
                    else if (r.readInt(daysLeft) && active >= 1 &&
                             active <= static_cast<int>(storage->mPromotions.size()) && daysLeft > 0) {
                        settings->mActivePromotion = active;
                        storage->mPromotions[active - 1]->mDaysLeft = r.within(daysLeft, 1, kMaxDays);
                    } else if (!r.cut()) {
                        r.warn("no such running promotion, none active");
                    }
                } else if (active < -1) {
                    r.warn("no such promotion, none active");
                }
            }
        }
        if (r.key(L"[person walking]")) {
            ++found[2];
            readWalker(r);
        }
    }

    // The notices that waited at the save wait again, in their order: one per reached
    // achievement, so no reward can be paid twice.
    std::set<const DataAchievement*> noticed;
    for (const std::wstring& name : waitingNotices) {
        for (DataAchievement* achievement : storage->mAchievements) {
            if (achievement->mName == name && achievement->mDone && noticed.insert(achievement).second) {
                parkEvents().queueAchievementNotice(achievement);
                break;
            }
        }
    }

    parkEvents().placeCars();
    storage->generateAnimalsForSale();
    if (headerOnly)
        return;
    // A file that could not be opened, is empty or holds no section of a saved park is not
    // played: a fresh park would be saved over whatever it still holds.
    profile->mUnreadable = r.keysMatched() == 0;
    if (profile->mUnreadable)
        r.warn(std::wstring(), "cannot be read or holds no saved park; it is not played");
    else if (counted)
        checkWhole(r, once, written, found);
    profile->mHomeless = homeless(profile->mPath, storage);
    profile->mDamagedCopy.clear();
    profile->mCopyFailure = CopyFailure::None;
    if (r.warnings() > 0) {
        CopyFailure failure = CopyFailure::None;
        profile->mDamagedCopy = keepDamagedCopy(profile->mPath, &failure);
        if (!profile->mDamagedCopy.empty()) {
            std::printf("Warning: %s: part of the park could not be read; the file as it was is kept as %s\n",
                        profile->mPath.c_str(), profile->mDamagedCopy.c_str());
        } else if (!profile->mUnreadable) {
            // The autosave would replace the only whole record of what was not read.
            profile->mCopyFailure = failure;
            profile->mUnreadable = true;
            r.warn(std::wstring(), "damaged, and the file as it was could not be kept aside; it is not played");
        }
    }
}

const wchar_t* DataProfile::notPlayedText() const
{
    // In CopyFailure's order.
    static const wchar_t* const kTexts[] = {L"parkunreadablemessage", L"parkuncopiedfull", L"parkuncopiedpermission",
                                            L"parkuncopiedmany", L"parkuncopiedunreadable", L"parkuncopiedoccupied",
                                            L"parkuncopiedmessage"};
    return kTexts[static_cast<int>(mCopyFailure)];
}

namespace {
CopyFailure copyFailureOf(int error)
{
    // EFBIG: larger than a file may grow here, no room for it either.
    if (error == ENOSPC || error == EDQUOT || error == EFBIG)
        return CopyFailure::NoSpace;
    if (error == EACCES || error == EPERM || error == EROFS)
        return CopyFailure::NoPermission;
    // Only the temporary name tells it: a copy's name taken passes on to the next name.
    if (error == EEXIST)
        return CopyFailure::Occupied;
    return CopyFailure::Other;
}

// How the flushed copy gets a copy's name, each replacing nothing: a hard link; where the folder
// makes none (FAT and exFAT tell EPERM) a rename that replaces nothing; where that is refused too
// (a file system through FUSE) the copy written straight under the name, removed if cut short.
enum class Naming { Link, Rename, Write };

// The way to try after naming failed with error, or naming itself when the error is no refusal
// of the way.
Naming nextNaming(Naming naming, int error)
{
    if (naming == Naming::Link && (error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EMLINK))
        return Naming::Rename;
    if (naming == Naming::Rename && (error == EINVAL || error == EOPNOTSUPP || error == ENOSYS))
        return Naming::Write;
    return naming;
}

// Writes bytes to a new file at copy and flushes it; 0, or errno with nothing left at copy.
int writeCopy(const std::string& copy, const std::string& bytes)
{
    const int file = ::open(copy.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (file < 0)
        return errno;
    if (writeSyncAndClose(file, bytes))
        return 0;
    const int error = errno;
    ::unlink(copy.c_str());
    return error;
}
} // namespace

std::string keepDamagedCopy(const std::string& path, CopyFailure* failure)
{
    CopyFailure ignored;
    CopyFailure& cause = failure ? *failure : ignored;
    cause = CopyFailure::None;
    std::string bytes;
    if (!readWholeFile(path, bytes)) {
        cause = CopyFailure::Unreadable;
        std::printf("Warning: %s: the damaged file could not be read to keep it aside\n", path.c_str());
        return std::string();
    }
    // Written whole and flushed under this name first, then named as the first copy's name that
    // nothing holds, replacing nothing: a copy cut short (a kill, a full disk) is only ever this
    // temporary file, which the next try removes.
    const std::string temporary = path + ".damaged.tmp";
    bool made = false;
    // name: where the step that failed wrote.
    auto failed = [&](const std::string& name, int error) {
        if (made)
            ::unlink(temporary.c_str());
        cause = copyFailureOf(error);
        std::printf("Warning: %s: the damaged file could not be kept aside at %s: %s\n", path.c_str(), name.c_str(),
                    std::strerror(error));
        return std::string();
    };
    Naming naming = Naming::Link;
    for (int n = 1; n <= kMaxDamagedCopies;) {
        const std::string copy = path + ".damaged" + (n > 1 ? std::to_string(n) : std::string());
        struct stat st;
        if (::lstat(copy.c_str(), &st) == 0) {
            std::string kept;
            if (S_ISREG(st.st_mode) && readWholeFile(copy, kept) && kept == bytes) {
                // Kept already; the temporary file is this try's, or a second name of the copy
                // left by a kill before its removal.
                ::unlink(temporary.c_str());
                return copy;
            }
            ++n; // an older copy, or anything else of that name (a folder, a link), is left as it is
            continue;
        }
        if (!made && naming != Naming::Write) {
            const int file = createFreshFile(temporary);
            if (file < 0)
                return failed(temporary, errno);
            made = true; // from here on the temporary file is removed on failure
            if (!writeSyncAndClose(file, bytes))
                return failed(temporary, errno);
        }
        int error = 0;
        if (naming == Naming::Link)
            error = ::link(temporary.c_str(), copy.c_str()) == 0 ? 0 : errno;
        else if (naming == Naming::Rename)
            error = ::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, copy.c_str(), RENAME_NOREPLACE) == 0 ? 0 : errno;
        else
            error = writeCopy(copy, bytes);
        if (error == 0) {
            if (naming == Naming::Link)
                ::unlink(temporary.c_str());
            // The copy's name reaches the disk before any save may replace the original; a copy
            // under its name is kept even where the folder could not be flushed.
            if (!syncFolderOf(copy))
                std::printf("Warning: %s: the folder could not be flushed to the disk after keeping %s: %s\n",
                            path.c_str(), copy.c_str(), std::strerror(errno));
            return copy;
        }
        if (error == EEXIST) {
            ++n;
            continue;
        }
        const Naming next = nextNaming(naming, error);
        if (next == naming)
            return failed(copy, error);
        // The same name, the next way.
        naming = next;
        if (naming == Naming::Write && made) {
            ::unlink(temporary.c_str());
            made = false;
        }
    }
    if (made)
        ::unlink(temporary.c_str());
    cause = CopyFailure::TooMany;
    std::printf("Warning: %s: the damaged file could not be kept: %d other copies stand beside it\n", path.c_str(),
                kMaxDamagedCopies);
    return std::string();
}

// ---- the profile list

void DataStorage::scanProfiles(const std::string& folder)
{
    for (DataProfile* profile : mProfiles)
        retire(profile);
    mProfiles.clear();
    std::string profiles = folder + "Profiles/";
    for (const std::wstring& name : listDirectory(profiles, "*.txt")) {
        DataProfile* profile = new DataProfile(profiles + wideToString(name));
        mProfiles.push_back(profile);
        loadProfile(profile, 0);
    }
    if (mProfiles.empty()) {
        mCurrentProfile = -1;
        if (mOptions) {
            mOptions->mProfile = -1;
            saveOptions();
        }
    } else {
        // Indexes of profiles removed outside the game mean none.
        if (mCurrentProfile >= static_cast<int>(mProfiles.size()))
            mCurrentProfile = -1;
        if (mOptions && mOptions->mProfile >= static_cast<int>(mProfiles.size())) {
            mOptions->mProfile = -1;
            saveOptions();
        }
    }
}

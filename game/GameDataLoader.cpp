#include "core/Assert.h"
#include "game/DataAchievement.h"
#include "game/DataAnimal.h"
#include "game/DataBuilding.h"
#include "game/DataFood.h"
#include "game/DataStorage.h"
#include "game/GlobalSettings.h"
#include "game/KeyFile.h"
#include "game/MonthBalance.h"
#include "game/ParkEvents.h"
#include "game/Promotion.h"
#include "render/external/bg_loader.h"
#include "toolkit/utils/misc.h"

#include <cstdio>
#include <set>
#include <cstdlib>

// Index: resources - "animals.txt" - starting animals - loadGameData

namespace {
const int kPriority = 100;
const char* const kAnimalsFile = "data/game/animals.txt";
const char* const kSkinFolder = "data/3dn/tex/";
const wchar_t* const kDefaultMask = L"0000";
const int kTopLevel = 7;
const int kTopHappiness = 4;

// The word of a species in its animals' place names ("helper_pies1"); empty for none.
std::wstring placeWord(const std::wstring& species)
{
    if (species == L"dog")
        return L"pies";
    if (species == L"cat")
        return L"kot";
    if (species == L"dino")
        return L"dino";
    if (species == L"rabbit")
        return L"krolik";
    if (species == L"horse")
        return L"kon";
    return std::wstring();
}

// A starting level of "global.txt", truncated and held within 0..top.
int startingLevel(float value, int top)
{
    return value <= 0.0f ? 0 : value >= top ? top : static_cast<int>(value);
}

// A line of a fixed number of items at least; warns and gives none when it is shorter.
std::vector<std::wstring> itemsAtLeast(KeyFileReader& r, size_t count)
{
    std::vector<std::wstring> items = r.items();
    if (items.size() < count) {
        r.warn("too few items");
        items.clear();
    }
    return items;
}

void readAnimals(DataStorage* storage)
{
    GlobalSettings* settings = storage->mGlobalSettings;
    // Without its species the park cannot hold an animal: the file is required.
    KeyFileReader r(kAnimalsFile, loadDatFileRequired(kAnimalsFile));
    for (; r.more(); r.advance()) {
        if (r.key(L"[3dn object]")) {
            std::vector<std::wstring> items = itemsAtLeast(r, 2);
            if (!items.empty())
                storage->mAnimalObjects[items[0]].push_back(items[1]);
        }
        if (r.key(L"[animal hunger drop]"))
            r.readFloat(settings->mAnimalHungerDrop, 0.0f, 7.0f);
        if (r.key(L"[animal health drop]"))
            r.readFloat(settings->mAnimalHealthDrop, 0.0f, 7.0f);
        if (r.key(L"[skin]")) {
            std::vector<std::wstring> items = itemsAtLeast(r, 2);
            if (!items.empty()) {
                std::wstring species = toLowerWide(items[0]);
                std::string file = wideToString(items[1]);
                storage->mSkinFiles[species].push_back(file);
                std::wstring mask = items.size() > 2 ? items[2] : kDefaultMask;
                storage->mSkins[species].emplace_back(requestImage(kSkinFolder + file), mask);
            }
        }
        if (r.key(L"[animation]")) {
            std::vector<std::wstring> items = itemsAtLeast(r, 4);
            int first = 0, last = 0;
            if (!items.empty() && r.toInt(items[2], first) && r.toInt(items[3], last))
                storage->mAnimations[toLowerWide(items[0])][toLowerWide(items[1])] = Animation(items[1], first, last);
        }
        if (r.key(L"[helper]")) {
            std::vector<std::wstring> items = itemsAtLeast(r, 3);
            if (!items.empty())
                storage->mAnimalHelpers[toLowerWide(items[0])].emplace_back(items[1], toLowerWide(items[2]));
        }
        if (r.key(L"[fx]")) {
            std::vector<std::wstring> items = itemsAtLeast(r, 2);
            if (!items.empty())
                parkEvents().addEffect(items[0], wideToString(items[1]));
        }
        if (r.key(L"[animals helpers]"))
            parkEvents().setAnimalPlaces(requestObject("data/3dn/" + wideToString(r.value())));
        if (r.key(L"[animal name]"))
            storage->mAnimalNames.push_back(r.value());
    }
}

// The starting animals of "global.txt", each at the next place of its species.
void placeStartingAnimals(DataStorage* storage)
{
    GlobalSettings* settings = storage->mGlobalSettings;
    std::map<std::wstring, int> placed;
    for (const std::wstring& species : settings->mStartingAnimals) {
        std::wstring kind = toLowerWide(species);
        std::wstring word = placeWord(kind);
        const std::vector<std::string>& skins = storage->mSkinFiles[kind];
        const std::vector<AnimalHelper>& places = storage->mAnimalHelpers[kind];
        int n = placed[kind] + 1;
        if (word.empty() || skins.empty() || storage->mAnimalNames.empty() ||
            n > static_cast<int>(places.size())) {
            std::printf("Warning: %s: starting animal \"%s\" has no coat, name or free place; skipped\n",
                        kAnimalsFile, wideToString(species).c_str());
            continue;
        }
        placed[kind] = n;
        int picture = std::rand() % skins.size();
        const std::wstring& name = storage->mAnimalNames[std::rand() % storage->mAnimalNames.size()];
        float hungerDrop = settings->mAnimalHungerDrop * ((std::rand() % 1500) + 500) * 0.001f;
        float healthDrop = settings->mAnimalHealthDrop * ((std::rand() % 1500) + 500) * 0.001f;
        DataAnimal* animal = new DataAnimal(name, kind, hungerDrop, healthDrop, picture);
        storage->mParkAnimals.push_back(animal);
        animal->loadPicture(picture);
        animal->mHealth = startingLevel(settings->mAnimalsStartingHealth, kTopLevel);
        animal->mHappiness = startingLevel(settings->mAnimalsStartingHappiness, kTopHappiness);
        animal->mHunger = startingLevel(settings->mAnimalsStartingHunger, kTopLevel);

        std::string placeName = "helper_" + wideToString(word) + std::to_string(n);
        animal->mAvatar = parkEvents().makeAnimalFigure(kind, placeName, n - 1, picture, places[n - 1].mAnimation);
    }
}

} // namespace

// ---- resources

CRender::Image* requestImage(const std::string& path)
{
    BGLoader::Resource* resource = bgLoader.request(path, kPriority, &bgLoader.imageFactory, 1);
    return static_cast<BGLoader::ImageResource*>(resource);
}

CRender::Object* requestObject(const std::string& path)
{
    BGLoader::Resource* resource = bgLoader.request(path, kPriority, &bgLoader.objectFactory, 1);
    return static_cast<BGLoader::ObjectResource*>(resource);
}

void readIcon(KeyFileReader& reader, const char* folder, std::wstring& file, CRender::Image*& image)
{
    file = reader.value();
    image = requestImage(folder + wideToString(file));
}

// ---- loadGameData

namespace {

// A record of a data file needs a name and, when it is bought, a cost above 0: an empty or
// damaged file would otherwise give a nameless thing for free. What is wrong, or null.
const char* recordFault(const std::wstring& name, int cost, bool bought)
{
    if (name.empty())
        return "no [name]";
    if (bought && cost <= 0)
        return "[cost] missing or not above 0";
    return nullptr;
}

// Record files numbered from 1 ("Achievement1.txt", "Achievement2.txt", ...): a number missing
// below the highest one is a file lost, and every record after it moves up a place (the bank
// offers promotions by place, a saved park names its promotion by place). Warns naming each.
void warnMissingNumbers(const std::string& folder, const std::vector<std::wstring>& names, const char* kind)
{
    std::wstring stem;
    std::set<unsigned long> numbers;
    for (const std::wstring& name : names) {
        const size_t digits = name.find_first_of(L"0123456789");
        const size_t dot = name.rfind(L'.');
        if (digits == std::wstring::npos || dot == std::wstring::npos || dot <= digits || dot - digits > 6
            || name.find_first_not_of(L"0123456789", digits) != dot)
            continue;
        if (stem.empty())
            stem = name.substr(0, digits);
        if (name.compare(0, digits, stem) == 0 && digits == stem.size())
            numbers.insert(std::stoul(name.substr(digits, dot - digits)));
    }
    if (numbers.empty())
        return;
    for (unsigned long n = 1; n < *numbers.rbegin(); ++n)
        if (!numbers.count(n))
            std::fprintf(stderr, "Warning: %s%s%lu.txt is missing; the %s files are numbered from 1\n", folder.c_str(),
                         wideToString(stem).c_str(), n, kind);
}

// Warns, naming the file, and says whether the record is kept.
bool usableRecord(const std::string& path, const char* kind, const std::wstring& name, int cost,
                  bool bought)
{
    const char* fault = recordFault(name, cost, bought);
    if (fault)
        std::fprintf(stderr, "Warning: %s: %s; the %s is left out\n", path.c_str(), fault, kind);
    return !fault;
}

} // namespace

void loadGameData(DataStorage* storage, const std::string& folder)
{
    storage->retire(storage->mGlobalSettings);
    storage->mGlobalSettings = new GlobalSettings(folder + "global.txt");
    GlobalSettings* settings = storage->mGlobalSettings;

    parkEvents().clearEffects();

    storage->mAchievementTick = 0;
    // Another park: its first failed save is told, whatever the park before told.
    storage->mSaveFailuresTold = 0;
    storage->retireGameData();
    storage->mSkinFiles.clear();
    storage->mSkins.clear();
    storage->mAnimalNames.clear();
    storage->mAnimalHelpers.clear();
    storage->mAnimalObjects.clear();
    storage->mAchievementsWithoutFile.clear();

    storage->mStatLastMonth = new MonthBalance();
    storage->mStatThisMonth = new MonthBalance();
    storage->mBalanceLastMonth = new MonthBalance();
    storage->mBalanceThisMonth = new MonthBalance();

    readAnimals(storage);
    placeStartingAnimals(storage);

    std::set<std::wstring> placed;  // starting buildings found, lower-cased
    for (const std::wstring& name : listDirectory(folder + "Buildings/", "*.txt")) {
        const std::string path = folder + "Buildings/" + wideToString(name);
        DataBuilding* building = new DataBuilding(path);
        if (!usableRecord(path, "building", building->mName, building->mCost, true)) {
            delete building;
            continue;
        }
        storage->mBuildingDefinitions.push_back(building);
        std::wstring lower = toLowerWide(name);
        for (const std::wstring& start : settings->mStartingBuildings)
            if (toLowerWide(start) == lower) {
                storage->mParkBuildings.push_back(building);
                placed.insert(lower);
            }
    }
    for (const std::wstring& start : settings->mStartingBuildings)
        if (!placed.count(toLowerWide(start)))
            std::fprintf(stderr, "Warning: %sglobal.txt: the starting building %s has no usable file in %sBuildings/\n",
                         folder.c_str(), wideToString(start).c_str(), folder.c_str());
    const std::vector<std::wstring> achievements = listDirectory(folder + "Achievements/", "*.txt");
    warnMissingNumbers(folder + "Achievements/", achievements, "achievement");
    for (const std::wstring& name : achievements) {
        const std::string path = folder + "Achievements/" + wideToString(name);
        DataAchievement* achievement = new DataAchievement(path);
        if (usableRecord(path, "achievement", achievement->mName, 0, false))
            storage->mAchievements.push_back(achievement);
        else
            delete achievement;
    }
    if (storage->mAchievements.empty())
        std::fprintf(stderr, "Warning: %sAchievements/ holds no usable achievement file; the park has no achievements\n",
                     folder.c_str());
    const std::vector<std::wstring> promotions = listDirectory(folder + "Promotions/", "*.txt");
    warnMissingNumbers(folder + "Promotions/", promotions, "promotion");
    for (const std::wstring& name : promotions) {
        const std::string path = folder + "Promotions/" + wideToString(name);
        Promotion* promotion = new Promotion(path);
        if (usableRecord(path, "promotion", promotion->mName, promotion->mCost, true))
            storage->mPromotions.push_back(promotion);
        else
            delete promotion;
    }
    if (storage->mPromotions.size() < size_t(Promotion::kOffered))
        std::fprintf(stderr, "Warning: %sPromotions/ holds %zu usable promotion file(s); the bank offers %d\n",
                     folder.c_str(), storage->mPromotions.size(), Promotion::kOffered);
    // The three foods are fixed places of the food screen: one that cannot be sold stops the
    // game, naming its file.
    for (int i = 0; i < 3; ++i) {
        const std::string path = folder + "Foods/food" + std::to_string(i + 1) + ".txt";
        storage->mFoods[i] = new DataFood(path);
        const char* fault = recordFault(storage->mFoods[i]->mName, storage->mFoods[i]->mCost, true);
        if (fault)
            std::fprintf(stderr, "%s: %s; the game needs its three foods\n", path.c_str(), fault);
        PP_ASSERT_MSG(!fault, "food file without a name or a price");
    }
}

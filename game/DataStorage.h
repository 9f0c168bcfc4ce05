#pragma once

// DataStorage: the one holder of the game's data and state. The screens and the park view read
// its fields; what the player's actions and the park's income change in cash, store and month
// records goes through the rules' functions below. Records are created with new and held by
// raw pointers; screens keep such pointers, so records leaving the lists are retired (kept
// alive until the process ends) rather than freed. Offers for a stay, which no screen keeps,
// are freed when new ones replace them.
//
// Index: records - DataStorage - the game data loader

#include "core/Singleton.h"
#include "game/Animation.h"
#include "game/DataRankingPark.h"
#include "render/CRender.h"

#include <climits>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class DataAchievement;
class DataAnimal;
class DataBuilding;
class DataFood;
class DataProfile;
class GameOptions;
class GlobalSettings;
class KeyFileReader;
class MonthBalance;
class Promotion;
enum class WriteFailure;

class DataStorage : public Singleton<DataStorage> {
public:
    DataStorage() = default;

    // ---- queries
    // The largest "[food stored max]" of the global rules and the park buildings.
    int foodStoreCapacity() const;
    // Building definitions of a kind, compared without case, in definition order.
    std::vector<DataBuilding*> buildingDefinitionsOfKind(const std::wstring& kind) const;
    // Park animals of a kind, compared without case, in park order.
    std::vector<DataAnimal*> parkAnimalsOfKind(const std::wstring& kind) const;
    // The places free for guests: per kind, its houses less its guests, never below 0 (a damaged
    // saved park may hold more guests of a kind than it has houses). With none free, daysToNext
    // (when given) gets the stay after which the first place frees, -1 when no leaving frees one.
    int freePlaces(int* daysToNext = nullptr) const;
    // True when a park animal of exactly that kind stands at that place number (0 to 9).
    bool isPlaceTaken(const std::wstring& kind, int place) const;
    // Marks the achievement reached, queues its notice on the in-game screen, plays "a_done".
    void achievementReached(DataAchievement* achievement);

    // ---- park services (charges are in DataBuilding, Promotion and DataAchievement)
    // The first park building read from that file name (the part of its path after the last
    // "/", compared exactly), null when the park has none.
    DataBuilding* findParkBuilding(const std::string& fileName) const;
    int hasAssistants() const;
    int hasVet() const;
    int hasHotel() const;
    int hasRestaurant() const;

    // ---- rules
    // Whether the park meets a requirements string; text (when given) lists the unmet terms.
    int checkRequirements(const std::wstring& requirements, std::wstring* text = nullptr);
    // One 10 ms logic step: achievements about once a second, the day clock, the cash watch.
    void update();
    // The rules of one game day, ending with the autosave.
    void newDay();
    // The month's maintenance and the roll of the month records.
    void closeMonth();
    // A new set of animals offered for a stay, for every species.
    void generateAnimalsForSale();
    // The park's popularity and attraction; returns the attraction.
    float computePopularity();
    // Writes "lok_achiev.txt" and "lok_buildings.txt" with the texts of the data (debug key g).
    void dumpTexts() const;

    // ---- the player's actions: each pays or earns and books it in this month's records
    // Pays (amount < 0) or earns amount, booked in the row of this month's money record, and
    // counts one booking of the row.
    void transaction(int row, int amount);
    // Starts promotion k (1 = the first of the park's list) when none runs and the cash covers
    // it: the active promotion, its days and its cost. False otherwise.
    bool startPromotion(int k);
    // A building bought when the cash covers its cost: paid and placed in the park. False when
    // the park cannot pay.
    bool buyBuilding(DataBuilding* building);
    // The park's entry at index entry sold for the building's sale value and removed.
    void sellBuilding(const DataBuilding* building, int entry);
    // A repair (a cleaning) ordered for every park building below the top level that has none.
    void repairAll();
    void cleanAll();
    // Every park animal fed up to the top level in park order, until the store runs out.
    void feedAll();
    // An offer taken in when a building of its kind is free: the park's animal placed with its
    // figure, the stay's fee earned, the offer gone. Null (nothing booked) without a free place.
    DataAnimal* hostAnimal(DataAnimal* offer);
    // A food bought into the store when the cash covers it and the store has room; false when
    // nothing was bought.
    bool buyFood(const DataFood* food);
    // The spending of a day's visitors with cars parked: restaurant and owners' hotel sales at
    // the park's prices and the car tickets, earned and booked.
    void visitorsSpend(int visitors, int cars);

    // ---- the ranking
    // Ranks the park among the rival parks by popularity (computed afresh): the rivals follow
    // their curves, the park is named after the current profile. Keeps the order and the park's
    // place; without a current profile only the popularity is computed.
    void rankParks();

    // ---- options and profiles
    // Creates the options from folder + "save.txt" (or "defaultsave.txt"), saves and applies them.
    void createOptions(const std::string& folder);
    // Rebuilds the profile list from folder + "Profiles/*.txt", reading each profile in full.
    void scanProfiles(const std::string& folder);

    // ---- messages to the player
    // A message shown on screen: a title and a text of the texts table, the text's "%ls" filled
    // with a file name and its "%d" with a number.
    struct PlayerNotice {
        std::wstring mTitleKey;
        std::wstring mTextKey;
        std::wstring mFile;
        int mNumber = 0;
    };
    // Queues a message; the screens show the queued messages one at a time when no popup is open.
    void tellPlayer(const wchar_t* titleKey, const wchar_t* textKey, const std::string& file, int number = 0);
    // Tells the player that a saved game could not be written: every time when the player asked
    // for the save, else once per kind of failure until a save works or another park is loaded.
    void reportSaveFailure(WriteFailure failure, const std::string& path, bool askedByPlayer = false);
    // Tells the player, every time, that a new profile could not be made: its file could not be
    // written at path.
    void reportProfileFailure(WriteFailure failure, const std::string& path);
    // Writes the options file. A failure is told on screen: each kind once a run when the game
    // saves by itself, every time the player has confirmed options (they stay in force for the
    // run all the same). False when the file could not be written.
    bool saveOptions(bool confirmedByPlayer = false);
    // Saves the current profile with the tutorial's state (the autosave, the quit's save); a
    // failure is told on screen as reportSaveFailure says. False when nothing could be saved.
    bool saveCurrentProfile(bool askedByPlayer = false);

    // ---- ownership
    // Keeps a record that left the lists alive until the process ends.
    template <class T>
    void retire(T* record)
    {
        if (record)
            mRetired.emplace_back(record);
    }
    // Retires every record of the lists filled from the data files.
    void retireGameData();

    GlobalSettings* mGlobalSettings = nullptr;
    GameOptions* mOptions = nullptr;
    int mAchievementTick = 0;
    std::map<std::wstring, std::vector<AnimalHelper>> mAnimalHelpers;     // lower-case species
    std::map<std::wstring, std::vector<std::wstring>> mAnimalObjects;     // species as written
    std::map<std::wstring, std::map<std::wstring, Animation>> mAnimations; // lower-case species, name
    std::map<std::wstring, std::vector<std::string>> mSkinFiles;          // lower-case species
    // Per lower-case species: each coat's image and its figure layer mask.
    std::map<std::wstring, std::vector<std::pair<CRender::Image*, std::wstring>>> mSkins;
    std::vector<std::wstring> mAnimalNames;
    std::vector<DataAchievement*> mAchievements;
    // Achievements the saved park reached that no achievement file names (a file removed):
    // written back as read, so the park keeps them when the file returns.
    std::vector<std::wstring> mAchievementsWithoutFile;
    std::vector<DataBuilding*> mBuildingDefinitions;
    float mAttraction = 0.0f;
    std::vector<DataProfile*> mProfiles;
    int mCurrentProfile = -1;
    std::vector<Promotion*> mPromotions;
    std::vector<DataAnimal*> mParkAnimals;
    std::vector<DataAnimal*> mAnimalsForSale;
    std::vector<DataBuilding*> mParkBuildings;
    DataFood* mFoods[3] = {};
    MonthBalance* mStatLastMonth = nullptr;
    MonthBalance* mStatThisMonth = nullptr;
    MonthBalance* mBalanceLastMonth = nullptr;
    MonthBalance* mBalanceThisMonth = nullptr;
    int mPopularity = 0;
    std::vector<DataRankingPark> mRanking; // the best park first
    // 1 = the best park; no place until the first ranking, so no "pr" term holds before it.
    int mPlayerPlace = INT_MAX;
    std::vector<PlayerNotice> mPlayerNotices;
    // A bit per kind of write failure told since the last save that worked or park loaded.
    unsigned mSaveFailuresTold = 0;
    unsigned mOptionsFailuresTold = 0;

private:
    // The options file's failure, told as saveOptions says.
    void reportOptionsFailure(WriteFailure failure, bool always);
    // Queues the write failure's message (its text key by kind, the file's name in it) unless
    // its kind's bit in told is set and always is false; sets the bit.
    void tellWriteFailure(WriteFailure failure, const std::string& path, const wchar_t* const texts[4],
                          unsigned& told, bool always);

    std::vector<std::shared_ptr<void>> mRetired;
};

// ---- the game data loader

// Fills DataStorage from the folder's data files ("global.txt", "data/game/animals.txt",
// "Buildings/", "Achievements/", "Promotions/", "Foods/") and places the starting park.
void loadGameData(DataStorage* storage, const std::string& folder);

// Requests a picture through the background loader (priority 100, one reference).
CRender::Image* requestImage(const std::string& path);
// Requests a 3D scene the same way.
CRender::Object* requestObject(const std::string& path);

// The "[name]" of a building file (the part of a path after "Buildings/"): from its loaded
// definition, else read from the file.
std::wstring buildingName(const DataStorage* storage, const std::string& file);

// An icon key's value line: the file name, and its picture requested from folder + file.
void readIcon(KeyFileReader& reader, const char* folder, std::wstring& file, CRender::Image*& image);

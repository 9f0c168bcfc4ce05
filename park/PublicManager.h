#pragma once

// The park's visitors and cars: walkers entering at random intervals up to a number that follows
// the park's attraction, walking animated paths of the public helper scene and leaving at their
// end; the trick show's seated audience; the cars on the parking places; the visitors' opinions
// and their daily spending. The configuration comes from "data/game/public.txt"
// (LoadPublicConfig). Figures share one character scene and cars one cars scene; each is that
// scene drawn with a layer string selecting its parts.
//
// Index: records - PublicManager - configuration

#include "core/Singleton.h"
#include "game/Animation.h"
#include "render/CRender.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

class OnePerson;

// ---- records

// A car standing on a parking place.
class OneCar {
public:
    // The place, then the node name prefix + place ("%s%d"), then a random model 1..9.
    OneCar(const std::string& helperPrefix, int place);

    int mModel;                 // the car's layer in the cars scene, 1..9
    std::wstring mHelperName;   // the place node in the cars helper scene
    int mPlace;
};

// A row of seats for the show audience ("[helper sitting]").
struct SittingHelper {
    std::wstring mName;         // seat node name prefix
    int mMinBuildings = 0;      // park buildings of the group needed before these seats fill
    int mFirst = 0;             // first and last seat number, inclusive
    int mLast = 0;
};

// What a visitor thinks of the park ("[walking opinion]").
struct Opinion {
    std::wstring mTag;          // a one-word heading
    std::wstring mText;         // may hold one "%ls", filled with an animal's name when first used
    int mRating = 0;            // 0 worst .. 4 best
    std::wstring mRequirements; // a requirements expression ("0": always)
};

// A visitor figure: its picture for the HUD and its layer in the character scene ("[avatar]").
class PublicAvatar {
public:
    // Requests the picture "data/game/Public/Avatars/" + file.
    PublicAvatar(const std::string& file, int part);
    // Releases the picture.
    ~PublicAvatar();
    PublicAvatar(const PublicAvatar&) = delete;
    PublicAvatar& operator=(const PublicAvatar&) = delete;

    CRender::Image* mImage;
    int mPart;
    std::string mFile;
};

// The visitors' animations by lower-case name ("[animation]"): "chodzenie" (walking),
// "chodzenie i rozgladanie sie" (walking and looking around), "siedzenie idle" (seated).
extern std::map<std::wstring, Animation> peopleAnimations;

// ---- PublicManager

class PublicManager : public Singleton<PublicManager> {
public:
    PublicManager() = default;
    PublicManager(const PublicManager&) = delete;
    PublicManager& operator=(const PublicManager&) = delete;

    // ---- per step, per frame, per day
    // One logic step of the park screen: walkers and audience step, a picked visitor is followed,
    // the visitor count follows the attraction, walkers leave and enter.
    void update();
    // Queues the cars, the audience and the walkers; nothing before both shared scenes are loaded.
    void draw();
    // The day's cars, then the visitors' spending (DataStorage::visitorsSpend).
    void newDay();
    // Places the cars on the parking places of the current parking level; returns their number.
    int setupCars();

    // ---- visitors
    // Fills a newly allocated person: kind, path or seat node, length, speed, a random avatar,
    // name and opinion. spawnVisitorC1 is the same, for the saved-game reader.
    void spawnVisitor(OnePerson* person, int kind, const std::wstring& helper, float length);
    void spawnVisitorC1(OnePerson* person, int kind, const std::wstring& helper, float length);
    // One step of a person: hover and pick (unless the pointer was over the HUD when update
    // began), animation and path progress.
    void walkStep(OnePerson* person);
    // Starts the named animation (lower-cased) from its first frame; an unknown name changes nothing.
    void setPersonAnimation(OnePerson* person, const std::wstring& name);
    // Back to the start of the path with the kind's idle animation.
    void pickIdleAnimation(OnePerson* person);
    void drawPerson(OnePerson* person, CRender::Object* characterScene);
    void drawCar(OneCar* car, CRender::Object* carsScene);
    // Seats an audience on the seat rows of the group (building type), each seat taken with
    // probability fill; counts them in the show summary.
    void spawnAtSittingPlaces(const std::wstring& group, float fill);

    // ---- configuration
    // Deletes every record and releases the scenes and pictures; the lists are left empty.
    void clear();

    std::vector<OneCar*> mCars;
    std::map<std::wstring, std::vector<SittingHelper*>> mSittingHelpers; // by lower-case group
    std::string mCarHelperName;                     // prefix of the car place nodes
    int mCarHelperValues[2] = {0, 0};               // kept as read
    std::vector<std::vector<int>> mParkingPlaces;   // per parking level, the place numbers
    int mWalkingPeopleMax = 0;
    int mWalkingIntervalMin = 0;                    // ms
    int mWalkingIntervalMax = 0;                    // ms
    int mSpawnTimer = 0;                            // ms until the next walker may enter
    CRender::Object* mCharacterScene = nullptr;
    CRender::Object* mCarsScene = nullptr;
    int mVisitors = 0;                              // the park's visitor count
    int mPickDistance = 0;
    OnePerson* mPickedPerson = nullptr;             // clicked in the current step
    bool mPointerOverHud = false;                   // the pointer over the HUD, taken once a step
    std::vector<std::pair<std::string, int>> mWalkingHelpers; // path node and path length
    std::vector<OnePerson*> mWalkers;
    std::vector<OnePerson*> mAudience;
    float mShowPopularityFormula[4] = {0.0f, 0.0f, 0.0f, 0.0f}; // kept as read
    std::vector<PublicAvatar*> mFemaleAvatars;
    std::vector<PublicAvatar*> mMaleAvatars;
    std::vector<std::wstring> mFemaleNames;
    std::vector<std::wstring> mMaleNames;
    std::vector<std::wstring> mSurnames;
    std::vector<Opinion*> mOpinions;
    CRender::Object* mPublicHelpersScene = nullptr;
    CRender::Object* mCarsHelpersScene = nullptr;
};

// ---- configuration

// Empties the manager and reads "data/game/public.txt" into it; requests the cars and the
// character scenes. A missing file stops the program; a malformed value is skipped with a
// warning; a file that cannot populate the park (no paths, no opinion for a mood ...) is named
// in warnings and the visitors do without what it lacks.
void LoadPublicConfig(PublicManager& manager);

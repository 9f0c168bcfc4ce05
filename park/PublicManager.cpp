#include "park/PublicManager.h"

#include "core/ControlMngr.h"
#include "game/DataAnimal.h"
#include "game/DataBuilding.h"
#include "game/DataStorage.h"
#include "game/GlobalSettings.h"
#include "game/KeyFile.h"
#include "game/Ranges.h"
#include "park/GameBackground3D.h"
#include "park/GameCamera.h"
#include "park/OnePerson.h"
#include "park/TeachTrick.h"
#include "render/external/bg_loader.h"
#include "render/render.h"
#include "source_menu/Cursors.h"
#include "source_menu/MenuDateBar.h"
#include "source_menu/MenuIngame.h"
#include "source_menu/MenuIngameFold1.h"
#include "source_menu/MenuIngameFold2.h"
#include "source_menu/MenuIngameFold3.h"
#include "source_menu/MenuManager.h"
#include "source_menu/MenuPetShowSummary.h"
#include "toolkit/utils/misc.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

// Index: records - configuration - visitors - cars and the day's spending - drawing

std::map<std::wstring, Animation> peopleAnimations;

namespace {
const char* const kPublicFile = "data/game/public.txt";
const char* const kSceneFolder = "data/3dn/";
const int kMaxInterval = 3600000; // ms between two walkers entering
const char* const kAvatarFolder = "data/game/Public/Avatars/";
const int kStepMs = StepSchedule::kStepMs;
const float kPathSpeed = 0.027f;    // path frames per step
const size_t kWalkerCap = 200;
const int kRaySteps = 250;
const float kHoverFov = 50.0f;      // no pointing at visitors while zoomed in closer
const size_t kLayerString = 100;    // layers selectable per figure or car
const size_t kTextLimit = 200;
const int kSpawnTimerFloor = -1000000; // the timer keeps falling while the park is full
const std::wstring kWalking = L"chodzenie";
const std::wstring kLookingAround = L"chodzenie i rozgladanie sie";
const std::wstring kSitting = L"siedzenie idle";

template <class T>
void deleteAll(std::vector<T*>& records)
{
    for (T* record : records)
        delete record;
    records.clear();
}

void releaseScene(CRender::Object*& scene)
{
    if (scene)
        bgLoader.release(static_cast<BGLoader::ObjectResource*>(scene));
    scene = nullptr;
}

bool isReady(CRender::Object* scene)
{
    return scene && scene->is_loaded();
}

// A uniformly random entry; the list must not be empty.
template <class T>
const T& randomEntry(const std::vector<T>& list)
{
    return list[static_cast<size_t>(std::rand()) % list.size()];
}

std::wstring limited(std::wstring text)
{
    if (text.size() > kTextLimit)
        text.resize(kTextLimit);
    return text;
}

// The layer string of one figure or car: '1' at the given layers, '0' elsewhere.
std::string layerString(int a, int b = -1)
{
    std::string mask(kLayerString, '0');
    for (int layer : {a, b})
        if (layer >= 0 && static_cast<size_t>(layer) < kLayerString)
            mask[static_cast<size_t>(layer)] = '1';
    return mask;
}

} // namespace

// ---- records

OneCar::OneCar(const std::string& helperPrefix, int place)
    : mPlace(place)
{
    mHelperName = stringToWide(helperPrefix + std::to_string(place));
    mModel = 1 + std::rand() % 9;
}

PublicAvatar::PublicAvatar(const std::string& file, int part)
    : mImage(requestImage(kAvatarFolder + file)), mPart(part), mFile(file)
{
}

PublicAvatar::~PublicAvatar()
{
    if (mImage)
        bgLoader.release(static_cast<BGLoader::ImageResource*>(mImage));
}

// ---- configuration

void PublicManager::clear()
{
    // A person about to be deleted must not stay the camera's target.
    if (!mWalkers.empty() || !mAudience.empty()) {
        GameCamera* camera = Singleton<GameBackground3D>::get()->mCamera;
        if (camera)
            camera->mFollowPerson = nullptr;
    }
    mPickedPerson = nullptr;
    deleteAll(mCars);
    deleteAll(mWalkers);
    deleteAll(mAudience);
    for (auto& group : mSittingHelpers)
        deleteAll(group.second);
    mSittingHelpers.clear();
    mParkingPlaces.clear();
    mWalkingHelpers.clear();
    deleteAll(mFemaleAvatars);
    deleteAll(mMaleAvatars);
    mFemaleNames.clear();
    mMaleNames.clear();
    mSurnames.clear();
    deleteAll(mOpinions);
    peopleAnimations.clear();
    releaseScene(mCarsScene);
    releaseScene(mCharacterScene);
    releaseScene(mPublicHelpersScene);
    releaseScene(mCarsHelpersScene);
}

namespace {

// Warnings for what the file lacks to populate the park; the visitors then do without it.
void checkConfig(const PublicManager& m)
{
    auto warn = [](const char* what) { std::printf("Warning: %s: %s\n", kPublicFile, what); };
    if (m.mWalkingHelpers.empty())
        warn("no \"[helper walking]\" path, no visitor can walk");
    if (m.mFemaleAvatars.empty() || m.mMaleAvatars.empty())
        warn("an \"[avatar]\" of each mark F and M is needed, visitors without one have no figure");
    if (m.mFemaleNames.empty() || m.mMaleNames.empty() || m.mSurnames.empty())
        warn("first names of each mark F and M and a surname are needed");
    for (int rating = 0; rating <= 4; ++rating) {
        bool always = false;
        for (const Opinion* opinion : m.mOpinions)
            always = always || (opinion->mRating == rating && opinion->mRequirements == L"0");
        if (!always) {
            std::printf("Warning: %s: no \"[walking opinion]\" of rating %d without requirements, "
                        "some visitors may have no opinion\n",
                        kPublicFile, rating);
        }
    }
    if (m.mWalkingIntervalMax <= m.mWalkingIntervalMin)
        warn("\"[walking interval max]\" is not above the minimum, walkers enter at the minimum interval");
    if (m.mParkingPlaces.size() < 3)
        warn("three \"[parking]\" lists are needed, a higher parking level uses the last one");
    if (!m.mPublicHelpersScene || !m.mCarsHelpersScene)
        warn("\"[public helpers]\" and \"[cars helpers]\" scenes are needed to show visitors and cars");
}

// "[avatar]": file, layer, mark F or M; any other mark creates nothing.
void readAvatar(KeyFileReader& r, PublicManager& m)
{
    std::vector<std::wstring> items = r.items();
    if (items.size() < 3 || (items[2] != L"F" && items[2] != L"M"))
        return;
    int part = 0;
    if (!r.toInt(items[1], part))
        return;
    if (part < 0 || static_cast<size_t>(part) >= kLayerString) {
        r.warn("figure layer outside 0..99, avatar ignored");
        return;
    }
    PublicAvatar* avatar = new PublicAvatar(wideToString(items[0]), part);
    (items[2] == L"F" ? m.mFemaleAvatars : m.mMaleAvatars).push_back(avatar);
}

// Two integers of one value line into a and b; false (a and b unchanged) unless both are well formed.
bool readPair(KeyFileReader& r, int& a, int& b)
{
    std::vector<std::wstring> items = r.items();
    int x = 0, y = 0;
    if (items.size() < 2) {
        r.warn("two numbers expected");
        return false;
    }
    if (!r.toInt(items[0], x) || !r.toInt(items[1], y))
        return false;
    a = x;
    b = y;
    return true;
}

} // namespace

void LoadPublicConfig(PublicManager& m)
{
    m.mSpawnTimer = 5000;
    m.mPickDistance = 1000;
    m.mVisitors = 0;
    m.clear();

    KeyFileReader r(kPublicFile, loadDatFileRequired(kPublicFile));
    for (; r.more(); r.advance()) {
        if (r.key(L"[public helpers]")) {
            releaseScene(m.mPublicHelpersScene);
            m.mPublicHelpersScene = requestObject(kSceneFolder + wideToString(r.value()));
        }
        if (r.key(L"[cars helpers]")) {
            releaseScene(m.mCarsHelpersScene);
            m.mCarsHelpersScene = requestObject(kSceneFolder + wideToString(r.value()));
        }
        if (r.key(L"[helper walking]")) {
            std::vector<std::wstring> items = r.items();
            int length = 0;
            if (items.size() < 2)
                r.warn("node name and path length expected");
            else if (r.toInt(items[1], length))
                m.mWalkingHelpers.emplace_back(wideToString(items[0]), r.within(length, 0, kMaxCount));
        }
        if (r.key(L"[helper car]", 2)) {
            std::vector<std::wstring> prefix = r.items();
            m.mCarHelperName = prefix.empty() ? std::string() : wideToString(prefix[0]);
            readPair(r, m.mCarHelperValues[0], m.mCarHelperValues[1]);
        }
        if (r.key(L"[parking]")) {
            std::vector<int> places;
            for (const std::wstring& item : r.items()) {
                int place = 0;
                if (r.toInt(item, place))
                    places.push_back(place);
            }
            m.mParkingPlaces.push_back(places);
        }
        if (r.key(L"[show popularity formule]", 4))
            for (float& value : m.mShowPopularityFormula)
                r.readFloat(value);
        if (r.key(L"[walking people max]"))
            r.readInt(m.mWalkingPeopleMax, 0, kMaxCount);
        if (r.key(L"[walking name]")) {
            std::vector<std::wstring> items = r.items();
            if (items.size() >= 2 && items[1] == L"F")
                m.mFemaleNames.push_back(items[0]);
            else if (items.size() >= 2 && items[1] == L"M")
                m.mMaleNames.push_back(items[0]);
        }
        if (r.key(L"[walking surename]"))
            m.mSurnames.push_back(r.value());
        if (r.key(L"[avatar]"))
            readAvatar(r, m);
        if (r.key(L"[walking opinion]", 3)) {
            std::vector<std::wstring> head = r.items();
            Opinion* opinion = new Opinion();
            if (head.empty() || !r.toInt(head[0], opinion->mRating))
                opinion->mRating = -1; // matches no mood
            if (head.size() > 1)
                opinion->mTag = head[1];
            opinion->mText = r.value();
            opinion->mRequirements = r.value();
            m.mOpinions.push_back(opinion);
        }
        if (r.key(L"[walking interval min]"))
            r.readInt(m.mWalkingIntervalMin, 0, kMaxInterval);
        if (r.key(L"[walking interval max]"))
            r.readInt(m.mWalkingIntervalMax, 0, kMaxInterval);
        if (r.key(L"[helper sitting]", 2)) {
            std::vector<std::wstring> items = r.items();
            SittingHelper seats;
            bool good = items.size() >= 3 && r.toInt(items[2], seats.mMinBuildings);
            if (items.size() < 3)
                r.warn("group, seat prefix and building count expected");
            if (readPair(r, seats.mFirst, seats.mLast) && good) {
                seats.mName = items[1];
                m.mSittingHelpers[toLowerWide(items[0])].push_back(new SittingHelper(seats));
            }
        }
        if (r.key(L"[animation]", 2)) {
            std::wstring name = toLowerWide(r.value());
            int first = 0, last = 0;
            if (readPair(r, first, last))
                peopleAnimations[name] = Animation(name, first, last);
        }
    }
    m.mCarsScene = requestObject(std::string(kSceneFolder) + "Cars.3dn");
    m.mCharacterScene = requestObject(std::string(kSceneFolder) + "ZEB_Character_animations.3dn");
    checkConfig(m);
}

// ---- visitors

void PublicManager::update()
{
    MenuDateBar* dateBar = Singleton<MenuDateBar>::get();
    if (dateBar->modal || dateBar->paused)
        return;

    mPickedPerson = nullptr;
    // The same for every person of this step, and it walks the HUD's widgets.
    GameCamera* camera = Singleton<GameBackground3D>::get()->mCamera;
    mPointerOverHud = camera && camera->isPointerOverHud();
    for (OnePerson* person : mWalkers)
        walkStep(person);
    for (OnePerson* person : mAudience)
        walkStep(person);
    if (mPickedPerson) {
        camera->followPerson(mPickedPerson);
        Singleton<MenuIngameFold1>::get()->setStateAll("game", kShowHidden, kTransitionMs);
        Singleton<MenuIngameFold2>::get()->setStateAll("game", kShowHidden, kTransitionMs);
        Singleton<MenuIngameFold3>::get()->setStateAll("game", kShowHidden, kTransitionMs);
        Singleton<MenuIngame>::get()->mOpenFold = 0;
    }

    float attraction = Singleton<DataStorage>::get()->computePopularity();
    mVisitors = static_cast<int>(attraction * static_cast<float>(mWalkingPeopleMax));
    size_t cap = std::min(static_cast<size_t>(std::max(mVisitors, 0)), kWalkerCap);

    // Leaving: past the end of the path.
    for (size_t i = 0; i < mWalkers.size();) {
        OnePerson* person = mWalkers[i];
        if (person->mPathLength < person->mProgress) {
            if (camera->mFollowPerson == person)
                camera->reset();
            if (mPickedPerson == person)
                mPickedPerson = nullptr;
            delete person;
            mWalkers.erase(mWalkers.begin() + static_cast<long>(i));
        } else {
            ++i;
        }
    }

    // Entering: a random path node, and the length of a second random path.
    if (mWalkers.size() < cap && mSpawnTimer < 0 && !mWalkingHelpers.empty()) {
        const std::string& node = randomEntry(mWalkingHelpers).first;
        int length = randomEntry(mWalkingHelpers).second;
        OnePerson* person = new OnePerson();
        spawnVisitor(person, 0, stringToWide(node), static_cast<float>(length));
        mWalkers.push_back(person);
        int range = mWalkingIntervalMax - mWalkingIntervalMin;
        mSpawnTimer = mWalkingIntervalMin + (range > 0 ? std::rand() % range : 0);
    }
    if (mSpawnTimer > kSpawnTimerFloor)
        mSpawnTimer -= kStepMs;
}

void PublicManager::walkStep(OnePerson* person)
{
    if (person->mKind != (Singleton<TeachTrick>::get()->isOpen() ? 1 : 0))
        return;

    ControlMngr* input = Singleton<ControlMngr>::get();
    int down = input->isPointerDown();
    // Without the park view's camera (rules run without a view) nobody is hovered.
    GameCamera* camera = Singleton<GameBackground3D>::get()->mCamera;
    if (camera && !camera->mFollowAnimal && !camera->mFollowPerson && camera->mFov > kHoverFov &&
        person->mNodeIndex != -1 && !Singleton<MenuManager>::get()->isAnyPanelOpen() && !mPointerOverHud) {
        PointerPosition pointer = input->getPointer(-1);
        float3 dir = camera->mouseRay(pointer.x, pointer.y);
        float3 point = camera->mPosition;
        if (person->mPosition.z < point.z) {
            for (int step = 0; step < kRaySteps; ++step) {
                point = float3(point.x + dir.x, point.y + dir.y, point.z + dir.z);
                if (point.z <= person->mPosition.z)
                    break;
            }
        }
        float dx = person->mPosition.x - point.x;
        float dy = person->mPosition.y - point.y;
        float radius = Singleton<DataStorage>::get()->mGlobalSettings->mMouseRadiusAccuracy;
        if (dx * dx + dy * dy < radius * radius) {
            Cursors* cursors = Singleton<Cursors>::get();
            cursors->hoverFlag = 1;
            cursors->hoverText = L"";
            if (down && !person->mClickLatch) {
                person->mClickLatch = 1;
                mPickDistance = static_cast<int>(radius * radius);
                mPickedPerson = person;
            }
        }
    }
    // Released anywhere, so the next press over the person picks it again.
    if (!down)
        person->mClickLatch = 0;

    person->mAnimTime += person->mAnimSpeed;
    person->mProgress += kPathSpeed;
    if (person->mAnimTime > static_cast<float>(peopleAnimations[person->mAnimName].mEnd)) {
        if (person->mKind == 1)
            setPersonAnimation(person, kSitting); // the audience stays seated
        else
            setPersonAnimation(person, std::rand() % 100 < 5 ? kLookingAround : kWalking);
    }
}

void PublicManager::setPersonAnimation(OnePerson* person, const std::wstring& name)
{
    std::wstring key = toLowerWide(name);
    auto found = peopleAnimations.find(key);
    if (found == peopleAnimations.end())
        return;
    person->mAnimName = key;
    person->mAnimTime = static_cast<float>(found->second.mStart);
}

void PublicManager::pickIdleAnimation(OnePerson* person)
{
    person->mProgress = 0.0f;
    setPersonAnimation(person, person->mKind == 1 ? kSitting : kWalking);
}

void PublicManager::spawnVisitor(OnePerson* person, int kind, const std::wstring& helper, float length)
{
    person->mKind = kind;
    person->mClickLatch = 0;
    person->mNodeIndex = -1;
    person->mAnimName.clear();
    person->mName.clear();
    person->mHelperName = helper;
    person->mPathLength = length;
    person->mAnimSpeed = 30.0f / static_cast<float>(93 + std::rand() % 15);

    // An empty list gives nothing (the loader has warned): no figure, no name part, no opinion.
    int male = std::rand() % 2;
    const std::vector<PublicAvatar*>& avatars = male ? mMaleAvatars : mFemaleAvatars;
    person->mAvatarPart = -1;
    person->mAvatarImage = nullptr;
    if (!avatars.empty()) {
        const PublicAvatar* avatar = randomEntry(avatars);
        person->mAvatarPart = avatar->mPart;
        person->mAvatarImage = avatar->mImage;
    }

    pickIdleAnimation(person);

    const std::vector<std::wstring>& names = male ? mMaleNames : mFemaleNames;
    std::wstring first = names.empty() ? std::wstring() : randomEntry(names);
    std::wstring surname = mSurnames.empty() ? std::wstring() : randomEntry(mSurnames);
    person->mName = limited(first + L" " + surname);

    // The mood follows the animals' mean happiness, one level lower or higher now and then.
    DataStorage* storage = Singleton<DataStorage>::get();
    float mean = 0.0f;
    for (const DataAnimal* animal : storage->mParkAnimals)
        mean += static_cast<float>(animal->mHappiness);
    if (!storage->mParkAnimals.empty())
        mean /= static_cast<float>(storage->mParkAnimals.size());
    int roll = std::rand() % 100;
    int rating = static_cast<int>(roll < 70 ? mean : roll < 85 ? mean - 1.0f : mean + 1.0f);
    rating = std::clamp(rating, 0, 4);

    std::vector<Opinion*> candidates;
    for (Opinion* opinion : mOpinions)
        if (opinion->mRating == rating && storage->checkRequirements(opinion->mRequirements))
            candidates.push_back(opinion);
    person->mOpinion = candidates.empty() ? nullptr : randomEntry(candidates);

    // The shared opinion keeps the animal's name it is first filled with.
    Opinion* opinion = person->mOpinion;
    size_t at = opinion ? opinion->mText.find(L"%ls") : std::wstring::npos;
    if (at != std::wstring::npos && !storage->mAnimalNames.empty())
        opinion->mText = limited(opinion->mText.substr(0, at) + randomEntry(storage->mAnimalNames) +
                                 opinion->mText.substr(at + 3));
}

void PublicManager::spawnVisitorC1(OnePerson* person, int kind, const std::wstring& helper, float length)
{
    spawnVisitor(person, kind, helper, length);
}

void PublicManager::spawnAtSittingPlaces(const std::wstring& group, float fill)
{
    deleteAll(mAudience);
    std::wstring kind = toLowerWide(group);
    int buildings = 0;
    for (const DataBuilding* building : Singleton<DataStorage>::get()->mParkBuildings)
        buildings += building->mType == kind;
    MenuPetShowSummary* summary = Singleton<MenuPetShowSummary>::get();
    summary->spectators = 0;
    for (const SittingHelper* seats : mSittingHelpers[kind]) {
        if (seats->mMinBuildings > buildings)
            continue;
        for (int seat = seats->mFirst; seat <= seats->mLast; ++seat) {
            if (static_cast<float>(std::rand() % 1000) >= fill * 1000.0f)
                continue;
            OnePerson* person = new OnePerson();
            spawnVisitor(person, 1, seats->mName + std::to_wstring(seat), static_cast<float>(seat));
            mAudience.push_back(person);
            ++summary->spectators;
        }
    }
}

// ---- cars and the day's spending

int PublicManager::setupCars()
{
    int cars = static_cast<int>(static_cast<float>(mVisitors) * 0.5f);
    if (mWalkers.size() == 1)
        ++cars;
    deleteAll(mCars);

    DataStorage* storage = Singleton<DataStorage>::get();
    std::wstring first = buildingName(storage, "OtherParking1.txt");
    std::wstring second = buildingName(storage, "OtherParking2.txt");
    size_t level = 0;
    for (const DataBuilding* building : storage->mParkBuildings) {
        if (!first.empty() && building->mName == first)
            level = 1;
        if (!second.empty() && building->mName == second)
            level = 2;
    }
    if (mParkingPlaces.empty())
        return 0;
    // A level without its own list parks on the last one there is.
    const std::vector<int>& area = mParkingPlaces[std::min(level, mParkingPlaces.size() - 1)];
    cars = std::min(cars, static_cast<int>(area.size()));

    int placed = 0;
    for (size_t i = 0; i < area.size() && placed < cars; ++i) {
        int place = area[i];
        bool taken = std::any_of(mCars.begin(), mCars.end(), [place](const OneCar* car) { return car->mPlace == place; });
        if (taken)
            continue;
        mCars.push_back(new OneCar(mCarHelperName, place));
        ++placed;
    }
    return placed;
}

void PublicManager::newDay()
{
    const int cars = setupCars();
    Singleton<DataStorage>::get()->visitorsSpend(mVisitors, cars);
}

// ---- drawing

void PublicManager::draw()
{
    if (!isReady(mCarsScene) || !isReady(mCharacterScene))
        return;
    for (OneCar* car : mCars)
        drawCar(car, mCarsScene);
    for (OnePerson* person : mAudience)
        drawPerson(person, mCharacterScene);
    for (OnePerson* person : mWalkers)
        drawPerson(person, mCharacterScene);
}

void PublicManager::drawCar(OneCar* car, CRender::Object* carsScene)
{
    if (!isReady(mCarsHelpersScene))
        return;
    int node = mCarsHelpersScene->find_node(wideToString(car->mHelperName).c_str());
    if (node < 0)
        return;
    float4x3 world;
    mCarsHelpersScene->get_node_matrix(node, 0.0f, &world);
    std::string mask = layerString(0, car->mModel);
    float4 colour(1.0f, 1.0f, 1.0f, 1.0f);
    carsScene->draw(&world, 0.0f, nullptr, 0, mask.c_str(), nullptr, 0, &colour);
}

void PublicManager::drawPerson(OnePerson* person, CRender::Object* characterScene)
{
    if (person->mKind != (Singleton<TeachTrick>::get()->isOpen() ? 1 : 0))
        return;
    if (person->mNodeIndex == -1 && isReady(mPublicHelpersScene))
        person->mNodeIndex = mPublicHelpersScene->find_node(wideToString(person->mHelperName).c_str());
    if (person->mNodeIndex < 0)
        return;
    float4x3 world;
    mPublicHelpersScene->get_node_matrix(person->mNodeIndex, person->mProgress, &world);
    std::string mask = layerString(person->mAvatarPart);
    float4 colour(1.0f, 1.0f, 1.0f, 1.0f);
    characterScene->draw(&world, person->mAnimTime, nullptr, 0, mask.c_str(), nullptr, 0, &colour);
    person->mPosition = float3(world.m[0][3], world.m[1][3], world.m[2][3]);
}

#pragma once

// The park's visitors and cars. Only what the park rules use of it so far: the expected number
// of visitors, the walkers the saved game keeps, the daily spending and the cars.

#include "core/Singleton.h"

#include <string>
#include <utility>
#include <vector>

class OnePerson;

class PublicManager : public Singleton<PublicManager> {
public:
    PublicManager() = default;

    // The expected visitor count from the park's attraction: trunc(attraction x walking max).
    void update();
    // Queues the visitors and the cars (not drawn yet).
    void draw() {}
    // The visitors' daily spending in the restaurant, the owners' hotel and on car tickets.
    void newDay();
    // Places the cars on the parking places of the current parking level; returns their number.
    int setupCars();
    // Fills a new walker (kind 0) or seated visitor (kind 1) on a path of the given length.
    void spawnVisitorC1(OnePerson* person, int kind, const std::wstring& helper, float length);

    std::vector<std::vector<int>> mParkingPlaces;  // per parking level, the place numbers
    int mWalkingPeopleMax = 0;
    int mVisitors = 0;
    std::vector<std::pair<std::string, int>> mWalkingHelpers; // path node and path length
    std::vector<OnePerson*> mWalkers;
    float mPickDistance = 1000.0f;     // the nearest pointed visitor's distance this step
    OnePerson* mPickedPerson = nullptr; // the visitor clicked this step, followed by the camera
    int mCars = 0;
};

// Reads "data/game/public.txt" into the manager, starting from empty lists.
void LoadPublicConfig(PublicManager& manager);

#pragma once

// The park's visitors and cars, as "data/game/public.txt" names them:
// - ZEB_Character_animations.3dn: eight visitor figures standing at the origin facing +x, one
//   per layer 0..7 (the "[avatar]" layers), skinned to one shared skeleton and playing one
//   timeline of kVisitorFrames frames: walking, walking and looking around, sitting;
// - Cars.3dn: the cars at the origin facing +x, wheels on layer 0, nine bodies on layers 1..9;
// - Public_Helpers.3dn: the walkers' paths, animated nodes "visitor_path1".."visitor_path8"
//   that walk from the drive through the gate round the park and back out, turned along the way;
// - Cars_Helpers.3dn: the parking places "car_place_1".."car_place_24".

#include <string>
#include <vector>

#include "core/VectorMath.h"

namespace mkscenes {

const float kVisitorFps = 30;
const int kVisitorFrames = 120;
// A walker's path node plays this many frames from the gate back to the gate ("[helper walking]").
const int kVisitorPathFrames = 400;
const int kVisitorPaths = 8;
const int kParkingPlaces = 24;

struct VisitorAnimation {
    const char* name;
    int first, last;
};
// "chodzenie", "chodzenie i rozgladanie sie", "siedzenie idle" as "[animation]" lists them.
const std::vector<VisitorAnimation>& visitorAnimations();

// The walkers' routes in the park (z = 0), from outside the gate back to it, in walking order.
std::vector<std::vector<float3>> visitorRoutes();
// Where the cars stand: position (z = 0) and heading (radians about z) of place 1..24.
struct CarPlace {
    float3 at;
    float heading;
};
std::vector<CarPlace> carPlaces();

// Each writes its scene into sceneDir; false on failure.
bool writeCharacters(const std::string& sceneDir); // ZEB_Character_animations.3dn
bool writeCars(const std::string& sceneDir);       // Cars.3dn
bool writePublicHelpers(const std::string& sceneDir); // Public_Helpers.3dn and Cars_Helpers.3dn
// All four.
bool writeVisitors(const std::string& sceneDir);

} // namespace mkscenes

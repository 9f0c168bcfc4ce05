#pragma once

// Where things stand in the park, shared by the park scene, its helper scenes and its
// effects. Park units are metres (an animal figure is about one long); x points east, y north,
// z up; the ground is z = 0. The park camera looks north, so buildings face south (-y).
//
//   fence       x -58 .. 58, y -42 .. 42, the gate in the middle of the south side
//   avenues     north-south along x = 0, east-west along y = 0, the fountain square where
//               they cross; paths between the rows and columns of plots
//   plots       rows at y = +-13 and +-31, columns at x = +-13.5, +-30.5, +-47.5 (14 x 14);
//               the Horse Ranch and the Dino Volcano take the two rows of the east column
//               (x = 47.5) north and south of the avenue, so every path between the plots
//               the visitors walk stays open
//   car parks   outside the south fence, either side of the drive to the gate; the cars'
//               places are the visitors' (Visitors.h, carPlaces)

#include "core/VectorMath.h"

#include <string>
#include <vector>

namespace mkscenes {

struct Plot {
    std::string building; // building file name without ".txt"
    int layer;            // the building's layer; its empty plot is on layer + 100
    float x, y;           // centre
    float width, depth;   // along x and y
    std::string species;  // for animal buildings: "dog", ...; else empty
    int level;            // 1 .. 3 for animal buildings
};

const std::vector<Plot>& parkPlots();
const Plot& plotOf(const std::string& building);

const float kFenceX = 58, kFenceSouth = -42, kFenceNorth = 42;
const float kGateWidth = 8;
const float kAvenueWidth = 4.5f, kPathWidth = 2.6f;
const float kSquareRadius = 7.5f;
// The visitors' car places (carPlaces) in order: beside the drive, on the Car Park, on the
// Large Car Park.
const size_t kRoadsidePlaces = 6, kCarParkPlaces = 8, kLargeCarParkPlaces = 10;
// The trick show's stage: a round podium at the north end of the avenue, its top this high.
const float3 kStageCentre(0, 35, 0);
const float kStageRadius = 3.2f, kStageHeight = 0.18f;
// The middle of the Dino Volcano's crater, at the height of its spring.
float3 volcanoCrater();

// The path an animal walks in its place of level 1..3: a closed loop in the open part of its
// enclosure, as points (z = 0) in walking order.
std::vector<float3> placeLoop(const Plot& plot);

} // namespace mkscenes

#pragma once

// Where things stand in the park, shared by the park scene, its helper scenes and its
// effects. Park units are metres (an animal figure is about one long); x points east, y north,
// z up; the ground is z = 0. The park camera looks north, so buildings face south (-y).
//
//   fence       x -58 .. 58, y -42 .. 42, the gate in the middle of the south side
//   avenues     north-south along x = 0, east-west along y = 0, the fountain square where
//               they cross; paths between the rows and columns of plots
//   plots       rows at y = +-13 and +-31, columns at x = +-13.5, +-30.5, +-47.5 (14 x 14);
//               the Horse Ranch and the Dino Volcano take two columns each
//   car parks   outside the south fence, either side of the drive to the gate

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

// A parking place: where a car stands and the way its front points (radians about z, 0 = +x).
struct Stall {
    float3 at;
    float heading;
};
// The parking places in order: six beside the drive (there without any car park), then the
// Car Park's eight, then the Large Car Park's ten.
const std::vector<Stall>& carStalls();
const int kRoadsideStalls = 6, kCarParkStalls = 8, kLargeCarParkStalls = 10;

// The path an animal walks in its place of level 1..3: a closed loop in the open part of its
// enclosure, as points (z = 0) in walking order.
std::vector<float3> placeLoop(const Plot& plot);

} // namespace mkscenes

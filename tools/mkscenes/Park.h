#pragma once

// The park scene main3D.3dn. Layers: 0 ground, paths, the entrance, the far hills and the
// sky; 1 the park's hedge and trees; 2 the fountain square; 3 flower beds; each building on
// its own layer (11 .. 69, see ParkLayout) and its empty plot on layer + 100.

#include "mkscenes/ParkKit.h"

#include <string>

namespace mkscenes {

const int kParkFrames = 100;
const float kParkFps = 25;

bool writePark(const std::string& sceneDir);
// The buildings of the park, one group per building on the building's layer.
void addBuildings(ParkKit& kit);

} // namespace mkscenes

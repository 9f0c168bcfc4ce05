#pragma once

// The park's helper scenes:
// - Animals_Helpers.3dn: one animated node per animal place (helper_pies1 .. helper_kon3), each
//   walking a loop in its enclosure at its species' pace, its x axis along the way;
// - Buildings_Helpers.3dn: a node per building (helper_<building>) where the camera glides to;
// - Slide_cameras.3dn: the slide shows' marker nodes and animated cameras, with the little
//   scenes each flight shows;
// - Trick_cameras.3dn: the trick show's camera (its first and only camera) looking at the show
//   stage, and where each species stands on it (trick_stage_dog, ...).

#include <string>

namespace mkscenes {

// Place frames a place node's loop takes per frame of its track: the game adds 0.2 per logic
// step to a place's time.
const float kPlaceFramesPerStep = 0.2f;
// Frames of the slide scene: every flight holds its last view until then.
const int kSlideFrames = 330;

bool writeAnimalHelpers(const std::string& sceneDir);
bool writeBuildingHelpers(const std::string& sceneDir);
bool writeSlideCameras(const std::string& sceneDir);
bool writeTrickCameras(const std::string& sceneDir);

} // namespace mkscenes

#pragma once

// The five species' figures: dog.3dn, cat.3dn, dino.3dn, rabbit.3dn, horse.3dn.
//
// A figure stands on the ground plane at the origin facing +x (z up), about one unit long for
// the dog. It is skinned to one skeleton and plays all its animations on one timeline
// (kFigureFrames frames at kFigureFps), each animation's first and last frame as the game's data
// lists them. Layers: 2 unwell marker, 3 hungry marker, 4 body, 5 collar, 6 bow. The coat is the
// diffuse map of material "Pingwin": a seamless fur texture of the picture tool
// (tex/<species>_<coat>.png), the species' first coat by default.

#include <string>
#include <vector>

namespace mkscenes {

const float kFigureFps = 25;
const int kFigureFrames = 340;
// The game advances a figure's time by fps x 0.01 per logic step and a place node's time by
// 0.2, so one walk loop (frames 0..39) lasts this many place frames.
const float kWalkLoopPlaceFrames = (39.0f + kFigureFps * 0.01f) / (kFigureFps * 0.01f) * 0.2f;

struct Animation {
    const char* name;
    int first, last;
};
// The animations of every species, in timeline order.
const std::vector<Animation>& figureAnimations();

struct SpeciesInfo {
    std::string key;          // "dog", ...
    std::vector<std::string> coats; // coat file names, the first the figure's own
    float walkPerLoop;        // metres the figure walks in one walk loop
    float length;             // nose to tail tip, metres
};
const std::vector<SpeciesInfo>& speciesInfo();

// Writes the five figures into sceneDir; false on failure.
bool writeFigures(const std::string& sceneDir);

} // namespace mkscenes

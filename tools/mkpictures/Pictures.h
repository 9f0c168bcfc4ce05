#pragma once

// The catalogue of generated pictures: each entry names its file below the data folder, its
// size and how it is drawn, and whether a greyed copy goes beside it.

#include "Canvas.h"

#include <functional>
#include <string>
#include <vector>

struct Picture {
    std::string path;       // below the data folder, e.g. "game/Foods/Icons/food1.png"
    std::string greyPath;   // the greyed copy's path, empty when none
    int size;               // square, pixels
    float design;           // design units across the picture (the drawing is scaled to size)
    std::function<void(Canvas&)> draw;
};

std::vector<Picture> building_icons();
std::vector<Picture> food_icons();
// Coat textures ("3dn/tex/") and the animals' portraits ("game/Animals/Avatars/").
std::vector<Picture> animal_pictures();
std::vector<Picture> profile_avatars();
// The park visitors' portraits ("game/Public/Avatars/").
std::vector<Picture> visitor_avatars();

#pragma once

// One of the three food kinds ("data/game/Foods/food1.txt" to "food3.txt").

#include "render/CRender.h"

#include <string>

class DataFood {
public:
    explicit DataFood(const std::string& path);

    std::wstring mName;
    std::wstring mDescription;
    int mCost = 0;
    std::wstring mRequirements;
    int mFood = 0;                // portions added to the store per purchase
    std::wstring mIconFile;
    std::wstring mIconGreyedFile;
    CRender::Image* mIcon = nullptr;
    CRender::Image* mIconGreyed = nullptr;
};

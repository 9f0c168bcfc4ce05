#pragma once

// The tutorial overlay. Only what the saved game keeps of it so far: its progress values.

#include "core/Singleton.h"
#include "source_menu/generated/_Tutorial.h"

class Tutorial : public Singleton<Tutorial>, public _Tutorial {
public:
    Tutorial() = default;

    int buildingBought = 0;
    int petAccepted = 0;
    int foodBought = 0;
    int priceChanged = 0;
    int step = 0;
    int pointerTarget = -1;
};

#pragma once

// The summary after a pet show.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuPetShowSummary.h"

class MenuPetShowSummary : public Singleton<MenuPetShowSummary>, public _MenuPetShowSummary {
public:
    MenuPetShowSummary() = default;

    int spectators = 0; // visitors seated for the show, set by the park's visitors
};

#pragma once

// The summary after a pet show.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class MenuPetShowSummary : public Singleton<MenuPetShowSummary>, public Container {
public:
    MenuPetShowSummary() = default;

    int spectators = 0; // visitors seated for the show, set by the park's visitors
};

#pragma once

// The summary after a pet show.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class MenuPetShowSummary : public Singleton<MenuPetShowSummary>, public Container {
public:
    MenuPetShowSummary() = default;
};

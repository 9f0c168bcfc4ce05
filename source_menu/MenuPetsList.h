#pragma once

// The frame of the pets list.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class MenuPetsList : public Singleton<MenuPetsList>, public Container {
public:
    MenuPetsList() = default;
};

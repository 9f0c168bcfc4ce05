#pragma once

// The pet show's page of shows.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class MenuPetsShow1 : public Singleton<MenuPetsShow1>, public Container {
public:
    MenuPetsShow1() = default;
};

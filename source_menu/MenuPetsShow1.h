#pragma once

// The pet show's page of shows.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuPetsShow1.h"

class MenuPetsShow1 : public Singleton<MenuPetsShow1>, public _MenuPetsShow1 {
public:
    MenuPetsShow1() = default;
};

#pragma once

// The pet show frame.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class MenuPetsShow : public Singleton<MenuPetsShow>, public Container {
public:
    MenuPetsShow() = default;
};

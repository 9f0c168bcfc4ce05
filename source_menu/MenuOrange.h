#pragma once

// The orange frame of the finance screens.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class MenuOrange : public Singleton<MenuOrange>, public Container {
public:
    MenuOrange() = default;
};

#pragma once

// The tab strip of the blue management screens.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class MenuBlueFolds : public Singleton<MenuBlueFolds>, public Container {
public:
    MenuBlueFolds() = default;
};

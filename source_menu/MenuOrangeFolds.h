#pragma once

// The tab strip of the orange management screens.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class MenuOrangeFolds : public Singleton<MenuOrangeFolds>, public Container {
public:
    MenuOrangeFolds() = default;
};

#pragma once

// The HUD's second fold.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class MenuIngameFold2 : public Singleton<MenuIngameFold2>, public Container {
public:
    MenuIngameFold2() = default;
};

#pragma once

// The HUD's first fold.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class MenuIngameFold1 : public Singleton<MenuIngameFold1>, public Container {
public:
    MenuIngameFold1() = default;
};

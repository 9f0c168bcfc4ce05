#pragma once

// The HUD's date bar.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class MenuDateBar : public Singleton<MenuDateBar>, public Container {
public:
    MenuDateBar() = default;
};

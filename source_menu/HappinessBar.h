#pragma once

// The park's happiness bar of the HUD.

#include "core/Singleton.h"
#include "source_menu/generated/_HappinessBar.h"

class HappinessBar : public Singleton<HappinessBar>, public _HappinessBar {
public:
    HappinessBar() = default;
};

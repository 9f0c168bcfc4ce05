#pragma once

// The park's happiness bar of the HUD.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class HappinessBar : public Singleton<HappinessBar>, public Container {
public:
    HappinessBar() = default;
};

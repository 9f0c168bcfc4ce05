#pragma once

// The profile creation screen.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class MainMenuCreateProfile : public Singleton<MainMenuCreateProfile>, public Container {
public:
    MainMenuCreateProfile() = default;
};

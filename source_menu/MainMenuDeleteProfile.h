#pragma once

// The profile deletion screen.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class MainMenuDeleteProfile : public Singleton<MainMenuDeleteProfile>, public Container {
public:
    MainMenuDeleteProfile() = default;
};

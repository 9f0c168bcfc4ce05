#pragma once

// The profile deletion screen.

#include "core/Singleton.h"
#include "source_menu/generated/_MainMenuDeleteProfile.h"

class MainMenuDeleteProfile : public Singleton<MainMenuDeleteProfile>, public _MainMenuDeleteProfile {
public:
    MainMenuDeleteProfile() = default;
};

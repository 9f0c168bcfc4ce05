#pragma once

// The profile creation screen.

#include "core/Singleton.h"
#include "source_menu/generated/_MainMenuCreateProfile.h"

class MainMenuCreateProfile : public Singleton<MainMenuCreateProfile>, public _MainMenuCreateProfile {
public:
    MainMenuCreateProfile() = default;

    // Layout handlers; the screen does not react to them yet.
    void onWidget3(int, int) override {}
};

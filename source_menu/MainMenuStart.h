#pragma once

// The main menu.

#include "core/Singleton.h"
#include "source_menu/generated/_MainMenuStart.h"

class MainMenuStart : public Singleton<MainMenuStart>, public _MainMenuStart {
public:
    MainMenuStart() = default;
};

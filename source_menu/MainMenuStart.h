#pragma once

// The main menu.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class MainMenuStart : public Singleton<MainMenuStart>, public Container {
public:
    MainMenuStart() = default;
};

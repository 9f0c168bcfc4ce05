#pragma once

// The loading screen, the first screen added. While it is shown its update asks every
// screen to load.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuLoading.h"

class MenuLoading : public Singleton<MenuLoading>, public _MenuLoading {
public:
    MenuLoading() = default;

    void update() override;
};

#pragma once

// The loading screen, the first screen added. While it is shown its update asks every
// screen to load.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class MenuLoading : public Singleton<MenuLoading>, public Container {
public:
    MenuLoading() = default;

    void update() override;
};

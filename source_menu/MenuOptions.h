#pragma once

// The options screen.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class MenuOptions : public Singleton<MenuOptions>, public Container {
public:
    MenuOptions() = default;
};

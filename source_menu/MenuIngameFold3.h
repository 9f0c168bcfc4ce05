#pragma once

// The HUD's third fold.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class MenuIngameFold3 : public Singleton<MenuIngameFold3>, public Container {
public:
    MenuIngameFold3() = default;
};

#pragma once

// The HUD's third fold.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuIngameFold3.h"

class MenuIngameFold3 : public Singleton<MenuIngameFold3>, public _MenuIngameFold3 {
public:
    MenuIngameFold3() = default;
};

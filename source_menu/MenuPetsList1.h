#pragma once

// A management screen. Only what the park rules use of it so far: its refill (reset),
// which the day rules call.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuPetsList1.h"

#include <string>

class MenuPetsList1 : public Singleton<MenuPetsList1>, public _MenuPetsList1 {
public:
    MenuPetsList1() = default;

    // The kind whose animals the panel shows.
    void setKind(const std::wstring& kind) { mKind = kind; }
    std::wstring mKind;
};

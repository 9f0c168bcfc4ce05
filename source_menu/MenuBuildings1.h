#pragma once

// The list of the park's buildings: cleaning and repair.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuBuildings1.h"

#include <string>

class MenuBuildings1 : public Singleton<MenuBuildings1>, public _MenuBuildings1 {
public:
    MenuBuildings1() = default;

    // The kind of the panel's buildings; the reset takes it again from the selected tab.
    void setKind(const std::wstring& kind) { mKind = kind; }
    std::wstring mKind;
};

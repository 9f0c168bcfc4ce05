#pragma once

// The building shop's page of buildings to buy.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuBuildingBuySell1.h"

#include <string>

class MenuBuildingBuySell1 : public Singleton<MenuBuildingBuySell1>, public _MenuBuildingBuySell1 {
public:
    MenuBuildingBuySell1() = default;

    // The kind of the panel's buildings; the reset takes it again from the selected tab.
    void setKind(const std::wstring& kind) { mKind = kind; }
    std::wstring mKind;
};

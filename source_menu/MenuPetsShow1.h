#pragma once

// The pet show's page of shows.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuPetsShow1.h"

#include <string>

class MenuPetsShow1 : public Singleton<MenuPetsShow1>, public _MenuPetsShow1 {
public:
    MenuPetsShow1() = default;

    // The kind whose animals the panel shows, as the frame hands it ("Dog" .. "Dino").
    void setKind(const std::wstring& kind) { mKind = kind; }
    std::wstring mKind = L"Dog";
};

#pragma once

// The animal offers panel. Only what the park rules use of it so far: its refill (reset)
// and the rebuilding of its offer cards.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuPetBuySell1.h"

#include <cwctype>
#include <string>

class MenuPetBuySell1 : public Singleton<MenuPetBuySell1>, public _MenuPetBuySell1 {
public:
    MenuPetBuySell1() = default;

    // The kind whose offers the panel shows, stored in lower case.
    void setKind(const std::wstring& kind)
    {
        mKind.clear();
        for (wchar_t c : kind)
            mKind += static_cast<wchar_t>(towlower(c));
    }
    std::wstring mKind;

    // Rebuilds the offer cards from the offer list (after new animals are offered).
    void rebuildOffers() {}
};

#pragma once

// The guest offers panel of the pets intake frame: one card per animal of one kind that owners
// offer for a stay (name, picture, happiness, fee, days), each with an "accomodate" button.
// Taking an animal in earns its fee, places it in a free spot of its kind, flies the camera
// there and closes the panels; without a free building of the kind a message says so.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuPetBuySell1.h"

#include <memory>
#include <string>
#include <vector>

class Button;
class DataAnimal;
class Happiness;

class MenuPetBuySell1 : public Singleton<MenuPetBuySell1>, public _MenuPetBuySell1 {
public:
    // The layout's card rows.
    static const int kRows = 10;

    MenuPetBuySell1();
    ~MenuPetBuySell1() override;

    void init(const char* path) override;
    void update() override;
    void draw() override;
    // Takes the kind from the blue tab strip and rebuilds the cards.
    void reset() override;

    // The kind in lower case.
    void setKind(const std::wstring& kind);
    // Remakes the indicators and buttons from the offers of the kind, then the frame's places line.
    void rebuildOffers();
    // The offers of the kind in the offer list's order, at most one per card row.
    std::vector<DataAnimal*> offers() const;

    std::vector<std::unique_ptr<Happiness>> mIndicators;
    std::vector<std::unique_ptr<Button>> mAccommodateButtons;
    std::wstring mKind = L"dog";

    // A click takes in the animal its card showed: the offers as last drawn, one per row. A
    // press that began before the cards drawn since the last rebuild (new offers may have come
    // while the button was held) takes nothing.
    std::vector<DataAnimal*> mShownOffers;
    bool mShownSinceRebuild = false;
    bool mPressOnShownCards = false;
    bool mPointerWasDown = false;

private:
    // The offer of card row i as last drawn, when it is still offered; else null.
    DataAnimal* shownOffer(size_t i) const;
    // Takes the offer in when the kind has a free building, else opens the no-place message.
    void accommodate(DataAnimal* offer);
};

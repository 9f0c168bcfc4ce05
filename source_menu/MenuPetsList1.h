#pragma once

// The card panel of the hosted pets frame: one card per park animal of one kind (name,
// picture, days left, hunger and health gauges, happiness) with feed and treat buttons, which
// fly the camera to the animal and close the panels; the player then acts in the park view.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuPetsList1.h"

#include <memory>
#include <string>
#include <vector>

class Button;
class DataAnimal;
class Happiness;
class Progress;

class MenuPetsList1 : public Singleton<MenuPetsList1>, public _MenuPetsList1 {
public:
    // The layout's cards.
    static const int kCards = 3;

    MenuPetsList1();
    ~MenuPetsList1() override;

    void update() override;
    void draw() override;
    // Takes the kind from the blue tab strip and rebuilds the cards from the park's animals.
    void reset() override;

    // The kind word as given; it is compared in lower case.
    void setKind(const std::wstring& kind) { mKind = kind; }

    std::vector<std::unique_ptr<Button>> mFeedButtons;
    std::vector<std::unique_ptr<Button>> mTreatButtons;
    std::vector<std::unique_ptr<Progress>> mHungerGauges;
    std::vector<std::unique_ptr<Progress>> mHealthGauges;
    std::vector<std::unique_ptr<Happiness>> mIndicators;
    std::vector<DataAnimal*> mAnimals;  // not owned: the park's animals of the kind at reset
    std::wstring mKind = L"Dog";

private:
    // The buttons, gauges and indicator of card k on the places of the layout's card k, for
    // each animal of mAnimals that has a card.
    void buildCards();
    // Drops the animals that left the park since the reset (the day clock runs while the panel
    // is open) and builds the cards again, so each row's objects stay with the animal named in it.
    void dropDeparted();
};

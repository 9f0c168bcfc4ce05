#pragma once

// The trick teaching panel: one row per park animal of one kind (picture, name, days of stay,
// teaching price) with a "teachtrick" button that starts the trick show for the animal, or
// says how many days remain before it can be taught again.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuPetsShow1.h"

#include <memory>
#include <string>
#include <vector>

class Button;
class DataAnimal;

class MenuPetsShow1 : public Singleton<MenuPetsShow1>, public _MenuPetsShow1 {
public:
    // The layout's rows.
    static const int kRows = 3;

    MenuPetsShow1();
    ~MenuPetsShow1() override;

    void init(const char* path) override;
    void update() override;
    void draw() override;
    // Takes the park's animals of the kind.
    void reset() override;

    // The kind word as the frame hands it ("Dog" ... "Dino").
    void setKind(const std::wstring& kind) { mKind = kind; }

    std::unique_ptr<Button> mTeachButtons[kRows];
    std::wstring mKind = L"Dog";
    std::vector<DataAnimal*> mAnimals;  // not owned: the park's animals of the kind at reset

private:
    // Starts the trick show for the animal, or explains the days still to wait.
    void teach(DataAnimal* animal);
    // Drops the rows of animals that left the park since the reset.
    void dropDeparted();
};

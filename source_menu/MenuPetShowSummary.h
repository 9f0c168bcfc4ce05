#pragma once

// The summary panel of a trick show: the layout's texts and an OK button that hides it. Its
// takings are the teaching price times the spectators. No screen opens it.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuPetShowSummary.h"

#include <memory>

class Button;

class MenuPetShowSummary : public Singleton<MenuPetShowSummary>, public _MenuPetShowSummary {
public:
    MenuPetShowSummary();
    ~MenuPetShowSummary() override;

    void init(const char* path) override;
    void update() override;
    void draw() override;
    // total := the park's teaching price x spectators.
    void reset() override;

    std::unique_ptr<Button> okButton;
    int spectators = 0; // visitors seated for the show, set by the park's visitors
    int total = 0;
};

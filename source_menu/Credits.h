#pragma once

// The credits: one full-height picture, the last screen of a run. Once it is fully shown a
// press of the pointer button ends the game (the main loop's quit flag).

#include "core/Singleton.h"
#include "source_menu/generated/_Credits.h"

class Credits : public Singleton<Credits>, public _Credits {
public:
    Credits() = default;

    void init(const char* path) override;
    void update() override;
    void draw() override;
};

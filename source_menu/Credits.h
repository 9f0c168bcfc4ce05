#pragma once

// The credits, shown at the end of the game. A press of the pointer button while it is
// fully shown ends the game.

#include "core/Singleton.h"
#include "source_menu/generated/_Credits.h"

class Credits : public Singleton<Credits>, public _Credits {
public:
    Credits() = default;

    void update() override;
};

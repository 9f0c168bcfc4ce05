#pragma once

// The credits, shown at the end of the game. A press of the pointer button while it is
// fully shown ends the game.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class Credits : public Singleton<Credits>, public Container {
public:
    Credits() = default;

    void update() override;
};

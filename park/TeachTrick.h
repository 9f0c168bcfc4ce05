#pragma once

// The trick show, where an animal is taught its tricks.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class TeachTrick : public Singleton<TeachTrick>, public Container {
public:
    TeachTrick() = default;

    // Non-zero while the trick show is visible.
    int isOpen() const { return isVisible(); }
};

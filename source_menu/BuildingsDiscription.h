#pragma once

// The description card of a building.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class BuildingsDiscription : public Singleton<BuildingsDiscription>, public Container {
public:
    BuildingsDiscription() = default;
};

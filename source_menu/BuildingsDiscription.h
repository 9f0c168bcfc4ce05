#pragma once

// The description card of a building.

#include "core/Singleton.h"
#include "source_menu/generated/_BuildingsDiscription.h"

class BuildingsDiscription : public Singleton<BuildingsDiscription>, public _BuildingsDiscription {
public:
    BuildingsDiscription() = default;
};

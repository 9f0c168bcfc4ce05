#pragma once

// The park's named 3D effects, by lower-case name. The manager owns them.

#include "core/Singleton.h"

#include <map>
#include <string>

class FX;

class FXManager : public Singleton<FXManager> {
public:
    FXManager() = default;

    // Removes every effect.
    void clear();
    // Stores the effect under the lower-cased name, replacing an earlier one.
    void add(const std::wstring& name, FX* fx);

    std::map<std::wstring, FX*> mEffects;
};

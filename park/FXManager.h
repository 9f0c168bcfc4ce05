#pragma once

// The park's named 3D effects by lower-case name, filled from the "[fx]" entries of the animals'
// data each time the game data loads. The manager owns the effects: clearing or replacing an
// entry deletes its effect, which releases its scene, so reloading the data leaks nothing.

#include "core/Singleton.h"

#include <map>
#include <string>

class FX;

class FXManager : public Singleton<FXManager> {
public:
    FXManager() = default;
    ~FXManager();
    FXManager(const FXManager&) = delete;
    FXManager& operator=(const FXManager&) = delete;

    // Removes every entry.
    void clear();
    // Stores the effect under the lower-cased name, replacing an earlier entry.
    void add(const std::wstring& name, FX* fx);
    // Advances every effect's clock by one 10 ms step (0.03 frames).
    void update();

    std::map<std::wstring, FX*> mEffects;
};

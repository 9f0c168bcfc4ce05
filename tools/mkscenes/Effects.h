#pragma once

// The park's light scene (mBackground3DLight.3dn), the small looping effect scenes
// (fx_sparkle.3dn, fx_hearts.3dn, fx_dust.3dn) and the park's ambient effects scene
// (mBackground3DFX.3dn).

#include <string>

namespace mkscenes {

bool writeLights(const std::string& sceneDir);
bool writeEffects(const std::string& sceneDir);

} // namespace mkscenes

#pragma once

// The park scene's textures, painted in code and written to <scene folder>/tex/park_*.png.
// All of them tile seamlessly. The building materials (wood, roof, stone) are pale and
// neutral, so vertex colours tint them to any colour.

#include <string>
#include <vector>

namespace mkscenes {

// The file names, relative to the scene folder ("tex/park_grass.png", ...).
const std::vector<std::string>& parkTextureFiles();
bool writeParkTextures(const std::string& sceneDir);

} // namespace mkscenes

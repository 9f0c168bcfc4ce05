#pragma once

// An RGBA picture painted in code and written as PNG: the scenes' textures and the animals'
// coats. Rows are stored top first; the renderer's texture coordinate v = 0 is the bottom row.

#include "core/VectorMath.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mkscenes {

class Picture {
public:
    Picture(int width, int height, float3 fill = float3(1, 1, 1));

    int width() const { return mWidth; }
    int height() const { return mHeight; }
    float3 at(int x, int y) const;
    void set(int x, int y, float3 colour, float alpha = 1);
    float alphaAt(int x, int y) const;
    // Blends a colour over the texel with the given coverage (0..1).
    void blend(int x, int y, float3 colour, float coverage);

    // Writes the picture as PNG; false (with a message) when it cannot be written.
    bool savePng(const std::string& path) const;

private:
    int mWidth, mHeight;
    std::vector<float> mRgba;
};

} // namespace mkscenes

#pragma once

// A named 3D effect of the park: a small animated scene.

#include "render/CRender.h"

#include <string>

class FX {
public:
    // Requests "data/3dn/" + file.
    explicit FX(const std::string& file);

    CRender::Object* mScene = nullptr;
    float mTime = 0.0f;
};

#pragma once

// A named 3D effect of the park: a small animated scene that plays on its own clock and is drawn
// where the caller puts it. It holds one reference to its scene for as long as it lives.

#include "render/CRender.h"

#include <string>

class FX {
public:
    // Requests "data/3dn/" + file through the background loader.
    explicit FX(const std::string& file);
    // Releases the scene; the loader keeps it cached.
    ~FX();
    FX(const FX&) = delete;
    FX& operator=(const FX&) = delete;

    // Queues the scene at the world matrix and the effect's time, layers 0 to 8 on (and every
    // later one); nothing while the scene loads.
    void draw(const float4x3& world);

    CRender::Object* mScene = nullptr;
    float mTime = 0.0f;  // frames
};

#pragma once

// One 3D scene object loaded from a ".3dn" scene file. The game holds it as CRender::Object.
// Scene files are not read yet: every load leaves the object unloaded.

#include "render/device.h"

#include <mutex>
#include <string>

class Object {
public:
    Object() = default;
    ~Object() { unload(); }
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    // Asserts "!is_loaded()"; a name not ending in ".3dn" prints "Can't load %s: unknown format".
    void load(const char* path);
    // Waits while queued draws use the object, then frees it.
    void unload();
    bool is_loaded() const { return device != nullptr; }

    Device* device = nullptr;  // non-null: loaded
    int progress = 0;          // load progress, 0 up to total
    int total = 0;
    std::mutex mutex;          // guards inUse and unloading
    int inUse = 0;
    float fps = 0;
    int frameCount = 0;
};

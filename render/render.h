#pragma once

// The frame renderer. This is the least the background loader needs until the renderer lands:
// the current engine, its device, and the loader thread's GPU context.

class Device;

class Render {
public:
    explicit Render(const char* options);

    void init(Device* device);
    Device* getDevice() const { return device; }

    static Render* current();
    static void set_current(Render* render);

    // Give the calling worker thread a GPU context sharing objects with the render thread's,
    // and take it away.
    void ThreadStart();
    void ThreadStop();

private:
    Device* device = nullptr;
};

#include "render/render.h"

#include "render/device.h"

#include <atomic>

static std::atomic<Render*> currentRender{nullptr};

Render::Render(const char*) {}

void Render::init(Device* dev)
{
    device = dev;
}

Render* Render::current()
{
    return currentRender;
}

void Render::set_current(Render* render)
{
    currentRender = render;
}

void Render::ThreadStart()
{
    device->ThreadStart();
}

void Render::ThreadStop()
{
    device->ThreadStop();
}

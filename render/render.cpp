#include "render/render.h"

#include "core/sdl_layer.h"
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

// The SDL layer reaches the window's device through the current renderer.
void Render::set_current(Render* render)
{
    currentRender = render;
    set_render_device(render ? render->getDevice() : nullptr);
}

void Render::ThreadStart()
{
    device->ThreadStart();
}

void Render::ThreadStop()
{
    device->ThreadStop();
}

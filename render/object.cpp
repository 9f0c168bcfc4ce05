#include "render/object.h"

#include "core/Assert.h"
#include "core/platform.h"
#include "render/render.h"
#include "toolkit/utils/misc.h"

#include <cstdio>

void Object::load(const char* path)
{
    PP_ASSERT(!is_loaded());
    Render* render = Render::current();
    if (!render || !render->getDevice())
        return;
    std::string name = path ? path : "";
    if (name.size() < 4 || toLowerString(name.substr(name.size() - 4)) != ".3dn")
        std::fprintf(stderr, "Can't load %s: unknown format\n", name.c_str());
}

void Object::unload()
{
    std::unique_lock<std::mutex> lock(mutex);
    if (!device)
        return;
    while (inUse > 0) {
        lock.unlock();
        sleep_ms(10);
        lock.lock();
    }
    device = nullptr;
}

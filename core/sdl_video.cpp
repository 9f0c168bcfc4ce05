#include "core/sdl_layer.h"

#include <cstdio>
#include <dlfcn.h>
#include <link.h>

// Starting SDL's video part, and how SDL reads the keyboard. Apart from the pump (sdl_layer.cpp),
// so that what lists the display modes starts SDL without the pump's ties to the render device.

namespace {

// Under X, SDL 1.2 takes a key's symbol and character from the keyboard map as it reads the key's
// event, not as the key was pressed. A program that types a character the keyboard lacks
// (on-screen keyboards, xdotool) maps it to a spare key for one keystroke and restores the map a
// few milliseconds later:
// - read any later, the press has no symbol and no character, and the letter is lost; so SDL
//   reads the window system's events on its own thread as they arrive, not once per frame;
// - the release reads another symbol (none) than the press did, so SDL keeps the press's symbol
//   held and drops the next press of that character as a repeat; the filter below releases the
//   symbol a key pressed when its release names another.
SDLKey pressedSym[256];

int release_remapped_keys(const SDL_Event* ev)
{
    if (ev->type != SDL_KEYDOWN && ev->type != SDL_KEYUP)
        return 1;
    const Uint8 key = ev->key.keysym.scancode;
    if (ev->type == SDL_KEYDOWN) {
        pressedSym[key] = ev->key.keysym.sym;
    } else {
        const SDLKey pressed = pressedSym[key];
        if (pressed != SDLK_UNKNOWN && pressed != ev->key.keysym.sym && pressed < SDLK_LAST)
            SDL_GetKeyState(nullptr)[pressed] = SDL_RELEASED;
        pressedSym[key] = SDLK_UNKNOWN;
    }
    return 1;
}

} // namespace

int start_sdl_video()
{
    if (SDL_WasInit(SDL_INIT_VIDEO))
        return 0;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTTHREAD) < 0) {
        std::fprintf(stderr, "Warning: no event thread (%s), keys are read once per frame\n", SDL_GetError());
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) < 0)
            return -1;
    }
    SDL_SetEventFilter(release_remapped_keys);
    return 0;
}

void keep_libraries_loaded()
{
#if defined(__SANITIZE_ADDRESS__)
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            if (info->dlpi_name && info->dlpi_name[0])
                dlopen(info->dlpi_name, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
#endif
}

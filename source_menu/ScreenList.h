#pragma once

// The list of the game's screens the loading screen brings up, in the order they are updated
// and drawn. The program's entry walks it; the screens and the park view are known here so that
// the entry knows none of them.

#include <cstddef>

class Container;

struct ScreenEntry {
    const char* name;        // class name, also the name of its layout file
    Container* (*get)();     // the screen's singleton, made on first use
};

// Every screen after the loading screen, in update and drawing order; count receives their number.
const ScreenEntry* gameScreens(size_t& count);

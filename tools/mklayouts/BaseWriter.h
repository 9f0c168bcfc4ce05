#pragma once

// Writes a screen's layout base, source_menu/generated/_<Screen>.{h,cpp}, from its binding and
// its layout (which gives the class of every widget that is in no typed list).

#include "Bindings.h"
#include "Layout.h"

#include <string>

struct BaseSources {
    std::string header;
    std::string source;
};

// The two files; stops with a message when the count check would not land on the binding's line.
BaseSources writeBase(const ScreenBinding& binding, const Layout& layout);

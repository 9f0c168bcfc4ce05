#pragma once

// The value-choice popup. Only what the router uses of it so far: the menu word it keeps from
// "scrollpopupstart" to "scrollpopupend".

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

#include <string>

class ScrollPopup : public Singleton<ScrollPopup>, public Container {
public:
    ScrollPopup() = default;

    std::wstring savedMenu;
};

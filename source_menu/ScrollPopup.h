#pragma once

// The scrolling message box.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class ScrollPopup : public Singleton<ScrollPopup>, public Container {
public:
    ScrollPopup() = default;
};

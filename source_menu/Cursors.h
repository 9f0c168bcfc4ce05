#pragma once

// The pointer overlay, the last screen drawn, with the hover hint: the main loop clears
// hoverFlag at every logic step and hovered park objects set it again, with hoverText,
// during the step.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

#include <string>

class Cursors : public Singleton<Cursors>, public Container {
public:
    Cursors() = default;

    int hoverFlag = 0;
    std::wstring hoverText;
};

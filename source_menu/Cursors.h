#pragma once

// The pointer overlay, the last screen drawn, with the hover hint: the main loop clears
// hoverFlag at every logic step and hovered park objects set it again, with hoverText,
// during the step.

#include "core/Singleton.h"
#include "source_menu/generated/_Cursors.h"

#include <string>

class Cursors : public Singleton<Cursors>, public _Cursors {
public:
    Cursors() = default;

    int hoverFlag = 0;
    std::wstring hoverText;
};

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

    // The layout holds the pointer pictures side by side; the screen draws one of them at the
    // pointer, never the layout as it lies. Until that is built it draws nothing.
    void draw() override {}

    int hoverFlag = 0;
    std::wstring hoverText;
};

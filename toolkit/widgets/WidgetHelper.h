#pragma once

// A named rectangle of a layout (a layer named helper_...) where a screen draws content of its own.
// Not a widget: no states, no images; it lives in its screen's helper list.

#include "toolkit/widgets/WidgetBase.h"

#include <string>

class WidgetHelper : public WidgetBaseBase {
public:
    WidgetHelper(const std::wstring& name, float x, float y, float w, float h);

    // Draws another widget at this helper's place with this helper's colour, then puts the widget's
    // images back at the widget's own rectangles and its colour back to opaque white.
    void drawWidgetAt(WidgetBase* widget);

    float4 mColor;
};

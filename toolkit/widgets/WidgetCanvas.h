#pragma once

// A plain picture of a layout (a layer named canvas_...): draws its one image in every layer state and
// takes part in its screen's show and hide transitions.

#include "toolkit/widgets/WidgetBase.h"

#include <string>

class WidgetCanvas : public WidgetBase {
public:
    WidgetCanvas(const std::string& file, const std::wstring& name, const float4& rect, const float4& drawRect);

    void init(const char* path) override {}
    void load() override;
    void unload() override;
    void update() override;
    void draw() override;
    void reset() override {}
    void onFrame() override {}

private:
    int mHiddenDrawn = 0;
    int mDisabledUpdated = 0;
};

#pragma once

// The description of the building under the pointer on the buildings screens: three areas, one
// beside each building card, each with a background and a text. The building panels time the
// pointer's rest in an area and hand over the text and the area; this panel draws that one area.

#include "core/Singleton.h"
#include "source_menu/generated/_BuildingsDiscription.h"

#include <string>
#include <vector>

class BuildingsDiscription : public Singleton<BuildingsDiscription>, public _BuildingsDiscription {
public:
    BuildingsDiscription() = default;

    void init(const char* path) override;
    // Made visible at its first show only; its show state never advances after that.
    void update() override;
    // The handed area's background and text, while a building panel is visible and no message
    // popup is up.
    void draw() override;
    void reset() override;

    // Text and area to show; -1 for none.
    void setDescription(const std::wstring& text, int area)
    {
        description = text;
        areaIndex = area;
    }

    std::wstring description;
    int areaIndex = -1;
    std::vector<WidgetHelper*> descriptionAreas;
};

#pragma once

// The clickable widget: a layout group named btn_... whose layers are the pictures of its layer
// states ("normal", "over", "click") and, optionally, a text label ("label_<textID>_<style>"). The
// pointer handling belongs to the input extension; a completed click is the layer-state pair (2, 3).

#include "toolkit/utils/PSDImport.h"
#include "toolkit/widgets/WidgetBase.h"

#include <string>
#include <vector>

class WidgetLabel;

class WidgetButton : public WidgetBase {
public:
    WidgetButton(const std::wstring& name, const std::vector<Layer>& layers);
    ~WidgetButton() override;

    void onStateChanged() override;
    void init(const char* path) override {}
    void load() override { loadImages(); }
    void unload() override { unloadImages(); }
    void update() override;
    void draw() override;
    void reset() override;
    void onFrame() override {}

    WidgetLabel* getLabel() const { return mLabel; }
    // Shows the picture of another image (not owned) at the place of the first image: as the only
    // over picture with replace, else as one more; with alsoClick the click pictures become the same.
    void addOverImage(MyImage* other, int alsoClick, int replace);

private:
    int mHiddenDrawn = 0;
    int mDisabledUpdated = 0;
    WidgetLabel* mLabel = nullptr;
};

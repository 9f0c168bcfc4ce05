#pragma once

// A toggle of any number of values: a layout group named chk_... with one picture per value in layers
// "state1" .. "stateN", optional "normal", "over" and "click" pictures and a label. Each press steps
// the value to the next one, wrapping to the first. Our layouts put the plain picture in state1
// (value 0) and the ticked one in state2 (value 1).

#include "toolkit/utils/PSDImport.h"
#include "toolkit/widgets/WidgetBase.h"

#include <string>
#include <vector>

class WidgetLabel;

class WidgetCheckbox : public WidgetBase {
public:
    WidgetCheckbox(const std::wstring& name, const std::vector<Layer>& layers);
    ~WidgetCheckbox() override;

    void onStateChanged() override;
    void init(const char* path) override {}
    void load() override { loadImages(); }
    void unload() override { unloadImages(); }
    void update() override;
    void draw() override;
    void reset() override;
    void onFrame() override {}

    // Values outside 0 .. states - 1 are clamped into that range.
    void setValue(int value);
    int getValue() const { return mValue; }
    int getStateCount() const { return static_cast<int>(mStatePictures.size()); }
    int isPressedMarked() const { return mPressed; }
    WidgetLabel* getLabel() const { return mLabel; }

    void addToGroup(WidgetCheckbox* peer) { mGroup.push_back(peer); }
    void clearGroup() { mGroup.clear(); }

    // The index of the state picture shown; screens read it to learn the choice.
    int mValue = 0;

private:
    int mHiddenDrawn = 0;
    int mDisabledUpdated = 0;
    std::vector<WidgetCheckbox*> mGroup;
    int mPressed = 0;
    int mHasNormal = 0;
    std::vector<int> mStatePictures;
    WidgetLabel* mLabel = nullptr;
};

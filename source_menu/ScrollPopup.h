#pragma once

// The modal popup in which the player chooses a number: with a slider between min and max
// (mode 0), or by ticking one of five presets, shown with their amounts (mode 1) or without
// (mode 2). The opener sets the mode, presets or range, title, caller and result, then sends
// "scrollpopupstart". Ok writes the value into the result, runs the caller's reset and sends
// "scrollpopupend"; Cancel only sends "scrollpopupend".

#include "core/Singleton.h"
#include "source_menu/generated/_ScrollPopup.h"

#include <string>

class Button;

class ScrollPopup : public Singleton<ScrollPopup>, public _ScrollPopup {
public:
    static constexpr float kStep = 0.075f;   // one press of a step button, share of the travel

    ScrollPopup() = default;
    ~ScrollPopup() override;

    void init(const char* path) override;
    void update() override;
    void draw() override;
    // Knob at the start fraction, title shown.
    void reset() override;
    InputRole inputRole() const override { return InputRole::Popup; }

    // The ticks select a preset (modes 1 and 2).
    void onWidget15(int previous, int current) override { selectPreset(0, current); }
    void onWidget16(int previous, int current) override { selectPreset(1, current); }
    void onWidget17(int previous, int current) override { selectPreset(2, current); }
    void onWidget18(int previous, int current) override { selectPreset(3, current); }
    void onWidget19(int previous, int current) override { selectPreset(4, current); }
    // The knob, dragged with the pointer (mode 0).
    void onWidget20(int previous, int current) override;
    // The step buttons: left and right by kStep (mode 0).
    void onWidget21(int previous, int current) override;
    void onWidget22(int previous, int current) override;

    // Shown at the next opening; the text itself, already looked up.
    void setTitle(const std::wstring& title) { this->title = title; }
    void setResult(int* result) { this->result = result; }
    void setCaller(Container* caller) { this->caller = caller; }
    // The slider's range and the knob's start at value; an empty range starts at min.
    void setRange(int value, int min, int max);
    // The knob's start as a fraction of the range 0..100.
    void setPercent(float fraction);
    // The five presets; the last one equal to current is ticked.
    void setPresets(int p0, int p1, int p2, int p3, int p4, int current);
    // The slider's value: min + the knob's share of the range, truncated.
    int sliderValue() const;

    Button* okButton = nullptr;
    Button* cancelButton = nullptr;
    float position = 0.0f;
    float startFraction = 0.5f;
    float travelLeft = 0.0f;
    float travelRight = 0.0f;
    int dragging = 0;
    std::wstring title;
    int* result = nullptr;
    Container* caller = nullptr;
    int min = 0;
    int max = 0;
    int presets[5] = {};
    int selected = 0;
    std::wstring savedMenu;    // the router's, kept from "scrollpopupstart" to "scrollpopupend"
    int mode = 0;

private:
    void selectPreset(int i, int current);
    // Moves the knob by delta of its travel, held at the ends with "wrong_click".
    void step(double delta);
    void placeKnob();
};

#pragma once

// The options: screen resolution and full screen, applied when confirmed, and the volumes of
// the effects and the music on two sliders, heard at once. Ok writes the options file; cancel
// and the close button put back the options as they were when the screen was shown.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuOptions.h"

#include <utility>
#include <vector>

class Button;
class WidgetButton;

class MenuOptions : public Singleton<MenuOptions>, public _MenuOptions {
public:
    static constexpr float kVolumeStep = 0.075f;

    MenuOptions() = default;
    ~MenuOptions() override;

    void init(const char* path) override;
    void load() override { _MenuOptions::load(); }
    void unload() override { _MenuOptions::unload(); }
    void update() override;
    void draw() override;
    void reset() override;
    void onFrame() override { _MenuOptions::onFrame(); }
    void unusedScreenHook() override {}

    void onWidget1(int previous, int current) override;
    void onWidget3(int previous, int current) override;
    void onWidget4(int previous, int current) override;
    void onWidget5(int previous, int current) override;
    void onWidget7(int previous, int current) override;
    void onWidget8(int previous, int current) override;
    void onWidget9(int previous, int current) override;

    // The slider ends from the layout: the knobs stand at their minimum there.
    void measureSliders();
    // The options take the values they had when the screen was shown, and are applied.
    void restoreSaved();

    Button* fullscreenButton = nullptr;
    Button* resolutionButton = nullptr;
    Button* okButton = nullptr;
    Button* cancelButton = nullptr;
    std::vector<std::pair<int, int>> modes;
    float soundVolume = 0.5f;
    float soundMin = 0.0f;
    float soundMax = 0.0f;
    int soundDragging = 0;
    float musicVolume = 0.5f;
    float musicMin = 0.0f;
    float musicMax = 0.0f;
    int musicDragging = 0;
    int resolutionIndex = 0;
    int savedFullscreen = 0;
    int savedResolutionIndex = 0;
    float savedMusicVolume = 0.5f;
    float savedSoundVolume = 0.5f;
    int fullscreen = 0;

private:
    // One slider: its volume, ends, drag flag, knob and the mixer setter.
    struct Slider {
        float& volume;
        float min;
        float max;
        int& dragging;
        WidgetButton* knob;
        void (*apply)(float);
    };
    Slider soundSlider();
    Slider musicSlider();
    // A click on an end moves the volume one step, clamped with "wrong_click" at 0 and 1.
    static void step(const Slider& slider, int current, float delta);
    static void drag(const Slider& slider, int current);
    static void placeKnob(const Slider& slider);
    // The index of the mode of that size; the size is added to the modes when it is missing.
    int modeIndex(int width, int height);
};

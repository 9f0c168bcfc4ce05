#pragma once

// The one-line text entry (a layout group named edit_...): takes the characters typed on the text
// input device, keeps those of the allowed set up to a maximum length, and shows the entry through
// its own label with a blinking "_" cursor, or a blinking, faded placeholder while the entry is empty.

#include "toolkit/utils/PSDImport.h"
#include "toolkit/widgets/WidgetBase.h"

#include <string>
#include <vector>

class WidgetLabel;

class WidgetTextEdit : public WidgetBase {
public:
    static constexpr int kBackspace = 8;
    static constexpr int kCursorOffMs = 1400;
    static constexpr int kBlinkPeriodMs = 2800;
    // Share of the entry's opacity the placeholder is drawn with.
    static constexpr float kPlaceholderAlpha = 0.45f;

    // A group without a "label" layer stops the program: the edit shows its text only there.
    WidgetTextEdit(const std::wstring& name, const std::vector<Layer>& layers);
    ~WidgetTextEdit() override;

    void init(const char* path) override {}
    void load() override { loadImages(); }
    void unload() override { unloadImages(); }
    void update() override;
    void draw() override;
    void reset() override;
    void onFrame() override {}

    std::wstring getText() const { return mText; }
    void setText(const std::wstring& text);
    void setPlaceholder(const std::wstring& text) { mPlaceholder = text; }
    // The allowed characters become the first line of the UTF-8 file; a missing or empty file stops
    // the program.
    void loadAllowedChars(const std::string& file);
    // Backspace removes the last character; an allowed character is appended below the maximum length.
    void typeChar(int code);

    WidgetLabel* getLabel() const { return mLabel; }

private:
    int mHiddenDrawn = 0;
    int mDisabledUpdated = 0;
    int mBlink = 0;
    WidgetLabel* mLabel = nullptr;
    std::wstring mText;
    int mMaxLength = 15;
    std::wstring mAllowed;
    std::wstring mPlaceholder;
};

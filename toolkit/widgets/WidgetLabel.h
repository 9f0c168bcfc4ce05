#pragma once

// The text widget: a text in one font style inside the rectangle of a layout layer, broken into lines
// at blanks to fit the rectangle's width and aligned as the style says. The layer name
// label_<textID>_<style> gives the first text (from the texts table) and the style number.

#include "toolkit/utils/PSDImport.h"
#include "toolkit/widgets/WidgetBase.h"
#include "render/CRender.h"

#include <string>
#include <vector>

class WidgetLabel : public WidgetBase {
public:
    static constexpr int kNoStyle = -1000000000;

    // The label of a single layer, or the own label of a button, checkbox or text edit.
    WidgetLabel(const std::wstring& name, float x, float y, float w, float h);
    // The label of a layer group: the layer named label... gives name and text box, the others
    // become pictures drawn under the text.
    explicit WidgetLabel(const std::vector<Layer>& layers);

    void init(const char* path) override {}
    void load() override { loadImages(); }
    void unload() override { unloadImages(); }
    void update() override;
    void draw() override;
    void reset() override {}
    void onFrame() override {}

    // isTextId 1: show the texts table's text of the key and remember the key; 0: show text itself.
    void setText(const std::wstring& text, int isTextId, int wrap);
    std::wstring getText(int wantId) const { return wantId ? mTextId : mText; }
    void setLayoutKey(int value) { mLayoutKey = value; }
    int getLineCount();
    const std::vector<std::wstring>& getLines() const { return mLines; }
    int getStyle() const { return mStyle; }

    void setupFromName(const std::wstring& name, float x, float y, float w, float h);

    // 1 breaks the text into lines at blanks; 0 lays the whole text out as one line. Screens clear it
    // directly before drawing some labels.
    int mWrap = 1;

private:
    void layoutText();
    void checkStyle() const;

    int mStyle = kNoStyle;
    int mHiddenDrawn = 0;
    int mDisabledUpdated = 0;
    CRender::Font* mCachedFont = nullptr;
    int mLayoutDirty = 1;
    float mCachedSize = 0;
    float mCachedWidthFactor = 0;
    float mCachedAdvanceFactor = 0;
    float mCachedBoxWidth = 0;
    int mCachedLayoutKey = 0;
    std::vector<std::wstring> mLines;
    std::vector<std::wstring> mWords;
    std::wstring mText;
    std::wstring mTextId;
    int mLayoutKey = 0;
};

// Greedy line breaking: the first word of a line is never measured (an over-long word stands alone,
// uncut); a line as wide as the box still fits.
std::vector<std::wstring> splitTextToLines(float size, float widthFactor, float advanceFactor, float maxWidth,
                                           CRender::Font* font, const std::vector<std::wstring>& words);
// splitTextToLines on a whole text split at blanks.
std::vector<std::wstring> splitTextToLinesAlt(float size, float widthFactor, float advanceFactor, float maxWidth,
                                              CRender::Font* font, const std::wstring& text);
// Sum of each character's advance at this size and width factor, times the advance factor.
float measureTextWidth(float size, float widthFactor, float advanceFactor, CRender::Font* font,
                       const std::wstring& text);

#pragma once

// The numbered font styles every text is drawn in, read once at start from "data/dat/fonts.dat":
// one style per line of nine tokens (font, size, width factor, advance factor, horizontal and
// vertical alignment, red, green, blue). Each distinct font picture is loaded once and shared.

#include "toolkit/utils/misc.h"
#include "render/CRender.h"

#include <map>
#include <string>
#include <vector>

class FontStylesMgr {
public:
    enum { kAlignLeft = 0, kAlignCentre = 1, kAlignRight = 2 };
    enum { kAlignTop = 0, kAlignMiddle = 1, kAlignBottom = 2 };

    struct FontStyle {
        std::string mFontPath;  // "data/" + font name + ".png", the key into the font table
        int mVAlign = 0;        // 0 top, 1 centre, 2 bottom
        int mHAlign = 0;        // 0 left, 1 centre, 2 right
        float mSize = 0;        // glyph height and line step, screen fractions
        float mWidthFactor = 1;
        float mAdvanceFactor = 1;
        float4 mColor;
    };

    FontStylesMgr() = default;
    FontStylesMgr(const FontStylesMgr&) = delete;
    FontStylesMgr& operator=(const FontStylesMgr&) = delete;
    ~FontStylesMgr();

    // Empties both tables and reads the styles file; a malformed line stops the program with a
    // message naming the file and line.
    void load(const std::string& path = "data/dat/fonts.dat");

    int styleCount() const { return static_cast<int>(mStyles.size()); }
    bool hasStyle(int number) const { return number >= 1 && number <= styleCount(); }
    // Style number N (1-based): line N of the file.
    const FontStyle& getStyle(int number) const;
    // The font of a style; every style's path was entered by load.
    CRender::Font* getFont(const FontStyle& style) const;

    std::map<std::string, CRender::Font*> mFonts;
    std::vector<FontStyle> mStyles;

private:
    void clear();
};

#pragma once

// Glyph outlines of a TrueType font as paths, so lettering on the pictures is filled and
// outlined like every other shape.

#include "Canvas.h"

#include <string>

class TextPath {
public:
    TextPath() = default;
    ~TextPath();
    TextPath(const TextPath&) = delete;
    TextPath& operator=(const TextPath&) = delete;

    // Opens the font file; false (with a message) when FreeType cannot read it.
    bool open(const std::string& path);
    // The outlines of an ASCII text whose capitals are cap_height high, its baseline at y and
    // its advance width placed by align (0 left at x, 0.5 centred on x, 1 right at x).
    Path text(const std::string& ascii, float cap_height, float x, float y, float align = 0.5f) const;

private:
    void* mLibrary = nullptr;
    void* mFace = nullptr;
};

// The lettering font of the pictures (opened by main).
TextPath& lettering();

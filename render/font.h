#pragma once

// The engine's bitmap font. The font picture is one strip of glyph boxes side by side,
// separated by columns holding the marker colour (the colour of the picture's upper-left
// pixel); loading cuts the boxes out, packs them into a texture and pairs them, left to
// right, with the characters of a charset (the default one, or the ".ch" file beside the
// picture). Drawing lays a wide string out on one line as one 2D item; drawing with the draw
// flag off only measures. The game holds it as CRender::Font.
//
// Sections: the font - loading steps (font_load.cpp; pure functions over RGBA pixels).

#include "render/CRender.h"
#include "render/image.h"

#include <cstdint>
#include <string>
#include <vector>

class Font : public Image {
public:
    struct glyph {
        wchar_t code;
        float u, v;  // upper-left corner in the texture
        float w;     // width in texture units
    };

    Font() = default;
    ~Font();

    // Loads picture and charset; asserts "!is_loaded()". True when loaded.
    bool load(const std::string& path);
    // Lays the text out from (x, y) with glyphs height tall (canvas units); aspect 0 takes the
    // renderer's 2D aspect. With draw non-zero the glyphs are queued in the colour and blend.
    // Returns the text's width; characters without a glyph add nothing.
    float draw(const wchar_t* text, float x, float y, float height, float wscale, float aspect,
               const float color[4], int blend, int draw);
    // The same for a multibyte text (the C library's current locale).
    float draw(const char* text, float x, float y, float height, float wscale, float aspect,
               const float color[4], int blend, int draw);
    // Releases the texture (waiting for queued draws) and the glyphs.
    void destroy();

    float lineHeight = 0;   // picture height / texture height
    float widthFactor = 1;  // multiplies every advance
    // Texture width / texture height (a power of two): a glyph's width in texture units times
    // this is its width in the units of lineHeight.
    float texelAspect = 1;
    std::vector<glyph> glyphs;  // sorted by code
};

// The engine font inside a facade font.
struct FontAccess {
    static Font* engine(CRender::Font* font);
};

// ---- loading steps

// One glyph box of the picture while loading: x, y its place in the atlas (pixels).
struct miniglyph {
    int x = 0, y = 0;
    int width = 0;     // pixels
    int column = 0;    // first column in the picture
    float u = 0, v = 0, w = 0;
    wchar_t code = 0;
};

// The glyph boxes of a picture (rows top to bottom, 4 bytes a pixel). The marker is the first
// pixel's colour; that pixel is cleared in rgba first. Every column with another pixel of
// exactly the marker colour is a separator.
std::vector<miniglyph> font_cut(std::vector<uint8_t>& rgba, int width, int height);
// Packs the boxes in rows of height + 4 pixels, each box in a cell of its width + 4 with its
// pixels 2 in from the cell's corner, on the smallest square texture of a power-of-two size
// that holds them all; sets x, y, u, v, w. Returns the size (0 when nothing fits 1 << 14).
int font_pack(std::vector<miniglyph>& boxes, int height);
// The height the packed rows need on a texture size wide: the smallest power of two that holds
// them, at most size (rows below it would stay empty).
int font_atlas_height(const std::vector<miniglyph>& boxes, int height, int size);
// The atlas: size x rows RGBA pixels (rows 0: size x size), rows top to bottom, transparent
// where no glyph is.
std::vector<uint8_t> font_atlas(const std::vector<uint8_t>& rgba, int width, int height,
                                const std::vector<miniglyph>& boxes, int size, int rows = 0);
// The charset file beside the picture at path ("x.png" -> "x.ch"); empty without a '.'.
std::string font_charset_path(const std::string& path);
// The charset for the picture at path: its ".ch" file when usable, else the default set. A
// file too short to use or holding control characters is warned about by name.
std::vector<wchar_t> font_charset(const std::string& path);
// The default charset of 107 characters.
std::vector<wchar_t> font_default_charset();
// A byte as a wide character of the C library's current locale; the byte itself when it does
// not convert.
wchar_t widen_byte(unsigned char byte);

// mkfont: renders a bitmap font strip from a TrueType font.
//
//   mkfont <font.ttf> <picture height px> <output base> [text files...]
//
// Writes <output base>.png, one RGBA strip of glyph boxes separated by marker columns, and
// <output base>.ch, the UTF-16LE charset naming the boxes left to right. The characters are
// printable ASCII, the Latin-1 letters and signs, the Polish letters, common typographic
// punctuation, and every further character of the given UTF-8 text files that the font has.
// The output depends only on the inputs.

#include <ft2build.h>
#include FT_FREETYPE_H

#include <IL/il.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

// Separator colour; glyph pixels are white, so none can equal it.
const uint8_t kMarker[4] = {255, 0, 255, 255};

const char16_t kPolish[] = u"ĄĆĘŁŃÓŚŹŻąćęłńóśźż";
const char16_t kTypography[] = u"–—‘’‚“”„…•€™";

struct Strip {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;  // rows top to bottom
};

// Decodes UTF-8, dropping malformed sequences, control characters and characters outside
// the 16-bit range (a charset has no surrogate pairs).
void collect_utf8(const std::string& bytes, std::set<char16_t>& out)
{
    size_t i = 0;
    while (i < bytes.size()) {
        unsigned char c = bytes[i];
        uint32_t cp;
        size_t extra;
        if (c < 0x80) { cp = c; extra = 0; }
        else if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; extra = 1; }
        else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; extra = 2; }
        else if ((c & 0xF8) == 0xF0) { cp = c & 0x07; extra = 3; }
        else { ++i; continue; }
        bool ok = i + extra < bytes.size();
        for (size_t k = 1; ok && k <= extra; ++k) {
            unsigned char cc = bytes[i + k];
            ok = (cc & 0xC0) == 0x80;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (!ok) { ++i; continue; }
        i += extra + 1;
        bool surrogate = cp >= 0xD800 && cp <= 0xDFFF;
        bool control = cp < 0x20 || (cp >= 0x7F && cp < 0xA0);
        if (!control && !surrogate && cp <= 0xFFFF && cp != 0xFEFF)
            out.insert(static_cast<char16_t>(cp));
    }
}

bool read_file(const char* path, std::string& out)
{
    FILE* f = std::fopen(path, "rb");
    if (!f)
        return false;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        out.append(buf, n);
    std::fclose(f);
    return true;
}

// The charset in a fixed order: the base set first, then extra characters by code.
std::vector<char16_t> build_charset(FT_Face face, const std::vector<const char*>& texts)
{
    std::vector<char16_t> base;
    for (char16_t c = 0x20; c < 0x7F; ++c)
        base.push_back(c);
    for (char16_t c = 0xA1; c <= 0xFF; ++c)
        if (c != 0xAD)  // soft hyphen has no glyph of its own
            base.push_back(c);
    for (const char16_t* p = kPolish; *p; ++p)
        base.push_back(*p);
    for (const char16_t* p = kTypography; *p; ++p)
        base.push_back(*p);

    std::set<char16_t> extra;
    for (const char* path : texts) {
        std::string bytes;
        if (!read_file(path, bytes)) {
            std::fprintf(stderr, "mkfont: can't read %s, its characters are left out\n", path);
            continue;
        }
        collect_utf8(bytes, extra);
    }
    for (char16_t c : base)
        extra.erase(c);

    std::vector<char16_t> chars;
    for (char16_t c : base)
        if (c == 0x20 || FT_Get_Char_Index(face, c) != 0)
            chars.push_back(c);
    for (char16_t c : extra)
        if (FT_Get_Char_Index(face, c) != 0)
            chars.push_back(c);
        else
            std::fprintf(stderr, "mkfont: the font has no glyph for U+%04X, left out\n", c);
    return chars;
}

// Pixel size whose line (ascender to descender) fits the picture height.
int pick_pixel_size(FT_Face face, int height)
{
    int size = height;
    for (; size > 1; --size) {
        if (FT_Set_Pixel_Sizes(face, 0, size) != 0)
            continue;
        long line = (face->size->metrics.ascender - face->size->metrics.descender + 63) / 64;
        if (line <= height)
            break;
    }
    FT_Set_Pixel_Sizes(face, 0, size);
    return size;
}

// Lays the glyph boxes out left to right with one marker column between neighbours.
bool render_strip(FT_Face face, int height, const std::vector<char16_t>& chars, Strip& strip)
{
    pick_pixel_size(face, height);
    long ascender = face->size->metrics.ascender / 64;
    long descender = -face->size->metrics.descender / 64;
    // Centre the line vertically in the picture.
    int baseline = static_cast<int>(ascender + (height - (ascender + descender)) / 2);

    std::vector<int> widths;
    for (char16_t c : chars) {
        if (FT_Load_Char(face, c, FT_LOAD_DEFAULT) != 0) {
            std::fprintf(stderr, "mkfont: can't load glyph U+%04X\n", c);
            return false;
        }
        widths.push_back(std::max(1, static_cast<int>((face->glyph->advance.x + 63) / 64)));
    }
    strip.height = height;
    strip.width = 0;
    for (int w : widths)
        strip.width += w;
    strip.width += static_cast<int>(widths.size()) - 1;
    strip.rgba.assign(static_cast<size_t>(strip.width) * height * 4, 0);
    // Transparent white, so filtering at glyph edges does not darken the text.
    for (size_t i = 0; i < strip.rgba.size(); i += 4)
        strip.rgba[i] = strip.rgba[i + 1] = strip.rgba[i + 2] = 255;

    auto put = [&](int x, int y, const uint8_t* px) {
        std::copy(px, px + 4, &strip.rgba[(static_cast<size_t>(y) * strip.width + x) * 4]);
    };

    int pen = 0;
    for (size_t k = 0; k < chars.size(); ++k) {
        if (k > 0) {
            for (int y = 0; y < height; ++y)
                put(pen, y, kMarker);
            ++pen;
        }
        if (FT_Load_Char(face, chars[k], FT_LOAD_RENDER) != 0) {
            std::fprintf(stderr, "mkfont: can't render glyph U+%04X\n", chars[k]);
            return false;
        }
        const FT_Bitmap& bm = face->glyph->bitmap;
        int left = pen + face->glyph->bitmap_left;
        int top = baseline - face->glyph->bitmap_top;
        for (unsigned row = 0; row < bm.rows; ++row) {
            int y = top + static_cast<int>(row);
            if (y < 0 || y >= height)
                continue;
            for (unsigned col = 0; col < bm.width; ++col) {
                int x = left + static_cast<int>(col);
                if (x < pen || x >= pen + widths[k])
                    continue;
                uint8_t a = bm.buffer[row * bm.pitch + col];
                uint8_t px[4] = {255, 255, 255, a};
                put(x, y, px);
            }
        }
        pen += widths[k];
    }
    // The loader takes the marker colour from the first pixel.
    put(0, 0, kMarker);
    return true;
}

bool write_png(const std::string& path, const Strip& strip)
{
    ilInit();
    ILuint id = ilGenImage();
    ilBindImage(id);
    std::vector<uint8_t> bottom_up(strip.rgba.size());
    size_t row = static_cast<size_t>(strip.width) * 4;
    for (int y = 0; y < strip.height; ++y)
        std::copy(&strip.rgba[y * row], &strip.rgba[y * row] + row,
                  &bottom_up[(strip.height - 1 - y) * row]);
    bool ok = ilTexImage(strip.width, strip.height, 1, 4, IL_RGBA, IL_UNSIGNED_BYTE,
                         bottom_up.data());
    ilRegisterOrigin(IL_ORIGIN_LOWER_LEFT);
    ilEnable(IL_FILE_OVERWRITE);
    ok = ok && ilSave(IL_PNG, path.c_str());
    ilDeleteImage(id);
    return ok;
}

bool write_charset(const std::string& path, const std::vector<char16_t>& chars)
{
    if (chars.size() > 2047) {
        std::fprintf(stderr, "mkfont: %zu characters, a charset holds at most 2047\n", chars.size());
        return false;
    }
    std::vector<uint8_t> bytes = {0xFF, 0xFE};
    for (char16_t c : chars) {
        bytes.push_back(static_cast<uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<uint8_t>(c >> 8));
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: mkfont <font.ttf> <picture height px> <output base> [text files...]\n");
        return 2;
    }
    const char* font_path = argv[1];
    int height = std::atoi(argv[2]);
    std::string out = argv[3];
    std::vector<const char*> texts(argv + 4, argv + argc);
    if (height < 4 || height > 256) {
        std::fprintf(stderr, "mkfont: picture height %s out of range 4..256\n", argv[2]);
        return 2;
    }

    FT_Library lib;
    FT_Face face;
    if (FT_Init_FreeType(&lib) != 0) {
        std::fprintf(stderr, "mkfont: FreeType failed to start\n");
        return 1;
    }
    if (FT_New_Face(lib, font_path, 0, &face) != 0) {
        std::fprintf(stderr, "mkfont: can't open font %s\n", font_path);
        return 1;
    }
    std::vector<char16_t> chars = build_charset(face, texts);
    Strip strip;
    bool ok = render_strip(face, height, chars, strip);
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
    if (!ok)
        return 1;
    if (!write_png(out + ".png", strip)) {
        std::fprintf(stderr, "mkfont: can't write %s.png\n", out.c_str());
        return 1;
    }
    if (!write_charset(out + ".ch", chars)) {
        std::fprintf(stderr, "mkfont: can't write %s.ch\n", out.c_str());
        return 1;
    }
    return 0;
}

#include "render/font.h"

#include "core/Assert.h"
#include "render/picture_check.h"
#include "render/render.h"

#include <IL/il.h>
#include <IL/ilu.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>

// Sections: cutting - packing - atlas - charset - load.

// ---- cutting

std::vector<miniglyph> font_cut(std::vector<uint8_t>& rgba, int width, int height)
{
    std::vector<miniglyph> boxes;
    if (width <= 0 || height <= 0)
        return boxes;
    uint8_t marker[4];
    std::memcpy(marker, rgba.data(), 4);
    std::memset(rgba.data(), 0, 4);
    std::set<int> separators;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = &rgba[size_t(y) * width * 4];
        for (int x = 0; x < width; ++x)
            if (!std::memcmp(row + x * 4, marker, 4))
                separators.insert(x);
    }
    int start = 0;
    for (int column : separators) {
        miniglyph box;
        box.column = start;
        box.width = column - start;
        boxes.push_back(box);
        start = column + 1;
    }
    miniglyph last;
    last.column = start;
    last.width = width - start;
    boxes.push_back(last);
    return boxes;
}

// ---- packing

int font_pack(std::vector<miniglyph>& boxes, int height)
{
    for (int size = 1; size <= (1 << 14); size *= 2) {
        int x = 0, row = 0;
        bool fits = true;
        for (miniglyph& box : boxes) {
            int cell = box.width + 4;
            if (cell > size) {  // wider than the texture: no row can take it
                fits = false;
                break;
            }
            if (x + cell > size) {
                ++row;
                x = 0;
            }
            box.x = x + 2;
            box.y = row * (height + 4) + 2;
            x += cell;
        }
        if (!fits || (row + 1) * (height + 4) > size)
            continue;
        for (miniglyph& box : boxes) {
            box.u = float(box.x) / float(size);
            box.v = float(box.y) / float(size);
            box.w = float(box.width) / float(size);
        }
        return size;
    }
    return 0;
}

// ---- atlas

int font_atlas_height(const std::vector<miniglyph>& boxes, int height, int size)
{
    int needed = 0;
    for (const miniglyph& box : boxes)
        needed = std::max(needed, box.y + height + 2);  // with the row's 2 pixels below
    int rows = 1;
    while (rows < needed && rows < size)
        rows *= 2;
    return rows;
}

std::vector<uint8_t> font_atlas(const std::vector<uint8_t>& rgba, int width, int height,
                                const std::vector<miniglyph>& boxes, int size, int rows)
{
    if (rows <= 0)
        rows = size;
    std::vector<uint8_t> atlas(size_t(size) * size_t(rows) * 4, 0);
    for (const miniglyph& box : boxes) {
        PP_ASSERT(box.x + box.width <= size && box.y + height <= rows);
        for (int y = 0; y < height; ++y)
            std::memcpy(&atlas[(size_t(box.y + y) * size + box.x) * 4],
                        &rgba[(size_t(y) * width + box.column) * 4], size_t(box.width) * 4);
    }
    return atlas;
}

// ---- charset

std::vector<wchar_t> font_default_charset()
{
    static const wchar_t kDefault[] =
        L"QWERTYUIOPASDFGHJKLZXCVBNM"
        L"qwertyuiopasdfghjklzxcvbnm"
        L"\u0118\u00d3\u0104\u015a\u0141\u017b\u0179\u0106\u0143"
        L"\u0119\u00f3\u0105\u015b\u0142\u017c\u017a\u0107\u0144"
        L"~!@#$%^&*()_+{}|:"
        L"\""
        L"<>?`1234567890-=[] ";
    return std::vector<wchar_t>(kDefault, kDefault + sizeof kDefault / sizeof kDefault[0] - 1);
}

wchar_t widen_byte(unsigned char byte)
{
    if (byte == 0)
        return 0;
    char s[2] = {char(byte), 0};
    wchar_t wc = 0;
    if (std::mbtowc(&wc, s, 1) <= 0)
        return wchar_t(byte);
    return wc;
}

std::string font_charset_path(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::string();
    return path.substr(0, dot + 1) + "ch";
}

namespace {

// A charset of letters holds no control characters: a file that does is damaged.
bool charsetLooksSound(const std::vector<wchar_t>& chars)
{
    for (wchar_t c : chars)
        if (c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0xFFFE || c == 0xFFFF)
            return false;
    return true;
}

} // namespace

std::vector<wchar_t> font_charset(const std::string& path)
{
    const std::string chPath = font_charset_path(path);
    if (chPath.empty())
        return font_default_charset();
    FILE* f = std::fopen(chPath.c_str(), "rb");
    if (!f)
        return font_default_charset();
    unsigned char bytes[4096];
    size_t n = std::fread(bytes, 1, sizeof bytes, f);
    std::fclose(f);
    if (n < 3) {
        std::fprintf(stderr, "Warning: charset %s is too short; the default charset is used\n",
                     chPath.c_str());
        return font_default_charset();
    }
    std::vector<wchar_t> chars;
    if (bytes[0] == 0xFF && bytes[1] == 0xFE) {
        for (size_t k = 1; k < n / 2; ++k)
            chars.push_back(wchar_t(bytes[2 * k] | bytes[2 * k + 1] << 8));
    } else if (bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        std::fprintf(stderr, "UTF-8 charset files not supported\n");
        return font_default_charset();
    } else {
        for (size_t k = 0; k < n; ++k)
            chars.push_back(widen_byte(bytes[k]));
    }
    if (!charsetLooksSound(chars))
        std::fprintf(stderr, "Warning: charset %s holds control characters; its font may show "
                     "wrong letters\n", chPath.c_str());
    return chars;
}

// ---- load

bool Font::load(const std::string& path)
{
    PP_ASSERT(!is_loaded());
    std::lock_guard<std::mutex> il(ilMutex);
    Render* render = Render::current();
    if (!render || !render->getDevice())
        return false;
    Device* dev = render->getDevice();
    std::printf("Loading font %s\n", path.c_str());

    if (!picture_file_ok(path))
        return false;
    ILuint id = ilGenImage();
    ilBindImage(id);
    if (!ilLoadImage(path.c_str())) {
        ilDeleteImage(id);
        return false;
    }
    if (ilGetInteger(IL_IMAGE_ORIGIN) != IL_ORIGIN_UPPER_LEFT)
        iluFlipImage();
    int width = ilGetInteger(IL_IMAGE_WIDTH);
    int height = ilGetInteger(IL_IMAGE_HEIGHT);
    if (ilGetInteger(IL_IMAGE_BYTES_PER_PIXEL) != 4 || width <= 0 || height <= 0) {
        ilDeleteImage(id);
        return false;
    }
    ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE);
    std::vector<uint8_t> rgba(ilGetData(), ilGetData() + size_t(width) * height * 4);
    ilDeleteImage(id);

    std::vector<miniglyph> boxes = font_cut(rgba, width, height);
    int size = font_pack(boxes, height);
    if (size == 0)
        return false;
    // As wide as the packing's square but only as high as its rows: the glyphs keep their
    // texels, the texture leaves out the empty rows below them.
    const int rows = font_atlas_height(boxes, height, size);
    for (miniglyph& box : boxes)
        box.v = float(box.y) / float(rows);
    std::vector<uint8_t> atlas = font_atlas(rgba, width, height, boxes, size, rows);
    texture_t_opaque* tex = dev->CreateTexture(2, size, rows, atlas.data(), 1, nullptr);
    if (!tex)
        return false;

    std::vector<wchar_t> charset = font_charset(path);
    // Glyphs pair with characters in order: a charset of another length (a damaged or missing
    // file) shifts or drops letters.
    if (charset.size() != boxes.size())
        std::fprintf(stderr, "Warning: charset %s gives %zu characters for the %zu glyphs of %s; "
                     "text in this font may show wrong letters\n", font_charset_path(path).c_str(),
                     charset.size(), boxes.size(), path.c_str());
    for (size_t k = 0; k < boxes.size() && k < charset.size(); ++k)
        boxes[k].code = charset[k];
    std::stable_sort(boxes.begin(), boxes.end(),
                     [](const miniglyph& a, const miniglyph& b) { return a.code < b.code; });
    std::vector<glyph> table;
    table.reserve(boxes.size());
    for (const miniglyph& box : boxes)
        table.push_back(glyph{box.code, box.u, box.v, box.w});

    std::lock_guard<std::mutex> lock(mutex);
    name = path;
    texture = tex;
    glyphs.swap(table);
    lineHeight = float(height) / float(rows);
    texelAspect = float(size) / float(rows);
    widthFactor = 1.0f;
    device = dev;
    halfTexelX = 0.5f / float(size);
    halfTexelY = 0.5f / float(rows);
    return true;
}

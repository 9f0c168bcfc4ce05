#include "TextPath.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <cstdio>

namespace {

// Outlines are read at this size (pixels per em) and scaled to the wanted size.
const int kReadSize = 256;

struct Decomposer {
    Shape shape;
    Vec2 at;
    float scale;
    Vec2 origin;

    Vec2 map(const FT_Vector* v) const
    {
        return {origin.x + float(v->x) / 64.0f * scale, origin.y - float(v->y) / 64.0f * scale};
    }
    void start(Vec2 p)
    {
        shape.contours.push_back({p});
        at = p;
    }
    void line(Vec2 p)
    {
        shape.contours.back().push_back(p);
        at = p;
    }
};

int move_to(const FT_Vector* to, void* user)
{
    auto* d = static_cast<Decomposer*>(user);
    d->start(d->map(to));
    return 0;
}

int line_to(const FT_Vector* to, void* user)
{
    auto* d = static_cast<Decomposer*>(user);
    d->line(d->map(to));
    return 0;
}

int conic_to(const FT_Vector* control, const FT_Vector* to, void* user)
{
    auto* d = static_cast<Decomposer*>(user);
    Vec2 p0 = d->at, c = d->map(control), p = d->map(to);
    const int n = 8;
    for (int k = 1; k <= n; ++k) {
        float t = float(k) / n, u = 1 - t;
        d->line({u * u * p0.x + 2 * u * t * c.x + t * t * p.x, u * u * p0.y + 2 * u * t * c.y + t * t * p.y});
    }
    return 0;
}

int cubic_to(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user)
{
    auto* d = static_cast<Decomposer*>(user);
    std::vector<Vec2> pts = bezier_points(d->at, d->map(c1), d->map(c2), d->map(to));
    for (size_t k = 1; k < pts.size(); ++k)
        d->line(pts[k]);
    return 0;
}

}  // namespace

TextPath::~TextPath()
{
    if (mFace)
        FT_Done_Face(static_cast<FT_Face>(mFace));
    if (mLibrary)
        FT_Done_FreeType(static_cast<FT_Library>(mLibrary));
}

bool TextPath::open(const std::string& path)
{
    FT_Library library;
    if (FT_Init_FreeType(&library) != 0) {
        std::fprintf(stderr, "mkpictures: FreeType failed to start\n");
        return false;
    }
    mLibrary = library;
    FT_Face face;
    if (FT_New_Face(library, path.c_str(), 0, &face) != 0 || FT_Set_Pixel_Sizes(face, 0, kReadSize) != 0) {
        std::fprintf(stderr, "mkpictures: can't read the font %s\n", path.c_str());
        return false;
    }
    mFace = face;
    return true;
}

Path TextPath::text(const std::string& ascii, float cap_height, float x, float y, float align) const
{
    Path out;
    auto face = static_cast<FT_Face>(mFace);
    if (!face)
        return out;
    // Scale from the read size so that a capital H is cap_height high.
    float capRead = kReadSize * 0.73f;
    if (FT_Load_Char(face, 'H', FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) == 0) {
        FT_BBox box;
        FT_Outline_Get_CBox(&face->glyph->outline, &box);
        capRead = float(box.yMax - box.yMin) / 64.0f;
    }
    float scale = cap_height / capRead;
    float width = 0;
    for (char ch : ascii)
        if (FT_Load_Char(face, FT_ULong(static_cast<unsigned char>(ch)), FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) == 0)
            width += float(face->glyph->advance.x) / 64.0f * scale;
    float pen = x - width * align;
    FT_Outline_Funcs funcs = {move_to, line_to, conic_to, cubic_to, 0, 0};
    for (char ch : ascii) {
        if (FT_Load_Char(face, FT_ULong(static_cast<unsigned char>(ch)), FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0)
            continue;
        Decomposer d;
        d.scale = scale;
        d.origin = {pen, y};
        FT_Outline_Decompose(&face->glyph->outline, &funcs, &d);
        if (!d.shape.contours.empty())
            out.add_shape(d.shape);
        pen += float(face->glyph->advance.x) / 64.0f * scale;
    }
    return out;
}

TextPath& lettering()
{
    static TextPath font;
    return font;
}

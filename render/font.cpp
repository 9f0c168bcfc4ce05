#include "render/font.h"

#include "core/Assert.h"
#include "render/render.h"

#include <algorithm>
#include <cstdlib>
#include <cwchar>

Font::~Font()
{
    destroy();
}

float Font::draw(const wchar_t* text, float x, float y, float height, float wscale, float aspect,
                 const float color[4], int blend, int drawFlag)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!device)
            return 0;
        if (drawFlag)
            ++inUse;
    }
    Render* render = Render::current();
    PP_ASSERT(render->getDevice() == device);
    if (aspect == 0.0f)
        aspect = render->get_aspect2d();

    RenderArgs2D args;
    args.image = this;
    args.blend = blend;
    std::copy(color, color + 4, args.color);
    float* out = nullptr;
    if (drawFlag) {
        size_t length = std::wcslen(text);
        out = static_cast<float*>(render->allocator().alloc(unsigned(length * 80 + 16), 16));
        args.vertices = out;
    }
    float start = x;
    float scale = height * wscale * widthFactor / (aspect * lineHeight);
    for (const wchar_t* p = text; *p; ++p) {
        auto it = std::lower_bound(glyphs.begin(), glyphs.end(), *p,
                                   [](const glyph& g, wchar_t code) { return g.code < code; });
        if (it == glyphs.end() || it->code != *p)
            continue;
        float advance = scale * it->w * texelAspect;
        if (drawFlag) {
            const float quad[20] = {x,           y,          0, it->u,         it->v,
                                    x + advance, y,          0, it->u + it->w, it->v,
                                    x + advance, y + height, 0, it->u + it->w, it->v + lineHeight,
                                    x,           y + height, 0, it->u,         it->v + lineHeight};
            std::copy(quad, quad + 20, out + args.n_quads * 20);
            ++args.n_quads;
        }
        x += advance;
    }
    if (drawFlag)
        render->add_2d(args);
    return x - start;
}

float Font::draw(const char* text, float x, float y, float height, float wscale, float aspect,
                 const float color[4], int blend, int drawFlag)
{
    size_t length = std::mbstowcs(nullptr, text, 0);
    if (length == size_t(-1))
        return 0;
    std::wstring wide(length, L'\0');
    std::mbstowcs(&wide[0], text, length + 1);
    return draw(wide.c_str(), x, y, height, wscale, aspect, color, blend, drawFlag);
}

void Font::destroy()
{
    release();
    std::lock_guard<std::mutex> lock(mutex);
    glyphs.clear();
    glyphs.shrink_to_fit();
}

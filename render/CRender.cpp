#include "render/CRender.h"

#include "render/font.h"
#include "render/image.h"
#include "render/object.h"
#include "render/render.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

// Sections: size check - renderer - images - fonts - objects.

static_assert(sizeof(Render) == SIZEOF_RENDER, "SIZEOF_RENDER differs from sizeof(Render)");
static_assert(sizeof(::Object) == SIZEOF_OBJECT, "SIZEOF_OBJECT differs from sizeof(Object)");
static_assert(sizeof(::Image) == SIZEOF_IMAGE, "SIZEOF_IMAGE differs from sizeof(Image)");
static_assert(sizeof(::Font) == SIZEOF_FONT, "SIZEOF_FONT differs from sizeof(Font)");
static_assert(alignof(Render) <= 16 && alignof(::Object) <= 16 && alignof(::Image) <= 16 &&
                  alignof(::Font) <= 16,
              "the facade storage is aligned to 16");

// ---- size check

void CRender::check_sizes(int render, int object, int image, int font)
{
    const int engine[4] = {int(sizeof(Render)), int(sizeof(::Object)), int(sizeof(::Image)),
                           int(sizeof(::Font))};
    if (engine[0] == render && engine[1] == object && engine[2] == image && engine[3] == font)
        return;
    std::fprintf(stderr, "FIX THIS:\n");
    std::fflush(stderr);
    std::printf("#define SIZEOF_RENDER\t%d\t// was: %d\n", engine[0], render);
    std::printf("#define SIZEOF_OBJECT\t%d\t// was: %d\n", engine[1], object);
    std::printf("#define SIZEOF_IMAGE\t%d\t// was: %d\n", engine[2], image);
    std::printf("#define SIZEOF_FONT\t%d\t// was: %d\n", engine[3], font);
    std::fflush(stdout);
    std::abort();
}

// ---- renderer

CRender::CRender(const char* options, const char* shader_folder)
{
    Render* render = new (storage) Render(options);
    render->create_device(options, shader_folder);
    Render::set_current(render);
}

CRender::~CRender()
{
    reinterpret_cast<Render*>(storage)->~Render();
}

Render* CRender::current()
{
    return Render::current();
}

void CRender::begin(Image* target, float aspect, float aspect2d)
{
    if (Render* render = Render::current())
        render->begin(target ? target->engine() : nullptr, aspect, aspect2d);
}

void CRender::end(int flags)
{
    if (Render* render = Render::current())
        render->end((flags & 1) != 0, (flags & 2) != 0, (flags & 4) != 0);
}

void CRender::set_camera(Render* render, float3 eye, float3 target, float3 up, float fov,
                         float aspect)
{
    if (render)
        render->set_camera(eye, target, up, fov, aspect);
}

void CRender::ThreadStart()
{
    if (Render* render = Render::current())
        render->ThreadStart();
}

void CRender::ThreadStop()
{
    if (Render* render = Render::current())
        render->ThreadStop();
}

float CRender::get_aspect()
{
    Render* render = Render::current();
    Device* device = render ? render->getDevice() : nullptr;
    return device ? device->GetAspect() : 1.3333f;
}

// ---- images

CRender::Image::Image()
{
    new (storage)::Image();
}

CRender::Image::~Image()
{
    engine()->~Image();
}

bool CRender::Image::load(const std::string& path)
{
    return engine()->load(path);
}

void CRender::Image::release()
{
    engine()->release();
}

void CRender::Image::draw(float x, float y, float w, float h, float r, float g, float b, float a,
                          int blend)
{
    const float color[4] = {r, g, b, a};
    engine()->draw(x, y, w, h, color, blend);
}

void CRender::Image::draw_part(float x, float y, float w, float h, float sx, float sy, float sw,
                               float sh, float r, float g, float b, float a, int blend)
{
    const float color[4] = {r, g, b, a};
    engine()->draw_part(x, y, w, h, sx, sy, sw, sh, color, blend);
}

void CRender::Image::draw_part(const float corners[16], float r, float g, float b, float a,
                               int blend)
{
    const float color[4] = {r, g, b, a};
    engine()->draw_transformed(corners, color, blend);
}

void CRender::Image::get_size(int* w, int* h)
{
    engine()->get_size(w, h);
}

unsigned CRender::Image::get_pixel(int x, int y)
{
    return engine()->get_pixel(x, y);
}

int CRender::Image::get_alpha(int x, int y)
{
    return engine()->get_alpha(x, y);
}

bool CRender::Image::save(const char* path, int w, int h, const char* format)
{
    return engine()->save(path, w, h, format);
}

bool CRender::Image::is_loaded()
{
    return engine()->is_loaded();
}

// ---- fonts

::Font* FontAccess::engine(CRender::Font* font)
{
    return reinterpret_cast<::Font*>(font->storage);
}

CRender::Font::Font()
{
    new (storage)::Font();
}

CRender::Font::~Font()
{
    FontAccess::engine(this)->~Font();
}

bool CRender::Font::load(const std::string& path)
{
    return FontAccess::engine(this)->load(path);
}

bool CRender::Font::is_loaded()
{
    return FontAccess::engine(this)->is_loaded();
}

float CRender::Font::draw(const wchar_t* text, float x, float y, float size, float wscale,
                          float aspect, float r, float g, float b, float a, int drawFlag,
                          int blend)
{
    const float color[4] = {r, g, b, a};
    return FontAccess::engine(this)->draw(text, x, y, size, wscale, aspect, color, blend, drawFlag);
}

void CRender::Font::release()
{
    FontAccess::engine(this)->release();
}

void CRender::Font::destroy()
{
    FontAccess::engine(this)->destroy();
}

// ---- objects

CRender::Object::Object()
{
    new (storage)::Object();
}

CRender::Object::~Object()
{
    engine()->~Object();
}

bool CRender::Object::load(const std::string& path)
{
    engine()->load(path.c_str());
    return engine()->is_loaded();
}

void CRender::Object::unload()
{
    engine()->unload();
}

bool CRender::Object::is_loaded()
{
    return engine()->is_loaded();
}

void CRender::Object::get_counts(int* progress, int* total)
{
    if (progress)
        *progress = engine()->progress;
    if (total)
        *total = engine()->total;
}

float CRender::Object::get_fps()
{
    return engine()->fps;
}

int CRender::Object::get_frame_count()
{
    return engine()->frame_count;
}

int CRender::Object::get_layer_count()
{
    return engine()->layer_count;
}

namespace {

// The engine's blend records for the facade's (which name facade objects).
std::vector<::Object::Blend> engine_blends(const CRender::Object::Blend* blends, int count)
{
    std::vector<::Object::Blend> out(blends && count > 0 ? size_t(count) : 0);
    for (size_t i = 0; i < out.size(); ++i) {
        out[i].source = blends[i].source ? blends[i].source->engine() : nullptr;
        out[i].time = blends[i].time;
        out[i].weight = blends[i].weight;
        out[i].node = blends[i].node;
    }
    return out;
}

}  // namespace

void CRender::Object::draw(const float4x3* world, float t, const Blend* blends, int blend_count,
                           const char* mask, const Mixer* mixers, int mixer_count,
                           const float4* colour)
{
    if (blend_count <= 0 || !blends) {
        engine()->draw(world, t, nullptr, 0, mask, mixers, mixer_count, colour);
        return;
    }
    std::vector<::Object::Blend> own = engine_blends(blends, blend_count);
    engine()->draw(world, t, own.data(), int(own.size()), mask, mixers, mixer_count, colour);
}

void CRender::Object::draw_rotated(float x, float y, float z, float a, float b, float c, float t,
                                   const Blend* blends, int blend_count, const char* mask,
                                   const Mixer* mixers, int mixer_count, const float4* colour)
{
    std::vector<::Object::Blend> own = engine_blends(blends, blend_count);
    engine()->draw_rotated(x, y, z, a, b, c, t, own.empty() ? nullptr : own.data(), int(own.size()),
                           mask, mixers, mixer_count, colour);
}

void CRender::Object::animate(float t, const Blend* blends, int blend_count, float4x3* out, int node)
{
    std::vector<::Object::Blend> own = engine_blends(blends, blend_count);
    engine()->animate(t, own.empty() ? nullptr : own.data(), int(own.size()), out, node, nullptr);
}

int CRender::Object::find_node(const char* name)
{
    return engine()->find_node(name);
}

void CRender::Object::get_node_matrix(int node, float t, float4x3* out)
{
    engine()->get_node_matrix(node, t, out);
}

bool CRender::Object::get_node_info(int node, NodeInfo* out)
{
    return engine()->get_node_info(node, out);
}

void CRender::Object::set_camera(Render* render, float t, const char* name)
{
    engine()->set_camera(render, t, name);
}

bool CRender::Object::get_camera(float t, const char* name, float4x4* matrix, float* fov)
{
    return engine()->get_camera(t, name, matrix, fov);
}

void CRender::Object::count_geometry(int layer, int* vertices, int* triangles)
{
    engine()->count_geometry(layer, vertices, triangles);
}

void CRender::Object::get_geometry(int layer, float3* vertices, int* triangles, int base)
{
    engine()->get_geometry(layer, vertices, triangles, base);
}

void CRender::Object::count_node_geometry(int node, int* vertices, int* triangles)
{
    engine()->count_node_geometry(node, vertices, triangles);
}

void CRender::Object::get_node_geometry(int node, float3* vertices, int* triangles, int base)
{
    engine()->get_node_geometry(node, vertices, triangles, base);
}

#include "render/render.h"

#include "core/Assert.h"
#include "core/sdl_layer.h"
#include "render/device_gl_arb.h"
#include "render/device_gl_fixed.h"
#include "render/image.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Sections: helpers - set-up - frame - 2D queue. The 3D side is in render_3d.cpp.

std::atomic<Render*> Render::currentRender{nullptr};

// ---- helpers

namespace {

const float kIdentity4[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
const float kIdentity3x4[12] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0};

void set_param(Device* device, parameter_t_opaque* param, const float* values)
{
    if (param)
        device->SetParam(param, values);
}

}  // namespace

// ---- set-up

Render::Render(const char* options)
{
    std::memcpy(projection.m, kIdentity4, sizeof projection.m);
    std::memcpy(view.m, kIdentity4, sizeof view.m);
    std::memcpy(screenMatrix.m, kIdentity4, sizeof screenMatrix.m);
    std::memcpy(cameraWorld.m, kIdentity3x4, sizeof cameraWorld.m);
    std::printf("RENDER PARAMETERS: %s\n", options ? options : "");
}

Render::~Render()
{
    if (currentRender == this)
        set_current(nullptr);
    if (ownDevice) {
        ownDevice->ReleaseFramebuffer(shadowTarget);
        ownDevice->ReleaseTexture(shadowTexture);
        ownDevice->ReleaseTexture(screenBackground);
    }
    delete ownDevice;
}

void Render::create_device(const char* options, const char* shader_folder)
{
    const char* opts = options ? options : "";
    Device* made;
    if (std::strstr(opts, "NOARB"))
        made = new Device_GL_fixed(opts);
    else
        made = new Device_GL_arb(opts, shader_folder ? shader_folder : "");
    for (;;) {
        int width = inputState.windowWidth;
        int height = inputState.windowHeight;
        made->SetVideoMode(inputState.windowMode, &width, &height, windowTitle);
        if (made->Init())
            break;
        if (dynamic_cast<Device_GL_fixed*>(made)) {
            // Nothing left to fall back on.
            std::fprintf(stderr, "Error: the OpenGL device can't be initialised\n");
            std::exit(1);
        }
        delete made;
        made = new Device_GL_fixed(opts);
    }
    ownDevice = made;
    init(made);
    // The first frame is drawn over whatever the new back buffer holds: clear it once.
    made->Clear(0, 0, 0, true, true);
}

void Render::init(Device* dev)
{
    device = dev;
    static const char* const kLightNames[8] = {
        "WSlightpos[%d]",       "light_ambient[%d]", "light_diffuse[%d]", "light_specular[%d]",
        "decay_equation[%d]", "light_projective[%d]", "shadowmap[%d]",  "projector[%d]"};
    for (int slot = 0; slot < 4; ++slot)
        for (int k = 0; k < 8; ++k) {
            char name[64];
            std::snprintf(name, sizeof name, kLightNames[k], slot);
            lightSlots[slot].handles[k] = device->GetParameter(name);
        }
    device->SetTarget(nullptr);
    if (device->getFeatures() & Device::feature_bounding_params) {
        params.bounding_sphere_os = device->GetParameter("bounding_sphere_os");
        params.bounding_box_os0 = device->GetParameter("bounding_box_os0");
        params.bounding_box_os1 = device->GetParameter("bounding_box_os1");
    }
    params.diffuse = device->GetParameter("diffuse");
    params.lightmap = device->GetParameter("lightmap");
    params.normalmap = device->GetParameter("normalmap");
    params.specular = device->GetParameter("specular");
    params.selfillum = device->GetParameter("selfillum");
    params.envmap = device->GetParameter("envmap");
    params.envmask = device->GetParameter("envmask");
    params.dudv = device->GetParameter("dudv");
    params.color_diffuse = device->GetParameter("color_diffuse");
    params.color_ambient = device->GetParameter("color_ambient");
    params.color_specular = device->GetParameter("color_specular");
    params.specular_power = device->GetParameter("specular_power");
    params.specular_level = device->GetParameter("specular_level");
    params.texture_matrix_dif = device->GetParameter("texture_matrix_dif");
    params.texture_matrix_light = device->GetParameter("texture_matrix_light");
    params.texture_matrix_self = device->GetParameter("texture_matrix_self");
    params.texture_matrix_dudv = device->GetParameter("texture_matrix_dudv");
    params.global_ambient = device->GetParameter("global_ambient");
    params.fog = device->GetParameter("fog");
    params.fog_color = device->GetParameter("fog_color");
    params.texture_matrix_screenspace = device->GetParameter("texture_matrix_screenspace");
    params.screen_background = device->GetParameter("screen_background");
    params.WSeyepos = device->GetParameter("WSeyepos");
    params.model_matrix = device->GetParameter("model_matrix");
    params.bones = device->GetParameter("bones");
    params.object_id = device->GetParameter("object_id");
    params.strict_depth = device->GetParameter("strict_depth");
    params.submit = device->GetParameter("submit");
    static const char* const kTechniques[9] = {
        "main2d_fill", "main2d",           "main2d_add",        "main2d_composite", "main2d_mul",
        "main2d_mul2", "main2d_add_blur_x", "main2d_add_blur_y", "main2d_exp"};
    for (int k = 0; k < 9; ++k)
        techniques2d[k] = device->GetTechnique(0, kTechniques[k]);
    params.color = device->GetParameter("color");
}

void Render::set_current(Render* render)
{
    currentRender = render;
    set_render_device(render ? render->device : nullptr);
}

Render* Render::current()
{
    return currentRender;
}

void Render::ThreadStart()
{
    if (device)
        device->ThreadStart();
}

void Render::ThreadStop()
{
    if (device)
        device->ThreadStop();
}

// ---- frame

void Render::begin(Image* target, float frame_aspect, float frame_aspect2d)
{
    if (!device)
        return;
    fogParams[0] = -1;
    fogState = 0;
    PP_ASSERT(!was_render_started());
    if (!target) {
        currentTarget = nullptr;
        if (frame_aspect == 0.0f)
            frame_aspect = device->GetAspect();
    } else {
        target->forget_readback();
        currentTarget = target->target;
        PP_ASSERT(currentTarget != NULL);
        if (frame_aspect == 0.0f) {
            int w = 0, h = 0;
            device->GetTargetSize(currentTarget, &w, &h);
            frame_aspect = h > 0 ? float(w) / float(h) : 1.0f;
        }
    }
    started = true;
    aspect = frame_aspect;
    aspect2d = frame_aspect2d;
    if (!target)
        set_screen_aspect(0, 0, aspect2d);
}

void Render::end(bool clear_colour, bool clear_depth, bool present)
{
    if (!device)
        return;
    PP_ASSERT(was_render_started());
    screenGrabs = 0;
    compute_screen_matrix();
    compute_frustum(frustum, projection, view);
    check_meshes();
    render_shadow_maps();
    device->SetTarget(currentTarget);
    pass_3d();
    pass_2d();
    static const float kWhite[4] = {1, 1, 1, 1};
    set_param(device, params.color, kWhite);
    if (present && !currentTarget) {
        device->Present();
        subDrawCounter = 0;
    }
    device->Clear(0, 0, 0, clear_colour, clear_depth);
    frameAllocator.reset();
    lights.clear();
    started = false;
}

// ---- 2D queue

void Render::add_2d(const RenderArgs2D& args)
{
    list2d.push_back(args);
}

void Render::pass_2d()
{
    float s = aspect != 0.0f ? aspect2d / aspect : 1.0f;
    const float proj[16] = {2 * s, 0, 0, -s, 0, -2, 0, 1, 0, 0, -1, 0, 0, 0, 0, 1};
    device->SetMatrix(proj, kIdentity3x4);
    static const float kNoFog[4] = {-1, 0, 0, 0};
    set_param(device, params.fog, kNoFog);
    fogState = 0;
    set_param(device, params.model_matrix, kIdentity3x4);
    flush_2d();
}

void Render::flush_2d()
{
    size_t n = list2d.size();
    size_t start = 0;
    while (start < n) {
        size_t stop = start + 1;
        while (stop < n && list2d[stop].image == list2d[start].image &&
               list2d[stop].blend == list2d[start].blend)
            ++stop;
        if (stop - start == 1) {
            set_param(device, params.model_matrix, list2d[start].transform);
            draw_single_2d(list2d[start]);
        } else {
            // The run's quads, transformed here: position 3, texture 2, colour 4 floats a vertex.
            set_param(device, params.model_matrix, kIdentity3x4);
            batchVertices.clear();
            int quads = 0;
            for (size_t k = start; k < stop; ++k) {
                const RenderArgs2D& item = list2d[k];
                const float* t = item.transform;
                float unit[20];
                const float* src = item.vertices;
                int itemQuads = item.n_quads;
                if (!src) {
                    Image::unit_quad(item.image, unit);
                    src = unit;
                    itemQuads = 1;
                }
                for (int v = 0; v < itemQuads * 4; ++v) {
                    const float* p = src + v * 5;
                    batchVertices.push_back(t[0] * p[0] + t[1] * p[1] + t[2] * p[2] + t[3]);
                    batchVertices.push_back(t[4] * p[0] + t[5] * p[1] + t[6] * p[2] + t[7]);
                    batchVertices.push_back(t[8] * p[0] + t[9] * p[1] + t[10] * p[2] + t[11]);
                    batchVertices.push_back(p[3]);
                    batchVertices.push_back(p[4]);
                    batchVertices.insert(batchVertices.end(), item.color, item.color + 4);
                }
                quads += itemQuads;
            }
            draw_batch_2d(list2d[start].image, batchVertices.data(), quads, list2d[start].blend);
        }
        start = stop;
    }
    for (RenderArgs2D& item : list2d)
        if (item.image)
            item.image->unpin();
    list2d.clear();
}

void Render::draw_single_2d(const RenderArgs2D& item)
{
    set_param(device, params.color, item.color);
    float unit[20];
    const float* vertices = item.vertices;
    int quads = item.n_quads;
    if (!vertices) {
        Image::unit_quad(item.image, unit);
        vertices = unit;
        quads = 1;
    }
    draw_quads(bind_2d_blend(item.image, item.blend), vertices, quads, false);
}

void Render::draw_batch_2d(Image* image, const float* vertices, int n_quads, int blend)
{
    device->SetShaderFlags(nullptr, nullptr);
    static const float kWhite[4] = {1, 1, 1, 1};
    set_param(device, params.color, kWhite);
    draw_quads(bind_2d_blend(image, blend), vertices, n_quads, true);
}

technique_t_opaque* Render::bind_2d_blend(Image* image, int blend)
{
    // Technique handles are stored fill, main2d, add, composite, mul, mul2: map by blend name.
    static const int kTechniqueOfBlend[6] = {0, 1, 2, 4, 5, 3};
    device->SetShaderFlags(nullptr, nullptr);
    if (blend < 0 || blend > 5)
        return nullptr;
    parameter_t_opaque* sampler = blend == blend_add ? params.selfillum : params.diffuse;
    if (sampler)
        device->SetParamTexture(sampler, image ? image->texture : nullptr);
    return techniques2d[kTechniqueOfBlend[blend]];
}

// Draws quads of 5 floats a vertex (20 bytes), or of 9 with a colour (36 bytes), from memory.
void Render::draw_quads(technique_t_opaque* technique, const float* vertices, int n_quads,
                        bool with_colour)
{
    if (n_quads <= 0)
        return;
    size_t needed = size_t(n_quads) * 6;
    if (quadIndices.size() < needed) {
        size_t have = quadIndices.size() / 6;
        quadIndices.resize(needed);
        for (size_t q = have; q < size_t(n_quads); ++q) {
            unsigned base = unsigned(q * 4);
            const unsigned idx[6] = {base, base + 1, base + 2, base + 2, base + 3, base};
            std::memcpy(&quadIndices[q * 6], idx, sizeof idx);
        }
    }
    int stride = with_colour ? 36 : 20;
    uintptr_t base = reinterpret_cast<uintptr_t>(vertices);
    Device::vertex_element elements[3] = {
        {nullptr, base, stride, Device::vt_float, 3, Device::vu_position, 0},
        {nullptr, base + 12, stride, Device::vt_float, 2, Device::vu_texcoord, 0},
        {nullptr, base + 20, stride, Device::vt_float, 4, Device::vu_color, 0},
    };
    int n_elements = with_colour ? 3 : 2;
    for (int pass = device->GetFirstPass(technique); pass; pass = device->GetNextPass(pass)) {
        device->BeginPass(pass);
        device->DrawFromMemory(Device::tri_list, quadIndices.data(), 32, 0, n_quads * 6, elements,
                               n_elements, 0, n_quads * 4);
        device->EndPass(pass);
    }
}

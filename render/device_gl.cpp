// The OpenGL device core.
//
// Sections: program-wide values - matrix helpers - construction and options - video mode and
// initialisation - frame, viewports and targets - matrices - drawing - render-thread tasks and
// the worker context - vertex and index buffers.

#include "render/device_gl.h"

#include "core/Assert.h"
#include "core/sdl_layer.h"

#include <GL/glx.h>
#include <IL/il.h>
#include <IL/ilu.h>
#include <IL/ilut.h>
#include <SDL/SDL.h>
#include <pthread.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

// ---- program-wide values

thread_local const char* current_texture_name = "<unknown>";
int sdlInited = 0;
std::mutex ilMutex;

namespace {

// The draw's vertex-format cache: what the GL arrays were last set up from.
struct vertex_format_cache {
    int count = -1;
    Device::vertex_element elements[Device::max_vertex_elements];
};
vertex_format_cache formatCache;

// Written by the loader thread, read by the render thread.
std::atomic<int> task_serving{0};
std::atomic<Device_GL*> serving_device{nullptr};

// Set once GLEW has been initialised: GL extension entry points exist from then on.
bool glewReady = false;

// The same arrays in the same formats, wherever their data lie.
bool sameLayout(const Device::vertex_element* a, const Device::vertex_element* b, int n)
{
    for (int i = 0; i < n; ++i) {
        if (a[i].stride != b[i].stride || a[i].type != b[i].type ||
            a[i].components != b[i].components || a[i].usage != b[i].usage ||
            a[i].usage_index != b[i].usage_index)
            return false;
    }
    return true;
}

bool sameElements(const Device::vertex_element* a, const Device::vertex_element* b, int n)
{
    for (int i = 0; i < n; ++i)
        if (a[i].buffer != b[i].buffer || a[i].offset != b[i].offset)
            return false;
    return sameLayout(a, b, n);
}

} // namespace

unsigned long get_current_thread_id()
{
    return static_cast<unsigned long>(pthread_self());
}

// ---- matrix helpers

// Loads a 4x3 matrix (rows of four, translation in the fourth column) as a 4x4 GL matrix.
static void loadAffine(GLStateCache& state, const float* m)
{
    const float gl[16] = {m[0], m[4], m[8],  0.0f, m[1], m[5], m[9],  0.0f,
                          m[2], m[6], m[10], 0.0f, m[3], m[7], m[11], 1.0f};
    state.loadMatrix(GL_MODELVIEW, gl);
}

// out = a x b, both affine 4x3.
static void mulAffine(float* out, const float* a, const float* b)
{
    float r[12];
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 4; ++col) {
            float v = a[row * 4 + 0] * b[0 * 4 + col] + a[row * 4 + 1] * b[1 * 4 + col] +
                      a[row * 4 + 2] * b[2 * 4 + col];
            if (col == 3)
                v += a[row * 4 + 3];
            r[row * 4 + col] = v;
        }
    }
    std::memcpy(out, r, sizeof r);
}

// A true affine inverse: the 3x3 part is inverted and the translation carried over.
bool isSoftwareRasterizer(const char* renderer)
{
    if (!renderer)
        return false;
    for (const char* name : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"})
        if (std::strstr(renderer, name))
            return true;
    return false;
}

void invert_matrix4x3(float* out, const float* in)
{
    const float a = in[0], b = in[1], c = in[2];
    const float d = in[4], e = in[5], f = in[6];
    const float g = in[8], h = in[9], i = in[10];
    const float A = e * i - f * h, B = -(d * i - f * g), C = d * h - e * g;
    const float det = a * A + b * B + c * C;
    float r[12];
    if (std::fabs(det) < 1e-20f) {
        static const float identity[12] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0};
        std::memcpy(out, identity, sizeof identity);
        return;
    }
    const float s = 1.0f / det;
    r[0] = A * s;
    r[1] = -(b * i - c * h) * s;
    r[2] = (b * f - c * e) * s;
    r[4] = B * s;
    r[5] = (a * i - c * g) * s;
    r[6] = -(a * f - c * d) * s;
    r[8] = C * s;
    r[9] = -(a * h - b * g) * s;
    r[10] = (a * e - b * d) * s;
    for (int row = 0; row < 3; ++row)
        r[row * 4 + 3] = -(r[row * 4 + 0] * in[3] + r[row * 4 + 1] * in[7] + r[row * 4 + 2] * in[11]);
    std::memcpy(out, r, sizeof r);
}

// ---- construction and options

Device_GL::Device_GL(const char* options)
{
    render_thread = get_current_thread_id();
    for (int& unit : texcoord_unit)
        unit = -1;
    std::memset(view, 0, sizeof view);
    std::memset(model, 0, sizeof model);
    std::memset(modelview, 0, sizeof modelview);
    screen_target = new target_record();
    current_target = screen_target;
    if (options) {
        if (std::strstr(options, "DISABLE_VBO"))
            use_vbo = 0;
        if (std::strstr(options, "DISABLE_FBO"))
            use_fbo = 0;
        if (const char* an = std::strstr(options, "ANISO="))
            anisotropy = std::strtof(an + 6, nullptr);
    }
}

Device_GL::~Device_GL()
{
    if (serving_device == this)
        serving_device = nullptr;
    delete screen_target;
}

bool Device_GL::OnRenderThread() const
{
    return get_current_thread_id() == render_thread;
}

#define ASSERT_RENDER_THREAD() \
    PP_ASSERT_MSG(OnRenderThread(), "get_current_thread_id() == render_thread")

// ---- video mode and initialisation

void Device_GL::SetVideoMode(int mode_, int* width_, int* height_, const std::wstring& title_)
{
    std::lock_guard<std::mutex> lock(sdlMutex);
    if (!sdlInited) {
        // Without a video driver (no X display) there is no window to open; Init then
        // reports the device unusable. A later call tries again.
        if (start_sdl_video() < 0) {
            std::fprintf(stderr, "Can't start SDL video: %s\n", SDL_GetError());
            return;
        }
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        sdlInited = 1;
    }
    SDL_EnableUNICODE(1);

    const int w = width_ ? *width_ : width;
    const int h = height_ ? *height_ : height;
    const std::string narrowTitle(title_.begin(), title_.end());
    // The window may have been resized since the last mode (the event pump resizes it without
    // the device): compare with the window's real size.
    if (SDL_Surface* screen = SDL_GetVideoSurface()) {
        if (width >= 0 && (screen->w != width || screen->h != height)) {
            width = screen->w;
            height = screen->h;
        }
    }
    if (w == width && h == height && mode_ == mode) {
        if (!title_.empty()) {
            title = title_;
            std::string mb(title_.size() * MB_CUR_MAX + 1, '\0');
            size_t n = std::wcstombs(&mb[0], title_.c_str(), mb.size());
            mb.resize(n == size_t(-1) ? 0 : n);
            SDL_WM_SetCaption(n == size_t(-1) ? narrowTitle.c_str() : mb.c_str(), "ve2");
        }
        return;
    }
    if (!title_.empty())
        title = title_;

    Uint32 flags = mode_ == vm_fullscreen ? (SDL_FULLSCREEN | SDL_OPENGL)
                   : mode_ == vm_resizable ? (SDL_OPENGL | SDL_RESIZABLE)
                                           : SDL_OPENGL;
    SDL_Surface* surface = SDL_SetVideoMode(w, h, 0, flags);
    if (!surface) {
        // Keep the previous mode; the caller's sizes stay as they were.
        std::fprintf(stderr, "Can't set video mode %dx%d (mode %d): %s\n", w, h, mode_,
                     SDL_GetError());
        return;
    }
    set_screen_aspect(w, h, 0);

    // The context SDL made is the one worker contexts share with.
    mainctx = static_cast<void*>(glXGetCurrentContext());
    display = static_cast<void*>(glXGetCurrentDisplay());
    if (!depth_bits) {
        SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depth_bits);
        colour_bits = surface->format->BitsPerPixel;
    }

    ASSERT_RENDER_THREAD();
    screen_target->vp[0] = 0;
    screen_target->vp[1] = 0;
    screen_target->vp[2] = w;
    screen_target->vp[3] = h;
    if (current_target == screen_target)
        glViewport(0, 0, w, h);
    InitStates();
    width = w;
    height = h;
    mode = mode_;
}

bool Device_GL::IsVideoModeOK(int windowed, int w, int h)
{
    Uint32 flags = SDL_OPENGL | (windowed ? 0 : SDL_FULLSCREEN);
    return SDL_VideoModeOK(w, h, 32, flags) != 0;
}

bool Device_GL::Init()
{
    // Without a window there is no current GL context, and nothing of the device can work.
    if (!glXGetCurrentContext())
        return false;
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK)
        return false;
    glewReady = true;
    if (use_vbo)
        use_vbo = GLEW_ARB_vertex_buffer_object ? 1 : 0;
    if (use_fbo)
        use_fbo = GLEW_EXT_framebuffer_object ? 1 : 0;
    // Platform choice: a software rasterizer does anisotropic filtering on the CPU, where it
    // costs most of a frame for a picture that changes by about 1/255; there it stays off,
    // whatever the options say. Hardware keeps the options' anisotropy.
    if (isSoftwareRasterizer(reinterpret_cast<const char*>(glGetString(GL_RENDERER))))
        anisotropy = 0;
    {
        std::lock_guard<std::mutex> lock(ilMutex);
        ilInit();
        iluInit();
        ilutInit();
        ilutRenderer(ILUT_OPENGL);
        iluImageParameter(ILU_FILTER, ILU_BILINEAR);
    }
    InitStates();
    // The first frame must not start from an undefined back buffer.
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    return true;
}

void Device_GL::InitStates()
{
    formatCache.count = -1;
    loaded_matrix = 0;
    gl_state.reset();
    // The GL state behind the buffer binding cache is unknown after a mode change.
    reset_buffer_bindings();
    if (glewReady && use_vbo) {
        glBindBufferARB(GL_ARRAY_BUFFER, 0);
        glBindBufferARB(GL_ELEMENT_ARRAY_BUFFER, 0);
    }
}

std::string Device_GL::GetDeviceName()
{
    const char* vendor = reinterpret_cast<const char*>(glGetString(GL_VENDOR));
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    return std::string(vendor ? vendor : "") + " " + (renderer ? renderer : "");
}

// ---- frame, viewports and targets

void Device_GL::Clear(float r, float g, float b, bool colour, bool depth)
{
    ASSERT_RENDER_THREAD();
    glClearColor(r, g, b, 1.0f);
    GLbitfield mask = (colour ? GL_COLOR_BUFFER_BIT : 0) | (depth ? GL_DEPTH_BUFFER_BIT : 0);
    if (mask)
        glClear(mask);
    ServeTasks();
}

void Device_GL::Present()
{
    ASSERT_RENDER_THREAD();
    SDL_GL_SwapBuffers();
}

void Device_GL::Viewport(int x, int y, int w, int h)
{
    ASSERT_RENDER_THREAD();
    current_target->vp[0] = x;
    current_target->vp[1] = y;
    current_target->vp[2] = w;
    current_target->vp[3] = h;
    glViewport(x, y, w, h);
}

void Device_GL::SetTarget(target_t_opaque* handle)
{
    ASSERT_RENDER_THREAD();
    target_record* t = handle ? static_cast<target_record*>(handle) : screen_target;
    if (use_fbo)
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, t->fbo);
    glViewport(t->vp[0], t->vp[1], t->vp[2], t->vp[3]);
    current_target = t;
}

void Device_GL::GetTargetSize(target_t_opaque* handle, int* w, int* h)
{
    target_record* t = handle ? static_cast<target_record*>(handle) : screen_target;
    if (w)
        *w = t->vp[2];
    if (h)
        *h = t->vp[3];
}

float Device_GL::GetAspect()
{
    return float(inputState.screenWidth) / float(inputState.screenHeight);
}

// ---- matrices

void Device_GL::SetMatrix(const float* projection, const float* view_)
{
    ASSERT_RENDER_THREAD();
    float transposed[16];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            transposed[4 * c + r] = projection[4 * r + c];
    gl_state.loadMatrix(GL_PROJECTION, transposed);
    gl_state.matrixMode(GL_MODELVIEW);
    std::memcpy(view, view_, sizeof view);
    std::memset(model, 0, sizeof model);
    std::memcpy(modelview, view, sizeof modelview);
    // The model-view stack must hold the new matrices, whichever marker it had.
    loadAffine(gl_state, modelview);
    loaded_matrix = 2;
}

void Device_GL::SetModel(const float* m)
{
    std::memcpy(model, m, sizeof model);
    mulAffine(modelview, view, model);
    if (loaded_matrix == 2)
        loaded_matrix = 0;
}

void Device_GL::LoadModelView(int which)
{
    if (loaded_matrix == which)
        return;
    loaded_matrix = which;
    loadAffine(gl_state, which == 1 ? view : modelview);
}

// ---- drawing

void Device_GL::Draw(int prim, vbuffer_t_opaque* indices, int index_size, int start, int count,
                     const vertex_element* elements, int n_elements, int min_vertex,
                     int num_vertices)
{
    DataBuffer* ib = static_cast<DataBuffer*>(indices);
    const void* base = ib ? ib->use() : nullptr;
    DrawIndexed(prim, base, index_size, start, count, elements, n_elements, min_vertex,
                num_vertices);
}

void Device_GL::DrawFromMemory(int prim, const void* indices, int index_size, int start,
                               int count, const vertex_element* elements, int n_elements,
                               int min_vertex, int num_vertices)
{
    if (use_vbo) {
        bind_buffer(GL_ARRAY_BUFFER, 0);
        bind_buffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    }
    DrawIndexed(prim, indices, index_size, start, count, elements, n_elements, min_vertex,
                num_vertices);
}

void Device_GL::DrawIndexed(int prim, const void* indices, int index_size, int start, int count,
                            const vertex_element* elements, int n_elements, int, int)
{
    LoadModelView(2);
    PP_ASSERT(prim == tri_list);
    PP_ASSERT(index_size == 32);
    PP_ASSERT(n_elements >= 0 && n_elements <= max_vertex_elements);

    vertex_element table[max_vertex_elements];
    for (int i = 0; i < n_elements; ++i) {
        table[i] = elements[i];
        if (table[i].usage == vu_texcoord) {
            int set = table[i].usage_index;
            table[i].usage_index = set >= 0 && set < 16 ? texcoord_unit[set] : -1;
        }
    }

    const bool multitexture = GLEW_ARB_multitexture;
    // Arrays set up without their colour stream are set up again for the next draw.
    const bool cached = n_elements == formatCache.count && !no_vertex_colour;
    if (cached && sameElements(table, formatCache.elements, n_elements)) {
        drawTriangles(indices, start, count);
        return;
    }

    // The position array is set last.
    int order[max_vertex_elements];
    int n = 0, position = -1;
    for (int i = 0; i < n_elements; ++i) {
        if (table[i].usage == vu_position && position < 0)
            position = i;
        else
            order[n++] = i;
    }
    if (position >= 0)
        order[n++] = position;

    if (cached && sameLayout(table, formatCache.elements, n_elements)) {
        // The same arrays from other buffers (each figure skins into a buffer of its own): only
        // the arrays whose buffer or offset changed are pointed again; all stay enabled.
        for (int k = 0; k < n; ++k) {
            const vertex_element& el = table[order[k]];
            const vertex_element& was = formatCache.elements[order[k]];
            if (el.buffer != was.buffer || el.offset != was.offset)
                setArray(el, multitexture);
        }
    } else {
        const int units = multitexture ? 8 : 1;
        for (int u = 0; u < units; ++u) {
            if (multitexture)
                glClientActiveTextureARB(GL_TEXTURE0_ARB + u);
            glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        }
        glDisableClientState(GL_VERTEX_ARRAY);
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_SECONDARY_COLOR_ARRAY);
        for (int k = 0; k < n; ++k)
            setArray(table[order[k]], multitexture);
    }
    if (multitexture)
        glClientActiveTextureARB(GL_TEXTURE0_ARB);
    formatCache.count = no_vertex_colour ? -1 : n_elements;
    std::memcpy(formatCache.elements, table, sizeof(vertex_element) * size_t(n_elements));
    drawTriangles(indices, start, count);
}

// Points one vertex array at its buffer (or client memory) and enables it.
void Device_GL::setArray(const vertex_element& el, bool multitexture)
{
    char* base = el.buffer ? static_cast<DataBuffer*>(el.buffer)->use() : nullptr;
    if (!el.buffer && use_vbo)
        bind_buffer(GL_ARRAY_BUFFER, 0);
    // A buffer object's base is 0: the offset is then a position in the buffer.
    const void* ptr = reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(base) + el.offset);
    GLenum type = GL_FLOAT;
    switch (el.type) {
    case vt_float: type = GL_FLOAT; break;
    case vt_short: type = GL_SHORT; break;
    case vt_byte: type = GL_BYTE; break;
    default: PP_ASSERT_MSG(false, "unknown vertex component type");
    }
    switch (el.usage) {
    case vu_texcoord:
        if (el.usage_index < 0)
            break;
        if (multitexture) {
            glClientActiveTextureARB(GL_TEXTURE0_ARB + el.usage_index);
        } else if (el.usage_index != 0) {
            break;
        }
        glTexCoordPointer(el.components, type, el.stride, ptr);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        break;
    case vu_position:
        glVertexPointer(el.components, type, el.stride, ptr);
        glEnableClientState(GL_VERTEX_ARRAY);
        break;
    case vu_normal:
        glNormalPointer(type, el.stride, ptr);
        glEnableClientState(GL_NORMAL_ARRAY);
        break;
    case vu_color:
        if (!no_vertex_colour) {
            glColorPointer(el.components, type, el.stride, ptr);
            glEnableClientState(GL_COLOR_ARRAY);
        }
        break;
    case vu_stream_unit6:
    case vu_stream_unit7:
        if (multitexture) {
            glClientActiveTextureARB(GL_TEXTURE0_ARB + (el.usage == vu_stream_unit6 ? 6 : 7));
            glTexCoordPointer(el.components, type, el.stride, ptr);
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        }
        break;
    case vu_secondary_color:
        if (el.components == 3 && GLEW_EXT_secondary_color) {
            glSecondaryColorPointerEXT(3, type, el.stride, ptr);
            glEnableClientState(GL_SECONDARY_COLOR_ARRAY);
        }
        break;
    default:
        break;
    }
}

void Device_GL::drawTriangles(const void* indices, int start, int count)
{
    const void* idx =
        reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(indices) + size_t(start) * 4);
    glDrawElements(GL_TRIANGLES, count, GL_UNSIGNED_INT, idx);
}

void Device_GL::DrawLines(const line_vertex* vertices, int count)
{
    LoadModelView(1);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glEnable(GL_LINE_SMOOTH);
    glDisable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glLineWidth(1.5f);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBegin(GL_LINES);
    for (int v = 0; v < 2 * count; ++v) {
        glColor4fv(vertices[v].color);
        glVertex3fv(vertices[v].pos);
    }
    glEnd();
    glPopAttrib();
}

void Device_GL::EndPass(int)
{
    for (int& unit : texcoord_unit)
        unit = -1;
    no_vertex_colour = 0;
}

// ---- render-thread tasks and the worker context

void Device_GL::RunTask(task* t)
{
    if (OnRenderThread()) {
        if (t)
            t->run();
        return;
    }
    std::unique_lock<std::mutex> lock(mutex);
    PP_ASSERT(main_thread_task == 0);
    main_thread_task = t;
    task_posted.notify_all();
    if (t)
        task_done.wait(lock, [this] { return main_thread_task == nullptr; });
}

// While loading, the loader thread posts its uploads one after another, each after the last
// was served. Once a frame has served one, it waits a little for the next, up to a budget, so
// a frame serves the batch in one pass instead of one upload per frame; a frame with nothing
// posted returns at once.
constexpr auto kNextTaskWait = std::chrono::milliseconds(4);
constexpr auto kServeBudget = std::chrono::milliseconds(12);

void Device_GL::ServeTasks()
{
    serving_device = this;
    ASSERT_RENDER_THREAD();
    std::unique_lock<std::mutex> lock(mutex);
    const auto budgetEnd = std::chrono::steady_clock::now() + kServeBudget;
    bool served = false;
    for (;;) {
        if (main_thread_task) {
            main_thread_task->run();
            main_thread_task = nullptr;
            served = true;
            task_done.notify_all();
            if (!task_serving) {
                // Let a poster in between two tasks; a task posted meanwhile is still served.
                lock.unlock();
                lock.lock();
            }
            continue;
        }
        if (task_serving) {
            task_posted.wait(lock);
            continue;
        }
        const auto now = std::chrono::steady_clock::now();
        if (!served || now >= budgetEnd)
            return;
        if (!task_posted.wait_until(lock, std::min(now + kNextTaskWait, budgetEnd),
                                    [this] { return main_thread_task != nullptr || task_serving; }))
            return;
    }
}

void Device_GL::SetTaskServing(int on)
{
    task_serving = on;
    if (Device_GL* device = serving_device)
        device->RunTask(nullptr);
}

// A GLX context sharing objects with the main one, current on a 1x1 pbuffer of its own.
void Device_GL::ThreadStart()
{
    std::lock_guard<std::mutex> lock(sdlMutex);
    Display* dpy = static_cast<Display*>(display);
    PP_ASSERT(mainctx != 0);
    const int attributes[] = {GLX_DRAWABLE_TYPE, GLX_PBUFFER_BIT,
                              GLX_RENDER_TYPE,   GLX_RGBA_BIT,
                              GLX_RED_SIZE,      8,
                              GLX_GREEN_SIZE,    8,
                              GLX_BLUE_SIZE,     8,
                              GLX_DEPTH_SIZE,    depth_bits,
                              None};
    int n = 0;
    GLXFBConfig* configs = glXChooseFBConfig(dpy, DefaultScreen(dpy), attributes, &n);
    GLXFBConfig pf = configs && n > 0 ? configs[0] : nullptr;
    PP_ASSERT(pf != 0);
    const int pbufferAttributes[] = {GLX_PBUFFER_WIDTH, 1, GLX_PBUFFER_HEIGHT, 1, None};
    GLXPbuffer pbuffer = glXCreatePbuffer(dpy, pf, pbufferAttributes);
    GLXContext subctx = glXCreateNewContext(dpy, pf, GLX_RGBA_TYPE, static_cast<GLXContext>(mainctx), True);
    XFree(configs);
    PP_ASSERT(subctx != 0);
    // Without it current, the worker's GL calls would silently do nothing.
    const Bool current = glXMakeContextCurrent(dpy, pbuffer, pbuffer, subctx);
    PP_ASSERT(current);
}

void Device_GL::ThreadStop()
{
    std::lock_guard<std::mutex> lock(sdlMutex);
    Display* dpy = static_cast<Display*>(display);
    GLXContext subctx = glXGetCurrentContext();
    PP_ASSERT(subctx != 0);
    GLXDrawable pbuffer = glXGetCurrentDrawable();
    glXMakeContextCurrent(dpy, None, None, nullptr);
    glXDestroyContext(dpy, subctx);
    if (pbuffer)
        glXDestroyPbuffer(dpy, pbuffer);
}

// ---- vertex and index buffers

void Device_GL::DB_maker::run()
{
    *result = Device_GL::CreateBuffer(use_vbo, target, size, usage);
}

void Device_GL::DB_filler::run()
{
    buffer->fill(buffer->staging);
}

void Device_GL::DB_killer::run()
{
    if (buffer) {
        delete buffer;
        // A new buffer may get the same address: the arrays must be set up again.
        formatCache.count = -1;
    }
}

// A buffer object when asked and GL gives one of the full size; memory otherwise.
DataBuffer* Device_GL::CreateBuffer(bool use, GLenum target, int size, GLenum usage)
{
    glGetError();
    if (use) {
        GLuint id = 0;
        glGenBuffersARB(1, &id);
        if (id) {
            bind_buffer(target, id);
            glBufferDataARB(target, size, nullptr, usage);
            GLint got = 0;
            if (glGetError() == GL_NO_ERROR)
                glGetBufferParameterivARB(target, GL_BUFFER_SIZE_ARB, &got);
            if (glGetError() != GL_NO_ERROR)
                got = 0;
            bind_buffer(target, 0);
            if (got == size)
                return new GLHardwareBuffer(size, id, target, usage);
            glDeleteBuffersARB(1, &id);
            forget_buffer(id);
        }
    }
    return new EmulatedBuffer(size);
}

vbuffer_t_opaque* Device_GL::CreateVertexBuffer(int bytes, bool dynamic)
{
    DataBuffer* result = nullptr;
    DB_maker maker(&result, use_vbo != 0, GL_ARRAY_BUFFER, bytes,
                   dynamic ? GL_DYNAMIC_DRAW : GL_STATIC_DRAW);
    RunTask(&maker);
    return result;
}

vbuffer_t_opaque* Device_GL::CreateIndexBuffer(int bytes, bool dynamic)
{
    DataBuffer* result = nullptr;
    DB_maker maker(&result, use_vbo != 0, GL_ELEMENT_ARRAY_BUFFER, bytes,
                   dynamic ? GL_DYNAMIC_DRAW : GL_STATIC_DRAW);
    RunTask(&maker);
    return result;
}

void* Device_GL::LockVertexBuffer(vbuffer_t_opaque* handle, int lock_mode)
{
    DataBuffer* b = static_cast<DataBuffer*>(handle);
    if (!OnRenderThread() && use_vbo) {
        PP_ASSERT(lock_mode == lck_writediscard);
        delete[] b->staging;
        b->staging = new unsigned char[size_t(b->size > 0 ? b->size : 1)];
        void* ret = b->staging;
        PP_ASSERT(ret != NULL);
        return ret;
    }
    if (lock_mode == lck_writediscard)
        b->invalidate();
    void* ret = b->lock(lock_mode != lck_writediscard, lock_mode != lck_readonly);
    PP_ASSERT(ret != NULL);
    return ret;
}

void* Device_GL::LockIndexBuffer(vbuffer_t_opaque* handle, int lock_mode)
{
    DataBuffer* b = static_cast<DataBuffer*>(handle);
    if (!OnRenderThread() && use_vbo) {
        PP_ASSERT(lock_mode == lck_writediscard);
        delete[] b->staging;
        b->staging = new unsigned char[size_t(b->size > 0 ? b->size : 1)];
        return b->staging;
    }
    if (lock_mode == lck_writediscard)
        b->invalidate();
    return b->lock(lock_mode != lck_writediscard, lock_mode != lck_readonly);
}

static void unlockBuffer(Device_GL* dev, DataBuffer* b, GLenum target)
{
    if (b->staging) {
        Device_GL::DB_filler filler(b);
        dev->RunTask(&filler);
        delete[] b->staging;
        b->staging = nullptr;
        return;
    }
    b->unlock();
    if (dev->use_vbo && bound_buffer(target))
        bind_buffer(target, 0);
}

void Device_GL::UnlockVertexBuffer(vbuffer_t_opaque* handle)
{
    unlockBuffer(this, static_cast<DataBuffer*>(handle), GL_ARRAY_BUFFER);
}

void Device_GL::UnlockIndexBuffer(vbuffer_t_opaque* handle)
{
    unlockBuffer(this, static_cast<DataBuffer*>(handle), GL_ELEMENT_ARRAY_BUFFER);
}

void Device_GL::ReleaseVertexBuffer(vbuffer_t_opaque* handle)
{
    DB_killer killer(static_cast<DataBuffer*>(handle));
    RunTask(&killer);
}

void Device_GL::ReleaseIndexBuffer(vbuffer_t_opaque* handle)
{
    DB_killer killer(static_cast<DataBuffer*>(handle));
    RunTask(&killer);
}

#pragma once

// Device_GL: the OpenGL device both shading devices build on. It owns the SDL window and its
// GL context, GLEW and DevIL set-up, clears and presents, viewports and targets, the camera
// matrices, draws with a vertex-format cache, debug lines, textures and render targets,
// vertex and index buffers, and the hand-over of GPU work from other threads to the render
// thread (tasks) with a worker GL context that shares objects with the main one.
// The shading (techniques, passes, parameters) and the feature bits are the subclasses'.
//
// Sections: program-wide values - records - Device_GL.

#include "render/data_buffer.h"
#include "render/device.h"
#include "render/gl_state.h"

#include <GL/glew.h>

#include <condition_variable>
#include <mutex>
#include <string>

namespace nv_dds {
class CDDSImage;
}

// ---- program-wide values

// Names the file whose texture is being loaded in texture messages; "<unknown>" when no
// loader named one. Set by the image and 3D object loaders around LoadTexture, which decodes
// on the caller's thread: one name per thread, so loads on two threads never swap names.
extern thread_local const char* current_texture_name;
// Whether SDL's video part has been started.
extern int sdlInited;
// Serialises every image-library (DevIL) call between the loader thread and the render thread.
extern std::mutex ilMutex;

// Identifies the calling thread; compared with Device_GL::render_thread.
unsigned long get_current_thread_id();

// Whether a GL renderer string names one of Mesa's software rasterizers (llvmpipe, softpipe,
// swrast), which filter every texture on the CPU.
bool isSoftwareRasterizer(const char* renderer);

// out = the inverse of the affine 4x3 matrix in (three rows of four, translation in the
// fourth column); a singular matrix gives the identity.
void invert_matrix4x3(float* out, const float* in);

class Device_GL : public Device {
public:
    // ---- records behind the handles
    struct texture_record : texture_t_opaque {
        int flags = 0;            // 0 = mipmapped, else one level
        GLuint texture = 0;       // 0 for a depth renderbuffer
        GLuint renderbuffer = 0;
        int flipped = 0;          // rows stored top first (DDS): texture matrices flip v
        int w = 0, h = 0, depth = 0; // -1, -1, -1 for cube maps
        // Stored as luminance (and alpha) since red, green and blue are equal in every texel:
        // it samples exactly as the RGBA picture in a half or a quarter of the memory.
        GLenum grey = 0;          // GL_LUMINANCE8, GL_LUMINANCE8_ALPHA8 or 0 (colour)
    };

    struct target_record : target_t_opaque {
        GLuint fbo = 0;                       // 0 for the screen
        texture_record* tex_color[4] = {};
        texture_record* tex_depth = nullptr;  // a texture or a renderbuffer
        int vp[4] = {};                       // viewport x, y, width, height
    };

    // ---- render-thread tasks: built by the poster, run on the render thread
    struct task {
        virtual void run() = 0;
        virtual ~task() = default;
    };
    struct DB_maker : task {
        DataBuffer** result;
        bool use_vbo;
        GLenum target;
        int size;
        GLenum usage;
        DB_maker(DataBuffer** r, bool u, GLenum t, int s, GLenum us)
            : result(r), use_vbo(u), target(t), size(s), usage(us) {}
        void run() override;
    };
    struct DB_filler : task {
        DataBuffer* buffer;
        explicit DB_filler(DataBuffer* b) : buffer(b) {}
        void run() override;
    };
    struct DB_killer : task {
        DataBuffer* buffer;
        explicit DB_killer(DataBuffer* b) : buffer(b) {}
        void run() override;
    };
    struct DDS_uploader : task {
        nv_dds::CDDSImage* image;
        texture_record* record;
        float anisotropy;
        DDS_uploader(nv_dds::CDDSImage* i, texture_record* r, float a)
            : image(i), record(r), anisotropy(a) {}
        void run() override;
    };
    struct IL_uploader : task {
        unsigned image;  // DevIL image id
        texture_record* record;
        float anisotropy;
        IL_uploader(unsigned i, texture_record* r, float a) : image(i), record(r), anisotropy(a) {}
        void run() override;
    };

    explicit Device_GL(const char* options);
    ~Device_GL() override;

    // ---- Device
    void SetVideoMode(int mode, int* width, int* height, const std::wstring& title) override;
    bool IsVideoModeOK(int windowed, int width, int height) override;
    bool Init() override;
    void Clear(float r, float g, float b, bool colour, bool depth) override;
    void Present() override;
    void Viewport(int x, int y, int width, int height) override;
    float GetAspect() override;
    void SetMatrix(const float* projection, const float* view) override;
    void SetTarget(target_t_opaque* target) override;
    void GetTargetSize(target_t_opaque* target, int* width, int* height) override;
    target_t_opaque* CreateFramebuffer(int width, int height, texture_t_opaque** colour,
                                       texture_t_opaque* depth) override;
    texture_t_opaque* GetFramebufferTexture(target_t_opaque* target,
                                            fb_binding_t binding) override;
    void ReleaseFramebuffer(target_t_opaque* target) override;
    texture_t_opaque* LoadTexture(const void* bytes, int size, int no_mipmaps) override;
    void* ReservedOp14() override { return nullptr; }
    texture_t_opaque* CreateTexture(int format, int width, int height, const void* pixels,
                                    int no_mipmaps, texture_t_opaque* reuse) override;
    void* ReservedOp16() override { return nullptr; }
    void GetTextureInfo(texture_t_opaque* texture, int* width, int* height, int* depth) override;
    void ReleaseTexture(texture_t_opaque* texture) override;
    void GetTexturePixels(texture_t_opaque* texture, void* out) override;
    void ReadBackTexture(texture_t_opaque* texture, int x, int y, int width, int height,
                         bool halfsize, image_bounds* bounds) override;
    vbuffer_t_opaque* CreateVertexBuffer(int bytes, bool dynamic) override;
    vbuffer_t_opaque* CreateIndexBuffer(int bytes, bool dynamic) override;
    void* LockVertexBuffer(vbuffer_t_opaque* buffer, int mode) override;
    void UnlockVertexBuffer(vbuffer_t_opaque* buffer) override;
    void ReleaseVertexBuffer(vbuffer_t_opaque* buffer) override;
    void* LockIndexBuffer(vbuffer_t_opaque* buffer, int mode) override;
    void UnlockIndexBuffer(vbuffer_t_opaque* buffer) override;
    void ReleaseIndexBuffer(vbuffer_t_opaque* buffer) override;
    void Draw(int prim, vbuffer_t_opaque* indices, int index_size, int start, int count,
              const vertex_element* elements, int n_elements, int min_vertex,
              int num_vertices) override;
    void DrawFromMemory(int prim, const void* indices, int index_size, int start, int count,
                        const vertex_element* elements, int n_elements, int min_vertex,
                        int num_vertices) override;
    void DrawLines(const line_vertex* vertices, int count) override;
    void EndPass(int pass) override;
    std::string GetDeviceName() override;
    void ThreadStart() override;
    void ThreadStop() override;

    // 51: the common draw behind Draw and DrawFromMemory.
    virtual void DrawIndexed(int prim, const void* indices, int index_size, int start, int count,
                             const vertex_element* elements, int n_elements, int min_vertex,
                             int num_vertices);
    // 52: the device's GL state, set after every video mode change.
    virtual void InitStates();

    // ---- tasks
    // Runs the task on the render thread and returns when it has run; from the render thread
    // it runs at once. A null task from another thread only wakes a render thread that serves.
    void RunTask(task* t);
    // On the render thread: runs what is posted, and while serving mode is on keeps waiting for
    // and running tasks.
    void ServeTasks();
    // Switches the render thread's keep-serving mode (the scene loader, around a load).
    static void SetTaskServing(int on);

    // ---- helpers for the buffers, the textures and the shading devices
    static DataBuffer* CreateBuffer(bool use, GLenum target, int size, GLenum usage);
    static void SetAnisotropy(GLuint name, int flags, float anisotropy);
    // Loads m (row-major, for row vectors (u, v, 0, 1) with the shift in the last row) as the
    // current unit's texture matrix. A flipped texture (rows stored top first) gets v turned
    // into 1 - v after m, so an animated offset moves the picture the same way for every file.
    void LoadTextureMatrix(const float* m, bool flipped);
    // Loads the view (which = 1) or the model-view matrix into GL unless it is loaded already.
    void LoadModelView(int which);
    // The model transform (12 floats): model-view = view x model, loaded before the next draw.
    void SetModel(const float* m);
    bool OnRenderThread() const;

    int use_vbo = 1;
    int use_fbo = 1;
    int texcoord_unit[16];
    int depth_bits = 0;
    int colour_bits = 0;
    // The main GL context (GLXContext) and its X display, taken at the video mode change;
    // kept untyped so that X11's macros stay out of this header.
    void* mainctx = nullptr;
    void* display = nullptr;
    int width = -1, height = -1, mode = vm_resizable;
    std::wstring title;
    float anisotropy = 4.0f;
    int no_vertex_colour = 0;
    float view[12];
    float model[12];
    float modelview[12];
    int loaded_matrix = 0;  // 0 none, 1 view, 2 modelview
    // Enables, texture unit, depth mask, matrices and materials as last set: unchanged state is
    // not set again. Reset by InitStates.
    GLStateCache gl_state;
    target_record* current_target = nullptr;
    target_record* screen_target = nullptr;

protected:
    unsigned long render_thread;
    // DrawIndexed's parts: one vertex array pointed at its data and enabled; the triangles.
    void setArray(const vertex_element& element, bool multitexture);
    void drawTriangles(const void* indices, int start, int count);
    std::mutex mutex;
    std::condition_variable task_done;
    std::condition_variable task_posted;
    task* main_thread_task = nullptr;

};

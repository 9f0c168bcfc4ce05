#pragma once

// The render device: the one interface through which the renderer, images, fonts and 3D objects
// reach the graphics hardware. Everything a device creates is handed out as an opaque handle and
// comes back through the device to be used or released; releasing null does nothing.
//
// Sections: handles - small types - the interface (in slot order).

#include <cstdint>
#include <string>

// ---- opaque handles
// Each device derives its own records from these empty types (or, for techniques and
// parameters, casts small integer ids into the pointer). Callers never look inside.
struct texture_t_opaque {};   // a texture or a depth renderbuffer
struct target_t_opaque {};    // a render target (framebuffer with attachments) or the screen
struct vbuffer_t_opaque {};   // a vertex or index buffer
struct technique_t_opaque {}; // a shading technique (an id)
struct parameter_t_opaque {}; // a named shader parameter (an id; null = unknown name)

class Device {
public:
    // ---- small types
    enum fb_binding_t {
        fb_color0 = 0,
        fb_color1 = 1,
        fb_color2 = 2,
        fb_color3 = 3,
        fb_depth = 10,
    };

    // Filled by ReadBackTexture: 0, copied width / texture width, copied height / texture height, 0.
    struct image_bounds {
        float v[4];
    };

    // Primitive kinds: the GL devices draw indexed triangle lists only.
    enum { tri_list = 1 };

    // Lock modes; write-discard lets the old contents be dropped.
    enum { lck_readonly = 0, lck_readwrite = 1, lck_writediscard = 2 };

    // Video modes.
    enum { vm_fullscreen = 0, vm_window = 1, vm_resizable = 2 };

    // Component types of a vertex element.
    enum { vt_float = 0, vt_short = 2, vt_byte = 3 };

    // Usages of a vertex element.
    enum {
        vu_position = 0,
        vu_normal = 1,
        vu_secondary_color = 2,
        vu_texcoord = 3,   // usage_index = texture-coordinate set
        vu_stream_unit7 = 4,
        vu_stream_unit6 = 5,
        vu_color = 6,
    };

    // One attribute stream of a draw. With a buffer, offset counts bytes from the buffer's start;
    // without one (client memory) it is the address of the first vertex's data.
    struct vertex_element {
        vbuffer_t_opaque* buffer;
        uintptr_t offset;
        int stride;      // bytes
        int type;        // vt_*
        int components;  // 1..4
        int usage;       // vu_*
        int usage_index; // texture-coordinate set for vu_texcoord
    };
    static constexpr int max_vertex_elements = 20;

    // A debug line is two of these.
    struct line_vertex {
        float pos[3];
        float color[4];
    };

    // Feature bits (getFeatures). Both GL devices return 41 (bits 0, 3 and 5); the others
    // are tested by callers but set by no device.
    enum {
        feature_tangents = 0x2,          // the scene loader makes tangent streams
        feature_hw_skinning = 0x4,       // the device blends skinned vertices itself
        feature_bounding_params = 0x40,  // techniques take bounding-volume parameters
        feature_pixel_read = 0x80,       // single texels can be read back
        feature_any_target_size = 0x200, // render targets need not be powers of two
    };

    // ---- the interface, in slot order
    // Threads: "render" = the render thread (or, for create/fill/release operations, a worker
    // thread after ThreadStart); "any" = any thread.

    // 0 (render) open or change the window's video mode (vm_*), store the window title.
    virtual void SetVideoMode(int mode, int* width, int* height, const std::wstring& title) = 0;
    // 1 (any) whether SDL offers the mode at 32 bits a pixel.
    virtual bool IsVideoModeOK(int windowed, int width, int height) = 0;
    // 2 (render) load extensions and the image library; false when the device cannot work here.
    virtual bool Init() = 0;
    // 3 (render) clear the current target, then serve pending render-thread tasks.
    virtual void Clear(float r, float g, float b, bool colour, bool depth) = 0;
    // 4 (render) show the finished frame.
    virtual void Present() = 0;
    // 5 (render) viewport of the current target.
    virtual void Viewport(int x, int y, int width, int height) = 0;
    // 6 (any) width / height of the screen.
    virtual float GetAspect() = 0;
    // 7 (render) camera matrices: projection 4x4 (16 floats, row-major), view 4x3 (12 floats,
    // three rows of four, the translation in the fourth column).
    virtual void SetMatrix(const float* projection, const float* view) = 0;
    // 8 (render) make a target current; null = the screen.
    virtual void SetTarget(target_t_opaque* target) = 0;
    // 9 (any) size of a target; null = the screen.
    virtual void GetTargetSize(target_t_opaque* target, int* width, int* height) = 0;
    // 10 (render) a render target over four colour textures (entries may be null) and a depth
    // texture or renderbuffer.
    virtual target_t_opaque* CreateFramebuffer(int width, int height, texture_t_opaque** colour,
                                               texture_t_opaque* depth);
    // 11 (any) an attachment of a target.
    virtual texture_t_opaque* GetFramebufferTexture(target_t_opaque* target, fb_binding_t binding);
    // 12 (render) free a target; its textures stay.
    virtual void ReleaseFramebuffer(target_t_opaque* target);
    // 13 (any) decode and upload a texture file held in memory; null when it cannot be read.
    virtual texture_t_opaque* LoadTexture(const void* bytes, int size, int no_mipmaps) = 0;
    // 14 no meaning; kept for the slot order.
    virtual void* ReservedOp14() = 0;
    // 15 (render) a texture from raw pixels (may be null), refilling `reuse` when given.
    virtual texture_t_opaque* CreateTexture(int format, int width, int height, const void* pixels,
                                            int no_mipmaps, texture_t_opaque* reuse) = 0;
    // 16 no meaning; kept for the slot order.
    virtual void* ReservedOp16() = 0;
    // 17 (any) size of a texture; each out-pointer may be null.
    virtual void GetTextureInfo(texture_t_opaque* texture, int* width, int* height, int* depth) = 0;
    // 18 (render) free a texture.
    virtual void ReleaseTexture(texture_t_opaque* texture) = 0;
    // 19 (render) read a texture back as width x height x 4 RGBA bytes.
    virtual void GetTexturePixels(texture_t_opaque* texture, void* out) = 0;
    // 20 (any) one pixel; every device keeps this body, which returns 0.
    virtual int GetTexturePixel(texture_t_opaque* texture, int x, int y);
    // 21 (render) copy a rectangle of the current target into a texture.
    virtual void ReadBackTexture(texture_t_opaque* texture, int x, int y, int width, int height,
                                 bool halfsize, image_bounds* bounds);
    // 22..29 (any) vertex and index buffers.
    virtual vbuffer_t_opaque* CreateVertexBuffer(int bytes, bool dynamic) = 0;
    virtual vbuffer_t_opaque* CreateIndexBuffer(int bytes, bool dynamic) = 0;
    virtual void* LockVertexBuffer(vbuffer_t_opaque* buffer, int mode) = 0;
    virtual void UnlockVertexBuffer(vbuffer_t_opaque* buffer) = 0;
    virtual void ReleaseVertexBuffer(vbuffer_t_opaque* buffer) = 0;
    virtual void* LockIndexBuffer(vbuffer_t_opaque* buffer, int mode) = 0;
    virtual void UnlockIndexBuffer(vbuffer_t_opaque* buffer) = 0;
    virtual void ReleaseIndexBuffer(vbuffer_t_opaque* buffer) = 0;
    // 30 (render) indexed draw from buffers. index_size is in bits; start and the vertex range
    // (min_vertex, num_vertices) are not used by the GL devices.
    virtual void Draw(int prim, vbuffer_t_opaque* indices, int index_size, int start, int count,
                      const vertex_element* elements, int n_elements, int min_vertex,
                      int num_vertices) = 0;
    // 31 (render) indexed draw with indices (and unbuffered elements) in client memory.
    virtual void DrawFromMemory(int prim, const void* indices, int index_size, int start, int count,
                                const vertex_element* elements, int n_elements, int min_vertex,
                                int num_vertices) = 0;
    // 32 (render) debug lines in world space: 2 x count vertices.
    virtual void DrawLines(const line_vertex* vertices, int count) = 0;
    // 33 (render) material feature switches: null-terminated names, one int per name.
    virtual int SetShaderFlags(const char* const* names, const int* values) = 0;
    // 34 (render) technique by name; flags is the result of SetShaderFlags.
    virtual technique_t_opaque* GetTechnique(int flags, const char* name) = 0;
    // 35..39 (render) techniques and passes; pass ids, 0 = none / no more.
    virtual void ReleaseTechnique(technique_t_opaque* technique) = 0;
    virtual int GetFirstPass(technique_t_opaque* technique) = 0;
    virtual int GetNextPass(int pass) = 0;
    virtual void BeginPass(int pass) = 0;
    virtual void EndPass(int pass) = 0;
    // 40..43 (render) parameters by name; null for a name the device does not know, and a null
    // parameter is ignored when set.
    virtual parameter_t_opaque* GetParameter(const char* name) = 0;
    virtual void SetParam(parameter_t_opaque* param, const float* values) = 0;
    virtual void SetParamFloatArray(parameter_t_opaque* param, const float* values, int floats_each,
                                    int count) = 0;
    virtual void SetParamTexture(parameter_t_opaque* param, texture_t_opaque* texture) = 0;
    // 44 (render) "vendor renderer".
    virtual std::string GetDeviceName() = 0;
    // 45 (any) feature bits (feature_*).
    virtual int getFeatures() = 0;
    // 46, 47
    virtual ~Device();
    // 48 (any) widen `count` indices from `first` into ints (when out is not null); returns the
    // triangle count, 0 for a primitive other than tri_list.
    virtual int ReadIndices(int prim, vbuffer_t_opaque* indices, int index_size, int first,
                            int count, int* out);
    // 49, 50 (any) make the device usable on the calling worker thread, and undo it.
    virtual void ThreadStart();
    virtual void ThreadStop();
};

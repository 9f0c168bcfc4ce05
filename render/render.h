#pragma once

// The frame renderer. Each frame is begin, then any number of queueing calls (3D objects, 2D
// images and text), then end, which runs every pass in a fixed order on per-frame memory,
// presents the frame and clears for the next one. The game reaches it through CRender.
//
// Sections: 2D draw record - the renderer (set-up, frame, queueing, passes).

#include "core/VectorMath.h"
#include "render/device.h"
#include "render/linear_allocator.h"

#include <atomic>
#include <vector>

class Image;
class Object;
struct RenderArgs3D;

// One queued 2D draw. Vertices (5 floats a vertex: x, y, z, u, v; four a quad) map through
// the transform, three rows of four; without custom vertices the unit quad is drawn.
struct RenderArgs2D {
    Image* image = nullptr;  // pinned by the code that queues it, unpinned by the pass
    float transform[12] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0};
    int blend = 1;
    float color[4] = {1, 1, 1, 1};
    const float* vertices = nullptr;  // frame allocator memory, or null for the unit quad
    int n_quads = 0;
};

// 2D blends, the value of RenderArgs2D::blend.
enum {
    blend_fill = 0,       // "main2d_fill"
    blend_main = 1,       // "main2d"
    blend_add = 2,        // "main2d_add", texture in "selfillum"
    blend_mul = 3,        // "main2d_mul"
    blend_mul2 = 4,       // "main2d_mul2"
    blend_composite = 5,  // "main2d_composite"
};

class Render {
public:
    // Prints "RENDER PARAMETERS: %s" with the options; the device comes later through init.
    explicit Render(const char* options);
    ~Render();
    Render(const Render&) = delete;
    Render& operator=(const Render&) = delete;

    // ---- set-up
    // Makes the device, opens the window in the SDL layer's mode, size and title, and takes
    // the device (init). "NOARB" in the options picks the fixed-function device; the
    // programmable one falls back to it when it cannot work here.
    void create_device(const char* options, const char* shader_folder);
    // Takes the device and looks up every technique and parameter handle once.
    void init(Device* device);
    static void set_current(Render* render);
    static Render* current();
    Device* getDevice() const { return device; }
    linear_allocator& allocator() { return frameAllocator; }
    void ThreadStart();
    void ThreadStop();

    // ---- frame
    // target: an image made as a render target, or null for the screen; an aspect of 0 takes
    // the target's own. The 2D canvas keeps aspect2d and is centred on the target.
    void begin(Image* target, float aspect, float aspect2d);
    void end(bool clear_colour, bool clear_depth, bool present);
    bool was_render_started() const { return started; }
    float get_aspect() const { return aspect; }
    float get_aspect2d() const { return aspect2d; }

    // ---- queueing, between begin and end
    // Camera of the 3D pass: vertical field of view in degrees; an aspect of 0 takes the
    // frame's. A NaN eye leaves the camera as it was.
    void set_camera(float3 eye, float3 target, float3 up, float fov, float aspect);
    void add_2d(const RenderArgs2D& args);
    // Queues a 3D object's draw (from Object::draw, which has pinned it); the 3D pass of the
    // frame unpins it.
    void build_object_args(const RenderArgs3D& args);

private:
    // ---- 3D side
    void compute_frustum(float4 planes[6], const float4x4& projection, const float4x4& view) const;
    void check_meshes();
    void render_shadow_maps();
    void pass_3d();

    // ---- 2D side
    void pass_2d();
    void flush_2d();
    void draw_single_2d(const RenderArgs2D& item);
    void draw_batch_2d(Image* image, const float* vertices, int n_quads, int blend);
    technique_t_opaque* bind_2d_blend(Image* image, int blend);
    void draw_quads(technique_t_opaque* technique, const float* vertices, int n_quads,
                    bool with_colour);

    // ---- fields
    linear_allocator frameAllocator;
    std::vector<RenderArgs2D> list2d;
    std::vector<Object*> objects;  // queued this frame, unpinned by the 3D pass
    float3 cameraPos;
    float4x4 projection;
    float4x4 view;
    float4x4 screenMatrix;  // view-projection mapped to texture space
    float4x3 cameraWorld;   // inverse of the view
    float4 frustum[6];

    Device* device = nullptr;
    Device* ownDevice = nullptr;  // made by create_device, deleted with the renderer
    // fill, main2d, add, composite, mul, mul2, add_blur_x, add_blur_y, exp
    technique_t_opaque* techniques2d[9] = {};

    struct Parameters {
        parameter_t_opaque* diffuse = nullptr;
        parameter_t_opaque* lightmap = nullptr;
        parameter_t_opaque* normalmap = nullptr;
        parameter_t_opaque* specular = nullptr;
        parameter_t_opaque* selfillum = nullptr;
        parameter_t_opaque* envmap = nullptr;
        parameter_t_opaque* envmask = nullptr;
        parameter_t_opaque* dudv = nullptr;
        parameter_t_opaque* color_diffuse = nullptr;
        parameter_t_opaque* color_ambient = nullptr;
        parameter_t_opaque* color_specular = nullptr;
        parameter_t_opaque* specular_power = nullptr;
        parameter_t_opaque* specular_level = nullptr;
        parameter_t_opaque* texture_matrix_dif = nullptr;
        parameter_t_opaque* texture_matrix_light = nullptr;
        parameter_t_opaque* texture_matrix_self = nullptr;
        parameter_t_opaque* texture_matrix_dudv = nullptr;
        parameter_t_opaque* global_ambient = nullptr;
        parameter_t_opaque* fog = nullptr;
        parameter_t_opaque* fog_color = nullptr;
        parameter_t_opaque* WSeyepos = nullptr;
        parameter_t_opaque* model_matrix = nullptr;
        parameter_t_opaque* bones = nullptr;
        parameter_t_opaque* color = nullptr;
        parameter_t_opaque* bounding_sphere_os = nullptr;
        parameter_t_opaque* bounding_box_os0 = nullptr;
        parameter_t_opaque* bounding_box_os1 = nullptr;
        parameter_t_opaque* texture_matrix_screenspace = nullptr;
        parameter_t_opaque* screen_background = nullptr;
        parameter_t_opaque* object_id = nullptr;
    } params;

    texture_t_opaque* screenBackground = nullptr;
    Device::image_bounds screenBounds = {};
    int screenGrabs = 0;
    int maxScreenGrabs = 2;

    struct LightSlot {
        int active = 0, shadow = 0, projector = 0;
        float position[3] = {0, 0, 0};
        float ambient[4] = {0, 0, 0, 1};
        float diffuse[4] = {0, 0, 0, 1};
        float specular[4] = {0, 0, 0, 1};
        // WSlightpos, light_ambient, light_diffuse, light_specular, decay_equation,
        // light_projective, shadowmap, projector
        parameter_t_opaque* handles[8] = {};
    } lightSlots[4];

    bool started = false;
    target_t_opaque* currentTarget = nullptr;  // null = the screen
    float aspect = 1.3333f;
    float aspect2d = 1.3333f;

    float globalAmbient[4] = {0, 0, 0, 1};
    float fogParams[4] = {-1, 0, 0, 0};
    float fogColor[3] = {0, 0, 0};
    int fogState = 0;
    int lightSetCache[4] = {-2, -2, -2, -2};
    const void* lastMaterial = nullptr;
    int subDrawCounter = 0;

    // Scratch arrays of the 2D pass, kept between frames.
    std::vector<float> batchVertices;
    std::vector<unsigned> quadIndices;

    static std::atomic<Render*> currentRender;
};

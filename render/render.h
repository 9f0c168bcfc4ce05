#pragma once

// The frame renderer. Each frame is begin, then any number of queueing calls (3D objects, 2D
// images and text), then end, which runs every pass in a fixed order on per-frame memory,
// presents the frame and clears for the next one. The game reaches it through CRender.
//
// 3D: each Object::draw hands its record to build_object_args, which keeps the lights of the
// drawn nodes for the frame and one sub-draw per mesh part (opaque or see-through list). end
// draws the shadow map of every shadow-casting light, then the opaque parts sorted by material
// and the see-through ones far to near, each culled against the camera and lit by at most
// four of the frame's lights (one default light at the camera when the frame has none).
//
// Sections: draw records - the renderer (set-up, frame, queueing, passes).

#include "core/VectorMath.h"
#include "render/device.h"
#include "render/linear_allocator.h"
#include "render/object.h"

#include <atomic>
#include <cstdint>
#include <vector>

class Image;

// A texture that replaces one map of a material in one sub-draw: key a * 256 + b of the draw's
// "slot_<a>_<b>" text (256 diffuse, 512 lightmap, 771 envmask, 1024 specular, 1280 selfillum,
// 2049 normal map, 2304 environment map).
struct TextureOverride {
    int key;
    texture_t_opaque* texture;
};

// One mesh part queued for drawing.
struct RenderArgs3Dsub {
    Object* object;
    float4x3 model;         // mesh space to world space
    const char* technique;  // "main", "add", "alpha1", "alpha1add", "alpha8" or "alpha8add"
    float4 color;           // r, g, b, a
    float sort_key;         // squared distance from the camera (see-through list)
    const float4x3* bones;  // skinning matrices (frame allocator) or null
    int mesh;
    int part;
    float time;             // animation time, for animated textures
    int n_mixer;
    const TextureOverride* mixers;  // frame allocator
    const Object::Material* material;
    float3 center;          // world bounding sphere
    float radius;
    int sequence;           // the renderer's sub-draw number; "object_id" in the shadow map
};

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
    // Queues a drawn object (pinned by Object::draw; the 3D pass unpins it): its lights for the
    // frame (or its fog), and one sub-draw per visible mesh part on the layers the mask shows.
    void build_object_args(const RenderArgs3D& args);
    void add_2d(const RenderArgs2D& args);

    // One light of the frame.
    struct light_instance {
        int id;              // position in the frame's light list
        Object* object;
        float4x3 world;      // the light's position is the fourth column
        float decay[4];      // c0, c1, c2, range
        float3 ambient, diffuse, specular;
        float3 global_ambient;  // its share of the scene's ambient light
        int shadow;          // casts shadows
        float4x4 projection;
        float4x4 projective; // world space to shadow-map texture space
        texture_t_opaque* shadow_map;
        float intensity;     // sum of the nine colour components
        float weight;        // per sub-draw: intensity over the decay at its distance
    };

    // ---- read by tests
    const std::vector<RenderArgs3Dsub>& opaque_list() const { return opaque; }
    const std::vector<RenderArgs3Dsub>& transparent_list() const { return transparent; }
    const std::vector<light_instance>& light_list() const { return lights; }
    static void compute_frustum(float4 planes[6], const float4x4& projection,
                                const float4x4& view);
    // True when the sphere lies wholly behind one of the planes by more than its radius.
    static bool sphere_outside(const float4 planes[6], const float3& center, float radius);

private:
    // ---- 3D side
    void compute_screen_matrix();
    void check_meshes();
    void render_shadow_maps();
    bool ensure_shadow_map();
    void draw_shadow_caster(RenderArgs3Dsub& sub, const float4 planes[6]);
    void pass_3d();
    void draw_opaque();
    void draw_list(RenderArgs3Dsub& sub, const char* technique);
    void choose_lights(const RenderArgs3Dsub& sub, int set[4]);
    void set_lights(const int set[4], bool unlit);
    void set_material(const RenderArgs3Dsub& sub);
    // Returns the buffer the mesh's skinned streams are drawn from (see Object::apply_skinning).
    vbuffer_t_opaque* skin(RenderArgs3Dsub& sub, Object::Mesh& mesh);
    void draw_part(const Object::Mesh& mesh, const Object::SubMesh& part, const char* technique,
                   const int* flags, vbuffer_t_opaque* skinned);
    void grab_screen_background();
    void ensure_screen_texture(int width, int height);

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
    std::vector<RenderArgs3Dsub> opaque;
    std::vector<RenderArgs3Dsub> transparent;
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
        // 1: a fragment must be nearer than the depth buffer to be drawn; 0: nearer or equal.
        parameter_t_opaque* strict_depth = nullptr;
        // 1: the draws so far go to the device's rasterizer now, before the frame is complete.
        parameter_t_opaque* submit = nullptr;
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

    std::vector<light_instance> lights;
    float globalAmbient[4] = {0, 0, 0, 1};
    float fogParams[4] = {-1, 0, 0, 0};
    float fogColor[3] = {0, 0, 0};
    int fogState = 0;
    int lightSetCache[4] = {-2, -2, -2, -2};
    const void* lastMaterial = nullptr;
    bool strictDepth = false;  // the opaque list is being drawn in reverse ("strict_depth" on)
    int subDrawCounter = 0;

    // The shadow map shared by every shadow-casting light, made on first use.
    texture_t_opaque* shadowTexture = nullptr;
    target_t_opaque* shadowTarget = nullptr;
    bool shadowsUnavailable = false;  // the device makes no render targets ("DISABLE_FBO")
    bool mapBound[8] = {};            // which map samplers the last material filled
    std::vector<int> lightOrder;      // scratch of the light choice

    // Scratch arrays of the 2D pass, kept between frames.
    std::vector<float> batchVertices;
    std::vector<unsigned> quadIndices;

    static std::atomic<Render*> currentRender;
};

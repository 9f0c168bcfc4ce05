#pragma once

// The engine as the game sees it. The facade classes keep the engine's objects in storage of
// fixed size, so the game needs none of the engine's headers; the game entry checks at start
// that the sizes it was built with match the engine's (check_sizes).
//
//   CRender          the frame renderer: begin, end, camera, aspect
//   CRender::Image   a 2D image (texture) drawn into the frame's 2D queue
//   CRender::Font    a bitmap font that draws and measures one line of text
//   CRender::Object  a 3D scene object
//
// Coordinates of 2D drawing are fractions of the 2D canvas, a 4:3 area centred in the window:
// x from 0 (left) to 1 (right), y from 0 (top) to 1 (bottom). Colours are r, g, b, a in 0..1.
// Blends: 0 fill, 1 normal alpha blend, 2 add, 3 multiply, 4 multiply x2, 5 composite.

#include "core/VectorMath.h"

#include <string>

#define SIZEOF_RENDER 1624
#define SIZEOF_OBJECT 352
#define SIZEOF_IMAGE 128
#define SIZEOF_FONT 160

class Device;
class Render;
class Image;
class Object;
// The engine's font class is reached through render/font.h only: X11 headers declare a type
// named Font, so this header declares none.

class CRender {
public:
    class Image;
    class Font;
    class Object;

    // Stops the program with "FIX THIS:" and the right defines when a size differs from the
    // engine's (the game passes SIZEOF_RENDER, SIZEOF_OBJECT, SIZEOF_IMAGE, SIZEOF_FONT).
    static void check_sizes(int render, int object, int image, int font);

    // Builds the renderer and opens the window in the SDL layer's mode and size with its
    // title; the renderer becomes current. options: words found anywhere in the text
    // ("NOARB" picks the fixed-function device, "DISABLE_FBO", "DISABLE_VBO", "ANISO=<n>");
    // shader_folder: empty for the executable's "shaders" folder.
    CRender(const char* options, const char* shader_folder);
    ~CRender();
    CRender(const CRender&) = delete;
    CRender& operator=(const CRender&) = delete;

    // The operations below work on the current renderer and do nothing without one.

    // The current renderer, or null before the engine exists.
    static Render* current();
    // One frame: begin (target image or null for the window, aspect or 0 for the target's,
    // aspect of the 2D canvas), queue drawing, end. end's flags: 1 clear colour, 2 clear
    // depth, 4 present.
    static void begin(Image* target, float aspect, float aspect2d);
    static void end(int flags);
    // The frame's 3D camera (between begin and end); an aspect of 0 takes the frame's.
    static void set_camera(Render* render, float3 eye, float3 target, float3 up, float fov,
                           float aspect);
    // The loader thread calls these around its work.
    static void ThreadStart();
    static void ThreadStop();
    // Width / height of the window.
    static float get_aspect();

private:
    alignas(16) unsigned char storage[SIZEOF_RENDER];
};

class CRender::Image {
public:
    Image();
    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // Loads a picture file (one texture level; a "<name>.flags" file beside it may hold 1 to
    // draw the edge texels fully). True when loaded.
    bool load(const std::string& path);
    // Waits until no queued draw uses the image, then frees its texture.
    void release();
    // Queues the whole image stretched over the rectangle.
    void draw(float x, float y, float w, float h, float r, float g, float b, float a, int blend);
    // Queues the source rectangle sx, sy, sw, sh of the texture (texture coordinates 0..1, v up
    // from the bottom) stretched over the rectangle x, y, w, h.
    void draw_part(float x, float y, float w, float h, float sx, float sy, float sw, float sh,
                   float r, float g, float b, float a, int blend);
    // Queues one quad with four corners of x, y, u, v each.
    void draw_part(const float corners[16], float r, float g, float b, float a, int blend);
    // Texture size in pixels; 0, 0 when not loaded.
    void get_size(int* w, int* h);
    // The texel at column x, row y (rows count from the bottom) as an RGBA word, red in the
    // low byte; read from a copy of the texture kept after the first read.
    unsigned get_pixel(int x, int y);
    // The texel's alpha, 0..255. The position must lie inside the texture.
    int get_alpha(int x, int y);
    // Saves the top-left w x h texels (0 = all) as "PNG", "BMP", "JPG" or "TGA" (null: by the
    // path's extension). True when written.
    bool save(const char* path, int w, int h, const char* format);
    bool is_loaded();

    ::Image* engine() { return reinterpret_cast<::Image*>(storage); }

private:
    alignas(16) unsigned char storage[SIZEOF_IMAGE];
};

class CRender::Font {
public:
    Font();
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;
    friend struct FontAccess;

    // Loads the font picture at path (".png") with its charset file (".ch") beside it, at once.
    bool load(const std::string& path);
    bool is_loaded();
    // Lays the text out on one line from (x, y), glyphs size tall, their widths scaled by
    // wscale; aspect 0 takes the renderer's 2D canvas aspect. With drawFlag non-zero the glyphs
    // are queued in the colour and blend; with 0 the text is only measured. Returns the text's width;
    // characters the font lacks add nothing; a font that is not loaded returns 0.
    float draw(const wchar_t* text, float x, float y, float size, float wscale, float aspect,
               float r, float g, float b, float a, int drawFlag, int blend = 1);
    // Waits until no queued draw uses the font, then frees its texture.
    void release();
    // Frees texture and glyphs.
    void destroy();

private:
    alignas(16) unsigned char storage[SIZEOF_FONT];
};

class CRender::Object {
public:
    // A texture substitution of a draw: in every part drawn with the material of that name,
    // the map of the slot "slot_<a>_<b>" (key a * 256 + b) shows the image instead.
    struct Mixer {
        const char* material;
        const char* slot;
        CRender::Image* image;
    };
    // Another object's animation blended into a draw (same node count).
    struct Blend {
        CRender::Object* source;
        float time;
        float weight;
        const char* node; // null or empty: the whole tree
    };
    // What get_node_info tells of a node.
    struct NodeInfo {
        const char* name;
        const char* user_text;
        int flags; // 1 mesh, 2 camera, 4 bone, 8 light
        int parent;
        int layer;
    };

    Object();
    // Unloads the object.
    ~Object();
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    // Loads a scene file (".3dn"); must not be loaded yet. True when loaded.
    bool load(const std::string& path);
    // Waits until no queued draw uses the object, then frees it.
    void unload();
    bool is_loaded();
    // The object's two load-progress counters (progress, total).
    void get_counts(int* progress, int* total);
    // Animation frames per second and frame count.
    float get_fps();
    int get_frame_count();
    int get_layer_count();

    // Queues the object for this frame at time t (frames), placed by world (object space to
    // world space, three rows of four). mask: '0'/'1' per layer from layer 0, null for all
    // (layers beyond its end are drawn); colour multiplies the draw. Nothing happens while
    // the object is not loaded.
    void draw(const float4x3* world, float t, const Blend* blends, int blend_count,
              const char* mask, const Mixer* mixers, int mixer_count, const float4* colour);
    // draw placed at (x, y, z) and turned by the angles a, b, c (radians) about x, y and z.
    void draw_rotated(float x, float y, float z, float a, float b, float c, float t,
                      const Blend* blends, int blend_count, const char* mask,
                      const Mixer* mixers, int mixer_count, const float4* colour);
    // Node world matrices at t, one per node into out (node -1), or one node's into out[0].
    void animate(float t, const Blend* blends, int blend_count, float4x3* out, int node);

    // Node index by name (case-sensitive), -1 when absent or not loaded; null: the node count.
    int find_node(const char* name);
    // A node's world matrix at time t.
    void get_node_matrix(int node, float t, float4x3* out);
    bool get_node_info(int node, NodeInfo* out);
    // The render's camera from a camera of the scene (null or empty name: the first one).
    void set_camera(Render* render, float t, const char* name);
    // A scene camera's 4x4 matrix and vertical field of view; false when there is none.
    bool get_camera(float t, const char* name, float4x4* matrix, float* fov);
    // World-space geometry of a layer (-1: all) or of one node's mesh at time 0: the counts,
    // then the vertices and triangles (three indices each, from base on).
    void count_geometry(int layer, int* vertices, int* triangles);
    void get_geometry(int layer, float3* vertices, int* triangles, int base);
    void count_node_geometry(int node, int* vertices, int* triangles);
    void get_node_geometry(int node, float3* vertices, int* triangles, int base);

    ::Object* engine() { return reinterpret_cast<::Object*>(storage); }

private:
    alignas(16) unsigned char storage[SIZEOF_OBJECT];
};

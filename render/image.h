#pragma once

// The engine's 2D image: a texture of the current device with its name, loaded from an image
// file, made from pixels or made as a render target; drawn through the renderer's 2D queue,
// read back pixel by pixel (through a small process-wide cache) and saved to a file.
// The game holds it as CRender::Image; fonts keep their glyph sheet in one.

#include "render/device.h"

#include <mutex>
#include <string>
#include <vector>

// Serialises every image-library (DevIL) call; defined with the GL device's textures.
extern std::mutex ilMutex;

// Reads a whole file into bytes (resized to the file's size). An empty path prints
// "Warning: opening null filename", an unopenable file "Warning: can't open %s" (standard
// error); both return false and leave bytes unchanged.
bool LoadFileV(const char* path, std::vector<unsigned char>& bytes);

class Image {
public:
    Image();
    // Releases the texture first (waiting for queued draws).
    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // ---- loading; each asserts "!is_loaded()" where the image must be empty
    // Decodes the file through the device (one level), then reads the ".flags" descriptor
    // beside it: bit 0 drops the half-texel inset. True when loaded.
    bool load(const std::string& path);
    // Decodes the file with the image library, pads it to powers of two with the picture at
    // the lower left and reports the picture's own size. True when loaded.
    bool load_il(const std::string& path, int* width, int* height);
    // A texture from raw pixels (device formats of CreateTexture), refilling this image's
    // texture when it has one. True when made.
    bool create(int format, int width, int height, const void* pixels);
    // An RGBA texture with a depth buffer that frames can be rendered into.
    bool create_target(int width, int height);

    // ---- drawing into the current frame's 2D queue (nothing when not loaded)
    // The whole image stretched over the rectangle x, y, w, h (canvas fractions).
    void draw(float x, float y, float w, float h, const float color[4], int blend);
    // The source rectangle sx, sy, sw, sh (texture coordinates, v up from the bottom).
    void draw_part(float x, float y, float w, float h, float sx, float sy, float sw, float sh,
                   const float color[4], int blend);
    // Four corners of x, y, u, v each, drawn as one quad.
    void draw_transformed(const float corners[16], const float color[4], int blend);

    // ---- reading
    // Texture size (0, 0 when not loaded); with pixels, also its RGBA bytes (rows bottom up).
    void get_size(int* width, int* height, void* pixels = nullptr);
    // The texel as an RGBA word (red in the low byte); 0 when not loaded. Positions count from
    // the bottom-left texel and must lie inside the texture. Reads the texture back each time.
    unsigned get_pixel(int x, int y);
    // The texel's alpha, 0..255 (0 when not loaded), from the read-back cache.
    int get_alpha(int x, int y);
    // Saves the top-left width x height texels (0 = all) as "PNG", "BMP", "JPG" or "TGA"; any
    // other or a null format lets the path's extension choose. True when written.
    bool save(const char* path, int width, int height, const char* format);

    // Waits until no queued draw uses the image, then frees its texture or target.
    void release();
    // Drops the read-back copy (the image's contents are about to change).
    void forget_readback();
    // Under the image's mutex: the loader thread sets the device while others ask.
    bool is_loaded() const;

    // ---- used by the renderer
    // Pins the image for one queued draw; false (and nothing pinned) when not loaded.
    bool pin();
    void unpin();
    // The unit quad of the 2D queue (corners (0,1), (0,0), (1,0), (1,1)) as 5 floats a vertex,
    // with the image's half-texel inset (none for a null image).
    static void unit_quad(const Image* image, float out[20]);

    // ---- fields
    std::string name;
    Device* device = nullptr;  // null: not loaded
    mutable std::mutex mutex;  // guards device, texture and inUse
    int inUse = 0;
    target_t_opaque* target = nullptr;
    texture_t_opaque* texture = nullptr;
    texture_t_opaque* depth = nullptr;
    float halfTexelX = 0;
    float halfTexelY = 0;
    int flags = 0;

private:
    void set_half_texels();
    void queue(const float transform[12], const float color[4], int blend, const float* vertices,
               int n_quads);
};

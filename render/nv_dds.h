#pragma once

// Reader for the DDS subset the engine uses: DXT1/3/5, or uncompressed BGRA (32 bits) and
// BGR (24 bits); 2D and cube-map images with their mipmap chains (volume files are refused,
// the engine draws none). Uncompressed rows are kept padded to 4 bytes. Every declared
// surface is checked against the data length before it is copied, so a truncated or lying
// file is refused with a warning instead of being read past its end.

#include <GL/glew.h>

#include <cstddef>
#include <string>
#include <vector>

namespace nv_dds {

class CSurface {
public:
    CSurface() = default;
    CSurface(int w, int h, int d, int imgsize, const unsigned char* pixels);
    CSurface(const CSurface& other);
    CSurface& operator=(const CSurface& other);
    virtual ~CSurface();

    // Frees old pixels and allocates imgsize new ones (copied from pixels when given).
    void create(int w, int h, int d, int imgsize, const unsigned char* pixels = nullptr);
    void clear();

    int get_width() const { return width; }
    int get_height() const { return height; }
    int get_depth() const { return depth; }
    int get_size() const { return size; }
    unsigned char* get_pixels() const { return pixels; }

    int width = 0;
    int height = 0;
    int depth = 0;
    int size = 0;
    unsigned char* pixels = nullptr;
};

// The base level plus its mipmaps (level 1 onward).
class CTexture : public CSurface {
public:
    CTexture() = default;
    CTexture(int w, int h, int d, int imgsize, const unsigned char* pixels)
        : CSurface(w, h, d, imgsize, pixels)
    {
    }

    void add_mipmap(const CSurface& mipmap) { mipmaps.push_back(mipmap); }
    int get_num_mipmaps() const { return int(mipmaps.size()); }
    const CSurface& get_mipmap(int index) const { return mipmaps[size_t(index)]; }

    std::vector<CSurface> mipmaps;
};

class CDDSImage {
public:
    CDDSImage() = default;

    // Parses a DDS file held in memory; true when the image is valid. flip is not supported
    // (the engine flips texture matrices instead) and is ignored.
    bool load(const unsigned char* data, size_t length, bool flip = false);
    // The same, reading the file (opened "rb"); false when it does not open.
    bool load(const std::string& filename, bool flip = false);
    void clear();

    // Uploads into the bound texture. upload_2d takes GL_TEXTURE_2D or a cube-map face.
    bool upload_2d(int imageIndex = 0, GLenum target = GL_TEXTURE_2D);
    bool upload_cubemap();
    bool upload_1d();
    bool upload_3d();
    bool upload_rect();

    int get_width(int index = 0) const;
    int get_height(int index = 0) const;
    int get_depth(int index = 0) const;
    int get_size(int index = 0) const;
    const unsigned char* get_pixels(int index = 0) const;
    int get_num_mipmaps(int index = 0) const;
    const CTexture& get_image(int index) const;
    int get_num_images() const { return int(images.size()); }

    GLenum get_format() const { return format; }
    int get_components() const { return components; }
    bool is_compressed() const { return compressed; }
    bool is_cubemap() const { return cubemap; }
    bool is_volume() const { return volume; }
    bool is_valid() const { return valid; }

    // Bytes of one level of w x h texels (one slice) as stored in the file.
    static int size_dxtc(int w, int h, GLenum fmt);
    static int size_rgb(int w, int h, int comps);

    GLenum format = 0;
    int components = 0;
    bool compressed = false;
    bool cubemap = false;
    bool volume = false;
    bool valid = false;
    std::vector<CTexture> images;

private:
    // Size of the level as stored in the file (uncompressed rows unpadded).
    long long stored_size(int w, int h, int d) const;
    void read_level(CSurface& out, const unsigned char* src, int w, int h, int d);
};

} // namespace nv_dds

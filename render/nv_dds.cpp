// DDS reader. Sections: surfaces - loading - uploads - accessors.

#include "render/nv_dds.h"

#include "core/Assert.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace nv_dds {

namespace {

const uint32_t kDdsMagic = 0x20534444;  // "DDS "
const uint32_t kFourCC = 0x4;
const uint32_t kRgb = 0x40;
const uint32_t kRgba = 0x41;
const uint32_t kCubemap = 0x200;
const uint32_t kVolume = 0x200000;
const int kMaxSide = 16384;

uint32_t word(const unsigned char* p, int index)
{
    p += index * 4;
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint32_t fourcc(const char* s)
{
    return uint32_t(uint8_t(s[0])) | uint32_t(uint8_t(s[1])) << 8 | uint32_t(uint8_t(s[2])) << 16 |
           uint32_t(uint8_t(s[3])) << 24;
}

bool refuse(const char* why)
{
    std::fprintf(stderr, "Warning: DDS data refused: %s\n", why);
    return false;
}

} // namespace

// ---- surfaces

CSurface::CSurface(int w, int h, int d, int imgsize, const unsigned char* src)
{
    create(w, h, d, imgsize, src);
}

CSurface::CSurface(const CSurface& other)
{
    create(other.width, other.height, other.depth, other.size, other.pixels);
}

CSurface& CSurface::operator=(const CSurface& other)
{
    if (this != &other)
        create(other.width, other.height, other.depth, other.size, other.pixels);
    return *this;
}

CSurface::~CSurface()
{
    clear();
}

void CSurface::create(int w, int h, int d, int imgsize, const unsigned char* src)
{
    clear();
    width = w;
    height = h;
    depth = d;
    size = imgsize;
    if (imgsize > 0) {
        pixels = new unsigned char[size_t(imgsize)]();  // row padding reads as zero
        if (src)
            std::memcpy(pixels, src, size_t(imgsize));
    }
}

void CSurface::clear()
{
    delete[] pixels;
    pixels = nullptr;
}

// ---- loading

void CDDSImage::clear()
{
    format = 0;
    components = 0;
    compressed = false;
    cubemap = false;
    volume = false;
    valid = false;
    images.clear();
}

int CDDSImage::size_dxtc(int w, int h, GLenum fmt)
{
    int block = fmt == GL_COMPRESSED_RGBA_S3TC_DXT1_EXT ? 8 : 16;
    return ((w + 3) / 4) * ((h + 3) / 4) * block;
}

int CDDSImage::size_rgb(int w, int h, int comps)
{
    return w * h * comps;
}

long long CDDSImage::stored_size(int w, int h, int d) const
{
    if (compressed)
        return (long long)size_dxtc(w, h, format) * d;
    return (long long)size_rgb(w, h, components) * d;
}

// Copies one level; uncompressed rows are padded to 4-byte strides so every level uploads
// with GL's default unpack alignment.
void CDDSImage::read_level(CSurface& out, const unsigned char* src, int w, int h, int d)
{
    if (compressed) {
        out.create(w, h, d, size_dxtc(w, h, format) * d, src);
        return;
    }
    const int row = w * components;
    const int padded = (row + 3) & ~3;
    out.create(w, h, d, padded * h * d);
    for (int r = 0; r < h * d; ++r)
        std::memcpy(out.pixels + size_t(r) * size_t(padded), src + size_t(r) * size_t(row),
                    size_t(row));
}

bool CDDSImage::load(const unsigned char* data, size_t length, bool)
{
    clear();
    if (!data || length < 128)
        return false;
    if (word(data, 0) != kDdsMagic)
        return false;
    const unsigned char* header = data + 4;
    const uint32_t height0 = word(header, 2);
    const uint32_t width0 = word(header, 3);
    const uint32_t depthField = word(header, 5);
    const uint32_t mipCount = word(header, 6);
    const uint32_t pfFlags = word(header, 19);
    const uint32_t pfFourCC = word(header, 20);
    const uint32_t pfBits = word(header, 21);
    const uint32_t caps2 = word(header, 27);

    cubemap = (caps2 & kCubemap) != 0;
    volume = (caps2 & kVolume) != 0 && depthField != 0;
    // The engine draws no volume textures: its 2D upload would be given the volume's size.
    if (volume) {
        clear();
        return refuse("volume textures are not used");
    }

    if (pfFlags & kFourCC) {
        if (pfFourCC == fourcc("DXT1")) {
            format = GL_COMPRESSED_RGBA_S3TC_DXT1_EXT;
            components = 3;
        } else if (pfFourCC == fourcc("DXT3")) {
            format = GL_COMPRESSED_RGBA_S3TC_DXT3_EXT;
            components = 4;
        } else if (pfFourCC == fourcc("DXT5")) {
            format = GL_COMPRESSED_RGBA_S3TC_DXT5_EXT;
            components = 4;
        } else {
            clear();
            return false;
        }
        compressed = true;
    } else if ((pfFlags == kRgba || pfFlags == kRgb) && pfBits == 32) {
        format = GL_BGRA_EXT;
        components = 4;
    } else if (pfFlags == kRgb && pfBits == 24) {
        format = GL_BGR_EXT;
        components = 3;
    } else {
        clear();
        return false;
    }

    if (width0 < 1 || height0 < 1 || width0 > uint32_t(kMaxSide) || height0 > uint32_t(kMaxSide)) {
        clear();
        return refuse("bad size");
    }
    int depth0 = depthField < 1 ? 1 : int(std::min<uint32_t>(depthField, kMaxSide));
    if (!volume)
        depth0 = 1;

    // The chain stops at the 1x1(x1) level: further levels are not valid for GL.
    int chain = 1;
    for (int w = int(width0), h = int(height0), d = depth0; w > 1 || h > 1 || (volume && d > 1);
         ++chain) {
        w = std::max(w / 2, 1);
        h = std::max(h / 2, 1);
        d = std::max(d / 2, 1);
    }
    const int levels = std::max(1, std::min(int(mipCount), chain));

    const int faces = cubemap ? 6 : 1;
    // Check the whole image against the data before allocating anything.
    long long total = 0;
    for (int face = 0; face < faces; ++face) {
        int w = int(width0), h = int(height0), d = depth0;
        for (int level = 0; level < levels; ++level) {
            total += stored_size(w, h, d);
            w = std::max(w / 2, 1);
            h = std::max(h / 2, 1);
            d = std::max(d / 2, 1);
        }
    }
    if (total > (long long)(length - 128)) {
        clear();
        return refuse("the file is shorter than its surfaces");
    }

    const unsigned char* p = data + 128;
    for (int face = 0; face < faces; ++face) {
        int w = int(width0), h = int(height0), d = depth0;
        CTexture image;
        read_level(image, p, w, h, d);
        p += stored_size(w, h, d);
        for (int level = 1; level < levels; ++level) {
            w = std::max(w / 2, 1);
            h = std::max(h / 2, 1);
            d = std::max(d / 2, 1);
            CSurface mip;
            read_level(mip, p, w, h, d);
            p += stored_size(w, h, d);
            image.add_mipmap(mip);
        }
        images.push_back(image);
    }
    valid = true;
    return true;
}

bool CDDSImage::load(const std::string& filename, bool flip)
{
    clear();
    FILE* f = std::fopen(filename.c_str(), "rb");
    if (!f)
        return false;
    std::vector<unsigned char> bytes;
    unsigned char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(f);
    return load(bytes.data(), bytes.size(), flip);
}

// ---- uploads

namespace {

// Uncompressed levels hold rows padded to 4 bytes: upload them with that unpack alignment,
// whatever another library left set, and restore it afterwards.
class UnpackAlignment4 {
public:
    UnpackAlignment4()
    {
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &previous_);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    }
    ~UnpackAlignment4() { glPixelStorei(GL_UNPACK_ALIGNMENT, previous_); }

private:
    GLint previous_ = 4;
};

} // namespace

bool CDDSImage::upload_2d(int imageIndex, GLenum target)
{
    UnpackAlignment4 alignment;
    PP_ASSERT(valid);
    PP_ASSERT(imageIndex >= 0);
    PP_ASSERT(imageIndex < (int)images.size());
    const CTexture& image = images[size_t(imageIndex)];
    PP_ASSERT(image.get_height() > 0);
    PP_ASSERT(image.get_width() > 0);
    PP_ASSERT(image.get_pixels() != nullptr);
    PP_ASSERT(target == GL_TEXTURE_2D || (target >= GL_TEXTURE_CUBE_MAP_POSITIVE_X_ARB &&
                                          target <= GL_TEXTURE_CUBE_MAP_NEGATIVE_Z_ARB));
    auto put = [&](int level, const CSurface& s) {
        if (compressed)
            glCompressedTexImage2DARB(target, level, format, s.width, s.height, 0, s.size,
                                      s.pixels);
        else
            glTexImage2D(target, level, components, s.width, s.height, 0, format,
                         GL_UNSIGNED_BYTE, s.pixels);
    };
    put(0, image);
    for (int i = 0; i < image.get_num_mipmaps(); ++i)
        put(i + 1, image.get_mipmap(i));
    return true;
}

bool CDDSImage::upload_cubemap()
{
    PP_ASSERT(valid);
    PP_ASSERT(cubemap);
    PP_ASSERT(images.size() == 6);
    for (int n = 0; n < 6; ++n)
        upload_2d(n, GLenum(GL_TEXTURE_CUBE_MAP_POSITIVE_X_ARB + n));
    return true;
}

bool CDDSImage::upload_1d()
{
    UnpackAlignment4 alignment;
    PP_ASSERT(valid);
    PP_ASSERT(!images.empty());
    PP_ASSERT(images[0].height == 1);
    const CTexture& image = images[0];
    auto put = [&](int level, const CSurface& s) {
        if (compressed)
            glCompressedTexImage1DARB(GL_TEXTURE_1D, level, format, s.width, 0, s.size, s.pixels);
        else
            glTexImage1D(GL_TEXTURE_1D, level, components, s.width, 0, format, GL_UNSIGNED_BYTE,
                         s.pixels);
    };
    put(0, image);
    for (int i = 0; i < image.get_num_mipmaps(); ++i)
        put(i + 1, image.get_mipmap(i));
    return true;
}

bool CDDSImage::upload_3d()
{
    UnpackAlignment4 alignment;
    PP_ASSERT(valid);
    PP_ASSERT(volume);
    PP_ASSERT(!images.empty());
    PP_ASSERT(images[0].depth >= 1);
    const CTexture& image = images[0];
    auto put = [&](int level, const CSurface& s) {
        if (compressed)
            glCompressedTexImage3DARB(GL_TEXTURE_3D, level, format, s.width, s.height, s.depth, 0,
                                      s.size, s.pixels);
        else
            glTexImage3D(GL_TEXTURE_3D, level, components, s.width, s.height, s.depth, 0, format,
                         GL_UNSIGNED_BYTE, s.pixels);
    };
    put(0, image);
    for (int i = 0; i < image.get_num_mipmaps(); ++i)
        put(i + 1, image.get_mipmap(i));
    return true;
}

bool CDDSImage::upload_rect()
{
    UnpackAlignment4 alignment;
    PP_ASSERT(valid);
    PP_ASSERT(!images.empty());
    const CTexture& image = images[0];
    if (compressed)
        glCompressedTexImage2DARB(GL_TEXTURE_RECTANGLE_ARB, 0, format, image.width, image.height, 0,
                                  image.size, image.pixels);
    else
        glTexImage2D(GL_TEXTURE_RECTANGLE_ARB, 0, components, image.width, image.height, 0, format,
                     GL_UNSIGNED_BYTE, image.pixels);
    return true;
}

// ---- accessors

const CTexture& CDDSImage::get_image(int index) const
{
    PP_ASSERT(valid);
    PP_ASSERT(index < (int)images.size());
    return images[size_t(index)];
}

int CDDSImage::get_width(int index) const { return get_image(index).width; }
int CDDSImage::get_height(int index) const { return get_image(index).height; }
int CDDSImage::get_depth(int index) const { return get_image(index).depth; }
int CDDSImage::get_size(int index) const { return get_image(index).size; }
const unsigned char* CDDSImage::get_pixels(int index) const { return get_image(index).pixels; }
int CDDSImage::get_num_mipmaps(int index) const { return get_image(index).get_num_mipmaps(); }

} // namespace nv_dds

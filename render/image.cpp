#include "render/image.h"

#include "core/Assert.h"
#include "core/platform.h"
#include "render/device_gl.h"
#include "render/picture_check.h"
#include "render/render.h"

#include <IL/il.h>
#include <IL/ilu.h>

#include <cstdio>
#include <cstring>

// Sections: whole-file reader - read-back cache - loading - drawing - reading and saving -
// release.

// ---- whole-file reader

bool LoadFileV(const char* path, std::vector<unsigned char>& bytes)
{
    if (!path || !*path) {
        std::fprintf(stderr, "Warning: opening null filename\n");
        return false;
    }
    FILE* f = std::fopen(path, "rb");
    if (!f) {
        std::fprintf(stderr, "Warning: can't open %s\n", path);
        return false;
    }
    std::vector<unsigned char> data;
    unsigned char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        data.insert(data.end(), buffer, buffer + n);
    bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) {
        std::fprintf(stderr, "Warning: can't open %s\n", path);
        return false;
    }
    bytes.swap(data);
    return true;
}

// ---- read-back cache: the alpha of five whole textures, shared by all images, oldest
// replaced first. Hit tests read the same few images' alpha again and again; each is read from
// the GPU once, and only its alpha (a byte a texel) is kept.

namespace {

struct ReadBackSlot {
    std::vector<unsigned char> alpha;  // row by row, bottom row first, like the texture
    const Image* owner = nullptr;
    int age = 0;
};

const int kReadBackSlots = 5;
ReadBackSlot readBack[kReadBackSlots];
// The loader thread frees slots when it loads an image while the main thread reads pixels.
std::mutex readBackMutex;

void free_slot(const Image* image)
{
    std::lock_guard<std::mutex> lock(readBackMutex);
    for (ReadBackSlot& slot : readBack)
        if (slot.owner == image) {
            slot.owner = nullptr;
            slot.age = 1000;
        }
}

int next_power_of_two(int v)
{
    int p = 1;
    while (p < v)
        p *= 2;
    return p;
}

}  // namespace

// ---- loading

Image::Image() : name("") {}

Image::~Image()
{
    release();
    free_slot(this);
}

void Image::set_half_texels()
{
    int w = 0, h = 0;
    device->GetTextureInfo(texture, &w, &h, nullptr);
    halfTexelX = w > 0 ? 0.5f / float(w) : 0.0f;
    halfTexelY = h > 0 ? 0.5f / float(h) : 0.0f;
}

bool Image::is_loaded() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return device != nullptr;
}

bool Image::load(const std::string& path)
{
    PP_ASSERT(!is_loaded());
    free_slot(this);
    name = path;
    Render* render = Render::current();
    if (!render || !render->getDevice())
        return false;
    Device* dev = render->getDevice();
    std::vector<unsigned char> bytes;
    if (!LoadFileV(path.c_str(), bytes))
        return false;
    if (bytes.empty()) {
        std::fprintf(stderr, "Warning: picture %s is empty; it is not loaded\n", path.c_str());
        return false;
    }
    current_texture_name = path.c_str();
    texture_t_opaque* tex = dev->LoadTexture(bytes.data(), int(bytes.size()), 1);
    current_texture_name = "<unknown>";
    if (!tex)  // the device has said why, naming the file
        return false;

    // The descriptor "<path up to its last '.'>flags"; the dot must be in the file name itself,
    // not in a folder name.
    int descriptorFlags = 0;
    size_t slash = path.find_last_of('/');
    size_t dot = path.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
        std::string descriptor = path.substr(0, dot + 1) + "flags";
        if (FILE* f = std::fopen(descriptor.c_str(), "rb")) {
            if (std::fscanf(f, "%d", &descriptorFlags) != 1)
                descriptorFlags = 0;
            std::fclose(f);
        }
    }
    std::lock_guard<std::mutex> lock(mutex);
    texture = tex;
    device = dev;
    set_half_texels();
    flags = descriptorFlags;
    if (flags & 1)
        halfTexelX = halfTexelY = 0;
    return true;
}

bool Image::load_il(const std::string& path, int* width, int* height)
{
    PP_ASSERT(!is_loaded());
    free_slot(this);
    Render* render = Render::current();
    if (!render || !render->getDevice())
        return false;
    if (!picture_file_ok(path))
        return false;
    std::vector<unsigned char> pixels;
    int w2 = 0, h2 = 0;
    {
        std::lock_guard<std::mutex> il(ilMutex);
        ILuint id = ilGenImage();
        ilBindImage(id);
        if (!ilLoadImage(path.c_str()) || !ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE)) {
            ilDeleteImage(id);
            return false;
        }
        bool upperLeft = ilGetInteger(IL_IMAGE_ORIGIN) == IL_ORIGIN_UPPER_LEFT;
        int w = ilGetInteger(IL_IMAGE_WIDTH);
        int h = ilGetInteger(IL_IMAGE_HEIGHT);
        if (width)
            *width = w;
        if (height)
            *height = h;
        // Powers of two with the picture at the lower left, rows bottom up, the rest clear.
        w2 = next_power_of_two(w);
        h2 = next_power_of_two(h);
        pixels.assign(size_t(w2) * h2 * 4, 0);
        const unsigned char* data = ilGetData();
        for (int y = 0; y < h; ++y) {
            int from = upperLeft ? h - 1 - y : y;
            std::memcpy(&pixels[size_t(y) * w2 * 4], data + size_t(from) * w * 4, size_t(w) * 4);
        }
        ilDeleteImage(id);
    }
    bool made = create(2, w2, h2, pixels.data());
    name = path;
    return made;
}

bool Image::create(int format, int width, int height, const void* pixels)
{
    name = "??";
    free_slot(this);
    Render* render = Render::current();
    if (!render || !render->getDevice())
        return false;
    Device* dev = render->getDevice();
    std::lock_guard<std::mutex> lock(mutex);
    texture_t_opaque* tex = dev->CreateTexture(format, width, height, pixels, 1, texture);
    if (!tex) {
        // A texture given for refilling is released by the failed call: the image is empty.
        if (texture) {
            if (target) {
                dev->ReleaseFramebuffer(target);
                dev->ReleaseTexture(depth);
            }
            device = nullptr;
            target = nullptr;
            texture = nullptr;
            depth = nullptr;
        }
        return false;
    }
    texture = tex;
    device = dev;
    set_half_texels();
    return true;
}

bool Image::create_target(int width, int height)
{
    free_slot(this);
    name = "??";
    target = nullptr;
    texture = nullptr;
    Render* render = Render::current();
    if (!render || !render->getDevice())
        return false;
    Device* dev = render->getDevice();
    texture_t_opaque* tex = dev->CreateTexture(256, width, height, nullptr, 1, nullptr);
    PP_ASSERT(tex != 0);
    texture_t_opaque* depthBuffer = dev->CreateTexture(130, width, height, nullptr, 1, nullptr);
    PP_ASSERT(depthBuffer != 0);
    texture_t_opaque* colour[4] = {tex, nullptr, nullptr, nullptr};
    target_t_opaque* fbo = dev->CreateFramebuffer(width, height, colour, depthBuffer);
    if (!fbo) {
        // Without a framebuffer the image stays unloaded; its textures are not kept.
        dev->ReleaseTexture(tex);
        dev->ReleaseTexture(depthBuffer);
        return false;
    }
    // A new target's contents are undefined, its depth too: cleared once, so that nothing of
    // the first frame drawn into it hides behind stale depth. Frames set their own target.
    dev->SetTarget(fbo);
    dev->Clear(0, 0, 0, true, true);
    dev->SetTarget(nullptr);
    std::lock_guard<std::mutex> lock(mutex);
    texture = tex;
    depth = depthBuffer;
    target = fbo;
    device = dev;
    int X = 0, Y = 0;
    dev->GetTextureInfo(texture, &X, &Y, nullptr);
    PP_ASSERT(X > 0 && Y > 0);
    set_half_texels();
    return true;
}

// ---- drawing

bool Image::pin()
{
    std::lock_guard<std::mutex> lock(mutex);
    if (!device || !texture)
        return false;
    ++inUse;
    return true;
}

void Image::unpin()
{
    std::lock_guard<std::mutex> lock(mutex);
    --inUse;
}

void Image::unit_quad(const Image* image, float out[20])
{
    float a = image ? image->halfTexelX : 0.0f;
    float b = image ? image->halfTexelY : 0.0f;
    const float quad[20] = {0, 1, 0, a,     b,     0, 0, 0, a,     1 - b,
                            1, 0, 0, 1 - a, 1 - b, 1, 1, 0, 1 - a, b};
    std::memcpy(out, quad, sizeof quad);
}

void Image::queue(const float transform[12], const float color[4], int blend,
                  const float* vertices, int n_quads)
{
    Render* render = Render::current();
    PP_ASSERT(render->getDevice() == device);
    RenderArgs2D args;
    args.image = this;
    std::memcpy(args.transform, transform, sizeof args.transform);
    args.blend = blend;
    std::memcpy(args.color, color, sizeof args.color);
    args.vertices = vertices;
    args.n_quads = n_quads;
    render->add_2d(args);
}

void Image::draw(float x, float y, float w, float h, const float color[4], int blend)
{
    if (!pin())
        return;
    const float transform[12] = {w, 0, 0, x, 0, h, 0, y, 0, 0, 1, 0};
    queue(transform, color, blend, nullptr, 0);
}

void Image::draw_part(float x, float y, float w, float h, float sx, float sy, float sw, float sh,
                      const float color[4], int blend)
{
    if (!pin())
        return;
    const float transform[12] = {w, 0, 0, x, 0, h, 0, y, 0, 0, 1, 0};
    float a = halfTexelX, b = halfTexelY;
    float* v = static_cast<float*>(Render::current()->allocator().alloc(80, 16));
    const float quad[20] = {0, 1, 0, sx + a,      sy + b,      0, 0, 0, sx + a,      sy + sh - b,
                            1, 0, 0, sx + sw - a, sy + sh - b, 1, 1, 0, sx + sw - a, sy + b};
    std::memcpy(v, quad, sizeof quad);
    queue(transform, color, blend, v, 1);
}

void Image::draw_transformed(const float corners[16], const float color[4], int blend)
{
    if (!pin())
        return;
    static const float kIdentity[12] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0};
    float a = halfTexelX, b = halfTexelY;
    float* v = static_cast<float*>(Render::current()->allocator().alloc(80, 16));
    for (int k = 0; k < 4; ++k) {
        const float* c = corners + k * 4;
        float* out = v + k * 5;
        out[0] = c[0];
        out[1] = c[1];
        out[2] = 0;
        out[3] = a + c[2] * (1 - 2 * a);
        out[4] = b + c[3] * (1 - 2 * b);
    }
    queue(kIdentity, color, blend, v, 1);
}

// ---- reading and saving

void Image::get_size(int* width, int* height, void* pixels)
{
    std::lock_guard<std::mutex> lock(mutex);
    int w = 0, h = 0;
    if (device && texture) {
        device->GetTextureInfo(texture, &w, &h, nullptr);
        if (pixels)
            device->GetTexturePixels(texture, pixels);
    }
    if (width)
        *width = w;
    if (height)
        *height = h;
}

// The whole texture is read back for the one texel: this is for tools and checks, the game's
// hit tests read the cached alpha.
unsigned Image::get_pixel(int x, int y)
{
    std::lock_guard<std::mutex> lock(mutex);
    if (!device || !texture)
        return 0;
    if (device->getFeatures() & Device::feature_pixel_read)
        return unsigned(device->GetTexturePixel(texture, x, y));
    int W = 0, H = 0;
    device->GetTextureInfo(texture, &W, &H, nullptr);
    PP_ASSERT(W>0 && H>0);
    PP_ASSERT(x >= 0 && y >= 0 && x < W && y < H);
    std::vector<unsigned char> pixels(size_t(W) * H * 4, 0);
    device->GetTexturePixels(texture, pixels.data());
    const unsigned char* p = &pixels[(size_t(W) * y + x) * 4];
    return unsigned(p[0]) | unsigned(p[1]) << 8 | unsigned(p[2]) << 16 | unsigned(p[3]) << 24;
}

int Image::get_alpha(int x, int y)
{
    std::lock_guard<std::mutex> lock(mutex);
    if (!device || !texture)
        return 0;
    if (device->getFeatures() & Device::feature_pixel_read)
        return int(unsigned(device->GetTexturePixel(texture, x, y)) >> 24);
    int W = 0, H = 0;
    device->GetTextureInfo(texture, &W, &H, nullptr);
    PP_ASSERT(W>0 && H>0);
    PP_ASSERT(x >= 0 && y >= 0 && x < W && y < H);

    std::lock_guard<std::mutex> cacheLock(readBackMutex);
    int oldest = 0;
    for (int k = 0; k < kReadBackSlots; ++k) {
        ++readBack[k].age;
        if (readBack[k].age > readBack[oldest].age)
            oldest = k;
    }
    ReadBackSlot* slot = nullptr;
    for (ReadBackSlot& s : readBack)
        if (s.owner == this)
            slot = &s;
    if (!slot) {
        slot = &readBack[oldest];
        // The RGBA copy lives only while its alpha is taken out.
        const size_t texels = size_t(W) * H;
        std::vector<unsigned char> pixels(texels * 4, 0);
        device->GetTexturePixels(texture, pixels.data());
        slot->alpha.resize(texels);
        slot->alpha.shrink_to_fit();
        for (size_t i = 0; i < texels; ++i)
            slot->alpha[i] = pixels[i * 4 + 3];
        slot->owner = this;
    }
    slot->age = 0;
    return slot->alpha[size_t(W) * y + x];
}

bool Image::save(const char* path, int width, int height, const char* format)
{
    int W = 0, H = 0;
    get_size(&W, &H);
    if (W <= 0 || H <= 0)
        return false;
    if (width <= 0 || width > W)
        width = W;
    if (height <= 0 || height > H)
        height = H;
    std::vector<unsigned char> pixels(size_t(W) * H * 4);
    get_size(nullptr, nullptr, pixels.data());

    std::lock_guard<std::mutex> il(ilMutex);
    ILuint id = ilGenImage();
    ilBindImage(id);
    bool ok = ilTexImage(W, H, 1, 4, IL_RGBA, IL_UNSIGNED_BYTE, pixels.data());
    ilRegisterOrigin(IL_ORIGIN_LOWER_LEFT);
    // The rows run bottom up, so the top rows start at H - height.
    ok = ok && iluCrop(0, H - height, 0, width, height, 1);
    ilEnable(IL_FILE_OVERWRITE);
    ILenum type = IL_TYPE_UNKNOWN;
    if (format && !std::strcmp(format, "PNG"))
        type = IL_PNG;
    else if (format && !std::strcmp(format, "BMP"))
        type = IL_BMP;
    else if (format && !std::strcmp(format, "JPG"))
        type = IL_JPG;
    else if (format && !std::strcmp(format, "TGA"))
        type = IL_TGA;
    if (ok)
        ok = type == IL_TYPE_UNKNOWN ? ilSaveImage(path) : ilSave(type, path);
    ilDeleteImage(id);
    return ok;
}

// ---- release

void Image::release()
{
    std::unique_lock<std::mutex> lock(mutex);
    if (!device)
        return;
    while (inUse > 0) {
        lock.unlock();
        sleep_ms(10);
        lock.lock();
    }
    free_slot(this);
    if (target) {
        device->ReleaseFramebuffer(target);
        device->ReleaseTexture(texture);
        device->ReleaseTexture(depth);
    } else {
        device->ReleaseTexture(texture);
    }
    device = nullptr;
    target = nullptr;
    texture = nullptr;
    depth = nullptr;
}

void Image::forget_readback()
{
    free_slot(this);
}

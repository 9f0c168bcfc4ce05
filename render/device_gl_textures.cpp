// Textures and render targets of the OpenGL device.
//
// Sections: binding guard - render targets - textures from pixels - texture files (DDS and
// DevIL) and their upload tasks - queries and read-back.
//
// Texture operations may run mid-frame (the shading devices cache which textures are bound),
// so each one restores the 2D texture binding it found.

#include "render/device_gl.h"

#include "core/Assert.h"
#include "core/platform.h"
#include "render/nv_dds.h"
#include "render/picture_check.h"

#include <GL/glu.h>
#include <IL/il.h>
#include <IL/ilu.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// ---- binding guard

class TextureBindingGuard {
public:
    TextureBindingGuard() { glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous); }
    ~TextureBindingGuard() { glBindTexture(GL_TEXTURE_2D, GLuint(previous)); }

private:
    GLint previous = 0;
};

int nextPowerOfTwo(int v)
{
    int p = 1;
    while (p < v)
        p <<= 1;
    return p;
}

bool isDds(const void* bytes, int size)
{
    return size >= 4 && std::memcmp(bytes, "DDS ", 4) == 0;
}

// The grey storage for texels of `channels` bytes (3, or 4 with alpha last) whose red, green
// and blue are all equal: luminance alone when every alpha is full, luminance and alpha
// otherwise; 0 for a coloured picture. GL takes a luminance from the red channel, so the
// texture samples exactly as the RGBA picture would.
GLenum greyFormat(const void* pixels, size_t texels, int channels)
{
    const unsigned char* p = static_cast<const unsigned char*>(pixels);
    bool opaque = true;
    for (size_t i = 0; i < texels; ++i, p += channels) {
        if (p[0] != p[1] || p[0] != p[2])
            return 0;
        if (channels == 4 && p[3] != 255)
            opaque = false;
    }
    return opaque ? GL_LUMINANCE8 : GL_LUMINANCE8_ALPHA8;
}

} // namespace

// ---- render targets

target_t_opaque* Device_GL::CreateFramebuffer(int w, int h, texture_t_opaque** colour,
                                              texture_t_opaque* depth)
{
    // Without framebuffer objects a target would draw into the window's own buffers.
    if (!use_fbo)
        return nullptr;
    target_record* fbo = new target_record();
    fbo->vp[2] = w;
    fbo->vp[3] = h;
    glGenFramebuffersEXT(1, &fbo->fbo);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, fbo->fbo);
    std::printf("Creating FBO %d x %d\n", w, h);
    for (int i = 0; i < 4; ++i) {
        fbo->tex_color[i] = colour ? static_cast<texture_record*>(colour[i]) : nullptr;
        if (!fbo->tex_color[i])
            continue;
        PP_ASSERT(fbo->tex_color[i]->texture != 0);
        glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT + i, GL_TEXTURE_2D,
                                  fbo->tex_color[i]->texture, 0);
        std::printf("Color[%d] %d x %d\n", i, fbo->tex_color[i]->w, fbo->tex_color[i]->h);
    }
    if (!fbo->tex_color[0]) {
        glDrawBuffer(GL_NONE);
        glReadBuffer(GL_NONE);
    }
    fbo->tex_depth = static_cast<texture_record*>(depth);
    if (fbo->tex_depth) {
        if (fbo->tex_depth->texture) {
            std::printf("Depth %d x %d\n", fbo->tex_depth->w, fbo->tex_depth->h);
            glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_TEXTURE_2D,
                                      fbo->tex_depth->texture, 0);
        } else {
            PP_ASSERT(fbo->tex_depth->renderbuffer != 0);
            std::printf("DepthRB %d x %d\n", fbo->tex_depth->w, fbo->tex_depth->h);
            glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT,
                                         GL_RENDERBUFFER_EXT, fbo->tex_depth->renderbuffer);
        }
    }
    GLenum status = glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, current_target ? current_target->fbo : 0);
    if (status == GL_FRAMEBUFFER_COMPLETE_EXT)
        return fbo;
    if (status == GL_FRAMEBUFFER_UNSUPPORTED_EXT)
        std::fprintf(stderr, "FBO config unsupported :/\n");
    else
        std::fprintf(stderr, "IMPOSSIBLE %d!?\n", int(status));
    glDeleteFramebuffersEXT(1, &fbo->fbo);
    delete fbo;
    return nullptr;
}

texture_t_opaque* Device_GL::GetFramebufferTexture(target_t_opaque* handle, fb_binding_t binding)
{
    if (!handle)
        return nullptr;
    target_record* t = static_cast<target_record*>(handle);
    if (binding >= fb_color0 && binding <= fb_color3)
        return t->tex_color[binding];
    return binding == fb_depth ? t->tex_depth : nullptr;
}

void Device_GL::ReleaseFramebuffer(target_t_opaque* handle)
{
    if (!handle)
        return;
    target_record* t = static_cast<target_record*>(handle);
    if (current_target == t) {
        // Never leave a freed record current.
        current_target = screen_target;
        if (use_fbo && OnRenderThread())
            glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    }
    if (use_fbo)
        glDeleteFramebuffersEXT(1, &t->fbo);
    delete t;
}

// ---- textures from pixels

texture_t_opaque* Device_GL::CreateTexture(int format, int w, int h, const void* pixels,
                                           int no_mipmaps, texture_t_opaque* reuse)
{
    texture_record* old = static_cast<texture_record*>(reuse);
    if (format == 130) {
        const void* ptr = pixels;
        PP_ASSERT(old == 0);
        PP_ASSERT(ptr == 0);
        texture_record* t = new texture_record();
        t->w = w;
        t->h = h;
        t->depth = 1;
        t->flags = 1;
        if (GLEW_EXT_framebuffer_object) {
            glGenRenderbuffersEXT(1, &t->renderbuffer);
            glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, t->renderbuffer);
            glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT, w, h);
            glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
        }
        return t;
    }

    GLenum pixelFormat, internalFormat;
    switch (format) {
    case 1: pixelFormat = GL_RGB; internalFormat = GL_RGB8; break;
    case 2: pixelFormat = GL_RGBA; internalFormat = GL_RGBA8; break;
    case 3: pixelFormat = GL_BGR; internalFormat = GL_RGB8; break;
    case 4: pixelFormat = GL_BGRA; internalFormat = GL_RGBA8; break;
    case 129: pixelFormat = GL_DEPTH_COMPONENT; internalFormat = GL_DEPTH_COMPONENT; break;
    case 256: pixelFormat = GL_RGBA; internalFormat = GL_RGBA8; break;
    default:
        std::fprintf(stderr, "Warning: unsupported data format %d\n", format);
        ReleaseTexture(old);
        return nullptr;
    }

    TextureBindingGuard guard;
    texture_record* t = old;
    if (!t) {
        t = new texture_record();
        glGenTextures(1, &t->texture);
        t->flipped = 0;
    }
    glBindTexture(GL_TEXTURE_2D, t->texture);
    t->w = w;
    t->h = h;
    t->depth = 1;
    // Mipmaps need pixels to be built from; a texture without them has one level.
    const bool oneLevel = no_mipmaps || (format & 128) || !pixels;
    t->flags = oneLevel ? 1 : 0;

    t->grey = 0;
    if (pixels && format >= 1 && format <= 4 && w > 0 && h > 0) {
        t->grey = greyFormat(pixels, size_t(w) * size_t(h), format == 1 || format == 3 ? 3 : 4);
        if (t->grey)
            internalFormat = t->grey;
    }

    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (oneLevel)
        glTexImage2D(GL_TEXTURE_2D, 0, GLint(internalFormat), w, h, 0, pixelFormat,
                     GL_UNSIGNED_BYTE, pixels);
    else
        gluBuild2DMipmaps(GL_TEXTURE_2D, GLint(internalFormat), w, h, pixelFormat,
                          GL_UNSIGNED_BYTE, pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);

    if (format & 128) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE_ARB, GL_COMPARE_R_TO_TEXTURE_ARB);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC_ARB, GL_LEQUAL);
        glTexParameteri(GL_TEXTURE_2D, GL_DEPTH_TEXTURE_MODE_ARB, GL_INTENSITY);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_BORDER);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_BORDER);
        const float border[4] = {1, 1, 1, 1};
        glTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, border);
    } else if (oneLevel) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    } else {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        if (GLEW_EXT_texture_filter_anisotropic && anisotropy > 0)
            glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, anisotropy);
    }
    // Another context uses the texture only once its commands have completed.
    if (!OnRenderThread())
        glFinish();
    return t;
}

void Device_GL::SetAnisotropy(GLuint name, int flags, float aniso)
{
    TextureBindingGuard guard;
    glBindTexture(GL_TEXTURE_2D, name);
    if (flags == 0) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        if (GLEW_EXT_texture_filter_anisotropic && aniso > 0)
            glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, aniso);
    } else {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    }
}

void Device_GL::LoadTextureMatrix(const float* m, bool flipped)
{
    // Row-major for row vectors is GL's column-major for column vectors: load it as it is.
    if (flipped) {
        // v' = w - v: the v column becomes the w column minus itself.
        float f[16];
        std::memcpy(f, m, sizeof f);
        for (int r = 0; r < 4; ++r)
            f[4 * r + 1] = m[4 * r + 3] - m[4 * r + 1];
        gl_state.loadMatrix(GL_TEXTURE, f);
    } else {
        gl_state.loadMatrix(GL_TEXTURE, m);
    }
    gl_state.matrixMode(GL_MODELVIEW);
}

// ---- texture files and their upload tasks

void Device_GL::DDS_uploader::run()
{
    if (image->is_cubemap()) {
        glGenTextures(1, &record->texture);
        glEnable(GL_TEXTURE_CUBE_MAP_ARB);
        GLint previous = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_CUBE_MAP_ARB, &previous);
        glBindTexture(GL_TEXTURE_CUBE_MAP_ARB, record->texture);
        glTexParameteri(GL_TEXTURE_CUBE_MAP_ARB, GL_GENERATE_MIPMAP_SGIS, GL_TRUE);
        image->upload_cubemap();
        record->w = record->h = record->depth = -1;
        glTexParameteri(GL_TEXTURE_CUBE_MAP_ARB, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_CUBE_MAP_ARB, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_CUBE_MAP_ARB, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_CUBE_MAP_ARB, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glBindTexture(GL_TEXTURE_CUBE_MAP_ARB, GLuint(previous));
        glDisable(GL_TEXTURE_CUBE_MAP_ARB);
        return;
    }
    TextureBindingGuard guard;
    glGenTextures(1, &record->texture);
    glBindTexture(GL_TEXTURE_2D, record->texture);
    image->upload_2d(0, GL_TEXTURE_2D);
    // Only the levels the file holds exist; the texture is complete with those.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, image->get_num_mipmaps(0));
    record->w = image->get_width(0);
    record->h = image->get_height(0);
    record->depth = 1;
    Device_GL::SetAnisotropy(record->texture, record->flags, anisotropy);
}

// The image is already RGBA bytes with the bottom row first (LoadTexture prepared it).
void Device_GL::IL_uploader::run()
{
    std::lock_guard<std::mutex> lock(ilMutex);
    ilBindImage(image);
    TextureBindingGuard guard;
    glGenTextures(1, &record->texture);
    glBindTexture(GL_TEXTURE_2D, record->texture);
    const int w = ilGetInteger(IL_IMAGE_WIDTH);
    const int h = ilGetInteger(IL_IMAGE_HEIGHT);
    const void* data = ilGetData();
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const GLint internalFormat = record->grey ? GLint(record->grey) : GL_RGBA8;
    if (record->flags == 0)
        gluBuild2DMipmaps(GL_TEXTURE_2D, internalFormat, w, h, GL_RGBA, GL_UNSIGNED_BYTE, data);
    else
        glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, data);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    if (record->flags != 0) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }
    Device_GL::SetAnisotropy(record->texture, record->flags, anisotropy);
    ilBindImage(0);
}

texture_t_opaque* Device_GL::LoadTexture(const void* bytes, int size, int no_mipmaps)
{
    const int started = get_time_ms();
    if (!bytes || size <= 0)
        return nullptr;
    texture_record* t = new texture_record();
    t->flags = no_mipmaps;
    t->flipped = 0;

    // A DDS file goes to the DDS reader only; one it refuses is not handed to the image
    // library, whose own DDS decoder does not check the data length.
    if (GLEW_ARB_texture_compression && isDds(bytes, size)) {
        nv_dds::CDDSImage image;
        if (!image.load(static_cast<const unsigned char*>(bytes), size_t(size))) {
            std::fprintf(stderr, "Warning: can't read DDS texture %s\n", current_texture_name);
            delete t;
            return nullptr;
        }
        DDS_uploader uploader(&image, t, anisotropy);
        RunTask(&uploader);
        std::printf("DDS %d %s\n", time_diff_ms(get_time_ms(), started), current_texture_name);
        t->flipped = 1;
        return t;
    }

    // A damaged PNG never reaches the image library, which could read past its end for ever.
    if (!picture_structure_ok(static_cast<const unsigned char*>(bytes), size_t(size),
                              current_texture_name)) {
        delete t;
        return nullptr;
    }
    ILuint image = 0;
    {
        std::lock_guard<std::mutex> lock(ilMutex);
        ilGenImages(1, &image);
        ilBindImage(image);
        if (!ilLoadL(IL_TYPE_UNKNOWN, bytes, ILuint(size))) {
            ilBindImage(0);
            ilDeleteImages(1, &image);
            delete t;
            std::fprintf(stderr, "Warning: can't decode picture %s\n", current_texture_name);
            return nullptr;
        }
        const int w = ilGetInteger(IL_IMAGE_WIDTH);
        const int h = ilGetInteger(IL_IMAGE_HEIGHT);
        const int nw = nextPowerOfTwo(w), nh = nextPowerOfTwo(h);
        if (nw != w || nh != h) {
            iluScale(ILuint(nw), ILuint(nh), ILuint(ilGetInteger(IL_IMAGE_DEPTH)));
            std::fprintf(stderr, "%s SCALED %dx%d -> %dx%d\n", current_texture_name, w, h, nw, nh);
        }
        // GL takes the bottom row first, as RGBA bytes; prepared here so the render thread
        // only uploads.
        if (ilGetInteger(IL_IMAGE_ORIGIN) == IL_ORIGIN_UPPER_LEFT)
            iluFlipImage();
        ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE);
        // Looked at here, so that the render thread only uploads.
        t->grey = greyFormat(ilGetData(), size_t(nw) * size_t(nh), 4);
        t->w = nw;
        t->h = nh;
        t->depth = 1;
        t->flipped = 0;
        ilBindImage(0);
    }

    IL_uploader uploader(image, t, anisotropy);
    RunTask(&uploader);

    std::lock_guard<std::mutex> lock(ilMutex);
    ilDeleteImages(1, &image);
    std::printf("DevIL %d %s\n", time_diff_ms(get_time_ms(), started), current_texture_name);
    return t;
}

// ---- queries and read-back

void Device_GL::GetTextureInfo(texture_t_opaque* handle, int* w, int* h, int* depth)
{
    texture_record* t = static_cast<texture_record*>(handle);
    if (w)
        *w = t ? t->w : 0;
    if (h)
        *h = t ? t->h : 0;
    if (depth)
        *depth = t ? t->depth : 0;
}

void Device_GL::ReleaseTexture(texture_t_opaque* handle)
{
    if (!handle)
        return;
    texture_record* t = static_cast<texture_record*>(handle);
    if (t->texture)
        glDeleteTextures(1, &t->texture);
    if (t->renderbuffer)
        glDeleteRenderbuffersEXT(1, &t->renderbuffer);
    delete t;
}

void Device_GL::GetTexturePixels(texture_t_opaque* handle, void* out)
{
    if (!handle || !out)
        return;
    texture_record* t = static_cast<texture_record*>(handle);
    TextureBindingGuard guard;
    glBindTexture(GL_TEXTURE_2D, t->texture);
    if (!t->flipped) {
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, out);
        // GL reads a luminance back into red alone; green and blue are that luminance.
        if (t->grey) {
            unsigned char* p = static_cast<unsigned char*>(out);
            for (size_t i = 0, n = size_t(t->w) * size_t(t->h); i < n; ++i, p += 4)
                p[1] = p[2] = p[0];
        }
        return;
    }
    const size_t row = size_t(t->w) * 4;
    std::vector<unsigned char> tmp(row * size_t(t->h));
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, tmp.data());
    unsigned char* dst = static_cast<unsigned char*>(out);
    for (int y = 0; y < t->h; ++y)
        std::memcpy(dst + size_t(y) * row, tmp.data() + size_t(t->h - 1 - y) * row, row);
}

void Device_GL::ReadBackTexture(texture_t_opaque* handle, int x, int y, int w, int h,
                                bool halfsize, image_bounds* bounds)
{
    PP_ASSERT(halfsize == false);
    texture_record* t = static_cast<texture_record*>(handle);
    if (!t)
        return;
    TextureBindingGuard guard;
    glBindTexture(GL_TEXTURE_2D, t->texture);
    if (t->grey && t->w > 0 && t->h > 0) {
        // Colour copied into a grey texture would keep its red only: it becomes RGBA first.
        std::vector<unsigned char> pixels(size_t(t->w) * size_t(t->h) * 4);
        GetTexturePixels(t, pixels.data());
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, t->w, t->h, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     pixels.data());
        t->grey = 0;
    }
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, x, y, x, y, w, h);
    if (bounds && t->w > 0 && t->h > 0) {
        bounds->v[0] = 0;
        bounds->v[1] = float(w) / float(t->w);
        bounds->v[2] = float(h) / float(t->h);
        bounds->v[3] = 0;
    }
}

#pragma once

// Vertex and index data of the GL device: a GL buffer object (GLHardwareBuffer) or plain
// 16-byte-aligned memory (EmulatedBuffer), handed out as vbuffer_t_opaque. Every bind of a
// buffer object goes through a binding cache (one entry per target) so that a buffer already
// bound is not bound again. Render thread only, except staging memory of off-thread locks.

#include "render/device.h"

#include <GL/glew.h>

class DataBuffer : public vbuffer_t_opaque {
public:
    explicit DataBuffer(int size_) : size(size_), staging(nullptr) {}
    virtual ~DataBuffer();

    // Memory to read and/or write the contents.
    virtual void* lock(bool read, bool write) = 0;
    virtual void unlock() {}
    // New storage with undefined contents (old data may be dropped).
    virtual void invalidate() {}
    // Makes the buffer the source of a draw; returns the base that element offsets add to.
    virtual char* use() = 0;
    // Replaces the whole contents with size bytes from src.
    virtual void fill(const void* src) = 0;

    int size;
    // Memory handed out by a lock made off the render thread; sent in one fill at unlock.
    unsigned char* staging;
};

class GLHardwareBuffer : public DataBuffer {
public:
    GLHardwareBuffer(int size_, GLuint id_, GLenum target_, GLenum usage_)
        : DataBuffer(size_), id(id_), target(target_), usage(usage_)
    {
    }
    ~GLHardwareBuffer() override;

    void* lock(bool read, bool write) override;
    void unlock() override;
    void invalidate() override;
    char* use() override;
    void fill(const void* src) override;

    GLuint id;
    GLenum target;  // GL_ARRAY_BUFFER or GL_ELEMENT_ARRAY_BUFFER
    GLenum usage;   // GL_STATIC_DRAW or GL_DYNAMIC_DRAW
};

class EmulatedBuffer : public DataBuffer {
public:
    explicit EmulatedBuffer(int size_);
    ~EmulatedBuffer() override;

    void* lock(bool read, bool write) override { return data; }
    char* use() override { return data; }
    void fill(const void* src) override;

    char* data;  // size bytes, 16-byte aligned
private:
    void* block;
};

// The binding cache: the GL name bound to GL_ARRAY_BUFFER / GL_ELEMENT_ARRAY_BUFFER (0 = none).
void bind_buffer(GLenum target, GLuint id);
GLuint bound_buffer(GLenum target);
// Drops a deleted buffer's name from the cache, as GL unbinds a deleted buffer.
void forget_buffer(GLuint id);
// Forgets everything (the GL state is unknown, e.g. after a new context).
void reset_buffer_bindings();

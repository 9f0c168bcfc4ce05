#include "render/data_buffer.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

GLuint boundArray = 0;
GLuint boundElements = 0;

GLuint& cacheFor(GLenum target)
{
    return target == GL_ELEMENT_ARRAY_BUFFER ? boundElements : boundArray;
}

} // namespace

// ---- binding cache

void bind_buffer(GLenum target, GLuint id)
{
    GLuint& bound = cacheFor(target);
    if (bound != id) {
        glBindBufferARB(target, id);
        bound = id;
    }
}

GLuint bound_buffer(GLenum target)
{
    return cacheFor(target);
}

void forget_buffer(GLuint id)
{
    if (boundArray == id)
        boundArray = 0;
    if (boundElements == id)
        boundElements = 0;
}

void reset_buffer_bindings()
{
    boundArray = 0;
    boundElements = 0;
}

// ---- DataBuffer

DataBuffer::~DataBuffer()
{
    delete[] staging;
}

// ---- GLHardwareBuffer

GLHardwareBuffer::~GLHardwareBuffer()
{
    glDeleteBuffersARB(1, &id);
    forget_buffer(id);
}

void* GLHardwareBuffer::lock(bool read, bool write)
{
    bind_buffer(target, id);
    GLenum access = !read ? GL_WRITE_ONLY_ARB : write ? GL_READ_WRITE_ARB : GL_READ_ONLY_ARB;
    return glMapBufferARB(target, access);
}

void GLHardwareBuffer::unlock()
{
    bind_buffer(target, id);
    glUnmapBufferARB(target);
}

void GLHardwareBuffer::invalidate()
{
    bind_buffer(target, id);
    glBufferDataARB(target, size, nullptr, usage);
}

char* GLHardwareBuffer::use()
{
    bind_buffer(target, id);
    return nullptr;
}

// Leaves the target unbound so that later client-memory draws are not disturbed.
void GLHardwareBuffer::fill(const void* src)
{
    bind_buffer(target, id);
    glBufferDataARB(target, size, src, usage);
    if (bound_buffer(target))
        bind_buffer(target, 0);
}

// ---- EmulatedBuffer

EmulatedBuffer::EmulatedBuffer(int size_) : DataBuffer(size_)
{
    block = std::malloc(size_t(size_ > 0 ? size_ : 0) + 19);
    if (!block)
        throw std::bad_alloc();
    uintptr_t p = (reinterpret_cast<uintptr_t>(block) + 15) & ~uintptr_t(15);
    data = reinterpret_cast<char*>(p);
}

EmulatedBuffer::~EmulatedBuffer()
{
    std::free(block);
}

void EmulatedBuffer::fill(const void* src)
{
    if (src && size > 0)
        std::memcpy(data, src, size_t(size));
}

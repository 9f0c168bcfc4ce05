#include "render/device.h"

#include <cstdint>

target_t_opaque* Device::CreateFramebuffer(int, int, texture_t_opaque**, texture_t_opaque*)
{
    return nullptr;
}

texture_t_opaque* Device::GetFramebufferTexture(target_t_opaque*, fb_binding_t)
{
    return nullptr;
}

void Device::ReleaseFramebuffer(target_t_opaque*) {}

int Device::GetTexturePixel(texture_t_opaque*, int, int)
{
    return 0;
}

void Device::ReadBackTexture(texture_t_opaque*, int, int, int, int, bool, image_bounds*) {}

Device::~Device() = default;

int Device::ReadIndices(int prim, vbuffer_t_opaque* indices, int index_size, int first, int count,
                        int* out)
{
    if (prim != tri_list)
        return 0;
    if (out) {
        const void* data = LockIndexBuffer(indices, lck_readonly);
        if (!data) {
            // nothing to read: leave the output alone
        } else if (index_size == 8) {
            const uint8_t* src = static_cast<const uint8_t*>(data) + first;
            for (int i = 0; i < count; ++i)
                out[i] = src[i];
        } else if (index_size == 16) {
            const uint16_t* src = static_cast<const uint16_t*>(data) + first;
            for (int i = 0; i < count; ++i)
                out[i] = src[i];
        } else {
            const int32_t* src = static_cast<const int32_t*>(data) + first;
            for (int i = 0; i < count; ++i)
                out[i] = src[i];
        }
        UnlockIndexBuffer(indices);
    }
    return count / 3;
}

void Device::ThreadStart() {}

void Device::ThreadStop() {}

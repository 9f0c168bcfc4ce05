#include "mkscenes/Picture.h"

#include "core/Assert.h"

#include <IL/il.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace mkscenes {

Picture::Picture(int width, int height, float3 fill) : mWidth(width), mHeight(height)
{
    PP_ASSERT_MSG(width > 0 && height > 0, "a picture needs a size");
    mRgba.resize(size_t(width) * size_t(height) * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            set(x, y, fill);
}

float3 Picture::at(int x, int y) const
{
    x = ((x % mWidth) + mWidth) % mWidth;
    y = ((y % mHeight) + mHeight) % mHeight;
    const float* p = &mRgba[(size_t(y) * size_t(mWidth) + size_t(x)) * 4];
    return float3(p[0], p[1], p[2]);
}

float Picture::alphaAt(int x, int y) const
{
    x = ((x % mWidth) + mWidth) % mWidth;
    y = ((y % mHeight) + mHeight) % mHeight;
    return mRgba[(size_t(y) * size_t(mWidth) + size_t(x)) * 4 + 3];
}

void Picture::set(int x, int y, float3 colour, float alpha)
{
    x = ((x % mWidth) + mWidth) % mWidth;
    y = ((y % mHeight) + mHeight) % mHeight;
    float* p = &mRgba[(size_t(y) * size_t(mWidth) + size_t(x)) * 4];
    p[0] = colour.x, p[1] = colour.y, p[2] = colour.z, p[3] = alpha;
}

void Picture::blend(int x, int y, float3 colour, float coverage)
{
    coverage = std::min(1.0f, std::max(0.0f, coverage));
    float3 c = at(x, y);
    set(x, y, float3(c.x + (colour.x - c.x) * coverage, c.y + (colour.y - c.y) * coverage, c.z + (colour.z - c.z) * coverage),
        alphaAt(x, y));
}

bool Picture::savePng(const std::string& path) const
{
    // DevIL takes rows bottom first.
    std::vector<uint8_t> bytes(size_t(mWidth) * size_t(mHeight) * 4);
    for (int y = 0; y < mHeight; ++y)
        for (int x = 0; x < mWidth; ++x)
            for (int c = 0; c < 4; ++c) {
                float v = mRgba[(size_t(y) * size_t(mWidth) + size_t(x)) * 4 + size_t(c)];
                v = std::min(1.0f, std::max(0.0f, v));
                bytes[(size_t(mHeight - 1 - y) * size_t(mWidth) + size_t(x)) * 4 + size_t(c)] =
                    uint8_t(std::lround(v * 255.0f));
            }
    static bool started = false;
    if (!started) {
        ilInit();
        started = true;
    }
    ILuint id = ilGenImage();
    ilBindImage(id);
    bool ok = ilTexImage(ILuint(mWidth), ILuint(mHeight), 1, 4, IL_RGBA, IL_UNSIGNED_BYTE, bytes.data());
    ilRegisterOrigin(IL_ORIGIN_LOWER_LEFT);
    ilEnable(IL_FILE_OVERWRITE);
    ok = ok && ilSave(IL_PNG, path.c_str());
    ilDeleteImage(id);
    if (!ok)
        std::fprintf(stderr, "mkscenes: can't write %s\n", path.c_str());
    return ok;
}

} // namespace mkscenes

#include "toolkit/utils/MyImage.h"

#include "core/Assert.h"
#include "core/platform.h"

#include <cstdio>

namespace {

constexpr int kLoadPriority = 100;

} // namespace

MyImage::MyImage(const std::string& path, float x, float y, float w, float h,
                 float dx, float dy, float dw, float dh)
    : mFilePath(path)
    , mInitialRect(x, y, w, h)
    , mRect(x, y, w, h)
    , mDrawRect(dx, dy, dw, dh)
    , mClip(-1, -1, 3, 3)
{
}

MyImage::~MyImage()
{
    unload();
}

void MyImage::load()
{
    if (mFilePath.empty())
        return;
    if (!file_exists(mFilePath.c_str())) {
        std::fprintf(stderr, "missing image file: %s\n", mFilePath.c_str());
        PP_ASSERT_MSG(false, "towarzyszu ladujesz nieistniejacy plik");
    }
    if (mResource && !mCallerOwned)
        bgLoader.release(mResource);
    mResource = bgLoader.request(mFilePath, kLoadPriority, &bgLoader.imageFactory, 1);
    mImage = static_cast<BGLoader::ImageResource*>(mResource);
    mCallerOwned = 0;
}

void MyImage::unload()
{
    if (mCallerOwned) {
        mCallerOwned = 0;
        mImage = nullptr;
        return;
    }
    if (mResource)
        bgLoader.release(mResource);
    mResource = nullptr;
    mImage = nullptr;
}

void MyImage::release()
{
    if (mResource && !mCallerOwned)
        bgLoader.release(mResource);
}

bool MyImage::isLoaded() const
{
    if (mFilePath.empty())
        return true;
    if (mResource && mResource->load_failed())
        return true;
    return mImage && mImage->is_loaded();
}

void MyImage::setImage(CRender::Image* image)
{
    if (mResource && !mCallerOwned)
        bgLoader.release(mResource);
    mResource = nullptr;
    mImage = image;
    mCallerOwned = 1;
}

// A draw rect of zero size (an old rect of zero width or height) takes the new size instead of
// dividing by zero.
void MyImage::setRect(float x, float y, float w, float h)
{
    mDrawRect.x += x - mRect.x;
    mDrawRect.y += y - mRect.y;
    mDrawRect.z = mRect.z != 0 ? mDrawRect.z * (w / mRect.z) : w;
    mDrawRect.w = mRect.w != 0 ? mDrawRect.w * (h / mRect.w) : h;
    mRect = float4(x, y, w, h);
}

void MyImage::setPosition(float x, float y)
{
    mDrawRect.x += x - mRect.x;
    mDrawRect.y += y - mRect.y;
    mRect.x = x;
    mRect.y = y;
}

void MyImage::setClipRect(float x, float y, float w, float h)
{
    mClip = float4(x, y, w, h);
}

void MyImage::draw(float r, float g, float b, float a, float ox, float oy, float sx, float sy) const
{
    if (!mImage || !mImage->is_loaded())
        return;
    float x = mRect.x + ox;
    float y = mRect.y + oy;
    float w = mRect.z * sx;
    float h = mRect.w * sy;
    const float cx = mClip.x, cy = mClip.y, cw = mClip.z, ch = mClip.w;
    if (!(x + w > cx && x < cx + cw && y + h > cy && y < cy + ch))
        return;
    // An empty or not-a-number texture share would give infinite texture coordinates.
    if (!(mDrawRect.z > 0) || !(mDrawRect.w > 0) || !(w > 0) || !(h > 0))
        return;
    float fu = mRect.z / mDrawRect.z;
    float fv = mRect.w / mDrawRect.w;

    float ul = 0, uw = 1, vt = 0, vh = 1;
    float left = cx - x;
    if (left > 0 && left < w) {
        ul = left / w;
        uw = 1 - left / w;
    }
    float right = (x + w) - (cx + cw);
    if (right > 0 && right < w)
        uw -= right / w;
    float top = cy - y;
    if (top > 0 && top < h) {
        vt = top / h;
        vh = 1 - top / h;
    }
    float bottom = (y + h) - (cy + ch);
    if (bottom > 0 && bottom < h)
        vh -= bottom / h;

    // Texture coordinates run upward from the bottom of the texture; the picture is its top-left part.
    mImage->draw_part(x + w * ul, y + h * vt, w * uw, h * vh,
                      fu * ul, 1 - fv * (vt + vh), fu * uw, fv * vh, r, g, b, a, 1);
}

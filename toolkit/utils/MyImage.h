#pragma once

// One picture of a widget: the image file of one layout layer, where it lies on the canvas, which part
// of its (possibly power-of-two padded) texture is the picture, and its clip rectangle. The engine
// image is requested from the background loader when the screen loads.

#include "toolkit/utils/misc.h"
#include "render/CRender.h"
#include "render/external/bg_loader.h"

#include <string>

class MyImage {
public:
    // rect: the layer rectangle; drawRect: the rectangle the whole texture covers (both canvas fractions).
    MyImage(const std::string& path, float x, float y, float w, float h,
            float dx, float dy, float dw, float dh);
    MyImage(const MyImage&) = delete;
    MyImage& operator=(const MyImage&) = delete;
    ~MyImage();

    void load();
    void unload();
    void release();
    // Nothing left to wait for: no file, the picture loaded, or its load failed (it then
    // draws nothing).
    bool isLoaded() const;

    // Use an engine image the caller owns; it is never released by this handle.
    void setImage(CRender::Image* image);
    CRender::Image* getImage() const { return mImage; }

    float4 getRect() const { return mRect; }
    std::pair<float, float> getPosition() const { return {mRect.x, mRect.y}; }
    float4 getDrawRect() const { return mDrawRect; }
    float4 getInitialRect() const { return mInitialRect; }
    float4 getClipRect() const { return mClip; }
    const std::string& getFilePath() const { return mFilePath; }

    // The draw rect follows the layer rect: moved by the same amount, scaled by the same ratio.
    void setRect(float x, float y, float w, float h);
    void setPosition(float x, float y);
    void setClipRect(float x, float y, float w, float h);

    // Draws the layer rect moved by the offset and scaled (from its top-left corner), inside the clip.
    void draw(float r, float g, float b, float a, float ox, float oy, float sx, float sy) const;

    std::string mFilePath;

private:
    float4 mInitialRect;
    float4 mRect;
    float4 mDrawRect;
    CRender::Image* mImage = nullptr;
    BGLoader::Resource* mResource = nullptr;
    float4 mClip;
    int mCallerOwned = 0;
};

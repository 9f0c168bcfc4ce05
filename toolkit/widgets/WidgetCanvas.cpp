#include "toolkit/widgets/WidgetCanvas.h"

#include "toolkit/utils/MyImage.h"

WidgetCanvas::WidgetCanvas(const std::string& file, const std::wstring& canvasName, const float4& rect,
                           const float4& drawRect)
{
    mImages.push_back(new MyImage(file, rect.x, rect.y, rect.z, rect.w, drawRect.x, drawRect.y, drawRect.z,
                                  drawRect.w));
    rects.push_back(rect);
    assignNameFromPieces(*this, canvasName, "canvas");
}

void WidgetCanvas::load()
{
    mImages.front()->load();
}

void WidgetCanvas::unload()
{
    mImages.front()->unload();
}

// A canvas disabled from outside (not by its own step) still takes one step at its next update.
void WidgetCanvas::update()
{
    if (mEnabled) {
        stepState();
        mDisabledUpdated = !mEnabled;
    }
    if (!mEnabled && !mDisabledUpdated) {
        stepState();
        mDisabledUpdated = 1;
    }
}

void WidgetCanvas::draw()
{
    if (mVisible) {
        mImages.front()->draw(mColor.x, mColor.y, mColor.z, mColor.w, mTransform.x, mTransform.y, mTransform.z,
                              mTransform.w);
        mHiddenDrawn = !mVisible;
    } else if (!mHiddenDrawn) {
        afterDraw();
        mHiddenDrawn = 1;
    }
}

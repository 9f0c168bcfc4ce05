#include "toolkit/widgets/WidgetHelper.h"

#include "toolkit/utils/MyImage.h"

WidgetHelper::WidgetHelper(const std::wstring& helperName, float x, float y, float w, float h)
    : mColor(1, 1, 1, 1)
{
    rects.push_back(float4(x, y, w, h));
    assignNameFromPieces(*this, helperName, "helper");
}

void WidgetHelper::drawWidgetAt(WidgetBase* widget)
{
    float4 place = getRect();
    for (MyImage* image : widget->getImages())
        image->setRect(place.x, place.y, place.z, place.w);
    widget->setColor(mColor.x, mColor.y, mColor.z, mColor.w);
    widget->draw();
    widget->setColor(1, 1, 1, 1);
    std::vector<MyImage*>& images = widget->getImages();
    const std::vector<float4>& own = widget->getRects();
    for (size_t k = 0; k < images.size() && k < own.size(); ++k)
        images[k]->setRect(own[k].x, own[k].y, own[k].z, own[k].w);
}

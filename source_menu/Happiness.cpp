#include "source_menu/Happiness.h"

#include "source_menu/HappinessBar.h"
#include "toolkit/utils/MyImage.h"

#include <algorithm>

namespace {
const int kTopLevel = 4;
}

Happiness::Happiness(WidgetBaseBase* anchor)
{
    const float4 rect = anchor->getRect();
    x = rect.x;
    y = rect.y + 0.5f * rect.w;
}

void Happiness::setLevel(int level)
{
    this->level = std::clamp(level, 0, kTopLevel);
}

void Happiness::draw(float alpha, float offsetX, float offsetY)
{
    MyImage* picture = Singleton<HappinessBar>::get()->getLevelImage(level);
    const float h = picture->getRect().w;
    picture->draw(1.0f, 1.0f, 1.0f, alpha, x + offsetX, y - 0.5f * h + offsetY, 1.0f, 1.0f);
}

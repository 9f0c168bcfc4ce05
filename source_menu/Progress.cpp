#include "source_menu/Progress.h"

#include "source_menu/ProgressBar.h"
#include "toolkit/utils/MyImage.h"

#include <algorithm>

Progress::Progress(WidgetBaseBase* anchor)
{
    const float4 rect = anchor->getRect();
    x = rect.x;
    y = rect.y + 0.5f * rect.w;
}

void Progress::setLevel(int level)
{
    this->level = std::clamp(level, 0, ProgressBar::kCells);
}

void Progress::draw(float alpha, float offsetX, float offsetY)
{
    ProgressBar* bank = Singleton<ProgressBar>::get();
    MyImage* frame = bank->getFrameImage();
    const float dx = x + offsetX;
    const float dy = y - 0.5f * frame->getRect().w + offsetY;
    frame->draw(1.0f, 1.0f, 1.0f, alpha, dx, dy, 1.0f, 1.0f);
    for (int i = level; i < ProgressBar::kCells; ++i)
        bank->getLevelImage(i)->draw(1.0f, 1.0f, 1.0f, alpha, dx, dy, 1.0f, 1.0f);
}

#include "source_menu/ProgressBar.h"

#include "core/Assert.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/widgets/WidgetCanvas.h"

#include <utility>

void ProgressBar::init(const char* path)
{
    assignIfEmpty(name, nameFromPath(path));
    _ProgressBar::init(path);
    MyImage* frame = mWidget0->getImages()[0];
    const std::pair<float, float> origin = frame->getPosition();
    frame->setPosition(0.0f, 0.0f);
    for (WidgetCanvas* cell : mCanvases0) {
        MyImage* image = cell->getImages()[0];
        const std::pair<float, float> at = image->getPosition();
        image->setPosition(at.first - origin.first, at.second - origin.second);
    }
}

void ProgressBar::update()
{
    _ProgressBar::update();
}

void ProgressBar::draw()
{
    _ProgressBar::draw();
}

void ProgressBar::reset()
{
    _ProgressBar::reset();
}

MyImage* ProgressBar::getLevelImage(int i)
{
    PP_ASSERT(i >= 0 && i < static_cast<int>(mCanvases0.size()));
    return mCanvases0[i]->getImages()[0];
}

MyImage* ProgressBar::getFrameImage()
{
    PP_ASSERT(mWidget0 != nullptr);
    return mWidget0->getImages()[0];
}

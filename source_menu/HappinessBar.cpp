#include "source_menu/HappinessBar.h"

#include "core/Assert.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/widgets/WidgetCanvas.h"

void HappinessBar::init(const char* path)
{
    assignIfEmpty(name, nameFromPath(path));
    _HappinessBar::init(path);
    for (WidgetCanvas* picture : mCanvases0)
        picture->getImages()[0]->setPosition(0.0f, 0.0f);
}

void HappinessBar::update()
{
    _HappinessBar::update();
}

void HappinessBar::draw()
{
    _HappinessBar::draw();
}

void HappinessBar::reset()
{
    _HappinessBar::reset();
    Container::setEnabled(1);
}

MyImage* HappinessBar::getLevelImage(int level)
{
    PP_ASSERT(level >= 0 && level < static_cast<int>(mCanvases0.size()));
    return mCanvases0[level]->getImages()[0];
}

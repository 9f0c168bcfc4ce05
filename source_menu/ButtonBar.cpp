#include "source_menu/ButtonBar.h"

#include "core/Assert.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/widgets/WidgetButton.h"

#include <utility>

void ButtonBar::init(const char* path)
{
    assignIfEmpty(name, nameFromPath(path));
    _ButtonBar::init(path);
    for (WidgetButton* picture : mButtons0) {
        std::vector<MyImage*>& images = picture->getImages();
        if (images.empty())
            continue;
        const std::pair<float, float> origin = images[0]->getPosition();
        for (size_t j = 0; j < images.size(); ++j) {
            const std::pair<float, float> at = images[j]->getPosition();
            if (j < 2)
                images[j]->setPosition(0.0f, 0.0f);
            else
                images[j]->setPosition(at.first - origin.first, at.second - origin.second);
        }
    }
}

void ButtonBar::update()
{
    if (isEnabled())
        _ButtonBar::update();
}

void ButtonBar::draw()
{
    if (isVisible())
        _ButtonBar::draw();
}

void ButtonBar::reset()
{
    _ButtonBar::reset();
    Container::setEnabled(1);
}

MyImage* ButtonBar::getIconImage(int kind, int j)
{
    PP_ASSERT(kind >= 0 && kind < static_cast<int>(mButtons0.size()));
    std::vector<MyImage*>& images = mButtons0[kind]->getImages();
    PP_ASSERT(j >= 0 && j < static_cast<int>(images.size()));
    return images[j];
}

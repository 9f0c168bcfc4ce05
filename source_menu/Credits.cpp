#include "source_menu/Credits.h"

#include "core/ControlMngr.h"
#include "core/platform.h"
#include "render/CRender.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/widgets/WidgetCanvas.h"

namespace {
}

void Credits::init(const char* path)
{
    assignIfEmpty(name, nameFromPath(path));
    _Credits::init(path);
}

void Credits::update()
{
    if (!isEnabled())
        return;
    _Credits::update();
    const std::pair<int, int> states = getShowStates();
    if (states.second == kShowAppearing && states.first == kShowHidden)
        Container::setVisible(1);
    if (states.second == kShowShown && Singleton<ControlMngr>::get()->isPointerDown())
        quitRequested = 1;
}

void Credits::draw()
{
    if (!isVisible() || !mWidget0)
        return;
    if (!mWidget0->getImages().empty()) {
        const float aspect = CRender::get_aspect();
        mWidget0->getImages()[0]->setRect(0.5f - kBandHalfWidth * aspect, 0.0f, 2.0f * kBandHalfWidth * aspect,
                                          1.0f);
    }
    _Credits::draw();
}

#pragma once

// What the HUD's three folds share: their input gate, their reference offset and the images
// that follow the left screen edge.

#include "source_menu/MenuDateBar.h"
#include "source_menu/MenuIngame.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/widgets/Container.h"

#include <utility>

namespace hudfold {

// False while the fold is disabled, the game paused or a modal panel open: no input then.
inline bool acceptsInput(const Container& fold)
{
    const MenuDateBar* dateBar = Singleton<MenuDateBar>::get();
    return fold.isEnabled() && !dateBar->paused && !dateBar->modal;
}

// After the base update: visible in the update the fold starts to appear; true once shown
// (and its layout read: a fold without one, in tests of other screens, has nothing to act on).
inline bool settleShowState(Container& fold)
{
    const std::pair<int, int> show = fold.getShowStates();
    if (show.second == kShowAppearing && show.first == kShowHidden)
        fold.setVisible(1);
    return show.second == kShowShown && !fold.mChildren.empty();
}

// Where the fold's own buttons and gauges go: the reference widget's offset, plus the left edge.
inline std::pair<float, float> offsetOf(const WidgetBase* reference)
{
    const std::pair<float, float> offset = reference->getOffset();
    return {offset.first + MenuIngame::leftEdge(), offset.second};
}

// Image i of the widget at x = left + its layout x, its y kept.
inline void pinImage(WidgetBase* widget, size_t i, float left)
{
    std::vector<MyImage*>& images = widget->getImages();
    if (i < images.size())
        images[i]->setPosition(left + images[i]->getInitialRect().x, images[i]->getRect().y);
}

} // namespace hudfold

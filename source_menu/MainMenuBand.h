#pragma once

// The main-menu screens stretch their dimmed backdrop over the centred band of the screen:
// the 4:3 layout area widened to the window's aspect.

#include "render/CRender.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/widgets/WidgetBase.h"

// The widget's first image covers the band from top to bottom.
inline void stretchOverBand(WidgetBase* backdrop)
{
    if (backdrop->getImages().empty())
        return;
    const float aspect = CRender::get_aspect();
    const float left = 0.5f - kBandHalfWidth * aspect;
    const float right = 0.5f + kBandHalfWidth * aspect;
    backdrop->getImages()[0]->setRect(left, 0.0f, right - left, 1.0f);
}

#pragma once

// Behaviour a layout attaches to a widget by letters in its name, run first in every enabled update:
// ExtInput turns the pointer into layer states, ExtFade fades and slides the widget with its show
// transitions, ExtIncrease grows it while the pointer is over it. ExtTooltip shows a second widget
// after a hover delay (nothing creates one).

#include "toolkit/utils/Timer.h"
#include "toolkit/utils/misc.h"
#include "toolkit/widgets/WidgetBase.h"

#include <string>
#include <vector>

class ExtInput : public ExtensionBase {
public:
    static constexpr int kOpaqueAlpha = 100;

    ExtInput(WidgetBase* owner, const std::string& screenName);
    void reset() override {}
    // Pointer to layer state: over an opaque texel 1, pressed inside 2, released over an opaque
    // texel 3 (for one update), else 0.
    void step() override;

    float4 mHitRect;
    std::string mScreenName;
};

class ExtFade : public ExtensionBase {
public:
    enum { kFromLeft = 0, kFromRight = 1, kFromAbove = 2, kFromBelow = 3, kFadeOnly = 4 };
    static constexpr float kSlide = 0.12f;

    ExtFade(WidgetBase* owner, int direction, int duration);
    void reset() override { mRamp = 0; }
    void step() override;

    int mDirection;
    int mCounter = -1;  // ms into the fade; never reset, so a new show starts where the last fade left
    int mRamp = 0;      // 0 fading in, 1 still, 2 fading out
    int mDuration;
};

class ExtIncrease : public ExtensionBase {
public:
    static constexpr float kPeakPhase = 2.1991148f;  // 0.7 pi

    // The grow form: up to 1 + amplitude times the size, about the widget's centre.
    ExtIncrease(WidgetBase* owner, int duration, float amplitude);
    // The move-to form: towards the target rectangle.
    ExtIncrease(WidgetBase* owner, int duration, float x, float y, float w, float h);
    void reset() override { mAtRest = 1; }
    void step() override;

    Timer mPhase;
    int mDuration;
    float4 mTarget;
    float mAmplitude;
    std::vector<MyImage*> mImages;
    int mAtRest = 1;
};

class ExtTooltip : public ExtensionBase {
public:
    static constexpr float kPhaseStep = 0.05697189f;
    static constexpr float kMaxPhase = 2.1991148f;

    // Delays in ms: hovering before hiding, hovering before showing, not hovering before hiding.
    ExtTooltip(WidgetBase* owner, WidgetBase* tooltip, int hoverHideMs, int hoverShowMs, int leaveHideMs);
    void reset() override;
    void step() override;
    void say() override;

    int mState = 0;  // 0 idle, 1 growing, 2 shown, 3 shrinking
    WidgetBase* mTooltip;
    float mPhase = 0;
    int mHoverSteps = 0;
    int mLeaveSteps = 0;
    int mHoverHideMs;
    int mHoverShowMs;
    int mLeaveHideMs;
};

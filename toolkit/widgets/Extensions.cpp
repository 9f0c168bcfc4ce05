#include "toolkit/widgets/Extensions.h"

#include "core/ControlMngr.h"
#include "core/Singleton.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/widgets/ParticleManager.h"

#include <algorithm>
#include <cmath>

// Index: input - fade - grow - tooltip

namespace {

constexpr float kHalfPi = 1.5707964f;

// Press effect of the input extension (the hook spawns nothing).
constexpr int kPressParticles = 15;
constexpr float kPressSpeed = 0.002f;
constexpr int kPressLifeMs = 400;

int clampToIndex(float value, int size)
{
    if (!(value >= 0))
        return 0;
    if (value >= static_cast<float>(size - 1))
        return size - 1;
    return static_cast<int>(value);
}

} // namespace

// ---- input

ExtInput::ExtInput(WidgetBase* owner, const std::string& screenName)
    : ExtensionBase(owner), mHitRect(0, 0, 0, 0), mScreenName(screenName)
{
}

void ExtInput::step()
{
    const int lc = owner->getLayerStates().second;
    if (lc >= 0 && lc < WidgetBase::kRecordCount && !owner->getStateRecord(lc).empty())
        mHitRect = owner->getCurrentRect();
    if (lc == kLayerReleased) {
        owner->setLayerState(kLayerOver);
        return;
    }

    const float4 clip = owner->getClipRect();
    const float4 transform = owner->getTransform();
    int result = 0;
    for (sDevice* device : ControlMngr::get()->mPointerDevices) {
        float px = device->data[kPointerXWord].f - transform.x;
        float py = device->data[kPointerYWord].f - transform.y;
        bool inside = px > clip.x && py > clip.y && px < clip.x + clip.z && py < clip.y + clip.w
                      && px > mHitRect.x && py > mHitRect.y && px < mHitRect.x + mHitRect.z * transform.z
                      && py < mHitRect.y + mHitRect.w * transform.w;
        if (!inside)
            continue;
        if (result < 2) {
            // The opaque test: only a loaded picture can be pointed at.
            MyImage* current = owner->getCurrentImage();
            if (!current || !current->isLoaded() || !current->getImage())
                continue;
            const std::vector<MyImage*>& images = owner->getImages();
            float4 d = (lc >= 0 && static_cast<size_t>(lc) < images.size() ? images[lc] : images[0])->getDrawRect();
            int width = 0, height = 0;
            current->getImage()->get_size(&width, &height);
            if (width > 0 && height > 0 && d.z > 0 && d.w > 0 && transform.z != 0 && transform.w != 0) {
                float u = (px - d.x) / d.z;
                float v = (py - d.y) / d.w;
                int column = clampToIndex(u * static_cast<float>(width) / transform.z, width);
                int row = clampToIndex(static_cast<float>(height) - v * static_cast<float>(height) / transform.w,
                                       height);
                if (current->getImage()->get_alpha(column, row) > kOpaqueAlpha)
                    result = 1;
            }
        }
        if (device->data[kPointerButtonWord].i) {
            if (lc == kLayerOver)
                Singleton<ParticleManager>::get()->emitAt(mScreenName, 0, device->data[kPointerXWord].f, device->data[kPointerYWord].f,
                                                          kPressParticles, kPressSpeed, kPressLifeMs);
            result = 2;
        }
    }
    if (lc == kLayerClick && result == 1)
        result = kLayerReleased;
    owner->setLayerState(result);
}

// ---- fade

ExtFade::ExtFade(WidgetBase* owner, int direction, int duration)
    : ExtensionBase(owner), mDirection(direction), mDuration(duration)
{
}

void ExtFade::step()
{
    std::pair<int, int> show = owner->getShowStates();
    if (show.second == kShowAppearing && show.first == kShowHidden)
        mRamp = 0;
    else if (show.second == kShowDisappearing && show.first == kShowShown)
        mRamp = 2;

    if (mRamp == 0) {
        mCounter += WidgetBase::kStepMs;
        if (mCounter > mDuration) {
            mCounter = mDuration;
            mRamp = 1;
        }
    } else if (mRamp == 2) {
        mCounter -= WidgetBase::kStepMs;
        if (mCounter < 0) {
            mCounter = 0;
            mRamp = 1;
        }
    }

    // A fade of no duration is instant: fully shown unless hiding or hidden.
    float share;
    if (mDuration > 0)
        share = static_cast<float>(mCounter) / static_cast<float>(mDuration);
    else
        share = (show.second == kShowAppearing || show.second == kShowShown) ? 1.0f : 0.0f;
    owner->setColor(1, 1, 1, share);

    if (mDirection == kFadeOnly)
        return;
    float k = mDuration > 0 ? std::sin(static_cast<float>(mCounter) * kHalfPi / static_cast<float>(mDuration))
                            : share;
    float slideIn = kSlide * k - kSlide;  // from -0.12 to 0
    switch (mDirection) {
    case kFromLeft: owner->setTransform(slideIn, 0, 1, 1); break;
    case kFromRight: owner->setTransform(-slideIn, 0, 1, 1); break;
    case kFromAbove: owner->setTransform(0, slideIn, 1, 1); break;
    case kFromBelow: owner->setTransform(0, -slideIn, 1, 1); break;
    default: break;
    }
}

// ---- grow

ExtIncrease::ExtIncrease(WidgetBase* owner, int duration, float amplitude)
    : ExtensionBase(owner), mDuration(duration), mTarget(0, 0, 0, 0), mAmplitude(amplitude),
      mImages(owner->getImages())
{
}

ExtIncrease::ExtIncrease(WidgetBase* owner, int duration, float x, float y, float w, float h)
    : ExtensionBase(owner), mDuration(duration), mTarget(x, y, w, h), mAmplitude(1.0f),
      mImages(owner->getImages())
{
}

void ExtIncrease::step()
{
    if (owner->getShowStates().second != kShowShown) {
        mAtRest = 1;
        mPhase.reset();
        return;
    }
    int lc = owner->getLayerStates().second;
    if (lc == kLayerOver) {
        if (mAtRest && mPhase.value() == 0.0f) {
            mAtRest = 0;
            mPhase.start(mDuration, 0.0f, kPeakPhase, 0.0f, 0);
        }
    } else if (lc == kLayerNormal) {
        if (!mAtRest && mPhase.value() != 0.0f) {
            mAtRest = 1;
            mPhase.retarget(0);
        }
    }
    // A widget without pictures has no size to grow.
    if (mImages.empty())
        return;
    float4 r = mImages.front()->getRect();
    float s = mAmplitude * std::sin(mPhase.value());
    if (mTarget.x == 0 && mTarget.y == 0 && mTarget.z == 0 && mTarget.w == 0) {
        owner->setTransform(-s * r.z / 2, -s * r.w / 2, 1 + s, 1 + s);
    } else {
        float sx = r.z != 0 ? 1 + s * (mTarget.z - r.z) / r.z : 1;
        float sy = r.w != 0 ? 1 + s * (mTarget.w - r.w) / r.w : 1;
        owner->setTransform(s * (mTarget.x - r.x), s * (mTarget.y - r.y), sx, sy);
    }
}

// ---- tooltip

ExtTooltip::ExtTooltip(WidgetBase* owner, WidgetBase* tooltip, int hoverHideMs, int hoverShowMs, int leaveHideMs)
    : ExtensionBase(owner), mTooltip(tooltip), mHoverHideMs(hoverHideMs), mHoverShowMs(hoverShowMs),
      mLeaveHideMs(leaveHideMs)
{
    mTooltip->setVisible(0);
}

void ExtTooltip::reset()
{
    mState = 0;
    mPhase = 0;
    mHoverSteps = 0;
    mLeaveSteps = 0;
    mTooltip->setVisible(0);
}

void ExtTooltip::say()
{
    if (owner->isVisible() && owner->isEnabled()) {
        mTooltip->setVisible(1);
    } else {
        reset();
        mTooltip->reset();
    }
}

void ExtTooltip::step()
{
    const std::pair<int, int> layer = owner->getLayerStates();
    const std::pair<int, int> show = owner->getShowStates();
    const int lp = layer.first, lc = layer.second;
    if (lc == kLayerNormal && (show.second == kShowAppearing || show.second == kShowHidden))
        reset();
    const bool hideBegun = show.first == kShowShown && show.second == kShowDisappearing;
    if (hideBegun)
        mState = 3;

    switch (mState) {
    case 0:
        if (lc == kLayerOver) {
            if (++mHoverSteps >= mHoverShowMs / WidgetBase::kStepMs) {
                mState = 1;
                mPhase = 0;
            }
        } else {
            mHoverSteps = 0;
        }
        break;
    case 1:
        mPhase += kPhaseStep;
        if (mPhase > kMaxPhase) {
            mState = 2;
            mPhase = kMaxPhase;
            mHoverSteps = 0;
            mLeaveSteps = 0;
        }
        break;
    case 2:
        if (lc == kLayerNormal) {
            mHoverSteps = 0;
            if (++mLeaveSteps >= mLeaveHideMs / WidgetBase::kStepMs)
                mState = 3;
        } else if (lc == kLayerOver) {
            mLeaveSteps = 0;
            if (++mHoverSteps >= mHoverHideMs / WidgetBase::kStepMs)
                mState = 3;
        }
        break;
    case 3:
        mPhase -= kPhaseStep;
        if ((mPhase < 0 && lc == kLayerNormal) || (lc == kLayerOver && lp == kLayerNormal)) {
            mState = lc;
            mHoverSteps = 0;
        }
        if (mPhase < 0)
            mPhase = 0;
        break;
    }

    const std::vector<MyImage*>& images = mTooltip->getImages();
    float4 r = images.empty() ? float4(0, 0, 0, 0) : images.front()->getRect();
    float s = 0.5f * std::sin(mPhase) - 0.32f;
    mTooltip->setTransform(-s * r.z / 2, -s * r.w / 2, 1 + s, 1 + s);
    float alpha = std::min(mPhase * 0.4547284f, 0.875f);
    mTooltip->setVisible(alpha >= 0.01f ? 1 : 0);
    mTooltip->setColor(1, 1, 1, alpha);
}

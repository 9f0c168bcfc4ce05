#include "toolkit/widgets/WidgetButton.h"

#include "core/Logger.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/utils/misc.h"
#include "toolkit/widgets/WidgetLabel.h"

WidgetButton::WidgetButton(const std::wstring& buttonName, const std::vector<Layer>& layers)
{
    std::vector<int> normal, over, click;
    for (const Layer& layer : layers) {
        int index = addLayerImage(layer);
        std::wstring lower = toLowerWide(layer.mName);
        if (lower == L"normal") {
            normal.push_back(index);
        } else if (lower == L"over") {
            over.push_back(index);
        } else if (lower == L"click") {
            click.push_back(index);
        } else if (lower.compare(0, 5, L"label") == 0) {
            // A later label layer replaces an earlier one; its picture is loaded but never drawn.
            delete mLabel;
            mLabel = new WidgetLabel(layer.mName, layer.mRect.x, layer.mRect.y, layer.mRect.z, layer.mRect.w);
        } else {
            std::wstring message = L"nie rozpoznano nazwy warstwy (WidgetButton): " + layer.mName;
            Logger::get()->log(message);
            Logger::get()->assertMessage(0, wideToString(message).c_str());
        }
    }
    mRecords[kLayerNormal] = normal;
    mRecords[kLayerOver] = over.empty() ? normal : over;
    mRecords[kLayerClick] = click.empty() ? normal : click;
    mRecords[kLayerReleased] = mRecords[kLayerOver];

    mLayerPrev = 0;
    mShowCur = 0;
    mShowPrev = 0;
    if (mLabel) {
        mLabel->setEnabled(1);
        mLabel->setVisible(1);
    }
    assignNameFromPieces(*this, buttonName, "button");
}

WidgetButton::~WidgetButton()
{
    delete mLabel;
}

void WidgetButton::onStateChanged()
{
    if (mLabel)
        mLabel->setStateDirect(mShowCur);
}

// A button disabled from outside (not by its own step) still takes one step at its next update.
void WidgetButton::update()
{
    if (mEnabled) {
        stepState();
        if (mLabel)
            mLabel->update();
        mDisabledUpdated = !mEnabled;
    }
    if (!mEnabled && !mDisabledUpdated) {
        stepState();
        mDisabledUpdated = 1;
    }
}

void WidgetButton::draw()
{
    if (mLabel)
        mLabel->setVisible(mVisible);
    if (!mVisible) {
        if (!mHiddenDrawn) {
            afterDraw();
            mHiddenDrawn = 1;
        }
        return;
    }
    if (mLayerCur >= 0 && mLayerCur < kRecordCount)
        drawRecord(mLayerCur);
    if (mLabel) {
        mLabel->setTransform(mTransform.x, mTransform.y, mTransform.z, mTransform.w);
        mLabel->setColor(mColor.x, mColor.y, mColor.z, mColor.w);
        mLabel->draw();
    }
    afterDraw();
    mHiddenDrawn = !mVisible;
}

void WidgetButton::reset()
{
    mLayerPrev = 0;
    mShowCur = 0;
    mShowPrev = 0;
    resetExtensions();
}

void WidgetButton::addOverImage(MyImage* other, int alsoClick, int replace)
{
    if (!other || mImages.empty())
        return;
    float4 first = mImages.front()->getRect();
    float4 size = other->getRect();
    float4 drawSize = other->getDrawRect();
    MyImage* image = new MyImage("", first.x, first.y, size.z, size.w, first.x, first.y, drawSize.z, drawSize.w);
    image->setImage(other->getImage());
    int index = static_cast<int>(mImages.size());
    mImages.push_back(image);
    if (replace)
        mRecords[kLayerOver].assign(1, index);
    else
        mRecords[kLayerOver].push_back(index);
    if (alsoClick)
        mRecords[kLayerClick] = mRecords[kLayerOver];
}

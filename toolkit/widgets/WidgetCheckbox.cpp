#include "toolkit/widgets/WidgetCheckbox.h"

#include "core/Assert.h"
#include "core/Logger.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/utils/misc.h"
#include "toolkit/widgets/WidgetLabel.h"

namespace {

[[noreturn]] void badCheckbox(const std::wstring& name, const std::string& what)
{
    std::string message = "checkbox '" + wideToString(name) + "': " + what;
    pp_assert_fail(__FILE__, __LINE__, message.c_str());
}

} // namespace

WidgetCheckbox::WidgetCheckbox(const std::wstring& boxName, const std::vector<Layer>& layers)
{
    // The state layers must be numbered from 1 without gaps: "state1", "state2", ...
    int stateLayers = 0;
    for (const Layer& layer : layers)
        if (toLowerWide(layer.mName).find(L"state") != std::wstring::npos)
            ++stateLayers;
    for (int k = 1; k <= stateLayers; ++k) {
        std::wstring wanted = L"state" + std::to_wstring(k);
        int found = -1;
        for (size_t i = 0; i < layers.size() && found < 0; ++i)
            if (layers[i].mName == wanted)
                found = static_cast<int>(i);
        if (found < 0)
            badCheckbox(boxName, "warstwa stanu ma złą nazwę (no layer " + wideToString(wanted) + ")");
        mStatePictures.push_back(found);
    }

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
            delete mLabel;
            mLabel = new WidgetLabel(layer.mName, layer.mRect.x, layer.mRect.y, layer.mRect.z, layer.mRect.w);
        }
    }
    if (mStatePictures.empty()) {
        Logger::get()->log(boxName + L" nie ma stanow");
        badCheckbox(boxName, "checkbox ma zero stanow");
    }

    mHasNormal = normal.empty() ? 0 : 1;
    if (!normal.empty())
        mRecords[kLayerNormal] = normal;
    else if (!over.empty())
        mRecords[kLayerNormal] = over;
    else if (!click.empty())
        mRecords[kLayerNormal] = click;
    else
        mRecords[kLayerNormal].assign(1, mStatePictures.front());
    mRecords[kLayerOver] = over;
    mRecords[kLayerClick] = click;
    mRecords[kLayerReleased] = over;

    mPressed = 0;
    mValue = 0;
    if (mLabel) {
        mLabel->setEnabled(1);
        mLabel->setVisible(1);
    }
    assignNameFromPieces(*this, boxName, "checkbox");
}

WidgetCheckbox::~WidgetCheckbox()
{
    delete mLabel;
}

void WidgetCheckbox::onStateChanged()
{
    if (mLabel)
        mLabel->setStateDirect(mShowCur);
}

void WidgetCheckbox::setValue(int value)
{
    int last = getStateCount() - 1;
    mValue = value < 0 ? 0 : (value > last ? last : value);
}

// The value steps at the press (over to click), not at the release.
void WidgetCheckbox::update()
{
    if (mEnabled) {
        stepState();
        if (mLayerPrev == kLayerOver && mLayerCur == kLayerClick) {
            mValue = mValue + 1 >= getStateCount() ? 0 : mValue + 1;
            for (WidgetCheckbox* peer : mGroup)
                peer->mPressed = 0;
            mPressed = 1;
        }
        if (mLabel)
            mLabel->update();
        mDisabledUpdated = !mEnabled;
    }
    if (!mEnabled && !mDisabledUpdated) {
        stepState();
        mDisabledUpdated = 1;
    }
}

void WidgetCheckbox::draw()
{
    if (!mVisible) {
        if (!mHiddenDrawn) {
            afterDraw();
            mHiddenDrawn = 1;
        }
        return;
    }
    auto drawImage = [this](int index) {
        if (index >= 0 && static_cast<size_t>(index) < mImages.size())
            mImages[index]->draw(mColor.x, mColor.y, mColor.z, mColor.w, mTransform.x, mTransform.y, mTransform.z,
                                 mTransform.w);
    };
    if (!mStatePictures.empty()) {
        int value = mValue < 0 ? 0 : (mValue >= getStateCount() ? getStateCount() - 1 : mValue);
        drawImage(mStatePictures[value]);
    }
    if ((mLayerCur == kLayerOver || mLayerCur == kLayerReleased) && !mHasNormal)
        drawRecord(mLayerCur);
    if (mPressed && !mRecords[kLayerClick].empty())
        drawImage(mRecords[kLayerClick].front());
    if (mLabel) {
        mLabel->setTransform(mTransform.x, mTransform.y, mTransform.z, mTransform.w);
        mLabel->setColor(mColor.x, mColor.y, mColor.z, mColor.w);
        mLabel->draw();
    }
    afterDraw();
    mHiddenDrawn = !mVisible;
}

void WidgetCheckbox::reset()
{
    resetExtensions();
    mPressed = 0;
}

#include "toolkit/widgets/WidgetBase.h"

#include "core/Assert.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/utils/PSDImport.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace {

constexpr float kMinClipSize = 0.0001f;

} // namespace

float4 WidgetBaseBase::getRect() const
{
    return rects.empty() ? float4(0, 0, 0, 0) : rects.front();
}

void assignIfEmpty(std::string& target, const std::string& value)
{
    if (target.empty())
        target = value;
}

void assignNameFromPieces(WidgetBaseBase& element, const std::wstring& layoutName, const char* what)
{
    std::vector<std::wstring> parts = splitWide(layoutName, L"_");
    if (parts.size() < 2) {
        std::string message = std::string(what) + " '" + wideToString(layoutName)
                              + "': nazwa kontrolki jest nieprawidłowa";
        pp_assert_fail(__FILE__, __LINE__, message.c_str());
    }
    assignIfEmpty(element.name, wideToString(parts[0] + L"_" + parts[1]));
}

WidgetBase::WidgetBase()
    : mTransform(0, 0, 1, 1)
    , mColor(1, 1, 1, 1)
    , mClip(-1, -1, 3, 3)
{
}

WidgetBase::~WidgetBase()
{
    // Widgets own their images and extensions; they live as long as their screen.
    for (MyImage* image : mImages)
        delete image;
    for (ExtensionBase* ext : mExtensions)
        delete ext;
}

bool WidgetBase::isLoaded()
{
    for (MyImage* image : mImages)
        if (!image->isLoaded())
            return false;
    return true;
}

void WidgetBase::reset()
{
    mVisible = 1;
    mEnabled = 1;
    mLayerPrev = 0;
    mLayerCur = 0;
    mShowCur = 0;
    mShowPrev = 0;
    mSuppress = 0;
    mTransform = float4(0, 0, 1, 1);
}

void WidgetBase::setOffset(float x, float y)
{
    mTransform.x = x;
    mTransform.y = y;
}

void WidgetBase::setTransform(float x, float y, float sx, float sy)
{
    mTransform = float4(x, y, sx, sy);
}

void WidgetBase::setColor(float r, float g, float b, float a)
{
    mColor = float4(r, g, b, a);
}

void WidgetBase::setClipRect(float x, float y, float w, float h)
{
    // A zero, negative or not-a-number size becomes a tiny clip instead of a division hazard.
    if (!(w > kMinClipSize))
        w = kMinClipSize;
    if (!(h > kMinClipSize))
        h = kMinClipSize;
    mClip = float4(x, y, w, h);
    for (MyImage* image : mImages)
        image->setClipRect(x, y, w, h);
}

void WidgetBase::setEnabled(int flag)
{
    mEnabled = flag;
    if (!flag) {
        mLayerPrev = 0;
        mLayerCur = 0;
    }
}

void WidgetBase::setLayerState(int s)
{
    mLayerPrev = mLayerCur;
    mLayerCur = s;
}

MyImage* WidgetBase::getCurrentImage() const
{
    if (mImages.empty())
        return nullptr;
    if (mLayerCur >= 0 && mLayerCur < kRecordCount
        && static_cast<size_t>(mLayerCur) < mRecords[0].size()) {
        const std::vector<int>& record = mRecords[mLayerCur];
        if (!record.empty() && record.front() >= 0
            && static_cast<size_t>(record.front()) < mImages.size())
            return mImages[record.front()];
    }
    return mImages.front();
}

float4 WidgetBase::getCurrentRect() const
{
    if (mLayerCur >= 0 && mLayerCur < kRecordCount) {
        const std::vector<int>& record = mRecords[mLayerCur];
        if (!record.empty() && record.front() >= 0
            && static_cast<size_t>(record.front()) < mImages.size())
            return mImages[record.front()]->getRect();
    }
    return mImages.empty() ? float4(0, 0, 0, 0) : mImages.front()->getRect();
}

void WidgetBase::addExtension(ExtensionBase* ext, int quiet)
{
    mExtensions.push_back(ext);
    if (!quiet)
        onExtensionAdded(ext);
}

void WidgetBase::insertExtensionFront(ExtensionBase* ext, int quiet)
{
    mExtensions.insert(mExtensions.begin(), ext);
    if (!quiet)
        onExtensionAdded(ext);
}

void WidgetBase::resetExtensions()
{
    for (ExtensionBase* ext : mExtensions)
        ext->reset();
}

void WidgetBase::setState(const std::string& tag, int target, int ms)
{
    mTag = tag;
    mTimer = ms;
    mSuppress = 1;
    if (mShowCur == kShowHidden && target == kShowShown) {
        reset();
        mVisible = 1;
        mEnabled = 1;
        mShowPrev = mShowCur;
        mShowCur = kShowAppearing;
        onStateChanged();
        mShowNext = kShowShown;
    } else if (mShowCur == kShowShown && target == kShowHidden) {
        mShowPrev = kShowShown;
        mShowCur = kShowDisappearing;
        onStateChanged();
        mShowNext = kShowHidden;
    }
    // Any other combination only restarts the timer; the running transition keeps its end state.
}

void WidgetBase::stepState()
{
    for (ExtensionBase* ext : mExtensions)
        ext->step();

    if (mShowCur != mShowPrev && !mSuppress) {
        mShowPrev = mShowCur;
        onStateChanged();
    }

    if ((mShowCur == kShowAppearing || mShowCur == kShowDisappearing) && mTimer < 0) {
        mShowPrev = mShowCur;
        mShowCur = mShowNext;
        onStateChanged();
        if (mShowCur == kShowHidden) {
            mVisible = 0;
            mLayerPrev = 0;
            mLayerCur = 0;
            mEnabled = 0;
        }
    }

    mTimer -= kStepMs;
    mSuppress = 0;
}

void WidgetBase::setTransition(const std::string& tag, int state, int next, int ms)
{
    mTag = tag;
    mShowCur = state;
    mShowNext = next;
    mTimer = ms;
}

void WidgetBase::setStateDirect(int state)
{
    mShowPrev = mShowCur;
    mShowCur = state;
    onStateChanged();
}

std::string WidgetBase::nameFromPath(const std::string& path)
{
    std::vector<std::string> pieces;
    std::string piece;
    for (char c : path) {
        if (c == '/' || c == '\\' || c == '.') {
            if (!piece.empty())
                pieces.push_back(piece);
            piece.clear();
        } else {
            piece += c;
        }
    }
    if (!piece.empty())
        pieces.push_back(piece);
    PP_ASSERT_MSG(pieces.size() >= 2, "sciezka do pliku jest zepsuta - brak kropki");
    std::string name = pieces[pieces.size() - 2];
    for (char& c : name)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return name;
}

void WidgetBase::drawRecord(int k)
{
    for (int index : mRecords[k])
        if (index >= 0 && static_cast<size_t>(index) < mImages.size())
            mImages[index]->draw(mColor.x, mColor.y, mColor.z, mColor.w,
                                 mTransform.x, mTransform.y, mTransform.z, mTransform.w);
}

void WidgetBase::loadImages()
{
    for (MyImage* image : mImages)
        image->load();
}

void WidgetBase::unloadImages()
{
    for (MyImage* image : mImages)
        image->unload();
}

int WidgetBase::addLayerImage(const Layer& layer)
{
    mImages.push_back(new MyImage(layer.mPath, layer.mRect.x, layer.mRect.y, layer.mRect.z, layer.mRect.w,
                                  layer.mDrawRect.x, layer.mDrawRect.y, layer.mDrawRect.z, layer.mDrawRect.w));
    rects.push_back(layer.mRect);
    return static_cast<int>(mImages.size()) - 1;
}

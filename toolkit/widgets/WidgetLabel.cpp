#include "toolkit/widgets/WidgetLabel.h"

#include "core/Assert.h"
#include "core/Logger.h"
#include "core/Singleton.h"
#include "toolkit/utils/FontStyle.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/utils/misc.h"

#include <boost/lexical_cast.hpp>

// Index: text measuring and line breaking - construction - text - update - layout and draw

namespace {

constexpr float kMinAlpha = 0.0001f;

// One font call: draws (drawFlag 1) or only measures (0); returns the advance of the text.
float fontDraw(CRender::Font* font, const std::wstring& text, float x, float y, float size, float widthFactor,
               const float4& colour, int drawFlag)
{
    if (!font)
        return 0.0f;
    return font->draw(text.c_str(), x, y, size, widthFactor, 0.0f, colour.x, colour.y, colour.z, colour.w,
                      drawFlag);
}

bool isLabelLayer(const std::wstring& name)
{
    return toLowerWide(name.substr(0, 5)) == L"label";
}

[[noreturn]] void badLabel(const std::wstring& name, const std::string& what)
{
    std::string message = "label '" + wideToString(name) + "': " + what;
    pp_assert_fail(__FILE__, __LINE__, message.c_str());
}

} // namespace

// ---- text measuring and line breaking

float measureTextWidth(float size, float widthFactor, float advanceFactor, CRender::Font* font,
                       const std::wstring& text)
{
    float width = 0.0f;
    const float4 white(1, 1, 1, 1);
    for (wchar_t c : text)
        width += fontDraw(font, std::wstring(1, c), 0, 0, size, widthFactor, white, 0) * advanceFactor;
    return width;
}

std::vector<std::wstring> splitTextToLines(float size, float widthFactor, float advanceFactor, float maxWidth,
                                           CRender::Font* font, const std::vector<std::wstring>& words)
{
    std::vector<std::wstring> lines;
    if (words.empty())
        return lines;
    std::wstring current = words.front();
    for (size_t i = 1; i < words.size(); ++i) {
        std::wstring candidate = current.empty() ? words[i] : current + L" " + words[i];
        if (measureTextWidth(size, widthFactor, advanceFactor, font, candidate) > maxWidth) {
            lines.push_back(current);
            current = words[i];
        } else {
            current = candidate;
        }
    }
    if (!current.empty())
        lines.push_back(current);
    return lines;
}

std::vector<std::wstring> splitTextToLinesAlt(float size, float widthFactor, float advanceFactor, float maxWidth,
                                              CRender::Font* font, const std::wstring& text)
{
    return splitTextToLines(size, widthFactor, advanceFactor, maxWidth, font, splitWide(text, L" "));
}

// ---- construction

WidgetLabel::WidgetLabel(const std::wstring& name, float x, float y, float w, float h)
{
    setupFromName(name, x, y, w, h);
    checkStyle();
}

WidgetLabel::WidgetLabel(const std::vector<Layer>& layers)
{
    if (layers.empty()) {
        Logger::get()->log(L"helperowi brakuje layerow");
        PP_ASSERT_MSG(false, "pusty wektor layerow w konstruktorze WidgetLabel");
    }
    const Layer* label = nullptr;
    for (const Layer& layer : layers)
        if (!label && isLabelLayer(layer.mName))
            label = &layer;
    if (!label) {
        std::string message = "label powinien mieć określony styl\n";
        message = "group of '" + wideToString(layers.front().mName) + "': " + message;
        pp_assert_fail(__FILE__, __LINE__, message.c_str());
    }
    setupFromName(label->mName, label->mRect.x, label->mRect.y, label->mRect.z, label->mRect.w);
    for (const Layer& layer : layers) {
        if (&layer == label)
            continue;
        addLayerImage(layer);
    }
    mHiddenDrawn = 0;
    mDisabledUpdated = 0;
    checkStyle();
}

void WidgetLabel::setupFromName(const std::wstring& labelName, float x, float y, float w, float h)
{
    mWrap = 1;
    mImages.push_back(new MyImage("", x, y, w, h, x, y, w, h));
    rects.push_back(float4(x, y, w, h));
    std::vector<std::wstring> parts = splitWide(labelName, L"_");
    if (parts.size() < 3)
        badLabel(labelName, "nazwa kontrolki jest nieprawidłowa");
    try {
        mStyle = boost::lexical_cast<int>(parts[2]);
    } catch (const boost::bad_lexical_cast&) {
        badLabel(labelName, "style '" + wideToString(parts[2]) + "' is not a number");
    }
    mText = textsManager.getByString(parts[1]);
    mTextId = parts[1];
    assignIfEmpty(name, wideToString(parts[0] + L"_" + parts[1]));
    mWords = splitWide(mText, L" ");
    mLayoutDirty = 1;
}

// A style number must name a line of the styles file: the label indexes the style table with it.
void WidgetLabel::checkStyle() const
{
    if (mStyle == kNoStyle)
        badLabel(stringToWide(name), "label powinien mieć określony styl\n");
    FontStylesMgr* styles = Singleton<FontStylesMgr>::get();
    if (!styles->hasStyle(mStyle))
        badLabel(stringToWide(name), "font style " + std::to_string(mStyle) + " is not in the styles table (" +
                                         std::to_string(styles->styleCount()) + " styles)");
}

// ---- text

void WidgetLabel::setText(const std::wstring& text, int isTextId, int wrap)
{
    if (isTextId) {
        mText = textsManager.getByString(text);
        mTextId = text;
    } else {
        mText = text;
    }
    mWrap = wrap;
    mWords = splitWide(mText, L" ");
    mLayoutDirty = 1;
}

int WidgetLabel::getLineCount()
{
    layoutText();
    return static_cast<int>(mLines.size());
}

// ---- update

// A label disabled from outside (not by its own step) still takes one step at its next update.
void WidgetLabel::update()
{
    if (mEnabled) {
        stepState();
        mDisabledUpdated = !mEnabled;
    }
    if (!mEnabled && !mDisabledUpdated) {
        stepState();
        mDisabledUpdated = 1;
    }
}

// ---- layout and draw

void WidgetLabel::layoutText()
{
    FontStylesMgr* styles = Singleton<FontStylesMgr>::get();
    const FontStylesMgr::FontStyle& style = styles->getStyle(mStyle);
    CRender::Font* font = styles->getFont(style);
    if (!mWrap) {
        mLines.assign(1, mText);
        return;
    }
    float size = style.mSize * mTransform.w;
    float boxWidth = mImages.front()->getRect().z;
    if (mCachedFont == font && !mLayoutDirty && mCachedSize == size && mCachedWidthFactor == style.mWidthFactor
        && mCachedAdvanceFactor == style.mAdvanceFactor && mCachedBoxWidth == boxWidth
        && mCachedLayoutKey == mLayoutKey)
        return;
    mLines = splitTextToLines(size, style.mWidthFactor, style.mAdvanceFactor, boxWidth, font, mWords);
    mCachedFont = font;
    mCachedSize = size;
    mCachedWidthFactor = style.mWidthFactor;
    mCachedAdvanceFactor = style.mAdvanceFactor;
    mCachedBoxWidth = boxWidth;
    mCachedLayoutKey = mLayoutKey;
    mLayoutDirty = 0;
}

void WidgetLabel::draw()
{
    if (!mVisible) {
        if (!mHiddenDrawn) {
            afterDraw();
            mHiddenDrawn = 1;
        }
        return;
    }
    for (MyImage* image : mImages)
        image->draw(mColor.x, mColor.y, mColor.z, mColor.w, mTransform.x, mTransform.y, mTransform.z,
                    mTransform.w);

    FontStylesMgr* styles = Singleton<FontStylesMgr>::get();
    const FontStylesMgr::FontStyle& style = styles->getStyle(mStyle);
    if (1.0f * mColor.w >= kMinAlpha) {
        layoutText();
        CRender::Font* font = styles->getFont(style);
        float4 box = mImages.front()->getRect();
        float scaledSize = style.mSize * mTransform.w;
        float4 colour(mColor.x * style.mColor.x, mColor.y * style.mColor.y, mColor.z * style.mColor.z,
                      mColor.w * style.mColor.w);
        float y0 = box.y + mTransform.y;
        if (style.mVAlign == FontStylesMgr::kAlignMiddle)
            y0 = box.y + box.w * mTransform.w * 0.5f - scaledSize * 0.5f + mTransform.y;
        else if (style.mVAlign == FontStylesMgr::kAlignBottom)
            y0 = box.y + box.w * mTransform.w - scaledSize + mTransform.y;
        bool wholeLines = style.mAdvanceFactor > 0.999f && style.mAdvanceFactor < 1.0001f;
        for (size_t i = 0; i < mLines.size(); ++i) {
            const std::wstring& line = mLines[i];
            float top = y0 + static_cast<float>(i) * style.mSize * mTransform.w;
            float x = box.x + mTransform.x;
            if (style.mHAlign != FontStylesMgr::kAlignLeft) {
                float width = measureTextWidth(scaledSize, style.mWidthFactor, style.mAdvanceFactor, font, line);
                if (style.mHAlign == FontStylesMgr::kAlignCentre)
                    x = box.x + box.z * mTransform.z * 0.5f - width * 0.5f + mTransform.x;
                else
                    x = box.x + box.z * mTransform.z - width + mTransform.x;
            }
            if (wholeLines) {
                fontDraw(font, line, x, top, scaledSize, style.mWidthFactor, colour, 1);
            } else {
                for (wchar_t c : line) {
                    std::wstring one(1, c);
                    float advance = fontDraw(font, one, 0, 0, scaledSize, style.mWidthFactor, colour, 0);
                    fontDraw(font, one, x, top, scaledSize, style.mWidthFactor, colour, 1);
                    x += advance * style.mAdvanceFactor;
                }
            }
        }
    }
    mHiddenDrawn = !mVisible;
}

#include "toolkit/widgets/WidgetEdit.h"

#include "core/Assert.h"
#include "core/ControlMngr.h"
#include "core/Logger.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/utils/misc.h"
#include "toolkit/widgets/WidgetLabel.h"

namespace {

constexpr int kMaxLengthAfterReset = 16;

// The character typed on the first text device in this step, consumed; -1 when none.
int takeTypedChar()
{
    ControlMngr* input = ControlMngr::get();
    if (input->mKeyboardDevices.empty())
        return -1;
    sWord& last = input->mKeyboardDevices.front()->data[kKeyboardCharWord];
    int code = last.i;
    if (code != -1)
        last.i = -1;
    return code;
}

} // namespace

WidgetTextEdit::WidgetTextEdit(const std::wstring& editName, const std::vector<Layer>& layers)
{
    for (const Layer& layer : layers) {
        addLayerImage(layer);
        std::wstring lower = toLowerWide(layer.mName);
        if (lower == L"normal" || lower == L"over" || lower == L"click")
            continue;
        if (lower.compare(0, 5, L"label") == 0) {
            delete mLabel;
            mLabel = new WidgetLabel(layer.mName, layer.mRect.x, layer.mRect.y, layer.mRect.z, layer.mRect.w);
            mLabel->setVisible(1);
            mLabel->setEnabled(1);
        } else {
            std::wstring message = L"nie rozpoznano nazwy warstwy (WidgetButton): " + layer.mName;
            Logger::get()->log(message);
            Logger::get()->assertMessage(0, wideToString(message).c_str());
        }
    }
    if (!mLabel) {
        std::string message = "text edit '" + wideToString(editName) + "' has no label layer to show its text";
        pp_assert_fail(__FILE__, __LINE__, message.c_str());
    }
    mLabel->setText(mLabel->getText(0) + L" ", 0, 1);
    mMaxLength = 15;
    assignNameFromPieces(*this, editName, "text edit");
}

WidgetTextEdit::~WidgetTextEdit()
{
    delete mLabel;
}

void WidgetTextEdit::setText(const std::wstring& text)
{
    mLabel->setText(text, 0, 1);
    mText = text;
}

void WidgetTextEdit::loadAllowedChars(const std::string& file)
{
    std::vector<std::wstring> lines = loadDatFileRequired(file);
    mAllowed = lines.front();
}

void WidgetTextEdit::typeChar(int code)
{
    if (code == kBackspace && !mText.empty())
        mText.erase(mText.size() - 1);
    if (mAllowed.find(static_cast<wchar_t>(code)) != std::wstring::npos
        && static_cast<int>(mText.size()) < mMaxLength)
        mText += static_cast<wchar_t>(code);
    mLabel->setText(mText, 0, 1);
}

// The cursor is off for 140 updates, then on for 141.
void WidgetTextEdit::update()
{
    if (mEnabled) {
        stepState();
        mLabel->update();
        int code = takeTypedChar();
        if (code != -1)
            typeChar(code);
        mDisabledUpdated = !mEnabled;
        mBlink += kStepMs;
        if (mBlink <= kCursorOffMs)
            mLabel->setText(mText, 0, 1);
        else if (mText.empty() && !mPlaceholder.empty())
            mLabel->setText(mText + mPlaceholder, 0, 1);
        else
            mLabel->setText(mText + L"_", 0, 1);
        if (mBlink > kBlinkPeriodMs)
            mBlink = 0;
    }
    if (!mEnabled && !mDisabledUpdated) {
        stepState();
        mDisabledUpdated = 1;
    }
}

void WidgetTextEdit::draw()
{
    if (!mVisible) {
        if (!mHiddenDrawn) {
            afterDraw();
            mHiddenDrawn = 1;
        }
        return;
    }
    if (mLayerCur >= 0 && mLayerCur < kRecordCount)
        drawRecord(mLayerCur);
    // The placeholder is a hint, not typed text: it is drawn faded.
    const float alpha = mText.empty() && !mPlaceholder.empty() ? mColor.w * kPlaceholderAlpha : mColor.w;
    mLabel->setColor(mColor.x, mColor.y, mColor.z, alpha);
    mLabel->setTransform(mTransform.x, mTransform.y, mTransform.z, mTransform.w);
    mLabel->setLayoutKey(1);
    mLabel->draw();
    afterDraw();
    mHiddenDrawn = !mVisible;
}

void WidgetTextEdit::reset()
{
    mLabel->reset();
    mLabel->setText(mLabel->getText(1), 1, 1);
    mText.clear();
    mMaxLength = kMaxLengthAfterReset;
    mBlink = 0;
}

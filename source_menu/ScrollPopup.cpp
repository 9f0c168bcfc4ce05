#include "source_menu/ScrollPopup.h"

// Sections: opening - update and handlers - draw.

#include "core/ControlMngr.h"
#include "render/CRender.h"
#include "render/external/Sounds.h"
#include "source_menu/Button.h"
#include "source_menu/MenuManager.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/widgets/WidgetButton.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetCheckbox.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int kButtonKind = 14;
constexpr int kButtonStyle = 9;
constexpr size_t kTextLimit = 99;               // the longest description or amount shown

std::wstring limited(std::wstring text)
{
    if (text.size() > kTextLimit)
        text.resize(kTextLimit);
    return text;
}

void playSound(const char* key)
{
    Singleton<Sounds>::get()->play(key);
}
} // namespace

// ---- opening

ScrollPopup::~ScrollPopup()
{
    delete okButton;
    delete cancelButton;
}

void ScrollPopup::init(const char* path)
{
    assignIfEmpty(name, nameFromPath(path));
    _ScrollPopup::init(path);
    startFraction = 0.5f;
    const float4 leftStep = mWidget21->getImages()[0]->getRect();
    travelLeft = leftStep.x + leftStep.z;
    travelRight = mWidget22->getImages()[0]->getRect().x - mWidget20->getImages()[0]->getRect().z;
    cancelButton = new Button(mHelper1, kButtonKind, kButtonStyle);
    cancelButton->setText(textsManager.get(L"Cancel"));
    okButton = new Button(mHelper0, kButtonKind, kButtonStyle);
    okButton->setText(textsManager.get(L"Ok"));
}

void ScrollPopup::reset()
{
    _ScrollPopup::reset();
    if (!mWidget20)
        return;
    dragging = 0;
    position = startFraction;
    placeKnob();
    mWidget1->setText(title, 0, 1);
}

// An empty range (the bank's repayment with no cash) has no place for the knob but its start:
// the value is then min.
void ScrollPopup::setRange(int value, int min, int max)
{
    this->min = min;
    this->max = max;
    if (max <= min)
        startFraction = 0.0f;
    else
        startFraction = static_cast<float>(value - min) / static_cast<float>(max - min);
}

void ScrollPopup::setPercent(float fraction)
{
    startFraction = fraction;
    min = 0;
    max = 100;
}

void ScrollPopup::setPresets(int p0, int p1, int p2, int p3, int p4, int current)
{
    const int values[5] = {p0, p1, p2, p3, p4};
    for (int i = 0; i < 5; ++i) {
        presets[i] = values[i];
        if (values[i] == current)
            selected = i;
    }
}

int ScrollPopup::sliderValue() const
{
    if (max <= min)
        return min;
    const float share = position * static_cast<float>(max - min);
    return min + static_cast<int>(share);
}

// ---- update and handlers

void ScrollPopup::update()
{
    // Nothing before the popup has read its layout and made its buttons.
    if (!isEnabled() || !okButton)
        return;
    _ScrollPopup::update();
    const std::pair<int, int> states = getShowStates();
    if (states.second == kShowAppearing && states.first == kShowHidden)
        Container::setVisible(1);
    const int value = sliderValue();
    mWidget3->setText(std::to_wstring(value), 0, 1);
    if (getShowStates().second != kShowShown)
        return;
    if (okButton->isClicked(0.0f, 0.0f, 1)) {
        if (result) {
            if (mode == 1 || mode == 2)
                *result = presets[selected];
            else if (mode == 0)
                *result = value;
        }
        if (caller)
            caller->reset();
        Singleton<MenuManager>::get()->runCommand(L"scrollpopupend");
    }
    if (getShowStates().second != kShowShown)
        return;
    if (cancelButton->isClicked(0.0f, 0.0f, 1))
        Singleton<MenuManager>::get()->runCommand(L"scrollpopupend");
}

void ScrollPopup::selectPreset(int i, int current)
{
    if (mode != 0 && current == kLayerReleased)
        selected = i;
}

void ScrollPopup::onWidget21(int, int current)
{
    if (mode != 1 && mode != 2 && current == kLayerReleased)
        step(-kStep);
}

void ScrollPopup::onWidget22(int, int current)
{
    if (mode != 1 && mode != 2 && current == kLayerReleased)
        step(kStep);
}

void ScrollPopup::step(double delta)
{
    position = static_cast<float>(position + delta);
    if (position < 0.0f || position > 1.0f) {
        position = position < 0.0f ? 0.0f : 1.0f;
        playSound("wrong_click");
    } else {
        playSound("click");
    }
    placeKnob();
}

void ScrollPopup::onWidget20(int, int current)
{
    if (mode == 1 || mode == 2)
        return;
    ControlMngr* input = Singleton<ControlMngr>::get();
    if (current == kLayerClick && !dragging) {
        dragging = 1;
        playSound("click");
    }
    if (!input->isPointerDown())
        dragging = 0;
    if (!dragging)
        return;
    // The knob is centred on the pointer; the drag goes on off the knob while the button is held.
    const float x = input->getPointer(-1).x - 0.5f * mWidget20->getImages()[0]->getRect().z;
    const float travel = travelRight - travelLeft;
    position = travel > 0.0f ? std::min(std::max((x - travelLeft) / travel, 0.0f), 1.0f) : 0.0f;
    mWidget20->setOffset(std::min(std::max(x, travelLeft), travelRight) - travelLeft, 0.0f);
}

void ScrollPopup::placeKnob()
{
    mWidget20->setOffset((travelRight - travelLeft) * position, 0.0f);
}

// ---- draw

void ScrollPopup::draw()
{
    if (!isVisible() || !okButton)
        return;
    const float aspect = CRender::get_aspect();
    const float left = 0.5f - kBandHalfWidth * aspect;
    const float right = 0.5f + kBandHalfWidth * aspect;
    MyImage* band = mWidget4->getImages()[0];
    band->setRect(left, 0.0f, right - left, 1.0f);
    const float4 shade = mWidget4->getColor();
    band->draw(shade.x, shade.y, shade.z, shade.w, 0.0f, 0.0f, 1.0f, 1.0f);

    WidgetBase* slider[] = {mWidget3, mWidget20, mWidget21, mWidget22, mWidget2};
    if (mode == 0) {
        for (WidgetBase* widget : slider)
            widget->setVisible(1);
        for (int i = 0; i < 5; ++i) {
            mCheckboxes0[i]->setVisible(0);
            mLabels0[i]->setVisible(0);
            mLabels1[i]->setVisible(0);
        }
    } else if (mode == 1 || mode == 2) {
        static const wchar_t* const kAmountKeys[5] = {L"ScrollDescribe1", L"ScrollDescribe2", L"ScrollDescribe3",
                                                      L"ScrollDescribe4", L"ScrollDescribe5"};
        static const wchar_t* const kSettingKeys[5] = {L"ScrollDescribe1q", L"ScrollDescribe2q", L"ScrollDescribe3q",
                                                       L"ScrollDescribe4q", L"ScrollDescribe5q"};
        const std::wstring currency = textsManager.get(L"currency");
        for (int i = 0; i < 5; ++i) {
            const wchar_t* key = mode == 2 ? kSettingKeys[i] : kAmountKeys[i];
            if (mode == 1 && i == 0 && presets[0] != 0)
                key = L"ScrollDescribe1_2";
            mLabels0[i]->setText(limited(textsManager.get(key)), 0, 1);
            if (mode == 1)
                mLabels1[i]->setText(limited(std::to_wstring(presets[i]) + L" " + currency), 0, 1);
            mLabels1[i]->setVisible(mode == 1);
        }
        for (WidgetBase* widget : slider)
            widget->setVisible(0);
        for (int i = 0; i < 5; ++i) {
            mCheckboxes0[i]->setVisible(1);
            mLabels0[i]->setVisible(1);
            mCheckboxes0[i]->setValue(0);
        }
        if (selected >= 0 && selected < 5)
            mCheckboxes0[selected]->setValue(1);
    }
    mWidget4->setVisible(0);
    _ScrollPopup::draw();
    const float alpha = mWidget0->getColor().w;
    okButton->draw(alpha, 0.0f, 0.0f, 1);
    cancelButton->draw(alpha, 0.0f, 0.0f, 1);
}

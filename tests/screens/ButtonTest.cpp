#include "ScreenLayouts.h"

#include "source_menu/Button.h"
#include "toolkit/utils/FontStyle.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <gtest/gtest.h>

using namespace screens;

namespace {

class ButtonTest : public testing::Test {
protected:
    void SetUp() override
    {
        bindLayouts();
        pointAt(-1.0f, -1.0f);
    }

    // One test of the button with the pointer at (x, y), held or not.
    int step(Button& button, float x, float y, int down) const
    {
        pointAt(x, y, down);
        return button.isClicked(0.0f, 0.0f, 1);
    }

    WidgetHelper anchor{L"helper_ok", 0.4f, 0.5f, 0.2f, 0.1f};
};

TEST_F(ButtonTest, APressAnywhereReleasedOverThePictureClicks)
{
    Button button(&anchor, 14, 9);
    EXPECT_FLOAT_EQ(button.x, 0.4f);
    EXPECT_FLOAT_EQ(button.y, 0.55f);
    const float4 size = Singleton<ButtonBar>::get()->getIconImage(14, 0)->getRect();
    const float inX = button.x + 0.5f * size.z;

    EXPECT_EQ(step(button, 0.1f, 0.1f, 1), 0);
    EXPECT_EQ(step(button, inX, button.y, 1), 0);
    EXPECT_EQ(button.hover, 0) << "the normal picture shows while pressing";
    SoundLog sounds;
    EXPECT_EQ(step(button, inX, button.y, 0), 1);
    sounds.stop();
    EXPECT_EQ(sounds.count("click"), 1);
    EXPECT_EQ(step(button, inX, button.y, 0), 0);
    EXPECT_EQ(button.hover, 1);

    // Pressed over it, released outside: no click, and none at the next hover either.
    EXPECT_EQ(step(button, inX, button.y, 1), 0);
    EXPECT_EQ(step(button, 0.1f, 0.1f, 0), 0);
    EXPECT_EQ(step(button, inX, button.y, 0), 0);
}

TEST_F(ButtonTest, TheEdgeIsOutside)
{
    Button button(&anchor, 14, 9);
    const float4 size = Singleton<ButtonBar>::get()->getIconImage(14, 0)->getRect();
    const float edges[4][2] = {{button.x, button.y},
                               {button.x + size.z, button.y},
                               {button.x + 0.5f * size.z, button.y - 0.5f * size.w},
                               {button.x + 0.5f * size.z, button.y + 0.5f * size.w}};
    for (const auto& at : edges) {
        step(button, at[0], at[1], 1);
        EXPECT_EQ(step(button, at[0], at[1], 0), 0) << at[0] << " " << at[1];
    }
    // A disabled button still reports its clicks.
    button.setEnabled(0);
    step(button, button.x + 0.5f * size.z, button.y, 1);
    EXPECT_EQ(step(button, button.x + 0.5f * size.z, button.y, 0), 1);
}

TEST_F(ButtonTest, ArrowKindsHaveNoLabelAndTheOthersTheTextAreaOfTheirPicture)
{
    Button up(&anchor, 11, 9);
    Button down(&anchor, 12, 9);
    EXPECT_EQ(up.label, nullptr);
    EXPECT_EQ(down.label, nullptr);
    down.setText(L"kept");
    EXPECT_EQ(down.text, L"kept");
    down.draw(1.0f, 0.0f, 0.0f, 1);

    Button ok(&anchor, 14, 9);
    ASSERT_NE(ok.label, nullptr);
    EXPECT_EQ(ok.label->getStyle(), 9);
    const float4 area = Singleton<ButtonBar>::get()->getIconImage(14, 2)->getRect();
    const float4 box = ok.label->getImages()[0]->getRect();
    EXPECT_FLOAT_EQ(box.x, area.x);
    EXPECT_FLOAT_EQ(box.z, area.z);
    ok.setText(L"Ok");
    ok.draw(0.5f, 0.0f, 0.0f, 1);
    EXPECT_EQ(ok.label->getText(0), L"Ok");
    EXPECT_FLOAT_EQ(ok.label->getColor().w, 0.5f);
    const float h0 = Singleton<ButtonBar>::get()->getIconImage(14, 0)->getRect().w;
    EXPECT_FLOAT_EQ(ok.label->getOffset().first, ok.x);
    EXPECT_FLOAT_EQ(ok.label->getOffset().second, ok.y - 0.5f * h0);
}

TEST_F(ButtonTest, ADisabledButtonShowsItsTextAsALightStatusOnThePanel)
{
    // The caption styles are dark for the light button pictures; a disabled button has no
    // picture, so its text ("Clean already", "Fed") must read on the dark panel behind it.
    Button clean(&anchor, 0, 6);
    clean.setText(L"Clean already");
    clean.draw(1.0f, 0.0f, 0.0f, 1);
    EXPECT_EQ(clean.label->getText(0), L"Clean already");
    clean.setEnabled(0);
    clean.draw(0.5f, 0.0f, 0.0f, 1);
    ASSERT_NE(clean.statusLabel, nullptr);
    EXPECT_EQ(clean.statusLabel->getText(0), L"Clean already");
    EXPECT_FLOAT_EQ(clean.statusLabel->getColor().w, 0.5f);
    const FontStylesMgr* styles = Singleton<FontStylesMgr>::get();
    const float4 dark = styles->getStyle(clean.label->getStyle()).mColor;
    const float4 light = styles->getStyle(clean.statusLabel->getStyle()).mColor;
    EXPECT_LT(dark.x + dark.y + dark.z, 1.0f);
    EXPECT_GT(light.x + light.y + light.z, 2.4f);
    // The status takes the caption's place.
    EXPECT_FLOAT_EQ(clean.statusLabel->getOffset().first, clean.label->getOffset().first);
}

TEST_F(ButtonTest, TheBankPutsItsPicturesAtTheOriginWithTheTextAreaAlongside)
{
    ButtonBar* bank = Singleton<ButtonBar>::get();
    for (int kind = 0; kind < 18; ++kind) {
        EXPECT_FLOAT_EQ(bank->getIconImage(kind, 0)->getRect().x, 0.0f) << kind;
        EXPECT_FLOAT_EQ(bank->getIconImage(kind, 1)->getRect().y, 0.0f) << kind;
    }
    // Kind 11 is the layout's 13th picture and kind 12 its 12th.
    EXPECT_EQ(bank->mButtons0[11], bank->mWidget12);
    EXPECT_EQ(bank->mButtons0[12], bank->mWidget11);
    const float4 area = bank->getIconImage(14, 2)->getRect();
    EXPECT_GT(area.x, 0.0f);
    EXPECT_LT(area.x, bank->getIconImage(14, 0)->getRect().z);
}

} // namespace

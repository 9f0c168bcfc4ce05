#include "toolkit/widgets/Extensions.h"

#include "WidgetTestData.h"
#include "core/ControlMngr.h"
#include "fixtures/HeadlessEngine.h"
#include "render/CRender.h"
#include "render/image.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/widgets/WidgetButton.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

typedef std::pair<int, int> Pair;

Layer picture(const std::wstring& name)
{
    Layer l;
    l.mPath = "data/psd/x.png";
    l.mName = name;
    l.mRect = float4(0.4f, 0.4f, 0.2f, 0.1f);
    l.mDrawRect = l.mRect;
    return l;
}

class Behaviour : public ::testing::Test {
protected:
    Behaviour() : button(L"btn_buy", {picture(L"normal"), picture(L"over")})
    {
        loadTestStyles(dir);
        Singleton<TimeMgr>::get()->init(10);
    }
    // One logic step: the timers advance, then the widget updates.
    void step()
    {
        Singleton<TimeMgr>::get()->update(10);
        button.update();
    }
    TempDir dir;
    WidgetButton button;
};

// ---- input

// A round picture: opaque inside a circle of radius 7 about the centre of 16 x 16 texels.
class PointerOverButton : public Behaviour {
protected:
    PointerOverButton()
    {
        std::vector<unsigned char> rgba(16 * 16 * 4, 255);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                float dx = x + 0.5f - 8, dy = y + 0.5f - 8;
                rgba[(y * 16 + x) * 4 + 3] = dx * dx + dy * dy < 49 ? 255 : 0;
            }
        EXPECT_TRUE(round.engine()->create(2, 16, 16, rgba.data()));
        for (MyImage* image : button.getImages()) {
            image->setImage(&round);
            image->setRect(0.4f, 0.4f, 0.2f, 0.2f);
        }
        button.addExtension(new ExtInput(&button, "menutest"), 0);
        ControlMngr::get()->clearStep();
        button.setState("game", 2, 0);
        move(0, 0, 0);
        step();
        step();
    }
    ~PointerOverButton() override { move(0, 0, 0); }
    static void move(float x, float y, int down)
    {
        sDevice* mouse = ControlMngr::get()->mPointerDevices.front();
        mouse->data[kPointerXWord].f = x;
        mouse->data[kPointerYWord].f = y;
        mouse->data[kPointerButtonWord].i = down;
    }
    // Moves the pointer, runs one update and gives the current layer state.
    int at(float x, float y, int down)
    {
        move(x, y, down);
        step();
        return button.getLayerStates().second;
    }
    HeadlessEngine engine;
    CRender::Image round;
};

TEST_F(PointerOverButton, APressReleasedOverTheOpaquePictureIsOneClick)
{
    std::vector<int> states = {at(0.5f, 0.5f, 0), at(0.5f, 0.5f, 1), at(0.5f, 0.5f, 1), at(0.5f, 0.5f, 0),
                               at(0.9f, 0.9f, 0), at(0.9f, 0.9f, 0)};
    EXPECT_EQ(states, std::vector<int>({1, 2, 2, 3, 1, 0}));
}

TEST_F(PointerOverButton, ATransparentCornerTakesThePressButGivesNoClick)
{
    std::vector<int> states = {at(0.401f, 0.401f, 0), at(0.401f, 0.401f, 1), at(0.401f, 0.401f, 0)};
    EXPECT_EQ(states, std::vector<int>({0, 2, 0}));
}

TEST_F(PointerOverButton, DraggingOutWhilePressedGivesNoClick)
{
    std::vector<int> states = {at(0.5f, 0.5f, 0), at(0.5f, 0.5f, 1), at(0.9f, 0.9f, 1), at(0.9f, 0.9f, 0),
                               at(0.5f, 0.5f, 0)};
    EXPECT_EQ(states, std::vector<int>({1, 2, 0, 0, 1}));
}

TEST_F(PointerOverButton, AGrownButtonIsHitOverItsScaledSizeFromItsOffsetCorner)
{
    EXPECT_EQ(at(0.7f, 0.7f, 0), 0);
    button.setTransform(0, 0, 2, 2);
    EXPECT_EQ(at(0.7f, 0.7f, 0), 1);
    button.setClipRect(0, 0, 0.65f, 1);
    EXPECT_EQ(at(0.7f, 0.7f, 0), 0);  // outside the clip
}

TEST_F(PointerOverButton, APictureNotLoadedYetIsNeverPointedAt)
{
    button.getImages()[0]->unload();
    button.getImages()[0]->mFilePath = "data/psd/never.png";
    EXPECT_EQ(at(0.5f, 0.5f, 0), 0);
    EXPECT_EQ(at(0.5f, 0.5f, 1), 0);
}

// ---- fade

TEST_F(Behaviour, FadeInStartsBelowZeroOnTheFirstShowAndFromZeroAfterAHide)
{
    ExtFade* fade = new ExtFade(&button, ExtFade::kFadeOnly, 250);
    button.addExtension(fade, 1);
    button.setState("game", 2, 250);
    step();
    EXPECT_FLOAT_EQ(button.getColor().w, 9 / 250.0f);
    for (int i = 0; i < 30; ++i)
        step();
    EXPECT_FLOAT_EQ(button.getColor().w, 1.0f);

    button.setState("game", 0, 250);
    std::vector<float> alphas;
    for (int i = 0; i < 27; ++i) {
        step();
        alphas.push_back(button.getColor().w);
    }
    EXPECT_FLOAT_EQ(alphas[0], 0.96f);
    EXPECT_GT(alphas[23], 0.0f);
    EXPECT_FLOAT_EQ(alphas[24], 0.0f);  // two steps before the hide ends
    EXPECT_EQ(button.getShowStates(), Pair(3, 0));

    button.setState("game", 2, 250);
    alphas.clear();
    for (int i = 0; i < 26; ++i) {
        step();
        alphas.push_back(button.getColor().w);
    }
    EXPECT_FLOAT_EQ(alphas[0], 0.04f);
    EXPECT_LT(alphas[23], 1.0f);
    EXPECT_FLOAT_EQ(alphas[24], 1.0f);
    EXPECT_FLOAT_EQ(button.getTransform().x, 0.0f);  // 'o' leaves the transform alone
}

TEST_F(Behaviour, SlideComesInFromItsSide)
{
    ExtFade* fade = new ExtFade(&button, ExtFade::kFromLeft, 250);
    button.addExtension(fade, 1);
    button.setState("game", 2, 250);
    step();
    EXPECT_NEAR(button.getTransform().x, -0.12f, 0.01f);
    for (int i = 0; i < 30; ++i)
        step();
    EXPECT_FLOAT_EQ(button.getTransform().x, 0.0f);
    fade->mDirection = ExtFade::kFromBelow;
    button.setState("game", 0, 250);
    for (int i = 0; i < 26; ++i)
        step();
    EXPECT_FLOAT_EQ(button.getTransform().y, 0.12f);
    EXPECT_FLOAT_EQ(button.getTransform().z, 1.0f);
}

TEST_F(Behaviour, AFadeWithoutDurationIsInstant)
{
    button.addExtension(new ExtFade(&button, ExtFade::kFromRight, 0), 1);
    button.setState("game", 2, 0);
    step();
    EXPECT_FLOAT_EQ(button.getColor().w, 1.0f);
    EXPECT_FLOAT_EQ(button.getTransform().x, 0.0f);
    step();
    button.setState("game", 0, 20);
    step();
    EXPECT_FLOAT_EQ(button.getColor().w, 0.0f);
    EXPECT_FLOAT_EQ(button.getTransform().x, 0.12f);
}

// ---- grow

// Sets the layer state from a script before the grow extension runs.
class Hover : public ExtensionBase {
public:
    using ExtensionBase::ExtensionBase;
    void reset() override {}
    void step() override { owner->setLayerState(state); }
    int state = 0;
};

TEST_F(Behaviour, GrowPeaksAtAQuarterAndSettlesNear1202)
{
    Hover* hover = new Hover(&button);
    button.addExtension(hover, 1);
    button.addExtension(new ExtIncrease(&button, 300, 0.25f), 1);
    button.setState("game", 2, 0);
    step();
    step();
    step();
    EXPECT_FLOAT_EQ(button.getTransform().z, 1.0f);
    hover->state = 1;
    float peak = 0;
    for (int i = 0; i < 40; ++i) {
        step();
        peak = std::max(peak, button.getTransform().z);
    }
    EXPECT_NEAR(peak, 1.25f, 0.002f);
    float4 t = button.getTransform();
    EXPECT_NEAR(t.z, 1.2023f, 0.001f);
    EXPECT_FLOAT_EQ(t.x, -(t.z - 1) * 0.2f / 2);  // grows about the centre
    EXPECT_FLOAT_EQ(t.y, -(t.w - 1) * 0.1f / 2);
}

TEST_F(Behaviour, LeavingMidGrowShrinksBackFromThere)
{
    Hover* hover = new Hover(&button);
    button.addExtension(hover, 1);
    button.addExtension(new ExtIncrease(&button, 300, 0.25f), 1);
    button.setState("game", 2, 0);
    step();
    step();
    hover->state = 1;
    for (int i = 0; i < 6; ++i)
        step();
    float reached = button.getTransform().z;
    EXPECT_GT(reached, 1.05f);
    hover->state = 0;
    step();  // this step's phase is read before it turns back
    step();
    float previous = button.getTransform().z;
    EXPECT_LT(previous, reached + 0.02f);
    EXPECT_GT(previous, 1.05f);
    for (int i = 0; i < 40; ++i) {
        step();
        EXPECT_LE(button.getTransform().z, previous);
        previous = button.getTransform().z;
    }
    EXPECT_FLOAT_EQ(previous, 1.0f);
}

TEST_F(Behaviour, GrowOfAWidgetWithoutPicturesDoesNothing)
{
    WidgetButton bare(L"btn_bare", {});
    bare.addExtension(new ExtIncrease(&bare, 300, 0.25f), 1);
    bare.setState("game", 2, 0);
    for (int i = 0; i < 5; ++i) {
        bare.setLayerState(1);
        bare.update();
    }
    EXPECT_FLOAT_EQ(bare.getTransform().z, 1.0f);
}

// ---- tooltip

TEST_F(Behaviour, TooltipGrowsAfterTheHoverDelayAndShrinksAfterTheLeaveDelay)
{
    WidgetButton tip(L"btn_tip", {picture(L"normal")});
    tip.setVisible(1);
    Hover* hover = new Hover(&button);
    button.addExtension(hover, 1);
    ExtTooltip* tooltip = new ExtTooltip(&button, &tip, 2000, 300, 500);
    button.addExtension(tooltip, 1);
    EXPECT_FALSE(tip.isVisible());
    button.setState("game", 2, 0);
    step();
    step();

    hover->state = kLayerOver;
    for (int i = 0; i < 29; ++i)
        step();
    EXPECT_EQ(tooltip->mState, 0);
    EXPECT_FALSE(tip.isVisible());
    step();  // 300 ms of hovering
    EXPECT_EQ(tooltip->mState, 1);
    int growing = 0;
    while (tooltip->mState == 1 && growing < 100) {
        step();
        ++growing;
    }
    EXPECT_EQ(growing, 39);  // 0.7 pi in steps of 0.05697189
    EXPECT_EQ(tooltip->mState, 2);
    EXPECT_TRUE(tip.isVisible());
    EXPECT_FLOAT_EQ(tip.getColor().w, 0.875f);
    EXPECT_NEAR(tip.getTransform().z, 1 + 0.5f * std::sin(ExtTooltip::kMaxPhase) - 0.32f, 1e-6);

    hover->state = kLayerNormal;
    for (int i = 0; i < 49; ++i)
        step();
    EXPECT_EQ(tooltip->mState, 2);
    step();  // 500 ms away
    EXPECT_EQ(tooltip->mState, 3);
    for (int i = 0; i < 40; ++i)
        step();
    EXPECT_EQ(tooltip->mState, 0);
    EXPECT_FLOAT_EQ(tip.getColor().w, 0.0f);
    EXPECT_FALSE(tip.isVisible());
}

TEST_F(Behaviour, TooltipShrinksWhenItsOwnerBeginsToHide)
{
    WidgetButton tip(L"btn_tip", {picture(L"normal")});
    Hover* hover = new Hover(&button);
    button.addExtension(hover, 1);
    ExtTooltip* tooltip = new ExtTooltip(&button, &tip, 2000, 0, 500);
    button.addExtension(tooltip, 1);
    button.setState("game", 2, 0);
    step();
    step();
    hover->state = kLayerOver;
    for (int i = 0; i < 10; ++i)
        step();
    EXPECT_EQ(tooltip->mState, 1);
    tooltip->say();
    EXPECT_TRUE(tip.isVisible());
    button.setState("game", 0, 250);
    step();
    EXPECT_EQ(tooltip->mState, 3);
}

} // namespace

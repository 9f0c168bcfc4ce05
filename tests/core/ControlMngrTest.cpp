#include "core/ControlMngr.h"

#include <gtest/gtest.h>

namespace {

event record(int code, int a = 0, int b = 0)
{
    event e;
    e.setInt(0, code);
    e.setInt(2, a);
    e.setInt(3, b);
    return e;
}

event motion(float x, float y)
{
    event e;
    e.setInt(0, EV_MOTION);
    e.setFloat(7, x);
    e.setFloat(8, y);
    return e;
}

class InputDevices : public ::testing::Test {
protected:
    void SetUp() override
    {
        clear_events();
        input.clearStep();
    }

    const sDevice& keyboard() const { return *input.mKeyboardDevices.front(); }
    int lastChar() const { return keyboard().data[kKeyboardCharWord].i; }

    ControlMngr input;
};

TEST_F(InputDevices, StartsWithSystemKeyboardAndMouse)
{
    ASSERT_NE(input.mSystemDevice, nullptr);
    EXPECT_EQ(input.mSystemDevice->kind, DEVICE_SYSTEM);
    ASSERT_EQ(input.mKeyboardDevices.size(), 1u);
    ASSERT_EQ(input.mPointerDevices.size(), 1u);
    EXPECT_EQ(input.mPointerDevices[0]->kind, DEVICE_POINTER);
    EXPECT_EQ(input.mPointerDevices[0]->id, -1);
    EXPECT_EQ(lastChar(), -1);
    PointerPosition p = input.getPointer(-1);
    EXPECT_EQ(p.x, 0.0f);
    EXPECT_EQ(p.y, 0.0f);
    EXPECT_EQ(Singleton<ControlMngr>::get(), Singleton<ControlMngr>::get());
}

TEST_F(InputDevices, ButtonWordFollowsPressAndReleaseOfAnyButton)
{
    // Press and release in one frame: the step sees the press, the next one the release.
    push_event(record(EV_BUTTON_DOWN, 0, 0));
    push_event(record(EV_BUTTON_UP, 0, 0));
    input.update();
    EXPECT_EQ(input.isPointerDown(), 1);
    input.update();
    EXPECT_EQ(input.isPointerDown(), 1) << "the release waits for the next step";
    input.clearStep();
    input.update();
    EXPECT_EQ(input.isPointerDown(), 0);
    input.clearStep();

    event right = record(EV_BUTTON_DOWN);
    right.setInt(4, 2);
    push_event(right);
    input.update();
    EXPECT_EQ(input.isPointerDown(), 1);
    input.clearStep();
    push_event(record(EV_BUTTON_UP));
    input.update();
    EXPECT_EQ(input.isPointerDown(), 0);
}

TEST_F(InputDevices, MotionAndButtonsMoveThePointerAndAMoveAfterAReleaseWaits)
{
    push_event(motion(0.25f, 0.75f));
    event press = record(EV_BUTTON_DOWN, 900, 900);
    press.setFloat(5, 0.9f);
    press.setFloat(6, 0.8f);
    push_event(press);
    push_event(motion(0.1f, 0.1f));
    input.update();
    PointerPosition p = input.getPointer(-1);
    EXPECT_FLOAT_EQ(p.x, 0.9f);
    EXPECT_FLOAT_EQ(p.y, 0.8f);
    input.clearStep();
    input.update();
    EXPECT_FLOAT_EQ(input.getPointer(-1).x, 0.1f);
    PointerPosition none = input.getPointer(7);
    EXPECT_EQ(none.x, -1.0f);
    EXPECT_EQ(none.y, -1.0f);
}

TEST_F(InputDevices, EachStepSeesOneTypedCharacterUntilItEnds)
{
    push_event(record(EV_CHAR, 'a'));
    push_event(record(EV_CHAR, 'b'));
    push_event(record(EV_CHAR, 'c'));
    for (int expected : {'a', 'b', 'c'}) {
        input.update();
        EXPECT_EQ(lastChar(), expected);
        input.clearStep();
        EXPECT_EQ(lastChar(), -1);
    }
}

TEST_F(InputDevices, HeldKeysLastUntilReleasedAndBadCodesAreIgnored)
{
    push_event(record(EV_KEY_DOWN, 37));
    push_event(record(EV_KEY_DOWN, 70000));
    push_event(record(EV_KEY_DOWN, -4));
    input.update();
    EXPECT_EQ(keyboard().isHeld(37), 1);
    input.clearStep();
    EXPECT_EQ(keyboard().isHeld(37), 1);
    push_event(record(EV_KEY_UP, 37));
    input.update();
    EXPECT_EQ(keyboard().isHeld(37), 0);
    EXPECT_EQ(keyboard().isHeld(70000), 0);
    input.clearStep();

    // A key pressed and released within one frame is held for one step.
    push_event(record(EV_KEY_DOWN, 13));
    push_event(record(EV_KEY_UP, 13));
    input.update();
    EXPECT_EQ(keyboard().isHeld(13), 1);
    input.clearStep();
    input.update();
    EXPECT_EQ(keyboard().isHeld(13), 0);
}

TEST_F(InputDevices, WheelAndResizeChangeNothingAndCloseSetsTheFlag)
{
    push_event(motion(0.5f, 0.5f));
    input.update();
    push_event(record(EV_WHEEL, 0, 120));
    push_event(record(EV_RESIZE, 640, 480));
    input.update();
    EXPECT_FLOAT_EQ(input.getPointer(-1).x, 0.5f);
    EXPECT_EQ(input.isPointerDown(), 0);
    EXPECT_EQ(lastChar(), -1);
    EXPECT_EQ(input.mSystemDevice->data[kSystemCloseWord].i, 0);

    push_event(record(EV_CLOSE));
    input.update();
    EXPECT_EQ(input.mSystemDevice->data[kSystemCloseWord].i, 1);
}

TEST_F(InputDevices, WithoutAPointerDeviceThePointerIsAbsent)
{
    for (sDevice* d : input.mPointerDevices)
        delete d;
    input.mPointerDevices.clear();
    PointerPosition p = input.getPointer(-1);
    EXPECT_EQ(p.x, -1.0f);
    EXPECT_EQ(p.y, -1.0f);
    EXPECT_EQ(input.isPointerDown(), 0);
    push_event(record(EV_BUTTON_DOWN));
    input.update();   // consumed, nothing to apply it to
    event e;
    EXPECT_EQ(pop_event(e), 0);
}

} // namespace

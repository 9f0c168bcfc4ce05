#pragma once

// The input devices the game polls: the system device (window close), the keyboard
// (held keys, last typed character) and the mouse as pointer device. ControlMngr is the
// only reader of the input record queue; widgets, screens and the camera read the devices
// once per 10 ms logic step, so the records of one frame are spread over the steps.

#include "core/Singleton.h"
#include "core/sdl_layer.h"

#include <vector>

// One 32-bit word of a device: an int or a float by the device's kind and the word's use.
union sWord {
    int i;
    float f;
};

// Device kinds and the words they use.
enum {
    DEVICE_SYSTEM = 0,    // word 0: window close requested (int 0/1)
    DEVICE_POINTER = 1,   // words 0, 1: x, y on the 2D canvas (float); word 2: button held (int)
    DEVICE_KEYBOARD = 2,  // word 0: last character typed (int, -1 none); word 1 + k: key k held
};

const int kSystemCloseWord = 0;
const int kPointerXWord = 0;
const int kPointerYWord = 1;
const int kPointerButtonWord = 2;
const int kKeyboardCharWord = 0;
const int kKeyboardHeldWord = 1;   // word of virtual-key code k: kKeyboardHeldWord + k
const int kKeyCodeCount = 65536;

struct sDevice {
    int kind;
    int id;                          // -1 for the devices of this desktop system
    sWord data[1 + kKeyCodeCount];   // all 0 when created

    // 1 while the keyboard device holds virtual-key code k; 0 for a code out of range.
    int isHeld(int k) const
    {
        return k >= 0 && k < kKeyCodeCount ? data[kKeyboardHeldWord + k].i : 0;
    }
};

struct PointerPosition {
    float x;
    float y;
};

class ControlMngr : public Singleton<ControlMngr> {
public:
    ControlMngr();
    ~ControlMngr();
    ControlMngr(const ControlMngr&) = delete;
    ControlMngr& operator=(const ControlMngr&) = delete;

    // Creates a device, all words 0: kind 0 replaces the system device, kind 1 is
    // appended to the pointers, kind 2 to the keyboards.
    void addDevice(int kind, int id);
    // Applies the queued input records in order, as far as one logic step can see them: a record
    // that would undo a change the step has not yet seen (the release after a press, a move after
    // a release, a second typed character, the release of a key just pressed) stays queued for the
    // next step, so no click or key is lost however many arrive in one frame. Once per main-loop
    // pass and at the start of every logic step.
    void update();
    // Forgets the last typed character and what the step saw change; after every logic step.
    void clearStep();
    // Position of the first pointer device with that id; (-1, -1) when there is none.
    PointerPosition getPointer(int id) const;
    // Button of the first pointer device; 0 when there is none.
    int isPointerDown() const;
    // While idle, every reader sees the devices untouched: each pointer far off the canvas with
    // its button up, no key held and no character typed. The screens under a popup are updated
    // so (updateScreens); the devices' own state is kept for the others.
    void setIdle(bool idle);

    event mEvent;                       // the record being dispatched
    sDevice* mSystemDevice = nullptr;
    std::vector<sDevice*> mKeyboardDevices;
    std::vector<sDevice*> mPointerDevices;

private:
    // Whether the record must wait for the next step (see update).
    bool waitsForNextStep(const event& record) const;
    void dispatch();

    int mButtonChanged = 0;          // a button record was applied in this step
    std::vector<int> mKeysChanged;   // virtual-key codes pressed or released in this step
    bool mIdle = false;
    // While idle, the devices' lists hold these stand-ins and these hold the devices.
    std::vector<sDevice*> mOtherKeyboards;
    std::vector<sDevice*> mOtherPointers;
};

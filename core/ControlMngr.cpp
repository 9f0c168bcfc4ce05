#include "core/ControlMngr.h"

ControlMngr::ControlMngr()
{
    addDevice(DEVICE_SYSTEM, -1);
    addDevice(DEVICE_KEYBOARD, -1);
    addDevice(DEVICE_POINTER, -1);
}

// The program's manager lives for the whole run; this frees the devices of any other one.
ControlMngr::~ControlMngr()
{
    delete mSystemDevice;
    for (sDevice* device : mKeyboardDevices)
        delete device;
    for (sDevice* device : mPointerDevices)
        delete device;
}

void ControlMngr::addDevice(int kind, int id)
{
    sDevice* device = new sDevice();
    device->kind = kind;
    device->id = id;
    switch (kind) {
    case DEVICE_SYSTEM:
        delete mSystemDevice;
        mSystemDevice = device;
        break;
    case DEVICE_POINTER: mPointerDevices.push_back(device); break;
    case DEVICE_KEYBOARD: mKeyboardDevices.push_back(device); break;
    default: delete device; break;
    }
}

void ControlMngr::update()
{
    while (pop_event(mEvent))
        dispatch();
}

void ControlMngr::dispatch()
{
    const int code = mEvent.code();
    if (code == EV_CLOSE && mSystemDevice)
        mSystemDevice->data[kSystemCloseWord].i = 1;

    // Any button sets the one button word; button records do not move the pointer.
    for (sDevice* pointer : mPointerDevices) {
        if (pointer->id != -1)
            continue;
        if (code == EV_BUTTON_DOWN) {
            pointer->data[kPointerButtonWord].i = 1;
        } else if (code == EV_BUTTON_UP) {
            pointer->data[kPointerButtonWord].i = 0;
        } else if (code == EV_MOTION) {
            pointer->data[kPointerXWord].f = mEvent.getFloat(7);
            pointer->data[kPointerYWord].f = mEvent.getFloat(8);
        }
    }

    for (sDevice* keyboard : mKeyboardDevices) {
        if (code == EV_CHAR) {
            keyboard->data[kKeyboardCharWord].i = mEvent.getInt(2);
        } else if (code == EV_KEY_DOWN || code == EV_KEY_UP) {
            int key = mEvent.getInt(2);
            if (key >= 0 && key < kKeyCodeCount)
                keyboard->data[kKeyboardHeldWord + key].i = code == EV_KEY_DOWN ? 1 : 0;
        }
    }
}

void ControlMngr::clearStep()
{
    for (sDevice* keyboard : mKeyboardDevices)
        keyboard->data[kKeyboardCharWord].i = -1;
}

PointerPosition ControlMngr::getPointer(int id) const
{
    for (const sDevice* pointer : mPointerDevices) {
        if (pointer->id == id)
            return {pointer->data[kPointerXWord].f, pointer->data[kPointerYWord].f};
    }
    return {-1.0f, -1.0f};
}

int ControlMngr::isPointerDown() const
{
    if (mPointerDevices.empty())
        return 0;
    return mPointerDevices.front()->data[kPointerButtonWord].i;
}

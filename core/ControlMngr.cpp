#include "core/ControlMngr.h"

#include <algorithm>

ControlMngr::ControlMngr()
{
    addDevice(DEVICE_SYSTEM, -1);
    addDevice(DEVICE_KEYBOARD, -1);
    addDevice(DEVICE_POINTER, -1);
}

// The program's manager lives for the whole run; this frees the devices of any other one.
ControlMngr::~ControlMngr()
{
    setIdle(false);
    delete mSystemDevice;
    for (const std::vector<sDevice*>* list : {&mKeyboardDevices, &mPointerDevices, &mOtherKeyboards, &mOtherPointers})
        for (sDevice* device : *list)
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
    while (peek_event(mEvent) && !waitsForNextStep(mEvent)) {
        pop_event(mEvent);
        dispatch();
    }
}

bool ControlMngr::waitsForNextStep(const event& record) const
{
    switch (record.code()) {
    case EV_BUTTON_DOWN:
    case EV_BUTTON_UP:
    case EV_MOTION:
        return mButtonChanged != 0;
    case EV_CHAR:
        for (const sDevice* keyboard : mKeyboardDevices)
            if (keyboard->data[kKeyboardCharWord].i != -1)
                return true;
        return false;
    case EV_KEY_DOWN:
    case EV_KEY_UP:
        return std::find(mKeysChanged.begin(), mKeysChanged.end(), record.getInt(2)) != mKeysChanged.end();
    default:
        return false;
    }
}

void ControlMngr::dispatch()
{
    const int code = mEvent.code();
    if (code == EV_CLOSE && mSystemDevice)
        mSystemDevice->data[kSystemCloseWord].i = 1;

    // Any button sets the one button word and puts the pointer where it was pressed or released.
    if (code == EV_BUTTON_DOWN || code == EV_BUTTON_UP)
        mButtonChanged = 1;
    for (sDevice* pointer : mPointerDevices) {
        if (pointer->id != -1)
            continue;
        if (code == EV_BUTTON_DOWN || code == EV_BUTTON_UP) {
            pointer->data[kPointerButtonWord].i = code == EV_BUTTON_DOWN ? 1 : 0;
            pointer->data[kPointerXWord].f = mEvent.getFloat(5);
            pointer->data[kPointerYWord].f = mEvent.getFloat(6);
        } else if (code == EV_MOTION) {
            pointer->data[kPointerXWord].f = mEvent.getFloat(7);
            pointer->data[kPointerYWord].f = mEvent.getFloat(8);
        }
    }

    if (code == EV_KEY_DOWN || code == EV_KEY_UP)
        mKeysChanged.push_back(mEvent.getInt(2));
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
    mButtonChanged = 0;
    mKeysChanged.clear();
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

namespace {

// Where an idle pointer stands: left of and above the canvas on a window of any shape.
const float kPointerAway = -100.0f;

// Makes stand-ins the twins of the devices (kind and id) and puts them at rest.
void matchStandIns(const std::vector<sDevice*>& devices, std::vector<sDevice*>& standIns)
{
    while (standIns.size() > devices.size()) {
        delete standIns.back();
        standIns.pop_back();
    }
    while (standIns.size() < devices.size())
        standIns.push_back(new sDevice());
    for (size_t k = 0; k < devices.size(); ++k) {
        sDevice* standIn = standIns[k];
        standIn->kind = devices[k]->kind;
        standIn->id = devices[k]->id;
        // Readers only ever consume the typed character; the held keys stay 0.
        standIn->data[kKeyboardCharWord].i = -1;
        if (standIn->kind == DEVICE_POINTER) {
            standIn->data[kPointerXWord].f = kPointerAway;
            standIn->data[kPointerYWord].f = kPointerAway;
            standIn->data[kPointerButtonWord].i = 0;
        }
    }
}

} // namespace

void ControlMngr::setIdle(bool idle)
{
    if (idle == mIdle)
        return;
    if (idle) {
        matchStandIns(mKeyboardDevices, mOtherKeyboards);
        matchStandIns(mPointerDevices, mOtherPointers);
    }
    mKeyboardDevices.swap(mOtherKeyboards);
    mPointerDevices.swap(mOtherPointers);
    mIdle = idle;
}

int ControlMngr::isPointerDown() const
{
    if (mPointerDevices.empty())
        return 0;
    return mPointerDevices.front()->data[kPointerButtonWord].i;
}

#include "park/FXManager.h"

#include "park/FX.h"
#include "toolkit/utils/misc.h"

namespace {
// Effect frames per 10 ms step: three frames a second.
const float kFxStep = 0.03f;
} // namespace

FXManager::~FXManager()
{
    clear();
}

void FXManager::clear()
{
    for (auto& entry : mEffects)
        delete entry.second;
    mEffects.clear();
}

void FXManager::add(const std::wstring& name, FX* fx)
{
    FX*& slot = mEffects[toLowerWide(name)];
    if (slot != fx)
        delete slot;
    slot = fx;
}

void FXManager::update()
{
    for (auto& entry : mEffects)
        if (entry.second)
            entry.second->mTime += kFxStep;
}

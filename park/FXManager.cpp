#include "park/FXManager.h"

#include "park/FX.h"
#include "toolkit/utils/misc.h"

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

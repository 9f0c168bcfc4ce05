#include "game/DataFood.h"

#include "game/DataStorage.h"
#include "game/KeyFile.h"
#include "game/Ranges.h"

namespace {
const char* const kIconFolder = "data/game/Foods/Icons/";
} // namespace

DataFood::DataFood(const std::string& path)
{
    KeyFileReader r(path);
    for (; r.more(); r.advance()) {
        if (r.key(L"[name]"))
            mName = r.value();
        if (r.key(L"[description]"))
            mDescription = r.value();
        if (r.key(L"[cost]"))
            r.readInt(mCost, 0, kMaxPrice);
        if (r.key(L"[food]"))
            r.readInt(mFood, 0, kMaxCount);
        if (r.key(L"[icon image]"))
            readIcon(r, kIconFolder, mIconFile, mIcon);
        if (r.key(L"[icon image greyed]"))
            readIcon(r, kIconFolder, mIconGreyedFile, mIconGreyed);
        if (r.key(L"[requirements]"))
            mRequirements = r.value();
    }
}

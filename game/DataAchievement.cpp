#include "game/DataAchievement.h"

#include "game/CashAccount.h"
#include "game/DataStorage.h"
#include "game/GlobalSettings.h"
#include "game/KeyFile.h"
#include "game/Ranges.h"
#include "game/MonthBalance.h"

DataAchievement::DataAchievement(const std::string& path) : mPath(path)
{
    KeyFileReader r(path);
    for (; r.more(); r.advance()) {
        if (r.key(L"[name]"))
            mName = r.value();
        if (r.key(L"[description]"))
            mDescription = r.value();
        if (r.key(L"[requirements]"))
            mRequirements = r.value();
        if (r.key(L"[congratulations text]"))
            mCongratulations = r.value();
        if (r.key(L"[conditions]"))
            mConditions = r.value();
        if (r.key(L"[reward]"))
            r.readInt(mReward, 0, kMaxPrice);
    }
}

void DataAchievement::giveReward()
{
    Singleton<DataStorage>::get()->transaction(t_Other, mReward);
}

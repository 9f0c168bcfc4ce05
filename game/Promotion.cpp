#include "game/Promotion.h"

#include "game/CashAccount.h"
#include "game/DataStorage.h"
#include "game/GlobalSettings.h"
#include "game/KeyFile.h"
#include "game/MonthBalance.h"
#include "game/Ranges.h"

Promotion::Promotion(const std::string& path)
{
    KeyFileReader r(path);
    for (; r.more(); r.advance()) {
        if (r.key(L"[cost]"))
            r.readInt(mCost, 0, kMaxPrice);
        if (r.key(L"[popularity worth]"))
            r.readTruncated(mPopularityWorth, 0, kMaxPrice);
        if (r.key(L"[duration]"))
            r.readInt(mDuration, 1, kMaxDays);
        if (r.key(L"[name]"))
            mName = r.value();
        if (r.key(L"[description]"))
            mDescription = r.value();
        if (r.key(L"[description when used]"))
            mDescriptionWhenUsed = r.value();
    }
}

void Promotion::buy()
{
    DataStorage* storage = Singleton<DataStorage>::get();
    mDaysLeft = mDuration;
    storage->mGlobalSettings->mCashAccount->addCash(-mCost);
    storage->mBalanceThisMonth->book(t_ParkPromotion, -static_cast<long long>(mCost));
    storage->mStatThisMonth->book(t_ParkPromotion, 1);
}

void Promotion::newDay()
{
    if (mDaysLeft > 0 && --mDaysLeft == 0)
        Singleton<DataStorage>::get()->mGlobalSettings->mActivePromotion = -1;
}

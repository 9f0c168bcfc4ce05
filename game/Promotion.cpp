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
    storage->transaction(t_ParkPromotion, -mCost);
}

bool DataStorage::startPromotion(int k)
{
    if (k < 1 || k > static_cast<int>(mPromotions.size()) || mGlobalSettings->mActivePromotion != -1 ||
        !mGlobalSettings->mCashAccount->canPay(mPromotions[k - 1]->mCost))
        return false;
    mGlobalSettings->mActivePromotion = k;
    mPromotions[k - 1]->buy();
    return true;
}

void Promotion::newDay()
{
    if (mDaysLeft > 0 && --mDaysLeft == 0)
        Singleton<DataStorage>::get()->mGlobalSettings->mActivePromotion = -1;
}

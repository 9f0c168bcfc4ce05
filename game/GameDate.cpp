#include "game/GameDate.h"

#include "game/DataStorage.h"
#include "game/GlobalSettings.h"
#include "game/ParkEvents.h"
#include "toolkit/utils/TextsManager.h"

namespace {
const int kMaxYear = 1000000;
const int kDaysPerMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
const wchar_t* const kMonthNames[12] = {L"january", L"february", L"march",     L"april",   L"may",      L"june",
                                        L"july",    L"august",   L"september", L"october", L"november", L"december"};
const size_t kTextLimit = 199; // the date bar's text holds at most 200 characters with its end
} // namespace

GameDate::GameDate(int day, int month, int year)
    : mStartYear(year), mStartMonth(month), mStartDay(day), mDay(day), mMonth(month), mYear(year)
{
    for (int i = 0; i < 12; ++i) {
        mDaysPerMonth[i] = kDaysPerMonth[i];
        mMonthNames[i] = kMonthNames[i];
    }
}

bool GameDate::isValid(int day, int month, int year)
{
    // Years are held within a range whose months still count in an int.
    return month >= 1 && month <= 12 && day >= 1 && day <= kDaysPerMonth[month - 1] && year >= 1 && year <= kMaxYear;
}

std::wstring GameDate::toText() const
{
    // Built piece by piece: the month's name is data and may be of any length.
    std::wstring text = std::to_wstring(mDay) + L" " + textsManager.getByString(mMonthNames[mMonth - 1]) + L" " +
                        std::to_wstring(mYear);
    if (text.size() > kTextLimit)
        text.resize(kTextLimit);
    return text;
}

void GameDate::advance()
{
    DataStorage* storage = Singleton<DataStorage>::get();
    if (++mDay > mDaysPerMonth[mMonth - 1]) {
        mDay = 1;
        if (++mMonth > 12) {
            mMonth = 1;
            ++mYear;
        }
        storage->closeMonth();
    }
    ++mDaysElapsed;
    int every = storage->mGlobalSettings->mDaysBetweenNewAnimals;
    if (every <= 0)
        every = 1; // a period of 0 or less counts as 1 (warned when read)
    if (mDaysElapsed % every == 0) {
        storage->generateAnimalsForSale();
        parkEvents().rebuildOfferCards();
    }
}

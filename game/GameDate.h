#pragma once

// The park's calendar: the current day, month and year, the date the park started from and
// the number of game days passed. February always has 28 days.

#include <string>

class GameDate {
public:
    // The caller gives a valid date (isValid).
    GameDate(int day, int month, int year);

    // Month 1 to 12 and a day within that month.
    static bool isValid(int day, int month, int year);

    // "day month-name year", the month's name from the texts table.
    std::wstring toText() const;
    // One day forward: closes the month on a month change and offers new animals every
    // "[random animals to buy after (days)]" days (through DataStorage).
    void advance();

    int mDaysPerMonth[12];
    const wchar_t* mMonthNames[12];
    int mStartYear;
    int mStartMonth;
    int mStartDay;
    int mDay;
    int mMonth;
    int mYear;
    int mDaysElapsed = 0;
};

#include "game/MonthBalance.h"

int MonthBalance::total() const
{
    int sum = 0;
    for (int word : mValues)
        sum += word;
    return sum;
}

MonthBalance* MonthBalance::clone() const
{
    return new MonthBalance(*this);
}

#include "game/MonthBalance.h"

#include "game/Ranges.h"

#include <cstdint>
#include <limits>

// Summed wide and held within int: fourteen words near the limits cannot overflow the total.
int MonthBalance::total() const
{
    int64_t sum = 0;
    for (int word : mValues)
        sum += word;
    if (sum > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (sum < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(sum);
}

void MonthBalance::book(int row, long long amount)
{
    mValues[row] = moneySum(mValues[row], amount);
}

MonthBalance* MonthBalance::clone() const
{
    return new MonthBalance(*this);
}

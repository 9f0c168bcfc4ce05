#pragma once

// The ranges the game's numbers are held within. Every number read from a data file or a saved
// game is held within the range the game itself can produce (a warning names file and key), so
// the rules' arithmetic on them never overflows; money that grows by adding is held within
// kMaxMoney by saturating sums.

#include <climits>

// Cash, loan and every money sum (month records, the sales of a day).
const int kMaxMoney = 1000000000;
// One price, cost, fee, reward or maintenance.
const int kMaxPrice = 1000000;
// Any count of game days (stays, promotions, countdowns).
const int kMaxDays = 36500;
// Counts of things: food units, visitors, animals offered.
const int kMaxCount = 1000000;

// a + b held within -kMaxMoney..kMaxMoney.
inline int moneySum(long long a, long long b)
{
    long long sum = a + b;
    return sum > kMaxMoney ? kMaxMoney : sum < -kMaxMoney ? -kMaxMoney : static_cast<int>(sum);
}

// a x b held within -kMaxMoney..kMaxMoney.
inline int moneyProduct(long long a, long long b)
{
    return moneySum(0, a * b);
}

// A real converted to an int, held within lo..hi (NaN gives lo).
inline int truncatedWithin(double value, int lo, int hi)
{
    if (!(value > lo))
        return lo;
    if (value >= hi)
        return hi;
    return static_cast<int>(value);
}

#pragma once

// One park of the ranking. Rival parks are not simulated: each one's popularity follows a slow
// sine wave of the calendar with a speed drawn when the rival is created.

#include <string>

class DataRankingPark {
public:
    // speed = (rand() % 100) x 0.0001.
    DataRankingPark(const std::wstring& name, int popularity, int player);

    // popularity = M/2 + M/2 x sin(speed x (t + 1)), never below 0; M = "[max popularity]".
    void update(float t);
    // Sort order of the ranking: the higher popularity first.
    static bool better(const DataRankingPark* a, const DataRankingPark* b);

    std::wstring mName;
    float mPopularity;
    float mSpeed;
    int mPlayer;
};

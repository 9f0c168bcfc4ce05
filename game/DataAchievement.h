#pragma once

// One achievement of "data/game/Achievements/".

#include <string>

class DataAchievement {
public:
    explicit DataAchievement(const std::string& path);

    // Pays the reward into the cash and this month's records (t_Other).
    void giveReward();

    std::string mPath;
    std::wstring mName;           // the identity: saved games match it exactly
    std::wstring mDescription;
    int mReward = 0;
    std::wstring mRequirements;
    std::wstring mCongratulations;
    std::wstring mConditions;
    int mExtra[3] = {};           // kept as read; unused
    int mDone = 0;
};

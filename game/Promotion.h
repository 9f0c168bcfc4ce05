#pragma once

// One promotion of "data/game/Promotions/": while it runs it adds its worth to the park's
// popularity.

#include <string>

class Promotion {
public:
    // The bank offers the first promotions of the list, by place.
    static constexpr int kOffered = 3;

    explicit Promotion(const std::string& path);

    // Starts it: days left = duration, the cost charged (t_ParkPromotion). DataStorage's
    // startPromotion sets the active promotion before.
    void buy();
    // One day less; on reaching 0 no promotion is active any more.
    void newDay();

    int mCost = 0;
    int mPopularityWorth = 0;     // the file's real, truncated
    int mDaysLeft = -1;
    int mDuration = 0;
    std::wstring mName;
    std::wstring mDescription;
    std::wstring mDescriptionWhenUsed;
};

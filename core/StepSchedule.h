#pragma once

// The time of the next fixed logic step on the wrapping millisecond clock (game_time_ms).
// Logic catches up with the clock one 10 ms step at a time: a step is due while the clock
// has passed the next step time. Comparisons go through time_diff_ms, so the catch-up
// neither stalls nor runs away when the 32-bit clock wraps.

#include "core/platform.h"

class StepSchedule {
public:
    static constexpr int kStepMs = 10;

    // The next step is due at now.
    void start(int now) { mNext = now; }
    // True when the clock reading now is past the next step time.
    bool due(int now) const { return time_diff_ms(now, mNext) > 0; }
    // The step at the next step time has run: the following one is 10 ms later.
    void advance() { mNext = time_add_ms(mNext, kStepMs); }
    int next() const { return mNext; }

private:
    int mNext = 0;
};

#pragma once

// The ranking screen. Only what the park rules use of it so far: building the ranking and the
// park's place in it.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

class MenuRanking : public Singleton<MenuRanking>, public Container {
public:
    MenuRanking() = default;

    // Ranks the park among the rival parks by popularity and keeps its place.
    void buildRanking();

    int mPlayerPlace = 0;   // 1 = the best park
};

#pragma once

// The in-game HUD. Only what the park rules use of it so far: the cash label, the queue of
// achievement notices and the HUD's fade.

#include "core/Singleton.h"
#include "toolkit/widgets/Container.h"

#include <vector>

class DataAchievement;
class WidgetLabel;

// One reached-achievement notice of the HUD.
struct Achievement {
    explicit Achievement(DataAchievement* item) : item(item) {}
    DataAchievement* item;
    float timer = 0.0f;
    int state = 0;
};

class MenuIngame : public Singleton<MenuIngame>, public Container {
public:
    MenuIngame() = default;

    // The alpha of the HUD's widgets, with which the cash figure fades.
    float getAlpha() const { return 1.0f; }

    WidgetLabel* mWidget10 = nullptr;      // the cash label
    std::vector<Achievement*> mNotices;    // oldest first
    int mOpenFold = 0;                     // the fold the HUD opened: 0 none, 1, 2 or 3
};

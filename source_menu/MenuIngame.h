#pragma once

// The in-game HUD. Only what the park rules use of it so far: the cash label (mWidget10 of the
// layout), the queue of achievement notices and the HUD's fade.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuIngame.h"
#include "toolkit/widgets/WidgetButton.h"

#include <vector>

class DataAchievement;

// One reached-achievement notice of the HUD.
struct Achievement {
    explicit Achievement(DataAchievement* item) : item(item) {}
    DataAchievement* item;
    float timer = 0.0f;
    int state = 0;
};

class MenuIngame : public Singleton<MenuIngame>, public _MenuIngame {
public:
    MenuIngame() = default;

    // Layout handlers; the screen does not react to them yet.
    void onWidget2(int, int) override {}
    void onWidget3(int, int) override {}
    void onWidget4(int, int) override {}
    void onWidget5(int, int) override {}
    void onWidget6(int, int) override {}
    void onWidget7(int, int) override {}
    void onWidget8(int, int) override {}
    void onWidget16(int, int) override {}
    void onWidget22(int, int) override {}
    void onWidget23(int, int) override {}
    void onWidget24(int, int) override {}
    void onWidget25(int, int) override {}
    void onWidget26(int, int) override {}
    void onWidget27(int, int) override {}

    // True while the pointer is over (or presses) the third fold's button: the pointer overlay
    // then leaves the bottom edge's scrolling as it was.
    int isFold3ButtonActive() const { return mWidget2 && mWidget2->getLayerStates().second != 0; }
    // The alpha of the HUD's widgets, with which the cash figure fades.
    float getAlpha() const { return 1.0f; }

    std::vector<Achievement*> mNotices;    // oldest first
    int mOpenFold = 0;                     // the fold the HUD opened: 0 none, 1, 2 or 3
};

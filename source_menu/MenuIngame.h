#pragma once

// The in-game HUD over the park view: the bar with the three fold buttons and the camera
// buttons, the cash figure (drawn by the park's cash account into mWidget10), the panel of the
// animal the camera is on (Feed, Treat), the panel of the followed visitor, the park-wide
// repair / clean / feed buttons at the right edge, and the queue of achievement notices.
// The bar follows the left screen edge, the park-wide buttons and notices the right edge.
//
// Index: notices - HUD - edges

#include "core/Singleton.h"
#include "source_menu/generated/_MenuIngame.h"
#include "toolkit/widgets/WidgetButton.h"

#include <vector>

class Button;
class DataAchievement;
class DataAnimal;
class Happiness;
class Progress;

// One reached-achievement notice of the HUD.
struct Achievement {
    explicit Achievement(DataAchievement* item) : item(item) {}
    DataAchievement* item;   // not owned
    float timer = 0.0f;      // grows while the notice is among the first five
    int state = 0;           // 1 once its information popup was opened
};

class MenuIngame : public Singleton<MenuIngame>, public _MenuIngame {
public:
    static constexpr int kShownNotices = 5;

    MenuIngame() = default;
    // The gauges, buttons and notices it made (the game's own HUD lives for the whole run).
    ~MenuIngame() override;

    // ---- screen
    // The layout, then the gauges and the code-made buttons at their helpers.
    void init(const char* path) override;
    // Input of a 10 ms step; nothing while the game is paused or a modal panel is open.
    void update() override;
    void draw() override;
    // On every showing: no fold open, no treatment pending, the notice buttons hidden.
    void reset() override;

    // Fold buttons (folds 3, 2, 1), camera buttons, panel close buttons, notices 3, 2, 1, 0, 4.
    void onWidget2(int previous, int current) override;
    void onWidget3(int previous, int current) override;
    void onWidget4(int previous, int current) override;
    void onWidget5(int previous, int current) override;
    void onWidget6(int previous, int current) override;
    void onWidget7(int previous, int current) override;
    void onWidget8(int previous, int current) override;
    void onWidget16(int previous, int current) override;
    void onWidget22(int previous, int current) override;
    void onWidget23(int previous, int current) override;
    void onWidget24(int previous, int current) override;
    void onWidget25(int previous, int current) override;
    void onWidget26(int previous, int current) override;
    void onWidget27(int previous, int current) override;

    // ---- queries
    // True while the pointer is over or presses the button of fold 3.
    bool isFold3ButtonActive() const;
    // The alpha of the bar's colour: the HUD's fade, with which the cash figure fades too.
    float getAlpha() const;

    // ---- notices
    // Pays the achievement's reward and shows its congratulations in the message popup.
    void showAchievementInfo(Achievement* entry);
    // Removes and frees the notice at that queue position (none when out of range).
    void removeAchievementNotice(size_t position);
    void drawAchievementNotice(Achievement* entry, int position, WidgetButton* button);

    // ---- edges of the screen in layout units (the layout spans 0..1 of a 4:3 band)
    static float leftEdge();
    static float rightEdge();

    Happiness* mPetHappiness = nullptr;
    Happiness* mVisitorHappiness = nullptr;
    Progress* mHungerGauge = nullptr;
    Progress* mHealthGauge = nullptr;
    Button* mFeedButton = nullptr;
    Button* mTreatButton = nullptr;
    Button* mCleanAllButton = nullptr;
    Button* mRepairAllButton = nullptr;
    Button* mFeedAllButton = nullptr;
    int mTreatAnswer = -1;               // answer of the treat popup: -1 none pending, 1 Ok, 0 Cancel
    int mTreatCost = 0;                  // price of the pending treatment
    DataAnimal* mTreatAnimal = nullptr;  // the animal the pending treatment is for
    int mOpenFold = 0;                   // the fold the HUD opened: 0 none, 1, 2 or 3
    float mAllButtonsAlpha = 0.0f;
    std::vector<Achievement*> mNotices;  // oldest first

    // Blink clock of the notices: +0.025 per shown HUD update, for the whole run.
    static float noticeBlinkPhase;

private:
    Container* fold(int n) const;
    // Opens fold n, or closes it when it is the open one; swaps folds in one step.
    void onFoldButton(int n, int current);
    void onNoticeButton(size_t position, int current);
    void stepNotices();
    void updateParkWideButtons();
    void updateAnimalPanel(DataAnimal* animal);
    void askForTreatment(DataAnimal* animal);
    // Places the images that follow the screen edges.
    void pinToEdges(float left, float right);
};

#pragma once

// The trick show: one park animal stands on the show stage and is taught its species' three
// tricks. A trick button lets the figure try its trick (the lower the trick's level, the rarer
// a success); a performed trick waits for the player's confirmation, which costs the lesson
// price and raises the trick's level; reaching the top level pays the animal's trick reward,
// and mastering all three its all-tricks reward. The show ends after 30 seconds or with the exit
// button, and the game returns to the park. While it is open the park's walkers stand still.
//
// Index: screen - tricks - drawing

#include "core/Singleton.h"
#include "render/CRender.h"
#include "source_menu/generated/_TeachTrick.h"

#include <string>
#include <utility>
#include <vector>

class AnimalAvatar;
class Button;
class DataAnimal;
class Progress;

class TeachTrick : public Singleton<TeachTrick>, public _TeachTrick {
public:
    TeachTrick() = default;

    // ---- screen
    // Binds the layout, places the gauges and the exit button, requests the show's scene.
    void init(const char* path) override;
    // On the way to being shown: 30 seconds, the animal's next lesson day, the species' trick
    // names and trick file, the figure idle, nothing playing.
    void reset() override;
    // One 10 ms step while shown (nothing while the message popup is up): the figure, the end of
    // a trick, the clock and the exit, the money label's fade, the all-tricks reward.
    void update() override;
    void draw() override;

    // The pet show screen picks the species (lower-cased) and the animal, then shows the screen.
    void setSpecies(const std::wstring& species);
    void setAnimal(DataAnimal* animal) { mAnimal = animal; }
    // Whether the show is on screen.
    int isOpen() const { return isVisible(); }

    // ---- tricks (the layout's handlers: confirm, trick 1, 2, 3)
    void onWidget5(int previous, int current) override { onTrickTaught(previous, current); }
    void onWidget6(int previous, int current) override { playTrick(1, current); }
    void onWidget7(int previous, int current) override { playTrick(2, current); }
    void onWidget8(int previous, int current) override { playTrick(3, current); }
    // On a release: a try of trick n, which plays it or "notrick".
    void playTrick(int n, int current);
    // On a release with a performed trick waiting: the lesson is paid and the trick's level rises.
    void onTrickTaught(int previous, int current);

    CRender::Object* mCameraScene = nullptr;
    AnimalAvatar* mAvatar = nullptr;
    DataAnimal* mAnimal = nullptr;
    int mAllTaughtFlag = 0;       // 1 once the last trick is mastered, until its reward is paid
    int mTimeLeft = 0;            // ms
    int mPlayingTrick = -1;       // 1..3 while its animation plays
    int mFinishedTrick = -1;      // 1..3 while it waits for confirmation
    int mRewardPrice = 0;         // the price of one lesson
    Button* mExitButton = nullptr;
    std::wstring mSpecies = L"dog";
    Progress* mGauge1 = nullptr;
    Progress* mGauge2 = nullptr;
    Progress* mGauge3 = nullptr;
    std::string mHelperName;      // the stage node of the show's scene
    float mAmountAlpha = 0.0f;
    int mAmount = -1;             // the money label's amount; -1 none
    std::vector<std::pair<int, int>> mIdleRanges;  // kept as read
    std::vector<std::pair<int, int>> mTrickRanges; // kept as read

private:
    // Starts the money label with the amount just paid or earned.
    void showAmount();
};

// Reads a trick file ("data/game/show/<species>.txt") into the show: its frame ranges, the lesson
// price, the stage node and the figure. A missing file stops the program.
void LoadTrick(TeachTrick& show, const std::string& path);

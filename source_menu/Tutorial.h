#pragma once

// The tutorial: sixteen messages that guide a new player through the first game, shown one by
// one as the player reaches each step (which folds and panels are open, whether a building was
// bought, a guest accepted, food bought, a price changed), each a modal panel with the profile's
// avatar, Ok and a button that switches the tutorial off. After a message a pulsing pointer may
// show the control to use next. Six management screens show a message of their own the first
// time they are shown. The messages come from "data/game/tutorial.txt".

#include "core/Singleton.h"
#include "source_menu/generated/_Tutorial.h"

#include <map>
#include <string>
#include <vector>

class Button;

// One message of the tutorial file.
class TutMessage {
public:
    TutMessage(int id, int pointer, int withSound, const std::wstring& title, const std::wstring& text);

    // Shows the tutorial screen with this message, once.
    void show();

    int id;               // 1..16 the steps' messages, -1..-6 the screens' own
    std::wstring title;
    std::wstring text;
    int withSound;        // "popup" plays when shown
    int pointer;          // pointer picture shown after the message, -1 none
    int shown = 0;
};

// The messages of a tutorial file, in file order (see tutorial.txt). A message with a malformed
// id is skipped, a malformed sound flag or pointer target (or a target outside -1..11) is taken
// as none, each with a warning naming the file; a message cut off by the end of the file is
// ignored.
std::vector<TutMessage*> readTutorialMessages(const std::string& path);

class Tutorial : public Singleton<Tutorial>, public _Tutorial {
public:
    static const int kPointerCount = 12;
    static const int kLastStep = 17;

    Tutorial() = default;
    ~Tutorial() override;

    void init(const char* path) override { loadMessages(path); }
    void loadMessages(const char* path);
    void load() override { _Tutorial::load(); }
    void unload() override { _Tutorial::unload(); }
    void update() override;
    void draw() override;
    void reset() override { _Tutorial::reset(); }
    // A tip is answered before anything under it.
    InputRole inputRole() const override { return InputRole::Popup; }
    void onFrame() override { _Tutorial::onFrame(); }
    void unusedScreenHook() override {}

    // Shows the first not yet shown message with this id, when the current profile has the
    // tutorial on.
    void showMessage(int id);
    // The step machine; the date bar runs it while nothing modal is shown.
    void checkTriggers();
    // Draws the pointer at the control the last message named; from the date bar's draw.
    void updatePointer();
    // The messages are the player's of the profile file at path to see: a message shows once per
    // player and run, so the player gets back the messages they saw earlier in the run, and the
    // flags of the player before are kept for their next turn.
    void playedBy(const std::string& path);
    // The player of the profile file at path is gone: the file was deleted or a new profile takes
    // its name.
    void forgetPlayer(const std::string& path);
    // The profile file at from was renamed to: its player keeps the messages seen.
    void playerMoved(const std::string& from, const std::string& to);

    Button* okButton = nullptr;
    Button* turnOffButton = nullptr;
    int buildingBought = 0;
    int petAccepted = 0;
    int foodBought = 0;
    int priceChanged = 0;
    float bandLeft = 0.0f;
    int step = 0;
    int pointerTarget = -1;
    float wobbleX = 0.0f;
    float wobbleY = 0.0f;
    float phase = 0.0f;
    std::vector<TutMessage*> messages;
    // The profile file whose player saw the messages marked shown; empty for nobody. Kept by path:
    // the profile records are made anew at every scan.
    std::string seenBy;
    // The other players of the run: each one's shown flags, in the order of messages.
    std::map<std::string, std::vector<int>> seenByOthers;

private:
    // Whether the condition of the current step holds.
    bool stepReady() const;
};

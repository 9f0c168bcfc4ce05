#pragma once

// The main menu: the current profile's name and avatar over a dimmed backdrop, and the buttons
// play, change profile, options and exit. Every showing reloads the game data and the current
// profile's park, so the menu shows the park that "gamestart" plays.

#include "core/Singleton.h"
#include "source_menu/generated/_MainMenuStart.h"

#include <vector>

class Button;
class DataProfile;

class MainMenuStart : public Singleton<MainMenuStart>, public _MainMenuStart {
public:
    MainMenuStart() = default;
    ~MainMenuStart() override;

    void init(const char* path) override;
    void load() override { _MainMenuStart::load(); }
    void unload() override { _MainMenuStart::unload(); }
    void update() override;
    void draw() override;
    void reset() override;
    void onFrame() override { _MainMenuStart::onFrame(); }
    void unusedScreenHook() override {}

    // The current profile; null when none is current (then nothing can be played).
    DataProfile* profile = nullptr;
    // Play, change profile, options, exit.
    std::vector<Button*> buttons;
};

#pragma once

// The new profile: a typed name and an avatar chosen with two arrows. Creating writes a new
// profile file that starts a fresh park with the tutorial on.

#include "core/Singleton.h"
#include "render/CRender.h"
#include "source_menu/generated/_MainMenuCreateProfile.h"

#include <string>
#include <vector>

class Button;

class MainMenuCreateProfile : public Singleton<MainMenuCreateProfile>, public _MainMenuCreateProfile {
public:
    MainMenuCreateProfile() = default;
    ~MainMenuCreateProfile() override;

    void init(const char* path) override;
    void load() override { _MainMenuCreateProfile::load(); }
    void unload() override { _MainMenuCreateProfile::unload(); }
    void update() override;
    void draw() override;
    void reset() override;
    void onFrame() override { _MainMenuCreateProfile::onFrame(); }
    void unusedScreenHook() override {}
    void onWidget3(int previous, int current) override {}

    // Writes the profile file for the name with the chosen avatar and makes it the chooser's
    // selection; then the main menu (the first profile) or the chooser shows. False, with
    // nothing changed, when the file cannot be written: the player is told why.
    bool createProfile(const std::wstring& name);

    std::vector<CRender::Image*> avatarImages;
    std::vector<std::wstring> avatarNames;
    Button* previousButton = nullptr;
    Button* nextButton = nullptr;
    Button* createButton = nullptr;
    Button* cancelButton = nullptr;
    int avatarIndex = 0;
    // A try failed: a Return held since then tries again only after the screen has seen it
    // released, so a key still down when the notice closes makes no second try.
    bool returnSpent = false;
};

// The path of a new profile file in folder: "profile<n>.txt" with n one more than the number
// of profiles, or above every number already taken (the lowest free number when the highest
// has no successor), so no existing profile is replaced.
std::string newProfilePath(const std::string& folder, int profileCount);

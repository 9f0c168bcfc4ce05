#pragma once

// The profile choice: the profiles three rows at a time with their avatars and names. Pressing
// on a row selects it; the selected row offers to play or delete its profile. A button asks for
// a new profile; two arrows scroll a list of more than three.

#include "core/Singleton.h"
#include "source_menu/generated/_MainMenuChooseProfile.h"

class Button;

class MainMenuChooseProfile : public Singleton<MainMenuChooseProfile>, public _MainMenuChooseProfile {
public:
    static const int kRows = 3;

    MainMenuChooseProfile() = default;
    ~MainMenuChooseProfile() override;

    void init(const char* path) override;
    void load() override { _MainMenuChooseProfile::load(); }
    void unload() override { _MainMenuChooseProfile::unload(); }
    void update() override;
    void draw() override;
    void reset() override;
    void onFrame() override { _MainMenuChooseProfile::onFrame(); }
    void unusedScreenHook() override {}

    // The selected profile (an index into the profile list, -1 for none); the list then starts
    // at most two rows above it.
    void setSelected(int index);
    int getSelected() const { return selected; }

    // The area of row r: where its avatar is drawn and where the pointer picks it.
    WidgetHelper* rowArea(int row) const;

    Button* scrollUpButton = nullptr;
    Button* scrollDownButton = nullptr;
    Button* createButton = nullptr;
    struct RowButtons {
        Button* select = nullptr;
        Button* remove = nullptr;
    };
    RowButtons rowButtons[kRows];
    int firstRow = 0;
    int hoverRow = -1;
    int selected = -1;
    float phase = 0.0f;
};

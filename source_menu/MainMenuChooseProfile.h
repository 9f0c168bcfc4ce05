#pragma once

// The profile choice screen, with the selected row of the profile list.

#include "core/Singleton.h"
#include "source_menu/generated/_MainMenuChooseProfile.h"

class MainMenuChooseProfile : public Singleton<MainMenuChooseProfile>, public _MainMenuChooseProfile {
public:
    MainMenuChooseProfile() = default;

    // The selected row of the profile list; -1 for none.
    void setSelected(int index) { mSelected = index; }
    int getSelected() const { return mSelected; }

private:
    int mSelected = -1;
};

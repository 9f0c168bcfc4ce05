#pragma once

// The question before a profile is deleted: its avatar, Delete and Cancel. Deleting removes the
// profile's file and renumbers the others so that their numbers run from 1 without a gap.

#include "core/Singleton.h"
#include "source_menu/generated/_MainMenuDeleteProfile.h"

#include <string>
#include <utility>
#include <vector>

class Button;
class DataProfile;

class MainMenuDeleteProfile : public Singleton<MainMenuDeleteProfile>, public _MainMenuDeleteProfile {
public:
    MainMenuDeleteProfile() = default;
    ~MainMenuDeleteProfile() override;

    void init(const char* path) override;
    void load() override { _MainMenuDeleteProfile::load(); }
    void unload() override { _MainMenuDeleteProfile::unload(); }
    void update() override;
    void draw() override;
    void reset() override;
    void onFrame() override { _MainMenuDeleteProfile::onFrame(); }
    void unusedScreenHook() override {}

    // Removes the chosen profile's file, forgets a stored or current profile at or after it,
    // renumbers the rest and rescans the list.
    void deleteProfile();

    DataProfile* profile = nullptr;
    Button* cancelButton = nullptr;
    Button* deleteButton = nullptr;
};

// The number a profile file's name carries ("profile12.txt": 12); false when it carries none.
bool profileNumber(const std::wstring& fileName, int& number);
// Renames the "*.txt" files of folder to "profile1.txt", "profile2.txt", ... in the order of
// their numbers (files without a number last, in listing order). A file is never renamed onto
// another existing file; such a file keeps its name, with a warning. The renames done, as
// (old path, new path) in the order done.
std::vector<std::pair<std::string, std::string>> renumberProfiles(const std::string& folder);

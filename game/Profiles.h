#pragma once

// Saved games: one profile file "data/game/Profiles/profile<n>.txt" per player, holding the
// player's name, avatar, tutorial progress and the whole state of the park.

#include "render/CRender.h"

#include <string>

class DataProfile {
public:
    explicit DataProfile(const std::string& path) : mPath(path) {}

    std::string mPath;
    std::wstring mName;
    std::wstring mAvatarFile;   // in "data/game/Profiles/Avatars/"
    int mTutorial = 0;
    CRender::Image* mAvatar = nullptr;
};

// Writes the profile file with the given header values and the current park; the file is
// replaced as a whole. False when it could not be written.
bool saveProfile(const std::string& path, const std::wstring& name, const std::wstring& avatarFile,
                 int tutorial, int tutorialStep, int tutorialState, int buildingBought, int petAccepted,
                 int thirdTrigger);
// Reads a profile: always from freshly loaded game data; in header mode only the name, the
// tutorial values and the avatar, else the whole park.
void loadProfile(DataProfile* profile, int headerOnly);

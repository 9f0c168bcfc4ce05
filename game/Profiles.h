#pragma once

// Saved games: one profile file "data/game/Profiles/profile<n>.txt" per player, holding the
// player's name, avatar, tutorial progress and the whole state of the park.

#include "render/CRender.h"

#include <string>

enum class WriteFailure; // toolkit/utils/misc.h

// Why the copy of a damaged file could not be kept, as the system told it. Occupied: something
// other than a file (a folder) stands at the name the copy is first written to.
enum class CopyFailure { None, NoSpace, NoPermission, TooMany, Unreadable, Occupied, Other };

class DataProfile {
public:
    explicit DataProfile(const std::string& path) : mPath(path) {}

    std::string mPath;
    std::wstring mName;
    std::wstring mAvatarFile;   // in "data/game/Profiles/Avatars/"
    int mTutorial = 0;
    CRender::Image* mAvatar = nullptr;
    // Where the file as it was is kept when part of the park could not be read from it (empty
    // when it was read whole).
    std::string mDamagedCopy;
    // The file could not be read or holds no saved park, or is damaged and could not be copied
    // aside (mCopyFailure tells why): it is not played, so that nothing is saved over it.
    bool mUnreadable = false;
    CopyFailure mCopyFailure = CopyFailure::None;
    // The key of the text telling the player why the profile is not played.
    const wchar_t* notPlayedText() const;
    // Animals of the park beyond the homes of their kind: they stay, and the player is told.
    int mHomeless = 0;
};

// Writes the profile file with the given header values and the current park; the file is
// replaced as a whole. False (the kind in failure) when it could not be written.
bool saveProfile(const std::string& path, const std::wstring& name, const std::wstring& avatarFile,
                 int tutorial, int tutorialStep, int tutorialState, int buildingBought, int petAccepted,
                 int thirdTrigger, WriteFailure* failure = nullptr);
// Reads a profile: always from freshly loaded game data; in header mode only the name, the
// tutorial values and the avatar, else the whole park. A park read with warnings (a section
// malformed, cut short, nearly a key, repeated or missing, an unreadable file) keeps the file
// as it was beside it (mDamagedCopy) before anything can overwrite it.
void loadProfile(DataProfile* profile, int headerOnly);
// Copies a damaged file to path + ".damaged" (or ".damaged2", ... when anything else stands
// there). It replaces nothing; the file is on the disk when it returns, and its name too unless
// the folder could not be flushed (told on the log). A copy cut short never stands under a copy's
// name, but for a kill while it is written straight there, in a folder that neither links nor
// renames without replacing. The copy's path, or empty with the cause in failure.
std::string keepDamagedCopy(const std::string& path, CopyFailure* failure = nullptr);

#pragma once

// The game's interface sound effects by key ("click", "a_done", "buy", "a_new", "popup",
// "wrong_click", "exit"). Each effect is an NSound inside a sound resource of the background
// loader, so the files are read on the loader's thread while the game starts; an effect
// plays nothing until its file has loaded.

#include "core/Singleton.h"
#include "core/sound.h"

#include <map>
#include <string>

class Sounds : public Singleton<Sounds> {
public:
    Sounds() = default;

    // Requests the seven effects from the loader, one reference each, kept for the whole run.
    void loadAll();
    // Plays the effect of key at volume (0..1): the mixer channel, or -1 when nothing plays.
    // A key that is not in the registry plays nothing and prints a warning.
    int play(const std::string& key, float volume = 1.0f);

    std::map<std::string, NSound*> sounds;
};

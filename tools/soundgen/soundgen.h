#pragma once

#include "synth.h"

#include <string>
#include <vector>

struct NamedSound {
    std::string file;
    synth::Buffer sound;
};

// The interface effects, by file name.
std::vector<NamedSound> make_effects();
// The looping music.
synth::Buffer make_music();

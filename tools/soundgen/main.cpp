// Writes the game's sounds into a data folder: the interface effects as WAV files in
// "sounds/" and the music loop as Ogg Vorbis in "music/zorvan.ogg".
//   soundgen <data folder>

#include "soundgen.h"

#include <cstdio>
#include <sys/stat.h>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: soundgen <data folder>\n");
        return 2;
    }
    const std::string data = argv[1];
    mkdir(data.c_str(), 0755);
    mkdir((data + "/sounds").c_str(), 0755);
    mkdir((data + "/music").c_str(), 0755);

    for (const NamedSound& s : make_effects()) {
        std::string path = data + "/sounds/" + s.file;
        if (!synth::write_wav(path, s.sound)) {
            std::fprintf(stderr, "soundgen: can't write %s\n", path.c_str());
            return 1;
        }
    }
    std::string music = data + "/music/zorvan.ogg";
    if (!synth::write_ogg(music, make_music(), 0.4f)) {
        std::fprintf(stderr, "soundgen: can't write %s\n", music.c_str());
        return 1;
    }
    return 0;
}

#include "render/external/Sounds.h"

#include "render/external/bg_loader.h"

#include <cstdio>

namespace {

const int kSoundPriority = 100;

struct Effect {
    const char* key;
    const char* file;
};

const Effect kEffects[] = {
    {"click", "data/sounds/ZEB_Click.wav"},
    {"a_done", "data/sounds/ZEB_AchievementDone.wav"},
    {"buy", "data/sounds/ZEB_Buy.wav"},
    {"a_new", "data/sounds/ZEB_NewAchievement.wav"},
    {"popup", "data/sounds/ZEB_Popup.wav"},
    {"wrong_click", "data/sounds/ZEB_WrongClick.wav"},
    {"exit", "data/sounds/ZEB_Exit.wav"},
};

} // namespace

void Sounds::loadAll()
{
    for (const Effect& effect : kEffects) {
        BGLoader::Resource* rc =
            bgLoader.request(effect.file, kSoundPriority, &bgLoader.soundFactory, 1);
        sounds[effect.key] = static_cast<BGLoader::SoundResource*>(rc);
    }
}

int Sounds::play(const std::string& key, float volume)
{
    auto found = sounds.find(key);
    if (found == sounds.end()) {
        std::printf("Warning: no sound effect named %s\n", key.c_str());
        return -1;
    }
    return found->second->play(volume);
}

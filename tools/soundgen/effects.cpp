#include "soundgen.h"

#include <cmath>

// The seven interface effects: short mono sounds, each with its own colour and gesture.
// Notes are MIDI numbers (60 = C4).

namespace {

using namespace synth;

// Buffer of the given length with a bit of room sound, peaking at -3 dBFS at most and
// no louder on average than the others (RMS at most -14 dBFS).
Buffer effect(double seconds, float room, void (*compose)(Buffer&))
{
    Buffer dry(int(seconds * kRate), false, false);
    compose(dry);
    if (room > 0.0f) {
        Buffer send = dry;
        add_reverb(dry, send, room);
    }
    finish(dry, 0.7f, 12.0);
    double sum = 0.0;
    for (float v : dry.left)
        sum += double(v) * v;
    const double rms = std::sqrt(sum / dry.frames);
    const double maxRms = 0.2;
    if (rms > maxRms)
        dry.scale(float(maxRms / rms));
    return dry;
}

// A soft wooden tick.
void click(Buffer& b)
{
    Noise noise(11);
    add_tick(b, 0.0, 1.0f, noise);
}

// "Uh-oh": two warm, hollow notes falling a fourth.
void wrong_click(Buffer& b)
{
    add_note(b, Voice::SoftSquare, 0.0, 58, 0.09, 0.9f, 0.0f);    // B flat 3
    add_note(b, Voice::SoftSquare, 0.13, 53, 0.13, 0.9f, 0.0f);   // F 3
}

// A bright two-bell "ka-ching".
void buy(Buffer& b)
{
    add_note(b, Voice::Bell, 0.0, 83, 0.06, 0.7f, 0.0f);    // B5
    add_note(b, Voice::Bell, 0.07, 88, 0.3, 1.0f, 0.0f);    // E6
    add_note(b, Voice::Bell, 0.07, 95, 0.2, 0.25f, 0.0f);   // B6 sparkle
}

// A rising bubble "bloop" for a window that opens.
void popup(Buffer& b)
{
    add_glide(b, 0.0, 69, 81, 0.07, 0.2, 0.8f);   // A4 to A5
}

// Three mallet notes up a major triad: something new to look at.
void achievement_new(Buffer& b)
{
    add_note(b, Voice::Mallet, 0.0, 79, 0.2, 0.8f, 0.0f);    // G5
    add_note(b, Voice::Mallet, 0.09, 83, 0.2, 0.85f, 0.0f);  // B5
    add_note(b, Voice::Mallet, 0.18, 86, 0.35, 1.0f, 0.0f);  // D6
}

// A small fanfare: a quick arpeggio landing on a shimmering chord.
void achievement_done(Buffer& b)
{
    add_note(b, Voice::Mallet, 0.0, 72, 0.12, 0.7f, 0.0f);   // C5
    add_note(b, Voice::Mallet, 0.07, 76, 0.12, 0.75f, 0.0f); // E5
    add_note(b, Voice::Mallet, 0.14, 79, 0.12, 0.8f, 0.0f);  // G5
    add_note(b, Voice::Vibes, 0.21, 84, 0.45, 0.9f, 0.0f);   // C6
    add_note(b, Voice::Vibes, 0.21, 88, 0.45, 0.6f, 0.0f);   // E6
    add_note(b, Voice::Vibes, 0.21, 91, 0.45, 0.4f, 0.0f);   // G6
    add_note(b, Voice::Bell, 0.21, 96, 0.1, 0.15f, 0.0f);    // C7 glint
}

// A gentle "bye-bye" falling a fifth.
void exit_sound(Buffer& b)
{
    add_note(b, Voice::EPiano, 0.0, 79, 0.12, 0.8f, 0.0f);   // G5
    add_note(b, Voice::EPiano, 0.15, 72, 0.2, 0.9f, 0.0f);   // C5
}

} // namespace

std::vector<NamedSound> make_effects()
{
    return {
        {"ZEB_Click.wav", effect(0.06, 0.0f, click)},
        {"ZEB_AchievementDone.wav", effect(1.0, 0.6f, achievement_done)},
        {"ZEB_Buy.wav", effect(0.5, 0.4f, buy)},
        {"ZEB_NewAchievement.wav", effect(0.75, 0.5f, achievement_new)},
        {"ZEB_Popup.wav", effect(0.24, 0.3f, popup)},
        {"ZEB_WrongClick.wav", effect(0.32, 0.2f, wrong_click)},
        {"ZEB_Exit.wav", effect(0.55, 0.5f, exit_sound)},
    };
}

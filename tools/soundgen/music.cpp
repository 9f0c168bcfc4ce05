#include "soundgen.h"

// The park's theme: 16 bars in C major at 112 beats a minute (34.3 s), made to loop.
// Bars 1-8 (A): a bouncy marimba tune over electric-piano stabs; bars 9-16 (B): the tune
// on vibraphone over held chords and a marimba arpeggio. Bar 16 ends on G7 with the bass
// walking up to the C of bar 1, and every note tail and the reverb wrap round to the
// start, so the loop has no seam.

namespace {

using namespace synth;

const int kBars = 16;
const int kBeatsPerBar = 4;
const int kBpm = 112;   // 44100 * 60 / 112 = 23625 frames a beat, exactly
const double kBeat = 60.0 / kBpm;
const double kEighth = kBeat / 2.0;

double bar_start(int bar)
{
    return bar * kBeatsPerBar * kBeat;
}

struct Chord {
    int bass;        // root of the bass line
    int voicing[4];  // electric-piano voicing
};

const Chord kChords[kBars] = {
    {48, {60, 64, 67, 71}},   // Cmaj7
    {45, {57, 60, 64, 67}},   // Am7
    {41, {53, 57, 60, 64}},   // Fmaj7
    {43, {55, 59, 62, 67}},   // G
    {48, {60, 64, 67, 71}},   // Cmaj7
    {45, {57, 60, 64, 67}},   // Am7
    {50, {57, 60, 62, 65}},   // Dm7
    {43, {55, 59, 62, 65}},   // G7
    {41, {53, 57, 60, 64}},   // Fmaj7
    {43, {55, 59, 62, 64}},   // G6
    {52, {52, 55, 59, 62}},   // Em7
    {45, {55, 57, 60, 64}},   // Am7
    {50, {53, 57, 60, 62}},   // Dm7
    {43, {55, 59, 62, 67}},   // G
    {41, {53, 57, 60, 64}},   // Fmaj7
    {43, {53, 55, 59, 62}},   // G7
};

// The tune: (note, length in eighths) per bar, 0 = rest; each bar holds 8 eighths.
struct Step {
    int note;
    int eighths;
};

const std::vector<Step> kTune[kBars] = {
    {{76, 2}, {79, 1}, {76, 1}, {84, 2}, {83, 1}, {79, 1}},
    {{81, 3}, {79, 1}, {76, 2}, {72, 2}},
    {{77, 1}, {79, 1}, {81, 1}, {84, 1}, {81, 2}, {79, 1}, {77, 1}},
    {{79, 4}, {0, 1}, {74, 1}, {76, 1}, {77, 1}},
    {{79, 2}, {76, 1}, {79, 1}, {84, 2}, {86, 1}, {84, 1}},
    {{83, 2}, {81, 2}, {76, 3}, {0, 1}},
    {{77, 1}, {76, 1}, {74, 1}, {77, 1}, {81, 2}, {84, 2}},
    {{83, 3}, {81, 1}, {79, 2}, {77, 2}},
    {{81, 4}, {79, 1}, {81, 1}, {84, 2}},
    {{83, 3}, {81, 1}, {79, 4}},
    {{79, 1}, {81, 1}, {83, 1}, {86, 1}, {83, 2}, {79, 2}},
    {{81, 6}, {76, 1}, {79, 1}},
    {{77, 2}, {81, 2}, {86, 2}, {84, 1}, {81, 1}},
    {{83, 3}, {79, 1}, {74, 2}, {79, 2}},
    {{81, 1}, {79, 1}, {77, 1}, {76, 1}, {77, 2}, {81, 2}},
    {{79, 4}, {77, 2}, {74, 2}},
};

void tune(Buffer& out, Buffer& send, Noise& humanise)
{
    for (int bar = 0; bar < kBars; ++bar) {
        const bool partA = bar < 8;
        double t = bar_start(bar);
        for (const Step& s : kTune[bar]) {
            double length = s.eighths * kEighth;
            if (s.note != 0) {
                float vel = 0.75f + 0.08f * humanise.next();
                if (partA) {
                    add_note(out, Voice::Mallet, t, s.note, length, vel, 0.1f);
                    add_note(send, Voice::Mallet, t, s.note, length, vel * 0.8f, 0.1f);
                    add_note(out, Voice::Pluck, t, s.note - 12, length * 0.9, vel * 0.22f, 0.15f);
                } else {
                    add_note(out, Voice::Vibes, t, s.note, length * 0.95, vel * 0.85f, 0.05f);
                    add_note(send, Voice::Vibes, t, s.note, length * 0.95, vel, 0.05f);
                }
            }
            t += length;
        }
    }
}

void chords(Buffer& out, Buffer& send, Noise& humanise)
{
    for (int bar = 0; bar < kBars; ++bar) {
        const Chord& c = kChords[bar];
        const double start = bar_start(bar);
        // A: syncopated stabs on 1, the "and" of 2 and a light one on 4.
        // B: one chord held through the bar.
        struct Hit {
            int eighth;
            double eighths;
            float vel;
        };
        static const Hit partA[] = {{0, 2.6, 0.5f}, {3, 2.6, 0.42f}, {6, 1.2, 0.3f}};
        static const Hit partB[] = {{0, 7.6, 0.45f}};
        const Hit* hits = bar < 8 ? partA : partB;
        const int count = bar < 8 ? 3 : 1;
        for (int h = 0; h < count; ++h) {
            for (int n = 0; n < 4; ++n) {
                float vel = hits[h].vel * (0.36f + 0.02f * humanise.next());
                double t = start + hits[h].eighth * kEighth + n * 0.004;   // a slight strum
                add_note(out, Voice::EPiano, t, c.voicing[n], hits[h].eighths * kEighth, vel, -0.35f);
                add_note(send, Voice::EPiano, t, c.voicing[n], hits[h].eighths * kEighth, vel * 0.7f,
                         -0.35f);
            }
        }
        // B: a soft marimba arpeggio up and down the chord, an octave higher.
        if (bar >= 8) {
            static const int order[8] = {0, 1, 2, 3, 2, 1, 2, 3};
            for (int e = 0; e < 8; ++e) {
                float vel = (e % 2 == 0 ? 0.2f : 0.15f) + 0.02f * humanise.next();
                double t = start + e * kEighth;
                add_note(out, Voice::Mallet, t, c.voicing[order[e]] + 12, kEighth, vel, 0.45f);
                add_note(send, Voice::Mallet, t, c.voicing[order[e]] + 12, kEighth, vel, 0.45f);
            }
        }
    }
}

void bass(Buffer& out, Noise& humanise)
{
    for (int bar = 0; bar < kBars; ++bar) {
        const int root = kChords[bar].bass;
        const double start = bar_start(bar);
        // Root, root, fifth, octave: (note offset, eighth, length in eighths).
        struct Hit {
            int offset;
            int eighth;
            double eighths;
        };
        static const Hit pattern[] = {{0, 0, 2.7}, {0, 3, 0.8}, {7, 4, 1.8}, {12, 6, 0.8}, {7, 7, 0.8}};
        // The last bar walks up G, A, B to the C of bar 1.
        static const Hit walk[] = {{0, 0, 2.7}, {0, 3, 0.8}, {2, 4, 1.8}, {4, 6, 1.8}};
        const bool last = bar == kBars - 1;
        const Hit* hits = last ? walk : pattern;
        const int count = last ? 4 : 5;
        for (int h = 0; h < count; ++h) {
            float vel = (hits[h].eighth == 0 ? 0.44f : 0.36f) + 0.02f * humanise.next();
            add_note(out, Voice::Bass, start + hits[h].eighth * kEighth, root + hits[h].offset,
                     hits[h].eighths * kEighth, vel, 0.0f);
        }
    }
}

void drums(Buffer& out, Noise& noise)
{
    for (int bar = 0; bar < kBars; ++bar) {
        const double start = bar_start(bar);
        const bool fill = bar == 7 || bar == 15;
        for (int e = 0; e < 8; ++e) {
            double t = start + e * kEighth;
            if (e == 0 || e == 4 || (e == 5 && bar % 2 == 1))
                add_kick(out, t, e == 5 ? 0.55f : 0.85f);
            if (e == 2 || e == 6)
                add_snare(out, t, 0.32f, noise);
            if (fill && e == 7)
                add_snare(out, t, 0.2f, noise);
            add_hat(out, t, (e % 2 == 0 ? 0.22f : 0.14f) + 0.02f * noise.next(), 0.3f, noise);
            add_shaker(out, t + kEighth / 2.0, 0.1f, -0.4f, noise);
        }
    }
}

} // namespace

Buffer make_music()
{
    const int frames = int(kBars * kBeatsPerBar * kBeat * kRate + 0.5);
    Buffer mix(frames, true, true);
    Buffer send(frames, true, true);
    Noise humanise(2024), drumNoise(77);
    tune(mix, send, humanise);
    chords(mix, send, humanise);
    bass(mix, humanise);
    drums(mix, drumNoise);
    add_reverb(mix, send, 1.0f);
    finish(mix, 0.8f, 0.0);
    return mix;
}

#pragma once

// Small synthesis kit for the game's sounds: tuned notes, mallet, bell, electric piano,
// bass and drum voices rendered additively into float buffers, filters, a room reverb,
// and the WAV / Ogg Vorbis writers. Everything is deterministic (own noise generator).

#include <cstdint>
#include <string>
#include <vector>

namespace synth {

const int kRate = 44100;
const double kPi = 3.14159265358979323846;

// Frequency of a MIDI note number (69 = A4 = 440 Hz).
double note_hz(double note);

// Deterministic white noise in -1..1.
class Noise {
public:
    explicit Noise(uint32_t seed) : mState(seed) {}
    float next();

private:
    uint32_t mState;
};

// A mono or stereo float buffer that wraps around: writing past the end continues at the
// start, so the music's note tails fall into its beginning and the loop is seamless.
struct Buffer {
    int frames = 0;
    bool wrap = false;
    bool stereo = true;
    std::vector<float> left, right;   // right stays empty in a mono buffer

    Buffer(int frameCount, bool wraps, bool isStereo);
    void add(int frame, float value, float pan);   // pan -1 left .. +1 right; mono ignores it
    float peak() const;
    void scale(float factor);
};

// Tone colours. Each adds one note starting at a frame, lasting seconds (the
// release may ring longer), at a velocity 0..1 and pan -1..1.
enum class Voice { Mallet, Vibes, Bell, EPiano, Bass, Pluck, SoftSquare };

void add_note(Buffer& out, Voice voice, double startSec, double note, double durationSec,
              float velocity, float pan);
// A pitch glide from one note to another (sine with a soft octave), for the pop-up sound.
void add_glide(Buffer& out, double startSec, double fromNote, double toNote, double glideSec,
               double durationSec, float velocity);

// Drums.
void add_kick(Buffer& out, double startSec, float velocity);
void add_snare(Buffer& out, double startSec, float velocity, Noise& noise);
void add_hat(Buffer& out, double startSec, float velocity, float pan, Noise& noise);
void add_shaker(Buffer& out, double startSec, float velocity, float pan, Noise& noise);
// A short woody tick for the interface click.
void add_tick(Buffer& out, double startSec, float velocity, Noise& noise);

// A stereo room reverb added to dry (send level); for a wrapping buffer the reverb runs
// twice round the loop so its tail continues across the join.
void add_reverb(Buffer& dry, const Buffer& send, float level);

// Gentle saturation and a fade of the last ms (for effects), then the peak set to peak.
void finish(Buffer& b, float peak, double fadeOutMs);

bool write_wav(const std::string& path, const Buffer& b);
bool write_ogg(const std::string& path, const Buffer& b, float quality);

} // namespace synth

#include "synth.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

// Index: basics - buffer - note voices - drums - reverb - finishing - writers

namespace synth {

// ---- basics

double note_hz(double note)
{
    return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}

float Noise::next()
{
    mState = mState * 1664525u + 1013904223u;
    return float(mState >> 8) / float(1u << 23) - 1.0f;
}

namespace {

int to_frame(double seconds)
{
    return int(std::lround(seconds * kRate));
}

// A partial of a tone: frequency ratio, level and decay time constant (seconds).
struct Partial {
    double ratio;
    double level;
    double decay;
};

// One-pole low-pass filter.
struct LowPass {
    float a;
    float y = 0.0f;
    explicit LowPass(double cutoffHz) : a(float(1.0 - std::exp(-2.0 * kPi * cutoffHz / kRate))) {}
    float run(float x) { return y += a * (x - y); }
};

// Attack, then the tone's own decay; after the held time a release fades it out.
double envelope(double t, double attack, double held, double release)
{
    double a = t < attack ? t / attack : 1.0;
    if (t > held)
        a *= std::max(0.0, 1.0 - (t - held) / release);
    return a;
}

void add_partials(Buffer& out, double startSec, double hz, const Partial* partials, int count,
                  double held, double release, double attack, float velocity, float pan,
                  double tremoloHz = 0.0, double tremoloDepth = 0.0)
{
    const int start = to_frame(startSec);
    const int length = to_frame(held + release);
    for (int i = 0; i < length; ++i) {
        double t = double(i) / kRate;
        double env = envelope(t, attack, held, release);
        double v = 0.0;
        for (int p = 0; p < count; ++p) {
            double f = hz * partials[p].ratio;
            if (f >= kRate * 0.45)
                continue;
            v += partials[p].level * std::exp(-t / partials[p].decay) * std::sin(2.0 * kPi * f * t);
        }
        if (tremoloDepth > 0.0)
            v *= 1.0 - tremoloDepth * 0.5 * (1.0 - std::cos(2.0 * kPi * tremoloHz * t));
        out.add(start + i, float(v * env * velocity), pan);
    }
}

} // namespace

// ---- buffer

Buffer::Buffer(int frameCount, bool wraps, bool isStereo)
    : frames(frameCount), wrap(wraps), stereo(isStereo), left(frameCount, 0.0f),
      right(isStereo ? frameCount : 0, 0.0f)
{
}

void Buffer::add(int frame, float value, float pan)
{
    if (wrap)
        frame %= frames;
    else if (frame >= frames)
        return;
    if (frame < 0)
        return;
    if (!stereo) {
        left[frame] += value;
        return;
    }
    // Constant-power pan.
    double angle = (pan + 1.0) * kPi / 4.0;
    left[frame] += value * float(std::cos(angle) * std::sqrt(2.0));
    right[frame] += value * float(std::sin(angle) * std::sqrt(2.0));
}

float Buffer::peak() const
{
    float p = 0.0f;
    for (float v : left)
        p = std::max(p, std::fabs(v));
    for (float v : right)
        p = std::max(p, std::fabs(v));
    return p;
}

void Buffer::scale(float factor)
{
    for (float& v : left)
        v *= factor;
    for (float& v : right)
        v *= factor;
}

// ---- note voices

void add_note(Buffer& out, Voice voice, double startSec, double note, double durationSec,
              float velocity, float pan)
{
    const double hz = note_hz(note);
    switch (voice) {
    case Voice::Mallet: {
        // Marimba-like: a woody fundamental with the bar's high partials dying fast.
        static const Partial p[] = {{1.0, 1.0, 0.45}, {3.93, 0.32, 0.07}, {9.2, 0.1, 0.02}};
        add_partials(out, startSec, hz, p, 3, std::min(durationSec, 1.0), 0.25, 0.001, velocity,
                     pan);
        break;
    }
    case Voice::Vibes: {
        static const Partial p[] = {{1.0, 1.0, 1.6}, {4.0, 0.18, 0.3}, {10.0, 0.05, 0.06}};
        add_partials(out, startSec, hz, p, 3, durationSec, 0.3, 0.002, velocity, pan, 5.5, 0.22);
        break;
    }
    case Voice::Bell: {
        static const Partial p[] = {{1.0, 1.0, 0.9},   {2.0, 0.45, 0.5}, {2.76, 0.35, 0.35},
                                    {5.4, 0.18, 0.14}, {8.93, 0.08, 0.06}};
        add_partials(out, startSec, hz, p, 5, durationSec, 0.2, 0.001, velocity, pan);
        break;
    }
    case Voice::EPiano: {
        // Two-operator FM: the modulation index falls quickly, leaving a round tone.
        const int start = to_frame(startSec);
        const double release = 0.18;
        const int length = to_frame(durationSec + release);
        for (int i = 0; i < length; ++i) {
            double t = double(i) / kRate;
            double env = envelope(t, 0.004, durationSec, release) * std::exp(-t / 1.4);
            double index = 1.6 * std::exp(-t / 0.22) + 0.25;
            double mod = index * std::sin(2.0 * kPi * hz * t);
            double v = std::sin(2.0 * kPi * hz * t + mod) +
                       0.12 * std::exp(-t / 0.03) * std::sin(2.0 * kPi * hz * 7.0 * t);
            out.add(start + i, float(v * env * velocity), pan);
        }
        break;
    }
    case Voice::Bass: {
        static const Partial p[] = {{1.0, 1.0, 1.2}, {2.0, 0.35, 0.25}, {3.0, 0.12, 0.1}};
        add_partials(out, startSec, hz, p, 3, durationSec, 0.07, 0.006, velocity, pan);
        break;
    }
    case Voice::Pluck: {
        static const Partial p[] = {{1.0, 1.0, 0.5},  {2.0, 0.5, 0.25}, {3.0, 0.3, 0.14},
                                    {4.0, 0.18, 0.08}, {5.0, 0.1, 0.05}};
        add_partials(out, startSec, hz, p, 5, durationSec, 0.12, 0.002, velocity, pan);
        break;
    }
    case Voice::SoftSquare: {
        // Odd harmonics falling off faster than a square's: a warm, hollow buzz.
        static const Partial p[] = {{1.0, 1.0, 0.3}, {3.0, 0.22, 0.15}, {5.0, 0.08, 0.1},
                                    {7.0, 0.04, 0.07}};
        add_partials(out, startSec, hz, p, 4, durationSec, 0.04, 0.008, velocity, pan);
        break;
    }
    }
}

void add_glide(Buffer& out, double startSec, double fromNote, double toNote, double glideSec,
               double durationSec, float velocity)
{
    const int start = to_frame(startSec);
    const int length = to_frame(durationSec);
    double phase = 0.0;
    for (int i = 0; i < length; ++i) {
        double t = double(i) / kRate;
        double k = std::min(1.0, t / glideSec);
        double shaped = 1.0 - (1.0 - k) * (1.0 - k);
        double hz = note_hz(fromNote + (toNote - fromNote) * shaped);
        phase += 2.0 * kPi * hz / kRate;
        double env = envelope(t, 0.004, durationSec * 0.4, durationSec * 0.6);
        double v = std::sin(phase) + 0.25 * std::sin(2.0 * phase) * std::exp(-t / 0.05);
        out.add(start + i, float(v * env * velocity), 0.0f);
    }
}

// ---- drums

void add_kick(Buffer& out, double startSec, float velocity)
{
    const int start = to_frame(startSec);
    const int length = to_frame(0.35);
    double phase = 0.0;
    for (int i = 0; i < length; ++i) {
        double t = double(i) / kRate;
        double hz = 48.0 + 70.0 * std::exp(-t / 0.035);
        phase += 2.0 * kPi * hz / kRate;
        double env = std::min(1.0, t / 0.002) * std::exp(-t / 0.11);
        out.add(start + i, float(std::sin(phase) * env * velocity), 0.0f);
    }
}

void add_snare(Buffer& out, double startSec, float velocity, Noise& noise)
{
    const int start = to_frame(startSec);
    const int length = to_frame(0.22);
    LowPass low(900.0), high(5500.0);
    for (int i = 0; i < length; ++i) {
        double t = double(i) / kRate;
        float n = noise.next();
        float band = high.run(n) - low.run(n);   // a band of noise around 1-5 kHz
        double env = std::min(1.0, t / 0.001);
        double v = 1.4 * band * std::exp(-t / 0.06) +
                   0.5 * std::sin(2.0 * kPi * 185.0 * t) * std::exp(-t / 0.04);
        out.add(start + i, float(v * env * velocity), -0.1f);
    }
}

void add_hat(Buffer& out, double startSec, float velocity, float pan, Noise& noise)
{
    const int start = to_frame(startSec);
    const int length = to_frame(0.09);
    LowPass low(6000.0);
    for (int i = 0; i < length; ++i) {
        double t = double(i) / kRate;
        float n = noise.next();
        float highPart = n - low.run(n);
        double env = std::min(1.0, t / 0.0005) * std::exp(-t / 0.018);
        out.add(start + i, float(highPart * env * velocity), pan);
    }
}

void add_shaker(Buffer& out, double startSec, float velocity, float pan, Noise& noise)
{
    const int start = to_frame(startSec);
    const int length = to_frame(0.12);
    LowPass low(4000.0), top(11000.0);
    for (int i = 0; i < length; ++i) {
        double t = double(i) / kRate;
        float n = noise.next();
        float band = top.run(n) - low.run(n);
        double env = std::min(1.0, t / 0.015) * std::exp(-std::max(0.0, t - 0.015) / 0.03);
        out.add(start + i, float(band * env * velocity), pan);
    }
}

void add_tick(Buffer& out, double startSec, float velocity, Noise& noise)
{
    const int start = to_frame(startSec);
    const int length = to_frame(0.05);
    LowPass soft(3500.0);
    for (int i = 0; i < length; ++i) {
        double t = double(i) / kRate;
        double body = std::sin(2.0 * kPi * 1250.0 * t) * std::exp(-t / 0.009) +
                      0.35 * std::sin(2.0 * kPi * 2610.0 * t) * std::exp(-t / 0.004);
        double click = soft.run(noise.next()) * std::exp(-t / 0.0015);
        double env = std::min(1.0, t / 0.0004);
        out.add(start + i, float((body + 0.6 * click) * env * velocity), 0.0f);
    }
}

// ---- reverb

namespace {

struct Comb {
    std::vector<float> line;
    int pos = 0;
    float store = 0.0f;
    float feedback, damp;
    Comb(int size, float fb, float dp) : line(size, 0.0f), feedback(fb), damp(dp) {}
    float run(float x)
    {
        float y = line[pos];
        store = y * (1.0f - damp) + store * damp;
        line[pos] = x + store * feedback;
        pos = (pos + 1) % int(line.size());
        return y;
    }
};

struct AllPass {
    std::vector<float> line;
    int pos = 0;
    explicit AllPass(int size) : line(size, 0.0f) {}
    float run(float x)
    {
        float b = line[pos];
        line[pos] = x + b * 0.5f;
        pos = (pos + 1) % int(line.size());
        return b - x;
    }
};

struct Room {
    std::vector<Comb> combs;
    std::vector<AllPass> passes;
    Room(int spread)
    {
        for (int size : {1116, 1188, 1277, 1356, 1422, 1491})
            combs.emplace_back(size + spread, 0.8f, 0.35f);
        for (int size : {556, 441, 341})
            passes.emplace_back(size + spread);
    }
    float run(float x)
    {
        float sum = 0.0f;
        for (Comb& c : combs)
            sum += c.run(x);
        for (AllPass& a : passes)
            sum = a.run(sum);
        return sum;
    }
};

} // namespace

void add_reverb(Buffer& dry, const Buffer& send, float level)
{
    Room left(0), right(23);
    const int passes = dry.wrap ? 2 : 1;
    const float gain = 0.03f * level;
    for (int pass = 0; pass < passes; ++pass) {
        const bool keep = pass == passes - 1;
        for (int i = 0; i < dry.frames; ++i) {
            float in = send.stereo ? 0.5f * (send.left[i] + send.right[i]) : send.left[i];
            float l = left.run(in);
            float r = right.run(in);
            if (!keep)
                continue;
            if (dry.stereo) {
                dry.left[i] += gain * l;
                dry.right[i] += gain * r;
            } else {
                dry.left[i] += gain * 0.5f * (l + r);
            }
        }
    }
}

// ---- finishing

void finish(Buffer& b, float peak, double fadeOutMs)
{
    float p = b.peak();
    if (p <= 0.0f)
        return;
    // Normalise, round the highest peaks off gently, then set the final level.
    const float drive = 1.4f;
    const float norm = std::tanh(drive);
    auto shape = [&](float& v) { v = std::tanh(drive * v / p) / norm; };
    std::for_each(b.left.begin(), b.left.end(), shape);
    std::for_each(b.right.begin(), b.right.end(), shape);
    if (fadeOutMs > 0.0) {
        int fade = std::min(b.frames, to_frame(fadeOutMs / 1000.0));
        for (int i = 0; i < fade; ++i) {
            float g = float(i) / float(fade);
            int at = b.frames - 1 - i;
            b.left[at] *= g;
            if (b.stereo)
                b.right[at] *= g;
        }
    }
    b.scale(peak / std::max(1e-6f, b.peak()));
}

// ---- writers

namespace {

void put_u32(std::vector<unsigned char>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back((v >> (8 * i)) & 0xFF);
}

void put_u16(std::vector<unsigned char>& out, uint16_t v)
{
    out.push_back(v & 0xFF);
    out.push_back(v >> 8);
}

int16_t to_pcm(float v)
{
    float s = std::max(-1.0f, std::min(1.0f, v)) * 32767.0f;
    return int16_t(std::lround(s));
}

} // namespace

bool write_wav(const std::string& path, const Buffer& b)
{
    const uint16_t channels = b.stereo ? 2 : 1;
    const uint32_t dataBytes = uint32_t(b.frames) * channels * 2;
    std::vector<unsigned char> out;
    out.reserve(44 + dataBytes);
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    put_u32(out, 36 + dataBytes);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put_u32(out, 16);
    put_u16(out, 1);   // PCM
    put_u16(out, channels);
    put_u32(out, kRate);
    put_u32(out, kRate * channels * 2);
    put_u16(out, channels * 2);
    put_u16(out, 16);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put_u32(out, dataBytes);
    for (int i = 0; i < b.frames; ++i) {
        put_u16(out, uint16_t(to_pcm(b.left[i])));
        if (b.stereo)
            put_u16(out, uint16_t(to_pcm(b.right[i])));
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok;
}

bool write_ogg(const std::string& path, const Buffer& b, float quality)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = true;
    auto write_page = [&](const ogg_page& page) {
        ok = ok && std::fwrite(page.header, 1, page.header_len, f) == size_t(page.header_len);
        ok = ok && std::fwrite(page.body, 1, page.body_len, f) == size_t(page.body_len);
    };

    const int channels = b.stereo ? 2 : 1;
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, channels, kRate, quality) != 0) {
        vorbis_info_clear(&vi);
        std::fclose(f);
        return false;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_comment_add_tag(&vc, "TITLE", "Pet Park");
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 0x50504b31);   // a fixed serial keeps the output deterministic

    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&os, &page))
        write_page(page);

    const int chunk = 4096;
    bool eos = false;
    for (int pos = 0; !eos;) {
        int n = std::min(chunk, b.frames - pos);
        if (n > 0) {
            float** in = vorbis_analysis_buffer(&vd, n);
            std::memcpy(in[0], b.left.data() + pos, sizeof(float) * n);
            if (channels == 2)
                std::memcpy(in[1], b.right.data() + pos, sizeof(float) * n);
            vorbis_analysis_wrote(&vd, n);
            pos += n;
        } else {
            vorbis_analysis_wrote(&vd, 0);   // end of stream
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&vd, &packet)) {
                ogg_stream_packetin(&os, &packet);
                while (!eos && ogg_stream_pageout(&os, &page)) {
                    write_page(page);
                    eos = ogg_page_eos(&page) != 0;
                }
            }
        }
        if (n <= 0 && !eos) {
            // All blocks are out; flush what is left.
            while (ogg_stream_flush(&os, &page)) {
                write_page(page);
                eos = eos || ogg_page_eos(&page) != 0;
            }
            eos = true;
        }
    }

    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return std::fclose(f) == 0 && ok;
}

} // namespace synth

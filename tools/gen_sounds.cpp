// Writes the game's three sound clips into the folder given on the command line:
//   roll.wav   dice rattling on a table  22050 Hz mono, 16-bit signed,   14912 samples
//   glass.wav  two glasses clinking      11025 Hz mono, 8-bit unsigned,  11488 samples
//   clap.wav   a short round of applause 11025 Hz mono, 8-bit unsigned,  32078 samples,
//              stored with the 18-byte "fmt " chunk and a "fact" chunk
// Everything is synthesised from a fixed seed, so every build writes the same
// bytes, and the sounds can be reviewed and tuned here rather than in a
// binary file.

#include "ByteWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kPeak = 0.63; // -4 dBFS: loud enough, never clipped

using Samples = std::vector<double>;
// The standard distributions differ between library implementations, so only
// the engine's raw output, the same everywhere, is used.
class Random {
public:
    explicit Random(std::uint32_t seed) : m_engine(seed) {}
    double uniform() { return static_cast<double>(m_engine()) / 4294967296.0; } // [0, 1)
    double uniform(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    double noise() { return 2.0 * uniform() - 1.0; }                           // [-1, 1)

private:
    std::mt19937 m_engine;
};

// Band-pass biquad with 0 dB gain at the centre.
class BandPass {
public:
    BandPass(double centre, double q, int rate)
    {
        const double w = 2.0 * kPi * centre / rate;
        const double alpha = std::sin(w) / (2.0 * q);
        const double a0 = 1.0 + alpha;
        m_b0 = alpha / a0;
        m_a1 = -2.0 * std::cos(w) / a0;
        m_a2 = (1.0 - alpha) / a0;
    }
    double operator()(double x)
    {
        const double y = m_b0 * (x - m_x2) - m_a1 * m_y1 - m_a2 * m_y2;
        m_x2 = m_x1;
        m_x1 = x;
        m_y2 = m_y1;
        m_y1 = y;
        return y;
    }

private:
    double m_b0, m_a1, m_a2;
    double m_x1 = 0, m_x2 = 0, m_y1 = 0, m_y2 = 0;
};

// Adds a struck resonance: a sine that starts at `start` seconds and dies away
// with time constant `tau`.
void addRing(Samples &out, int rate, double start, double freq, double amp, double tau, double phase = 0.0)
{
    const auto first = static_cast<std::size_t>(start * rate);
    const auto length = static_cast<std::size_t>(tau * 8.0 * rate); // down by 70 dB
    for (std::size_t i = first; i < out.size() && i < first + length; ++i) {
        const double t = static_cast<double>(i - first) / rate;
        out[i] += amp * std::exp(-t / tau) * std::sin(2.0 * kPi * freq * t + phase);
    }
}

// Adds a burst of band-passed noise with an instant attack and exponential decay.
void addBurst(Samples &out, int rate, Random &rnd, double start, double centre, double q, double amp, double tau)
{
    BandPass filter(centre, q, rate);
    const auto first = static_cast<std::size_t>(start * rate);
    const auto length = static_cast<std::size_t>(tau * 8.0 * rate);
    for (std::size_t i = first; i < out.size() && i < first + length; ++i) {
        const double t = static_cast<double>(i - first) / rate;
        out[i] += amp * std::exp(-t / tau) * filter(rnd.noise());
    }
}

// Short linear ramps at both ends so playback neither starts nor stops with a click.
void fadeEnds(Samples &s, int rate, double fadeIn, double fadeOut)
{
    const auto in = static_cast<std::size_t>(fadeIn * rate);
    const auto out = static_cast<std::size_t>(fadeOut * rate);
    for (std::size_t i = 0; i < in && i < s.size(); ++i)
        s[i] *= static_cast<double>(i) / in;
    for (std::size_t i = 0; i < out && i < s.size(); ++i)
        s[s.size() - 1 - i] *= static_cast<double>(i) / out;
}

void normalise(Samples &s)
{
    double peak = 0;
    for (double v : s)
        peak = std::max(peak, std::abs(v));
    if (peak > 0)
        for (double &v : s)
            v *= kPeak / peak;
}

// ---- The clips -------------------------------------------------------------

// One die corner hitting a wooden table top: a sharp click from the die and
// the short thump of the wood below it.
void addKnock(Samples &out, int rate, Random &rnd, double t, double level, double pitch)
{
    addBurst(out, rate, rnd, t, 4200.0 * pitch, 1.2, 0.9 * level, 0.0015);
    addRing(out, rate, t, 2300.0 * pitch, 0.35 * level, 0.006, rnd.uniform(0, 2 * kPi));
    addRing(out, rate, t, 3650.0 * pitch, 0.25 * level, 0.004, rnd.uniform(0, 2 * kPi));
    addRing(out, rate, t, 610.0 * rnd.uniform(0.95, 1.05), 0.30 * level, 0.018);
    addRing(out, rate, t, 185.0 * rnd.uniform(0.95, 1.05), 0.25 * level, 0.030);
}

Samples roll(int rate, std::size_t count)
{
    Random rnd(20240611);
    Samples s(count, 0.0);
    const double length = static_cast<double>(count) / rate;

    // Three dice tumble: quick, hard hits at first, then softer ones further
    // apart as each die rolls out.
    for (int die = 0; die < 3; ++die) {
        double t = die == 0 ? 0.002 : rnd.uniform(0.01, 0.04);
        double gap = rnd.uniform(0.030, 0.045);
        double level = rnd.uniform(0.8, 1.0);
        const double pitch = rnd.uniform(0.9, 1.12);
        while (t < length - 0.12) {
            addKnock(s, rate, rnd, t, level, pitch);
            t += gap * rnd.uniform(0.7, 1.3);
            gap *= 1.3;
            level *= 0.8;
        }
    }
    // The last die rocks on an edge before it settles.
    addKnock(s, rate, rnd, length - 0.075, 0.28, 1.0);
    addKnock(s, rate, rnd, length - 0.040, 0.16, 1.0);

    // Under the hits, the dice sliding over the wood: a faint rumble that
    // fades as they come to rest.
    BandPass rumble(700.0, 0.8, rate);
    for (std::size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / rate;
        s[i] += 0.05 * std::exp(-t / 0.35) * rumble(rnd.noise());
    }

    fadeEnds(s, rate, 0.002, 0.012);
    normalise(s);
    return s;
}

Samples glass(int rate, std::size_t count)
{
    Random rnd(20240612);
    Samples s(count, 0.0);

    // Two glasses of different size; each rings with a few inharmonic modes,
    // and each mode is a close pair (no glass is perfectly round), which gives
    // the slow shimmer of a real glass.
    struct Mode { double freq, amp, tau; };
    const Mode modes[] = {
        {1187.0, 1.00, 0.55}, {3090.0, 0.30, 0.18}, {5010.0, 0.10, 0.07}, // the larger glass
        {1411.0, 0.65, 0.45}, {3702.0, 0.22, 0.15},                       // the smaller one
    };
    for (const Mode &m : modes) {
        addRing(s, rate, 0.0, m.freq, m.amp, m.tau, rnd.uniform(0, 2 * kPi));
        addRing(s, rate, 0.0, m.freq + 2.7, 0.4 * m.amp, m.tau, rnd.uniform(0, 2 * kPi));
    }
    addBurst(s, rate, rnd, 0.0, 4500.0, 2.0, 0.4, 0.002); // the tick of the contact

    fadeEnds(s, rate, 0.0015, 0.025);
    normalise(s);
    return s;
}

Samples clap(int rate, std::size_t count)
{
    Random rnd(20240613);
    Samples s(count, 0.0);
    const double length = static_cast<double>(count) / rate;

    // A small audience: each person claps at their own pace and with their own
    // hand sound (a resonance between the palms). People join in quickly at
    // the start and drop out towards the end; a few keep going to the last.
    const int people = 24;
    for (int p = 0; p < people; ++p) {
        const double centre = rnd.uniform(900.0, 2400.0);
        const double q = rnd.uniform(1.5, 3.0);
        const double loudness = rnd.uniform(0.5, 1.0);
        const double period = rnd.uniform(0.17, 0.26);
        double t = p == 0 ? 0.0 : 0.6 * std::pow(rnd.uniform(), 2.0);
        const double stop = p < 4 ? length : rnd.uniform(1.5, length);
        while (t < stop) {
            // Swells over the first half second, fades over the last 1.2 s.
            const double swell = std::min(1.0, 0.35 + 0.65 * t / 0.5);
            const double fade = t < length - 1.2 ? 1.0 : 1.0 - 0.7 * (t - (length - 1.2)) / 1.2;
            addBurst(s, rate, rnd, t, centre * rnd.uniform(0.9, 1.1), q,
                     loudness * swell * fade * rnd.uniform(0.7, 1.0), rnd.uniform(0.004, 0.008));
            t += period * rnd.uniform(0.85, 1.15);
        }
    }

    // A few early reflections so it sounds like a room rather than a booth.
    const Samples dry = s;
    const double reflections[][2] = {{0.011, 0.35}, {0.017, 0.25}, {0.029, 0.15}};
    for (const auto &r : reflections) {
        const auto delay = static_cast<std::size_t>(r[0] * rate);
        for (std::size_t i = delay; i < count; ++i)
            s[i] += r[1] * dry[i - delay];
    }

    fadeEnds(s, rate, 0.002, 0.02);
    normalise(s);
    return s;
}

// ---- WAVE images -----------------------------------------------------------

void putId(Bytes &out, const char (&id)[5])
{
    out.insert(out.end(), id, id + 4);
}

// 8-bit samples get a little triangular dither so quiet tails fade into soft
// noise instead of buzzing; the dither follows the end fade down to silence.
Bytes pcm(const Samples &s, int bits, Random &rnd)
{
    Bytes out;
    for (double v : s) {
        if (bits == 16) {
            const long q = std::lround(std::clamp(v, -1.0, 1.0) * 32767.0);
            putU16(out, static_cast<unsigned>(q) & 0xffffu);
        } else {
            const double dither = std::abs(v) > 1e-6 ? rnd.uniform() - rnd.uniform() : 0.0;
            const long q = std::lround(128.0 + std::clamp(v, -1.0, 1.0) * 127.0 + dither);
            out.push_back(static_cast<std::uint8_t>(std::clamp(q, 0L, 255L)));
        }
    }
    return out;
}

// A complete RIFF WAVE image, mono PCM. `extended` writes the 18-byte "fmt "
// chunk (with an empty extension) followed by a "fact" chunk.
Bytes waveImage(const Samples &s, int rate, int bits, bool extended)
{
    Random dither(7);
    const Bytes data = pcm(s, bits, dither);
    const unsigned blockAlign = static_cast<unsigned>(bits / 8);

    Bytes fmt;
    putU16(fmt, 1); // PCM
    putU16(fmt, 1); // mono
    putU32(fmt, static_cast<std::uint32_t>(rate));
    putU32(fmt, static_cast<std::uint32_t>(rate) * blockAlign);
    putU16(fmt, blockAlign);
    putU16(fmt, static_cast<unsigned>(bits));
    if (extended)
        putU16(fmt, 0);

    Bytes body;
    putId(body, "WAVE");
    putId(body, "fmt ");
    putU32(body, static_cast<std::uint32_t>(fmt.size()));
    body.insert(body.end(), fmt.begin(), fmt.end());
    if (extended) {
        putId(body, "fact");
        putU32(body, 4);
        putU32(body, static_cast<std::uint32_t>(s.size()));
    }
    putId(body, "data");
    putU32(body, static_cast<std::uint32_t>(data.size()));
    body.insert(body.end(), data.begin(), data.end());
    if (data.size() % 2)
        body.push_back(0); // chunks are word aligned

    Bytes image;
    putId(image, "RIFF");
    putU32(image, static_cast<std::uint32_t>(body.size()));
    image.insert(image.end(), body.begin(), body.end());
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_sounds OUTPUT_DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    const bool ok = writeFile("gen_sounds", dir + "/roll.wav", waveImage(roll(22050, 14912), 22050, 16, false))
                    && writeFile("gen_sounds", dir + "/glass.wav", waveImage(glass(11025, 11488), 11025, 8, false))
                    && writeFile("gen_sounds", dir + "/clap.wav", waveImage(clap(11025, 32078), 11025, 8, true));
    return ok ? 0 : 1;
}

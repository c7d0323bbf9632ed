// make_sounds: synthesises the game's sound effects and writes them as small
// 16-bit mono WAV files.
//
// Each effect is one or more voices. A voice is a square, triangle or noise
// wave whose pitch sweeps exponentially from one frequency to another, shaped
// by a linear attack and a quadratic decay; squares have a duty cycle and
// noise a sample-and-hold rate (its "pitch") and a low-pass cut-off. Each
// effect is scaled so that its loudest sample sits at the effect's volume,
// so nothing clips. The two loops are built to repeat without a seam: whole
// cycles of their tone and warble, and noise filtered round the loop.
//
// Usage: make_sounds [output folder]   (default: assets/sounds)

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr const char* kDefaultOutputFolder = "assets/sounds";
// Low enough to keep the files small, high enough for the squares' first
// few harmonics.
constexpr int kSampleRate = 16000;
constexpr double kPi = 3.141592653589793;
constexpr double kFullScale = 32767.0;

enum class Wave { kSquare, kTriangle, kNoise };

struct Voice {
    Wave wave;
    double start;            // seconds from the start of the effect
    double length;           // seconds
    double fromHz;           // pitch at the start (for noise: holds per second)
    double toHz;             // pitch at the end
    double attack;           // seconds of linear rise
    double decay;            // seconds of fall at the end
    double level;            // relative to the other voices of the effect
    double duty = 0.5;       // squares: the share of each cycle spent high
    double warbleHz = 0;     // pitch wobble: rate...
    double warbleDepth = 0;  // ...and depth, as a fraction of the pitch
    double lowPassHz = 0;    // noise: one-pole low-pass cut-off, 0 for none
};

struct Effect {
    const char* name;
    double volume;  // the peak, as a fraction of full scale
    bool loop;
    std::vector<Voice> voices;
};

// Photons are fired constantly, so theirs is the shortest and softest; the
// loops sit well under the one-shots so that they never tire the ear.
const std::vector<Effect>& Effects() {
    // clang-format off
    static const std::vector<Effect> effects{
        //  wave         start length fromHz toHz  attack decay level duty  warble depth lowPass
        {"photon", 0.30, false, {
            {Wave::kSquare,   0,    0.09, 1400,  420, 0.002, 0.08, 1,    0.5}}},
        {"laser", 0.50, false, {
            {Wave::kSquare,   0,    0.24, 2400,  160, 0.002, 0.2,  1,    0.125},
            {Wave::kSquare,   0,    0.24, 2430,  165, 0.002, 0.2,  0.6,  0.25}}},
        {"large_asteroid", 0.60, false, {
            {Wave::kNoise,    0,    0.32, 1600,  260, 0.002, 0.3,  1,    0.5,  0,  0,    1500}}},
        {"small_asteroid", 0.48, false, {
            {Wave::kNoise,    0,    0.15, 4200, 1500, 0.001, 0.14, 1,    0.5,  0,  0,    3500}}},
        {"ship", 0.70, false, {
            {Wave::kNoise,    0,    0.7,  1100,   90, 0.002, 0.65, 1,    0.5,  0,  0,    1200},
            {Wave::kSquare,   0,    0.5,   330,   45, 0.005, 0.45, 0.35, 0.5}}},
        {"saucer", 0.62, false, {
            {Wave::kNoise,    0,    0.38, 2400,  350, 0.002, 0.36, 1,    0.5,  0,  0,    2000},
            {Wave::kTriangle, 0,    0.3,  1300,  260, 0.002, 0.28, 0.8,  0.5, 24,  0.08}}},
        {"new_wave", 0.26, false, {
            {Wave::kSquare,   0,    0.07,  392,  392, 0.003, 0.05, 1,    0.5},
            {Wave::kSquare,   0.08, 0.07,  523,  523, 0.003, 0.05, 1,    0.5},
            {Wave::kSquare,   0.16, 0.11,  784,  784, 0.003, 0.09, 1,    0.5}}},
        {"laser_charged", 0.30, false, {
            {Wave::kTriangle, 0,    0.05, 1046, 1046, 0.002, 0.04, 1},
            {Wave::kTriangle, 0.06, 0.07, 1568, 1568, 0.002, 0.06, 1}}},
        // Loops: no attack or decay, so each repeat joins the next; long
        // enough that the noise's repeat is not heard as a pattern.
        {"thrust", 0.20, true, {
            {Wave::kNoise,    0,    0.4,   520,  520, 0,     0,    1,    0.5,  0,  0,     700}}},
        {"saucer_hum", 0.11, true, {
            {Wave::kSquare,   0,    0.25,  320,  320, 0,     0,    1,    0.5,  8,  0.12}}},
    };
    // clang-format on
    return effects;
}

// A fixed generator for the noise, so every run writes the same files.
class Noise {
public:
    double Next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<double>(state) / 2147483648.0 - 1.0;
    }

private:
    std::uint32_t state = 0x6b43a9b5u;
};

// Softens the jump of a square's edge over one sample either side, which
// keeps the harmonics above the sample rate from folding back as hiss.
double PolyBlep(double phase, double step) {
    if (phase < step) {
        const double t = phase / step;
        return t + t - t * t - 1.0;
    }
    if (phase > 1.0 - step) {
        const double t = (phase - 1.0) / step;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

double Square(double phase, double step, double duty) {
    double value = phase < duty ? 1.0 : -1.0;
    value += PolyBlep(phase, step);
    double falling = phase - duty;
    if (falling < 0) falling += 1.0;
    value -= PolyBlep(falling, step);
    // A narrow pulse is mostly low: centre it, or it would carry a DC offset.
    return value - (2.0 * duty - 1.0);
}

double Triangle(double phase) { return phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase; }

double Envelope(const Voice& voice, double t) {
    double gain = 1.0;
    if (voice.attack > 0 && t < voice.attack) gain = t / voice.attack;
    const double decayStart = voice.length - voice.decay;
    if (voice.decay > 0 && t > decayStart) {
        const double left = 1.0 - (t - decayStart) / voice.decay;
        gain *= left > 0 ? left * left : 0.0;
    }
    return gain;
}

double PitchAt(const Voice& voice, double t) {
    const double sweep = voice.fromHz * std::pow(voice.toHz / voice.fromHz, t / voice.length);
    return sweep * (1.0 + voice.warbleDepth * std::sin(2.0 * kPi * voice.warbleHz * t));
}

// One voice's samples, `count` of them.
std::vector<double> Synthesise(const Voice& voice, int count, bool loop) {
    std::vector<double> out(static_cast<std::size_t>(count), 0.0);
    Noise noise;
    double phase = 0;
    double held = noise.Next();
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double step = PitchAt(voice, t) / kSampleRate;
        double value = 0;
        switch (voice.wave) {
            case Wave::kSquare:
                value = Square(phase, step, voice.duty);
                break;
            case Wave::kTriangle:
                value = Triangle(phase);
                break;
            case Wave::kNoise:
                value = held;
                break;
        }
        out[static_cast<std::size_t>(i)] = value * Envelope(voice, t) * voice.level;
        phase += step;
        if (phase >= 1.0) {
            phase -= 1.0;
            held = noise.Next();
        }
    }
    if (voice.wave == Wave::kNoise && voice.lowPassHz > 0) {
        const double keep = std::exp(-2.0 * kPi * voice.lowPassHz / kSampleRate);
        // Filtered twice round: on the second pass the filter starts where
        // the first ended, so a loop joins its own start without a step.
        const int passes = loop ? 2 : 1;
        std::vector<double> smoothed(out.size());
        double state = 0;
        for (int pass = 0; pass < passes; ++pass) {
            for (std::size_t i = 0; i < out.size(); ++i) {
                state = keep * state + (1.0 - keep) * out[i];
                smoothed[i] = state;
            }
        }
        out = smoothed;
    }
    return out;
}

bool WholeCycles(double hz, double seconds) {
    const double cycles = hz * seconds;
    return std::fabs(cycles - std::round(cycles)) < 1e-9;
}

// A loop repeats cleanly only if its tone and warble complete whole cycles.
bool CheckLoop(const Effect& effect) {
    for (const Voice& voice : effect.voices) {
        const bool steady = voice.fromHz == voice.toHz && voice.attack == 0 && voice.decay == 0;
        const bool whole = voice.wave == Wave::kNoise || WholeCycles(voice.fromHz, voice.length);
        if (!steady || !whole || !WholeCycles(voice.warbleHz, voice.length)) {
            std::fprintf(stderr, "make_sounds: %s does not loop cleanly\n", effect.name);
            return false;
        }
    }
    return true;
}

std::vector<std::int16_t> Render(const Effect& effect) {
    double end = 0;
    for (const Voice& voice : effect.voices) end = std::fmax(end, voice.start + voice.length);
    const int total = static_cast<int>(std::lround(end * kSampleRate));
    std::vector<double> mix(static_cast<std::size_t>(total), 0.0);
    for (const Voice& voice : effect.voices) {
        const int offset = static_cast<int>(std::lround(voice.start * kSampleRate));
        const int count = static_cast<int>(std::lround(voice.length * kSampleRate));
        std::vector<double> samples = Synthesise(voice, count, effect.loop);
        for (int i = 0; i < count && offset + i < total; ++i) {
            mix[static_cast<std::size_t>(offset + i)] += samples[static_cast<std::size_t>(i)];
        }
    }
    double peak = 0;
    for (double value : mix) peak = std::fmax(peak, std::fabs(value));
    const double gain = peak > 0 ? effect.volume / peak : 0;
    std::vector<std::int16_t> pcm;
    pcm.reserve(mix.size());
    for (double value : mix) {
        pcm.push_back(static_cast<std::int16_t>(std::lround(value * gain * kFullScale)));
    }
    return pcm;
}

void PutLittleEndian(std::vector<unsigned char>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

bool WriteWav(const std::string& path, const std::vector<std::int16_t>& pcm) {
    constexpr int kChannels = 1;
    constexpr int kBytesPerSample = 2;
    const auto dataBytes = static_cast<std::uint32_t>(pcm.size() * kBytesPerSample);
    std::vector<unsigned char> file;
    file.insert(file.end(), {'R', 'I', 'F', 'F'});
    PutLittleEndian(file, 36 + dataBytes, 4);
    file.insert(file.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    PutLittleEndian(file, 16, 4);  // the size of a plain PCM format block
    PutLittleEndian(file, 1, 2);   // PCM
    PutLittleEndian(file, kChannels, 2);
    PutLittleEndian(file, kSampleRate, 4);
    PutLittleEndian(file, kSampleRate * kChannels * kBytesPerSample, 4);
    PutLittleEndian(file, kChannels * kBytesPerSample, 2);
    PutLittleEndian(file, 8 * kBytesPerSample, 2);
    file.insert(file.end(), {'d', 'a', 't', 'a'});
    PutLittleEndian(file, dataBytes, 4);
    for (std::int16_t sample : pcm) PutLittleEndian(file, static_cast<std::uint16_t>(sample), 2);

    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) return false;
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : kDefaultOutputFolder;
    for (const Effect& effect : Effects()) {
        if (effect.loop && !CheckLoop(effect)) return 1;
        const std::string path = folder + "/" + effect.name + ".wav";
        const std::vector<std::int16_t> pcm = Render(effect);
        if (!WriteWav(path, pcm)) {
            std::fprintf(stderr, "make_sounds: cannot write %s\n", path.c_str());
            return 1;
        }
        std::printf("%s: %zu samples\n", path.c_str(), pcm.size());
    }
    return 0;
}

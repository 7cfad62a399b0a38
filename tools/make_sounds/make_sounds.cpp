// Synthesises the game's sound effects at build time.
//
//   make_sounds OUTPUT_FOLDER
//
// Writes 16-bit mono PCM WAV files at 44100 Hz: the start jingle "kidou" (a
// WAV file without extension), the deal riffle, the card snap and the three
// result figures.  Everything is computed here, noise from a fixed seed, so
// every build writes the same bytes.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <cstddef>
#include <string>
#include <vector>

namespace {

constexpr int sample_rate = 44100;
constexpr double pi = 3.14159265358979323846;

// The loudest peak a sound may have: headroom for the sound server's mixing.
constexpr double kMaxPeakDbfs = -3.0;

using Samples = std::vector<double>;

int to_index(double seconds)
{
    return int(std::lround(seconds * sample_rate));
}

double midi_frequency(int note)
{
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

// A half cosine from 0 to 1: a rise or fall with no corner, so no click.
double smooth_step(double x)
{
    x = std::clamp(x, 0.0, 1.0);
    return 0.5 - 0.5 * std::cos(pi * x);
}

// ---------------------------------------------------------------- tones

struct Partial
{
    double ratio;     // of the fundamental
    double amplitude; // relative
    double decay;     // extra decay of this partial, per second
};

struct Timbre
{
    const Partial *partials;
    int count;
    double attack;      // seconds
    double decay;       // of the whole note, per second
    double vibrato_hz;  // 0 for none
    double vibrato_pct; // depth as a fraction of the frequency
};

// Bell-like, for the start jingle: a strong fundamental and an octave that
// rings out faster, with a little inharmonic shimmer.
constexpr Partial bell_partials[] = {
    {1.0, 1.0, 0.0}, {2.0, 0.45, 2.5}, {3.0, 0.18, 5.0}, {4.07, 0.08, 8.0}};
// Bright and brassy for the win figure: odd and even harmonics, falling off.
constexpr Partial bright_partials[] = {
    {1.0, 1.0, 0.0}, {2.0, 0.5, 1.0}, {3.0, 0.35, 2.0}, {4.0, 0.2, 3.0}, {5.0, 0.12, 4.0}};
// Hollow and soft for the lose figure: odd harmonics only, like a muted horn.
constexpr Partial hollow_partials[] = {{1.0, 1.0, 0.0}, {3.0, 0.22, 1.5}, {5.0, 0.06, 3.0}};
// Round and woody for the tie: a marimba's fundamental and its high fourth.
constexpr Partial wood_partials[] = {{1.0, 1.0, 0.0}, {4.0, 0.25, 12.0}, {10.0, 0.05, 30.0}};

constexpr Timbre bell{bell_partials, int(std::size(bell_partials)), 0.004, 1.6, 0.0, 0.0};
constexpr Timbre bright{bright_partials, int(std::size(bright_partials)), 0.010, 1.2, 6.0, 0.004};
constexpr Timbre hollow{hollow_partials, int(std::size(hollow_partials)), 0.025, 0.6, 5.0, 0.012};
constexpr Timbre wood{wood_partials, int(std::size(wood_partials)), 0.003, 4.5, 0.0, 0.0};

struct Note
{
    double start;    // seconds
    double length;   // seconds until the release begins
    int midi_note;   // 60 = middle C
    double velocity; // 0..1
    double glide;    // semitones the pitch slides over the note's length
    double release;  // seconds of fade after the length
};

// Adds one note.  Its release is a half cosine, so it ends at zero and never
// clicks.
void add_note(Samples &out, const Timbre &timbre, const Note &note)
{
    const double release = note.release;
    const int first = to_index(note.start);
    const int count = to_index(note.length + release);
    const double base = midi_frequency(note.midi_note);
    std::vector<double> phases(timbre.count, 0.0);
    for (int i = 0; i < count && first + i < int(out.size()); ++i) {
        const double t = double(i) / sample_rate;
        double envelope = smooth_step(t / timbre.attack) * std::exp(-timbre.decay * t);
        if (t > note.length)
            envelope *= 1.0 - smooth_step((t - note.length) / release);

        double frequency = base * std::pow(2.0, note.glide * std::min(t / note.length, 1.0) / 12.0);
        if (timbre.vibrato_hz > 0.0) {
            // The vibrato fades in, as a player's would.
            const double depth = timbre.vibrato_pct * smooth_step(t / 0.25);
            frequency *= 1.0 + depth * std::sin(2.0 * pi * timbre.vibrato_hz * t);
        }

        double value = 0.0;
        for (int p = 0; p < timbre.count; ++p) {
            const Partial &partial = timbre.partials[p];
            phases[p] += 2.0 * pi * frequency * partial.ratio / sample_rate;
            value += partial.amplitude * std::exp(-partial.decay * t) * std::sin(phases[p]);
        }
        out[first + i] += note.velocity * envelope * value;
    }
}

template <std::size_t count>
void add_notes(Samples &out, const Timbre &timbre, const Note (&notes)[count])
{
    for (const Note &note : notes)
        add_note(out, timbre, note);
}

// ---------------------------------------------------------------- noise

// xorshift32: the same sequence on every build and every platform.
class Noise
{
public:
    explicit Noise(std::uint32_t seed) : state(seed) {}
    // Uniform in -1..1.
    double next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return double(state) / 2147483647.5 - 1.0;
    }
    // Uniform in low..high.
    double between(double low, double high) { return low + (high - low) * (next() + 1.0) / 2.0; }

private:
    std::uint32_t state;
};

// A band-pass biquad (constant peak gain) after Robert Bristow-Johnson's
// audio EQ cookbook.
class BandPass
{
public:
    BandPass(double centre_hz, double q)
    {
        const double w = 2.0 * pi * centre_hz / sample_rate;
        const double alpha = std::sin(w) / (2.0 * q);
        const double a0 = 1.0 + alpha;
        b0 = alpha / a0;
        b2 = -alpha / a0;
        a1 = -2.0 * std::cos(w) / a0;
        a2 = (1.0 - alpha) / a0;
    }
    double operator()(double x)
    {
        const double y = b0 * x + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }

private:
    double b0, b2, a1, a2;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};

struct Click
{
    double start;     // seconds
    double decay;     // seconds for the burst to fall to 1/e
    double centre_hz; // colour of the noise
    double q;
    double level;
};

// A burst of filtered noise: one card edge slapping another.
void add_click(Samples &out, Noise &noise, const Click &click)
{
    constexpr double attack = 0.0008;
    const int first = to_index(click.start);
    const int count = to_index(attack + 7.0 * click.decay);
    BandPass filter(click.centre_hz, click.q);
    for (int i = 0; i < count && first + i < int(out.size()); ++i) {
        const double t = double(i) / sample_rate;
        const double envelope = smooth_step(t / attack) * std::exp(-t / click.decay) *
                                (1.0 - smooth_step((t - 6.0 * click.decay) / click.decay));
        out[first + i] += click.level * envelope * filter(noise.next());
    }
}

// A low, quickly damped sine: the body of a card hitting the table.
void add_thump(Samples &out, double start, double frequency, double decay, double level)
{
    constexpr double attack = 0.002;
    const int first = to_index(start);
    const int count = to_index(attack + 7.0 * decay);
    for (int i = 0; i < count && first + i < int(out.size()); ++i) {
        const double t = double(i) / sample_rate;
        const double envelope = smooth_step(t / attack) * std::exp(-t / decay) *
                                (1.0 - smooth_step((t - 6.0 * decay) / decay));
        // The pitch drops a little as the card settles.
        const double f = frequency * (1.0 + 0.5 * std::exp(-t / 0.01));
        out[first + i] += level * envelope * std::sin(2.0 * pi * f * t);
    }
}

// ---------------------------------------------------------------- sounds

Samples silence(double seconds)
{
    return Samples(to_index(seconds), 0.0);
}

// A bright C major arpeggio answered by a ringing chord.
Samples start_jingle()
{
    // clang-format off
    constexpr Note notes[] = {
        // start  length note velocity glide release
        {0.00, 0.14, 72, 0.55, 0.0, 0.30},
        {0.13, 0.14, 76, 0.55, 0.0, 0.30},
        {0.26, 0.14, 79, 0.55, 0.0, 0.30},
        {0.39, 0.20, 84, 0.60, 0.0, 0.30},
        {0.70, 1.10, 48, 0.45, 0.0, 0.45},
        {0.70, 1.10, 72, 0.40, 0.0, 0.45},
        {0.70, 1.10, 76, 0.35, 0.0, 0.45},
        {0.70, 1.10, 79, 0.35, 0.0, 0.45},
        {0.70, 1.10, 84, 0.40, 0.0, 0.45},
    };
    // clang-format on
    Samples out = silence(2.4);
    add_notes(out, bell, notes);
    return out;
}

// The deck riffled for the deal: the cards fall fast at first, then slower,
// and the deck is squared on the table at the end.
Samples deal_riffle()
{
    Samples out = silence(1.25);
    Noise noise(0x4b657374u);
    double t = 0.02;
    for (int card = 0; card < 26; ++card) {
        const double gap = 0.022 + 0.018 * card / 25.0 + noise.between(-0.004, 0.004);
        const Click click{t, noise.between(0.0025, 0.0045), noise.between(2200.0, 4200.0), 1.4,
                          noise.between(0.65, 1.0)};
        add_click(out, noise, click);
        t += gap;
    }
    add_click(out, noise, Click{t + 0.06, 0.012, 900.0, 0.9, 1.2});
    add_thump(out, t + 0.06, 110.0, 0.03, 0.35);
    return out;
}

// One card slapped down: a sharp crack over a short low knock.
Samples card_snap()
{
    Samples out = silence(0.16);
    Noise noise(0x736e6170u);
    add_click(out, noise, Click{0.004, 0.006, 3200.0, 0.8, 1.0});
    add_click(out, noise, Click{0.004, 0.012, 1200.0, 1.2, 0.5});
    add_thump(out, 0.004, 170.0, 0.018, 0.35);
    return out;
}

// A quick rising fanfare that lands on a bright held chord.
Samples win_figure()
{
    // clang-format off
    constexpr Note notes[] = {
        // start  length note velocity glide release
        {0.00, 0.09, 72, 0.50, 0.0, 0.08},
        {0.09, 0.09, 76, 0.50, 0.0, 0.08},
        {0.18, 0.09, 79, 0.50, 0.0, 0.08},
        {0.27, 0.60, 84, 0.55, 0.0, 0.30},
        {0.27, 0.60, 88, 0.40, 0.0, 0.30},
        {0.27, 0.60, 91, 0.30, 0.0, 0.30},
    };
    // clang-format on
    Samples out = silence(1.3);
    add_notes(out, bright, notes);
    return out;
}

// Three falling steps and a last note that sags, a muted "wah wah wah wah".
Samples lose_figure()
{
    // clang-format off
    constexpr Note notes[] = {
        // start  length note velocity glide release
        {0.00, 0.17, 67, 0.60, 0.0, 0.06},
        {0.25, 0.17, 66, 0.60, 0.0, 0.06},
        {0.50, 0.17, 65, 0.60, 0.0, 0.06},
        {0.75, 0.35, 64, 0.65, -1.0, 0.25},
    };
    // clang-format on
    Samples out = silence(1.4);
    add_notes(out, hollow, notes);
    return out;
}

// The same soft chord knocked twice: nothing gained, nothing lost.
Samples tie_figure()
{
    // clang-format off
    constexpr Note notes[] = {
        // start  length note velocity glide release
        {0.00, 0.25, 67, 0.6, 0.0, 0.2},
        {0.00, 0.25, 74, 0.3, 0.0, 0.2},
        {0.28, 0.35, 67, 0.6, 0.0, 0.2},
        {0.28, 0.35, 74, 0.3, 0.0, 0.2},
    };
    // clang-format on
    Samples out = silence(0.9);
    add_notes(out, wood, notes);
    return out;
}

// ---------------------------------------------------------------- files

std::vector<std::int16_t> to_pcm(const Samples &samples, double peak_dbfs)
{
    double peak = 0.0;
    for (double s : samples)
        peak = std::max(peak, std::abs(s));
    const double gain = peak > 0.0 ? std::pow(10.0, peak_dbfs / 20.0) / peak : 0.0;
    std::vector<std::int16_t> pcm;
    pcm.reserve(samples.size());
    for (double s : samples)
        pcm.push_back(std::int16_t(std::lround(s * gain * 32767.0)));
    return pcm;
}

void put_u32(std::string &bytes, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes += char((value >> (8 * i)) & 0xff);
}

void put_u16(std::string &bytes, std::uint16_t value)
{
    bytes += char(value & 0xff);
    bytes += char(value >> 8);
}

bool write_wav(const std::string &path, const Samples &samples, double peak_dbfs)
{
    constexpr std::uint16_t channels = 1;
    constexpr std::uint16_t bits = 16;
    constexpr std::uint16_t block_align = channels * bits / 8;
    const std::vector<std::int16_t> pcm = to_pcm(samples, peak_dbfs);
    const std::uint32_t data_size = std::uint32_t(pcm.size() * block_align);

    std::string bytes;
    bytes += "RIFF";
    put_u32(bytes, 36 + data_size);
    bytes += "WAVE";
    bytes += "fmt ";
    put_u32(bytes, 16);
    put_u16(bytes, 1); // PCM
    put_u16(bytes, channels);
    put_u32(bytes, sample_rate);
    put_u32(bytes, sample_rate * block_align);
    put_u16(bytes, block_align);
    put_u16(bytes, bits);
    bytes += "data";
    put_u32(bytes, data_size);
    for (std::int16_t s : pcm)
        put_u16(bytes, std::uint16_t(s));

    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

struct SoundFile
{
    const char *name;
    Samples (*make)();
    double peak_dbfs; // set so that the sounds are about equally loud
};

// The start jingle's name has no extension: the game plays it by that name.
// The lose figure's notes are held, so it peaks lower than the plucked ones.
constexpr SoundFile sound_files[] = {
    // name            made by        peak
    {"kidou", start_jingle, kMaxPeakDbfs},     {"deel.wav", deal_riffle, kMaxPeakDbfs},
    {"draw_wav.wav", card_snap, kMaxPeakDbfs}, {"win_vic.wav", win_figure, kMaxPeakDbfs},
    {"lose_wav.wav", lose_figure, -11.0},      {"tie.wav", tie_figure, kMaxPeakDbfs},
};

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sounds OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    for (const SoundFile &sound : sound_files) {
        const std::string path = folder + "/" + sound.name;
        if (!write_wav(path, sound.make(), sound.peak_dbfs)) {
            std::fprintf(stderr, "make_sounds: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}

#include "sound/Synthesis.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct TPartial {
    double Frequency;  // Hz
    double Level;      // of the note's loudest
    double Decay;      // seconds for the level to fall to 1/e
};

// A note of sine partials that begins at `start` seconds, rises over `attack` seconds (a quarter
// sine, so no step) and dies away exponentially, added into `mix`.
void AddNote(std::vector<double>& mix, double start, double attack, const std::vector<TPartial>& partials)
{
    for (size_t i = size_t(start * kSampleRate); i < mix.size(); ++i) {
        const double t = double(i) / kSampleRate - start;
        const double rise = t < attack ? std::sin(kPi / 2 * t / attack) : 1.0;
        double value = 0;
        for (const TPartial& partial : partials)
            value += partial.Level * std::exp(-t / partial.Decay) * std::sin(2 * kPi * partial.Frequency * t);
        mix[i] += rise * value;
    }
}

// Scaled to the peak given (of full scale), with the last `fade` seconds faded out to silence.
std::vector<std::int16_t> Finish(const std::vector<double>& mix, double peak, double fade)
{
    double loudest = 0;
    for (double value : mix)
        loudest = std::max(loudest, std::abs(value));
    const double scale = loudest > 0 ? peak * 32767 / loudest : 0;
    const size_t fadeFrom = mix.size() - std::min(mix.size(), size_t(fade * kSampleRate));
    std::vector<std::int16_t> samples(mix.size());
    for (size_t i = 0; i < mix.size(); ++i) {
        const double gain = i < fadeFrom ? 1.0 : std::cos(kPi / 2 * double(i - fadeFrom + 1) / double(mix.size() - fadeFrom));
        samples[i] = std::int16_t(std::lround(mix[i] * scale * gain));
    }
    return samples;
}

void PutLittleEndian(std::string& bytes, std::uint32_t value, int count)
{
    for (int i = 0; i < count; ++i)
        bytes += char((value >> (8 * i)) & 0xFF);
}

} // namespace

std::vector<std::int16_t> ClickSamples()
{
    // A wooden tap: a short high knock over a softer low body, gone within 40 ms.
    std::vector<double> mix(size_t(0.04 * kSampleRate));
    AddNote(mix, 0, 0.0008, {{1900, 1.0, 0.004}, {3150, 0.35, 0.0025}, {420, 0.6, 0.009}});
    return Finish(mix, 0.32, 0.01);
}

std::vector<std::int16_t> ChimeSamples()
{
    // C6, E6 and G6 struck one after the other, each with the high, quickly fading partials of a
    // small bell.
    std::vector<double> mix(size_t(1.5 * kSampleRate));
    const double notes[] = {1046.50, 1318.51, 1567.98};
    for (int i = 0; i < 3; ++i) {
        const double f = notes[i];
        AddNote(mix, 0.11 * i, 0.004, {{f, 1.0, 0.45}, {2 * f, 0.25, 0.2}, {2.76 * f, 0.12, 0.08}});
    }
    return Finish(mix, 0.4, 0.25);
}

std::string WaveFile(const std::vector<std::int16_t>& samples, int rate)
{
    const std::uint32_t data = std::uint32_t(samples.size() * 2);
    std::string bytes = "RIFF";
    PutLittleEndian(bytes, 36 + data, 4);
    bytes += "WAVEfmt ";
    PutLittleEndian(bytes, 16, 4);         // the format chunk's size
    PutLittleEndian(bytes, 1, 2);          // PCM
    PutLittleEndian(bytes, 1, 2);          // mono
    PutLittleEndian(bytes, std::uint32_t(rate), 4);
    PutLittleEndian(bytes, std::uint32_t(rate) * 2, 4);  // bytes a second
    PutLittleEndian(bytes, 2, 2);          // bytes a frame
    PutLittleEndian(bytes, 16, 2);         // bits a sample
    bytes += "data";
    PutLittleEndian(bytes, data, 4);
    for (std::int16_t sample : samples)
        PutLittleEndian(bytes, std::uint16_t(sample), 2);
    return bytes;
}

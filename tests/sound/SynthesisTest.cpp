// The game's sounds as made: short and soft, starting and ending in silence, of the pitches they
// are meant to have, and written as a WAVE file Qt can read.

#include "sound/Synthesis.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>

namespace {

double Peak(const std::vector<std::int16_t>& samples, size_t from = 0, size_t to = SIZE_MAX)
{
    int peak = 0;
    for (size_t i = from; i < std::min(to, samples.size()); ++i)
        peak = std::max(peak, std::abs(int(samples[i])));
    return peak / 32767.0;
}

// The strength of one frequency over a stretch of samples (Goertzel's algorithm), per sample.
double Strength(const std::vector<std::int16_t>& samples, size_t from, size_t length, double frequency)
{
    const double w = 2 * 3.14159265358979323846 * frequency / kSampleRate;
    double s1 = 0, s2 = 0;
    for (size_t i = from; i < from + length; ++i) {
        const double s0 = samples[i] / 32767.0 + 2 * std::cos(w) * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return std::sqrt(s1 * s1 + s2 * s2 - 2 * std::cos(w) * s1 * s2) / double(length);
}

size_t At(double seconds) { return size_t(seconds * kSampleRate); }

TEST(Synthesis, TheClickIsAShortSoftTapThatStartsAndEndsInSilence)
{
    const std::vector<std::int16_t> click = ClickSamples();
    EXPECT_EQ(click.size(), At(0.04));
    EXPECT_EQ(std::pair(click.front(), click.back()), std::pair(std::int16_t(0), std::int16_t(0)));
    EXPECT_NEAR(Peak(click), 0.32, 0.001);
    EXPECT_LT(Peak(click, At(0.025)), 0.05);  // over within the first 25 ms
    // A knock above a low body: both there, no other pitch as strong.
    const double knock = Strength(click, 0, At(0.01), 1900), body = Strength(click, 0, At(0.01), 420);
    EXPECT_TRUE(knock > 3 * Strength(click, 0, At(0.01), 6000) && body > 3 * Strength(click, 0, At(0.01), 6000));
}

TEST(Synthesis, TheChimeStrikesARisingTriadThatDiesAwayIntoSilence)
{
    const std::vector<std::int16_t> chime = ChimeSamples();
    EXPECT_EQ(chime.size(), At(1.5));
    EXPECT_EQ(std::pair(chime.front(), chime.back()), std::pair(std::int16_t(0), std::int16_t(0)));
    EXPECT_NEAR(Peak(chime), 0.4, 0.001);
    // C6 alone at first, then E6 joins, then G6.
    const auto heard = [&](double start, double frequency) { return Strength(chime, At(start), At(0.1), frequency) > 0.02; };
    EXPECT_EQ(std::vector<bool>({heard(0, 1046.5), heard(0, 1318.5), heard(0, 1568.0)}), std::vector<bool>({true, false, false}));
    EXPECT_EQ(std::vector<bool>({heard(0.115, 1318.5), heard(0.115, 1568.0)}), std::vector<bool>({true, false}));
    EXPECT_TRUE(heard(0.225, 1568.0));
    EXPECT_LT(Peak(chime, At(1.3)), Peak(chime) / 10);
}

TEST(Synthesis, AWaveFileHoldsSixteenBitMonoSamplesLittleEndian)
{
    const std::string file = WaveFile({0, 1, -2, 0x1234}, 8000);
    const std::string header("RIFF\x2c\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x40\x1f\0\0\x80\x3e\0\0\x02\0\x10\0data\x08\0\0\0", 44);
    EXPECT_EQ(file, header + std::string("\0\0\x01\0\xfe\xff\x34\x12", 8));
}

} // namespace

#include "sound/Synthesis.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>

namespace {

// The loudest sample from `from` seconds on, of full scale.
double Peak(const std::vector<std::int16_t>& samples, double from = 0)
{
    int peak = 0;
    for (size_t i = size_t(from * kSampleRate); i < samples.size(); ++i)
        peak = std::max(peak, std::abs(int(samples[i])));
    return peak / 32767.0;
}

TEST(Synthesis, TheClickAndTheChimeAreSoftDieAwayStartAndEndInSilenceAndAreWrittenAsSixteenBitWave)
{
    for (const auto& [samples, seconds, peak, over] : {std::tuple(ClickSamples(), 0.04, 0.32, 0.025), std::tuple(ChimeSamples(), 1.5, 0.4, 1.3)}) {
        EXPECT_EQ(samples.size(), size_t(seconds * kSampleRate));
        EXPECT_EQ(std::pair(samples.front(), samples.back()), std::pair(std::int16_t(0), std::int16_t(0)));
        EXPECT_NEAR(Peak(samples), peak, 0.001);
        EXPECT_LT(Peak(samples, over), peak / 6) << "still loud after " << over << " s";
    }
    // A WAVE file holds sixteen-bit mono samples, little-endian.
    const std::string file = WaveFile({0, 1, -2, 0x1234}, 8000);
    const std::string header("RIFF\x2c\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x40\x1f\0\0\x80\x3e\0\0\x02\0\x10\0data\x08\0\0\0", 44);
    EXPECT_EQ(file, header + std::string("\0\0\x01\0\xfe\xff\x34\x12", 8));
}

} // namespace

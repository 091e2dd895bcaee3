#include "framework/Bitmap.h"
#include "framework/Random.h"

#include <gtest/gtest.h>
#include <set>

namespace {

TEST(Bitmap, SixteenBitPicturesKeepFiveAndSixBitChannels)
{
    TBitmap bitmap(1, 1);
    bitmap.Canvas().SetPixel(0, 0, RGB(0x13, 0x37, 0xFF));
    bitmap.SetPixelFormat(TPixelFormat::pf16bit);
    EXPECT_EQ(bitmap.Canvas().Pixel(0, 0), RGB(0x10, 0x34, 0xFF));  // the high bits fill the low ones
}

TEST(RandomGenerator, ReplaysFromASeedAndStaysInRange)
{
    TRandom random(42);
    const auto draw = [&random] {
        std::vector<int> values(100);
        for (int& k : values)
            k = random.Random(7);
        return values;
    };
    const std::vector<int> first = draw();
    random.SetSeed(42);
    EXPECT_EQ(draw(), first);
    EXPECT_EQ(std::set<int>(first.begin(), first.end()), (std::set<int>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(random.Random(1), 0);
    EXPECT_EQ(random.Random(0), 0);
}

} // namespace

#include "framework/Bitmap.h"
#include "framework/Random.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <set>

namespace {

TEST(Bitmap, SixteenBitPicturesKeepFiveAndSixBitChannels)
{
    TBitmap bitmap(1, 1);
    bitmap.Canvas().SetPixel(0, 0, RGB(0x13, 0x37, 0xFF));
    bitmap.SetPixelFormat(TPixelFormat::pf16bit);
    const TColor c = bitmap.Canvas().Pixel(0, 0);
    EXPECT_EQ(GetRValue(c) & 0x07, GetRValue(c) >> 5);  // 5-bit value widened
    EXPECT_EQ(GetRValue(c) >> 3, 0x13 >> 3);
    EXPECT_EQ(GetGValue(c) >> 2, 0x37 >> 2);
    EXPECT_EQ(GetBValue(c), 0xFF);
}

TEST(RandomGenerator, ReplaysFromASeedAndStaysInRange)
{
    TRandom random(42);
    std::vector<int> first;
    for (int i = 0; i < 100; ++i)
        first.push_back(random.Random(7));
    random.SetSeed(42);
    std::set<int> seen;
    for (int i = 0; i < 100; ++i) {
        const int k = random.Random(7);
        EXPECT_EQ(k, first[size_t(i)]);
        seen.insert(k);
    }
    EXPECT_EQ(seen, (std::set<int>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(random.Random(1), 0);
    EXPECT_EQ(random.Random(0), 0);
}

} // namespace

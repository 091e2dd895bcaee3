#include "framework/Bitmap.h"
#include "framework/Random.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <set>

namespace {

TEST(Bitmap, OpensEveryKindOfWindowsBitmap)
{
    const QDir folder(TestDataPath("bmp/good"));
    const QStringList files = folder.entryList({"*.bmp"}, QDir::Files);
    ASSERT_EQ(files.size(), 27);
    for (const QString& name : files) {
        TBitmap bitmap;
        QString error;
        EXPECT_TRUE(bitmap.LoadFromFile(folder.filePath(name), &error)) << name.toStdString() << ": " << error.toStdString();
        EXPECT_FALSE(bitmap.Empty()) << name.toStdString();
        EXPECT_EQ(bitmap.Image().depth(), 32) << name.toStdString();
    }
}

TEST(Bitmap, AFailedLoadKeepsThePictureAndSaysWhy)
{
    QTemporaryDir dir;
    const QString garbage = dir.filePath("garbage.bmp");
    QFile file(garbage);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("BM this is not a bitmap at all");
    file.close();
    const QString truncated = dir.filePath("truncated.bmp");
    QFile original(TestDataPath("bmp/good/rgb24.bmp"));
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    QFile cut(truncated);
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(original.read(60));
    cut.close();

    TBitmap bitmap(7, 3);
    for (const QString& path : {dir.filePath("missing.bmp"), garbage, truncated, dir.path()}) {
        QString error;
        EXPECT_FALSE(bitmap.LoadFromFile(path, &error)) << path.toStdString();
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(bitmap.Width(), 7);
        EXPECT_EQ(bitmap.Height(), 3);
    }
}

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
    SetRandSeed(42);
    std::vector<int> first;
    for (int i = 0; i < 100; ++i)
        first.push_back(Random(7));
    SetRandSeed(42);
    std::set<int> seen;
    for (int i = 0; i < 100; ++i) {
        const int k = Random(7);
        EXPECT_EQ(k, first[size_t(i)]);
        seen.insert(k);
    }
    EXPECT_EQ(seen, (std::set<int>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(Random(1), 0);
    EXPECT_EQ(Random(0), 0);
}

} // namespace

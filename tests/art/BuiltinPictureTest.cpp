#include "art/BuiltinPicture.h"
#include "tests/support/CoreSupport.h"

namespace {

// Neighbouring pixels, across and down, whose colours differ by more than half the range in a
// channel: the sharp edges of the picture.
int SharpEdges(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    auto jump = [](QRgb a, QRgb b) {
        return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))}) > 128;
    };
    int edges = 0;
    for (int y = 0; y + 1 < rgb.height(); ++y)
        for (int x = 0; x + 1 < rgb.width(); ++x)
            edges += jump(rgb.pixel(x, y), rgb.pixel(x + 1, y)) + jump(rgb.pixel(x, y), rgb.pixel(x, y + 1));
    return edges;
}

TEST(BuiltinPicture, IsTheSamePictureAtEverySizeDrawnSharpAtIt)
{
    const QImage designed = MakeBuiltinPicture();
    EXPECT_EQ(designed.format(), QImage::Format_RGB16);
    // Pixel for pixel the picture the game has always shown.
    const QImage kept = QImage(TestDataPath("pictures/builtin-250.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(kept.size(), QSize(250, 250));
    EXPECT_TRUE(designed.convertToFormat(QImage::Format_RGB32) == kept);

    const QImage large = MakeBuiltinPicture(1000);
    ASSERT_EQ(std::pair(large.size(), large.format()), std::pair(QSize(1000, 1000), QImage::Format_RGB16));
    // Brought down to 250 it is the same picture ...
    const QImage down = large.scaled(250, 250, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).convertToFormat(QImage::Format_RGB32);
    qint64 difference = 0;
    for (int y = 0; y < 250; ++y)
        for (int x = 0; x < 250; ++x)
            difference += std::abs(qGray(down.pixel(x, y)) - qGray(kept.pixel(x, y)));
    EXPECT_LT(difference / (250 * 250), 12);
    // ... but drawn at 1000 its outlines stay sharp, where the small one scaled up is blurred.
    const QImage blurred = designed.scaled(1000, 1000, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_GT(SharpEdges(large), 3 * SharpEdges(blurred));
    EXPECT_GT(SharpEdges(large), 1000);

    EXPECT_TRUE(IsBuiltinPicture(designed) && IsBuiltinPicture(large) && IsBuiltinPicture(QImage(large)));
    EXPECT_FALSE(IsBuiltinPicture(kept) || IsBuiltinPicture(large.copy()) || IsBuiltinPicture(QImage()));
}

} // namespace

#include "framework/PictureFile.h"
#include "tests/support/CoreSupport.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class PictureFileTest : public ::testing::Test {
protected:
    QString Write(const QString& name, const QByteArray& bytes)
    {
        WriteFile(dir.filePath(name), bytes);
        return dir.filePath(name);
    }

    // A 60 x 40 picture in the format, with pixels that differ from row to row.
    static QByteArray Encoded(const char* format, bool progressive = false)
    {
        QImage image(60, 40, QImage::Format_RGB32);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 60; ++x)
                image.setPixel(x, y, qRgb(x * 4, y * 6, (x * y) & 0xFF));
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, format);
        writer.setProgressiveScanWrite(progressive);
        EXPECT_TRUE(writer.write(image)) << format;
        return buffer.data();
    }

    QTemporaryDir dir;
};

TEST_F(PictureFileTest, EveryFormatReadsWholeAndEveryCutFileIsRefused)
{
    struct Case {
        QString name;
        QByteArray bytes;
        QSize size;
    };
    std::vector<Case> cases;
    for (const char* format : {"bmp", "png", "jpg", "ppm", "pgm", "pbm", "xbm", "xpm", "ico"})
        cases.push_back({QString("p.") + format, Encoded(format), {60, 40}});
    cases.push_back({"progressive.jpg", Encoded("jpg", true), {60, 40}});
    cases.push_back({"still.gif", ReadFile(TestDataPath("pictures/still.gif")), {40, 30}});
    cases.push_back({"animated.gif", ReadFile(TestDataPath("pictures/animated.gif")), {40, 30}});
    for (const Case& c : cases) {
        QString error;
        const QImage image = ReadPictureFile(Write(c.name, c.bytes), &error);
        EXPECT_EQ(image.size(), c.size) << c.name.toStdString() << ": " << error.toStdString();
        EXPECT_EQ(image.format(), QImage::Format_RGB32);
        if (c.name.startsWith("animated"))
            continue;  // its first frame may well be whole in a cut file
        for (double kept : {0.3, 0.75, 0.97}) {
            error.clear();
            const QString cut = Write("cut-" + c.name, c.bytes.left(qsizetype(c.bytes.size() * kept)));
            EXPECT_TRUE(ReadPictureFile(cut, &error).isNull()) << c.name.toStdString() << " cut to " << kept;
            EXPECT_FALSE(error.isEmpty());
        }
    }
    for (const QFileInfo& bitmap : QDir(TestDataPath("bmp/good")).entryInfoList({"*.bmp"}))  // every kind of bitmap
        EXPECT_FALSE(ReadPictureFile(bitmap.filePath(), nullptr).isNull()) << bitmap.fileName().toStdString();
    // The first frame of an animation.
    EXPECT_EQ(ReadPictureFile(TestDataPath("pictures/animated.gif"), nullptr).pixelColor(5, 5), QColor(Qt::yellow));
    // Transparent parts lie on white.
    QImage clear(8, 8, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    ASSERT_TRUE(clear.save(dir.filePath("clear.png")));
    EXPECT_EQ(ReadPictureFile(dir.filePath("clear.png"), nullptr).pixelColor(3, 3), QColor(Qt::white));
}

TEST_F(PictureFileTest, WhatIsNoPictureOrTooLargeIsRefusedWithoutBlockingOrDecoding)
{
    ASSERT_EQ(mkfifo(dir.filePath("pipe.png").toLocal8Bit().constData(), 0600), 0);
    ASSERT_EQ(symlink("/dev/zero", dir.filePath("zero.bmp").toLocal8Bit().constData()), 0);
    QFile huge(dir.filePath("huge.bmp"));  // sparse: no disk is used
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(kMaxPictureFileBytes + 1));
    huge.close();
    // A bitmap whose header claims 10,000 x 10,000 pixels, and a pixel map of 8,000 x 6,000.
    QByteArray wide = Encoded("bmp");
    qToLittleEndian<qint32>(10000, wide.data() + 18);
    qToLittleEndian<qint32>(10000, wide.data() + 22);

    const QString refused[] = {dir.filePath("missing.png"), dir.path(), dir.filePath("pipe.png"), dir.filePath("zero.bmp"),
                               huge.fileName(), Write("empty.jpg", {}), Write("text.png", "no picture here\n"),
                               Write("wide.bmp", wide), Write("big.ppm", "P6\n8000 6000\n255\n" + QByteArray(300, 0))};
    QStringList errors;
    for (const QString& path : refused) {
        QString error;
        EXPECT_TRUE(ReadPictureFile(path, &error).isNull()) << path.toStdString();
        errors << error;
    }
    EXPECT_EQ(errors.mid(7), QStringList(2, "Рисунок слишком велик: в нём больше 40 миллионов точек."));
    EXPECT_FALSE(errors.contains(QString()));
}

TEST(PictureDialog, OffersEveryPictureFirstThenBitmapsThenEachFormat)
{
    const QStringList formats = PictureFormats();
    for (const char* format : {"bmp", "gif", "jpeg", "png"})
        EXPECT_TRUE(formats.contains(format)) << format;
    EXPECT_FALSE(formats.contains("jpg"));  // one entry for both names

    const QStringList filter = PictureDialogFilter().split('|');
    ASSERT_EQ(filter.size(), 2 * (formats.size() + 1));
    EXPECT_TRUE(filter[0].startsWith("Все рисунки ( *.bmp ") && filter[0].contains("*.jpg *.jpeg"));
    EXPECT_TRUE(filter[1].contains("*.png") && filter[1].contains("*.gif"));
    EXPECT_EQ(filter[2], QString("Точечные рисунки ( *.bmp )"));
    EXPECT_EQ(filter[3], QString("*.bmp"));
    EXPECT_TRUE(filter.contains("Рисунки PNG ( *.png )"));
}

} // namespace

#include "framework/PictureData.h"
#include "framework/PictureFile.h"
#include "tests/support/CoreSupport.h"
#include "tests/support/TestPictures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
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

    // Why the file of these bytes is refused; "opened" where it is not.
    QString Refusal(const QString& name, const QByteArray& bytes)
    {
        QString error;
        return ReadPictureFile(Write(name, bytes), &error).isNull() ? error : QStringLiteral("opened");
    }

    // A 60 x 40 picture in the format ("progressive": a progressive JPEG), with pixels that differ
    // from row to row.
    static QByteArray Encoded(const char* format)
    {
        QImage image(60, 40, QImage::Format_RGB32);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 60; ++x)
                image.setPixel(x, y, qRgb(x * 4, y * 6, (x * y) & 0xFF));
        return ::Encoded(image, format);
    }

    QTemporaryDir dir;
};

TEST_F(PictureFileTest, EveryFormatReadsWholeAndEveryCutFileIsRefused)
{
    std::vector<std::tuple<QString, QByteArray, QSize>> cases;  // name, bytes, size
    for (const char* format : {"bmp", "png", "jpg", "ppm", "pgm", "pbm", "xbm", "xpm", "ico"})
        cases.emplace_back(QString("p.") + format, Encoded(format), QSize(60, 40));
    cases.emplace_back("progressive.jpg", Encoded("progressive"), QSize(60, 40));
    cases.emplace_back("still.gif", ReadFile(TestDataPath("pictures/still.gif")), QSize(40, 30));
    cases.emplace_back("animated.gif", ReadFile(TestDataPath("pictures/animated.gif")), QSize(40, 30));
    for (const auto& [name, bytes, size] : cases) {
        const QImage image = ReadPictureFile(Write(name, bytes), nullptr);
        EXPECT_EQ(std::pair(image.size(), image.format()), std::pair(size, QImage::Format_RGB32)) << name.toStdString();
        for (double kept : {0.3, 0.75, 0.97}) {
            const QString why = Refusal("cut-" + name, bytes.left(qsizetype(bytes.size() * kept)));
            // An animation's first frame may well be whole in a cut file.
            EXPECT_TRUE(name.startsWith("animated") || (why != "opened" && !why.isEmpty())) << name.toStdString() << kept;
        }
    }
    for (const QFileInfo& bitmap : QDir(TestDataPath("bmp/good")).entryInfoList({"*.bmp"}))  // every kind of bitmap
        EXPECT_FALSE(ReadPictureFile(bitmap.filePath(), nullptr).isNull()) << bitmap.fileName().toStdString();
    // Transparent parts lie on white, at 8 and 16 bits a channel.
    for (const QImage::Format format : {QImage::Format_ARGB32, QImage::Format_RGBA64}) {
        QImage clear = Filled({8, 8}, Qt::transparent, format);
        clear.setPixelColor(1, 1, QColor(255, 0, 0, 128));
        ASSERT_TRUE(clear.save(dir.filePath("clear.png")));
        const QImage read = ReadPictureFile(dir.filePath("clear.png"), nullptr);
        EXPECT_EQ(std::pair(read.pixelColor(3, 3), read.pixelColor(1, 1)), std::pair(QColor(Qt::white), QColor(255, 127, 127)));
    }
}

TEST_F(PictureFileTest, WhatIsNoPictureOrTooLargeIsRefusedWithoutBlockingOrDecoding)
{
    ASSERT_EQ(mkfifo(dir.filePath("pipe.png").toLocal8Bit().constData(), 0600), 0);
    ASSERT_EQ(symlink("/dev/zero", dir.filePath("zero.bmp").toLocal8Bit().constData()), 0);
    QFile huge(dir.filePath("huge.bmp"));  // sparse: no disk is used
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(kMaxPictureFileBytes + 1));
    huge.close();
    // The last two: a bitmap whose header claims 10,000 x 10,000 pixels, a pixel map of 10,000 x 6,000.
    const QString refused[] = {dir.filePath("missing.png"), dir.path(), dir.filePath("pipe.png"), dir.filePath("zero.bmp"),
                               huge.fileName(), Write("empty.jpg", {}), Write("text.png", "no picture here\n"),
                               Write("header.xbm", "#define LIMIT 10\nint limit = LIMIT;\n"),
                               Write("wide.bmp", ShortPicture("bmp", QSize(10000, 10000))),
                               Write("big.ppm", "P6\n10000 6000\n255\n" + QByteArray(300, 0))};
    QStringList errors;
    for (const QString& path : refused) {
        QString error;
        EXPECT_TRUE(ReadPictureFile(path, &error).isNull()) << path.toStdString();
        errors << error;
    }
    EXPECT_EQ(errors.mid(8), QStringList(2, "Рисунок слишком велик: в нём больше 50 миллионов точек."));
    EXPECT_FALSE(errors.contains(QString()));
}

// Far larger than the data of a short file can fill in any format, small enough to decode quickly.
const QSize kDeclared(1000, 800);

TEST_F(PictureFileTest, AShortFileDeclaringALargeSizeIsRefusedAndAFlatPictureOfThatSizeOpens)
{
    for (const QString& kind : TestPictureKinds()) {
        QString error;
        const QImage flat = ReadPictureFile(Write("flat." + kind, FlatPicture(kind, kDeclared)), &error);
        EXPECT_EQ(flat.size(), kDeclared) << kind.toStdString() << ": " << error.toStdString();
        EXPECT_TRUE(kind == "pbm" || kind == "xbm" || std::abs(flat.pixelColor(500, 400).blue() - 160) <= 2)  // or black and white
            << kind.toStdString() << flat.pixelColor(500, 400).blue();
        EXPECT_EQ(Refusal("short." + kind, ShortPicture(kind, kDeclared)),
                  "Файл рисунка обрезан: его данных не хватает на рисунок 1000 x 800 точек.") << kind.toStdString();
    }
}

TEST_F(PictureFileTest, JpegsOfTooManyScansArithmeticCodingMissingDataOrTooMuchMemoryAreRefusedBeforeDecoding)
{
    const QByteArray progressive = FlatPicture("progressive", kDeclared), whole = Encoded("jpg");
    for (const int scans : {kMaxJpegScans + 1, 5000})
        EXPECT_EQ(Refusal("many.jpg", WithScans(progressive, scans)),
                  "Рисунок JPEG разбит больше чем на 100 проходов: его чтение заняло бы слишком много времени.") << scans;
    // A hundred are decoded, and the reader then finds the same scan over and over.
    EXPECT_TRUE(Refusal("100.jpg", WithScans(progressive, kMaxJpegScans)).contains("Inconsistent progression sequence"));
    // Half of the coded data, then the end marker: long enough for the size, but the reader runs
    // out of data in the middle of the picture.
    const qsizetype scan = whole.indexOf("\xFF\xDA"), end = whole.lastIndexOf("\xFF\xD9");
    EXPECT_TRUE(Refusal("halved.jpg", whole.left(scan + (end - scan) / 2) + "\xFF\xD9").contains("premature end of data segment"));
    QByteArray arithmetic = whole;
    arithmetic[whole.indexOf("\xFF\xC0") + 1] = char(0xC9);  // a frame header of arithmetic coding
    EXPECT_EQ(Refusal("arithmetic.jpg", arithmetic), "Рисунки JPEG с арифметическим кодированием не открываются.");
    // A progressive 6000 x 6000 in three full-size colours: its decoder would hold 64 coefficients
    // of 2 bytes for each of 3 x 750 x 750 blocks, 206 MiB, besides the picture.
    QByteArray wide("\xFF\xD8\xFF\xC2\x00\x11\x08\x17\x70\x17\x70\x03\x01\x11\x00\x02\x11\x00\x03\x11\x00", 21);
    wide += QByteArray("\xFF\xDA\x00\x0C\x03\x01\x00\x02\x00\x03\x00\x00\x00\x00", 14);
    wide += QByteArray(3 * 750 * 750 / 8 + 1, 0) + "\xFF\xD9";  // a bit for each block
    EXPECT_EQ(Refusal("wide.jpg", wide), "Рисунок слишком велик: чтобы его прочитать, нужно слишком много памяти.");
}

TEST_F(PictureFileTest, AFileThatShrinksWhileReadIsRefusedAndOneThatGrowsGivesThePictureAsRead)
{
    SetPictureReadHook([](const QString& file) { QFile(file).resize(100); });
    EXPECT_EQ(Refusal("changing.png", Encoded("png")), "Файл стал короче, пока его читали.");
    SetPictureReadHook([](const QString& file) {
        QFile grown(file);
        ASSERT_TRUE(grown.open(QIODevice::Append));
        grown.write(QByteArray(5000, 'x'));
    });
    EXPECT_EQ(ReadPictureFile(Write("changing.png", Encoded("png")), nullptr).size(), QSize(60, 40));
    SetPictureReadHook({});
}

TEST(PictureDialog, OffersEveryPictureFirstThenEachFormatThenAllFiles)
{
    const QStringList formats = PictureFormats();
    EXPECT_FALSE(formats.contains("jpg"));  // one entry for both names
    const QStringList filter = PictureDialogFilter().split('|');
    ASSERT_EQ(filter.size(), 2 * (formats.size() + 2));
    EXPECT_TRUE(filter[0].startsWith("Все рисунки ( *.avif *.bmp ") && filter[0].contains("*.jpg *.jpeg"));
    for (const char* pattern : {"*.png", "*.gif", "*.webp", "*.tif", "*.svgz", "*.heic", "*.avif", "*.jpg"})
        EXPECT_TRUE(filter[1].contains(pattern)) << pattern;
    EXPECT_EQ(filter.mid(2, 2), QStringList({"Рисунки AVIF ( *.avif )", "*.avif"}));
    EXPECT_EQ(filter.mid(filter.size() - 2), QStringList({"Все файлы ( * )", "*"}));
}

} // namespace

#include "framework/PictureFile.h"
#include "tests/support/CoreSupport.h"
#include "tests/support/TestPictures.h"

#include <QColorSpace>
#include <QColorTransform>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The colours in the middles of the quarters, each channel within `tolerance` of the picture's.
void ExpectQuarters(const QImage& read, const QImage& picture, int tolerance, const std::string& what)
{
    ASSERT_EQ(read.size(), picture.size()) << what;
    for (const QPointF& at : {QPointF(0.25, 0.25), QPointF(0.75, 0.25), QPointF(0.75, 0.75), QPointF(0.25, 0.75)}) {
        const QPoint pixel(int(at.x() * picture.width()), int(at.y() * picture.height()));
        const QColor got = read.pixelColor(pixel), wanted = picture.pixelColor(pixel);
        EXPECT_TRUE(std::abs(got.red() - wanted.red()) <= tolerance && std::abs(got.green() - wanted.green()) <= tolerance
                    && std::abs(got.blue() - wanted.blue()) <= tolerance)
            << what << " at " << pixel.x() << "," << pixel.y() << ": " << got.name().toStdString() << " for "
            << wanted.name().toStdString();
    }
}

QString Refusal(const QByteArray& bytes, int side = 0)
{
    QString error;
    return ReadPictureBytes(bytes, &error, side).isNull() ? error : QStringLiteral("opened");
}

const QSize kSize(64, 48);

TEST(PictureFormats, EachNewFormatOpensAndACutFileIsRefused)
{
    const QImage picture = Quarters(kSize);
    const QByteArray svg = QuartersSvg(kSize);
    // Name, bytes, and how far the colours may be off (the lossy formats).
    std::vector<std::tuple<std::string, QByteArray, int>> cases{
        {"webp", Encoded(picture, "webp"), 0}, {"tiff", Encoded(picture, "tiff"), 0},
        {"tiff of one strip", TiffPicture(picture), 0}, {"svg", svg, 0}, {"svgz", Gzipped(svg), 0}};
    for (const char* kind : {"heic", "avif"})
        if (const QByteArray heif = HeifEncoded(picture, kind); !heif.isEmpty())
            cases.emplace_back(kind, heif, 12);
    EXPECT_EQ(cases.size(), 7u) << "libheif can code HEIC and AVIF";
    for (const auto& [name, bytes, tolerance] : cases) {
        QString error;
        ExpectQuarters(ReadPictureBytes(bytes, &error), picture, tolerance, name + ": " + error.toStdString());
        for (double kept : {0.3, 0.75, 0.97}) {
            const QString why = Refusal(bytes.left(qsizetype(bytes.size() * kept)));
            EXPECT_TRUE(why != "opened" && !why.isEmpty()) << name << " cut to " << kept;
        }
    }
}

TEST(PictureFormats, AnAnimationGivesItsFirstFrame)
{
    const QImage yellow = Filled({30, 20}, Qt::yellow);
    const QImage first = ReadPictureBytes(AnimatedWebp({Encoded(yellow, "webp"), Encoded(Filled({30, 20}, Qt::green), "webp")}, yellow.size()), nullptr);
    EXPECT_EQ(first.pixelColor(10, 10), QColor(Qt::yellow));
    EXPECT_EQ(ReadPictureBytes(ReadFile(TestDataPath("pictures/animated.gif")), nullptr).pixelColor(5, 5), QColor(Qt::yellow));
}

TEST(PictureFormats, BombsAreRefusedBeforeTheyAreDecoded)
{
    const QByteArray svgStart = "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' width='100' height='100'>";
    QTemporaryDir dir;
    ASSERT_TRUE(Quarters(kSize).save(dir.filePath("red.png")));
    QByteArray laughs = "<?xml version='1.0'?><!DOCTYPE svg [<!ENTITY a 'aaaaaaaaaa'>";
    for (char entity = 'b'; entity <= 'j'; ++entity)
        laughs += QByteArray("<!ENTITY ") + entity + " '" + QByteArray("&") .append(entity - 1).append(';').repeated(10) + "'>";
    laughs += "]>" + svgStart + "<text>&j;</text></svg>";
    QByteArray copies = svgStart + "<defs><rect id='c0' width='1' height='1'/>";
    for (int level = 1; level <= 8; ++level) {  // ten copies of ten copies ...: 10^8 rectangles
        copies += "<g id='c" + QByteArray::number(level) + "'>";
        copies += ("<use xlink:href='#c" + QByteArray::number(level - 1) + "'/>").repeated(10) + "</g>";
    }
    copies += "</defs><use xlink:href='#c8'/></svg>";
    const QByteArray inflating = Gzipped(svgStart + "<!--" + QByteArray(40 << 20, ' ') + "--></svg>");
    const auto image = [&svgStart](const QByteArray& link) {
        return svgStart + "<image width='9' height='9' xlink:href='" + link + "'/></svg>";
    };
    const std::vector<std::pair<QByteArray, QString>> bombs{
        {QByteArray(svgStart).replace("width='100' height='100'", "width='100000' height='100000'") + "</svg>", "больше 50 миллионов точек"},
        {laughs, "вложены"},
        {"<?xml version='1.0'?><!DOCTYPE svg [<!ENTITY x SYSTEM 'file:///etc/passwd'>]>" + svgStart + "<text>&x;</text></svg>", "вне себя"},
        {image(dir.filePath("red.png").toUtf8()), "вне себя"},
        {svgStart + "<image width='9' height='9' href='red.png'/></svg>", "вне себя"},
        {svgStart + "<style>@import url(http://example.org/a.css);</style></svg>", "вне себя"},
        {svgStart + "<rect width='9' height='9' style='fill:url(http://example.org/p.svg#p)'/></svg>", "вне себя"},
        {copies, "больше 2000000 элементов"},
        {svgStart + QByteArray("<g/>").repeated(250000) + "</svg>", "больше 250000 элементов"},
        {svgStart + "<g id='a'><use xlink:href='#a'/></g></svg>", "копирует сам себя"},
        {svgStart + QByteArray("<g>").repeated(300) + QByteArray("</g>").repeated(300) + "</svg>", "слишком глубоко"},
        {inflating, "длиннее 32 МБ"},
        {image("data:image/svg+xml;base64," + (svgStart + "</svg>").toBase64()), "вложен рисунок"},
        {image("data:image/png;base64," + ShortPicture("png", QSize(10000, 10000)).toBase64()), "больше 50 миллионов точек"},
        {HeifGrid(100000), "больше 4096 частей"},
        {TiffPicture(Quarters(kSize), 0, 10000), "больше 1000 страниц"},
        {TiffPicture(Quarters(kSize), 0, 1, QSize(65536, 65536)), "больше 50 миллионов точек"},
        {TiffPicture(Quarters(kSize), 0, 1, {}, QSize(65536, 65536)), "плитки больше"},
        {ShortPicture("jpeg", QSize(20000, 10001)), "больше 200 миллионов точек"},
        {ShortPicture("png", QSize(10000, 5001)), "больше 50 миллионов точек"},
    };
    for (const auto& [bytes, refusal] : bombs)
        EXPECT_TRUE(Refusal(bytes, 1200).contains(refusal)) << refusal.toStdString() << ": " << Refusal(bytes, 1200).toStdString();
    // What they may hold: a picture embedded whole, a link never followed, parts of the file itself.
    const QByteArray embedded = svgStart + "<a xlink:href='http://example.org/'><image width='100' height='100' xlink:href='data:image/png;base64,"
                                + Encoded(Quarters(kSize), "png").toBase64() + "'/></a><use xlink:href='#r'/><rect id='r' width='1' height='1' fill='url(#g)'/></svg>";
    EXPECT_EQ(Refusal(embedded), "opened");
}

TEST(PictureFormats, AVectorPictureIsDrawnAtTheBoardsSizeAndALargePhotoBroughtDownToIt)
{
    // A stripe one unit wide: drawn at twenty times its declared size, it is twenty pixels wide
    // and sharp, not a blurred pixel scaled up.
    const QByteArray svg = "<svg xmlns='http://www.w3.org/2000/svg' width='40' height='30'><rect x='10' width='1' height='30' fill='black'/></svg>";
    const QImage drawn = ReadPictureBytes(svg, nullptr, 600);
    ASSERT_EQ(drawn.size(), QSize(800, 600));
    EXPECT_EQ(std::tuple(drawn.pixelColor(199, 300), drawn.pixelColor(201, 300), drawn.pixelColor(218, 300), drawn.pixelColor(221, 300)),
              std::tuple(QColor(Qt::white), QColor(Qt::black), QColor(Qt::black), QColor(Qt::white)));
    EXPECT_EQ(ReadPictureBytes(svg, nullptr).size(), QSize(40, 30));  // no board: at its own size
    // A JPEG of 4000 x 3000 for a board of 400: decoded at a quarter, then brought down.
    const QImage read = ReadPictureBytes(Encoded(Quarters(QSize(4000, 3000)), "jpeg"), nullptr, 400);
    ExpectQuarters(read, Quarters(QSize(533, 400)), 8, "jpeg within 400");
}

TEST(PictureFormats, TheEightOrientationsOfAPhotoGiveTheSameUprightPicture)
{
    const QImage upright = Quarters(QSize(64, 48));
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const QImage stored = AsStoredFor(upright, orientation);
        const std::pair<std::string, QByteArray> files[] = {
            {"jpeg", JpegWithOrientation(Encoded(stored, "jpeg"), orientation)},
            {"tiff", TiffPicture(stored, orientation)},
            {"webp", WebpWithMetadata(Encoded(stored, "webp"), orientation)},
            {"heic", HeifEncoded(stored, "heic", 1, orientation)},
        };
        for (const auto& [format, bytes] : files)
            ExpectQuarters(ReadPictureBytes(bytes, nullptr), upright, format == "heic" ? 12 : 8, format + " of orientation " + std::to_string(orientation));
        // Turned after it is brought down to the board: the shorter side is the board's.
        EXPECT_EQ(ReadPictureBytes(files[0].second, nullptr, 24).size(), QSize(32, 24)) << orientation;
    }
}

TEST(PictureFormats, APictureWithAColourProfileComesOutInSrgb)
{
    // The same numbers meant in the wide Display P3 space are more saturated in sRGB.
    QImage wide = Filled(kSize, QColor(200, 60, 50));
    wide.setColorSpace(QColorSpace::DisplayP3);
    const QColor inSrgb = QColorSpace(QColorSpace::DisplayP3).transformationToColorSpace(QColorSpace::SRgb).map(QColor(200, 60, 50));
    ASSERT_GT(inSrgb.red(), 210);
    QImage untagged = wide;
    untagged.setColorSpace(QColorSpace());
    const std::pair<std::string, QByteArray> files[] = {
        {"png", Encoded(wide, "png")},
        {"jpeg", Encoded(wide, "jpeg")},
        {"webp", WebpWithMetadata(Encoded(untagged, "webp"), 0, QColorSpace(QColorSpace::DisplayP3).iccProfile())},
        {"heic", HeifEncoded(untagged, "heic", 12)},  // NCLX: the primaries of Display P3
    };
    for (const auto& [format, bytes] : files) {
        const QImage read = ReadPictureBytes(bytes, nullptr);
        ASSERT_EQ(read.size(), kSize) << format;
        EXPECT_NEAR(read.pixelColor(10, 10).red(), inSrgb.red(), 6) << format;
        EXPECT_NEAR(read.pixelColor(10, 10).green(), inSrgb.green(), 6) << format;
    }
    // A profile that cannot be read is ignored: the numbers are taken as they are.
    QByteArray broken = Encoded(untagged, "jpeg");
    broken.insert(2, QByteArray("\xFF\xE2\x00\x1EICC_PROFILE\0\x01\x01", 18) + QByteArray(14, '\x7F'));
    EXPECT_NEAR(ReadPictureBytes(broken, nullptr).pixelColor(10, 10).red(), 200, 4);
}

TEST(PictureFormats, WhatTheFuzzerFoundIsReadWithoutHarm)
{
    // Each opens whole or is refused with a reason (the sanitizers watch the rest).
    const QFileInfoList found = QDir(TestDataPath("fuzz")).entryInfoList({"*.jpg", "*.avif", "*.heic", "*.svg", "*.tiff", "*.webp", "*.png"});
    EXPECT_GE(found.size(), 2);
    for (const QFileInfo& file : found) {
        QString error;
        const QImage picture = ReadPictureBytes(ReadFile(file.filePath()), &error, 96);
        EXPECT_NE(picture.isNull(), error.isEmpty()) << file.fileName().toStdString();
    }
}

} // namespace

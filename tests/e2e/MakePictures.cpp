// Writes picture files for the tests into a folder.
// Usage: mozik-test-pictures FOLDER
//   the files of tests/e2e/pictures.sh: for each kind, a flat picture of 6000 x 6000 pixels
//   ("flat.*") and a short file that declares that size ("short.*"), and a progressive JPEG of
//   that size in 3000 scans ("scans.jpg");
// mozik-test-pictures --formats FOLDER
//   the files of tests/e2e/formats.sh: a picture in each format, small ("quarters.*") and of 12
//   million pixels (3 for HEIF: "large.*"), a phone photo of
//   48 million pixels lying on its side with the orientation that turns it upright
//   ("phone-48mp.jpg"), a photo of 108 million pixels ("photo-108mp.jpg"), and bombs ("bomb.*");
// mozik-test-pictures --seeds FOLDER
//   small pictures of every format, whole, cut and hostile, to start the fuzzer from.

#include "tests/support/TestPictures.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <functional>
#include <jpeglib.h>
#include <vector>

namespace {

// Writes a JPEG of `size`, a row at a time so that a picture of a hundred million pixels is never
// held whole, that shows the quarters once turned as the EXIF orientation says (0: no EXIF; 6:
// stored on its side, a quarter turn clockwise makes it upright). False when it cannot be written.
bool WriteLargeJpeg(const QString& path, QSize size, int orientation)
{
    FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!file)
        return false;
    jpeg_compress_struct jpeg{};
    jpeg_error_mgr errors{};
    jpeg.err = jpeg_std_error(&errors);
    jpeg_create_compress(&jpeg);
    jpeg_stdio_dest(&jpeg, file);
    jpeg.image_width = JDIMENSION(size.width());
    jpeg.image_height = JDIMENSION(size.height());
    jpeg.input_components = 3;
    jpeg.in_color_space = JCS_RGB;
    jpeg_set_defaults(&jpeg);
    jpeg_set_quality(&jpeg, 80, TRUE);
    jpeg_start_compress(&jpeg, TRUE);
    if (orientation != 0) {
        const QByteArray exif = ExifWithOrientation(orientation);
        jpeg_write_marker(&jpeg, JPEG_APP0 + 1, reinterpret_cast<const JOCTET*>(exif.constData()), unsigned(exif.size()));
    }
    // Stored on its side (orientation 6), the upright picture is as tall as the stored one is wide.
    const bool sideways = orientation == 6;
    const QSize upright = sideways ? size.transposed() : size;
    std::vector<unsigned char> row(size_t(3 * size.width()));
    while (jpeg.next_scanline < jpeg.image_height) {
        const int y = int(jpeg.next_scanline);
        for (int x = 0; x < size.width(); ++x) {
            const QRgb colour = sideways ? QuarterAt(size.height() - 1 - y, x, upright) : QuarterAt(x, y, upright);
            row[size_t(3 * x)] = uchar(qRed(colour)), row[size_t(3 * x + 1)] = uchar(qGreen(colour)), row[size_t(3 * x + 2)] = uchar(qBlue(colour));
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&jpeg, rows, 1);
    }
    jpeg_finish_compress(&jpeg);
    jpeg_destroy_compress(&jpeg);
    return std::fclose(file) == 0;
}

using TWrite = std::function<void(const QString& name, const QByteArray& bytes)>;

// The quarters in every format that has a writer here, named NAME.FORMAT; HEIF's encoders, far
// slower than the others, code them at `heifSize`.
void WriteFormats(const TWrite& write, const QString& name, QSize size, QSize heifSize)
{
    const QImage picture = Quarters(size);
    for (const char* format : {"png", "jpeg", "webp", "tiff", "bmp", "gif"})
        if (const QByteArray bytes = Encoded(picture, format); !bytes.isEmpty())
            write(name + "." + format, bytes);
    write(name + ".svg", QuartersSvg(size));
    write(name + ".svgz", Gzipped(QuartersSvg(size)));
    write(name + ".heic", HeifEncoded(Quarters(heifSize), "heic"));
    write(name + ".avif", HeifEncoded(Quarters(heifSize), "avif"));
}

void WriteE2e(const TWrite& write)
{
    const QSize size(6000, 6000);
    const std::pair<QString, QString> kinds[] = {{"jpeg", "jpg"}, {"progressive", "progressive.jpg"}, {"png", "png"},
                                                 {"gif", "gif"},  {"rle", "rle.bmp"},                {"pbm", "pbm"},
                                                 {"xbm", "xbm"}};
    for (const auto& [kind, extension] : kinds) {
        write("flat." + extension, FlatPicture(kind, size));
        write("short." + extension, ShortPicture(kind, size));
    }
    write("scans.jpg", WithScans(FlatPicture("progressive", size), 3000));
}

void WriteFormatsE2e(const TWrite& write, const QDir& folder)
{
    WriteFormats(write, "quarters", QSize(640, 480), QSize(640, 480));
    WriteFormats(write, "large", QSize(4000, 3000), QSize(2000, 1500));
    write("bomb.heic", HeifGrid(100000));
    write("bomb.tiff", TiffPicture(Quarters(QSize(64, 48)), 0, 10000));
    write("strip.tiff", TiffPicture(Quarters(QSize(64, 48)), 0, 1, QSize(65536, 65536)));
    write("bomb.svgz", Gzipped("<svg xmlns='http://www.w3.org/2000/svg' width='9' height='9'><!--" + QByteArray(256 << 20, ' ') + "--></svg>"));
    // A phone's 8000 x 6000 photo taken upright: stored on its side, with orientation 6.
    WriteLargeJpeg(folder.filePath("phone-48mp.jpg"), QSize(8000, 6000), 6);
    WriteLargeJpeg(folder.filePath("photo-108mp.jpg"), QSize(12000, 9000), 0);
}

void WriteSeeds(const TWrite& write)
{
    const QSize size(64, 48);
    WriteFormats(write, "quarters", size, size);
    for (const QString& kind : TestPictureKinds()) {
        write("flat." + kind, FlatPicture(kind, size));
        write("short." + kind, ShortPicture(kind, QSize(640, 480)));
    }
    const QImage picture = Quarters(size);
    write("turned.jpg", JpegWithOrientation(Encoded(AsStoredFor(picture, 6), "jpeg"), 6));
    write("turned.tiff", TiffPicture(AsStoredFor(picture, 5), 5, 3));
    write("turned.webp", WebpWithMetadata(Encoded(AsStoredFor(picture, 8), "webp"), 8, QByteArray(200, 'x')));
    write("turned.heic", HeifEncoded(picture, "heic", 12, 7));
    write("tiled.tiff", TiffPicture(picture, 0, 1, {}, QSize(16, 16)));
    write("animated.webp", AnimatedWebp({Encoded(picture, "webp"), Encoded(picture.mirrored(), "webp")}, size));
    write("grid.heic", HeifGrid(4));
    write("scans.jpg", WithScans(FlatPicture("progressive", size), 8));
    write("embedded.svg", "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' width='20' height='20'>"
                          "<defs><linearGradient id='g'><stop offset='0' stop-color='red'/></linearGradient></defs>"
                          "<image width='20' height='20' xlink:href='data:image/png;base64," + Encoded(picture, "png").toBase64()
                          + "'/><use xlink:href='#r'/><rect id='r' width='5' height='5' fill='url(#g)'/><text x='2' y='9'>Mozik</text></svg>");
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);  // for Qt's image plugins and painting
    const QStringList arguments = QGuiApplication::arguments().mid(1);
    if (arguments.size() != 1 && !(arguments.size() == 2 && (arguments[0] == "--formats" || arguments[0] == "--seeds"))) {
        std::fprintf(stderr, "Usage: mozik-test-pictures [--formats | --seeds] FOLDER\n");
        return 2;
    }
    const QDir folder(arguments.last());
    const TWrite write = [&folder](const QString& name, const QByteArray& bytes) {
        QFile file(folder.filePath(name));
        if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "Cannot write %s\n", qPrintable(file.fileName()));
            std::exit(1);
        }
    };
    if (arguments[0] == "--formats")
        WriteFormatsE2e(write, folder);
    else if (arguments[0] == "--seeds")
        WriteSeeds(write);
    else
        WriteE2e(write);
    return 0;
}

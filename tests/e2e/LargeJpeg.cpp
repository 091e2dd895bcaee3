#include "tests/e2e/LargeJpeg.h"

#include "tests/support/TestPictures.h"

#include <QFile>
#include <cstdio>
#include <jpeglib.h>
#include <vector>

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

#include "tests/support/TestPictures.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QImageWriter>
#include <QtEndian>
#include <algorithm>
#include <initializer_list>

namespace {

const QSize kShortData(16, 16);
const QColor kFlatColour(40, 90, 160);

// The numbers in `size` bytes each, the least significant first.
void Le(QByteArray& bytes, int size, std::initializer_list<qint64> values)
{
    for (const qint64 value : values)
        for (int i = 0; i < size; ++i)
            bytes += char((value >> (8 * i)) & 0xFF);
}

QByteArray Written(QSize size, const char* format, bool progressive = false)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(kFlatColour);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setOptimizedWrite(true);
    writer.setProgressiveScanWrite(progressive);
    if (qstrcmp(format, "png") == 0)
        writer.setQuality(0);  // deflate's best level
    writer.write(image);
    return buffer.data();
}

// The JPEG with the size in its frame header changed.
QByteArray WithJpegSize(QByteArray jpeg, QSize size)
{
    for (qsizetype pos = 2; pos + 9 <= jpeg.size(); pos += 2 + qFromBigEndian<quint16>(jpeg.constData() + pos + 2)) {
        const uchar marker = uchar(jpeg[pos + 1]);
        if (marker == 0xC0 || marker == 0xC2) {
            qToBigEndian<quint16>(quint16(size.height()), jpeg.data() + pos + 5);
            qToBigEndian<quint16>(quint16(size.width()), jpeg.data() + pos + 7);
            break;
        }
    }
    return jpeg;
}

// LZW codes for `pixels` pixels of colour 0, the table kept once it is full (GIF allows it), so
// that late codes stand for the longest runs. The table's strings are then runs of 2, 3, ...
QByteArray FlatLzw(qint64 pixels)
{
    constexpr int clear = 4, end = 5, first = 6, tableSize = 4096;
    QByteArray codes;
    quint32 bits = 0;
    int bitCount = 0, codeSize = 3, next = first;
    auto put = [&](int code) {
        bits |= quint32(code) << bitCount;
        for (bitCount += codeSize; bitCount >= 8; bitCount -= 8, bits >>= 8)
            codes += char(bits & 0xFF);
    };
    put(clear);
    for (qint64 left = pixels; left > 0;) {
        const qint64 run = std::min<qint64>(left, next - first + 1);
        put(run == 1 ? 0 : first + int(run) - 2);
        left -= run;
        if (left > 0 && next < tableSize && ++next > (1 << codeSize) && codeSize < 12)
            ++codeSize;
    }
    put(end);
    if (bitCount > 0)
        codes += char(bits & 0xFF);
    return codes;
}

QByteArray Gif(QSize size, qint64 pixels)
{
    QByteArray gif("GIF89a");
    Le(gif, 2, {size.width(), size.height()});
    gif += QByteArray("\x81\0\0", 3);  // a table of four colours
    gif += QByteArray(1, char(kFlatColour.red())) + char(kFlatColour.green()) + char(kFlatColour.blue()) + QByteArray(9, 0);
    gif += '\x2C';
    Le(gif, 2, {0, 0, size.width(), size.height()});
    gif += QByteArray("\0\2", 2);  // no own colours; codes of two bits and up
    const QByteArray codes = FlatLzw(pixels);
    for (qsizetype pos = 0; pos < codes.size(); pos += 255)
        gif += char(std::min<qsizetype>(255, codes.size() - pos)) + codes.mid(pos, 255);
    return gif + QByteArray("\0\x3B", 2);
}

// An 8-bit run-length bitmap of `size` whose first `rows` rows of `width` pixels are painted.
QByteArray RleBitmap(QSize size, int rows, int width)
{
    QByteArray runs;
    for (int row = 0; row < rows; ++row) {
        for (int left = width; left > 0; left -= 255)
            runs += char(std::min(left, 255)) + QByteArray(1, 0);
        runs += row + 1 < rows ? QByteArray(2, 0) : QByteArray("\0\1", 2);  // end of the row, of the picture
    }
    constexpr int headers = 14 + 40, palette = 2 * 4;
    QByteArray bitmap("BM");
    Le(bitmap, 4, {headers + palette + runs.size(), 0, headers + palette, 40, size.width(), size.height()});
    Le(bitmap, 2, {1, 8});
    Le(bitmap, 4, {1, runs.size(), 2835, 2835, 2, 0});  // RLE8, two colours
    bitmap += QByteArray(1, char(kFlatColour.blue())) + char(kFlatColour.green()) + char(kFlatColour.red()) + QByteArray(5, 0);
    return bitmap + runs;
}

quint32 Crc32(QByteArrayView bytes)
{
    quint32 crc = 0xFFFFFFFF;
    for (const char byte : bytes) {
        crc ^= uchar(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320 : crc >> 1;
    }
    return ~crc;
}

// The PNG with the size in its header changed, and the header's check sum with it.
QByteArray WithPngSize(QByteArray png, QSize size)
{
    constexpr int header = 8 + 4, width = header + 4, end = width + 13;
    qToBigEndian<quint32>(quint32(size.width()), png.data() + width);
    qToBigEndian<quint32>(quint32(size.height()), png.data() + width + 4);
    qToBigEndian<quint32>(Crc32(QByteArrayView(png).sliced(header, end - header)), png.data() + end);
    return png;
}

} // namespace

QStringList TestPictureKinds()
{
    return {"jpeg", "progressive", "png", "gif", "rle", "bmp", "pbm", "xbm", "xpm"};
}

QByteArray FlatPicture(const QString& kind, QSize size)
{
    const qint64 pixels = qint64(size.width()) * size.height();
    if (kind == "gif")
        return Gif(size, pixels);
    if (kind == "rle")
        return RleBitmap(size, size.height(), size.width());
    if (kind == "progressive")
        return Written(size, "jpeg", true);
    return Written(size, kind.toLatin1().constData());
}

QByteArray ShortPicture(const QString& kind, QSize size)
{
    const QByteArray width = QByteArray::number(size.width()), height = QByteArray::number(size.height());
    const int pixels = kShortData.width() * kShortData.height();
    if (kind == "jpeg" || kind == "progressive")
        return WithJpegSize(FlatPicture(kind, kShortData), size);
    if (kind == "png")
        return WithPngSize(FlatPicture(kind, kShortData), size);
    if (kind == "gif")
        return Gif(size, pixels);
    if (kind == "rle")
        return RleBitmap(size, kShortData.height(), kShortData.width());
    if (kind == "bmp") {
        QByteArray bitmap = FlatPicture(kind, kShortData);
        qToLittleEndian<qint32>(size.width(), bitmap.data() + 18);
        qToLittleEndian<qint32>(size.height(), bitmap.data() + 22);
        return bitmap;
    }
    if (kind == "pbm")
        return "P4\n" + width + ' ' + height + '\n' + QByteArray(pixels / 8, 0);
    if (kind == "xbm")
        return "#define short_width " + width + "\n#define short_height " + height + "\nstatic char short_bits[] = {\n" +
               QByteArray("0x00,").repeated(pixels / 8) + "};\n";
    if (kind == "xpm")
        return "/* XPM */\nstatic char *short[] = {\n\"" + width + ' ' + height + " 1 1\",\n\"a c #285AA0\",\n" +
               ('"' + QByteArray(kShortData.width(), 'a') + "\",\n").repeated(kShortData.height()) + "};\n";
    return {};
}

QByteArray WithScans(const QByteArray& jpeg, int scans)
{
    const qsizetype last = jpeg.lastIndexOf("\xFF\xDA"), end = jpeg.lastIndexOf("\xFF\xD9");
    return jpeg.left(end) + jpeg.sliced(last, end - last).repeated(scans - int(jpeg.count("\xFF\xDA"))) + jpeg.sliced(end);
}

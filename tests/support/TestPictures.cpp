#include "tests/support/TestPictures.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QImageWriter>
#include <QtEndian>
#include <algorithm>

namespace {

const QSize kShortData(16, 16);
const QColor kFlatColour(40, 90, 160);

// The number in `size` bytes, the least significant first or last.
void AppendNumber(QByteArray& bytes, qint64 value, int size, bool bigEndian)
{
    for (int i = 0; i < size; ++i)
        bytes += char((value >> (8 * (bigEndian ? size - 1 - i : i))) & 0xFF);
}

void Le16(QByteArray& bytes, qint64 value)
{
    AppendNumber(bytes, value, 2, false);
}

void Le32(QByteArray& bytes, qint64 value)
{
    AppendNumber(bytes, value, 4, false);
}

void Be16(QByteArray& bytes, qint64 value)
{
    AppendNumber(bytes, value, 2, true);
}

void Be32(QByteArray& bytes, qint64 value)
{
    AppendNumber(bytes, value, 4, true);
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
    Le16(gif, size.width());
    Le16(gif, size.height());
    gif += QByteArray("\x81\0\0", 3);  // a table of four colours
    gif += QByteArray(1, char(kFlatColour.red())) + char(kFlatColour.green()) + char(kFlatColour.blue()) + QByteArray(9, 0);
    gif += '\x2C';
    Le32(gif, 0);
    Le16(gif, size.width());
    Le16(gif, size.height());
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
    Le32(bitmap, headers + palette + runs.size());
    Le32(bitmap, 0);
    Le32(bitmap, headers + palette);
    for (const qint64 field : {40, size.width(), size.height()})
        Le32(bitmap, field);
    Le16(bitmap, 1);
    Le16(bitmap, 8);
    for (const qint64 field : {1LL, qint64(runs.size()), 2835LL, 2835LL, 2LL, 0LL})  // RLE8, two colours
        Le32(bitmap, field);
    bitmap += QByteArray(1, char(kFlatColour.blue())) + char(kFlatColour.green()) + char(kFlatColour.red()) + QByteArray(5, 0);
    return bitmap + runs;
}

quint32 Crc32(const QByteArray& bytes)
{
    quint32 crc = 0xFFFFFFFF;
    for (const char byte : bytes) {
        crc ^= uchar(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320 : crc >> 1;
    }
    return ~crc;
}

} // namespace

QByteArray PngChunk(const char* type, const QByteArray& data)
{
    const QByteArray body = QByteArray(type) + data;
    QByteArray chunk;
    Be32(chunk, data.size());
    chunk += body;
    Be32(chunk, Crc32(body));
    return chunk;
}

namespace {

// A PNG of `size` in 8-bit colour whose data holds `rows` rows.
QByteArray Png(QSize size, int rows)
{
    QByteArray header;
    Be32(header, size.width());
    Be32(header, size.height());
    header += QByteArray("\x08\x02\0\0\0", 5);
    const QByteArray raw(qsizetype(rows) * (1 + 3 * size.width()), 0);
    return QByteArray("\x89PNG\r\n\x1A\n") + PngChunk("IHDR", header) + PngChunk("IDAT", qCompress(raw, 9).mid(4)) + PngChunk("IEND", {});
}

// Bits of a JPEG scan, most significant first, a 0xFF byte followed by a stuffed 0.
class TScanBits {
public:
    void Put(quint32 value, int count)
    {
        for (int bit = count - 1; bit >= 0; --bit) {
            byte_ = (byte_ << 1) | ((value >> bit) & 1);
            if (++filled_ == 8)
                Flush();
        }
    }
    QByteArray Done()
    {
        while (filled_ != 0)
            Put(1, 1);
        return std::move(bytes_);
    }

private:
    void Flush()
    {
        bytes_ += char(byte_);
        if (byte_ == 0xFF)
            bytes_ += '\0';
        byte_ = 0;
        filled_ = 0;
    }
    QByteArray bytes_;
    quint32 byte_ = 0;
    int filled_ = 0;
};

QByteArray JpegSegment(uchar marker, const QByteArray& body)
{
    QByteArray segment("\xFF");
    segment += char(marker);
    Be16(segment, int(body.size()) + 2);
    return segment + body;
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
        return Png(size, kShortData.height());
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

QByteArray ScansJpeg(QSize size, int scans)
{
    QByteArray jpeg("\xFF\xD8");
    jpeg += JpegSegment(0xDB, QByteArray(1, 0) + QByteArray(64, 1));  // quantisation table 0, all ones
    QByteArray frame(1, 8);
    Be16(frame, size.height());
    Be16(frame, size.width());
    frame += QByteArray("\x01\x01\x11\x00", 4);  // one component, 1 x 1 sampling, table 0
    jpeg += JpegSegment(0xC2, frame);
    // DC: one code of one bit, for a difference of 0. AC: fifteen codes of four bits, for the
    // runs of 2^n empty blocks (EOBn).
    QByteArray dc = QByteArray(1, 0x00) + QByteArray(1, 1) + QByteArray(15, 0) + QByteArray(1, 0);
    QByteArray ac = QByteArray(1, 0x10) + QByteArray(3, 0) + QByteArray(1, 15) + QByteArray(12, 0);
    for (int run = 0; run < 15; ++run)
        ac += char(run << 4);
    jpeg += JpegSegment(0xC4, dc + ac);
    const qint64 blocks = qint64((size.width() + 7) / 8) * ((size.height() + 7) / 8);
    for (int scan = 0; scan < scans; ++scan) {
        // Scan 0 is the DC scan; then each coefficient k in turn gets its first AC scan, with a
        // point transform of one bit, and then, after all of them, its refinement.
        const int band = std::min(scan, 2 * 63) - 1;
        const int coefficient = band < 0 ? 0 : band % 63 + 1;
        const bool refinement = band >= 63;
        QByteArray header("\x01\x01\x00", 3);  // component 1 with Huffman tables 0
        header += char(coefficient);
        header += char(coefficient);
        header += char(band < 0 ? 0x00 : refinement ? 0x10 : 0x01);
        jpeg += JpegSegment(0xDA, header);
        TScanBits bits;
        if (band < 0) {
            for (qint64 block = 0; block < blocks; ++block)
                bits.Put(0, 1);
        } else {
            for (qint64 left = blocks; left > 0;) {  // runs of empty blocks, 32767 at most
                const qint64 run = std::min<qint64>(left, 32767);
                int n = 0;
                while ((2LL << n) <= run)
                    ++n;
                bits.Put(quint32(n), 4);
                bits.Put(quint32(run - (1LL << n)), n);
                left -= run;
            }
        }
        jpeg += bits.Done();
    }
    return jpeg + "\xFF\xD9";
}

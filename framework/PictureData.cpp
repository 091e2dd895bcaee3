#include "framework/PictureData.h"

#include <QCoreApplication>
#include <QtEndian>
#include <algorithm>
#include <cctype>
#include <cstring>
#include <optional>
#include <vector>

namespace {

// The context of the texts of refused pictures in the translations.
struct PictureFile {
    Q_DECLARE_TR_FUNCTIONS(PictureFile)
};

TPictureDataCheck Refused(const QString& problem)
{
    return {problem, 0};
}

TPictureDataCheck CutShort(QSize size)
{
    return Refused(PictureFile::tr("Файл рисунка обрезан: его данных не хватает на рисунок %1 x %2 точек.")
                       .arg(size.width())
                       .arg(size.height()));
}

qint64 CeilDiv(qint64 value, qint64 by)
{
    return (value + by - 1) / by;
}

// The bytes of a file with bounds-checked reading of its numbers.
struct TBytes {
    explicit TBytes(QByteArrayView data) : at(reinterpret_cast<const uchar*>(data.data())), size(data.size()) {}
    bool Has(qint64 pos, qint64 count) const { return pos >= 0 && count >= 0 && pos <= size - count; }
    quint16 Le16(qint64 pos) const { return qFromLittleEndian<quint16>(at + pos); }
    quint32 Le32(qint64 pos) const { return qFromLittleEndian<quint32>(at + pos); }
    quint16 Be16(qint64 pos) const { return qFromBigEndian<quint16>(at + pos); }
    quint32 Be32(qint64 pos) const { return qFromBigEndian<quint32>(at + pos); }

    const uchar* at;
    qint64 size;
};

// A Windows bitmap: plain rows must all be there; a run-length picture needs at least two bytes
// for every 255 pixels, the most one run paints; and no less than the header says it stores.
TPictureDataCheck CheckBitmap(TBytes file, QSize size)
{
    if (!file.Has(0, 26) || file.at[0] != 'B' || file.at[1] != 'M')
        return Refused(PictureFile::tr("Это не точечный рисунок BMP."));
    const qint64 dataOffset = file.Le32(10);
    const quint32 infoSize = file.Le32(14);
    qint64 bitCount = 0, compression = 0, imageSize = 0;
    if (infoSize == 12) {
        bitCount = file.Le16(24);
    } else if (infoSize >= 40 && file.Has(0, 54)) {
        bitCount = file.Le16(28);
        compression = file.Le32(30);
        imageSize = file.Le32(34);
    } else {
        return Refused(PictureFile::tr("Заголовок рисунка BMP повреждён."));
    }
    const qint64 pixels = qint64(size.width()) * size.height();
    qint64 needed = std::max<qint64>(imageSize, 1);
    if (compression == 0 || compression == 3 || compression == 6)  // plain rows, bit fields
        needed = CeilDiv(size.width() * bitCount, 32) * 4 * size.height();
    else if (compression == 1 || compression == 2)  // RLE8, RLE4
        needed = std::max(needed, 2 * CeilDiv(pixels, 255));
    return file.size - dataOffset < needed ? CutShort(size) : TPictureDataCheck{};
}

// A pixel map (PBM, PGM, PPM): its header, then exactly so many samples, in binary or as text.
TPictureDataCheck CheckPixmap(TBytes file, QSize size)
{
    if (!file.Has(0, 2) || file.at[0] != 'P' || file.at[1] < '1' || file.at[1] > '6')
        return {};
    const int kind = file.at[1] - '0';
    const bool bitmap = kind == 1 || kind == 4;
    qint64 pos = 2, maxValue = 1;
    for (int field = 0; field < (bitmap ? 2 : 3); ++field) {
        while (pos < file.size && (std::isspace(file.at[pos]) || file.at[pos] == '#')) {
            if (file.at[pos] == '#')
                while (pos < file.size && file.at[pos] != '\n')
                    ++pos;
            ++pos;
        }
        qint64 value = 0;
        for (; pos < file.size && std::isdigit(file.at[pos]); ++pos)
            value = std::min<qint64>(value * 10 + (file.at[pos] - '0'), 1 << 30);
        if (field == 2)
            maxValue = value;
    }
    ++pos;  // one white-space character ends the header
    const qint64 pixels = qint64(size.width()) * size.height();
    const qint64 sampleBytes = maxValue > 255 ? 2 : 1;
    // As text, a pixel of a bitmap takes a digit; a sample of a grey or colour map a digit and a
    // separator.
    const qint64 needed[] = {0,
                             pixels,
                             2 * pixels - 1,
                             2 * 3 * pixels - 1,
                             CeilDiv(size.width(), 8) * size.height(),
                             pixels * sampleBytes,
                             3 * pixels * sampleBytes};
    return file.size - pos < needed[kind] ? CutShort(size) : TPictureDataCheck{};
}

// An X bitmap is C source: a closed array with a "0x.." value for every 8 pixels of each row.
TPictureDataCheck CheckXBitmap(QByteArrayView data, QSize size)
{
    const qsizetype open = data.indexOf('{');
    const qsizetype close = open < 0 ? -1 : data.indexOf('}', open);
    if (close < 0)
        return CutShort(size);
    qint64 values = 0;
    for (qsizetype i = open; i + 1 < close; ++i)
        values += data[i] == '0' && (data[i + 1] == 'x' || data[i + 1] == 'X');
    return values < CeilDiv(size.width(), 8) * size.height() ? CutShort(size) : TPictureDataCheck{};
}

// An X pixmap is C source too: after the string of its values, one quoted string of `width`
// times the characters per pixel for each row.
TPictureDataCheck CheckXPixmap(QByteArrayView data, QSize size)
{
    const qsizetype open = data.indexOf('{');
    const qsizetype quote = open < 0 ? -1 : data.indexOf('"', open);
    const qsizetype end = quote < 0 ? -1 : data.indexOf('"', quote + 1);
    if (end < 0)
        return CutShort(size);
    const QList<QByteArray> values = data.sliced(quote + 1, end - quote - 1).toByteArray().simplified().split(' ');
    const qint64 charsPerPixel = values.size() >= 4 ? std::clamp(values[3].toLongLong(), 1LL, 16LL) : 1;
    const qint64 needed = size.height() * (size.width() * charsPerPixel + 2);
    return data.size() - end - 1 < needed ? CutShort(size) : TPictureDataCheck{};
}

// A GIF file: the blocks up to the end of its first picture's data must all be there, and that
// data must be able to fill the picture. An LZW code stands for at most 4096 pixels, and from
// 2048 table entries on it takes 12 bits: no code gives more than 4096 pixels for 12 bits.
TPictureDataCheck CheckGif(TBytes file, QSize size)
{
    if (!file.Has(0, 13) || std::memcmp(file.at, "GIF", 3) != 0)
        return Refused(PictureFile::tr("Это не рисунок GIF."));
    auto colourTable = [](uchar packed) { return packed & 0x80 ? 3 * (2 << (packed & 7)) : 0; };
    // Data sub-blocks: a length byte, that many bytes, until a length of 0; their total length.
    auto skipBlocks = [&](qint64& pos) -> qint64 {
        qint64 total = 0;
        while (pos < file.size && file.at[pos] != 0) {
            total += file.at[pos];
            pos += 1 + file.at[pos];
        }
        return ++pos <= file.size ? total : -1;
    };
    qint64 pos = 13 + colourTable(file.at[10]);
    while (pos < file.size) {
        switch (file.at[pos]) {
        case 0x21:  // an extension: its label, then its sub-blocks
            pos += 2;
            if (skipBlocks(pos) < 0)
                return CutShort(size);
            break;
        case 0x2C: {  // a picture: its descriptor, colour table, code size and data
            if (!file.Has(pos, 10))
                return CutShort(size);
            pos += 10 + colourTable(file.at[pos + 9]) + 1;
            const qint64 coded = pos <= file.size ? skipBlocks(pos) : -1;
            const qint64 pixels = qint64(size.width()) * size.height();
            return coded < 0 || coded * 8 * 4096 < pixels * 12 ? CutShort(size) : TPictureDataCheck{};
        }
        case 0x3B:
            return Refused(PictureFile::tr("В файле GIF нет рисунка."));
        default:
            return Refused(PictureFile::tr("Рисунок GIF повреждён."));
        }
    }
    return CutShort(size);
}

// A PNG file: its chunks must all be there, and its compressed data must be able to fill every
// row. Deflate expands at most 1032 times: a 258-byte copy coded in two bits.
TPictureDataCheck CheckPng(TBytes file, QSize size)
{
    constexpr qint64 signature = 8, chunkFrame = 12, deflateMostExpansion = 1032;
    int bitsPerPixel = 0;
    qint64 compressed = 0;
    for (qint64 pos = signature; pos < file.size;) {
        const qint64 length = file.Has(pos, chunkFrame) ? file.Be32(pos) : 0;
        if (!file.Has(pos, chunkFrame + length))
            return CutShort(size);
        const QByteArrayView type(reinterpret_cast<const char*>(file.at + pos + 4), 4);
        if (type == "IHDR" && length >= 13) {
            const int channels[] = {1, 0, 3, 1, 2, 0, 4};
            const int colourType = file.at[pos + 8 + 9];
            bitsPerPixel = file.at[pos + 8 + 8] * (colourType <= 6 ? channels[colourType] : 0);
        } else if (type == "IDAT") {
            compressed += length;
        } else if (type == "IEND") {
            break;
        }
        pos += chunkFrame + length;
    }
    const qint64 rows = size.height() * (1 + CeilDiv(size.width() * bitsPerPixel, 8));  // each with its filter byte
    return compressed * deflateMostExpansion < rows ? CutShort(size) : TPictureDataCheck{};
}

// A JPEG file: its segments up to the end marker must all be there, with no more than
// kMaxJpegScans scans. Huffman coding takes at least one bit for each block of 8 x 8 samples of a
// progressive picture's first DC scan, and two (its DC and its first AC code) in a sequential
// one. Arithmetic coding needs next to nothing for a flat picture, and its decoder reads zeros
// where the data ends, so nothing tells a file cut short: such files are not read.
struct TJpegComponent {
    int id, across, down;
    bool scanned = false;  // a scan has brought its first coefficients
};

// What a JPEG file's segments tell: its frame, its scans, and how many bytes of coded data they
// hold.
struct TJpegOutline {
    std::vector<TJpegComponent> components;
    qint64 width = 0, height = 0, coded = 0;
    bool progressive = false, arithmetic = false, lossless = false, ended = false;
    int scans = 0;
};

// Takes a frame header; false when it is damaged.
bool ReadJpegFrame(TJpegOutline& outline, uchar marker, const uchar* segment, qint64 length)
{
    const int count = length >= 8 ? segment[5] : 0;
    if (count == 0 || length < 8 + 3 * count)
        return false;
    outline.height = qFromBigEndian<quint16>(segment + 1);
    outline.width = qFromBigEndian<quint16>(segment + 3);
    outline.progressive = (marker & 3) == 2;
    outline.lossless = (marker & 3) == 3;
    outline.arithmetic = marker >= 0xC9;
    outline.components.clear();
    for (int i = 0; i < count; ++i)
        outline.components.push_back({segment[6 + 3 * i], segment[7 + 3 * i] >> 4, segment[7 + 3 * i] & 15});
    return true;
}

// Takes a scan header; false when it is damaged.
bool ReadJpegScan(TJpegOutline& outline, const uchar* segment, qint64 length)
{
    const int count = length >= 3 ? segment[0] : 0;
    if (count == 0 || length < 6 + 2 * count)
        return false;
    const bool firstDc = segment[1 + 2 * count] == 0;  // its spectral selection starts at 0
    for (int i = 0; i < count; ++i)
        for (TJpegComponent& component : outline.components)
            component.scanned = component.scanned || (component.id == segment[1 + 2 * i] && (firstDc || !outline.progressive));
    return true;
}

// Where the coded data from `pos` on ends: at the next marker that is not a restart or a
// stuffed 0xFF.
qint64 JpegCodedDataEnd(TBytes file, qint64 pos)
{
    while (pos < file.size) {
        const void* mark = std::memchr(file.at + pos, 0xFF, file.size - pos);
        pos = mark ? static_cast<const uchar*>(mark) - file.at : file.size;
        if (!file.Has(pos, 2))
            return file.size;
        if (file.at[pos + 1] != 0x00 && (file.at[pos + 1] < 0xD0 || file.at[pos + 1] > 0xD7))
            return pos;
        pos += 2;
    }
    return pos;
}

// Walks the segments up to the end marker, or as far as the file goes; a refusal when they are
// damaged or too many scans come.
std::optional<TPictureDataCheck> ReadJpegOutline(TBytes file, TJpegOutline& outline)
{
    const TPictureDataCheck damaged = Refused(PictureFile::tr("Рисунок JPEG повреждён."));
    for (qint64 pos = 2; pos < file.size && !outline.ended;) {
        if (file.at[pos] != 0xFF)
            return damaged;
        while (pos < file.size && file.at[pos] == 0xFF)  // fill bytes
            ++pos;
        if (pos == file.size)
            break;
        const uchar marker = file.at[pos++];
        outline.ended = marker == 0xD9;
        if (outline.ended || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))  // no length
            continue;
        if (!file.Has(pos, 2) || file.Be16(pos) < 2 || !file.Has(pos, file.Be16(pos)))
            break;  // cut in a segment
        const qint64 length = file.Be16(pos);
        const uchar* segment = file.at + pos + 2;
        pos += length;
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame && !ReadJpegFrame(outline, marker, segment, length))
            return damaged;
        if (marker != 0xDA)
            continue;
        if (++outline.scans > kMaxJpegScans)
            return Refused(PictureFile::tr("Рисунок JPEG разбит больше чем на %1 проходов: его чтение заняло бы слишком много времени.")
                               .arg(kMaxJpegScans));
        if (!ReadJpegScan(outline, segment, length))
            return damaged;
        const qint64 codedEnd = JpegCodedDataEnd(file, pos);
        outline.coded += codedEnd - pos;
        pos = codedEnd;
    }
    return std::nullopt;
}

TPictureDataCheck CheckJpeg(TBytes file, QSize size)
{
    const QString damaged = PictureFile::tr("Рисунок JPEG повреждён.");
    if (!file.Has(0, 4) || file.at[0] != 0xFF || file.at[1] != 0xD8)
        return Refused(PictureFile::tr("Это не рисунок JPEG."));
    TJpegOutline jpeg;
    if (std::optional<TPictureDataCheck> refused = ReadJpegOutline(file, jpeg))
        return *refused;
    if (!jpeg.ended)
        return CutShort(size);
    if (jpeg.components.empty() || jpeg.width == 0 || jpeg.height == 0)
        return Refused(damaged);
    if (jpeg.arithmetic)
        return Refused(PictureFile::tr("Рисунки JPEG с арифметическим кодированием не открываются."));
    if (jpeg.lossless)
        return {};  // no blocks; left to the reader
    int mostAcross = 1, mostDown = 1;
    for (const TJpegComponent& component : jpeg.components) {
        if (component.across < 1 || component.across > 4 || component.down < 1 || component.down > 4)
            return Refused(damaged);
        mostAcross = std::max(mostAcross, component.across);
        mostDown = std::max(mostDown, component.down);
    }
    qint64 blocks = 0, bufferedBlocks = 0;
    for (const TJpegComponent& component : jpeg.components) {
        if (!component.scanned)
            return CutShort(size);
        blocks += CeilDiv(CeilDiv(jpeg.width * component.across, mostAcross), 8) * CeilDiv(CeilDiv(jpeg.height * component.down, mostDown), 8);
        bufferedBlocks += CeilDiv(jpeg.width, 8 * mostAcross) * component.across * CeilDiv(jpeg.height, 8 * mostDown) * component.down;
    }
    if (jpeg.coded * 8 < blocks * (jpeg.progressive ? 1 : 2))
        return CutShort(size);
    // A picture in several scans is decoded through a buffer of every block's 64 coefficients.
    constexpr qint64 blockCoefficientBytes = 64 * 2;
    return {QString(), jpeg.progressive || jpeg.scans > 1 ? bufferedBlocks * blockCoefficientBytes : 0};
}

} // namespace

TPictureDataCheck CheckPictureData(const QByteArray& format, QByteArrayView data, QSize size)
{
    const QByteArray name = format.toLower();
    const TBytes file(data);
    if (name == "bmp" || name == "dib")
        return CheckBitmap(file, size);
    if (name == "pbm" || name == "pgm" || name == "ppm")
        return CheckPixmap(file, size);
    if (name == "xbm")
        return CheckXBitmap(data, size);
    if (name == "xpm")
        return CheckXPixmap(data, size);
    if (name == "gif")
        return CheckGif(file, size);
    if (name == "png")
        return CheckPng(file, size);
    if (name == "jpeg" || name == "jpg")
        return CheckJpeg(file, size);
    return {};
}

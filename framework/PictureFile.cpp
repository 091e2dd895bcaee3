#include "framework/PictureFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QtEndian>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString Tr(const char* text)
{
    return QCoreApplication::translate("PictureFile", text);
}

bool Fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

// File name patterns of the formats that have other names than their own; other formats are
// found by their name.
const std::map<QString, QStringList>& KnownPatterns()
{
    static const std::map<QString, QStringList> patterns{
        {"jpeg", {"*.jpg", "*.jpeg"}}, {"tiff", {"*.tif", "*.tiff"}}, {"svg", {"*.svg", "*.svgz"}},
    };
    return patterns;
}

QString CanonicalFormat(const QByteArray& format)
{
    const QString name = QString::fromLatin1(format).toLower();
    if (name == QLatin1String("jpg"))
        return QStringLiteral("jpeg");
    if (name == QLatin1String("tif"))
        return QStringLiteral("tiff");
    if (name == QLatin1String("svgz"))
        return QStringLiteral("svg");
    return name;
}

// A Windows bitmap: the headers must promise no more pixel data than the file holds.
bool BitmapComplete(QByteArrayView data, QString* error)
{
    const auto* head = reinterpret_cast<const uchar*>(data.data());
    const qint64 size = data.size();
    auto u16 = [&](int at) { return qFromLittleEndian<quint16>(head + at); };
    auto u32 = [&](int at) { return qFromLittleEndian<quint32>(head + at); };
    auto s32 = [&](int at) { return qFromLittleEndian<qint32>(head + at); };
    if (size < 26 || head[0] != 'B' || head[1] != 'M')
        return Fail(error, Tr("Это не точечный рисунок BMP."));
    const qint64 dataOffset = u32(10);
    const quint32 infoSize = u32(14);
    qint64 width = 0, height = 0, bitCount = 0, compression = 0, imageSize = 0;
    if (infoSize == 12) {
        width = u16(18);
        height = qint16(u16(20));
        bitCount = u16(24);
    } else if (infoSize >= 40 && size >= 54) {
        width = s32(18);
        height = s32(22);
        bitCount = u16(28);
        compression = u32(30);
        imageSize = u32(34);
    } else {
        return Fail(error, Tr("Заголовок рисунка BMP повреждён."));
    }
    height = height < 0 ? -height : height;
    if (width <= 0 || height <= 0)
        return Fail(error, Tr("Размеры рисунка BMP неверны."));
    if (width * height > kMaxPicturePixels)
        return true;  // refused by its size, with its own message
    qint64 needed = dataOffset;
    if (compression == 0 || compression == 3 || compression == 6)  // plain rows, bit fields
        needed += ((width * bitCount + 31) / 32) * 4 * height;
    else
        needed += imageSize > 0 ? imageSize : 1;
    if (size < needed)
        return Fail(error, Tr("Файл рисунка обрезан: в нём не хватает точек."));
    return true;
}

// A JPEG file: its first scan's data must end at a marker; a file cut in the middle of a scan
// has none, and the reader would fill the rest with grey.
bool JpegComplete(QByteArrayView data, QString* error)
{
    const auto* bytes = reinterpret_cast<const uchar*>(data.data());
    const qint64 size = data.size();
    const QString cut = Tr("Файл рисунка обрезан.");
    if (size < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8)
        return Fail(error, Tr("Это не рисунок JPEG."));
    qint64 pos = 2;
    bool inScan = false;
    while (pos + 1 < size) {
        if (bytes[pos] != 0xFF) {
            if (!inScan)
                return Fail(error, Tr("Рисунок JPEG повреждён."));
            ++pos;  // entropy-coded data
            continue;
        }
        const uchar marker = bytes[pos + 1];
        if (marker == 0xFF) {  // fill byte
            ++pos;
            continue;
        }
        if (inScan && (marker == 0x00 || (marker >= 0xD0 && marker <= 0xD7))) {  // stuffed byte, restart
            pos += 2;
            continue;
        }
        if (marker == 0xD9)  // end of image
            return inScan || Fail(error, cut);
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            pos += 2;
            continue;
        }
        if (pos + 4 > size)
            break;
        const qint64 length = qFromBigEndian<quint16>(bytes + pos + 2);
        if (length < 2)
            return Fail(error, Tr("Рисунок JPEG повреждён."));
        pos += 2 + length;
        inScan = inScan || marker == 0xDA;  // from the first scan on, segments come between scans
    }
    return Fail(error, cut);
}

// A GIF file: the blocks up to the end of its first picture's data must all be there.
bool GifComplete(QByteArrayView data, QString* error)
{
    const auto* bytes = reinterpret_cast<const uchar*>(data.data());
    const qint64 size = data.size();
    const QString cut = Tr("Файл рисунка обрезан.");
    if (size < 13 || std::memcmp(bytes, "GIF", 3) != 0)
        return Fail(error, Tr("Это не рисунок GIF."));
    auto colourTable = [](uchar packed) { return packed & 0x80 ? 3 * (2 << (packed & 7)) : 0; };
    // Data sub-blocks: a length byte, that many bytes, until a length of 0.
    auto skipBlocks = [&](qint64& pos) {
        while (pos < size && bytes[pos] != 0)
            pos += 1 + bytes[pos];
        return ++pos <= size;
    };
    qint64 pos = 13 + colourTable(bytes[10]);
    while (pos < size) {
        switch (bytes[pos]) {
        case 0x21:  // an extension: its label, then its sub-blocks
            pos += 2;
            if (!skipBlocks(pos))
                return Fail(error, cut);
            break;
        case 0x2C:  // a picture: its descriptor, colour table, code size and data
            if (pos + 10 > size)
                return Fail(error, cut);
            pos += 10 + colourTable(bytes[pos + 9]) + 1;
            return (pos <= size && skipBlocks(pos)) || Fail(error, cut);
        case 0x3B:
            return Fail(error, Tr("В файле GIF нет рисунка."));
        default:
            return Fail(error, Tr("Рисунок GIF повреждён."));
        }
    }
    return Fail(error, cut);
}

// An X bitmap is C source: the array of its bits must be closed.
bool XbmComplete(QByteArrayView data, QString* error)
{
    const qsizetype open = data.indexOf('{');
    if (open < 0 || data.indexOf('}', open) < 0)
        return Fail(error, Tr("Файл рисунка обрезан."));
    return true;
}

// The picture on white, for pictures with transparent parts: the board has no background.
QImage Opaque(const QImage& image)
{
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    QImage opaque(image.size(), QImage::Format_RGB32);
    opaque.fill(Qt::white);
    QPainter(&opaque).drawImage(0, 0, image);
    return opaque;
}

} // namespace

bool PictureDataComplete(const QByteArray& format, QByteArrayView data, QString* error)
{
    const QString name = CanonicalFormat(format);
    if (name == QLatin1String("bmp"))
        return BitmapComplete(data, error);
    if (name == QLatin1String("jpeg"))
        return JpegComplete(data, error);
    if (name == QLatin1String("gif"))
        return GifComplete(data, error);
    if (name == QLatin1String("xbm"))
        return XbmComplete(data, error);
    return true;
}

QImage ReadPictureFile(const QString& path, QString* error)
{
    return ReadLocalPictureFile(QFile::encodeName(path), error);
}

QImage ReadLocalPictureFile(const QByteArray& localPath, QString* error)
{
    // Opened without waiting on a writer and checked on the open descriptor itself, so that a
    // pipe, a device or a folder is refused and nothing can be swapped in between.
    const int fd = ::open(localPath.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int reason = errno;
        Fail(error, reason == ENOENT ? Tr("Файл не найден.")
                                     : Tr("Файл нельзя открыть для чтения: ") + QString::fromLocal8Bit(std::strerror(reason)));
        return {};
    }
    QFile file;
    file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        Fail(error, Tr("Это не файл."));
        return {};
    }
    if (info.st_size > kMaxPictureFileBytes) {
        Fail(error, Tr("Файл слишком велик для рисунка: в нём больше 256 МБ."));
        return {};
    }
    if (info.st_size == 0) {
        Fail(error, Tr("Файл пуст."));
        return {};
    }
    uchar* mapped = file.map(0, info.st_size);
    if (!mapped) {
        Fail(error, Tr("Файл нельзя прочитать: ") + file.errorString());
        return {};
    }
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), qsizetype(info.st_size));
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);

    QImageReader::setAllocationLimit(256);  // megabytes: room for the largest picture allowed
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format();
    if (format.isEmpty()) {
        Fail(error, Tr("Это не рисунок, или программа не знает его формата."));
        return {};
    }
    if (!PictureDataComplete(format, bytes, error))
        return {};
    // A bitmap stored top down tells a negative height.
    const QSize size(std::abs(reader.size().width()), std::abs(reader.size().height()));
    if (size.isEmpty()) {
        Fail(error, Tr("Размеры рисунка неверны."));
        return {};
    }
    if (qint64(size.width()) * size.height() > kMaxPicturePixels) {
        Fail(error, Tr("Рисунок слишком велик: в нём больше 40 миллионов точек."));
        return {};
    }
    const QImage image = reader.read();
    if (image.isNull() || image.size() != size) {
        Fail(error, Tr("Рисунок повреждён или обрезан (%1).").arg(reader.errorString()));
        return {};
    }
    return Opaque(image);
}

QStringList PictureFormats()
{
    static const QStringList animationsOnly{QStringLiteral("mng")};
    QStringList formats;
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        const QString name = CanonicalFormat(format);
        if (!formats.contains(name) && !animationsOnly.contains(name))
            formats << name;
    }
    formats.sort();
    return formats;
}

QString PicturePatterns(const QString& format)
{
    const auto known = KnownPatterns().find(format);
    return known != KnownPatterns().end() ? known->second.join(QLatin1Char(';')) : QStringLiteral("*.") + format;
}

QString PictureDialogFilter()
{
    const QStringList formats = PictureFormats();
    QStringList all;
    for (const QString& format : formats)
        all << PicturePatterns(format);
    const QString allPatterns = all.join(QLatin1Char(';'));
    QStringList entries{QStringLiteral("Все рисунки ( %1 )").arg(QString(allPatterns).replace(QLatin1Char(';'), QLatin1Char(' '))),
                        allPatterns, QStringLiteral("Точечные рисунки ( *.bmp )"), QStringLiteral("*.bmp")};
    for (const QString& format : formats) {
        if (format == QLatin1String("bmp"))
            continue;
        const QString patterns = PicturePatterns(format);
        entries << QStringLiteral("Рисунки %1 ( %2 )").arg(format.toUpper(), QString(patterns).replace(QLatin1Char(';'), QLatin1Char(' ')))
                << patterns;
    }
    return entries.join(QLatin1Char('|'));
}

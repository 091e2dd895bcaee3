#include "framework/PictureFile.h"
#include "framework/PictureTexts.h"

#include "framework/HeifPicture.h"
#include "framework/PictureData.h"
#include "framework/PictureTags.h"
#include "framework/SvgPicture.h"

#include <QBuffer>
#include <QColorSpace>
#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {


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
        {"heif", {"*.heic", "*.heif"}},
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

bool IsJpeg(const QByteArray& format)
{
    return format == "jpeg" || format == "jpg";
}

std::function<void(const QString&)>& ReadHook()
{
    static std::function<void(const QString&)> hook;
    return hook;
}

// The whole file, read through a descriptor opened without waiting on a writer and checked on
// itself, so that a pipe, a device or a folder is refused and nothing can be swapped in between.
// Bytes, not a mapping: a file that shrinks under a mapping kills the reader.
bool ReadWholeFile(const QByteArray& localPath, QByteArray* bytes, QString* error)
{
    const int fd = ::open(localPath.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int reason = errno;
        return Fail(error, reason == ENOENT ? PictureFile::tr("Файл не найден.")
                                            : PictureFile::tr("Файл нельзя открыть для чтения: ") + qt_error_string(reason));
    }
    const struct TClosing {
        int fd;
        ~TClosing() { ::close(fd); }
    } closing{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        return Fail(error, PictureFile::tr("Это не файл."));
    if (info.st_size > kMaxPictureFileBytes)
        return Fail(error, PictureFile::tr("Файл слишком велик для рисунка: в нём больше %1 МБ.").arg(kMaxPictureFileBytes >> 20));
    if (ReadHook())
        ReadHook()(QFile::decodeName(localPath));
    QByteArray data(qsizetype(info.st_size), Qt::Uninitialized);
    for (qsizetype done = 0; done < data.size();) {
        const ssize_t got = ::read(fd, data.data() + done, size_t(data.size() - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return Fail(error, PictureFile::tr("Файл нельзя прочитать: ") + qt_error_string(errno));
        if (got == 0)
            return Fail(error, PictureFile::tr("Файл стал короче, пока его читали."));
        done += got;
    }
    *bytes = std::move(data);
    return true;
}

QtMessageHandler previousMessageHandler = nullptr;
// The messages of Qt's readers while this thread decodes a picture, or none.
thread_local QStringList* decoderMessages = nullptr;

void KeepDecoderMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (decoderMessages)
        decoderMessages->append(message);
    else if (previousMessageHandler)
        previousMessageHandler(type, context, message);
}

// While alive, keeps what Qt's readers log on this thread instead of printing it: the JPEG reader
// tells there of data that was damaged or missing and that it made up. The handler is set once
// and passes on every other message, so that readers on several threads do not undo each other.
class TDecoderMessages {
public:
    TDecoderMessages()
    {
        static std::once_flag once;
        std::call_once(once, [] { previousMessageHandler = qInstallMessageHandler(KeepDecoderMessages); });
        decoderMessages = &messages_;
    }
    ~TDecoderMessages() { decoderMessages = nullptr; }
    TDecoderMessages(const TDecoderMessages&) = delete;
    TDecoderMessages& operator=(const TDecoderMessages&) = delete;

    // The first message about damaged or missing data. Bytes skipped between segments and a
    // damaged colour profile leave the pixels whole.
    QString Damage() const
    {
        static const QStringList damage{"corrupt", "premature", "inconsistent", "invalid sos", "not enough", "truncat"};
        static const QStringList harmless{"extraneous bytes", "icc"};
        auto mentions = [](const QString& text, const QStringList& words) {
            return std::any_of(words.begin(), words.end(), [&text](const QString& word) { return text.contains(word, Qt::CaseInsensitive); });
        };
        for (const QString& message : messages_)
            if (mentions(message, damage) && !mentions(message, harmless))
                return message;
        return {};
    }

private:
    QStringList messages_;
};

// The most memory reading takes besides the picture at 4 bytes a pixel: while decoding, the file,
// the decoder's buffers and the picture in the reader's pixel format; then, with the file gone,
// that picture and a copy in 32 bits where the format cannot be changed in place. The format is
// taken as a plain number: a reader that cannot tell before decoding may answer anything, even a
// value that is no format at all.
qint64 WorkBytes(qint64 fileBytes, qint64 decoderBytes, int format, qint64 pixels)
{
    const bool known = format > QImage::Format_Invalid && format < QImage::NImageFormats;
    const int bits = known ? QImage::toPixelFormat(QImage::Format(format)).bitsPerPixel() : 32;
    const qint64 copy = bits < 32 ? 4 * pixels : 0;
    return pixels * bits / 8 + std::max(fileBytes + decoderBytes, copy) - 4 * pixels;
}

// A picture as decoded, and how it must be turned to stand upright.
struct TDecoded {
    QImage Image;
    QImageIOHandler::Transformations Turn = QImageIOHandler::TransformationNone;
};

QString TooManyPixels(qint64 limit)
{
    return PictureFile::tr("Рисунок слишком велик: в нём больше %1 миллионов точек.").arg(limit / 1000000);
}

QString TooMuchMemory()
{
    return PictureFile::tr("Рисунок слишком велик: чтобы его прочитать, нужно слишком много памяти.");
}

// What a raster picture's header promises, checked before anything is decoded: its format, its
// size within the limit, and data that can fill it.
struct THeader {
    QByteArray Format;
    QSize Size;
    TPictureDataCheck Data;
};

std::optional<THeader> ReadHeader(QImageReader& reader, const QByteArray& bytes, qint64 mostPixels, QString* error)
{
    // Vector pictures are read on a way of their own, never by Qt's SVG reader, which would
    // fetch what they refer to even to tell their size.
    const QByteArray format = reader.format();
    if (format.isEmpty() || format.startsWith("svg")) {
        Fail(error, PictureFile::tr("Это не рисунок, или программа не знает его формата."));
        return std::nullopt;
    }
    // A bitmap stored top down tells a negative height.
    const QSize size(std::abs(reader.size().width()), std::abs(reader.size().height()));
    if (size.isEmpty()) {
        Fail(error, PictureFile::tr("Размеры рисунка неверны."));
        return std::nullopt;
    }
    const qint64 limit = IsJpeg(format) ? std::min(mostPixels, kMaxJpegPixels) : std::min(mostPixels, kMaxPicturePixels);
    if (qint64(size.width()) * size.height() > limit) {
        Fail(error, TooManyPixels(limit));
        return std::nullopt;
    }
    THeader header{format, size, CheckPictureData(format, bytes, size)};
    if (!header.Data.problem.isEmpty()) {
        Fail(error, header.Data.problem);
        return std::nullopt;
    }
    return header;
}

// The size a JPEG of `size` is decoded at: the smallest of 1/8, 1/4, 1/2 and the whole whose
// shorter side still has `side` pixels. The decoder scales its blocks itself at these scales, so
// that the whole picture is never held.
QSize JpegScaledSize(QSize size, int side)
{
    for (const int scale : {8, 4, 2}) {
        const QSize scaled((size.width() + scale - 1) / scale, (size.height() + scale - 1) / scale);
        if (side > 0 && std::min(scaled.width(), scaled.height()) >= side)
            return scaled;
    }
    return size;
}

// The raster picture the bytes hold, decoded by Qt's readers, or a null image.
TDecoded DecodeRaster(const QByteArray& bytes, int side, QString* error)
{
    const TDecoderMessages messages;
    QByteArray data = bytes;  // shares the bytes; the buffer needs an object of its own
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    // Qt's readers tell an X bitmap only by decoding it whole, under a lock that every other
    // reader of the program waits on meanwhile, the window's icons among them: its "#define"
    // lines, which no other format begins with, name it at once.
    const bool xBitmap = QByteArrayView(bytes).trimmed().startsWith("#define");
    QImageReader reader(&buffer, xBitmap ? QByteArray("xbm") : QByteArray());
    reader.setDecideFormatFromContent(!xBitmap);
    const std::optional<THeader> header = ReadHeader(reader, bytes, kMaxJpegPixels, error);
    if (!header)
        return {};
    const QSize size = IsJpeg(header->Format) ? JpegScaledSize(header->Size, side) : header->Size;
    const qint64 pixels = qint64(size.width()) * size.height();
    const qint64 work = WorkBytes(bytes.size(), header->Data.decoderBytes, int(reader.imageFormat()), pixels);
    if (IsJpeg(header->Format) ? work + 4 * pixels > kMaxJpegWorkBytes : work > kMaxPictureWorkBytes) {
        Fail(error, TooMuchMemory());
        return {};
    }
    if (size != header->Size)
        reader.setScaledSize(size);
    // Turned here, once the picture is brought down to the board's size, rather than by the
    // reader at its full size.
    reader.setAutoTransform(false);
    const QImageIOHandler::Transformations turn =
        header->Format == "webp" ? WebpTurn(bytes) : reader.transformation();
    QImage image = reader.read();
    const QString damage = messages.Damage();
    if (image.isNull() || image.size() != size || !damage.isEmpty()) {
        Fail(error, PictureFile::tr("Рисунок повреждён или обрезан (%1).").arg(damage.isEmpty() ? reader.errorString() : damage));
        return {};
    }
    return {std::move(image), turn};
}

// Whether the header of a picture embedded in a vector picture lets it be decoded: a raster
// picture whose size and data pass the same checks as a file's; empty when it may.
QString EmbeddedPictureProblem(const QByteArray& bytes, QSize* size)
{
    if (IsSvgPicture(bytes) || IsHeifPicture(bytes))
        return PictureFile::tr("В рисунок SVG вложен рисунок, который так не открывается.");
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    QString error;
    const std::optional<THeader> header = ReadHeader(reader, bytes, kMaxPicturePixels, &error);
    *size = header ? header->Size : QSize();
    return header ? QString() : error;
}

// The picture on white, in 32 bits, for pictures with transparent parts: the board has no
// background. Changed in place where the pixel format allows, so that no copy is held.
QImage Opaque(QImage image)
{
    if (!image.hasAlphaChannel()) {
        image.convertTo(QImage::Format_RGB32);
        return image;
    }
    image.convertTo(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(line[x]);
            auto onWhite = [alpha](int channel) { return (channel * alpha + 255 * (255 - alpha) + 127) / 255; };
            line[x] = qRgb(onWhite(qRed(line[x])), onWhite(qGreen(line[x])), onWhite(qBlue(line[x])));
        }
    }
    image.reinterpretAsFormat(QImage::Format_RGB32);
    return image;
}

// The picture turned upright: mirrored or flipped first, then turned a quarter clockwise.
QImage Upright(const QImage& image, QImageIOHandler::Transformations turn)
{
    if (turn == QImageIOHandler::TransformationNone)
        return image;
    if (turn == QImageIOHandler::TransformationRotate270)
        return image.transformed(QTransform().rotate(270));
    const QImage mirrored = image.mirrored(turn & QImageIOHandler::TransformationMirror, turn & QImageIOHandler::TransformationFlip);
    return turn & QImageIOHandler::TransformationRotate90 ? mirrored.transformed(QTransform().rotate(90)) : mirrored;
}

// The picture's colours in sRGB, converted from the profile it came with; a picture without one,
// or with one that cannot be used, is taken as it is.
QImage InSrgb(QImage image, const QColorSpace& profile)
{
    image.setColorSpace(QColorSpace());
    if (profile.isValid() && profile != QColorSpace(QColorSpace::SRgb)) {
        image.setColorSpace(profile);
        image.convertToColorSpace(QColorSpace::SRgb);
    }
    return image;
}

// The picture as the board takes it: opaque, no larger than needed, upright, in sRGB. Each step
// after the first works on the picture already brought down.
QImage Finished(TDecoded decoded, int side)
{
    const QColorSpace profile = decoded.Image.colorSpace();
    QImage picture = PictureWithin(Opaque(std::move(decoded.Image)), side);
    return InSrgb(Upright(picture, decoded.Turn), profile);
}

} // namespace

void SetPictureReadHook(std::function<void(const QString& path)> hook)
{
    ReadHook() = std::move(hook);
}

QImage ReadPictureFile(const QString& path, QString* error, int side)
{
    return ReadLocalPictureFile(QFile::encodeName(path), error, side);
}

QImage ReadLocalPictureFile(const QByteArray& localPath, QString* error, int side)
{
    QByteArray bytes;
    if (!ReadWholeFile(localPath, &bytes, error))
        return {};
    return ReadPictureBytes(bytes, error, side);
}

QImage ReadPictureBytes(const QByteArray& bytes, QString* error, int side)
{
    static std::once_flag once;
    // Room for the largest picture allowed in the widest format the memory bound lets through.
    std::call_once(once, [] { QImageReader::setAllocationLimit(int((4 * kMaxPicturePixels + kMaxPictureWorkBytes) >> 20) + 1); });
    if (bytes.isEmpty()) {
        Fail(error, PictureFile::tr("Файл пуст."));
        return {};
    }
    if (bytes.size() > kMaxPictureFileBytes) {
        Fail(error, PictureFile::tr("Файл слишком велик для рисунка: в нём больше %1 МБ.").arg(kMaxPictureFileBytes >> 20));
        return {};
    }
    TDecoded decoded;
    if (IsHeifPicture(bytes)) {
        decoded.Image = ReadHeifPicture(bytes, kMaxPicturePixels, kMaxPictureWorkBytes, error);
    } else if (IsSvgPicture(bytes)) {
        decoded.Image = ReadSvgPicture(bytes, side, kMaxPicturePixels, EmbeddedPictureProblem, error);
    } else {
        decoded = DecodeRaster(bytes, side, error);
    }
    return decoded.Image.isNull() ? QImage() : Finished(std::move(decoded), side);
}

QImage PictureWithin(const QImage& picture, int side)
{
    const int shorter = std::min(picture.width(), picture.height());
    if (side <= 0 || shorter <= side)
        return picture;
    const double scale = double(side) / shorter;
    const QSize size(std::max(1, qRound(picture.width() * scale)), std::max(1, qRound(picture.height() * scale)));
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
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
    for (const QString& heif : HeifPictureFormats())
        if (!formats.contains(heif))
            formats << heif;
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
    auto spaced = [](QString patterns) { return patterns.replace(QLatin1Char(';'), QLatin1Char(' ')); };
    const QString allPatterns = all.join(QLatin1Char(';'));
    QStringList entries{PictureFile::tr("Все рисунки ( %1 )").arg(spaced(allPatterns)), allPatterns};
    for (const QString& format : formats) {
        const QString patterns = PicturePatterns(format);
        const QString description = format == QLatin1String("bmp") ? PictureFile::tr("Точечные рисунки ( %1 )").arg(spaced(patterns))
                                                                   : PictureFile::tr("Рисунки %1 ( %2 )").arg(format.toUpper(), spaced(patterns));
        entries << description << patterns;
    }
    entries << PictureFile::tr("Все файлы ( * )") << QStringLiteral("*");
    return entries.join(QLatin1Char('|'));
}

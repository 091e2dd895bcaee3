#include "framework/PictureFile.h"

#include "framework/PictureData.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The context of the texts of refused pictures in the translations.
struct PictureFile {
    Q_DECLARE_TR_FUNCTIONS(PictureFile)
};

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
    if (info.st_size == 0)
        return Fail(error, PictureFile::tr("Файл пуст."));
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
// that picture and a copy in 32 bits where the format cannot be changed in place.
qint64 WorkBytes(qint64 fileBytes, qint64 decoderBytes, QImage::Format format, qint64 pixels)
{
    // A reader that cannot tell before decoding may answer anything.
    const bool known = format > QImage::Format_Invalid && format < QImage::NImageFormats;
    const int bits = known ? QImage::toPixelFormat(format).bitsPerPixel() : 32;
    const qint64 copy = bits < 32 ? 4 * pixels : 0;
    return pixels * bits / 8 + std::max(fileBytes + decoderBytes, copy) - 4 * pixels;
}

// The picture the bytes hold as the reader gives it, or a null image; the bytes go with the call.
QImage Decode(QByteArray bytes, QString* error)
{
    const TDecoderMessages messages;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    // Qt's readers tell an X bitmap only by decoding it whole, under a lock that every other
    // reader of the program waits on meanwhile, the window's icons among them: its "#define"
    // lines, which no other format begins with, name it at once.
    const bool xBitmap = QByteArrayView(bytes).trimmed().startsWith("#define");
    QImageReader reader(&buffer, xBitmap ? QByteArray("xbm") : QByteArray());
    reader.setDecideFormatFromContent(!xBitmap);
    const QByteArray format = reader.format();
    if (format.isEmpty()) {
        Fail(error, PictureFile::tr("Это не рисунок, или программа не знает его формата."));
        return {};
    }
    // A bitmap stored top down tells a negative height.
    const QSize size(std::abs(reader.size().width()), std::abs(reader.size().height()));
    if (size.isEmpty()) {
        Fail(error, PictureFile::tr("Размеры рисунка неверны."));
        return {};
    }
    const qint64 pixels = qint64(size.width()) * size.height();
    if (pixels > kMaxPicturePixels) {
        Fail(error, PictureFile::tr("Рисунок слишком велик: в нём больше 40 миллионов точек."));
        return {};
    }
    const TPictureDataCheck check = CheckPictureData(format, bytes, size);
    if (!check.problem.isEmpty()) {
        Fail(error, check.problem);
        return {};
    }
    if (WorkBytes(bytes.size(), check.decoderBytes, reader.imageFormat(), pixels) > kMaxPictureWorkBytes) {
        Fail(error, PictureFile::tr("Рисунок слишком велик: чтобы его прочитать, нужно слишком много памяти."));
        return {};
    }
    QImage image = reader.read();
    const QString damage = messages.Damage();
    if (image.isNull() || image.size() != size || !damage.isEmpty()) {
        Fail(error, PictureFile::tr("Рисунок повреждён или обрезан (%1).").arg(damage.isEmpty() ? reader.errorString() : damage));
        return {};
    }
    return image;
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

} // namespace

void SetPictureReadHook(std::function<void(const QString& path)> hook)
{
    ReadHook() = std::move(hook);
}

QImage ReadPictureFile(const QString& path, QString* error)
{
    return ReadLocalPictureFile(QFile::encodeName(path), error);
}

QImage ReadLocalPictureFile(const QByteArray& localPath, QString* error)
{
    static std::once_flag once;
    // Room for the largest picture allowed in the widest format the memory bound lets through.
    std::call_once(once, [] { QImageReader::setAllocationLimit(int((4 * kMaxPicturePixels + kMaxPictureWorkBytes) >> 20) + 1); });
    QByteArray bytes;
    if (!ReadWholeFile(localPath, &bytes, error))
        return {};
    QImage image = Decode(std::move(bytes), error);
    return image.isNull() ? image : Opaque(std::move(image));
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
    QStringList entries{PictureFile::tr("Все рисунки ( %1 )").arg(QString(allPatterns).replace(QLatin1Char(';'), QLatin1Char(' '))),
                        allPatterns, PictureFile::tr("Точечные рисунки ( *.bmp )"), QStringLiteral("*.bmp")};
    for (const QString& format : formats) {
        if (format == QLatin1String("bmp"))
            continue;
        const QString patterns = PicturePatterns(format);
        entries << PictureFile::tr("Рисунки %1 ( %2 )").arg(format.toUpper(), QString(patterns).replace(QLatin1Char(';'), QLatin1Char(' ')))
                << patterns;
    }
    return entries.join(QLatin1Char('|'));
}

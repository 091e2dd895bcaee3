#include "framework/Bitmap.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>
#include <array>

namespace {

// Pictures larger than this many pixels are refused before they are read.
constexpr qint64 kMaxPixels = 40LL * 1000 * 1000;

QString Tr(const char* text)
{
    return QCoreApplication::translate("TBitmap", text);
}

// Checks the headers of a Windows bitmap file against the file's length, so that a file cut
// short is refused instead of being shown with made-up pixels.
bool CheckBitmapHeaders(QFile& file, QString* error)
{
    std::array<uchar, 54> head{};  // the file header and the longest info header fields read
    const qint64 headSize = file.read(reinterpret_cast<char*>(head.data()), qint64(head.size()));
    const qint64 fileSize = file.size();
    auto u16 = [&](int at) { return qFromLittleEndian<quint16>(head.data() + at); };
    auto u32 = [&](int at) { return qFromLittleEndian<quint32>(head.data() + at); };
    auto s32 = [&](int at) { return qFromLittleEndian<qint32>(head.data() + at); };
    if (headSize < 26 || head[0] != 'B' || head[1] != 'M') {
        *error = Tr("Это не точечный рисунок BMP.");
        return false;
    }
    const qint64 dataOffset = u32(10);
    const quint32 infoSize = u32(14);
    qint64 width = 0, height = 0, bitCount = 0, compression = 0, imageSize = 0;
    if (infoSize == 12) {
        width = u16(18);
        height = qint16(u16(20));
        bitCount = u16(24);
    } else if (infoSize >= 40 && headSize >= 54) {
        width = s32(18);
        height = s32(22);
        bitCount = u16(28);
        compression = u32(30);
        imageSize = u32(34);
    } else {
        *error = Tr("Заголовок рисунка BMP повреждён.");
        return false;
    }
    height = height < 0 ? -height : height;
    if (width <= 0 || height <= 0) {
        *error = Tr("Размеры рисунка BMP неверны.");
        return false;
    }
    if (width * height > kMaxPixels) {
        *error = Tr("Рисунок слишком велик: в нём больше 40 миллионов точек.");
        return false;
    }
    qint64 needed = dataOffset;
    if (compression == 0 || compression == 3 || compression == 6)  // plain rows, bit fields
        needed += ((width * bitCount + 31) / 32) * 4 * height;
    else
        needed += imageSize > 0 ? imageSize : 1;
    if (fileSize < needed) {
        *error = Tr("Файл рисунка обрезан: в нём не хватает точек.");
        return false;
    }
    file.seek(0);
    return true;
}

} // namespace

TBitmap::TBitmap() : canvas_(&image_) {}

TBitmap::TBitmap(int width, int height) : TBitmap()
{
    SetSize(width, height);
}

TBitmap::TBitmap(const QImage& image) : TBitmap()
{
    SetImage(image);
}

TBitmap::TBitmap(const TBitmap& other) : image_(other.image_), canvas_(&image_), format_(other.format_)
{
    canvas_.Font = other.canvas_.Font;
    canvas_.Brush = other.canvas_.Brush;
    canvas_.Pen = other.canvas_.Pen;
}

TBitmap& TBitmap::operator=(const TBitmap& other)
{
    if (this != &other) {
        image_ = other.image_;
        format_ = other.format_;
        canvas_.SetTarget(&image_);
    }
    return *this;
}

void TBitmap::SetSize(int width, int height)
{
    if (width <= 0 || height <= 0) {
        image_ = QImage();
    } else {
        image_ = QImage(width, height, QImage::Format_RGB32);
        image_.fill(Qt::white);
    }
    canvas_.SetTarget(&image_);
}

void TBitmap::SetPixelFormat(TPixelFormat format)
{
    format_ = format;
    if (format == TPixelFormat::pf16bit && !image_.isNull())
        image_ = image_.convertToFormat(QImage::Format_RGB16).convertToFormat(QImage::Format_RGB32);
    canvas_.SetTarget(&image_);
}

void TBitmap::SetImage(const QImage& image)
{
    image_ = image.isNull() ? QImage() : image.convertToFormat(QImage::Format_RGB32);
    canvas_.SetTarget(&image_);
    if (format_ == TPixelFormat::pf16bit)
        SetPixelFormat(format_);
}

bool TBitmap::LoadFromFile(const QString& path, QString* error)
{
    auto fail = [&](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    const QFileInfo info(path);
    if (!info.exists())
        return fail(Tr("Файл не найден."));
    if (!info.isFile())
        return fail(Tr("Это не файл."));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(Tr("Файл нельзя открыть для чтения: ") + file.errorString());
    QString headerError;
    if (!CheckBitmapHeaders(file, &headerError))
        return fail(headerError);
    QImageReader::setAllocationLimit(256);  // megabytes: room for the largest picture allowed
    QImageReader reader(&file, "bmp");
    reader.setDecideFormatFromContent(false);
    const QImage image = reader.read();
    if (image.isNull())
        return fail(Tr("Это не точечный рисунок BMP, или файл повреждён."));
    SetImage(image);
    format_ = TPixelFormat::pf32bit;
    return true;
}

#include "framework/Bitmap.h"

#include "framework/PictureFile.h"

TBitmap::TBitmap() : canvas_(&image_) {}

TBitmap::TBitmap(int width, int height) : TBitmap()
{
    SetSize(width, height);
}

TBitmap::TBitmap(const QImage& image) : TBitmap()
{
    SetImage(image);
    if (image.format() == QImage::Format_RGB16)
        format_ = TPixelFormat::pf16bit;
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
    const QImage image = ReadPictureFile(path, error);
    if (image.isNull())
        return false;
    SetImage(image);
    format_ = TPixelFormat::pf32bit;
    return true;
}

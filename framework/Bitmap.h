#pragma once
// An off-screen bitmap: a 32-bit image with its own canvas. Copies are deep, as assigning one
// bitmap to another copies the picture.

#include "framework/Canvas.h"

#include <QImage>
#include <QString>

enum class TPixelFormat { pf16bit, pf24bit, pf32bit };

class TBitmap {
public:
    TBitmap();
    TBitmap(int width, int height);
    // An image of 16 bits per pixel makes a bitmap of that format.
    explicit TBitmap(const QImage& image);
    TBitmap(const TBitmap& other);
    TBitmap& operator=(const TBitmap& other);

    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    bool Empty() const { return image_.isNull() || image_.width() == 0 || image_.height() == 0; }
    // Resizes to a blank white picture.
    void SetSize(int width, int height);

    // Colour depth of the picture: 16 bits keep five bits of red and blue and six of green.
    TPixelFormat PixelFormat() const { return format_; }
    void SetPixelFormat(TPixelFormat format);

    const QImage& Image() const { return image_; }
    void SetImage(const QImage& image);
    TCanvas& Canvas() { return canvas_; }
    const TCanvas& Canvas() const { return canvas_; }

    // Reads a picture file of any format the program knows (framework/PictureFile.h). On failure
    // the bitmap is unchanged and *error says why.
    bool LoadFromFile(const QString& path, QString* error);

private:
    QImage image_;
    TCanvas canvas_;
    TPixelFormat format_ = TPixelFormat::pf32bit;
};

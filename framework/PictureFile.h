#pragma once
// Pictures from files, in every still-image format the installed Qt image readers offer, SVG
// drawn by Qt SVG and HEIC/AVIF decoded by libheif, read so that no file can hurt the game: only
// a regular file of reasonable length is opened (never a pipe or a device, which could block or
// never end); it is read whole through its descriptor, so that a file changed meanwhile gives the
// bytes as read or a refusal; its size in pixels is read from the header and limited before
// anything is decoded; data that cannot fill that size (framework/PictureData.h) or that the
// reader finds damaged or missing is refused rather than made up; and the memory decoding takes
// is bounded before it starts. The picture comes upright (as the camera's orientation tag says)
// and in sRGB. Safe on any thread.

#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>

// JPEG photos larger than this are refused before they are decoded; they are decoded at the
// smallest of the decoder's reduced scales that still fills the board.
constexpr qint64 kMaxJpegPixels = 200LL * 1000 * 1000;
// Pictures of every other format larger than this are refused before they are decoded.
constexpr qint64 kMaxPicturePixels = 50LL * 1000 * 1000;
// Longer files are refused before they are read.
constexpr qint64 kMaxPictureFileBytes = 256LL * 1024 * 1024;
// What reading a picture may hold besides the picture itself at 4 bytes a pixel: the file, the
// decoder's own buffers, the picture in a wider pixel format or a copy of it. Together with the
// program's own 35 to 40 MiB this stays under 200 MiB.
constexpr qint64 kMaxPictureWorkBytes = 160LL * 1024 * 1024;
// All that reading a JPEG may hold, the file, the decoder's buffers and the picture at its
// reduced scale together: with the program's own this stays under 300 MiB.
constexpr qint64 kMaxJpegWorkBytes = 250LL * 1024 * 1024;

// The picture in the file, opaque (transparent parts lie on white), upright and in sRGB; with
// its shorter side brought down to `side` pixels when it is larger (0: as large as it is), or
// drawn at that size when it is a vector picture. A null image when the file cannot be used,
// and *error then says why.
QImage ReadPictureFile(const QString& path, QString* error, int side = 0);
// The same for a name in the file system's own bytes, which need not be valid in any encoding.
QImage ReadLocalPictureFile(const QByteArray& localPath, QString* error, int side = 0);
// The same for the bytes of a picture already in memory: a file is read whole, then decoded here.
QImage ReadPictureBytes(const QByteArray& bytes, QString* error, int side = 0);

// The picture with its shorter side brought down to `side` pixels (0: as it is), proportions
// kept: a board of that side shows no more of it.
QImage PictureWithin(const QImage& picture, int side);

// For tests: called with the path of every picture file to read once its length is checked,
// before its bytes are read, so that a test can change the file there. Set before reading.
void SetPictureReadHook(std::function<void(const QString& path)> hook);

// The still-image formats the game opens, lower case, each once ("jpeg" for both of its names).
QStringList PictureFormats();
// The file name patterns of a format: "*.jpg;*.jpeg" for "jpeg".
QString PicturePatterns(const QString& format);
// The open dialog's filter, "Description|patterns" pairs: every picture first, then one entry
// for each format, then all files.
QString PictureDialogFilter();

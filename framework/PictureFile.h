#pragma once
// Pictures from files, in every still-image format the installed Qt image readers offer, read
// so that no file can hurt the game: only a regular file of reasonable length is opened (never a
// pipe or a device, which could block or never end); it is read whole through its descriptor, so
// that a file changed meanwhile gives the bytes as read or a refusal; its size in pixels is read
// from the header and limited before anything is decoded; data that cannot fill that size
// (framework/PictureData.h) or that the reader finds damaged or missing is refused rather than
// made up; and the memory decoding takes is bounded before it starts. Safe on any thread.

#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>

// Pictures larger than this are refused before they are decoded.
constexpr qint64 kMaxPicturePixels = 40LL * 1000 * 1000;
// Longer files are refused before they are read.
constexpr qint64 kMaxPictureFileBytes = 100LL * 1024 * 1024;
// What reading a picture may hold besides the picture itself at 4 bytes a pixel: the file, the
// decoder's own buffers, the picture in a wider pixel format or a copy of it. Together with the
// program's own 35 to 40 MiB this stays under 150 MiB.
constexpr qint64 kMaxPictureWorkBytes = 112LL * 1024 * 1024;

// The picture in the file, opaque (transparent parts lie on white); a null image when the file
// cannot be used, and *error then says why.
QImage ReadPictureFile(const QString& path, QString* error);
// The same for a name in the file system's own bytes, which need not be valid in any encoding.
QImage ReadLocalPictureFile(const QByteArray& localPath, QString* error);
// The picture in bytes already in memory (image data pasted or dropped), by the same checks and
// the same decoding as a file's bytes. The bytes go with the call: they are let go before the
// picture is converted, as a file's are.
QImage ReadPictureBytes(QByteArray bytes, QString* error);

// For tests: called with the path of every picture file to read once its length is checked,
// before its bytes are read, so that a test can change the file there. Set before reading.
void SetPictureReadHook(std::function<void(const QString& path)> hook);

// The still-image formats the installed readers offer, lower case, each once ("jpeg" for both
// of its names).
QStringList PictureFormats();
// The file name patterns of a format: "*.jpg;*.jpeg" for "jpeg".
QString PicturePatterns(const QString& format);
// The open dialog's filter, "Description|patterns" pairs: every picture first, then bitmaps,
// then one entry for each other format.
QString PictureDialogFilter();

#pragma once
// Pictures from files, in every still-image format the installed Qt image readers offer, read
// so that no file can hurt the game: only a regular file of reasonable length is opened (never a
// pipe or a device, which could block or never end), its size in pixels is read from the header
// and limited before anything is decoded, and a file that ends early is refused even where a
// reader would make up the missing pixels.

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QString>
#include <QStringList>

// Pictures larger than this are refused before they are decoded.
constexpr qint64 kMaxPicturePixels = 40LL * 1000 * 1000;
// No picture of at most kMaxPicturePixels needs a longer file.
constexpr qint64 kMaxPictureFileBytes = 256LL * 1024 * 1024;

// The picture in the file, opaque (transparent parts lie on white); a null image when the file
// cannot be used, and *error then says why.
QImage ReadPictureFile(const QString& path, QString* error);
// The same for a name in the file system's own bytes, which need not be valid in any encoding.
QImage ReadLocalPictureFile(const QByteArray& localPath, QString* error);

// Whether `data` holds the whole of a file in `format` ("bmp", "jpeg", "gif", "xbm"), as far as
// its first picture goes; *error says what is wrong. Other formats are left to their readers,
// which report a file cut short themselves.
bool PictureDataComplete(const QByteArray& format, QByteArrayView data, QString* error);

// The still-image formats the installed readers offer, lower case, each once ("jpeg" for both
// of its names).
QStringList PictureFormats();
// The file name patterns of a format: "*.jpg;*.jpeg" for "jpeg".
QString PicturePatterns(const QString& format);
// The open dialog's filter, "Description|patterns" pairs: every picture first, then bitmaps,
// then one entry for each other format.
QString PictureDialogFilter();

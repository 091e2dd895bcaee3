#pragma once
// Picture files for the tests, made in memory. Kinds: "jpeg", "progressive" (a progressive JPEG),
// "png", "gif", "rle" (a run-length bitmap of 8 bits), "bmp", "pbm", "xbm", "xpm".

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

// The kinds that FlatPicture and ShortPicture make.
QStringList TestPictureKinds();

// A picture of one colour at the best compression its writer reaches: Qt's own writers where Qt
// writes the format (JPEG with optimised coding), written here for GIF (with a full LZW table
// kept) and run-length bitmaps (runs of 255).
QByteArray FlatPicture(const QString& kind, QSize size);

// A file that declares a picture of `size` but holds the data of a 16 x 16 one.
QByteArray ShortPicture(const QString& kind, QSize size);

// The progressive JPEG with its last scan repeated until it has `scans` scans.
QByteArray WithScans(const QByteArray& jpeg, int scans);

// Four flat quarters, red, green, blue and yellow from the top left clockwise, so that any turn
// or mirror shows; the colour of such a picture of `size` at (x, y).
QImage Quarters(QSize size);
QRgb QuarterAt(int x, int y, QSize size);
// The quarters drawn in SVG, with a black ring through them.
QByteArray QuartersSvg(QSize size);

// The picture written by Qt's writer of the format ("jpeg", "progressive", "png", "tiff", "webp",
// ...), at quality 95 (for PNG: little compression); lossless for WebP.
QByteArray Encoded(const QImage& image, const char* format);

// The picture as the camera stores it for an EXIF orientation (1 to 8): turned so that applying
// the orientation gives the picture back.
QImage AsStoredFor(const QImage& upright, int orientation);

// EXIF data (a little-endian TIFF structure after "Exif\0\0") holding the orientation.
QByteArray ExifWithOrientation(int orientation);

// The JPEG with an EXIF segment holding the orientation, right after its start marker.
QByteArray JpegWithOrientation(const QByteArray& jpeg, int orientation);

// A TIFF file of the picture in 8-bit RGB, stored in one strip, with the orientation tag (0:
// none), on the first of `pages` pages (the others share its strip). Width and height may be
// declared other than the picture's, and tiles of `tile` pixels declared instead of a strip.
QByteArray TiffPicture(const QImage& image, int orientation = 0, int pages = 1, QSize declared = {}, QSize tile = {});

// A WebP file in the extended form holding the picture of a simple WebP file, with EXIF data of
// the orientation (0: none) and the ICC profile (empty: none).
QByteArray WebpWithMetadata(const QByteArray& webp, int orientation, const QByteArray& icc = {});
// An animated WebP file of the simple WebP files' pictures as its frames, all of `size`.
QByteArray AnimatedWebp(const QList<QByteArray>& frames, QSize size);

// The bytes compressed as a gzip file.
QByteArray Gzipped(const QByteArray& bytes);

// The picture coded by libheif as HEIC ("heic") or AVIF ("avif"), tagged with the colour
// primaries of NCLX (1: those of sRGB) and an EXIF orientation turned into HEIF's turn and
// mirror; empty where libheif has no encoder for it.
QByteArray HeifEncoded(const QImage& image, const char* kind, int primaries = 1, int orientation = 1);
// A HEIC file whose primary picture is a grid that declares `tiles` tiles, each an item of the
// file; no picture data.
QByteArray HeifGrid(int tiles);

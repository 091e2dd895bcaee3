#pragma once
// Picture files for the tests, made in memory. Kinds: "jpeg", "progressive" (a progressive JPEG),
// "png", "gif", "rle" (a run-length bitmap of 8 bits), "bmp", "pbm", "xbm", "xpm".

#include <QByteArray>
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

// A chunk of a PNG file: its length, type, data and check sum.
QByteArray PngChunk(const char* type, const QByteArray& data);

// A grey progressive JPEG of `size` in `scans` scans (2 at least), written here: a DC scan, then
// AC scans of one coefficient each and their refinements, a valid sequence up to 127 scans; the
// last is repeated after that.
QByteArray ScansJpeg(QSize size, int scans);

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

// The progressive JPEG with its last scan repeated until it has `scans` scans.
QByteArray WithScans(const QByteArray& jpeg, int scans);

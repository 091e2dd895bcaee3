#pragma once
// What the bytes of a picture file promise, read before any decoder sees them. A decoder given
// less data than the size it was told fills the rest with pixels of its own, so each format's
// data must be at least as long as the least that can hold a picture of its declared size: the
// exact length for pixel maps and X bitmaps and pixmaps, rows for bitmaps, the most one run
// holds for run-length bitmaps, the most the compression can expand for GIF and PNG, the least
// coded data per block for JPEG, and for the strips or tiles of TIFF. A JPEG must also have few
// enough scans, each of which is a pass over the whole picture, and a TIFF few enough pages; the
// memory a decoder needs beyond the picture is told. The chunks of a WebP file must all be there.

#include <QByteArray>
#include <QByteArrayView>
#include <QSize>
#include <QString>

// The most scans a JPEG may have (the limit libjpeg's own tools suggest for files from strangers).
constexpr int kMaxJpegScans = 100;
// The most pages a TIFF file may have: only the first is shown, but a reader may walk them all.
constexpr int kMaxTiffPages = 1000;

struct TPictureDataCheck {
    QString problem;          // why the file cannot be used; empty when it may be decoded
    qint64 decoderBytes = 0;  // memory the decoder holds besides the picture (a JPEG's coefficients)
};

// The check of the bytes of a file in `format` (as Qt's readers name it) whose header declares a
// picture of `size`. Formats without a rule here pass.
TPictureDataCheck CheckPictureData(const QByteArray& format, QByteArrayView data, QSize size);

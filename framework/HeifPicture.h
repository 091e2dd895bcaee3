#pragma once
// HEIF pictures (HEIC, coded as HEVC, and AVIF, coded as AV1), decoded by libheif beside Qt's
// readers. Before libheif sees a file, its boxes are walked here: every box and every piece of
// coded data must lie within the file (a file cut short is refused, not filled in), and it may
// hold no more than a bounded number of items and references, so that a grid of countless tiles
// is refused at once. Only the primary picture is decoded, turned and mirrored as the file says,
// with the colour profile it carries (NCLX or ICC). Safe on any thread.

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QString>
#include <QStringList>

// Whether the bytes begin as a HEIF file of a brand libheif decodes.
bool IsHeifPicture(QByteArrayView bytes);

// "heif" and "avif", each where libheif has its decoder.
QStringList HeifPictureFormats();

// The primary picture, with its colour profile attached; a null image when it cannot be used,
// and *error then says why. It may have no more than `mostPixels`, and decoding it may take no
// more than `mostWorkBytes` besides the picture at 4 bytes a pixel.
QImage ReadHeifPicture(const QByteArray& bytes, qint64 mostPixels, qint64 mostWorkBytes, QString* error);

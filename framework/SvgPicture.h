#pragma once
// Vector pictures (SVG, and SVGZ, its gzip-compressed form), drawn by Qt SVG straight at the size
// the board needs. Before Qt sees a file it is read here whole, so that nothing in it can reach
// beyond it or blow up: a compressed file is inflated only up to a bound; entities must be of the
// file's own, not nested, and expand to a bounded text; every reference must point into the file
// (an embedded picture in a "data:" address is checked as a picture file of its own would be);
// no style may import or address anything outside; and the elements, the copies that <use> makes
// of them and their nesting are counted and bounded. Safe on any thread.

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QSize>
#include <QString>
#include <functional>

// Whether the bytes are a vector picture: gzip-compressed data, or XML text whose first element
// is <svg>.
bool IsSvgPicture(QByteArrayView bytes);

// The check of a raster picture embedded in a vector one: why it cannot be decoded (empty when it
// can), and its size.
using TEmbeddedPictureCheck = std::function<QString(const QByteArray& picture, QSize* size)>;

// The picture drawn on white with its shorter side at `side` pixels (0: at the size it declares),
// no more than `mostPixels` in all; a null image when it cannot be used, and *error then says why.
QImage ReadSvgPicture(const QByteArray& bytes, int side, qint64 mostPixels, const TEmbeddedPictureCheck& embedded,
                      QString* error);

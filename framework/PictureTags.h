#pragma once
// What a picture file tells besides its pixels, where Qt's readers do not read it themselves:
// how a WebP photo must be turned to stand upright, from the camera's orientation in its EXIF
// chunk.

#include <QByteArrayView>
#include <QImageIOHandler>

// The turn that the EXIF orientation (1 to 8) asks for; none for any other value.
QImageIOHandler::Transformations TurnOfOrientation(int orientation);

// The orientation in EXIF data (a TIFF structure, with or without the "Exif\0\0" mark before
// it); 0 where it has none or the data is damaged.
int ExifOrientation(QByteArrayView exif);

// The turn that a WebP file's EXIF chunk asks for; none where it has none.
QImageIOHandler::Transformations WebpTurn(QByteArrayView webp);

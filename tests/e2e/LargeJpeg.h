#pragma once
// Large JPEG photos for the end-to-end tests, written a row at a time by libjpeg so that a
// picture of a hundred million pixels is never held whole.

#include <QSize>
#include <QString>

// Writes a JPEG of `size` that shows four flat quarters (red, green, blue and yellow from the top
// left clockwise) once turned as the EXIF orientation says (0: no EXIF; 6: stored on its side, a
// quarter turn clockwise makes it upright). False when the file cannot be written.
bool WriteLargeJpeg(const QString& path, QSize size, int orientation);

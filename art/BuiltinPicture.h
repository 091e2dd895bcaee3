#pragma once
// The built-in 250 x 250 picture, drawn at start-up: a colour wheel crossed by rings, rays and
// shapes, so that every tile of every board size looks different from its neighbours. Where the
// board shows it larger, it is drawn again at that size, the same picture with finer detail.

#include <QImage>

// The picture in 16 bits per pixel (Format_RGB16), `side` pixels square.
QImage MakeBuiltinPicture(int side = 250);

// Whether the picture is one MakeBuiltinPicture made (or a copy that shares its pixels).
bool IsBuiltinPicture(const QImage& picture);

// Starts drawing the picture on another thread, first of all in the program: the colour wheel
// with its rings and rays at once, the shapes and the name (painting needs the application) once
// BuiltinPictureMayPaint() says the application exists. The next MakeBuiltinPicture() takes the
// picture from there.
void StartBuiltinPicture();
void BuiltinPictureMayPaint();

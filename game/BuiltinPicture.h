#pragma once
// The built-in 250 x 250 picture, drawn at start-up: a colour wheel crossed by rings, rays and
// shapes, so that every tile of every board size looks different from its neighbours.

#include "framework/Bitmap.h"

TBitmap MakeBuiltinPicture();

// Starts drawing the picture on another thread (the application must exist: the picture has
// text), so that it is ready by the time the window needs it; the next MakeBuiltinPicture()
// takes it from there.
void StartBuiltinPicture();

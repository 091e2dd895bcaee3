#pragma once
// The built-in 250 x 250 picture, drawn at start-up: a colour wheel crossed by rings, rays and
// shapes, so that every tile of every board size looks different from its neighbours.

#include "framework/Bitmap.h"

TBitmap MakeBuiltinPicture();

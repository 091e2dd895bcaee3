#pragma once
// The About box's 120 x 136 portrait of Mozik, a cartoon face drawn at start-up.

#include "framework/Bitmap.h"

TBitmap MakePortrait();

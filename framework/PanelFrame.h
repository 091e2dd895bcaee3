#pragma once
// The rings of a panel-like face: an outer bevel, a border in the face's colour and an inner
// bevel, drawn on a canvas from the outside in.

#include "framework/Colors.h"

class TCanvas;
struct TRect;

enum class TPanelBevel { bvNone, bvLowered, bvRaised };

// Top and bottom colours of a bevel: lowered is shadow over highlight, anything else the reverse.
void BevelColors(TPanelBevel bevel, TColor& top, TColor& bottom);

// The outer bevel, a border of borderWidth pixels in `color`, the inner bevel; `rect` shrinks
// past each ring and is left as the face.
void DrawPanelFrame(TCanvas& canvas, TRect& rect, TPanelBevel outer, TPanelBevel inner, int bevelWidth,
                    int borderWidth, TColor color);

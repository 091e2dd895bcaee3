#include "framework/PanelFrame.h"

#include "framework/Canvas.h"

void BevelColors(TPanelBevel bevel, TColor& top, TColor& bottom)
{
    if (bevel == TPanelBevel::bvLowered) {
        top = clBtnShadow;
        bottom = clBtnHighlight;
    } else {
        top = clBtnHighlight;
        bottom = clBtnShadow;
    }
}

void DrawPanelFrame(TCanvas& canvas, TRect& rect, TPanelBevel outer, TPanelBevel inner, int bevelWidth,
                    int borderWidth, TColor color)
{
    TColor top, bottom;
    if (outer != TPanelBevel::bvNone) {
        BevelColors(outer, top, bottom);
        Frame3D(canvas, rect, top, bottom, bevelWidth);
    }
    Frame3D(canvas, rect, color, color, borderWidth);
    if (inner != TPanelBevel::bvNone) {
        BevelColors(inner, top, bottom);
        Frame3D(canvas, rect, top, bottom, bevelWidth);
    }
}

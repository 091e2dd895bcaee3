#include "framework/Panel.h"

#include "framework/Canvas.h"

#include <QImage>
#include <QPainter>

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

TPanel::TPanel(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPanel::SetBevelOuter(TPanelBevel bevel)
{
    if (bevelOuter_ != bevel) {
        bevelOuter_ = bevel;
        update();
    }
}

void TPanel::SetBevelInner(TPanelBevel bevel)
{
    if (bevelInner_ != bevel) {
        bevelInner_ = bevel;
        update();
    }
}

void TPanel::SetBevelWidth(int width)
{
    if (bevelWidth_ != width) {
        bevelWidth_ = width;
        update();
    }
}

void TPanel::SetBorderWidth(int width)
{
    if (borderWidth_ != width) {
        borderWidth_ = width;
        update();
    }
}

void TPanel::SetColor(TColor color)
{
    if (color_ != color) {
        color_ = color;
        update();
    }
}

void TPanel::paintEvent(QPaintEvent*)
{
    QImage surface(size(), QImage::Format_RGB32);
    TCanvas canvas(&surface);
    TRect r = canvas.ClipRect();
    DrawPanelFrame(canvas, r, bevelOuter_, bevelInner_, bevelWidth_, borderWidth_, color_);
    canvas.Brush = {color_, TBrushStyle::bsSolid};
    canvas.FillRect(r);
    QPainter(this).drawImage(0, 0, surface);
}

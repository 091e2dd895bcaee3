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
    TColor top, bottom;
    if (bevelOuter_ != TPanelBevel::bvNone) {
        BevelColors(bevelOuter_, top, bottom);
        Frame3D(canvas, r, top, bottom, bevelWidth_);
    }
    Frame3D(canvas, r, color_, color_, borderWidth_);
    if (bevelInner_ != TPanelBevel::bvNone) {
        BevelColors(bevelInner_, top, bottom);
        Frame3D(canvas, r, top, bottom, bevelWidth_);
    }
    canvas.Brush = {color_, TBrushStyle::bsSolid};
    canvas.FillRect(r);
    QPainter(this).drawImage(0, 0, surface);
}

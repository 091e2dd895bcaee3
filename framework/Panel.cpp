#include "framework/Panel.h"

#include "framework/Canvas.h"
#include "framework/Setter.h"

#include <QImage>
#include <QPainter>

TPanel::TPanel(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPanel::SetBevelOuter(TPanelBevel bevel)
{
    if (Assign(bevelOuter_, bevel))
        update();
}

void TPanel::SetBevelInner(TPanelBevel bevel)
{
    if (Assign(bevelInner_, bevel))
        update();
}

void TPanel::SetBevelWidth(int width)
{
    if (Assign(bevelWidth_, width))
        update();
}

void TPanel::SetBorderWidth(int width)
{
    if (Assign(borderWidth_, width))
        update();
}

void TPanel::SetColor(TColor color)
{
    if (Assign(color_, color))
        update();
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

#include "framework/Bevel.h"

#include "framework/Colors.h"
#include "framework/Setter.h"

#include <QPainter>
#include <cmath>

TBevel::TBevel(QWidget* parent, TBevelStyle style) : QWidget(parent), style_(style)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TBevel::SetStyle(TBevelStyle style)
{
    if (Assign(style_, style))
        update();
}

void TBevel::paintEvent(QPaintEvent*)
{
    const bool raised = style_ == TBevelStyle::bsRaised;
    const QColor first = ToQColor(raised ? clBtnHighlight : clBtnShadow);
    const QColor second = ToQColor(raised ? clBtnShadow : clBtnHighlight);
    if (width() < 2 || height() < 2)
        return;
    // Drawn on whole device pixels, each edge as many of them wide as the scale rounds to, so
    // that at a scale like 1.5 every frame has the same edges on every side.
    QPainter painter(this);
    const QTransform toDevice = painter.deviceTransform();
    const QRectF area = toDevice.mapRect(QRectF(rect()));
    const int left = int(std::ceil(area.left() - 0.01)), top = int(std::ceil(area.top() - 0.01));
    const int right = int(std::floor(area.right() + 0.01)), bottom = int(std::floor(area.bottom() + 0.01));
    const int line = std::max(1, qRound(devicePixelRatioF()));
    painter.setWorldTransform(toDevice.inverted());
    // Left and top edges in the first colour (the top-right corner excluded), then right and
    // bottom edges in the second (the bottom-left corner excluded).
    painter.fillRect(QRect(left, top + line, line, bottom - top - line), first);
    painter.fillRect(QRect(left, top, right - left - line, line), first);
    painter.fillRect(QRect(right - line, top, line, bottom - top - line), second);
    painter.fillRect(QRect(left + line, bottom - line, right - left - line, line), second);
}

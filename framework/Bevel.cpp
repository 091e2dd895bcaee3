#include "framework/Bevel.h"

#include "framework/Colors.h"
#include "framework/Setter.h"

#include <QPainter>

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
    const int right = width() - 1, bottom = height() - 1;
    if (right < 1 || bottom < 1)
        return;
    QPainter painter(this);
    // Left and top edges in the first colour (the top-right corner excluded), then right and
    // bottom edges in the second (the bottom-left corner excluded).
    painter.fillRect(QRect(0, 1, 1, bottom), first);
    painter.fillRect(QRect(0, 0, right, 1), first);
    painter.fillRect(QRect(right, 0, 1, bottom), second);
    painter.fillRect(QRect(1, bottom, right, 1), second);
}

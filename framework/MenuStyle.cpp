#include "framework/MenuStyle.h"

#include <QMenu>
#include <QPainter>
#include <QStyleOption>

void TMenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                               const QWidget* widget) const
{
    if (element != PE_IndicatorCheckBox || !qobject_cast<const QMenu*>(widget)) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    if (!(option->state & State_On))
        return;
    // The tick: a short stroke down to the bottom and a long one up to the right.
    const QRectF box = QRectF(option->rect).adjusted(1.5, 1.5, -1.5, -1.5);
    const QPointF points[] = {{box.left(), box.center().y()},
                              {box.left() + box.width() * 0.4, box.bottom() - box.height() * 0.1},
                              {box.right(), box.top() + box.height() * 0.1}};
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(option->palette.color(QPalette::Text), 2.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter->drawPolyline(points, 3);
    painter->restore();
}

void UseClassicMenuLook(QMenu* menu, const QFont& font)
{
    static TMenuStyle* style = new TMenuStyle;  // shared by every menu, for the program's life
    menu->setStyle(style);
    menu->setFont(font);
}

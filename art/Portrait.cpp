#include "art/Portrait.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

TBitmap MakePortrait()
{
    QImage image(120, 136, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, 136);
    sky.setColorAt(0, QColor(70, 120, 200));
    sky.setColorAt(1, QColor(190, 220, 250));
    painter.fillRect(image.rect(), sky);

    // Shoulders in a striped jumper.
    painter.setPen(QPen(Qt::black, 1.5));
    painter.setBrush(QColor(200, 40, 40));
    QPainterPath shoulders;
    shoulders.moveTo(8, 136);
    shoulders.cubicTo(12, 108, 30, 100, 60, 100);
    shoulders.cubicTo(90, 100, 108, 108, 112, 136);
    shoulders.closeSubpath();
    painter.drawPath(shoulders);
    painter.setPen(QPen(QColor(250, 220, 60), 4));
    painter.drawLine(QPointF(16, 122), QPointF(104, 122));

    // Neck, ears and face.
    painter.setPen(QPen(Qt::black, 1.5));
    painter.setBrush(QColor(240, 195, 160));
    painter.drawRect(QRectF(50, 88, 20, 16));
    painter.drawEllipse(QRectF(21, 50, 14, 20));
    painter.drawEllipse(QRectF(85, 50, 14, 20));
    painter.drawEllipse(QRectF(28, 22, 64, 74));

    // Hair: a tousled mop.
    painter.setBrush(QColor(110, 60, 20));
    QPainterPath hair;
    hair.moveTo(26, 52);
    hair.cubicTo(18, 20, 50, 4, 70, 12);
    hair.cubicTo(92, 12, 104, 32, 94, 54);
    hair.cubicTo(88, 40, 80, 34, 72, 36);
    hair.cubicTo(64, 30, 50, 40, 42, 34);
    hair.cubicTo(36, 40, 32, 44, 26, 52);
    painter.drawPath(hair);

    // Round glasses, eyes, nose and a grin.
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(38, 48, 18, 16));
    painter.drawEllipse(QRectF(64, 48, 18, 16));
    painter.drawLine(QPointF(56, 55), QPointF(64, 55));
    painter.setBrush(QColor(40, 90, 40));
    painter.drawEllipse(QRectF(44, 53, 6, 7));
    painter.drawEllipse(QRectF(70, 53, 6, 7));
    painter.setBrush(QColor(225, 160, 130));
    painter.drawEllipse(QRectF(55, 62, 10, 12));
    painter.setBrush(QColor(150, 30, 40));
    QPainterPath mouth;
    mouth.moveTo(44, 78);
    mouth.quadTo(60, 92, 76, 78);
    mouth.quadTo(60, 84, 44, 78);
    painter.drawPath(mouth);
    painter.end();

    TBitmap portrait(image);
    portrait.SetPixelFormat(TPixelFormat::pf24bit);
    return portrait;
}

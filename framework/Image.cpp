#include "framework/Image.h"

#include "framework/Setter.h"

#include <QMouseEvent>
#include <QPainter>

TImage::TImage(QWidget* parent) : QWidget(parent) {}

void TImage::SetPicture(const TBitmap& picture)
{
    picture_ = picture;
    PictureChanged();
}

void TImage::PictureChanged()
{
    if (autoSize_ && !picture_.Empty())
        resize(picture_.Width(), picture_.Height());
    update();
}

void TImage::SetStretch(bool stretch)
{
    if (Assign(stretch_, stretch))
        update();
}

void TImage::SetAutoSize(bool autoSize)
{
    autoSize_ = autoSize;
    PictureChanged();
}

void TImage::paintEvent(QPaintEvent*)
{
    if (picture_.Empty())
        return;
    QPainter painter(this);
    if (stretch_ && (picture_.Width() != width() || picture_.Height() != height())) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), picture_.Image());
    } else {
        painter.drawImage(0, 0, picture_.Image());
    }
}

void TImage::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    QWidget::mousePressEvent(event);
}

void TImage::mouseReleaseEvent(QMouseEvent* event)
{
    // A click is a left press and release over the control, as on any button.
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    QWidget::mouseReleaseEvent(event);
    if (click && isEnabled())
        emit Click(this);
}

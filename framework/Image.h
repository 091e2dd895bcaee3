#pragma once
// A picture control: shows a bitmap at its top-left corner, or stretched to the control, and
// reports a left click.

#include "framework/Bitmap.h"

#include <QWidget>

class TImage : public QWidget {
    Q_OBJECT
public:
    explicit TImage(QWidget* parent = nullptr);

    TBitmap& Picture() { return picture_; }
    const TBitmap& Picture() const { return picture_; }
    // Takes a copy of the bitmap; with AutoSize on the control takes the picture's size.
    void SetPicture(const TBitmap& picture);
    // Call after drawing on Picture() directly.
    void PictureChanged();

    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);

signals:
    void Click(TImage* sender);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TBitmap picture_;
    bool stretch_ = false;
    bool autoSize_ = false;
    bool pressed_ = false;
};

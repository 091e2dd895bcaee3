#pragma once
// A flat tool button whose glyph is a strip of equal square images: normal, disabled,
// pressed and held, as many of them as the strip has.

#include <QImage>
#include <QToolButton>

class TSpeedButton : public QToolButton {
    Q_OBJECT
public:
    explicit TSpeedButton(QWidget* parent = nullptr);

    void SetGlyph(const QImage& strip, int numGlyphs);
    int NumGlyphs() const { return numGlyphs_; }
    // The image shown in the button's present state.
    QImage CurrentGlyph() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage Glyph(int index) const;
    QImage strip_;
    int numGlyphs_ = 0;
};

#include "framework/SpeedButton.h"

#include <QPainter>
#include <QStyleOptionToolButton>
#include <QStylePainter>

TSpeedButton::TSpeedButton(QWidget* parent) : QToolButton(parent)
{
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setIconSize(QSize(16, 16));
}

void TSpeedButton::SetGlyph(const QImage& strip, int numGlyphs)
{
    strip_ = strip;
    numGlyphs_ = std::max(1, numGlyphs);
    update();
}

QImage TSpeedButton::Glyph(int index) const
{
    if (strip_.isNull() || numGlyphs_ <= 0)
        return {};
    const int side = strip_.width() / numGlyphs_;
    return strip_.copy(side * std::min(index, numGlyphs_ - 1), 0, side, strip_.height());
}

QImage TSpeedButton::CurrentGlyph() const
{
    if (!isEnabled())
        return numGlyphs_ > 1 ? Glyph(1) : Glyph(0);
    if (isDown() && numGlyphs_ > 2)
        return Glyph(2);
    if (isChecked() && numGlyphs_ > 3)
        return Glyph(3);
    return Glyph(0);
}

void TSpeedButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    option.icon = QIcon();
    option.text.clear();
    painter.drawComplexControl(QStyle::CC_ToolButton, option);
    const QImage glyph = CurrentGlyph();
    if (glyph.isNull())
        return;
    // A pressed button shows its glyph one pixel down and right, as a button face sinks.
    const int shift = (isDown() || isChecked()) ? 1 : 0;
    painter.drawImage((width() - glyph.width()) / 2 + shift, (height() - glyph.height()) / 2 + shift, glyph);
}

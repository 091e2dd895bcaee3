#pragma once
// Drop-down menus as the classic desktop draws them: a checked item shows its tick alone, an
// unchecked one nothing at all (no empty box beside it).

#include <QProxyStyle>

class TMenuStyle : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
};

class QMenu;
// Gives the menu the menu bar's font and the classic check marks.
void UseClassicMenuLook(QMenu* menu, const QFont& font);

#include "framework/Colors.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

QColor SystemColor(TColor c)
{
    const QPalette palette = QGuiApplication::palette();
    switch (c) {
    case clBackground: return palette.color(QPalette::Active, QPalette::Shadow);
    case clActiveCaption:
    case clHighlight: return palette.color(QPalette::Active, QPalette::Highlight);
    case clInactiveCaption: return palette.color(QPalette::Inactive, QPalette::Highlight);
    case clWindow: return palette.color(QPalette::Active, QPalette::Base);
    case clWindowFrame: return palette.color(QPalette::Active, QPalette::Shadow);
    case clMenuText:
    case clWindowText: return palette.color(QPalette::Active, QPalette::WindowText);
    case clCaptionText:
    case clHighlightText: return palette.color(QPalette::Active, QPalette::HighlightedText);
    case clMenu:
    case clScrollBar:
    case clBtnFace: return palette.color(QPalette::Active, QPalette::Button);
    case clBtnShadow: return palette.color(QPalette::Active, QPalette::Dark);
    case clGrayText: return palette.color(QPalette::Disabled, QPalette::WindowText);
    case clBtnText: return palette.color(QPalette::Active, QPalette::ButtonText);
    case clBtnHighlight: return palette.color(QPalette::Active, QPalette::Light);
    case clInfoText: return palette.color(QPalette::Active, QPalette::ToolTipText);
    case clInfoBk: return palette.color(QPalette::Active, QPalette::ToolTipBase);
    default: return palette.color(QPalette::Active, QPalette::Window);
    }
}

} // namespace

TColor ColorToRGB(TColor c)
{
    if (IsSystemColor(c))
        return FromQColor(SystemColor(c));
    return c & 0xFFFFFF;
}

QColor ToQColor(TColor c)
{
    const TColor rgb = ColorToRGB(c);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TColor FromQColor(const QColor& c)
{
    return RGB(c.red(), c.green(), c.blue());
}

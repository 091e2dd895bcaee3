#include "framework/Font.h"

#include <QFontMetrics>
#include <cmath>

int TFont::Size() const
{
    return int(std::lround(Height * 72.0 / 96.0));
}

void TFont::SetSize(int points)
{
    Height = int(std::lround(points * 96.0 / 72.0));
}

QFont TFont::ToQFont() const
{
    QFont font(Name);
    font.setPixelSize(std::max(1, Height));
    if (Name.compare(QLatin1String("Arial Black"), Qt::CaseInsensitive) == 0)
        font.setWeight(QFont::Black);
    else
        font.setWeight(Bold ? QFont::Bold : QFont::Normal);
    font.setItalic(Italic);
    font.setUnderline(Underline);
    font.setStrikeOut(StrikeOut);
    font.setKerning(false);
    if (!Smooth)
        font.setStyleStrategy(QFont::NoAntialias);
    if (Stretch != 100)
        font.setStretch(Stretch);
    return font;
}

TFont MakeFont(const QString& name, int heightPixels, TColor color, bool bold, bool italic)
{
    TFont font;
    font.Name = name;
    font.Height = heightPixels;
    font.Color = color;
    font.Bold = bold;
    font.Italic = italic;
    return font;
}

TFont FittingFont(TFont font, const QString& text, int width)
{
    while (font.Stretch > 50 && QFontMetrics(font.ToQFont()).horizontalAdvance(text) > width)
        font.Stretch -= 5;
    return font;
}

void RegisterFontSubstitutions()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial Black"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
}

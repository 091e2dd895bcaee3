#pragma once
// A font as the layouts describe it: a face name, a height in pixels, a colour and a style.
// Layout names ("Arial", "MS Sans Serif", "Times New Roman", "Arial Black") are kept as written;
// RegisterFontSubstitutions() maps them onto installed faces once at start-up.

#include "framework/Colors.h"

#include <QFont>
#include <QString>

struct TFont {
    QString Name = QStringLiteral("MS Sans Serif");
    int Height = 11;            // character height in pixels (the em size)
    TColor Color = clWindowText;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    int Escapement = 0;         // baseline angle in tenths of a degree, counter-clockwise
    bool Smooth = true;         // false: glyphs drawn without antialiasing (exact-colour pixel tests)
    int Stretch = 100;          // width of the glyphs in per cent of their own

    // Size in points at the fixed 96 pixels per inch the layouts were made for.
    int Size() const;
    void SetSize(int points);

    QFont ToQFont() const;
    friend bool operator==(const TFont&, const TFont&) = default;
};

TFont MakeFont(const QString& name, int heightPixels, TColor color, bool bold = false, bool italic = false);

// The font as it is when the text fits in `width` pixels; otherwise the same font with its
// glyphs condensed, step by step, until it fits (or to half their width at most). Condensing keeps
// the height and the look of a number that has grown a digit too many for its box.
TFont FittingFont(TFont font, const QString& text, int width);

// Maps the layouts' face names onto the Liberation faces; safe to call more than once.
void RegisterFontSubstitutions();

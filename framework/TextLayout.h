#pragma once
// Formatted text in a rectangle with the meaning of the classic DrawText flags: alignment,
// word breaking, tab expansion, '&' prefixes and single-line vertical placement. The layout
// is pure: it takes its measurements from the caller, so it is tested without a font.

#include "framework/Rect.h"

#include <QString>
#include <functional>
#include <vector>

enum TextFormat : unsigned {
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_EXPANDTABS = 0x40,
    DT_NOCLIP = 0x100,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800,
};

struct TextMetrics {
    std::function<int(const QString&)> Width;  // advance of a run of text without tabs
    int LineHeight = 0;
    int AverageCharWidth = 0;
};

struct LaidLine {
    QString Text;                 // prefixes removed; tabs kept when they are expanded
    int X = 0;                    // left of the line's first character
    int Y = 0;                    // top of the line
    std::vector<int> Underlined;  // indexes into Text of the characters a prefix marks
};

struct TextLayoutResult {
    std::vector<LaidLine> Lines;
    int Width = 0;   // widest line
    int Height = 0;  // all lines
};

TextLayoutResult LayoutText(const QString& text, const TRect& rect, unsigned format, const TextMetrics& metrics);

// Width of a line whose tabs advance to the next stop of eight average characters.
int ExpandedWidth(const QString& line, unsigned format, const TextMetrics& metrics);

// Calls draw(x, piece) for each tab-free piece of a laid line at its expanded position.
void ForEachTabPiece(const LaidLine& line, unsigned format, const TextMetrics& metrics,
                     const std::function<void(int x, int firstIndex, const QString& piece)>& draw);

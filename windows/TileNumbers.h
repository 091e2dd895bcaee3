#pragma once
// The board's drawing with the Game menu's "&Numbers" on: each tile carries its home number in a
// badge at its top-left corner, a light figure on a dark box with a light rim, so that the figure
// reads on any picture and the badge stands out on a dark one; and the gap is drawn as a well sunk
// into the board, dark and rimmed, so that no light tile is taken for it. The sizes follow the
// tile's side.

#include <QColor>
#include <QRect>

class QPainter;

// Where the badge of a number of `digits` figures lies on a tile of side `tile`: clear of the
// hint's marker, which rings the tile's edge, and growing more slowly than the tile.
struct TBadge {
    QRect Box;           // in the tile's own pixels
    int FontPixels = 0;  // the height of the figure's font
    int Radius = 0;      // of the box's corners
};
TBadge BadgeLayout(int tile, int digits);

// The badge's inks: the box, its rim and the figure.
inline const QColor kBadgeBox(22, 22, 22);
inline const QColor kBadgeRim(210, 210, 210);
inline const QColor kBadgeFigure(255, 255, 255);

// Draws the home number's badge on a tile of side `tile` whose top-left corner is the painter's
// origin.
void DrawBadge(QPainter& painter, int tile, int number);

// The well in a cell of side `side` (a tile's frame): a rim shaded like a sunken bevel, dark at
// the top and left and light at the bottom and right, around a dark floor that lightens toward the
// bottom as if lit from above.
struct TWell {
    int Rim = 2;
    QColor Shadow;       // the rim's top and left
    QColor Light;        // the rim's bottom and right
    QColor FloorTop;
    QColor FloorBottom;
};
TWell WellLayout(int side);
void DrawWell(QPainter& painter, const QRect& cell);

// The contrast of two colours as the accessibility guidelines measure it: from 1 (the same
// luminance) to 21 (black on white).
double Contrast(const QColor& a, const QColor& b);

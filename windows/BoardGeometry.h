#pragma once
// Where the board's pieces lie in pixels: the layout's tile size and client size for each board
// size, where the tiles and their frames lie on a board panel of any size at least the layout's,
// and the part of the source picture the board shows and the piece of it each tile shows, cut.

#include "framework/Bitmap.h"
#include "framework/Rect.h"

#include <QSize>

constexpr int kPictureSide = 250;  // the board area the tiles share at the layout's size
constexpr int kToolBarHeight = 40;
constexpr int kFrameWidth = 2;  // between a tile's frame and its picture

// Tile side in pixels at the layout's size: trunc(250 / N).
constexpr int TileSize(int n) { return kPictureSide / n; }

// Size of the main window's area under the menu at the layout's size: the tool bar above a
// square board panel. The window is never smaller.
QSize ClientSize(int n);

// The board on a board panel: the tile side, and the top-left corner of the first frame. At the
// layout's size it is the layout's board; on a larger panel the tiles take the largest whole
// side that fits with the layout's margins, and the room left over goes half to each side (an
// odd pixel to the right or the bottom).
struct TBoardGeometry {
    int N = 1;
    int Tile = kPictureSide;
    int Left = 3;
    int Top = 3;

    // From one tile's frame to the next.
    int Stride() const { return Tile + 2 * kFrameWidth; }
    // Frame and picture rectangles of the tile at position p.
    TRect FrameRect(int p) const;
    TRect TileRect(int p) const;
    // Where the peek shows the whole picture, with its frame around it: over the board's frames,
    // exactly.
    TRect PeekRect() const;
    friend bool operator==(const TBoardGeometry&, const TBoardGeometry&) = default;
};
TBoardGeometry BoardGeometry(int n, QSize panel);

// The part of a W x H picture that the board shows: the whole picture, or, with its proportions
// kept, the largest square in its middle (an odd pixel left over lies to the right or bottom).
TRect ShownArea(int pictureWidth, int pictureHeight, bool keepProportions);

// The piece of the shown area, W x H, that the tile at (column, row) shows: a trunc(W / N) x
// trunc(H / N) cut; what lies beyond N whole pieces at the right and bottom is never shown.
TRect SourceRect(int column, int row, int n, const TRect& area);

// The piece of the picture that the tile at (column, row) of an n x n board shows, scaled to a
// square of `side` pixels; cut from the picture's middle square when its proportions are kept.
TBitmap CutPiece(const TBitmap& source, int column, int row, int n, int side, bool keepProportions);

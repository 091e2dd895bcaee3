#pragma once
// Where the board's pieces lie in pixels: the tile size, the frame and picture rectangles of each
// tile on the board panel, the main window's client size, and the piece of the source picture
// each tile shows.

#include "framework/Rect.h"

#include <QSize>

constexpr int kPictureSide = 250;  // the board area the tiles share, whatever the picture
constexpr int kToolBarHeight = 40;

// Tile side in pixels: trunc(250 / N).
constexpr int TileSize(int n) { return kPictureSide / n; }

// Size of the main window's area under the menu: the tool bar above a square board.
QSize ClientSize(int n);

// Frame and picture rectangles of the tile at (column, row) on the board panel.
TRect FrameRect(int column, int row, int n);
TRect TileRect(int column, int row, int n);
// The piece of a W x H picture that the tile at (column, row) shows: a trunc(W / N) x trunc(H / N)
// cut; what lies beyond N whole pieces at the right and bottom is never shown.
TRect SourceRect(int column, int row, int n, int pictureWidth, int pictureHeight);

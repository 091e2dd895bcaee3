#include "windows/BoardGeometry.h"

QSize ClientSize(int n)
{
    // The 5 x 5 layout is two pixels larger each way than the rule that fits the other sizes.
    const int extra = n == 5 ? 2 : 0;
    return QSize(3 * n + 259 + extra, 3 * n + 299 + extra);
}

TRect FrameRect(int column, int row, int n)
{
    const int t = TileSize(n);
    return Bounds(t * (column - 1) + 4 * column - 1, t * (row - 1) + 4 * row - 1, t + 4, t + 4);
}

TRect TileRect(int column, int row, int n)
{
    const int t = TileSize(n);
    return Bounds(t * (column - 1) + 4 * column + 1, t * (row - 1) + 4 * row + 1, t, t);
}

TRect SourceRect(int column, int row, int n, int pictureWidth, int pictureHeight)
{
    const int sw = pictureWidth / n, sh = pictureHeight / n;
    return Rect(sw * (column - 1), sh * (row - 1), sw * column, sh * row);
}

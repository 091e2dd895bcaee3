#include "windows/BoardGeometry.h"

#include "game/Board.h"

#include <algorithm>

namespace {

constexpr int kFirstFrame = 3;  // the first frame's distance from the panel's top-left corner

// Room of the layout's board panel around its frames, both sides together.
int LayoutMargins(int n)
{
    return ClientSize(n).width() - n * (TileSize(n) + 2 * kFrameWidth);
}

// Where the first frame starts along a side of `room` pixels: the room the tiles and the
// layout's margins leave goes half before the board, half after it.
int FirstFrame(int n, int room, int tile)
{
    const int spare = room - n * (tile + 2 * kFrameWidth) - LayoutMargins(n);
    return kFirstFrame + std::max(0, spare) / 2;
}

} // namespace

QSize ClientSize(int n)
{
    // The 5 x 5 layout is two pixels larger each way than the rule that fits the other sizes.
    const int extra = n == 5 ? 2 : 0;
    return QSize(3 * n + 259 + extra, 3 * n + 299 + extra);
}

TBoardGeometry BoardGeometry(int n, QSize panel)
{
    const int room = std::min(panel.width(), panel.height());
    const int tile = std::max(TileSize(n), (room - LayoutMargins(n)) / n - 2 * kFrameWidth);
    return {n, tile, FirstFrame(n, panel.width(), tile), FirstFrame(n, panel.height(), tile)};
}

TRect TBoardGeometry::FrameRect(int p) const
{
    return Bounds(Left + Stride() * (ColumnOf(p, N) - 1), Top + Stride() * (RowOf(p, N) - 1), Stride(), Stride());
}

TRect TBoardGeometry::TileRect(int p) const
{
    const TRect frame = FrameRect(p);
    return Rect(frame.Left + kFrameWidth, frame.Top + kFrameWidth, frame.Right - kFrameWidth, frame.Bottom - kFrameWidth);
}

TRect TBoardGeometry::PeekRect() const
{
    return Bounds(Left, Top, N * Stride(), N * Stride());
}

TRect ShownArea(int pictureWidth, int pictureHeight, bool keepProportions)
{
    if (!keepProportions)
        return Rect(0, 0, pictureWidth, pictureHeight);
    const int side = std::min(pictureWidth, pictureHeight);
    return Bounds((pictureWidth - side) / 2, (pictureHeight - side) / 2, side, side);
}

TRect SourceRect(int column, int row, int n, const TRect& area)
{
    const int sw = area.Width() / n, sh = area.Height() / n;
    return Bounds(area.Left + sw * (column - 1), area.Top + sh * (row - 1), sw, sh);
}

TBitmap CutPiece(const TBitmap& source, int column, int row, int n, int side, bool keepProportions)
{
    TBitmap piece(side, side);
    piece.Canvas().StretchMode = TStretchMode::smSmooth;
    const TRect area = ShownArea(source.Width(), source.Height(), keepProportions);
    piece.Canvas().CopyRect(Rect(0, 0, side, side), source.Canvas(), SourceRect(column, row, n, area));
    return piece;
}

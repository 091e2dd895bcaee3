#include "windows/BoardPanel.h"

#include "windows/BoardGeometry.h"

void TTile::ShowPiece(int piece, const TBitmap& picture)
{
    if (piece_ == piece)
        return;
    piece_ = piece;
    SetPicture(picture);
}

TBitmap CutPiece(const TBitmap& source, int column, int row, int n)
{
    const int t = TileSize(n);
    TBitmap piece(t, t);
    piece.Canvas().StretchMode = TStretchMode::smSmooth;
    piece.Canvas().CopyRect(Rect(0, 0, t, t), source.Canvas(), SourceRect(column, row, n, source.Width(), source.Height()));
    return piece;
}

TBoardPanel::TBoardPanel(QWidget* parent) : TPanel(parent) {}

TBoardPanel::~TBoardPanel()
{
    Clear();
}

void TBoardPanel::Build(int n, const TBitmap& source)
{
    Clear();
    n_ = n;
    const int cells = n * n;
    nodes_.resize(size_t(cells));
    for (int p = 1; p <= cells; ++p) {
        TTileNode& node = nodes_[size_t(p - 1)];
        node.Prev = p > 1 ? &nodes_[size_t(p - 2)] : nullptr;
        node.Next = p < cells ? &nodes_[size_t(p)] : nullptr;
        node.Frame = frames_.emplace_back(std::make_unique<TBevel>(this, TBevelStyle::bsRaised)).get();
        node.Frame->setGeometry(FrameRect(ColumnOf(p, n), RowOf(p, n), n).ToQRect());
        node.Frame->show();
    }
    for (TTileNode& node : nodes_) {
        const int p = int(tiles_.size()) + 1;
        pieces_.push_back(CutPiece(source, ColumnOf(p, n), RowOf(p, n), n));
        node.Tile = tiles_.emplace_back(std::make_unique<TTile>(this, p)).get();
        node.Tile->SetStretch(true);
        node.Tile->setGeometry(TileRect(ColumnOf(p, n), RowOf(p, n), n).ToQRect());
        node.Tile->ShowPiece(p, pieces_.back());
        node.Tile->show();
    }
}

void TBoardPanel::Clear()
{
    while (!tiles_.empty()) {
        tiles_.pop_back();
        frames_.pop_back();
    }
    nodes_.clear();
    pieces_.clear();
    n_ = 0;
}

void TBoardPanel::ShowGrid(const TGrid& grid, bool running, int hintedPosition, bool hintDown)
{
    for (TTileNode& node : nodes_) {
        const int p = node.Tile->Position();
        const int piece = grid.AtPosition(p, n_);
        // The gap's cell is hidden during a game; at its end the corner piece is back there.
        const bool shown = piece != 0 || !running;
        if (shown)
            node.Tile->ShowPiece(piece != 0 ? piece : n_ * n_, Piece(piece != 0 ? piece : n_ * n_));
        node.Tile->setVisible(shown);
        node.Frame->setVisible(shown);
        node.Frame->SetStyle(p == hintedPosition && hintDown ? TBevelStyle::bsLowered : TBevelStyle::bsRaised);
    }
}

TTile* TBoardPanel::TileAt(int p) const
{
    return p >= 1 && p <= int(nodes_.size()) ? nodes_[size_t(p - 1)].Tile : nullptr;
}

TBevel* TBoardPanel::FrameAt(int p) const
{
    return p >= 1 && p <= int(nodes_.size()) ? nodes_[size_t(p - 1)].Frame : nullptr;
}

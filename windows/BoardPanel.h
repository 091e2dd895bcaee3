#pragma once
// The board panel `Panel1`: a frame and a picture control for every position of the board, made
// frames first and pictures second so that the panel holds them in that order, each picture
// showing one piece of the source picture. It draws the grid it is given and reports clicks on
// its tiles.

#include "framework/Bevel.h"
#include "framework/Image.h"
#include "framework/Panel.h"
#include "game/Board.h"

#include <memory>
#include <vector>

// A tile's picture control: it knows its position on the board and which piece it shows.
class TTile : public TImage {
    Q_OBJECT
public:
    TTile(QWidget* parent, int position) : TImage(parent), position_(position) {}
    int Position() const { return position_; }
    int Piece() const { return piece_; }  // home number of the piece shown
    // Shows the piece; a tile that shows it already is not drawn again.
    void ShowPiece(int piece, const TBitmap& picture);

private:
    const int position_;
    int piece_ = 0;
};

// One tile of the board: its picture and its frame, linked in position order.
struct TTileNode {
    TTile* Tile = nullptr;
    TBevel* Frame = nullptr;
    TTileNode* Next = nullptr;
    TTileNode* Prev = nullptr;
};

// The piece of the picture that the tile at (column, row) of an n x n board shows, scaled to
// the tile.
TBitmap CutPiece(const TBitmap& source, int column, int row, int n);

class TBoardPanel : public TPanel {
    Q_OBJECT
public:
    explicit TBoardPanel(QWidget* parent);
    ~TBoardPanel() override;

    // Makes the tiles of an n x n board cut from the picture, every piece home and shown.
    void Build(int n, const TBitmap& source);
    // Takes every tile down, the last first.
    void Clear();

    // Shows the grid: every tile the piece the grid puts there; during a game the gap's cell is
    // hidden, otherwise the corner piece is back there. The hinted tile's frame is down when asked.
    void ShowGrid(const TGrid& grid, bool running, int hintedPosition, bool hintDown);

    TTileNode* FirstNode() const { return nodes_.empty() ? nullptr : &nodes_.front(); }
    TTileNode* LastNode() const { return nodes_.empty() ? nullptr : &nodes_.back(); }
    TTile* TileAt(int p) const;
    TBevel* FrameAt(int p) const;
    // The piece with home number `home`, as cut for the board.
    const TBitmap& Piece(int home) const { return pieces_[size_t(home - 1)]; }

private:
    int n_ = 0;
    mutable std::vector<TTileNode> nodes_;  // by position - 1
    std::vector<std::unique_ptr<TBevel>> frames_;
    std::vector<std::unique_ptr<TTile>> tiles_;
    std::vector<TBitmap> pieces_;  // by home number - 1
};

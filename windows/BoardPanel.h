#pragma once
// The board panel `Panel1`: a frame and a picture control for every position of the board, made
// frames first and pictures second so that the panel holds them in that order, each picture
// showing one piece of the source picture. The board fills the panel at whatever size it has;
// pieces are cut from the source at the size they are shown (after a resize, once the size has
// settled; meanwhile the old pieces are drawn scaled). It draws the grid it is given, the marker
// on a hinted tile and the tiles of a move sliding, and reports clicks on its tiles. With numbers
// on, each tile carries its home number and the gap is a well. It takes the keyboard (the window
// moves tiles with the arrow keys) and shows a frame around the board while it has the focus and
// the player uses the keyboard; screen readers see it as a table of its cells.

#include "framework/Bevel.h"
#include "framework/Clock.h"
#include "framework/Image.h"
#include "framework/Panel.h"
#include "game/Board.h"
#include "game/Game.h"
#include "windows/BoardGeometry.h"
#include "windows/TileSlide.h"

#include <memory>
#include <optional>
#include <vector>

// A tile's picture control: it knows its position on the board and which piece it shows, and
// may carry the hint's marker.
class TTile : public TImage {
    Q_OBJECT
public:
    TTile(QWidget* parent, int position) : TImage(parent), position_(position) {}
    int Position() const { return position_; }
    int Piece() const { return piece_; }  // home number of the piece shown
    // Shows the piece; a tile that shows it already is not drawn again.
    void ShowPiece(int piece, const TBitmap& picture);
    bool Marked() const { return marked_; }
    void SetMarked(bool marked);
    // Whether the piece's home number is drawn on it.
    void SetNumbered(bool numbered);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const int position_;
    int piece_ = 0;
    bool marked_ = false;
    bool numbered_ = false;
};

// One tile of the board: its picture and its frame, linked in position order.
struct TTileNode {
    TTile* Tile = nullptr;
    TBevel* Frame = nullptr;
    TTileNode* Next = nullptr;
    TTileNode* Prev = nullptr;
};

// The piece of the picture that the tile at (column, row) of an n x n board shows, scaled to a
// square of `side` pixels; cut from the picture's middle square when its proportions are kept.
TBitmap CutPiece(const TBitmap& source, int column, int row, int n, int side, bool keepProportions);

// Width of each of the marker's two bands on a tile of that side.
int MarkerBand(int tileSide);

// How long a slide takes from now on, in milliseconds, for every board (the end-to-end tests
// slow it down to photograph one on its way).
void SetSlideDuration(int ms);

class TBoardPanel : public TPanel {
    Q_OBJECT
public:
    // Slides and the sharp cut after a resize run on the clock.
    TBoardPanel(QWidget* parent, TClock& clock);
    ~TBoardPanel() override;

    // Makes the tiles of an n x n board cut from the picture, every piece home and shown.
    void Build(int n, const TBitmap& source);
    // Takes every tile down, the last first.
    void Clear();
    // Puts the tiles where the panel's size has them; a new tile size is cut sharp once the size
    // has not changed for a moment.
    void Arrange();
    const TBoardGeometry& Geometry() const { return geometry_; }

    // Shows the grid: every tile the piece the grid puts there; during a game the gap's cell is
    // hidden, otherwise the corner piece is back there. The tile at `markedPosition` carries the
    // hint's marker (0: none). A grid whose gap is not where a running slide left it ends the
    // slide.
    void ShowGrid(const TGrid& grid, bool running, int markedPosition);
    // Shows the tiles of a move just made sliding into the cells the grid now has them in, when
    // slides are on; a slide still running ends at once first.
    void Slide(const TMove& move);
    void FinishSlide();
    bool Sliding() const { return slide_.has_value(); }
    bool Animated() const { return animated_; }
    void SetAnimated(bool animated);
    // Whether a picture that is not square is cut from its middle square rather than squeezed
    // into the board; a change cuts the pieces afresh, the game as it is.
    bool KeepProportions() const { return keepProportions_; }
    void SetKeepProportions(bool keep);
    int MarkedPosition() const;
    // The home numbers on the tiles and the gap as a well.
    bool Numbers() const { return numbers_; }
    void SetNumbers(bool on);
    // The focus frame is drawn: the board has the keyboard focus, and the player uses the keyboard.
    bool FocusShown() const { return hasFocus() && focusSeen_; }

    // The board's cells as the player finds them: the side, the home number of the piece shown
    // at position p (0 for the gap), and a click on it.
    int Side() const { return n_; }
    int PieceShownAt(int p) const;
    void ClickCell(int p);

    TTileNode* FirstNode() const { return nodes_.empty() ? nullptr : &nodes_.front(); }
    TTile* TileAt(int p) const;
    TBevel* FrameAt(int p) const;
    // The piece with home number `home`, as cut for the board.
    const TBitmap& Piece(int home) const { return pieces_[size_t(home - 1)]; }

signals:
    // A slide came to rest, ended early or not.
    void SlideEnded();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // A click on a cell whose tile is on its way (and so lets clicks through) counts for the
    // tile the game has in that cell.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int CellAt(QPoint point) const;
    void Place();
    void Cut();
    void NextFrame();
    int CutSide() const;
    void ShowFocus(bool seen);

    TClock& clock_;
    int n_ = 0;
    TBitmap source_;
    TBoardGeometry geometry_;
    int cutSide_ = 0;  // device pixels of the pieces as cut
    int pressed_ = 0;  // the cell a press on the panel fell in
    mutable std::vector<TTileNode> nodes_;  // by position - 1
    std::vector<std::unique_ptr<TBevel>> frames_;
    std::vector<std::unique_ptr<TTile>> tiles_;
    std::vector<TBitmap> pieces_;  // by home number - 1
    bool animated_ = true;
    bool keepProportions_ = false;
    bool numbers_ = false;
    bool focusSeen_ = false;  // the focus came, or was used, by the keyboard
    int gap_ = 0;  // the gap's cell during a game
    std::optional<TTileSlide> slide_;
    std::unique_ptr<TTimer> frameTimer_;
    std::unique_ptr<TTimer> recutTimer_;
};

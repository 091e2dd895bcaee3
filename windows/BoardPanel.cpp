#include "windows/BoardPanel.h"

#include "framework/Setter.h"
#include "windows/Accessibility.h"
#include "windows/TileNumbers.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr int kFrameMs = 15;   // a frame of a slide
constexpr int kSettleMs = 100;  // a size kept this long is cut sharp
int slideMs = 120;

// The marker's bands: dark outside, light inside, so that one of them stands out on any picture.
const QColor kMarkerDark(24, 24, 24);
const QColor kMarkerLight(236, 236, 236);

} // namespace

void SetSlideDuration(int ms)
{
    slideMs = std::max(0, ms);
}

int MarkerBand(int tileSide)
{
    return std::max(3, tileSide / 12);
}

void TTile::ShowPiece(int piece, const TBitmap& picture)
{
    if (piece_ == piece)
        return;
    piece_ = piece;
    SetPicture(picture);
}

void TTile::SetMarked(bool marked)
{
    if (Assign(marked_, marked))
        update();
}

void TTile::SetNumbered(bool numbered)
{
    if (Assign(numbered_, numbered))
        update();
}

void TTile::paintEvent(QPaintEvent* event)
{
    TImage::paintEvent(event);
    if (!marked_ && !numbered_)
        return;
    QPainter painter(this);
    if (numbered_ && piece_ != 0)
        DrawBadge(painter, std::min(width(), height()), piece_);
    if (!marked_)
        return;
    // A frame of two bands inside the tile's edge, over the picture and the number.
    const int band = MarkerBand(std::min(width(), height()));
    QRect edge = rect();
    for (const QColor& colour : {kMarkerDark, kMarkerLight}) {
        QPainterPath ring;
        ring.addRect(edge);
        edge.adjust(band, band, -band, -band);
        ring.addRect(edge);
        painter.fillPath(ring, colour);
    }
}

TBitmap CutPiece(const TBitmap& source, int column, int row, int n, int side, bool keepProportions)
{
    TBitmap piece(side, side);
    piece.Canvas().StretchMode = TStretchMode::smSmooth;
    const TRect area = ShownArea(source.Width(), source.Height(), keepProportions);
    piece.Canvas().CopyRect(Rect(0, 0, side, side), source.Canvas(), SourceRect(column, row, n, area));
    return piece;
}

TBoardPanel::TBoardPanel(QWidget* parent, TClock& clock) : TPanel(parent), clock_(clock)
{
    setFocusPolicy(Qt::StrongFocus);
    frameTimer_ = clock_.NewTimer(kFrameMs, true, [this] { NextFrame(); });
    recutTimer_ = clock_.NewTimer(kSettleMs, false, [this] { Cut(); });
}

TBoardPanel::~TBoardPanel()
{
    Clear();
}

void TBoardPanel::Build(int n, const TBitmap& source)
{
    Clear();
    n_ = n;
    source_ = source;
    geometry_ = BoardGeometry(n, size());
    const int cells = n * n;
    nodes_.resize(size_t(cells));
    for (int p = 1; p <= cells; ++p) {
        TTileNode& node = nodes_[size_t(p - 1)];
        node.Prev = p > 1 ? &nodes_[size_t(p - 2)] : nullptr;
        node.Next = p < cells ? &nodes_[size_t(p)] : nullptr;
        node.Frame = frames_.emplace_back(std::make_unique<TBevel>(this, TBevelStyle::bsRaised)).get();
        node.Frame->setGeometry(geometry_.FrameRect(p).ToQRect());
        node.Frame->show();
    }
    cutSide_ = CutSide();
    for (TTileNode& node : nodes_) {
        const int p = int(tiles_.size()) + 1;
        pieces_.push_back(CutPiece(source, ColumnOf(p, n), RowOf(p, n), n, cutSide_, keepProportions_));
        node.Tile = tiles_.emplace_back(std::make_unique<TTile>(this, p)).get();
        node.Tile->SetStretch(true);
        node.Tile->setGeometry(geometry_.TileRect(p).ToQRect());
        node.Tile->ShowPiece(p, pieces_.back());
        node.Tile->SetNumbered(numbers_);
        node.Tile->show();
        connect(node.Tile, &TImage::Click, this, [this] { ShowFocus(false); });  // the mouse is in use
    }
    TellBoardRebuilt(this);
}

void TBoardPanel::Clear()
{
    slide_.reset();
    frameTimer_->Stop();
    recutTimer_->Stop();
    while (!tiles_.empty()) {
        tiles_.pop_back();
        frames_.pop_back();
    }
    nodes_.clear();
    pieces_.clear();
    source_ = TBitmap();
    n_ = 0;
    gap_ = 0;
}

void TBoardPanel::resizeEvent(QResizeEvent* event)
{
    TPanel::resizeEvent(event);
    Arrange();
}

void TBoardPanel::Arrange()
{
    if (n_ == 0 || BoardGeometry(n_, size()) == geometry_)
        return;
    FinishSlide();
    geometry_ = BoardGeometry(n_, size());
    Place();
    if (CutSide() != cutSide_)
        recutTimer_->Start();  // meanwhile the pieces as they are, scaled
    else
        recutTimer_->Stop();  // back at the size they were cut for
}

// The side of a piece in device pixels, so that a tile on a screen of a higher density is as
// sharp as the screen.
int TBoardPanel::CutSide() const
{
    return std::max(1, int(std::lround(geometry_.Tile * devicePixelRatioF())));
}

void TBoardPanel::Cut()
{
    cutSide_ = CutSide();
    for (int home = 1; home <= n_ * n_; ++home)
        pieces_[size_t(home - 1)] = CutPiece(source_, ColumnOf(home, n_), RowOf(home, n_), n_, cutSide_, keepProportions_);
    for (const auto& tile : tiles_)
        if (tile->Piece() != 0)
            tile->SetPicture(Piece(tile->Piece()));
}

// Every tile and frame where the geometry has it, those of a slide on their way.
void TBoardPanel::Place()
{
    const double remaining = slide_ ? slide_->Remaining(clock_.Now()) : 0;
    const int stride = geometry_.Stride();
    for (TTileNode& node : nodes_) {
        const int p = node.Tile->Position();
        QPoint back;
        if (slide_ && slide_->Carries(p))
            back = QPoint(slide_->Dx(), slide_->Dy()) * -int(std::lround(remaining * stride));
        node.Frame->setGeometry(geometry_.FrameRect(p).ToQRect().translated(back));
        node.Tile->setGeometry(geometry_.TileRect(p).ToQRect().translated(back));
        node.Tile->setAttribute(Qt::WA_TransparentForMouseEvents, !back.isNull());
    }
}

void TBoardPanel::ShowGrid(const TGrid& grid, bool running, int markedPosition)
{
    if (slide_ && grid.AtPosition(slide_->Gap(), n_) != 0)
        FinishSlide();  // the board moved on without a slide (a solution played home at once)
    std::vector<int> changed;
    int gap = 0;
    for (TTileNode& node : nodes_) {
        const int p = node.Tile->Position();
        const int piece = grid.AtPosition(p, n_);
        const int before = PieceShownAt(p);
        // The gap's cell is hidden during a game; at its end the corner piece is back there.
        const bool shown = piece != 0 || !running;
        if (shown)
            node.Tile->ShowPiece(piece != 0 ? piece : n_ * n_, Piece(piece != 0 ? piece : n_ * n_));
        else
            gap = p;
        node.Tile->setVisible(shown);
        node.Frame->setVisible(shown);
        node.Tile->SetMarked(p == markedPosition);
        if (PieceShownAt(p) != before)
            changed.push_back(p);
    }
    if (std::exchange(gap_, gap) != gap && numbers_)
        update();  // the well moves
    TellCellsChanged(this, changed);
}

void TBoardPanel::Slide(const TMove& move)
{
    FinishSlide();
    if (!animated_ || n_ == 0 || slideMs == 0)
        return;
    slide_.emplace(move, n_, clock_.Now(), slideMs);
    frameTimer_->Start();
    Place();
}

void TBoardPanel::NextFrame()
{
    if (slide_ && slide_->Over(clock_.Now()))
        FinishSlide();
    else
        Place();
}

void TBoardPanel::FinishSlide()
{
    if (!slide_)
        return;
    slide_.reset();
    frameTimer_->Stop();
    Place();
    emit SlideEnded();
}

void TBoardPanel::SetAnimated(bool animated)
{
    animated_ = animated;
    if (!animated)
        FinishSlide();
}

void TBoardPanel::SetKeepProportions(bool keep)
{
    if (Assign(keepProportions_, keep) && n_ != 0)
        Cut();
}

void TBoardPanel::SetNumbers(bool on)
{
    if (!Assign(numbers_, on))
        return;
    for (const auto& tile : tiles_)
        tile->SetNumbered(on);
    update();
}

int TBoardPanel::PieceShownAt(int p) const
{
    const TTile* tile = TileAt(p);
    return tile && !tile->isHidden() ? tile->Piece() : 0;
}

void TBoardPanel::ClickCell(int p)
{
    if (TTile* tile = TileAt(p))
        emit tile->Click(tile);
}

void TBoardPanel::paintEvent(QPaintEvent* event)
{
    TPanel::paintEvent(event);
    if ((!numbers_ || gap_ == 0) && !FocusShown())
        return;
    QPainter painter(this);
    if (numbers_ && gap_ != 0)
        DrawWell(painter, geometry_.FrameRect(gap_).ToQRect());
    if (FocusShown()) {
        // Two pixels in the highlight's colour between the panel's edge and the frames.
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.drawRect(QRectF(geometry_.PeekRect().ToQRect()).adjusted(-1, -1, 1, 1));
    }
}

// Keys on the board, its shortcuts included, show the focus; the mouse hides it.
bool TBoardPanel::event(QEvent* event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)
        ShowFocus(true);
    return TPanel::event(event);
}

void TBoardPanel::focusInEvent(QFocusEvent* event)
{
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason)
        ShowFocus(true);
    else if (reason == Qt::MouseFocusReason)
        ShowFocus(false);
    update();
    TPanel::focusInEvent(event);
}

void TBoardPanel::focusOutEvent(QFocusEvent* event)
{
    update();
    TPanel::focusOutEvent(event);
}

void TBoardPanel::ShowFocus(bool seen)
{
    if (Assign(focusSeen_, seen) && hasFocus())
        update();
}

int TBoardPanel::MarkedPosition() const
{
    for (const auto& tile : tiles_)
        if (tile->Marked() && tile->isVisibleTo(this))
            return tile->Position();
    return 0;
}

int TBoardPanel::CellAt(QPoint point) const
{
    for (int p = 1; p <= n_ * n_; ++p)
        if (geometry_.TileRect(p).Contains(point.x(), point.y()))
            return p;
    return 0;
}

void TBoardPanel::mousePressEvent(QMouseEvent* event)
{
    ShowFocus(false);
    pressed_ = event->button() == Qt::LeftButton ? CellAt(event->position().toPoint()) : 0;
    TPanel::mousePressEvent(event);
}

void TBoardPanel::mouseReleaseEvent(QMouseEvent* event)
{
    TPanel::mouseReleaseEvent(event);
    const int cell = std::exchange(pressed_, 0);
    if (cell != 0 && event->button() == Qt::LeftButton && cell == CellAt(event->position().toPoint()))
        emit TileAt(cell)->Click(TileAt(cell));
}

TTile* TBoardPanel::TileAt(int p) const
{
    return p >= 1 && p <= int(nodes_.size()) ? nodes_[size_t(p - 1)].Tile : nullptr;
}

TBevel* TBoardPanel::FrameAt(int p) const
{
    return p >= 1 && p <= int(nodes_.size()) ? nodes_[size_t(p - 1)].Frame : nullptr;
}

#include "windows/PeekPanel.h"

#include "framework/Bevel.h"
#include "framework/Image.h"
#include "framework/Setter.h"
#include "windows/BoardPanel.h"
#include "windows/DialogLayout.h"

#include <cmath>

TPeekPanel::TPeekPanel(QWidget* parent) : TPanel(parent)
{
    SetBevelOuter(TPanelBevel::bvLowered);
    frame_ = new TBevel(this, TBevelStyle::bsRaised);
    image_ = Named(new TImage(this), "PeekImage");
    image_->SetStretch(true);
    hide();
}

void TPeekPanel::SetShown(bool shown, const TBitmap& source, const TBoardGeometry& board)
{
    if (shown == isVisibleTo(parentWidget()))
        return;
    if (!shown) {
        hide();
        return;
    }
    source_ = source;
    image_->SetPicture(TBitmap());  // cut afresh
    raise();
    show();
    Follow(board);
}

void TPeekPanel::Follow(const TBoardGeometry& board)
{
    board_ = board;
    if (!isVisibleTo(parentWidget()))
        return;
    const QRect frame = board.PeekRect().ToQRect();
    const QRect picture = frame.adjusted(kFrameWidth, kFrameWidth, -kFrameWidth, -kFrameWidth);
    frame_->setGeometry(frame);
    image_->setGeometry(picture);
    const int side = std::max(1, int(std::lround(picture.width() * devicePixelRatioF())));
    if (image_->Picture().Width() != side)
        image_->SetPicture(CutPiece(source_, 1, 1, 1, side, keepProportions_));
}

void TPeekPanel::SetKeepProportions(bool keep)
{
    if (!Assign(keepProportions_, keep) || !isVisibleTo(parentWidget()))
        return;
    image_->SetPicture(TBitmap());  // cut afresh
    Follow(board_);
}

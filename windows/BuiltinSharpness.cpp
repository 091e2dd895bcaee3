#include "windows/BuiltinSharpness.h"

#include "art/BuiltinPicture.h"
#include "game/Session.h"
#include "windows/BoardPanel.h"
#include "windows/ClientArea.h"

#include <algorithm>
#include <cmath>

namespace {

// Drawings are made a step larger than the board needs, so that a window being dragged larger
// is not drawn for again at every pixel.
constexpr int kDrawingStep = 64;
// Shown up to this much larger, the designed picture is scaled: the difference is not to be seen.
constexpr double kLeastEnlargement = 1.2;

} // namespace

TBuiltinSharpness::TBuiltinSharpness(QObject* parent, const TSession& session, TBoardPanel* board)
    : QObject(parent), session_(session), board_(board)
{
}

TBuiltinSharpness::~TBuiltinSharpness()
{
    if (drawing_.valid())
        drawing_.wait();
}

// The side in device pixels of the picture on the board's tiles.
int TBuiltinSharpness::NeededSide() const
{
    const TBoardGeometry& board = board_->Geometry();
    const int shown = int(std::lround(board.N * board.Tile * board_->devicePixelRatioF()));
    return std::min((shown + kDrawingStep - 1) / kDrawingStep * kDrawingStep, std::max(shown, LargestBoardSide()));
}

void TBuiltinSharpness::BoardBuilt()
{
    shown_ = false;
    Follow();
}

void TBuiltinSharpness::Show(const QImage& picture)
{
    board_->SetSource(TBitmap(picture));
    emit Sharpened();
}

void TBuiltinSharpness::Follow()
{
    if (!IsBuiltinPicture(session_.Picture()))
        return;
    const int needed = NeededSide();
    if (needed < kLeastEnlargement * session_.Picture().width()) {  // the designed picture, exactly as designed
        if (std::exchange(shown_, false))
            Show(session_.Picture());
        return;
    }
    if (sharp_.width() >= needed) {
        if (!std::exchange(shown_, true))
            Show(sharp_);
        return;
    }
    if (drawing_.valid())
        return;  // once it is there, a larger one if still needed
    drawing_ = std::async(std::launch::async, [this, needed] {
        QImage drawn = MakeBuiltinPicture(needed);
        QMetaObject::invokeMethod(this, &TBuiltinSharpness::Arrived, Qt::QueuedConnection);
        return drawn;
    });
}

void TBuiltinSharpness::Arrived()
{
    if (!drawing_.valid())
        return;  // taken already by a wait
    sharp_ = drawing_.get();
    shown_ = false;
    Follow();
}

void TBuiltinSharpness::WaitForDrawing()
{
    while (drawing_.valid())
        Arrived();
}

#pragma once
// The peek `PeekPanel`: the whole picture over the board, in a raised frame on a lowered panel as
// the 1 x 1 board shows it, as large as the board under it and cut at that size.

#include "framework/Bitmap.h"
#include "framework/Panel.h"
#include "windows/BoardGeometry.h"

class TBevel;
class TImage;

class TPeekPanel : public TPanel {
    Q_OBJECT
public:
    explicit TPeekPanel(QWidget* parent);  // hidden until shown

    // Shows the whole picture over the board, raised above it, where the board's geometry puts
    // the peek; or hides it.
    void SetShown(bool shown, const TBitmap& source, const TBoardGeometry& board);
    // Follows the board to a new geometry while shown.
    void Follow(const TBoardGeometry& board);

private:
    TBevel* frame_;
    TImage* image_;
    TBitmap source_;
};

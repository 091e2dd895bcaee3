#pragma once
// The peek `PeekPanel`: the whole picture over the board, in a raised frame on a lowered panel as
// the 1 x 1 board shows it, over exactly the board's frames and cut at that size.

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
    // The picture's middle square, as the board cuts it when its proportions are kept.
    void SetKeepProportions(bool keep);

private:
    TBevel* frame_;
    TImage* image_;
    TBitmap source_;
    TBoardGeometry board_;
    bool keepProportions_ = false;
};

#pragma once
// The main window's area under the menu, `Client`: the tool bar `Panel2` across the top with the
// clock at its right, the board panel `Panel1` filling the rest, and the peek over the board. It
// is never smaller than the layout of its board size, and whatever room the window gives it goes
// to the board.

#include <QWidget>

class TBoardPanel;
class TClock;
class TPanel;
class TPeekPanel;

class TClientArea : public QWidget {
    Q_OBJECT
public:
    // Makes the board panel (slides and cuts on the clock), the peek and the tool bar, in this
    // order, as children.
    TClientArea(QWidget* parent, TClock& clock);

    TBoardPanel* Board() const { return board_; }
    TPeekPanel* Peek() const { return peek_; }
    TPanel* ToolBar() const { return toolBar_; }
    // The clock, kept at the tool bar's right end.
    void KeepAtRight(QWidget* clock) { clock_ = clock; }

    // A board of n x n comes: the layout of that size is the least the window may have, and a
    // window that had its layout's size takes the new layout's (the size it has at the start); a
    // larger one keeps its size, maximised and full screen included.
    void FitBoard(int n);
    QSize sizeHint() const override { return minimumSize(); }

signals:
    // The parts have their places for the area's size.
    void Arranged();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Arrange();

    TBoardPanel* board_;
    TPeekPanel* peek_;
    TPanel* toolBar_;
    QWidget* clock_ = nullptr;
};

// The side, in device pixels, of the largest board that any screen now attached can show.
int LargestBoardSide();

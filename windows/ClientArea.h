#pragma once
// The main window's area under the menu, `Client`: the tool bar `Panel2` across the top with the
// clock at its right, the board panel `Panel1` filling the rest, the peek over the board, and,
// when shown, the status line `Panel3` across the bottom. It is never smaller than the layout of
// its board size (with the status line's height), and whatever room the window gives it goes to
// the board. The sizes it gives the window keep within the window's screen.

#include <QWidget>

class QLabel;
class TBoardPanel;
class TClock;
class TPanel;
class TPeekPanel;

constexpr int kStatusLineHeight = 20;

class TClientArea : public QWidget {
    Q_OBJECT
public:
    // Makes the board panel (slides and cuts on the clock), the peek, the tool bar and the status
    // line (hidden), in this order, as children.
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

    // Shows or hides the status line: the window grows or shrinks by its height and the board
    // keeps its size, unless the window cannot (maximised, full screen), where the board gives
    // the room.
    void SetStatusLineShown(bool shown);
    bool StatusLineShown() const { return statusShown_; }
    void ShowStatus(const QString& text);

signals:
    // The parts have their places for the area's size.
    void Arranged();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QSize LeastSize() const;
    void ApplyLeastSize();
    void ResizeWindow(QSize wanted, QSize own);
    void Arrange();
    void FitStatus();

    TBoardPanel* board_;
    TPeekPanel* peek_;
    TPanel* toolBar_;
    TPanel* status_;
    QLabel* statusText_;
    QString statusWhole_;  // the status line's text, which the label may show cut
    QWidget* clock_ = nullptr;
    int n_ = 5;
    bool statusShown_ = false;
};

// The side, in device pixels, of the largest board that any screen now attached can show.
int LargestBoardSide();

#pragma once
// The built-in picture as sharp as the board shows it. The window starts with the picture at its
// designed 250 pixels; once the board shows it noticeably larger, it is drawn again at the
// board's size on another thread, and the board's pieces (and the peek, cut from the board's
// picture) are cut from that drawing without touching the game. Near the layout's size the board
// shows the designed picture again.

#include <QImage>
#include <QObject>
#include <future>

class TBoardPanel;
class TSession;

class TBuiltinSharpness : public QObject {
    Q_OBJECT
public:
    TBuiltinSharpness(QObject* parent, const TSession& session, TBoardPanel* board);
    ~TBuiltinSharpness() override;  // waits for a drawing on its way

    // The board was built afresh from the session's picture.
    void BoardBuilt();
    // The board may have changed its size: draws the picture larger where it now needs it.
    void Follow();
    // For tests: waits for the drawings on their way and takes them.
    void WaitForDrawing();

signals:
    // The board was given another drawing of the picture.
    void Sharpened();

private:
    int NeededSide() const;
    void Show(const QImage& picture);
    void Arrived();

    const TSession& session_;
    TBoardPanel* board_;
    QImage sharp_;  // the largest drawing yet
    bool shown_ = false;  // the board is cut from it, not from the designed picture
    std::future<QImage> drawing_;
};

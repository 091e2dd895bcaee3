#pragma once
// How the main window shows the game, switched from the end of the Game menu: "&Animation" (the
// tiles' slides, on at first) and "&Full Screen" (F11; Escape leaves it too, only while full
// screen), both always enabled and checked while on. It follows the window's state as the desktop
// changes it (maximised, full screen) and tells of every change.

#include <QObject>

class QAction;
class QMenu;
class QWidget;
class TBoardPanel;

class TWindowModes : public QObject {
    Q_OBJECT
public:
    TWindowModes(QWidget* window, QMenu* gameMenu, TBoardPanel* board);

    QAction* Animation() const { return animation_; }
    QAction* FullScreen() const { return fullScreen_; }

signals:
    // The window's state or a switch changed.
    void Changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetFullScreen(bool on);

    QWidget* window_;
    QAction* animation_;
    QAction* fullScreen_;
    QAction* leaveFullScreen_;
};

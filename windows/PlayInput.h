#pragma once
// The player's input on the main window that is no menu command, handed to the play session:
// the arrow keys and Space on the board (kept from every shortcut; Space is told apart when
// pressed, held and let go), a picture file dropped on the window, the window losing the keyboard
// (which ends a peek), and, while a given-up game plays itself home, any key or click anywhere in
// the program, which only ends the playback (or, while its solution is still sought, has it end
// as soon as it is there).

#include <QObject>

class QWidget;
class TSession;

class TPlayInput : public QObject {
    Q_OBJECT
public:
    // Watches the window from now on; the window takes dropped files.
    TPlayInput(QWidget* window, TSession& session);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool BoardKey(QEvent* event);
    bool Dropped(QEvent* event);
    void FollowSolving();

    QWidget* window_;
    TSession& session_;
    bool everywhere_ = false;  // watching the whole program during a solve's playback
};

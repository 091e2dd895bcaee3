#pragma once
// "Pause When &Away", a switch of the Game menu: off at first, so that the clock runs
// on whatever the window does, and kept in the settings. While it is on, a game the player is
// playing pauses, exactly as the Pause command pauses it, when the window is minimised or another
// window takes the keyboard from it; the player goes on with Pause. A dialog of the game's own
// opening over the window (a question, the open dialog, the scores) takes nobody away: it holds
// the game up itself.

#include <QObject>

class QAction;
class QMenu;
class QWidget;
class TSession;
class TSettings;

class TAwayPause : public QObject {
    Q_OBJECT
public:
    // Puts the switch into the Game menu after the item `after`.
    TAwayPause(QWidget* window, QMenu* gameMenu, QAction* after, TSession& session, TSettings& settings);
    QAction* Switch() const { return switch_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    TSession& session_;
    QAction* switch_;
};

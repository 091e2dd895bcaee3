#pragma once
// The main window's part in keeping its game between runs (game/KeptGame.h): the game in progress
// is kept when the window closes (Exit, its close button, Alt+F4, a signal to end, which closes
// it), when the desktop's session manager asks the program to save its work before a logout, and
// when the program quits; none of these asks the player anything. At the start the kept game is
// taken up again, with the Keep Proportions switch it was kept with.

#include "game/KeptGame.h"

#include <QObject>

class QWidget;
class TSession;
class TWindowModes;

class TGameKeeping : public QObject {
    Q_OBJECT
public:
    // Keeps to `path` (TGameKeeper::DefaultPath() unless told otherwise).
    TGameKeeping(QWidget* window, TSession& session, TWindowModes& modes, const QString& path = TGameKeeper::DefaultPath());

    // Takes the kept game up again; false when none comes back.
    bool Resume();
    // Keeps the game in progress now.
    void Keep();

signals:
    // A kept game that cannot come back, or not on its picture: to be told once the window shows.
    void Problem(const QString& message);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    TWindowModes& modes_;
    TGameKeeper keeper_;
};

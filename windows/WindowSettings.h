#pragma once
// The main window's settings kept between runs (game/Settings.h): taken when the window is made
// (the board size, the Game menu's switches, the window's place and size, maximised or full
// screen; the picture when asked, for a start that names none), and written as each changes:
// the size and the picture with every new board (or the picture shown, when one asked for cannot
// be used), the switches as they are toggled, the window's state as it changes, and its place and
// size once they have settled and when it closes.

#include "game/Settings.h"

#include <QObject>
#include <memory>

class QWidget;
class TClock;
class TSession;
class TTimer;
class TWindowModes;

class TWindowSettings : public QObject {
    Q_OBJECT
public:
    // Reads the settings file and applies it to the window, its session and its switches.
    TWindowSettings(QWidget* window, TSession& session, TWindowModes& modes, TClock& clock);
    ~TWindowSettings() override;

    // Begins reading the picture shown when the window was left, if it was a file's.
    void OpenRememberedPicture();
    // The window was put where it was left, so it is not to be centred.
    bool Placed() const { return placed_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Apply(TWindowModes& modes);
    void KeepGeometry();

    QWidget* window_;
    TSession& session_;
    TSettings settings_;
    bool placed_ = false;
    std::unique_ptr<TTimer> settle_;  // the place and size are written once they stay a moment
};

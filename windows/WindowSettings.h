#pragma once
// The main window's settings kept between runs (game/Settings.h): taken when the window is made
// (the board size, the Game menu's switches, the window's place and size, maximised or full
// screen; the picture when asked, for a start that names none), and written as each changes:
// the size and the picture with every new board (or the picture shown, when one asked for cannot
// be used), the switches as they are toggled, the window's state as it changes, and its place and
// size once they have settled and when it closes. The place and size come back, and are written,
// only within the screen (windows/WindowBounds.h); maximised and full screen are kept as states,
// over the place and size the window has when it is neither. The window first on the screen keeps its place
// and size; one opened while it is there comes offset from it (windows/WindowSlot.h) and leaves
// the place where the game comes back as it is.

#include "game/Settings.h"
#include "windows/WindowSlot.h"

#include <QObject>
#include <QRect>
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
    // At the window's first showing: where it was left, or else in the middle of the screen,
    // offset from the game's windows already there.
    void PlaceOnFirstShow();
    // The settings the window's commands keep.
    TSettings& Settings() { return settings_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Apply(TWindowModes& modes);
    void Settled();
    void KeepGeometry();

    QWidget* window_;
    TSession& session_;
    TSettings settings_;
    bool placed_ = false;
    TWindowSlot slot_;
    std::unique_ptr<TTimer> settle_;  // the place and size are written once they stay a moment
    int frameChecks_ = 0;  // how many more times a frame not yet known is looked for
    QRect asked_;  // the last place and size asked of the desktop to bring the window within its screen
};

#pragma once
// The application's hint machinery and its hint window.
//
// A hint window is a frameless top-level window that takes neither focus nor mouse input. The
// application keeps one at a time, made from the installed hint window class while hints are
// switched on. Until a class is installed the desktop's own tool tips show the controls' hints;
// from then on the machinery swallows them and shows its own window instead: when the mouse has
// rested on a control whose hint is switched on for the hint pause, it measures the text in the
// window's canvas font and asks the window to show it. Key presses, clicks, leaving the control,
// a change of the active window and the hide pause end the hint.

#include "framework/Canvas.h"
#include "framework/Colors.h"
#include "framework/Rect.h"

#include <QString>
#include <QWidget>
#include <optional>

class THintWindow : public QWidget {
    Q_OBJECT
public:
    THintWindow();

    // The canvas whose font the application measures hint texts with.
    TCanvas& Canvas() { return canvas_; }
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    QString Caption() const { return windowTitle(); }

    // Shows the text; rect is the measured text rectangle in screen pixels, 6 pixels wider and
    // 2 higher than the text, at the position the application suggests.
    virtual void ActivateHint(const TRect& rect, const QString& text);
    // The point on the screen the hint is about: where the program pointed it, else the mouse.
    QPoint Pointer() const;
    void SetPointer(const QPoint& globalPos) { pointer_ = globalPos; }

protected:
    // Plain hint: the text on the window's colour inside a one-pixel black frame.
    void paintEvent(QPaintEvent* event) override;

private:
    TCanvas canvas_;
    TColor color_ = clInfoBk;
    std::optional<QPoint> pointer_;
};

// The replaceable hint window class: makes a new window of the class.
using THintWindowClass = THintWindow* (*)();
template <class Window>
THintWindow* NewHintWindow()
{
    return new Window;
}

constexpr int kDefaultHintPause = 500;
constexpr int kHintShortPause = 50;    // from one hint straight to the next control's hint
constexpr int kHintHidePause = 2500;   // how long a hint stays

// Installing a class does not replace a window that exists: switching hints off and on does.
void SetHintWindowClass(THintWindowClass windowClass);
THintWindowClass HintWindowClass();

// Switching hints on creates a hint window of the installed class (if one is installed) and gives
// it the hint colour; switching them off destroys it. On at start.
void SetShowHints(bool on);
bool ShowHints();

// Milliseconds the mouse must rest on a control before its hint shows.
void SetHintPause(int milliseconds);
int HintPause();

// The colour each new hint window is given.
void SetHintColor(TColor color);
TColor HintColor();

// The application's hint window, or null.
THintWindow* HintWindow();

// The control whose hint is due or showing, or null.
QWidget* HintControl();
// The pause after which the due hint shows, or -1 when no hint is due.
int DueHintPause();
// Shows the due hint at once, as the end of its pause would; false when none is due.
bool ShowDueHint();
// Hides the showing hint at once, as the end of the hide pause would; false when none shows.
bool HideDueHint();
// While the clock is stopped the pauses are only recorded, and ShowDueHint and HideDueHint end
// them: tests drive the hints without waiting. Running at start.
void SetHintClockRunning(bool running);
// Hides the hint and forgets the control: its hint is due again after the next mouse move.
void CancelHint();
// Shows a word for the player at once in the hint window, pointing at `globalPos` (beside the
// control it is about, wherever the mouse is): not a control's hint, it goes like one, at the
// next key or click or after the hide pause. False without a hint window.
bool ShowHintAt(const QPoint& globalPos, const QString& text);

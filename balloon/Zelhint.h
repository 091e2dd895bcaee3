#pragma once
// The hint manager and its balloon hint window. Placing a TZelHint on the main window makes
// every hint of the application show in a TNewHint: a speech balloon with a dithered shadow
// whose pointer touches the mouse, floating over whatever lies beneath it.

#include "framework/Font.h"
#include "framework/HintWindow.h"
#include "balloon/HintBalloon.h"
#include "balloon/HintPlacement.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

// Lets the program choose the direction of one hint: it gets the control under the mouse (or
// null) and may change the direction.
using TOnSelectHintDirection = std::function<void(QWidget* HintControl, THintDirection& HintDirection)>;

class TZelHint : public QObject {
    Q_OBJECT
public:
    // Installs TNewHint as the application's hint window class, replaces the hint window and sets
    // the hint pause; the owner is the window the manager is placed on, normally the main window.
    explicit TZelHint(QObject* owner);

    // Colours and direction are read by the hint window at each hint.
    THintDirection HintDirection() const { return hintDirection_; }
    void SetHintDirection(THintDirection direction);
    TColor HintColor() const { return hintColor_; }
    void SetHintColor(TColor color);
    TColor HintShadowColor() const { return hintShadowColor_; }
    void SetHintShadowColor(TColor color);
    const TFont& HintFont() const { return hintFont_; }
    // Copies the font and brings it into a new hint window, which measures the next hints in it.
    void SetHintFont(const TFont& font);
    int HintPauseTime() const { return hintPauseTime_; }
    void SetHintPauseTime(int milliseconds);
    const TOnSelectHintDirection& OnSelectHintDirection() const { return onSelectHintDirection_; }
    void SetOnSelectHintDirection(TOnSelectHintDirection handler);

    // For a window that sets the font in place after building its layout: installs the balloon
    // window again and brings the font into it.
    void Loaded();
    // The desktop's fonts changed: the hint window is made again with the font.
    void FontChanged();

    // Replaces the application's hint window by a new one of the installed class (with hints
    // switched off it stays without one).
    void RecreateHintWindow();
    // Gives the application's balloon window the hint font; without one it does nothing.
    void ApplyHintFont();

    // What a hint is drawn in when no manager is placed on the main window.
    static THintLook DefaultLook();

private:
    THintDirection hintDirection_ = THintDirection::hdUpRight;
    TColor hintColor_;
    TColor hintShadowColor_;
    TFont hintFont_;
    int hintPauseTime_ = 600;
    TOnSelectHintDirection onSelectHintDirection_;
};

// How the balloon floats over the desktop: over a copy of the screen taken as it shows, or in a
// translucent window where the desktop composes the windows (no program may read the screen).
enum class TBalloonBackdrop { bbScreenCopy, bbTranslucent };

TBalloonBackdrop BalloonBackdrop();
// Takes effect for the hint windows made after it.
void SetBalloonBackdrop(TBalloonBackdrop backdrop);

class TNewHint : public THintWindow {
    Q_OBJECT
public:
    TNewHint();

    // Finds the manager, places the balloon by the mouse, takes the picture beneath it and shows
    // the window there; rect gives only the text's size.
    void ActivateHint(const TRect& rect, const QString& text) override;

    // The manager found at the last activation (null when there was none or it is gone).
    TZelHint* Manager() const { return manager_; }
    // The direction the last hint opened in, after any turn at the screen's edges.
    THintDirection ShownDirection() const { return shownDirection_; }
    // The picture the window shows: the screen beneath it, with the balloon once it has painted.
    const QImage& HintPicture() const { return hintPicture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    THintLook Look() const;

    QPointer<TZelHint> manager_;
    THintDirection shownDirection_ = THintDirection::hdUpRight;
    // Lives from one activation to the next, so the window can paint again at any time.
    QImage hintPicture_;
};

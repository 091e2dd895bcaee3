#pragma once
// How the main window shows the game, switched from the end of the Game menu: "&Animation" (the
// tiles' slides, on at first), "&Full Screen" (F11; Escape leaves it too, only while full
// screen), "&Status Line" (a line of the game's moves and state under the board) and "&Keep
// Proportions" (a picture that is not square cut from its middle square rather than squeezed),
// "&Numbers" (each tile's home number on it, the gap a well; off at first) and "&Sound" (a click
// for each slide and a chime for a finished picture; on at first), all always enabled and checked
// while on; and the "&Language" submenu: "&Automatic" (the locale's), "Русский" or "English", one
// of them checked, applied at once to every window. It follows the window's state as the desktop
// changes it (maximised, full screen) and tells of every change.

#include "framework/Language.h"

#include <QObject>
#include <array>
#include <functional>

class QAction;
class QMenu;
class QWidget;
class TClientArea;
class TGameSounds;

class TWindowModes : public QObject {
    Q_OBJECT
public:
    TWindowModes(QWidget* window, QMenu* gameMenu, TClientArea* client, TGameSounds* sounds);

    QAction* Animation() const { return animation_; }
    QAction* FullScreen() const { return fullScreen_; }
    QAction* StatusLine() const { return statusLine_; }
    QAction* KeepProportions() const { return keepProportions_; }
    QAction* Numbers() const { return numbers_; }
    QAction* Sound() const { return sound_; }
    // The language chosen in the menu; the program speaks it from then on.
    void SetLanguage(TLanguage language);

signals:
    // The player chose another language.
    void LanguageChosen(TLanguage language);
    // The window's state or a switch changed.
    void Changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetFullScreen(bool on);
    QAction* AddSwitch(QMenu* menu, const char* name, const char* caption, bool on, const std::function<void(bool)>& apply);
    void AddLanguageMenu(QMenu* gameMenu);

    QWidget* window_;
    QAction* animation_;
    QAction* fullScreen_;
    QAction* leaveFullScreen_;
    QAction* statusLine_;
    QAction* keepProportions_;
    QAction* numbers_;
    QAction* sound_;
    std::array<QAction*, 3> languages_{};  // by TLanguage
};

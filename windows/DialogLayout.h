#pragma once
// What the game's windows share in their layouts: the dialog frame, labels, the OK button,
// centring on the screen or on the main window, and the room a window has on its screen.

#include "framework/Font.h"
#include "windows/WindowBounds.h"

#include <QRect>
#include <QString>

class QDialog;
class QLabel;
class QPushButton;
class QWidget;

// The component with its layout name, by which tests find it too.
template <typename T>
T* Named(T* component, const char* name)
{
    component->setObjectName(QLatin1String(name));
    return component;
}

// A fixed dialog frame with only the system menu, the given client size and the layouts' font.
// The caption, like every source text handed to the layouts' functions, is translated in the
// context of the dialog's class (the class whose QT_TR_NOOP marks it).
void SetUpDialog(QDialog* dialog, const char* name, const char* caption, int clientWidth, int clientHeight);

// A label in the font and its colour (grey while disabled); it widens to its text where a
// substitute face runs wider than the face the layout was measured in.
QLabel* MakeLabel(QWidget* parent, const char* name, const QRect& bounds, const QString& caption, const TFont& font,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop);
// The same with a source text of the parent's class, put in the language in force now and at
// every change of language.
QLabel* MakeLabel(QWidget* parent, const char* name, const QRect& bounds, const char* caption, const TFont& font,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop);

// The dialog's "Ok" button, `Button1`, with its hint; it is the default button.
QPushButton* MakeOkButton(QDialog* dialog, const QRect& bounds);

// Moves a window to the middle of the screen it is on.
void CentreOnScreen(QWidget* window);
// Moves a dialog to the middle of the window it belongs to, the main window, wherever that is
// (of the screen, for a dialog of no window); each dialog does so every time it shows.
void CentreOnMainWindow(QDialog* dialog);

// What the window is given on the screen it is on (windows/WindowBounds.h): that screen's area
// for windows, the frame the desktop gave it (once it has been shown), its layout's least size.
TWindowRoom RoomOf(const QWidget* window);

#pragma once
// The application object's own state: which window is the main one (the first window the
// program creates; the program ends when it closes); and the look that every window of the
// program shares, whatever the desktop says.

#include <QPalette>
#include <string>

class QWidget;

void SetMainForm(QWidget* form);
QWidget* MainForm();

// The light colours the windows were designed in: black text on a light face.
QPalette LightPalette();
// The Fusion style with the light palette, under any desktop theme, light or dark.
void UseLightLook();

// Qt ends the program with a fatal message and an abort when its window system cannot start (no
// display, or one that is not there). Around the making of the application, between these two
// calls, such a start ends instead with `answer` on standard error, Qt's own warnings and fatal
// message indented under it, and status 1; Qt's other messages are held back until the start has
// succeeded.
void AnswerFailedStartWith(std::string answer);
void ApplicationStarted();

#pragma once
// The application object's own state: which window is the main one (the first window the
// program creates; the program ends when it closes); and the look and language that every
// window of the program shares, whatever the desktop says.

#include <QPalette>

class QWidget;

void SetMainForm(QWidget* form);
QWidget* MainForm();

// The light colours the windows were designed in: black text on a light face.
QPalette LightPalette();
// The Fusion style with the light palette, under any desktop theme, light or dark.
void UseLightLook();
// Qt's own texts (file dialog, standard buttons, context menus) in Russian, like the game's;
// false when Qt's Russian translation is not installed.
bool UseRussianQtTexts();

#pragma once
// The tool buttons' glyphs, drawn at start-up: strips of 16 x 16 images for the button states.

#include <QImage>

QImage StartGlyph();  // normal, disabled, pressed, held
QImage PauseGlyph();  // normal, disabled
QImage OpenGlyph();   // normal, disabled
QImage ExitGlyph();   // normal, disabled

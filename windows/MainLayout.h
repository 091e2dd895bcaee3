#pragma once
// The pieces of the main window's layout: the tool buttons, the clock in the tool bar, the menu
// items, the hint manager with its balloon's colours and font.

#include <QKeySequence>
#include <QString>

class QAction;
class QImage;
class QMenu;
class QWidget;
class TFxLabel;
class TSpeedButton;
class TZelHint;

constexpr int kTimeLabelWidth = 124;

// A 25 x 25 tool button at `left` in the tool bar, with its strip of `glyphs` images and its hint.
TSpeedButton* MakeToolButton(QWidget* toolBar, const char* name, int left, const QImage& glyph, int glyphs,
                             const QString& hint);
// `Label1`: embossed digits in the face colour inside a lowered bevel, redrawn at once (no effect).
TFxLabel* MakeClockLabel(QWidget* toolBar);
// Shows the seconds in the clock; a time too long for the label is condensed to fit.
void ShowTime(TFxLabel* clock, int seconds);
// `ZelHint1`: from now on every hint of the program shows in its balloon.
TZelHint* MakeHintManager(QObject* owner);
QAction* MakeItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut = {});

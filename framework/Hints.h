#pragma once
// A control's hint: its text and its show-hint switch both belong to the control. While the
// switch is off the control shows no hint, whatever its text. Whoever shows hints reads both.

#include <QString>

class QWidget;

void SetHint(QWidget* control, const QString& text);
QString Hint(const QWidget* control);
void SetShowHint(QWidget* control, bool show);
bool ShowHint(const QWidget* control);
// The text to show for the control now: its hint when the switch is on, else nothing. A control
// that was never given a hint here (one of the toolkit's own, in a file dialog say) shows its
// own tool tip.
QString ActiveHint(const QWidget* control);

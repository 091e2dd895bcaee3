#pragma once

class QWidget;

// Moves a window to the middle of the screen it is on.
void CentreOnScreen(QWidget* window);

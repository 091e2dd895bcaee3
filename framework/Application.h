#pragma once
// The application object's own state: which window is the main one (the first window the
// program creates; the program ends when it closes).

class QWidget;

void SetMainForm(QWidget* form);
QWidget* MainForm();

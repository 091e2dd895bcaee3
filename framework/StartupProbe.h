#pragma once
// For measuring start-up from outside: once the window has been painted and shown for the first
// time, writes "painted <microseconds since the epoch> <peak resident KiB>" to standard output
// and ends the program.

class QWidget;

void ReportFirstPaintAndQuit(QWidget* window);

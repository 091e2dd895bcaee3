#pragma once
// A report of what the main window shows of the game, rewritten whole after every change, for
// tests that drive the real program from outside (the --state-file switch): one "key=value"
// line each for the caption, the client area in the window, the board size, whether a game
// runs and is paused, the seconds, the moves, the gap, the tile a hint shows, whether the picture
// is peeked at, whether a solution is on its way, whether the hinted move is one of a shortest
// solution, whether the player waits (the busy cursor), whether the window is the active one,
// which takes the keys, whether it is full screen or maximised, the Game menu's switches (slides,
// status line, proportions, numbers, sound), the status line's text, whether the sound library is
// loaded and how many sounds were asked for, once the statistics window has been opened its
// "stats." lines (the size it shows, its figures, its table's lines in their order), the grid row
// by row, whether tiles are sliding, the position of the tile that carries the hint's marker, the
// tile side, whether the board shows its focus frame, and where each tile's cell lies on the
// screen ("tile.P=WxH+X+Y"); and the texts the player reads in every open window, the main
// window's, a dialog's or an error box's ("text.WINDOW.COMPONENT=...", the balloon showing as
// "text.hint=...").

#include <QByteArray>
#include <QString>

class TForm1;

QByteArray GameReport(const TForm1& form);
// From now on, writes the report to the file when the window first shows, after every change of
// the game it shows (its size and state and the end of a slide among them), whenever the window
// moves or becomes active or inactive, and when any window of the program shows or hides, never
// while the board is being built again (so a report that names a picture places its tiles): only
// to a regular file of the player's own or a new one, never through a link, never over a pipe, a
// device or a folder. The name is the file system's own bytes.
void ReportGameTo(TForm1& form, const QByteArray& localPath);

// For tests that change a picture file while the game reads it: from now on every picture read
// waits, once the file's length is checked, until a writer has opened and closed the named pipe
// at `path`.
void GatePictureReadsAt(const QString& path);

#pragma once
// What screen readers find in the main window, through Qt's accessibility: the board as a table
// of its cells, each named by the number of the piece it shows and its place ("5, ряд 2,
// столбец 1"), the gap as the empty cell, each of which a reader can press to slide its tile; and
// the effect labels (the clock among them) as text, by their captions.

#include <vector>

class QWidget;
class TBoardPanel;

// Makes the interfaces known to Qt; once is enough, more does nothing.
void InstallAccessibility();

// Tell readers that the board was made afresh, or that the cells at these positions show
// something else now; nothing is made or told while no reader listens.
void TellBoardRebuilt(TBoardPanel* board);
void TellCellsChanged(TBoardPanel* board, const std::vector<int>& positions);
// The same for a label whose caption changed.
void TellNameChanged(QWidget* control);

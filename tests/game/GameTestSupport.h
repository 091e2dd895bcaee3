#pragma once
// Helpers of the game's tests: where to click to bring a game home, and files read and written whole.

#include "game/Game.h"

#include <QByteArray>
#include <QString>
#include <vector>

// The positions to click in turn (each beside the gap at its turn), found by the solver without
// its 4 x 4 tables, so that tests stay quick.
std::vector<int> SolutionClicks(const TGame& game);

// The file's bytes, empty when it cannot be read; a file made or replaced with the bytes.
QByteArray ReadFile(const QString& path);
void WriteFile(const QString& path, const QByteArray& bytes);

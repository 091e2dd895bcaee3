#pragma once
// The score file on disk. Reading never changes an existing file; every write replaces the file
// whole or not at all.

#include "game/ScoreTable.h"

#include <QString>

struct TScoreLoad {
    TScoreTable Table;
    bool Created = false;     // there was no file: a default one was written (or tried)
    QString Error;            // not empty: a file is there but could not be read
};

// Reads the table from the file; where there is none, writes the default table there
// (a failure to write it is not an error: the defaults stand in memory).
TScoreLoad LoadScoreFile(const QString& path);

// Writes the table; on failure the previous file is left as it was and *error says why.
bool SaveScoreFile(const QString& path, const TScoreTable& table, QString* error);

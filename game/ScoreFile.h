#pragma once
// The score file on disk. Only a small regular file of the player's own, reached through no link
// of someone else's, is ever read or written; anything else found under the name (a pipe, a
// device, a folder, a huge file, another user's file or link) is left alone, and the game keeps
// its table in memory for the run. Reading never changes a file; every write replaces the file
// whole or not at all.

#include "game/ScoreTable.h"

#include <QByteArray>
#include <QString>

class TScoreFile {
public:
    // The "Mozik.ini" of the start folder when it is there and may be used, otherwise the one
    // of the data folder. A start folder's file that may not be used is reported in Problem().
    static TScoreFile Locate(const QString& startDir, const QString& dataDir);
    explicit TScoreFile(const QString& path);

    // The file's name as the player knows it; a link of the player's own is written through to
    // the file it pointed to when the table was read.
    const QString& Path() const { return path_; }

    // Reads the table; where there is no file, the default one. A file that may not be used gives
    // the defaults and makes this run leave it alone.
    TScoreTable Load();
    // Where Load found no file and nothing has been saved since, writes the default one with its
    // folder (a failure to write is no error: the defaults stand). The game does this once its
    // window is on the screen.
    void CreateIfMissing();
    bool Refused() const { return refused_; }
    // Not empty: what to tell the player once; it names the file(s) concerned.
    QString Problem() const;

    // Writes the table. Refused: writes nothing and succeeds. On failure the previous file is
    // left whole and *error says why.
    bool Save(const TScoreTable& table, QString* error);

private:
    QString path_;
    QByteArray target_;        // what Save replaces: the path itself, or the target of an own link
    bool refused_ = false;
    bool missing_ = false;
    QString locateProblem_;    // the start folder's file was left alone
    QString loadProblem_;      // this file was left alone
};
